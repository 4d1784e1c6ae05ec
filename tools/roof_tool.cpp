#include "tools/roof_tool.h"
#include "tools/tool_state.h"

// Roof planes are not generated yet.
void RebuildRoof(PlanObject*) {}

// Not built yet: a release only ends the gesture.
void HandleRoofTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}
