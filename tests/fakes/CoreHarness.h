#pragma once
#include <string>

#include "app/MainFrm.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeFileWriter.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeRegistry.h"

namespace quillet::fakes {

inline const std::string kUninstallPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The main window's behaviour on a fake of everything it reaches.
struct CoreHarness {
    FakeRegistry registry;
    FakeFileSystem files;
    FakeLocale locale;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeRunner runner;
    FakeMainView view;
    FakeFileWriter writer;
    TMain main{view, Ports{registry, files, locale, clock, dialogs, runner, &writer}};

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

}  // namespace quillet::fakes
