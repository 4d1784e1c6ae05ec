#pragma once
#include <windows.h>
#include <stdint.h>

// The marquee: a press of the pointer, point-edit, rotate or resize tool on empty
// space drags a dotted rubber rectangle and selects what lies inside it at the release
// (Shift toggles instead). Also the small rubber-band box routines the drawing tools
// share.

// Dispatcher form for tools 200, 201, 215 and 216 when the press hit nothing.
void TrackMarqueeSelection(int32_t windowX, int32_t windowY, float x, float y, float z,
                           int16_t event);

// The box (up and across of the first corner, then of the second, ordered so that the
// first is the smaller) and the rectangle (left, top, right, bottom; rounded) of two
// corners given as (across, up). With zoom the values are zoomed first; with centred the
// first corner is the box's centre.
void ComputeBoxFromCorners(float across1, float up1, float across2, float up2, float box[4],
                           int32_t rect[4], uint8_t zoom, uint8_t centred);
// The same, made square when the modifier bits hold Shift (4).
void ComputeRubberBandBox(int16_t modifiers, float across1, float up1, float across2, float up2,
                          float box[4], int32_t rect[4], uint8_t zoom, uint8_t centred);

// The rectangle of two corners with ordered sides.
void NormaliseRectangle(RECT* out, int16_t x1, int16_t y1, int16_t x2, int16_t y2);
