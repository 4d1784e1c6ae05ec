#include "tools/floor_stair_deck_tools.h"
#include "tools/tool_state.h"

// Not built yet: a release only ends the gesture.
void HandleFloorTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleStraightStairTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleStraightRailingTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleCurvedRailingTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleDeckTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}
