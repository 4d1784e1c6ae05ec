#pragma once
#include <stdint.h>
#include "model3d/mesh_vertex.h"

struct PlanObject;

// The ground height grid: heights in inches at every 72.0 of the plan extents, from
// which the ground surface, the terrain heights of the 3D builders and the plants'
// footing are taken. Point (i, j) lies at plan x = minimum x + 72 j and plan z =
// minimum z + 72 i, and is element i * (groundGridColumns + 1) + j. Topography objects
// raise the points inside their outline, slope objects tilt the whole grid.

// The grid, (groundGridRows + 1) x (groundGridColumns + 1) floats, or null. When it
// exists both counts are at least 1.
extern float* groundGrid;
extern int32_t groundGridRows;
extern int32_t groundGridColumns;
// Counts the grid's changes: each remaking and each filling.
extern uint32_t groundGridGeneration;
// Whether the active plan holds a topography or slope object, as last found.
extern uint8_t hasTerrainObjects;

// A grid held aside with its plan's scene: swapped with the grid, which the hold's takes
// the place of; a holder's grid is freed by FreeGroundGridHold.
struct GroundGridHold {
    float* grid;
    int32_t rows, columns;
};
void SwapGroundGrid(GroundGridHold* hold);
void FreeGroundGridHold(GroundGridHold* hold);

// Remakes the grid, all heights 0, over the active plan's extents (while the live view
// is visible). Extents that are not finite, less than one cell across or too many cells
// large leave no grid.
void AllocGroundHeightGrid();
// Adds the topography and slope objects of every floor to the grid; stops, setting
// renderAborted, when a mouse button goes down (unless sceneChanged is set).
void FillGroundHeightGrid();
// Even-odd test of the plan point (x, z) against the outline's x and z; 1 inside.
int IsPointInOutline(float x, float z, const MeshVertex* vertices, int32_t count);
// True when the grid exists and the active plan holds a topography or slope object: a
// walk over the whole plan.
bool DocumentHasTerrainObjects();
// The same answer, walked for once and kept for the plan and its grid: the drawers ask it
// for every plant of every draw and the builders for every object of a move. It is
// forgotten when the grid is remade (a full rebuild, a terrain or slope object moved)
// and when a terrain or slope object is built or loses its polygons (made, undone,
// redone, deleted); another plan or another grid walks again.
bool PlanHasTerrainObjects();
void ForgetTerrainAnswer();
// Whether the object is a topography or slope object, or a group holding one.
bool IsTerrainObject(const PlanObject* object);
