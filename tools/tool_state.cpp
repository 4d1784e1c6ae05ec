#include "tools/tool_state.h"

short currentToolId = -1;
