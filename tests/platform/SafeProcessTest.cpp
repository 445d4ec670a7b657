#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/win32/SafeProcess.h"

namespace {

std::string TestFolder()
{
    char path[MAX_PATH];
    const std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1);
}

// Runs in a process of its own (one test per process), so the changes to
// the DLL search and the current directory stay there.
TEST(SafeProcessTest, AfterStartNothingLoadsFromOurFolderAndTheSystemDirectoryIsCurrent)
{
    const std::string planted = TestFolder() + "quillet_planted.dll";
    ASSERT_TRUE(CopyFileA((TestFolder() + "qtest_console.exe").c_str(), planted.c_str(), FALSE));
    // The premise: a bare name is found beside the program.
    HMODULE before = LoadLibraryA("quillet_planted.dll");
    EXPECT_NE(before, nullptr);
    if (before) FreeLibrary(before);

    quillet::win32::MakeProcessSafe();
    HMODULE after = LoadLibraryA("quillet_planted.dll");
    EXPECT_EQ(after, nullptr) << "a DLL beside the program was loaded by its bare name";
    if (after) FreeLibrary(after);
    char current[MAX_PATH], system[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(lstrcmpiA(current, system), 0) << current;
    DeleteFileA(planted.c_str());
}

}  // namespace
