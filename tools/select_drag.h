#pragma once
#include <stdint.h>

// The pointer tool's drag of the selection (tools 200 and 216 when the press hit an
// object): the selection follows the pointer as an inverting image and moves by the
// drag at the release. A press on a selected vertex moves it alone, on an edge the
// points the press selected; a wall end dropped on the end of another wall joins them,
// dropped on its own other end closes the wall. Doors, windows, deck steps, wall
// elements and freehand-roof handles are handed to their own trackers.
//
// The moved selection stays inside the plan extents and on its side of each locked
// guide; Shift (or a two-point wall) keeps the move to one axis; Ctrl in a side view
// changes heights only.

// Dispatcher model form: (x, height, z, event).
void DragSelection(float x, float y, float z, int16_t event);
