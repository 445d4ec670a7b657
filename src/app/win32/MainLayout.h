// The frame's layout: toolbar, status panel, the two lists and the splitter that the pointer drags between them.
#pragma once
#include <windows.h>

namespace quillet::win32 {

class ToolBar;
class ProgramList;
class LogList;
class TAHMLed;

class MainLayout {
public:
    struct Parts {
        HWND frame;
        ToolBar* toolBar;
        const TAHMLed* led;
        HWND statusText;
        ProgramList* programs;
        LogList* log;
        HWND statusBar;
    };
    // The controls exist: from now on Arrange places them.
    void Attach(const Parts& parts) { parts_ = parts; }
    void Arrange();

    int LogHeight() const { return logHeight_; }
    void SetLogHeight(int pixels) { logHeight_ = pixels; }

    // The splitter's mouse messages. OnSetCursor is true when it set the cursor.
    bool OnSetCursor(LPARAM lParam) const;
    void OnButtonDown(LPARAM lParam);
    void OnMouseMove(LPARAM lParam);
    void OnButtonUp(UINT message);

private:
    bool SplitterHit(int y) const;

    Parts parts_{};
    int logHeight_ = 102;
    int splitterTop_ = 0;
    bool dragging_ = false;
};

}  // namespace quillet::win32
