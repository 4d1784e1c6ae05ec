#include "tools/select_drag.h"
#include "tools/tool_state.h"

// Not built yet: a release only ends the gesture.
void DragSelection(float, float, float, int16_t event)
{
    if (event == 3)
        ReleaseToolCapture();
}
