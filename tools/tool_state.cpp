#include "tools/tool_state.h"

short currentToolId = -1;
short previousToolId = -1;
PlanMouseState planMouseState;
uint8_t mouseCaptured = 0;
