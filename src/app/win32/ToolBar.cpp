// The toolbar: its buttons with captions or tooltips, and the Views drop-down.
#include "app/win32/ToolBar.h"

#include <iterator>
#include <string>

#include "app/Hints.h"
#include "app/win32/HintText.h"
#include "common/win32/Resource.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

namespace {

constexpr int kToolBarHeight = 45;

struct ToolButton {
    Button button;
    int command;
    const char* caption;
    int image;
};

// Left to right; a zero command is the separator. Hints: the string table.
constexpr ToolButton kToolButtons[] = {
    {Button::AddRemove, IDM_ADDREMOVE, "Add/Remove", 0},
    {Button::Delete, IDM_DELETE, "Delete", 2},
    {Button::Properties, IDM_PROPERTIES, "Properties", 1},
    {Button::New, IDM_NEW, "New", 3},
    {Button::New, 0, "", 8},
    {Button::DeleteBad, IDM_DELETEBAD, "Delete bad", 4},
    {Button::Refresh, IDM_REFRESH, "Refresh", 5},
    {Button::Views, IDM_VIEWS, "Views", 6},
};
constexpr int kButtonWidth = 81, kButtonHeight = 41;
constexpr int kSmallButtonWidth = 28, kSmallButtonHeight = 27;

HIMAGELIST LoadStrip(int id)
{
    HIMAGELIST list = ImageList_Create(21, 21, ILC_COLOR24 | ILC_MASK, 7, 0);
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ImageList_AddMasked(list, bitmap, RGB(255, 0, 255));
    DeleteObject(bitmap);
    return list;
}

int CommandOf(Button button)
{
    for (const ToolButton& b : kToolButtons)
        if (b.command != 0 && b.button == button) return b.command;
    return 0;
}

}  // namespace

ToolBar::~ToolBar()
{
    for (HIMAGELIST list : {inactiveImages_, activeImages_})
        if (list) ImageList_Destroy(list);
}

void ToolBar::Create(HWND parent, HFONT font)
{
    toolBar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER |
                                   CCS_NORESIZE | TBSTYLE_TOOLTIPS,
                               0, 0, 0, 0, parent, reinterpret_cast<HMENU>(IDC_TOOLBAR), GetModuleHandleA(nullptr),
                               nullptr);
    SendMessageA(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    SendMessageA(toolBar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    inactiveImages_ = LoadStrip(IDB_TOOLBAR_INACTIVE);
    activeImages_ = LoadStrip(IDB_TOOLBAR_ACTIVE);
    SendMessageA(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(inactiveImages_));
    SendMessageA(toolBar_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(activeImages_));
    TBBUTTON buttons[std::size(kToolButtons)]{};
    for (size_t i = 0; i < std::size(kToolButtons); ++i) {
        const ToolButton& b = kToolButtons[i];
        buttons[i].iBitmap = b.image;
        buttons[i].idCommand = b.command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = !b.command ? BTNS_SEP : b.button == Button::Views ? BTNS_DROPDOWN : BTNS_BUTTON;
        buttons[i].iString = b.command ? reinterpret_cast<INT_PTR>(b.caption) : 0;
    }
    SendMessageA(toolBar_, TB_ADDBUTTONSA, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
    SendMessageA(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, kButtonHeight));
    // Captions show at start: no tooltips while they do.
    SendMessageA(reinterpret_cast<HWND>(SendMessageA(toolBar_, TB_GETTOOLTIPS, 0, 0)), TTM_ACTIVATE, FALSE, 0);
}

int ToolBar::Height() const
{
    // 45 high with captions.
    const int buttonHeight = HIWORD(SendMessageA(toolBar_, TB_GETBUTTONSIZE, 0, 0));
    return buttonHeight >= kButtonHeight ? kToolBarHeight : buttonHeight + 4;
}

void ToolBar::Enable(Button button, bool enabled)
{
    SendMessageA(toolBar_, TB_ENABLEBUTTON, CommandOf(button), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool ToolBar::Enabled(Button button) const
{
    return SendMessageA(toolBar_, TB_ISBUTTONENABLED, CommandOf(button), 0) != 0;
}

void ToolBar::SetTextLabels(bool on)
{
    SendMessageA(toolBar_, TB_SETMAXTEXTROWS, on ? 1 : 0, 0);
    if (on) SendMessageA(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, kButtonHeight));
    else SendMessageA(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kSmallButtonWidth, kSmallButtonHeight));
    SendMessageA(toolBar_, TB_AUTOSIZE, 0, 0);
    SendMessageA(reinterpret_cast<HWND>(SendMessageA(toolBar_, TB_GETTOOLTIPS, 0, 0)), TTM_ACTIVATE, on ? FALSE : TRUE,
                 0);
}

int ToolBar::CommandAt(POINT at) const
{
    POINT local = at;
    ScreenToClient(toolBar_, &local);
    const int index = static_cast<int>(SendMessageA(toolBar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&local)));
    TBBUTTON button{};
    if (index >= 0 && SendMessageA(toolBar_, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)))
        return button.idCommand;
    return 0;
}

bool ToolBar::Notify(NMHDR* header, LRESULT& result)
{
    const bool wide = header->code == TTN_GETDISPINFOW;
    if ((wide || header->code == TTN_GETDISPINFOA) && header->idFrom >= IDM_ADDREMOVE && header->idFrom <= IDM_ABOUT) {
        // A toolbar button's tooltip: the short part of its hint, in the
        // form the tooltip asked for.
        static std::string tip;
        static std::wstring wideTip;
        tip = ShortHint(HintText(static_cast<int>(header->idFrom)));
        if (wide) {
            wideTip = Wide(tip);
            reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = wideTip.data();
        } else {
            reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = tip.data();
        }
        result = 0;
        return true;
    }
    if (header->hwndFrom == toolBar_ && header->code == TBN_DROPDOWN) {
        RECT button;
        SendMessageA(toolBar_, TB_GETRECT, IDM_VIEWS, reinterpret_cast<LPARAM>(&button));
        POINT at{button.left, button.bottom};
        ClientToScreen(toolBar_, &at);
        if (OnViewsDropDown) OnViewsDropDown(at);
        result = TBDDRET_DEFAULT;
        return true;
    }
    return false;
}

}  // namespace quillet::win32
