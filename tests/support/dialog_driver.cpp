#include "support/dialog_driver.h"

namespace vtest {

namespace {
DialogDriver* activeDriver = nullptr;
const char* const kOriginalProc = "vtest.DialogDriver.proc";
UINT StepMessage()
{
    static const UINT message = RegisterWindowMessageA("vtest.DialogDriver.step");
    return message;
}
} // namespace

DialogDriver::DialogDriver()
{
    activeDriver = this;
    hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &DialogDriver::AfterCall, nullptr, GetCurrentThreadId());
}

DialogDriver::~DialogDriver()
{
    if (hook) UnhookWindowsHookEx(hook);
    activeDriver = nullptr;
}

void DialogDriver::Queue(Step step)
{
    steps.push_back(std::move(step));
}

// Once a top-level dialog has run its WM_INITDIALOG, a step message is posted to it and
// its window procedure wrapped, so that the step runs from the dialog's own modal loop.
LRESULT CALLBACK DialogDriver::AfterCall(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code >= 0 && call->message == WM_INITDIALOG && !(GetWindowLongA(call->hwnd, GWL_STYLE) & WS_CHILD) &&
        !GetPropA(call->hwnd, kOriginalProc)) {
        LONG_PTR original = SetWindowLongPtrA(call->hwnd, GWLP_WNDPROC,
                                              reinterpret_cast<LONG_PTR>(&DialogDriver::DialogProc));
        SetPropA(call->hwnd, kOriginalProc, reinterpret_cast<HANDLE>(original));
        PostMessageA(call->hwnd, StepMessage(), 0, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK DialogDriver::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(dialog, kOriginalProc));
    if (message == StepMessage()) {
        if (activeDriver) activeDriver->RunNext(dialog);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemovePropA(dialog, kOriginalProc);
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    return CallWindowProcA(original, dialog, message, wParam, lParam);
}

void DialogDriver::RunNext(HWND dialog)
{
    char caption[256] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    lastCaption = caption;
    if (answered >= static_cast<int>(steps.size())) {
        ++unanswered;
        EndDialog(dialog, 0);
        return;
    }
    // Tests beside this one share the display: the dialog goes to the top left corner,
    // out of the way of the windows they place. The dialog manager shows a dialog once
    // its queue is empty; a step may come first.
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!IsWindowVisible(dialog)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    Step step = steps[answered++];
    step(dialog);
}

void SetText(HWND dialog, int id, const char* text) { SetDlgItemTextA(dialog, id, text); }

std::string Text(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Shown(HWND dialog, int id) { return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
int FocusedId() { return GetDlgCtrlID(GetFocus()); }

std::pair<int, int> FocusedSelection()
{
    DWORD start = 0, end = 0;
    SendMessageA(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

void Scroll(HWND dialog, int id, UINT message, int code, int position)
{
    SendMessageA(dialog, message, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

} // namespace vtest
