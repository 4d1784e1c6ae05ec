#pragma once
#include <stdint.h>

// The viewpoint tool 206: the press places the 3D viewer in the plan, the drag points
// its view, a yellow triangle shows what it looks at and the live 3D view follows. It
// writes the settings' camera heading (degrees) and position x and z. A one-shot tool:
// afterwards the tool it interrupted is current again.

// 1 from the press to the release of a viewpoint drag.
extern uint8_t viewpointPreviewActive;

// Dispatcher window form: (window x, window y, model x, y, z, event). 1 at the release
// of a drag of at least 5.0 plan units (the dispatcher then gives the pointer back to
// the previous tool); 0 otherwise, when a shorter release has done that itself.
uint8_t HandleViewpointTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
