#pragma once
#include <stdint.h>

struct PlanVertex;

// The square opening 7052 and door 7053 tools, and the span rule the window and fixture
// tools share.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

// Places an opening or a door on the wall section under the pointer.
void HandleDoorTool(float x, float y, float z, int16_t event);

// The usable span of the segment start -> end for an opening: its length less 6.0, from
// low = 3.0 to high = length - 3.0. The pointer is not used.
float GetWallSectionSpan(float pointerX, float pointerY, const PlanVertex* segmentStart,
                         const PlanVertex* segmentEnd, float* low, float* high);
