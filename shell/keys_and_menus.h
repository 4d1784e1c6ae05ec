#pragma once
#include <windows.h>

struct PlanSettings;

// The shared key handler of the frame and of the plan, document, bar, palette and 3D
// windows: Backspace and Delete delete the selection, the arrows nudge it, Shift+Ctrl+
// Home+Space shows the picture dialog. Every other key does nothing here.
void HandlePlanKeyDown(WPARAM key, LPARAM keyFlags);

// Brings the frame menu up to date each time it opens: floor moves, check marks and the
// undo item. Nothing without an active document and plan pane.
void UpdateMenus();

// The caption of the active document window by the settings' view-title mode
// (5100 the file name, 5101 the name and " (X-Y)", 5102 "X-Y", 5103 the current floor).
void UpdateDocumentTitle(PlanSettings* settings);

// The handler of the commands that are accepted and do nothing.
void IgnoreCommand();

// The undo item's text for an edit kind and whether the last edit was undone; null for a
// kind that cannot be undone.
const char* UndoMenuText(int editKind, bool undone);
