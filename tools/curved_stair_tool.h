#pragma once
#include <stdint.h>

// The curved stair tool, offered among the building tools (7056) and the deck tools
// (7605). After the first click the pointer draws a quarter-ellipse walking line in the
// plan from the click; a second click (left or right) fixes it and the stair (type 38,
// curved style 801) is made on the current floor, climbing one storey, with its parts
// generated. The walking line always starts at the first click.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release); only the release is handled.

void HandleCurvedStairTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
