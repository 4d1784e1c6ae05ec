#pragma once
// Plan symbols of wall elements and fixtures, roof-pitch symbols, slopes, plants,
// beams, cables, slope arrows, piers, stairs and ducts.
#include <windows.h>
#include <stdint.h>

struct PlanObject;

void DrawWallElementSymbol(HDC dc, PlanObject* object, uint32_t symbolCode);
void DrawPitchSymbol(HDC dc, PlanObject* object);
void DrawSlopeSymbol(HDC dc, PlanObject* object);
void DrawPlantSymbol(HDC dc, PlanObject* object);
void DrawBeamSymbol(HDC dc, PlanObject* object);
void DrawCableSymbol(HDC dc, PlanObject* object);
void DrawSlopeArrowSymbol(HDC dc, PlanObject* object);
void DrawPierSymbol(HDC dc, PlanObject* object);
void DrawStairSymbol(HDC dc, PlanObject* object);
void DrawDuctSymbol(HDC dc, PlanObject* object);
// The 2D symbol template of the code (symbolTemplates2D) at the plan point (x, z),
// turned by the angle (radians) and scaled along and across.
void DrawSymbolTemplate(HDC dc, float angle, const float* position, uint32_t code,
                        float scaleX, float scaleY);
