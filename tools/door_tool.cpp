#include "tools/door_tool.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "tools/tool_state.h"

namespace {
// An opening keeps this clear of each end of its segment.
const float kSegmentMargin = 3.0f;
}

// Not built yet: a release only ends the gesture.
void HandleDoorTool(float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

float GetWallSectionSpan(float, float, const PlanVertex* segmentStart,
                         const PlanVertex* segmentEnd, float* low, float* high)
{
    float length = 0.0f;
    if (segmentStart && segmentEnd)
        length = Distance2D(segmentStart->position[0], segmentStart->position[2],
                            segmentEnd->position[0], segmentEnd->position[2]);
    if (low)
        *low = kSegmentMargin;
    if (high)
        *high = length - kSegmentMargin;
    return length - 2.0f * kSegmentMargin;
}
