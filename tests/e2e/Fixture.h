#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/Driver.h"

namespace e2e {

// Base of the end-to-end fixtures: a display to show windows on, and no
// Quillet left open by an earlier test (one copy at a time).
class QuilletTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char display[256];
        ASSERT_NE(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
            << "end-to-end tests need an X display: run scripts/test, which starts Xvfb";
        ASSERT_TRUE(MainWindows().empty()) << "a Quillet window is still open";
    }
};

}  // namespace e2e
