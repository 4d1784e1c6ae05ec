#pragma once
#include <stdint.h>

// The way points enter the model from the mouse: a plan-pane point (logical units)
// becomes a model point (x across, y the height, z the depth) with the depth found on
// the working plane or at the object under the pointer, the view turn and perspective
// undone and the zoom taken out; then the interior-wall pick and the grid snap. A
// second routine keeps a dragged point inside the plan extents and on its side of the
// locked limit planes.

struct PlanSettings;
struct PlanMouseState;

// The main mapping. With hit given, a hit object decides the depth and, while the
// interior-wall tool is current, the wall under the pointer is picked into it (or into
// the shared pointer record when hit is null). With unzoom the zoom is taken out; with
// snap (any tool but text 203 and viewpoint 206) the grid snap follows. Without an
// active document with settings the outputs are left as they are.
void MapPlanPointToModel(int32_t x, int32_t y, float* outX, float* outY, float* outZ, uint8_t snap,
                         PlanMouseState* hit, uint8_t unzoom);

// The same for a point already in floating point, without the wall pick; the snap
// leaves out only the text tool.
void MapFloatPointToModel(float x, float y, float* outX, float* outY, float* outZ, uint8_t snap,
                          PlanMouseState* hit, uint8_t unzoom);

// Clamps point in place by the settings' view plane: into the plan extents, and never
// across a locked limit plane from the side the reference lies on (a reference on the
// plane holds the point on it). Comparisons with the limits are on whole units,
// truncated toward zero.
void ClampPlanPoint(const float reference[3], float point[3]);

// Moves x and z down to the grid line at or below them (each first truncated toward
// zero to a whole unit) with the settings' snap steps; y is never changed. 0 when an
// argument is missing or a step is not a positive finite length (the snap is off).
uint8_t SnapFloatPointToGrid(PlanSettings* settings, float* x, float* y, float* z);
