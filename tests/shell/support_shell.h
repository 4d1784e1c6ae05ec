#pragma once
#include <windows.h>
#include <string>

namespace shelltest {

// Start-up up to the hidden frame, as the program does it (no command line); the
// fixture's TearDown undoes it with StopShell.
HWND StartShell();
// Destroys the frame if it is still there, drops the quit message it posts, forgets the
// globals it set and unregisters the window classes, so the next test starts afresh.
void StopShell();
// Unregisters every class of the program (those that are registered).
void UnregisterShellClasses();
// Resizes the frame so that its client area is width x height (WM_SIZE follows).
void SetFrameClientSize(HWND frame, int width, int height);
// The render window's client area made width x height.
void SizeRenderClient(int width, int height);
// The window's rectangle in the client coordinates of its parent: x, y, width, height.
RECT ChildPlacement(HWND child);
std::string ClassNameOf(HWND window);
// Removes a WM_QUIT from the thread's queue; returns its exit code, or -1 when none.
int TakeQuitMessage();

} // namespace shelltest
