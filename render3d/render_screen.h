#pragma once
#include <windows.h>
#include <stdint.h>
#include <memory>
#include <vector>

// The live view's picture on the display. What an OpenGL child window draws never reaches
// the display on this platform (Wine draws nothing of it), so each frame drawn in the render
// window is read back from its back buffer once and shown through GDI by the render screen:
// a child of the render window without a pixel format that covers its client area. The
// screen lets the mouse and the palette's drops through to the render window (its hit test
// answers transparent), hands the focus on to it, and repaints the last frame shown. A frame
// is read only when it was drawn at the client's size on a surface of that size: until the
// surface has a new size, the screen keeps the frame it shows (at its top left, the rest in
// the background colour), never a frame drawn at another size.

// One frame read back: rows bottom up, 4 bytes a pixel in blue, green, red order (and a
// byte GDI ignores), as a 32-bit DIB holds them. Not changed once shown.
struct ViewFrame {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// The screen, null while no render window exists.
extern HWND renderScreenWindow;

// Makes the screen over the client area of the render window (from its WM_CREATE).
void CreateRenderScreen(HWND renderWindow);
// Gives the screen the render window's client size (from its WM_SIZE).
void FitRenderScreen(HWND renderWindow);
// Reads the frame in the back buffer and shows it when it was drawn at the client's size
// on a surface of that size in a view on screen; the frame shown, or null (nothing read,
// the screen keeps what it shows).
std::shared_ptr<ViewFrame> ShowDrawnFrame();
// Shows a frame read before (the kept frame shown again).
void ShowViewFrame(std::shared_ptr<ViewFrame> frame);
// The frame the screen shows, null when none.
std::shared_ptr<ViewFrame> ShownViewFrame();
