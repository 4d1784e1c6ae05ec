#pragma once
#include <windows.h>
#include "palette/tool_windows.h"

// The FrameClass window: the MDI frame and the parent of every bar and pane.

// Child ids of the frame's windows.
enum FrameChildId {
    MdiClientId = 1,
    GeneralToolPaneId = 2,
    FloorButtonPaneId = 5,
    ToolBarId = 9,
    StatusBarId = 12,
    SymbolBarId = 13,
    VariantListId = 14,
    CategoryTabStripId = 15,
    PaletteTabStripId = 16,
    ElevationPaneId = 17,
    LiveViewId = 18,
    FirstMdiChildId = 25000,
};

extern HWND mdiClientWindow;
extern HWND tooltipWindow;
extern HWND toolBarWindow;
extern HWND statusBarWindow;
extern HWND symbolBarWindow;
extern HWND variantListWindow;
extern HWND categoryTabStrip;
extern HWND paletteTabStrip;
extern HWND elevationPaneWindow;

// The twelve tool strips, in the order the frame makes them.
enum { FrameToolWindowCount = 12 };
struct FrameToolWindowSpec {
    ToolPaneDescriptor descriptor;
    int x, y, width, height;
    int id;
};
extern const FrameToolWindowSpec frameToolWindowSpecs[FrameToolWindowCount];
extern HWND frameToolWindows[FrameToolWindowCount];
// The strips the frame lays out itself: the floor button (kind 30) and the view layouts (kind 33).
HWND FloorButtonToolWindow();
HWND ViewLayoutToolWindow();

// A memory DC with a 500 x 500 bitmap, compatible with the screen, for the plan's labels.
extern HDC offscreenDC;

extern UINT workbenchClosingMessage;   // "WORKBENCH CLOSING"
extern UINT workbenchNoUpdateMessage;  // "WORKBENCH CLOSING WITH NO UPDATE"
extern unsigned char workbenchMessagesRegistered;

extern unsigned char estimateRunning;
extern unsigned char furnitureEditorRunning;
struct PlanObject;
extern PlanObject* companionEditObject;
extern unsigned char exchangeImportActive;

extern unsigned char applicationActive; // the program is the active application
extern unsigned char toolHoverRefresh;  // set after a handled command and on activation
extern unsigned char variantButtonHot;  // set only while a hovered variant button is repainted
extern unsigned char ageStepperHot;     // set only while a hovered age stepper is repainted

// The planting-age stepper on the garden tab (frame client coordinates); its click
// rectangles end at 24.
extern RECT ageStepperDownRect;
extern RECT ageStepperUpRect;
extern RECT ageStepperRect;

LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A ToolClass strip with its buttons, made from a copy of the descriptor; null when the
// descriptor is null or the window cannot be made.
HWND CreateToolWindow(const ToolPaneDescriptor* descriptor, int x, int y, int width, int height,
                      int id, HWND parent);

// Enumeration callback of "close all": asks each document window whether it may end and
// destroys it when it agrees. Always continues.
BOOL CALLBACK CloseChildEnumProc(HWND child, LPARAM parameter);

// W of the frame's layout: the vertical scroll-bar width plus one (16 when the system
// reports less than 1).
int FrameScrollWidth();
