#pragma once

struct PlanObject;

// Unlinks and frees the 3D polygons built from one plan object; nothing when it has none.
void RemoveObjectPolygons(PlanObject* object);
// Regenerates the object's 3D polygons while the 3D view is visible; otherwise marks
// a rebuild as pending.
void RebuildObject3D(PlanObject* object);
