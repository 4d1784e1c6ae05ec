#include "tools/arc_tools.h"
#include "tools/tool_state.h"

// Not built yet: a release only ends the gesture.
void HandleArcTool(int32_t, int32_t, float, float, float, int16_t event, int16_t)
{
    if (event == 3)
        ReleaseToolCapture();
}
