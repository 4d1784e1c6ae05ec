#pragma once
// Size labels, captions and area fills of the plan.
#include <windows.h>
#include <stdint.h>
#include "model/plan_settings.h"

struct PlanFloor;
struct PlanObject;

// The object's outline filled (fill style 0 solid, 1 and 2 hatched) with the pen given.
void FillObjectArea(HDC dc, PlanObject* object, int penStyle, int penWidth,
                    const ColourTriple* penColour, const ColourTriple* fillColour, int32_t fillStyle);
// The fill of a wall's generated outline, then the wall's automatic dimensions.
void DrawWallGroupOutline(HDC dc, PlanObject* object, PlanObject* hostWall);
// Green outlines of the exterior wall groups while the interior-wall tool is current.
void HighlightExteriorWallGroups(HDC dc, PlanFloor* firstFloor);
// "TERRAZZA" on a deck.
void DrawDeckLabel(HDC dc, PlanObject* deck);
// Radius dimension and angle caption of a sprinkler.
void DrawSprinklerLabel(HDC dc, PlanObject* sprinkler);
// A live caption seven pixels above the plan point; a second call erases it.
void DrawTextLabel(HDC dc, const char* text, float x, float z, float angleDegrees);
