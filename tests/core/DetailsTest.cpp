#include <gtest/gtest.h>

#include "catalogue/EntryDetails.h"
#include "catalogue/IconCache.h"
#include "common/Unicode.h"
#include "fakes/CoreHarness.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

RegistryValue Sz(const char* name, const std::string& text, std::uint32_t type = kRegSz)
{
    return {name, type, Utf16LeFromUtf8(text)};
}
RegistryValue Dword(const char* name, std::uint32_t n)
{
    std::string data;
    for (int i = 0; i < 4; ++i) data += static_cast<char>((n >> (8 * i)) & 0xff);
    return {name, kRegDword, data};
}

TEST(DetailsTest, DatesSizesAndVersionsFollowTheirRules)
{
    struct Case {
        std::vector<RegistryValue> values;
        int32_t date;
        int64_t size;
        std::string version;
    };
    const std::string nul("\0", 1);
    const Case cases[] = {
        {{Sz("InstallDate", "20231105"), Dword("EstimatedSize", 2048), Sz("DisplayVersion", "1.2.3")}, 20231105, 2048,
         "1.2.3"},
        {{Sz("installdate", " 20240229" + nul + "junk"), Sz("EstimatedSize", " 512 ")}, 20240229, 512, ""},
        {{Sz("InstallDate", "20230229"), Sz("EstimatedSize", "12 MB")}, 0, -1, ""},  // no such day; no number
        {{Sz("InstallDate", "2023-11-05"), Dword("VersionMajor", 7), Dword("VersionMinor", 42)}, 0, -1, "7.42"},
        {{Sz("InstallDate", "20231305"), Dword("VersionMajor", 3)}, 0, -1, "3.0"},
        {{Dword("InstallDate", 20231105), {"EstimatedSize", kRegBinary, "\x01\x02\x03\x04"}}, 0, -1, ""},
        {{Sz("DisplayVersion", "  "), Dword("VersionMajor", 2), Sz("VersionMinor", "5")}, 0, -1, "2.5"},
        {{{"EstimatedSize", kRegQword, std::string("\x00\x00\x00\x00\x01\x00\x00\x00", 8)}}, 0, 0x100000000ll,
         ""},
        {{{"EstimatedSize", kRegDword, "\x01\x02"}}, 0, -1, ""},  // too short for a DWORD
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const EntryDetails d = DetailsFrom(cases[i].values);
        EXPECT_EQ(d.installDate, cases[i].date);
        EXPECT_EQ(d.sizeKiB, cases[i].size);
        EXPECT_EQ(d.version, cases[i].version);
    }
}

TEST(DetailsTest, SizesAreShownInTheUnitThatFits)
{
    const std::pair<int64_t, const char*> cases[] = {
        {-1, ""}, {0, "0 KB"}, {1023, "1023 KB"}, {1024, "1,0 MB"}, {12698, "12,4 MB"}, {3 << 20, "3,00 GB"}};
    for (const auto& [kib, text] : cases) EXPECT_EQ(SizeText(kib, ','), text) << kib;
}

TEST(DetailsTest, IconLocationsWithIndexAndQuotes)
{
    struct Case {
        const char* text;
        bool ok;
        const char* path;
        int index;
    };
    const Case cases[] = {
        {"C:\\App\\app.exe", true, "C:\\App\\app.exe", 0},
        {"C:\\App\\app.exe,2", true, "C:\\App\\app.exe", 2},
        {"\"C:\\Program Files\\App\\app.exe\",-101", true, "C:\\Program Files\\App\\app.exe", -101},
        {"\"C:\\Program Files\\App\\app.exe\"", true, "C:\\Program Files\\App\\app.exe", 0},
        {"  C:\\My Apps\\a,b.ico , 3 ", true, "C:\\My Apps\\a,b.ico", 3},
        {"%LOCALAPPDATA%\\Chat\\app.ico", true, "%LOCALAPPDATA%\\Chat\\app.ico", 0},
        {"\"C:\\App\\app.exe\" junk", false, "", 0},
        {"C:\\App\\app.exe,x", false, "", 0},
        {"\"\",1", false, "", 0},
        {"", false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        IconLocation at;
        ASSERT_EQ(ParseIconLocation(c.text, at), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(at.path, c.path);
        EXPECT_EQ(at.index, c.index);
    }
}

// Each icon is asked for once, by the first row drawn with it; a file that
// gave none is asked again only after a new load of the list.
TEST(DetailsTest, EachIconIsAskedForOnceAndKept)
{
    IconCache cache;
    bool ask = false;
    EXPECT_EQ(cache.Image("", ask), -1);
    EXPECT_FALSE(ask);
    EXPECT_EQ(cache.Image("a.exe,1", ask), -1);
    EXPECT_TRUE(ask);
    EXPECT_EQ(cache.Image("a.exe,1", ask), -1);
    EXPECT_FALSE(ask) << "asked twice while loading";
    cache.Loaded("a.exe,1", 5);
    cache.Loaded("gone.ico", -1);
    cache.ForgetMissing();
    EXPECT_EQ(cache.Image("a.exe,1", ask), 5);
    EXPECT_FALSE(ask);
    EXPECT_EQ(cache.Image("gone.ico", ask), -1);
    EXPECT_TRUE(ask) << "a missing icon is tried again after a load";
    for (size_t i = cache.Count(); i < IconCache::kMaxIcons; ++i) cache.Loaded(std::to_string(i), 9);
    EXPECT_EQ(cache.Image("one too many", ask), -1);
    EXPECT_FALSE(ask);
}

TEST(DetailsTest, IconsComeFromLocalDrivesOnly)
{
    for (const char* path : {"C:\\a.ico", "z:/x.exe"}) EXPECT_TRUE(IsLocalDrivePath(path)) << path;
    for (const char* path : {"\\\\host\\share\\a.ico", "\\\\?\\C:\\a.ico", "\\\\.\\pipe\\x", "a.ico", "C:a.ico",
                             "1:\\a.ico", ""})
        EXPECT_FALSE(IsLocalDrivePath(path)) << path;
}

TEST(DetailsTest, SystemComponentsAndUpdatesAreToldApart)
{
    const std::pair<std::vector<RegistryValue>, bool> cases[] = {
        {{}, false},
        {{Dword("SystemComponent", 1)}, true},
        {{Dword("SystemComponent", 0)}, false},
        {{Sz("SystemComponent", "1")}, true},
        {{Sz("ParentKeyName", "OperatingSystem")}, true},
        {{Sz("ParentKeyName", " ")}, false},
        {{Sz("ReleaseType", "Security Update")}, true},
        {{Sz("ReleaseType", "hotfix")}, true},
        {{Sz("ReleaseType", "Service Pack")}, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(DetailsFrom(cases[i].first).SystemOrUpdate(), cases[i].second) << i;
}

TEST(DetailsTest, HostileValuesAreCutAndNeverTakenForText)
{
    std::string huge(1 << 20, 'P');
    const EntryDetails d = DetailsFrom({Sz("Publisher", huge), Sz("DisplayIcon", "a\tb\r\nc"),
                                        {"InstallLocation", kRegBinary, Utf16LeFromUtf8("C:\\x")},
                                        Sz("ModifyPath", std::string("one\0two", 7), kRegMultiSz), {"NoRepair", 0x1234, "\x01"}});
    EXPECT_EQ(d.publisher, std::string(kDetailChars, 'P'));
    EXPECT_EQ(d.displayIcon, "a b  c");
    EXPECT_EQ(d.installLocation, "");
    EXPECT_EQ(d.modifyPath, "one");
    EXPECT_FALSE(d.noRepair);
}

// Through the list: the fake registry's values read as the port reads them.
TEST(DetailsTest, TheListReadsTheDetailsAndAHugeCaptionWhole)
{
    CoreHarness h;
    h.files.AddFile("C:\\App\\good.exe");
    auto& key = h.Entry("k", std::string(3000, 'N'), "C:\\App\\good.exe");
    FakeRegistry::Set(key, "Publisher", kSz, std::string(1 << 20, 'P'));
    FakeRegistry::Set(key, "SystemComponent", kDword, std::string("\x01\x00\x00\x00", 4));
    h.main.Catalogue().ApplySortState(0, true);
    h.main.Catalogue().LoadPrograms();
    ASSERT_EQ(h.main.Rows().size(), 1u);
    EXPECT_EQ(h.main.Rows()[0].caption, std::string(3000, 'N'));
    EXPECT_EQ(h.main.Rows()[0].details.publisher.size(), kDetailChars);
    EXPECT_TRUE(h.main.Rows()[0].details.SystemOrUpdate());
}

}  // namespace

namespace {

// View > "Show system components and updates": on by default, off hides them
// at once and after a restart, as the settings file keeps it.
TEST(DetailsTest, TheViewItemHidesSystemComponentsAndUpdatesAndIsKept)
{
    CoreHarness h;
    h.files.AddFile("C:\\App\\good.exe");
    h.Entry("app", "App", "C:\\App\\good.exe");
    FakeRegistry::Set(h.Entry("kb", "Update for App", "C:\\App\\good.exe"), "ParentKeyName", kSz, "App");
    FakeRegistry::Set(h.Entry("rt", "Runtime", "C:\\App\\good.exe"), "SystemComponent", kDword,
                      std::string("\x01\x00\x00\x00", 4));
    h.main.FormCreate("C:\\Q\\QUILLET.EXE");
    EXPECT_EQ(h.main.Rows().size(), 3u);
    EXPECT_TRUE(h.view.MenuItemChecked(MenuItem::SystemEntriesMM));
    h.main.Catalogue().SystemEntriesMMClick();
    ASSERT_EQ(h.main.Rows().size(), 1u);
    EXPECT_EQ(h.main.Rows()[0].caption, "App");
    EXPECT_FALSE(h.view.MenuItemChecked(MenuItem::SystemEntriesMM));
    h.main.Settings().FormClose();
    EXPECT_NE(h.profile.Text().find("SystemEntries=0"), std::string::npos);

    CoreHarness again;
    again.profile.lines = h.profile.lines;
    again.registry.Make(RootKey::LocalMachine, kUninstallPath);
    again.Entry("rt", "Runtime", "x.exe");
    FakeRegistry::Set(*again.registry.Find(RootKey::LocalMachine, kUninstallPath + "\\rt"), "SystemComponent", kSz, "1");
    again.main.FormCreate("C:\\Q\\QUILLET.EXE");
    EXPECT_TRUE(again.main.Rows().empty());
    EXPECT_FALSE(again.view.MenuItemChecked(MenuItem::SystemEntriesMM));
}

}  // namespace

namespace {

// The window reads the details after the load, from an accessor of its own;
// every answer must be the one a load that reads them at once gives.
struct EagerHarness : CoreFakes {
    bool eager = (ports.listRegistry = nullptr, true);
    TMain main{view, ports};
};

TEST(DetailsTest, DetailsReadAfterTheLoadAreThoseReadWithIt)
{
    CoreHarness lazy;
    EagerHarness eager;
    for (CoreFakes* f : {static_cast<CoreFakes*>(&lazy), static_cast<CoreFakes*>(&eager)}) {
        for (const auto& [key, publisher, size, version] : {std::tuple{"b", "Zeta", "300", "10.0"}, {"a", "alpha", "", "9.1"},
                                                            {"d", "", "2048", "beta 2"}, {"c", "Alpha", "7", ""}}) {
            auto& entry = f->Entry(key, std::string("App ") + key, "C:\\nowhere.exe");
            for (const auto& [name, text] : {std::pair{"Publisher", publisher}, {"EstimatedSize", size}, {"DisplayVersion", version}})
                if (*text) FakeRegistry::Set(entry, name, kSz, text);
        }
        auto& mine = f->registry.Make(RootKey::CurrentUser, kUninstallPath + "\\u");
        for (const char* name : {"DisplayName", "UninstallString"}) FakeRegistry::Set(mine, name, kSz, "u.exe");
    }
    for (TMain* main : {&lazy.main, &eager.main}) {
        main->Catalogue().ApplySortState(0, true);
        main->Catalogue().LoadPrograms();
    }
    EntryCatalogue& list = lazy.main.Catalogue();
    // A command holding the main accessor's key open keeps it while rows are drawn.
    ASSERT_TRUE(list.OpenEntryKey({"b", RegistryView::Native, EntryHive::Machine, ""}));
    ASSERT_NE(list.DetailedRow(4), nullptr);  // HKCU's
    lazy.registry.WriteString("Mark", "x");
    EXPECT_EQ(lazy.registry.Find(RootKey::LocalMachine, kUninstallPath + "\\b")->values.back().first, "Mark");

    const auto texts = [](const std::vector<EntryRow>& rows) {
        std::string all;
        for (const EntryRow& r : rows) all += r.caption + r.details.publisher + r.details.version + std::to_string(r.details.sizeKiB) + ';';
        return all;
    };
    for (const int column : {TSTListView::kPublisherColumn, TSTListView::kSizeColumn, TSTListView::kVersionColumn, 0}) {
        list.ProgramsHeaderClick(column);
        eager.main.Catalogue().ProgramsHeaderClick(column);
        EXPECT_EQ(texts(list.Rows()), texts(eager.main.Rows())) << column;
    }

    // After a reload the idle steps read every row; one deleted meanwhile has none.
    list.LoadPrograms();
    lazy.registry.SetRootKey(RootKey::LocalMachine);
    ASSERT_TRUE(lazy.registry.DeleteKey("\\" + kUninstallPath + "\\d"));
    for (int step = 0; step < 10 && lazy.main.ReadDetailsWhileIdle(); ++step) {
    }
    for (const EntryRow& row : list.Rows()) EXPECT_TRUE(row.detailsRead) << row.caption;
    EXPECT_EQ(list.DetailedRow(list.IndexOf({"d", RegistryView::Native, EntryHive::Machine, ""}))->details.sizeKiB, -1);
}

}  // namespace
