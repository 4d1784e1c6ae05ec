#pragma once
#include <stdint.h>

// Turns one plan object into scene polygons: one polygon per quad between two vertex
// rows (several for a curved patch), one end face per outline row, with material
// slots that point back into the plan data. The per-type dispatch calls it for each
// object, temporary build code, generated child, opening part and symbol part; it
// recurses into the object's children.

struct PlanObject;
struct PlanVertex;

// Set by the high-quality render and the pick passes: curved quads are cut into 8
// pieces instead of 3.
extern uint8_t fineTessellation;

// Half the width and the height of a plant's billboard at its age (1.0 each when its
// growth gives no size).
void ComputePlantBillboard(PlanObject* plant, float* halfWidth, float* height);
// Faces of the object (while the live view is visible), then of its children.
void BuildObjectFaces(PlanObject* object);
// One end or cap face from an outline row (count vertices from first, curves cut) into
// currentMesh; its normal is taken the other way round when reversed.
void BuildOutlineFace(PlanVertex* first, int32_t count, uint8_t reversed, PlanObject* object);
// The faces of the quad A, B (next row), E, F (next column), flat or curved; object is
// the host the faces are filed under.
void BuildQuadFaces(PlanVertex* a, PlanVertex* b, PlanVertex* e, PlanVertex* f, PlanObject* object);
// One four-vertex face into currentMesh with texture u from the row distances d0 and d2
// over the row length (rowLength2 and d1 are not read).
void BuildQuadFace(const float* p0, const float* p1, const float* p2, const float* p3,
                   float rowLength, float rowLength2, PlanObject* object, float d0, float d1,
                   float d2, float d3);
