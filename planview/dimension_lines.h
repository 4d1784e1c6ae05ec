#pragma once
#include <windows.h>
#include <stdint.h>

struct PlanObject;
struct PlanVertex;
struct DragTransform;

// Sets the end-mark bits of a dimension object for a command 5086..5092.
void SetObjectEndMarkBits(PlanObject* dimension, uint32_t command);
// Draws a dimension object (types 100..102) with its marks and text.
void DrawDimensionObject(HDC dc, PlanObject* dimension, uint32_t flags, const DragTransform* preview);
// Moves a vertex copy by the preview transform the flags name (16 move, else 32 scale,
// else 64 stretch, else 128 rotate); nothing without a flag or a record.
void ApplyPreviewTransform(PlanVertex* vertex, uint32_t flags, const DragTransform* preview);
