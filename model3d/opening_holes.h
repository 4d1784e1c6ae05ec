#pragma once
#include <stdint.h>

// The holes that doors and windows cut into a wall segment face. A hole is not taken
// out of the face's geometry: it is a flat polygon of the hole's shape on the face's
// opening list (source type 61), which the renderer cuts out through the stencil
// buffer. The frames, leaves and glazing that fill it are the opening's own parts.

struct OpeningRecord;
struct PolygonOutline;

// One hole on currentMesh for the record's style: rectangles, arched, quarter-arched,
// cut, raked and gable heads, parallelograms, octagons and circles; any other style
// adds nothing. angle runs along the face from its reference point p (x, y, z: the
// near lower corner); a is where the segment starts along the face; with reversed the
// face is walked from the segment's far end (length is the face's length). b is the
// wall's slab thickness in plan length; startHeight is not read.
void BuildOpeningHole(const PolygonOutline* face, float angle, float length, const float* p,
                      const OpeningRecord* record, uint8_t reversed, float a, float startHeight,
                      float b);
