#pragma once
// Plan symbols of doors and plain openings (type 16) and windows (type 17) in their
// wall openings: the wall cut open (a rectangle in the background colour over the
// wall), then what stands in the opening: a centre line, an arch's face lines, a
// swinging leaf with its arc, sliding or folding panels or a garage door's track; a
// window is a framed blank across the wall. They read the opening's record and first
// two vertices (the jambs) and the host wall's thickness.
#include <windows.h>
#include <stdint.h>
#include "planview/symbol_lines.h"

struct PlanObject;
struct DragTransform;

// The rectangle, flags and drag record are passed through and not read.
void DrawDoorSymbol(HDC dc, PlanObject* door, const RECT* rect, uint32_t flags,
                    const DragTransform* preview);
// Only in the top view without perspective.
void DrawWindowSymbol(HDC dc, PlanObject* window, const RECT* rect, uint32_t flags,
                      const DragTransform* preview);

// The wall cut, the jamb or centre lines and the swing of the swinging styles.
void DrawDoorCommon(HDC dc, PlanObject* door);
// The arc about the hinge H (radius w - 3, from the closed direction theta) and the
// leaf toward E, in whole plan units; drawn only for a sweep of 3 to 180 degrees either
// way (counter-clockwise with flags bit 4, else clockwise).
void DrawDoorSwing(HDC dc, PlanPoint h, PlanPoint k, PlanPoint e, float theta, float w,
                   uint16_t flags, COLORREF colour);
// The extras of styles 503, 502, 510 and 511.
void DrawGarageDoorTrack(HDC dc, PlanObject* door);
void DrawGlazedSlidingPanels(HDC dc, PlanObject* door);
void DrawPocketSlidingDoor(HDC dc, PlanObject* door);
void DrawFoldingDoor(HDC dc, PlanObject* door);
