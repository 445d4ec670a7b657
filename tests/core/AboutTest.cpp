#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/JpegPicture.h"
#include "app/MainFrm.h"
#include "app/Registration.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeRegistry.h"

using namespace quillet;
using namespace quillet::fakes;

namespace {

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) out += {digits[b >> 4], digits[b & 15]};
    return out;
}

TEST(DateTimeValue, DaysSince30December1899WithTheTimeAsFraction)
{
    EXPECT_EQ(DateTimeValue({1899, 12, 30, 0, 0, 0}), 0.0);
    EXPECT_EQ(DateTimeValue({1900, 1, 1, 0, 0, 0}), 2.0);
    EXPECT_EQ(DateTimeValue({1900, 3, 1, 0, 0, 0}), 61.0);  // 1900 had no 29 February
    EXPECT_EQ(DateTimeValue({2000, 1, 1, 12, 0, 0}), 36526.5);
    EXPECT_EQ(DateTimeValue({2024, 2, 29, 18, 0, 0}), 45351.75);
    EXPECT_DOUBLE_EQ(DateTimeValue({2026, 12, 8, 14, 5, 9}), 46364 + (14 * 3600 + 5 * 60 + 9) / 86400.0);
}

TEST(DateTimeValue, EightBytesLittleEndian)
{
    // 36526.5 = 0x40E1D5D000000000
    EXPECT_EQ(Hex(DateTimeBytes({2000, 1, 1, 12, 0, 0})), "00000000d0d5e140");
    // 0.0 and 1.0 (31 December 1899)
    EXPECT_EQ(Hex(DateTimeBytes({1899, 12, 30, 0, 0, 0})), "0000000000000000");
    EXPECT_EQ(Hex(DateTimeBytes({1899, 12, 31, 0, 0, 0})), "000000000000f03f");
}

class RegistrationTest : public ::testing::Test {
protected:
    const FakeRegistry::Value* Value(const std::string& name)
    {
        FakeRegistry::Key* key = own.Find(RootKey::LocalMachine, "Software\\Marrowby\\Quillet");
        if (!key) return nullptr;
        for (auto& [n, v] : key->values)
            if (n == name) return &v;
        return nullptr;
    }

    FakeRegistry registry, own;
    FakeFileSystem files;
    FakeLocale locale;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeRunner runner;
    FakeMainView view;
    Ports ports = [this] {
        Ports p{registry, files, locale, clock, dialogs, runner};
        p.registration = &own;
        return p;
    }();
    TMain main{view, ports};
};

TEST_F(RegistrationTest, StartWritesPathVersionAndLastRun)
{
    clock.now = {2000, 1, 1, 12, 0, 0};
    main.FormCreate("C:\\Tools\\Quillet.exe");
    ASSERT_NE(Value("Path"), nullptr);
    EXPECT_EQ(Value("Path")->type, kSz);
    EXPECT_EQ(Value("Path")->data, Utf16LeFromUtf8(std::string("C:\\Tools\\Quillet.exe") + '\0'));
    EXPECT_EQ(Value("Version")->type, kSz);
    EXPECT_EQ(Value("Version")->data, Utf16LeFromUtf8(std::string("2.0") + '\0'));
    EXPECT_EQ(Value("LastRun")->type, kBinary);
    EXPECT_EQ(Hex(Value("LastRun")->data), "00000000d0d5e140");
    EXPECT_TRUE(dialogs.failures.empty());

    // A later start from a moved executable overwrites both.
    clock.now = {2000, 1, 1, 18, 0, 0};
    main.FormCreate("D:\\Moved\\Quillet.exe");
    EXPECT_EQ(Value("Path")->data, Utf16LeFromUtf8(std::string("D:\\Moved\\Quillet.exe") + '\0'));
    EXPECT_EQ(DateTimeValue(clock.now), 36526.75);
    EXPECT_EQ(Hex(Value("LastRun")->data), Hex(DateTimeBytes(clock.now)));
    EXPECT_EQ(Value("LastRun")->data.size(), 8u);
}

TEST_F(RegistrationTest, KeyThatCannotBeOpenedIsReportedAndStartGoesOn)
{
    own.Deny("Software\\Marrowby\\Quillet");
    main.FormCreate("C:\\Tools\\Quillet.exe");
    EXPECT_EQ(dialogs.failures, std::vector<std::string>{"Failed to set data for 'Path'"});  // "'" sorts below "."
    EXPECT_EQ(own.Find(RootKey::LocalMachine, "Software\\Marrowby\\Quillet"), nullptr);
    EXPECT_EQ(main.Settings().SettingsFile(), "c:\\tools\\quillet.ini");  // the later steps ran
}

std::vector<unsigned char> ReadResource(const char* name)
{
    std::ifstream in(std::string(QUILLET_RESOURCE_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(JpegPicture, AboutPictureIs299By264AndBlueInTheMiddle)
{
    const std::vector<unsigned char> bytes = ReadResource("about.jpg");
    ASSERT_FALSE(bytes.empty());
    const Picture picture = DecodeJpeg(bytes.data(), bytes.size());
    EXPECT_EQ(picture.width, 299);
    EXPECT_EQ(picture.height, 264);
    ASSERT_EQ(picture.rgb.size(), 299u * 264 * 3);
    const unsigned char* centre = &picture.rgb[(132 * 299 + 149) * 3];
    EXPECT_GT(centre[2], centre[0] + 60);  // blue well above red
    const unsigned char* corner = &picture.rgb[0];
    EXPECT_LT(corner[0] + corner[1] + corner[2], 60);  // outside the ellipse: dark
}

TEST(JpegPicture, DamagedDataRaisesAClearError)
{
    const std::vector<unsigned char> bytes = ReadResource("about.jpg");
    ASSERT_GT(bytes.size(), 1000u);
    struct Case {
        const char* what;
        std::vector<unsigned char> data;
    };
    std::vector<unsigned char> garbled = bytes;
    for (size_t i = 600; i < garbled.size() - 2; i += 7) garbled[i] = 0xFF;  // markers in the scan data
    const Case cases[] = {
        {"not a JPEG", {'B', 'M', 0, 0, 0, 0, 0, 0}},
        {"cut after the header", std::vector<unsigned char>(bytes.begin(), bytes.begin() + 700)},
        {"cut in the middle", std::vector<unsigned char>(bytes.begin(), bytes.begin() + bytes.size() / 2)},
        {"garbled scan", garbled},
        {"empty", {}},
    };
    for (const Case& c : cases) {
        try {
            DecodeJpeg(c.data.data(), c.data.size());
            ADD_FAILURE() << c.what << ": decoded";
        } catch (const QuilletError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("JPEG error: ", 0), 0u) << c.what << ": " << e.what();
            EXPECT_GT(std::string(e.what()).size(), 14u) << c.what;
        }
    }
}

}  // namespace
