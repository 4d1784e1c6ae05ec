#pragma once
#include <windows.h>
#include <cstdint>

// One tool strip: its layout kind, the tool id of its first button and the number of buttons.
struct ToolPaneDescriptor {
    uint16_t kind;
    uint16_t firstToolId;
    uint16_t count;
};
static_assert(sizeof(ToolPaneDescriptor) == 6, "a strip descriptor is three 16-bit words");

LRESULT CALLBACK ToolWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ToolPaneWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void CreateToolPaneButtons(HWND strip, HINSTANCE instance, const ToolPaneDescriptor* descriptor);
void ClearToolButtonHover();
// The select tool's button on the general strip (tools 200 .. 206, the last child being
// 206's), or null without the strip or with fewer buttons.
HWND FindSelectToolButton(HWND generalStrip);

void DrawBevelRaised(HWND window, HDC dc, const RECT* rect);
void DrawBevelSunken(HWND window, HDC dc, const RECT* rect);
void EraseBevel(HWND window, HDC dc, const RECT* rect);
// A shadow line at x = right - 1 and a highlight line at x = right, from top + 3 down.
void DrawEtchedVerticalLine(HWND window, HDC dc, const RECT* rect);
void BlitBitmap(HDC dc, HBITMAP bitmap, int x, int y);

// The button window of the current tool, and the tool button under the pointer.
extern HWND highlightedPane;
extern HWND hoveredToolButton;
// When set, the next press on a tool button is dropped (a palette pop-up was just dismissed).
extern unsigned char swallowNextToolClick;
// A hovered control that is not a tool button (the frame's own buttons, the tool bar's):
// the window that holds it and its rectangle there.
extern HWND hoveredBarWindow;
extern RECT hoveredBarRect;
