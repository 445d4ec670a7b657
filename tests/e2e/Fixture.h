#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/Driver.h"
#include "e2e/XInput.h"

namespace e2e {

// Base of the end-to-end fixtures: a display to show windows on, no
// Quillet left open by an earlier test (one copy at a time), no changes file.
class QuilletTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char display[256];
        ASSERT_NE(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
            << "end-to-end tests need an X display: run scripts/test, which starts Xvfb";
        ASSERT_TRUE(MainWindows().empty()) << "a Quillet window is still open";
        // Every change writes its way back beside the program: no test sees another's.
        const std::string backup = ExeDirectory() + "Backup\\";
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((backup + "Changes *.reg").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do DeleteFileA((backup + found.cFileName).c_str());
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
};

// A test of real X input: skipped off Wine, failed where Wine cannot give it.
class XInputQuilletTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        const std::string missing = XInputMissing();
        if (missing.rfind("real X input needs Wine", 0) == 0) GTEST_SKIP() << missing;
        ASSERT_EQ(missing, "");
    }
};

}  // namespace e2e
