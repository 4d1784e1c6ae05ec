#pragma once
#include <windows.h>
#include <stdint.h>

struct PlanObject;
struct DragTransform;

// Sets the end-mark bits of a dimension object for a command 5086..5092.
void SetObjectEndMarkBits(PlanObject* dimension, uint32_t command);
// Draws a dimension object (types 100..102) with its marks and text.
void DrawDimensionObject(HDC dc, PlanObject* dimension, uint32_t flags, const DragTransform* preview);

// Alternates between rounding half units up and down in the length texts; the live
// dimensions of the tools set it to 1 before each call so a second drawing repeats the
// first.
extern uint8_t halfInchToggle;

// One computed dimension between two plan points (x and z): the direction segment
// A-B, the measured segment U-V, drawn on the side given at the offset, as part of the
// plan (live 0) or as an inverting overlay that a second call erases (live 1). feet and
// inches may be null; gap leaves room at the ends; textOnly draws only the length
// text, followed by suffix when given.
void DrawDimensionLine(HDC dc, float ax, float az, float bx, float bz, float ux, float uz, float vx,
                       float vz, uint8_t side, float offset, uint8_t live, uint32_t* feet,
                       uint32_t* inches, uint8_t useGiven, uint8_t skipSecondEnd, float gap,
                       uint8_t textOnly, const char* suffix);
