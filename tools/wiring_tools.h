#pragma once
#include <stdint.h>

// The wiring 7108 and sprinkler 7508 tools.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleWiringTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleSprinklerTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
