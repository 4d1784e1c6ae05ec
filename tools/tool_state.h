#pragma once
#include <windows.h>
#include <stdint.h>

struct PlanObject;

// The current tool id, shared by the palette, the plan pane, the tools and the frame's
// command dispatcher; 200 is the pointer (select) tool, -1 means no tool yet.
extern short currentToolId;
// The tool that was current before the palette's last tool press (the viewpoint tool
// goes back to it); 0 before any press.
extern short previousToolId;
// 1 while the plan pane holds the mouse capture for a gesture; the tools clear it with
// the capture at a release.
extern uint32_t mouseCaptured;
// 1 while a drag runs outside the plan pane's own loop (the live 3D view's mouse
// navigation); 0 otherwise.
extern uint8_t toolDragActive;
// The object the last creation gesture made (kept for undo); null when none.
extern PlanObject* pendingObject;
// Set when the interior-wall tool handed its press to the select drag: the drag's
// release makes the wall tool current again.
extern uint8_t returnToWallTool;
// The pane's drawing mode before the release event's dispatch (13 when no DC).
extern int savedDrawMode;

// Clears mouseCaptured and releases the capture: the end of every gesture.
void ReleaseToolCapture();

// Invalidates, with erasing, a view rectangle (an ExtentRect of the pane's logical
// units) in the plan pane: rounded, turned into device units and grown by 5 on every
// side. Nothing for an empty rectangle.
void InvalidateViewExtents(const float* extents);
// The same for the object's view extents.
void InvalidateObjectView(PlanObject* object);
// The end of a creation gesture: the object becomes the pending object that the undo
// can take back, the whole plan pane is repainted (its labels lie outside its box), and
// the capture is released. A null object only releases the capture.
void CompleteCreation(PlanObject* object);
