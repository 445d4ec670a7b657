#pragma once
#include <string>

#include "app/MainFrm.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeFileWriter.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeProfile.h"
#include "fakes/FakeRegistry.h"

namespace quillet::fakes {

inline const std::string kUninstallPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// A fake of everything the main window's behaviour reaches.
struct CoreFakes {
    FakeRegistry registry;
    FakeFileSystem files;
    FakeLocale locale;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeRunner runner;
    FakeMainView view;
    FakeFileWriter writer;
    FakeProfile profile;
    FakeTray tray;
    Ports ports{registry, files, locale, clock, dialogs, runner, &writer, &profile, &tray};
    // The list's own accessor, as the window has one: details come after the load.
    FakeRegistry listRegistry;

    CoreFakes()
    {
        listRegistry.ShareKeysOf(registry);
        registry.readers = true;  // as the window's: a long list is read on several threads
        ports.listRegistry = &listRegistry;
    }

    // An uninstall entry; an empty text leaves its value out.
    FakeRegistry::Key& Entry(const std::string& subkey, const std::string& name, const std::string& command,
                             ValueType type = kSz)
    {
        auto& key = registry.Make(RootKey::LocalMachine, kUninstallPath + "\\" + subkey);
        if (!name.empty()) FakeRegistry::Set(key, "DisplayName", type, name + '\0');
        if (!command.empty()) FakeRegistry::Set(key, "UninstallString", type, command + '\0');
        return key;
    }
};

// The main window's behaviour on those fakes.
struct CoreHarness : CoreFakes {
    TMain main{view, ports};
};

}  // namespace quillet::fakes
