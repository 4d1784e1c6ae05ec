#pragma once
#include <windows.h>
#include <string>
#include "support/frame_fixtures.h"

namespace shelltest {

// The frame's start-up and close: a fixture's SetUp starts it, its TearDown stops it.
using vtest::StartShell;
using vtest::StopShell;
using vtest::TakeQuitMessage;
using vtest::UnregisterShellClasses;
// Resizes the frame so that its client area is width x height (WM_SIZE follows).
void SetFrameClientSize(HWND frame, int width, int height);
// The render window's client area made width x height.
void SizeRenderClient(int width, int height);
// The window's rectangle in the client coordinates of its parent: x, y, width, height.
RECT ChildPlacement(HWND child);
std::string ClassNameOf(HWND window);

} // namespace shelltest
