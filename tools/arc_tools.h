#pragma once
#include <stdint.h>

// The arc 7704 (a quarter of an ellipse dragged as a rectangle, running from the press to
// the release) and circular arc 7705 (centre and radius dragged, the end chosen by a
// second click; a click before the pointer moves or a zero sweep makes nothing) tools,
// and the inverting preview of a circular arc that the sprinkler tool and the door swing
// use too. Both tools leave an open drawing element of shape kind 5 on the current floor.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleArcTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event, int16_t toolId);

// Draws, in the pane's current mode, the arc of the radius around the centre from the
// start angle (radians, the direction of the first point) to the direction of the
// current point, with the radius lines to both ends; all in the settings' view plane,
// the third coordinate from the drag start. Returns the sweep in degrees: without Shift
// (the pointer record's modifier bit 4) clockwise, -360 up to 0 (-360 when the current
// point lies in the first point's direction); with Shift counter-clockwise, 0 up to
// 360. 0 without an active document with settings.
float DrawArcPreviewXor(float centreA, float centreB, float firstA, float firstB,
                        float currentA, float currentB, float startAngle, float radius);
