#pragma once
#include <windows.h>
#include <commctrl.h>  // CLR_DEFAULT

#include <string>

#include "common/win32/Window.h"
#include "common/win32/Handles.h"

namespace quillet::win32 {

// A label that works as a link: three fonts for normal, pointer over and
// button down, the hand cursor, and the shell opens `Command` on a click.
class TSTCommandLabel : public Window<TSTCommandLabel> {
public:
    static constexpr const char* kClassName = "TSTCommandLabel";
    struct FontSpec {
        int height;
        COLORREF colour;  // CLR_DEFAULT: the system's text colour
    };

    TSTCommandLabel();
    bool Create(HWND parent, int x, int y, int id);
    void SetCaption(const std::string& caption);
    // Assigning the normal font shows it at once.
    void SetNormalFont(FontSpec style);
    void SetMouseOverFont(FontSpec style) { mouseOver_ = Make(style); }
    void SetMouseDownFont(FontSpec style) { mouseDown_ = Make(style); }

    std::string Command = "https://marrowby.example/quillet/";
    std::string Hint;

private:
    friend class Window<TSTCommandLabel>;
    struct Font {
        GdiObject font;
        COLORREF colour = CLR_DEFAULT;
    };
    static Font Make(FontSpec style);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Display(const Font* font);
    void Paint(HDC dc);
    void AutoSize();

    std::string caption_ = "Click to visit homepage";
    Font normal_, mouseOver_, mouseDown_;
    const Font* shown_ = &normal_;
    bool tracking_ = false;
    bool pressed_ = false;
};

// The About box: borderless, elliptic, always on top, centred; it hides
// itself when it loses activation and shows the same window next time.
class TAboutForm : public Window<TAboutForm> {
public:
    static constexpr const char* kClassName = "TAboutForm";
    static constexpr int kWidth = 299, kHeight = 264;

    ~TAboutForm();
    bool Create(HWND owner);
    void Show();
    // The hint of the link that is `control`; null for any other window.
    const std::string* LinkHint(HWND control) const;

private:
    friend class Window<TAboutForm>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void FormDeactivate();
    void Paint(HDC dc);

    GdiObject picture_;
    GdiObject label1Font_, label2Font_, label3Font_;
    TSTCommandLabel web_, mail_;
};

}  // namespace quillet::win32
