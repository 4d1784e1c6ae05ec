#pragma once

struct PlanObject;

// Frees and rebuilds every 3D polygon and the ground grid of all floors.
void RebuildAll3D();
// Builds the 3D polygons of one object by its type.
void BuildObject3D(PlanObject* object);
