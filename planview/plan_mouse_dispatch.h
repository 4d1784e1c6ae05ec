#pragma once
// A button press on a plan pane ends here. DispatchPlanInput makes the pane and its
// document current and sends the press one of four ways: the pan drag (tool 204), the
// zoom click (tool 205), the camera marker drags when the press lands on the marker, or
// HandlePlanToolMouse, which settles what the press hits, changes the selection, opens
// a property dialog on a double click or a context menu on a right click, and otherwise
// runs the drag loop that feeds the tool framework. Afterwards the current tool may
// fall back to the select tool.
#include <windows.h>
#include <stdint.h>

// The last press on a plan pane in device units; the frame's area commands start their
// animation from it.
extern POINT lastClickDevicePoint;
// The view extents (top, left, bottom, right) and the 3D box (min y, x, z, max y, x, z)
// of the selection at the start of the last drag.
extern float selectionViewExtents[4];
extern float selectionBox3D[6];
// Width, height and depth of the selection's box in display units, after each press.
extern float selectionSize[3];
// 1 while a camera marker drag runs; the 3D view reads it.
extern uint8_t cameraDragActive;

// point is the message's lParam (device units). The second argument is not read.
void DispatchPlanInput(HDC paneDC, int unused, HWND pane, UINT message, LPARAM point);
// Back to the select tool 200 (with force, or for tools that do not stay current);
// nothing without the highlighted tool button or the general tool strip.
void RevertToSelectTool(int force);

// The plan pane's press handling for the tools (press in logical units).
void HandlePlanToolMouse(HDC paneDC, HWND pane, int32_t x, int32_t y, UINT message);
// The drag loop: one press, a move at every poll while a mouse button is down (also
// when the cursor stands still), one release; no message is dispatched meanwhile.
void TrackToolDrag(HDC paneDC, HWND pane, int32_t x, int32_t y);
// The last-edit kind a gesture of the tool records: 200 -> 7, 216 -> 8, 201 -> 11,
// 7700 -> 13, 7701 -> 14, 7703 -> 15, 7706 -> 16, 7704 -> 17, 7702 -> 18, 7707 -> 19,
// 7051 -> 20, 7300 and 7301 -> 21, any other -> -1.
int16_t GetToolUndoCode(int16_t toolId);
// The part of the 3D viewpoint marker under a press (logical units): 0 none, 1 the
// heading handle, 2 the body.
int HitTestCameraMarker(int32_t x, int32_t y);
// Every point the tools' drag loops ask about is accepted: always 1.
int AcceptPlanPoint(HWND pane, int32_t x, int32_t y);
