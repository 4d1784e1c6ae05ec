#pragma once
#include <windows.h>

// The commands that show, place and steer the live 3D view: walk and aerial navigation
// (5189, 5190), the reset of the 3D camera (5241), cameras at the four sides of the
// plan (5151 to 5154), the elevation views (5351 to 5354), the window layouts (5257 to
// 5260, 5321, 5270), framing or finished 3D (5287, 5288), transparency (5325), the
// final render (5285) and the fields of view (5316 to 5320). Each needs an active
// document with settings; those that touch the windows do nothing while the live view
// or its render window does not exist, except 5270, which makes the view.
void LiveViewCommand(HWND frame, int command);

// Makes the live 3D view when none exists: a captioned, sizable child of the frame
// with a close box, placed where the quarter-screen layout (5258) puts it, shown, its
// scene built. Returns the view, null when it cannot be made.
HWND CreateLiveView(HWND frame);
