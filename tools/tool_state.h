#pragma once

// The current tool id, shared by the palette, the plan pane, the tools and the frame's
// command dispatcher; 200 is the pointer (select) tool, -1 means no tool yet.
extern short currentToolId;
