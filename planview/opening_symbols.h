#pragma once
// Plan symbols of doors (type 16) and windows (type 17) in their wall openings.
#include <windows.h>
#include <stdint.h>

struct PlanObject;
struct DragTransform;

// The rectangle, flags and drag record are passed through and not read.
void DrawDoorSymbol(HDC dc, PlanObject* door, const RECT* rect, uint32_t flags,
                    const DragTransform* preview);
void DrawWindowSymbol(HDC dc, PlanObject* window, const RECT* rect, uint32_t flags,
                      const DragTransform* preview);
