#pragma once
// Size labels, captions and area fills of the plan: the width-by-height label of a door
// or window beside its wall, captions in the dimension font, live (exclusive-or)
// captions of the selection marks and tools, filled outlines, and the deck and
// sprinkler captions. Texts follow the conventions of planview/dimension_lines.
#include <windows.h>
#include <stdint.h>
#include "model/plan_settings.h"

struct PlanFloor;
struct PlanObject;
struct OpeningRecord;

// The size label of an opening (and the code of a door's style) beside its wall segment
// S -> E (plan), at the label point P moved offset + 15 to the side (side 0 right of
// S -> E, else left); only while the label drawing flag is set and a plan pane exists.
void DrawOpeningSizeLabel(HDC dc, const OpeningRecord* record, float sx, float sz, float ex,
                          float ez, float px, float pz, uint8_t side, float offset);
// A caption in the dimension font centred on its base line 6 units beside the plan
// point, turned by the angle (degrees), never flipped.
void DrawCaption(HDC dc, const char* text, float x, float z, float angleDegrees);
// A live caption seven pixels above the plan point; a second call erases it.
void DrawTextLabel(HDC dc, const char* text, float x, float z, float angleDegrees);

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
