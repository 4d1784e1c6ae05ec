#pragma once
// Plan symbols of the objects drawn as a symbol rather than their bare outline: wall
// elements and fixtures (from the 2D symbol templates, with bath and shower captions),
// roof-pitch symbols, sloped topography, plants, beams, foundation piers, tension
// cables, foundation slope arrows, stairs and air ducts. Each reads the object's first
// vertices and parameters; captions go through DrawCaption and lengths through
// DrawDimensionLine, most only while automatic dimensions are on.
#include <windows.h>
#include <stdint.h>

struct PlanObject;
struct PlanVertex;

// The symbol code is the object's sub-type.
void DrawWallElementSymbol(HDC dc, PlanObject* object, uint32_t symbolCode);
void DrawPitchSymbol(HDC dc, PlanObject* object);
void DrawSlopeSymbol(HDC dc, PlanObject* object);
void DrawPlantSymbol(HDC dc, PlanObject* object);
void DrawBeamSymbol(HDC dc, PlanObject* object);
void DrawCableSymbol(HDC dc, PlanObject* object);
void DrawSlopeArrowSymbol(HDC dc, PlanObject* object);
// Squares its vertices around its centre to its diameter first when they have left it.
void DrawPierSymbol(HDC dc, PlanObject* object);
// Only while automatic dimensions are on.
void DrawStairSymbol(HDC dc, PlanObject* object);
void DrawDuctSymbol(HDC dc, PlanObject* object);

// The 2D symbol template of the code (symbolTemplates2D) at the plan point (x, z),
// turned by the angle (radians) and scaled along and across; codes that have no plan
// symbol draw nothing.
void DrawSymbolTemplate(HDC dc, float angle, const float* position, uint32_t code,
                        float scaleX, float scaleY);
// The point of the wall face beside a wall element's middle (plan x, z): half the wall's
// thickness (plan length) away on the element's side (side 1: 90 degrees counter-clockwise
// of the wall's direction). Returns the direction from the wall line to the face.
float WallElementFacePoint(const float* middle, float wallAngle, uint8_t side, float halfWall,
                           float* face);
// A wall element's 2D symbol at that face point, turned to the wall, the tubs and the
// shower stretched to the width and depth (plan lengths): the placed element and its
// ghost while it is placed or dragged are drawn alike.
void DrawWallElementTemplate(HDC dc, uint32_t code, const float* middle, float wallAngle,
                             uint8_t side, float halfWall, float width, float depth);
// One plain outline (row count 1) of a template, and one of its segments, placed as
// DrawSymbolTemplate places them.
void DrawTemplatePart(HDC dc, const PlanObject* part, float angle, const float* position,
                      float scaleX, float scaleY);
void DrawTemplateSegment(HDC dc, const PlanObject* part, const PlanVertex* p, const PlanVertex* q,
                         float angle, const float* position, float scaleX, float scaleY);
// A pitch arrow from P to Q (plan x, z) with the roof's pitch and "12" beside it.
void DrawRoofPitchArrow(HDC dc, PlanObject* roof, const float* p, const float* q);
