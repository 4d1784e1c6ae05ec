#pragma once
#include <stdint.h>

struct PlanFloor;
struct PlanObject;

// The roof tools 7300 to 7305 and 7307: a rectangle dragged on the plan becomes a roof
// (type 14) of four corners in the style the dispatcher stored first, its ridge along
// the longer side, on top of the current storey's walls. RebuildRoof is the one road by
// which the dialogs, the readers, the editing commands and the 3D painting keep a
// roof's planes in step with its outline, pitch and style.

// Dispatcher window form: (window x, window y, model x, y, z, event).
void HandleRoofTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);

// Frees and regenerates the planes of a roof (type 14); nothing for other objects.
// The roof's own 3D model is left to the caller.
void RebuildRoof(PlanObject* roof);
// RebuildFloorRoofs on every floor from the given one on.
void RebuildAllRoofs(PlanFloor* firstFloor);
// Rebuilds every roof of a shown floor; a hidden floor keeps its planes.
void RebuildFloorRoofs(PlanFloor* floor);
