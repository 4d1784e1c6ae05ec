#include "tools/curved_stair_tool.h"
#include "tools/tool_state.h"

// Not built yet: a release only ends the gesture.
void HandleCurvedStairTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}
