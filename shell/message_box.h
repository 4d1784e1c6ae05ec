#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Every message box of the program goes through ShowMessageBox, so that a test can
// watch what the program tells the user and answer in its place (a modal box would
// otherwise stop a test that has no one to press its buttons). A box shown on the screen
// is also written to the standard error ("velmora box: CAPTION: TEXT", UTF-8), when the
// program has one.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT flags);
// The same with the "%s" of `format` taken by a name as it stands, letters the code page
// lacks included (a hook gets them as "?"): a box that refuses a name shows which.
int ShowMessageBoxNaming(HWND owner, const char* format, const std::wstring& name, const char* caption, UINT flags);
// The same with each "%s" of `format` in turn taken by the next of `names`.
int ShowMessageBoxNaming(HWND owner, const char* format, const std::vector<std::wstring>& names, const char* caption,
                         UINT flags);

// A hook returns the button id the user "pressed"; it replaces the real box.
typedef int (*MessageBoxHook)(HWND owner, const char* text, const char* caption, UINT flags, void* context);
void SetMessageBoxHook(MessageBoxHook hook, void* context);

// The number of boxes shown so far (answered by a hook or by the user), so that a caller
// can tell whether a routine it called has already told the user something.
extern unsigned long shownMessageBoxCount;
// The number of boxes open on the screen now, waiting for the user: their modal loops
// dispatch messages, and work that must not run inside one waits while it is nonzero.
extern int openMessageBoxCount;

// A box that only tells (MB_OK) asked for while a read that may yet be undone runs: held,
// to be shown once the read is taken or dropped with it, so that the user hears of a
// plan once and never of one that was not read (files/record_stream.h).
struct HeldMessageBox {
    HWND owner;
    std::string text, caption;
    UINT flags;
};
// From here such boxes go into `held` (answered IDOK) rather than on the screen; null
// shows them again.
void HoldMessageBoxes(std::vector<HeldMessageBox>* held);
