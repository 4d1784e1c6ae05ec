#pragma once
#include <stdint.h>

// Per-vertex texture coordinates of objects, recomputed after every geometry change in
// the order ComputeProjectionExtents, then ComputeMeshTextureCoords.
//
// A mesh stores its vertices row after row: R rows (object rows), N vertices (object
// vertex count), N / R per row. Walks stop at the end of the chain, and an object whose
// count does not divide into its rows is left alone.

struct PlanObject;
struct PlanVertex;

// Chooses the projection plane across the smallest span of the first row (mode 1
// (x, height), 2 (x, z), 3 (z, height); roof planes 32..35 never 2), stores the
// projection box [min second, min first, max second, max first] twice in the texture
// block and the mode, and writes the planar coordinates s and t (the two floats after
// the texture ids) of every vertex, each in [0, 1]. Needs an active document.
void ComputeProjectionExtents(PlanObject* object);
// u := distance along the row from its first vertex, v := the row's length, for every
// vertex of a mesh with at least 2 rows and 2 vertices per row.
void ComputeMeshTextureCoords(PlanObject* object);

// Length of one row: the first, or with the flag the third of exactly three rows; a
// closed object adds the segment back to its first vertex. 0 below 2 rows or 2 columns.
float ComputeRowLength(const PlanObject* object, uint8_t thirdRow);
// Length over the first k segments of that row (the closing segment is segment P).
float ComputeRowLengthTo(const PlanObject* object, int16_t segments, uint8_t thirdRow);
// 3D length of the Hermite segment a -> b by chords, the settings' curve steps of them;
// 0 without settings. Uses the shared Hermite scratch.
float ComputeCurveLength3D(const PlanVertex* a, const PlanVertex* b);
