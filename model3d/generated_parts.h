#pragma once
#include <stdint.h>
#include "model/plan_settings.h"
#include "model3d/array_objects.h"

// The generated-part list of stairs, railings and decks: solids hung on the owner's
// link, chained by their previous and next links, in no floor list.

struct PlanObject;

// Appends a part at the end of the owner's generated-part list.
void AppendGeneratedPart(PlanObject* owner, PlanObject* part);
// Frees every part of the owner's generated-part list and empties it.
void FreeGeneratedParts(PlanObject* owner);
// A closed solid of two rings of count points (lower ring first) on the owner's floor
// (or the current one), typed, taken off the floor list and appended to the owner's
// parts. Every vertex gets the texture and the colour on both faces, the object the
// colour as colour A. Null when it could not be made.
PlanObject* AddGeneratedSolid(PlanObject* owner, uint16_t type, const Point3f* lower,
                              const Point3f* upper, int32_t count, uint32_t texture,
                              const ColourTriple& colour);
// A square column centred on (x, z), its sides along and across the angle, halfSize
// either way, from bottomY up to topY (topY < bottomY rises).
PlanObject* AddGeneratedColumn(PlanObject* owner, uint16_t type, float x, float z, float angle,
                               float halfSize, float bottomY, float topY, uint32_t texture,
                               const ColourTriple& colour);
// The four corners of a box around a line, in ring order: the line from (x0, z0) to
// (x1, z1) widened by halfWidth on either side across the angle.
void CornersAroundLine(float x0, float z0, float x1, float z1, float angle, float halfWidth,
                       float corners[4][2]);
