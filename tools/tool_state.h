#pragma once
#include <stdint.h>
#include "tools/plan_mouse_state.h"

// Tool state shared by the palette, the plan pane, the tools and the frame's command
// dispatcher.

// The current tool id; 200 is the pointer (select) tool, -1 means no tool yet.
extern short currentToolId;
// The tool that was current before the last tool press (the viewpoint tool returns to
// it); -1 when none was.
extern short previousToolId;
// The pointer and drag state of the current gesture: the plan pane fills its hit part
// before the press, the tool framework the rest.
extern PlanMouseState planMouseState;
// Nonzero while the plan pane holds the mouse capture for a tool gesture; the tools clear
// it together with releasing the capture.
extern uint8_t mouseCaptured;
