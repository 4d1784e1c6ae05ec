#pragma once
#include <stdint.h>

// The dimension tool 202: a drag measures from the press to the release (with a rubber
// line and a live length), then the pointer places the dimension line beside the
// measured segment until a left click, and the dimension with its label is made on the
// current view sheet. A measure shorter than 6.0 makes nothing.
// Dispatched by the tool framework with model x, y, z and the tool event (1 press,
// 2 move, 3 release).

void HandleDimensionTool(float x, float y, float z, int16_t event);

// Draws, in the plan pane's current mode, the dimension line of the segment a-b placed
// through c (pane logical units) with its two extension lines, from 5 to 7 units beyond
// the line; the side is the one c lies on (a tie takes the clockwise side). The cursor
// is not used.
void DrawDimensionPreview(int32_t ax, int32_t ay, int32_t bx, int32_t by, int32_t cx, int32_t cy,
                          int32_t cursorX, int32_t cursorY);
