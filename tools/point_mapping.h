#pragma once
#include <stdint.h>

struct PlanSettings;
struct PlanMouseState;

// Moves a plan point to the nearest whole grid step of the settings in the view
// plane; 1 when snapped. y is never changed.
uint8_t SnapFloatPointToGrid(PlanSettings* settings, float* x, float* y, float* z);

// A point of the plan pane (logical units, already in floating point) as a model
// point: depth from the working plane, or from the hit object's point when the hit
// record names one; perspective and the view turn undone; with unzoom the zoom taken
// out; with snap (and any tool but the text tool) the grid snap. Without an active
// document with settings the outputs are left as they are.
// The same for a point of whole logical units, with the grid snap left out for the
// viewpoint tool (206) too. (The interior-wall tool's wall pick comes with the wall
// tools.)
void MapPlanPointToModel(int32_t x, int32_t y, float* outX, float* outY, float* outZ,
                         uint8_t snap, PlanMouseState* hit, uint8_t unzoom);
void MapFloatPointToModel(float x, float y, float* outX, float* outY, float* outZ, uint8_t snap,
                          PlanMouseState* hit, uint8_t unzoom);
