#pragma once
#include <stdint.h>

struct PlanObject;

// The placement gesture of the outline tools: after the first press and release it
// keeps control in a loop of its own, shows a red rubber segment from the last corner
// to the pointer with a live length and live dimensions, adds a corner at every left
// click and ends at a double click, a right click, a key (Shift aside) or a click on the
// first corner; before a second corner only Escape ends it, and makes nothing. Paints
// are dispatched meanwhile (the pane is painted without the half-made outline); other
// messages are not: mouse and key input is dropped, the rest (commands, registered
// messages) waits in the queue.
//
// Callers pass the dispatcher's arguments through for every event. On event 3 the
// finished outline (type 8 and closed with `closed`, else type 9) is returned, linked
// to the current floor, selected and pending for undo; otherwise (also after Escape)
// null. A closed outline may have fewer than 3 corners: callers that need an area
// refuse it.
PlanObject* TrackPlacementDrag(int32_t windowX, int32_t windowY, float x, float y, float z,
                               int16_t event, uint8_t smooth, uint8_t closed,
                               uint8_t constrainByDefault, int16_t previewType);

// The preview type that also selects the wide red pen.
const int16_t kExteriorWallPreviewType = 54;
