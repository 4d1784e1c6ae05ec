#pragma once
// The elevation pane (ElevationPaneClass): a narrow scale along the left edge of the
// frame with a draggable arrow (ElevationArrowClass). It shows the working elevation of
// the plan, or the common elevation of the selection, in whole feet (imperial plans) or
// whole metres (metric plans); dragging the arrow sets the working elevation, or moves
// the selected objects to the new elevation after a question.
//
// The scale has 34 steps over the pane's client height; step 22 is elevation 0 and each
// step above it one unit higher (step 2 is +20, step 32 is -10). What the pane shows comes
// from the settings' elevation summary, handed over through ShowElevationPaneValue.
#include <windows.h>
#include <stdint.h>

struct CommonValue;

LRESULT CALLBACK ElevationPaneWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ElevationArrowWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The pane's draggable arrow (null until the pane makes it).
extern HWND elevationArrowWindow;
// The arrow's step (22 at start); it may lie off the scale for a value beyond it.
extern int elevationArrowIndex;
// The fractional step of a value between two whole steps (22.0 at start).
extern float elevationPaneValue;
// The value lies on a whole step, so the arrow shows it (1 at start).
extern uint8_t elevationWholeStep;
// The pane shows a value bar (1 at start).
extern uint8_t elevationValueShown;
// The value shown is the plan's working elevation (nothing is selected).
extern uint8_t elevationIsWorking;

// Shows a common-value record on the pane: the arrow at the record's whole step, hidden
// for mixed, fractional or unusable values; the pane's menu offers the working-elevation
// command while the record holds the working elevation. Nothing without the pane, its
// arrow or an active document with settings.
void LayoutElevationPane(const CommonValue& value);
// A press on the pane: the arrow jumps to the pressed step (2 to 32) and is dragged.
void MoveElevationArrowToPoint(HWND pane, UINT message, LPARAM lParam);
// Drags the arrow while a mouse button is down (polling the input), then sets the working
// elevation, or moves the selection to the new elevation, and shows the new summary.
void DragElevationArrow(HWND arrow, UINT message, LPARAM lParam);
// Repaints the pane's scale and the arrow when the active plan, or no plan, asks for other
// labels than they show: after the active plan's window is gone.
void ShowElevationPaneUnits();
