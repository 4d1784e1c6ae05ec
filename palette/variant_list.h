#pragma once
// The variant list: a scrolling column of 53 x 53 preview pictures (PopEntryClass
// windows, 52 pixels apart) of the predefined variants of the current creation tool. It
// shares its place on the frame with the library side bar. Clicking a picture writes the
// variant's defaults into the plan's settings and makes its tool current. Also the
// shrinking-rectangle animation of items flying onto the plan or the 3D view.
#include <windows.h>
#include <cstdint>

// The window data of an entry: its preview set (1 stain, 2 paint for doors and windows;
// 1 otherwise) and its variant number, counted from 1.
struct PopEntryRecord {
    uint16_t previewSet;
    uint32_t variantNumber;
};

// The tool id, or side-bar command id, whose variants the list and the variant button show.
extern short variantListTool;
// The variant number last clicked; -1 after each refill.
extern int32_t selectedVariant;
// The number of entries of the list.
extern uint32_t popEntryCount;

LRESULT CALLBACK PopListWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PopEntryWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// True for the tools that have variants (the tools of the variant table).
bool IsVariantTool(int tool);
// The number of variants of a tool; the stair, railing, path, gate, tub and shower tools
// have none in a metric plan.
int VariantCount(int tool, bool metric);

// Refills the list for variantListTool, scrolled to the top, with no variant selected.
void ShowPopList(HWND list);
// One entry at (-1, y), 53 x 53, child id = the variant number; bordered when
// variantListTool is not a variant tool.
HWND CreatePopEntry(HWND list, int index, int y, uint32_t variantNumber, uint16_t previewSet);
// Clears every hover highlight and destroys the list's entries.
void DestroyPopListEntries(HWND list);
// Puts the list's scroll position and entry counters back to zero (the frame does it on resize).
void ResetPopListScroll();
// Selects a variant tool that is not current as though its button had been pressed
// (keeping door and window defaults), then gives the plan pane its cursor.
void SelectVariantTool(int tool);

// Hides a column (the list or the side bar) for a rebuild without moving, sizing or
// redrawing it, and puts its DC's window origin back to (0, 0); true when it was visible.
bool HideForRebuild(HWND column);
// The two-pixel frame in the system highlight colour inside the client rectangle that
// marks the chosen entry of the list or of the side bar.
void DrawChosenEntryFrame(HWND entry, HDC dc);

// Outline rectangles in the screen's DC shrinking from a 44 x 44 box on the start point
// to a box of half the target's size on the target centre, 30 steps about 13 ms apart,
// each erased by the next; the screen is left as it was.
void AnimateZoomRect(int startX, int startY, int targetCentreX, int targetCentreY, const RECT* target);
