#pragma once
#include <stdint.h>

// Resize of the selection by a side or corner of its box (tool 215, and the pointer tool
// on a box handle): the opposite side stays, the selection is stretched or shrunk along
// the two axes the view shows and scaled at the release. A shown axis never goes below
// 10.0 (a factor is never 0); a box narrower than 8.0 keeps its width; Shift changes one
// axis only; Ctrl in a side view changes heights only.

// Dispatcher form: (x, height, event); the points come from the pointer record.
void ResizeSelection(float x, float y, int16_t event);
