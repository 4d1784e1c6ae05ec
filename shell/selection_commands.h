#pragma once
#include <windows.h>

struct PlanDocument;

// Frame commands that act on the selection of the active plan. Each needs an active
// document with settings and does nothing without one.

// 18 (with the copy) and 21: the selection is copied first for 18, then removed.
void CutSelectionCommand(bool copyFirst);
// 20: back to the top view when another view is current, then paste.
void PasteSelectionCommand(HWND frame);
// 5003: selects every object that can be selected in the current view and shows the
// size of the selection.
void SelectAllCommand();
// 5025 and 5205: groups the selected objects (two or more); beeps when the nesting of
// groups would pass its limit.
void GroupSelectionCommand();
// 5034 and 5035: turns the selection by half a turn about its centre in the current view.
void HalfTurnSelectionCommand();
// 5036 to 5039, 5041, 5043: the command id as operation on the selected objects.
void SelectedObjectsOperationCommand(int command, bool withSettings);
// 5199: deletes the selection.
void DeleteSelectionCommand();
// 5168 to 5171: moves or copies the selection to the storey above or below; at the top
// or bottom storey a message says why nothing happens.
void MoveSelectionToStoreyCommand(int command);
// 5326: fits the selection to the terrain; walls are refused with a message.
void FitSelectionToTerrainCommand();
// 5271: the object elevation dialog on the selection.
void ObjectElevationCommand();
// 5327: the working elevation dialog.
void WorkingElevationCommand();
// 5335 to 5342: moves the selection to a category, then deselects everything.
void MoveSelectionToCategoryCommand(int command);
// 30: the text font dialog; on OK the selected texts take the font.
void TextFontCommand(HWND frame);

extern const char* const wallsOnTerrainMessage;
