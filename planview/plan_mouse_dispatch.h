#pragma once
#include <windows.h>
#include <stdint.h>

// A button press on a plan pane: the pane and its document become the current ones,
// then the press goes to the pan drag, the zoom click, the camera marker drags or the
// tool framework. point is the message's lParam (device units).
void DispatchPlanInput(HDC paneDC, int unused, HWND pane, UINT message, LPARAM point);
// Back to the select tool 200 (with force, or for one-shot tools); nothing without the
// highlighted tool button.
void RevertToSelectTool(int force);

// The plan pane's press handling for the tools (press in logical units): the hit of the
// press, the last-edit kind of the tool, then the drag.
void HandlePlanToolMouse(HDC paneDC, HWND pane, int32_t x, int32_t y, UINT message);
// The drag loop: one press, a move at every poll while a mouse button is down (also
// when the cursor stands still), one release; no message is dispatched meanwhile.
void TrackToolDrag(HDC paneDC, HWND pane, int32_t x, int32_t y);
// The last-edit kind a gesture of the tool records: 200 -> 7, 216 -> 8, 201 -> 11,
// 7700 -> 13, 7701 -> 14, 7703 -> 15, 7706 -> 16, 7704 -> 17, 7702 -> 18, 7707 -> 19,
// 7051 -> 20, 7300 and 7301 -> 21, any other -> -1.
int16_t GetToolUndoCode(int16_t toolId);
