#pragma once
#include <stdint.h>

// The select tool's drags of a placed door or window along its wall, and of deck steps
// along their deck side: the whole opening slides (kept 8.0 inside the segment's ends),
// or one grabbed end moves (never narrower than 18.0). Both run on the press, in loops
// of their own, commit and redraw; other events do nothing.

void TrackWallOpeningDrag(float x, float height, int16_t event);
void TrackKind53Drag(float x, float height, int16_t event);
