#pragma once
#include <windows.h>
#include <stdint.h>

// The live 3D view (SelvithClass): a frame child holding four tool panes along its top
// and bottom edges, the RenderClass child that shows the model, and a strip of small
// buttons along its bottom edge that trade speed for quality, narrow or widen the field
// of view, choose a parallel view from one edge of the site and change the transparency
// of the surfaces. Hovering a button shows its help text in the status bar. Closing
// the window hides it; the render child keeps the OpenGL context meanwhile.

// The window; null while it does not exist.
extern HWND selvithWindow;
// 1 while the sky follows the camera (quality levels below 10).
extern uint8_t skyFollowsCamera;
// The field-of-view command in force, 5316 to 5320 (5318 at start).
extern uint16_t fieldOfViewCommand;

// The four tool panes: walk and fly, library panels, lighting and render, hide doors.
enum { SelvithPaneCount = 4 };
extern HWND selvithToolPanes[SelvithPaneCount];

// The buttons of the bottom strip, in the order they are tested.
enum SelvithStripButton {
    StripSlower,
    StripFaster,
    StripNarrower,
    StripWider,
    StripFromLeft,
    StripFromRight,
    StripFromTop,
    StripFromBottom,
    StripMoreTransparency,
    StripLessTransparency,
    StripButtonCount
};
// A button's rectangle in client coordinates, placed from the client's left and bottom.
RECT SelvithStripButtonRect(int button, const RECT& client);
// Its status-bar help text.
const char* SelvithStripHelpText(int button);
// The strip's pictures for the active plan's quality, field of view and transparency.
void DrawSelvithStrip(HWND window, HDC dc);

LRESULT CALLBACK SelvithWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
