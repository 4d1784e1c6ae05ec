#include "tools/exterior_wall_tools.h"
#include "tools/tool_state.h"

// Not built yet: a release only ends the gesture.
void HandleExteriorWallTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleBeamTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandlePierTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleTensionCableTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleSlopeArrowTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}
