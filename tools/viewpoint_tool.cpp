#include "tools/viewpoint_tool.h"
#include "tools/tool_state.h"

// Not built yet: a release only ends the gesture.
uint8_t HandleViewpointTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
    return 0;
}
