#pragma once
// The tool strips of the palette. A strip (ToolClass) holds a row or a column of square
// buttons (ToolPaneClass), one per tool id, each showing the picture whose resource id
// is its tool id (id + 2000 while it is the current tool) with a tooltip of the tool's
// Italian name. Presses go to the tool press (palette/tool_press), double clicks of the
// view and general strips to the tool's dialog, keys to the plan's key handler. The
// small bevel, etched-line and blit routines here are shared by the frame, the tool bar,
// the tabs, the variant list, the side bar and the 3D view.
#include <windows.h>
#include <cstdint>

// One tool strip: its layout kind, the tool id of its first button and the number of buttons.
struct ToolPaneDescriptor {
    uint16_t kind;
    uint16_t firstToolId;
    uint16_t count;
};
static_assert(sizeof(ToolPaneDescriptor) == 6, "a strip descriptor is three 16-bit words");

// The window data of a button: its tool id and its picture, both owned by the button.
// A button gets one only when its picture's resource is there and sound; the picture is
// loaded when the button is first painted (the hidden frame never paints its buttons).
// A button without a record paints nothing and ignores clicks.
struct ToolButtonRecord {
    uint16_t toolId;
    HBITMAP bitmap;
};

LRESULT CALLBACK ToolWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ToolPaneWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the buttons of one strip by its kind: kinds 1 and 30 a column of 21 x 23
// buttons 22 apart from (0, 0); kinds 3, 10 to 18, 31 to 33 a row of 34 x 27 buttons 33
// apart from (1, 0); kind 34 a row of 34 x 23. The first button of kind 1 becomes the
// highlighted one and tool 200 the current tool. Nothing for a missing argument or
// another kind.
void CreateToolPaneButtons(HWND strip, HINSTANCE instance, const ToolPaneDescriptor* descriptor);
// Registers the button with the frame's tooltip window under the tool's name; nothing
// for a tool without a name or without the tooltip window.
void AddToolTooltip(HWND strip, HWND button, uint16_t toolId);
// The tool's Italian name, or null (the floor button 3300 and unknown ids have none).
const char* ToolName(uint16_t toolId);

// The button's record (null for a window without one) and the descriptor of its strip.
ToolButtonRecord* ToolButtonOf(HWND button);
const ToolPaneDescriptor* ToolStripDescriptor(HWND strip);
// The button of the tool among the strip's buttons, or null.
HWND FindToolButton(HWND strip, uint16_t toolId);

// Draws the button's picture at (1, 1): a 3D-bar state picture while a plan is open, the
// id + 2000 picture for the current tool, else its own picture (loaded into the record
// the first time it is needed).
void DrawToolButtonBitmap(HDC dc, ToolButtonRecord* record, HWND button);
// Removes every hover highlight of the palette and of the tool bar.
void ClearToolButtonHover();
// Makes the button of `currentToolId` among the frame's strips the highlighted one and
// repaints it and the button it replaces at once, so that the palette shows the current
// tool as a repaint of it does; nothing when no strip holds the tool.
void ShowCurrentToolButton();
// The select tool's button on the general strip (tools 200 .. 206, the last child being
// 206's), or null without the strip or with fewer buttons.
HWND FindSelectToolButton(HWND generalStrip);

// One-pixel edges in the system button colours; nothing without window, DC or rectangle.
void DrawBevelRaised(HWND window, HDC dc, const RECT* rect);
void DrawBevelSunken(HWND window, HDC dc, const RECT* rect);
void EraseBevel(HWND window, HDC dc, const RECT* rect);
void DrawEtchedVerticalLine(HWND window, HDC dc, const RECT* rect);
void DrawEtchedHorizontalLine(HWND window, HDC dc, const RECT* rect);
// Copies a whole bitmap to (x, y) of the DC (logical units).
void BlitBitmap(HDC dc, HBITMAP bitmap, int x, int y);
// A bitmap resource with its greys mapped to the system 3D colours; null when absent.
HBITMAP LoadPaletteBitmap(int id);

// The button window of the current tool, and the tool button (or tab, or variant entry)
// under the pointer.
extern HWND highlightedPane;
extern HWND hoveredToolButton;
// When set, the next press on a tool button is dropped (a palette pop-up was just dismissed).
extern unsigned char swallowNextToolClick;
// A hovered control that is not a tool button (the frame's own buttons, the tool bar's):
// the window that holds it and its rectangle there.
extern HWND hoveredBarWindow;
extern RECT hoveredBarRect;
