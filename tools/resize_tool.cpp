#include "tools/resize_tool.h"
#include "tools/tool_state.h"

// Not built yet: a release only ends the gesture.
void ResizeSelection(float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}
