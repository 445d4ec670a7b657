#include "editing/win32/PropertiesDialog.h"

#include <commctrl.h>

#include <string>

#include "common/win32/CentredBox.h"
#include "common/win32/DialogParts.h"
#include "common/win32/Resource.h"
#include "editing/win32/Win32OpenDialog.h"

namespace quillet::win32 {

namespace {

constexpr int kClientWidth = 350;
constexpr int kClientHeight = 165;
constexpr int kDetailsHeight = 38;
constexpr UINT kFormShow = WM_APP + 1;

// The dialog on screen for one showing; the form keeps what outlives it.
class PropertiesDialog : public PropertiesView {
public:
    explicit PropertiesDialog(TPropertiesForm& form) : form_(form) {}

    bool Run(HWND owner)
    {
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PROPERTIES), owner, Proc,
                               reinterpret_cast<LPARAM>(this)) == IDOK;
    }

private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // The command field (TFilenameEdit): Alt+Down browses, as the button does.
    static LRESULT CALLBACK FilenameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self);

    void OnInit();
    void Layout();
    // The controls hold the texts while the dialog is open; the rules read the form.
    void Pull()
    {
        form_.Display = WindowText(display_);
        form_.Uninstall.Text = WindowText(uninstall_);
    }
    void Push()
    {
        if (WindowText(display_) != form_.Display) SetText(display_, form_.Display);
        if (WindowText(uninstall_) != form_.Uninstall.Text) SetText(uninstall_, form_.Uninstall.Text);
    }
    void TryClose(bool ok)
    {
        Pull();
        if (form_.FormCloseQuery(*this, ok)) EndDialog(dialog_, ok ? IDOK : IDCANCEL);
    }
    void Browse()
    {
        Pull();
        form_.BrowseClick(*this);
        Push();
    }

    // PropertiesView
    bool AskOkCancel(const std::string& text) override
    {
        return ShowCentredBox(dialog_, text, "Information", MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
    }
    bool ExecuteOpenDialog(OpenDialogState& dialog) override { return win32::ExecuteOpenDialog(dialog_, dialog); }
    void FocusDisplay() override { Focus(display_); }
    void FocusUninstall() override { Focus(uninstall_); }
    void Focus(HWND control)
    {
        if (IsWindowEnabled(control) && IsWindowVisible(control))
            SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }

    TPropertiesForm& form_;
    HWND dialog_ = nullptr;
    HWND display_ = nullptr;
    HWND uninstall_ = nullptr;
    HFONT bold_ = nullptr;
    PageBackground page_;
    bool shown_ = false;
};

INT_PTR CALLBACK PropertiesDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<PropertiesDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        self = reinterpret_cast<PropertiesDialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self->dialog_ = dialog;
        self->OnInit();
        // Focus is the form's business, once the dialog shows.
        PostMessageA(dialog, kFormShow, 0, 0);
        return FALSE;
    case WM_ACTIVATE:
        // Activation gives the focus to the first control; the form decides after it.
        if (LOWORD(wParam) != WA_INACTIVE && !self->shown_) {
            self->shown_ = true;
            PostMessageA(dialog, kFormShow, 0, 0);
        }
        break;
    case kFormShow:
        self->form_.FormShow(*self);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:  // the OK button, or Enter in a field
            self->TryClose(true);
            return TRUE;
        case IDCANCEL:  // the Cancel button, Escape, the close box, Alt+F4
            self->TryClose(false);
            return TRUE;
        case IDC_PROP_BROWSE:
            if (HIWORD(wParam) == BN_CLICKED) self->Browse();
            return TRUE;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (self) {
            HWND page = GetDlgItem(dialog, IDC_PROP_PAGES);
            if (HBRUSH brush = self->page_.For(page, reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<INT_PTR>(brush);
        }
        break;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
        if (self) self->page_.Reset();
        break;
    case WM_DESTROY:
        if (self) {
            RemoveWindowSubclass(self->uninstall_, FilenameEditProc, 1);
            if (self->bold_) DeleteObject(self->bold_);
            self->bold_ = nullptr;
        }
        break;
    }
    return FALSE;
}

LRESULT CALLBACK PropertiesDialog::FilenameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                    DWORD_PTR self)
{
    if (message == WM_SYSKEYDOWN && wParam == VK_DOWN) {
        reinterpret_cast<PropertiesDialog*>(self)->Browse();
        return 0;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

void PropertiesDialog::OnInit()
{
    display_ = GetDlgItem(dialog_, IDC_PROP_DISPLAY);
    uninstall_ = GetDlgItem(dialog_, IDC_PROP_UNINSTALL);
    SetText(dialog_, form_.Caption);

    AddGeneralPage(dialog_, IDC_PROP_PAGES);

    bold_ = MakeBold(dialog_, {IDOK, IDCANCEL, IDC_PROP_NAMELABEL, IDC_PROP_COMMANDLABEL, IDC_PROP_BROWSE});

    // No limit of their own: a registry value may be longer than the default.
    for (HWND edit : {display_, uninstall_}) SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    SetText(display_, form_.Display);
    SetText(uninstall_, form_.Uninstall.Text);
    SetItemText(dialog_, IDC_PROP_REASON, form_.Reason);
    for (size_t line = 0; line < 2; ++line)
        SetItemText(dialog_, line ? IDC_PROP_DETAILS2 : IDC_PROP_DETAILS,
                    line < form_.Details.size() ? form_.Details[line] : std::string());
    SetWindowSubclass(uninstall_, FilenameEditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    Layout();
}

void PropertiesDialog::Layout()
{
    // The client area is given in pixels, whatever the dialog units come to;
    // an entry's details take two lines more below its reason.
    const int extra = form_.Details.empty() ? 0 : kDetailsHeight;
    const LONG style = GetWindowLongA(dialog_, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(dialog_, GWL_EXSTYLE);
    RECT frame{0, 0, kClientWidth, kClientHeight + extra};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(style), FALSE, static_cast<DWORD>(exStyle));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(dialog_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    struct Place {
        int id, x, y, width, height;
    } places[] = {
        {IDOK, 186, 132 + extra, 75, 25},
        {IDCANCEL, 267, 132 + extra, 75, 25},
        {IDC_PROP_PAGES, 8, 8, 334, 116 + extra},
        {IDC_PROP_NAMELABEL, 20, 45, 72, 16},
        {IDC_PROP_DISPLAY, 96, 42, 234, 21},
        {IDC_PROP_COMMANDLABEL, 20, 72, 72, 16},
        {IDC_PROP_UNINSTALL, 96, 69, 212, 21},
        {IDC_PROP_BROWSE, 309, 69, 21, 21},
        // Two wrapped lines: a long reason loses nothing but what passes the second.
        {IDC_PROP_REASON, 20, 94, 310, 27},
        {IDC_PROP_DETAILS, 20, 124, 310, 16},
        {IDC_PROP_DETAILS2, 20, 142, 310, 16},
    };
    for (const Place& p : places) MoveWindow(GetDlgItem(dialog_, p.id), p.x, p.y, p.width, p.height, FALSE);
}

}  // namespace

bool ShowPropertiesDialog(HWND owner, TPropertiesForm& form)
{
    PropertiesDialog dialog(form);
    return dialog.Run(owner);
}

}  // namespace quillet::win32
