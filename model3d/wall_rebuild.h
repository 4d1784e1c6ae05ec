#pragma once

struct PlanFloor;
struct PlanObject;

// Replaces a wall group's generated meshes (type 12 only): the wall body on its link and,
// for an exterior group (sub-type 54), the footing on its parts.
void RebuildWall(PlanObject* wall);
// RebuildWall on every object of every shown floor from firstFloor on.
void RebuildAllWalls(PlanFloor* firstFloor);
void RebuildFloorWalls(PlanFloor* floor);
// The wall body: a two-ring solid (type 10) of the footprint, foot ring at the points'
// height and top ring height plus slab thickness above; an open surface (type 11) for
// an open footprint. Unlinked, host set to the wall. Null when it cannot be made.
PlanObject* BuildWallMesh(PlanObject* wall);
// The footing of an exterior wall (type 113): one ring of the foundation-width band
// centred on the wall line. Null when it cannot be made.
PlanObject* BuildFoundationMesh(PlanObject* wall);
