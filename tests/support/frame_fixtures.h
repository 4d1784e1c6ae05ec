#pragma once
// The program's frame for the tests that need it: start-up up to the hidden frame as the
// program does it (no command line), and its close, after which the next test starts
// afresh with no frame, no menu and no window class of the program registered.
#include <windows.h>

namespace vtest {

// Start-up up to the hidden frame; null when a step fails.
HWND StartShell();
// Destroys the frame if it is still there, drops the quit message it posts, forgets the
// globals it set and unregisters the window classes.
void StopShell();
// Unregisters every class of the program (those that are registered).
void UnregisterShellClasses();
// Removes what is queued for this thread; returns the exit code of a WM_QUIT among it,
// or -1 when none.
int TakeQuitMessage();
// Marks every open document unmodified, so that the frame closes without asking.
void ForgetDocumentChanges();

} // namespace vtest
