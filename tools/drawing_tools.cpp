#include "tools/drawing_tools.h"
#include "tools/tool_state.h"

// Not built yet: a release only ends the gesture.
void HandleLineTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandlePolygonTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleMultigonTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}
