#pragma once
#include <windows.h>
#include <stdint.h>

// The RenderClass window: the OpenGL surface of the live 3D view, child 3 of the
// SelvithClass window. It owns the program's one rendering context, made current on its
// own device context (the class owns its DC) when it is created and kept current until
// it is destroyed, so every OpenGL call of the program draws here; its frames reach the
// display through the render screen that covers its client area (render_screen.h). It
// prepares the ground grid when created, repaints by the high-quality render once its
// surface has the client's size (after a new size, when a one-shot timer finds it so; a
// final render asked for meanwhile, or while the view was not shown, is drawn then), hands
// keys to the plan's key handler and presses to the 3D navigation.

// The window, null while no 3D view exists.
extern HWND renderWindow;
// The rendering context, null when none could be made.
extern HGLRC glContext;
// 1 while the paint-time render runs.
extern uint8_t renderPaintActive;
// 1 while a mouse navigation started in this window runs.
extern uint8_t navigating3D;
// The up/down sense of vertical moves during a navigation; a right press flips it.
extern uint8_t navigationRiseFlag;
// The paints of the window so far (WM_PAINT handled with something to paint).
extern uint32_t renderWindowPaints;

// The pixel format the window takes on the device context. Formats are enumerated:
// the final render needs an accumulation buffer, which ChoosePixelFormat would drop on
// this platform, so the pick is a double-buffered RGBA window format with accumulation,
// 8 stencil bits and the deepest depth, with 8 alpha bits where one has them (its frames
// read back fastest); ChoosePixelFormat only when no format has accumulation. The chosen
// index (0 for none) with its description.
int ChooseRenderPixelFormat(HDC dc, PIXELFORMATDESCRIPTOR* chosen);

// Whether the view is on screen: the window and its parents visible, none of them
// minimised, and a client area that is not empty.
bool RenderViewShown();
// Whether the OpenGL surface has exactly the client area's size. It takes the window's new
// size only some time after a buffer swap: a frame drawn before then, after a resize or a
// restore, lies in the former size, and only a frame drawn at the client's size is shown.
// Once the surface is found of that size it is not read again until the next new size;
// after the last look of a wait it is taken to have it, whatever it reads as.
bool RenderSurfaceFitsClient();
// Has the next paint that shows the view draw the final render (asked for while the view is
// not shown, which no paint reaches).
void OweFinalRender();
// The window's one-shot timer that asks for the paint again after a paint that found the
// surface not yet of the client's size and so drew nothing (at most four times for one
// wait; the paint of the last look draws).
constexpr UINT_PTR kRenderSurfaceTimer = 1;
// Given what the surface was read to be, answers in its place whether it fits (a test
// stands in for a window system that hands the size over late). Null: the reading holds.
typedef bool (*SurfaceFitHook)(bool fits, void* context);
void SetSurfaceFitHook(SurfaceFitHook hook, void* context);

LRESULT CALLBACK RenderWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
