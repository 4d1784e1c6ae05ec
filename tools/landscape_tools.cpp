#include "tools/landscape_tools.h"
#include "tools/tool_state.h"

// Not built yet: a release only ends the gesture.
void HandleLotTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleFillZoneTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandlePathTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleFillTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleFenceTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandlePicketFenceTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleTopographyTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleSlopedLotTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleGateTool(float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}
