#pragma once
#include <stdint.h>

// Parallel outlines of plan objects (wall bands, paths, the 3D builders), the winding of
// closed outlines and meshes, and a few small per-object setters of the operation
// dispatcher. Offsets work on the plan coordinates (x, z) of the vertices.

struct PlanFloor;
struct PlanObject;
struct PlanVertex;

// Side codes: left and right of the direction of travel as the plan is seen.
enum OffsetSideCode : int16_t {
    kOffsetSideLeft = 7,
    kOffsetSideRight = 8,
};

// The segment a -> b moved sideways by the distance (sign +1 to its left as the plan is
// seen, -1 to its right); both ends take a's height.
void OffsetSegment(const PlanVertex* a, const PlanVertex* b, float* x0, float* y0, float* z0,
                   float* x1, float* y1, float* z1, int16_t sign, float distance);

// A new object: the outline of the object offset by the distance (plan units) on the
// side; attached to the object's floor when the flag is set. Null on failure.
PlanObject* BuildOffsetSide(PlanObject* object, int16_t side, float distance, uint8_t attach);
// The same, always attached to the object's floor.
PlanObject* BuildOffsetWallGroupVariant(PlanObject* object, int16_t side, float distance);
// The offset side of an open (closed) object, the width in display units; null for a
// closed (open) one.
PlanObject* SplitOpenWallGroupSide(PlanObject* object, float width, int16_t side);
PlanObject* SplitClosedWallGroupSide(PlanObject* object, float width, int16_t side);
// Joins the object's outline and its offset side(s), by its offset side, into one
// closed band and returns it; in the centred case the object is freed and a new one is
// returned. The object itself comes back when no side could be built.
PlanObject* SplitWallGroupIntoSides(PlanObject* object, float width, uint8_t attach);

// 1 when the interior of the first row lies to the left of its first edge, -1 when to
// its right (in the plane of the view-plane mode); 0 without settings or memory, or
// when the vertex count does not divide into the rows.
int16_t GetPolygonWinding(PlanObject* object);
// Winding of meshes as seen from one fixed viewpoint (pitch 20, yaw 330).
void UpdateAllObjectsWinding(PlanFloor* firstFloor);
void UpdateFloorWinding(PlanFloor* floor);
// Winding of one mesh from its first three vertices in the current view, then of its
// children.
void UpdateObjectWinding(PlanObject* object);

// Sets every vertex tangent of the object to zero (the outline becomes straight).
void ClearObjectVertexSlopes(PlanObject* object);
// Stairs, railings, fences and lines (21, 24, 26, 27, 38, 45) are smoothed or
// straightened; any other object is deselected with redraw.
void RecomputeCurvesOrDeselect(PlanObject* object);
void StraightenOrDeselect(PlanObject* object);
// size := the settings' default pen width.
void ApplyDefaultPenWidthToObject(PlanObject* object);
// The second style word of a closed object := value.
void SetClosedObjectStyleWord(PlanObject* object, uint16_t value);
