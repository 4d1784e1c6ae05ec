#pragma once
#include <stdint.h>

// A wall group's mesh is a plain band around its centre line; each quad of it that the
// face builder turns into a face is reshaped here into the real wall segment: its side
// and materials, its elevation profile, the holes of its doors and windows, its trim
// and the caps where neighbouring segments differ.

struct PlanObject;
struct PlanVertex;
struct PolygonOutline;

// The face is currentMesh; corners are row r vertex j, row r + 1 vertex j, row r vertex
// j + 1 and row r + 1 vertex j + 1 of the mesh, quadIndex is j.
void BuildWallSegmentFaces(PlanObject* mesh, PlanObject* wallGroup, PlanVertex* const corners[4],
                           int32_t quadIndex, PolygonOutline* outlines);
