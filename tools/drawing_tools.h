#pragma once
#include <stdint.h>

// The line 7702, polygon and curve 7703/7707 and multigon 7706 tools of the drawing
// palette. Each leaves one drawing element (type 29) of its shape kind on the current
// floor: a line (6), a polygon (3), a curve (7) or a regular polygon (4). They draw in
// the two coordinates of the settings' view plane, the third taken from the press.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleLineTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
// Acts on the release of the first click only: further corners are placed by clicks in
// a loop of its own, which a double click, a right click or a key ends (open), or a
// finish on the first corner (closed); before a second corner a click, a right click or
// a key other than Escape adds the point, and Escape leaves the tool without making
// anything. An outline that would keep fewer than 3 corners when closed is finished open
// as it stands.
void HandlePolygonTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
// A multigon of fewer than 3 sides neither previews nor makes anything.
void HandleMultigonTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
