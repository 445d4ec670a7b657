// Real X input on the test's display, as a user's mouse and keyboard give it:
// xdotool run from inside Wine, and waits for the program to have taken it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Why X input cannot be given here (not under Wine, no xdotool), or empty.
std::string XInputMissing();
// What a Linux program (found on PATH) printed when run to its end; empty
// when it failed or could not run.
std::string UnixOutput(const std::vector<std::string>& argv);
// Runs xdotool with these arguments to its end; false when it failed.
bool XDo(const std::vector<std::string>& args);
// Clicks a point of the screen with a mouse button (1 left, 3 right).
bool XClick(POINT screen, int button = 1);
// Presses keys as xdotool names them ("Return", "Down", "ctrl+f").
bool XKeys(const std::vector<std::string>& keys);
// The window's thread has handled everything sent before: a WM_NULL answered
// in time.
bool Answers(HWND window, DWORD timeoutMs = 10000);
// The middle of a window's rectangle (or of one given in its client area) on the screen.
POINT ScreenMiddle(HWND window);
POINT ScreenMiddle(HWND window, const RECT& client);

}  // namespace e2e
