#pragma once
// What a press on a tool button does. A creation or general tool becomes the current
// tool: its button is drawn pressed, the plan pane takes the tool's cursor, and some
// tools first prepare the plan (text and dimension tools switch to the top view, the
// door and window tools reset their defaults). View and library buttons are momentary:
// they track the mouse until it is released and act when it is released over them,
// after which the select tool is current again. A press on a creation tool also shows
// its variants in the variant list in place of the side bar.
#include <windows.h>
#include <cstdint>

struct ToolButtonRecord;

// The left-button press on a tool button (from ToolPaneWndProc).
void HandleToolButtonPress(ToolButtonRecord* record, HWND button, UINT message, LPARAM position);
// A double click on a button of a strip that is not a creation-tool strip: the tool's
// dialog (move, rotation, dimensions, text font, zoom, walk and fly heights).
void OpenToolPropertiesDialog(ToolButtonRecord* record, HWND button, UINT message, LPARAM position);
// The class cursor of the active plan pane for a creation tool with a cursor of its
// own; nothing for other ids or without a plan pane.
void SetToolCursor(int toolId);
// Selects a tool as though its button had been pressed, keeping the door or window
// defaults the press would reset. Nothing without an open plan with settings or for an
// id of no creation or general strip.
void SelectToolById(int toolId);
