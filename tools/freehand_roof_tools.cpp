#include "tools/freehand_roof_tools.h"
#include "tools/tool_state.h"

// Not built yet: a release only ends the gesture.
void HandleFreehandRoofTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

void HandleAirDuctTool(int32_t, int32_t, float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}

// Not built yet: the arrow stays where it is.
void DragFreehandRoofArrow() {}
