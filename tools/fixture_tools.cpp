#include "tools/fixture_tools.h"
#include "tools/tool_state.h"

// Not built yet: a release only ends the gesture.
void HandleWallFixtureTool(float, float, float, int16_t event, int16_t)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleFreeFixtureTool(float, float, int16_t event, int16_t)
{
    if (event == 3)
        ReleaseToolCapture();
}
