#pragma once
#include <windows.h>

// A button press on a plan pane: the pane and its document become the current ones,
// then the press goes to the pan drag, the zoom click, the camera marker drags or the
// tool framework. point is the message's lParam (device units).
void DispatchPlanInput(HDC paneDC, int unused, HWND pane, UINT message, LPARAM point);
// Back to the select tool 200 (with force, or for one-shot tools); nothing without the
// highlighted tool button.
void RevertToSelectTool(int force);
