#pragma once
#include <stdint.h>

// The exterior wall and foundation tools: perimeter 7000 and 7050, beam 7001, piers 7002, tension cable 7003 and slope arrow 7004.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

// Perimeter of exterior walls or foundations (placement gesture).
void HandleExteriorWallTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleBeamTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandlePierTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleTensionCableTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleSlopeArrowTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);

// A two-point run of the type (beam, tension cable, slope arrow, air duct) from the drag
// start to the point dispatched, in 15-degree steps unless Shift is held, with its
// preview; made at the release unless it has no length.
void HandleRunTool(float x, float z, int16_t event, uint16_t type);
