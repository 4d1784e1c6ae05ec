#pragma once
#include <stdint.h>

struct PlanMouseState;

// The landscape tools of the garden tab: plot 7500, fill zone 7501, path 7502, fill 7503,
// fence 7504, picket fence 7505, sloped plot 7509, topography 7510/7511 and the gate
// 7506. The outline tools let the placement gesture collect an outline and turn the
// finished outline into their object (garden category, materials, vertices raised by
// their type) and build it; the fill takes the oval tool's outline; the sloped plot is
// a two-point arrow, one to a plan; the gate is placed on a picket-fence section.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleLotTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleFillZoneTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandlePathTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleFillTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleFenceTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandlePicketFenceTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleTopographyTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleSlopedLotTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
// Places a gate on the picket-fence section under the press; only a fence that got a
// gate is rebuilt.
void HandleGateTool(float x, float y, float z, int16_t event);

// The gate's press: refuses a press off a picket-fence section, on a section that has a
// gate already or on one whose span is narrower than the width, with a message; else
// the section drag gives the gate's ends, which become two vertices of the fence (the
// first of kind 6, where the gate starts), and the fence is rebuilt. The fence takes
// the gate colour. True when a gate was placed.
bool PlaceGateOnFence(int16_t event, const PlanMouseState* hit, uint16_t modifiers, float width);
