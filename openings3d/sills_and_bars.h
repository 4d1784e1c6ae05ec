#pragma once

struct OpeningRecord;
struct PlanObject;

// The finishing steps of windows and sliding doors, run after the frame: the glazing
// bars of a sash, the sill box under a window, and the upside-down flip. Their parts
// go to the end of the record's part list.

// Glazing bars (type 19, flat quadrilaterals) over the glazed area whose corners c0
// (bottom) and c1 (top) at one end and c2 (top) and c3 (bottom) at the other lie in the
// wall's middle plane (x, y, z each). Bar counts are the record's signed 16-bit values,
// a negative count meaning none, at most 4 each (the dialog's range).
void BuildGlazingBarGrid(PlanObject* object, OpeningRecord* record, const float* c0,
                         const float* c1, const float* c2, const float* c3);
// The sill solid under a window of the style (600 to 621, 624, 625), 3.0 beyond both
// wall faces; its overhangs past the opening's ends depend on the style.
void BuildWindowSill(PlanObject* object, int style);
// Mirrors every part of the record's list about the middle of the window hole: mode 0
// vertically (upside down), mode 1 horizontally. Nothing when the first part (the
// frame) has fewer than 4 vertices.
void MirrorOpeningOutline(PlanObject* object, int mode);
