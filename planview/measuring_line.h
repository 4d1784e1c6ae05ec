#pragma once
// The measuring line: a ruler the user lays over the plan (command 5274 shows and hides
// it), a yellow band between the document's two end points with ticks at the snap step,
// a round handle near each end and its length written along it. It is drawn last in a
// redraw of the pane (never on paper or into an export file), can be hit, and dragged
// whole or by either handle.
#include <windows.h>
#include <stdint.h>

// Draws the active document's measuring line while it is shown.
void DrawMeasuringLine(HDC dc);
// Whether the point (logical units of the pane) lies on the band: part[0] 1 the band,
// 2 the handle of end 1, 3 that of end 2 (a handle wins over the band), part[1] 0.
// False, with the parts untouched, while the line is not shown.
bool HitTestMeasuringLine(POINT point, uint8_t* part);
// Moves the line with the mouse until the button is released (part 1 both ends, 2 end
// 1, 3 end 2), polling through the input source; a handle leaves it at least 72 plan
// units long. Then the plan view is invalidated.
void DragMeasuringLine(HDC dc, HWND window, uint8_t part);

// The pieces of the drawing, in logical units of the pane.
void GetMeasuringBand(POINT* points);   // 4 corners
void GetMeasuringHandle1(RECT* rect);
void GetMeasuringHandle2(RECT* rect);
void DrawMeasuringEndBars(HDC dc);
void DrawMeasuringLabel(HDC dc);
void DrawMeasuringTicks(HDC dc);
