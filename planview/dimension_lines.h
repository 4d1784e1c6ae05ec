#pragma once
#include <windows.h>
#include <stdint.h>

struct PlanObject;
struct DragTransform;

// Sets the end-mark bits of a dimension object for a command 5086..5092.
void SetObjectEndMarkBits(PlanObject* dimension, uint32_t command);
// Draws a dimension object (types 100..102) with its marks and text.
void DrawDimensionObject(HDC dc, PlanObject* dimension, uint32_t flags, const DragTransform* preview);
