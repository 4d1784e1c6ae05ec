#pragma once
#include <stdint.h>

// The viewpoint tool 206: places the 3D camera in the plan.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

// Nonzero on a release that placed the camera.
uint8_t HandleViewpointTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
