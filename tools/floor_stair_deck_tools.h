#pragma once
#include <stdint.h>

// Floor slab and floor opening 7059/7060, straight stair 7055/7604, straight and curved railings 7057/7602 and 7058/7603, decks 7600/7601.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleFloorTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleStraightStairTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleStraightRailingTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleCurvedRailingTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleDeckTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
