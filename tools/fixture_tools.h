#pragma once
#include <windows.h>
#include <stdint.h>

// The electrical, plumbing and HVAC tools: fixtures taken from the symbol libraries.
// Fixtures that sit in a wall (outlets, switches, toilets, sinks, tubs, hose bibs,
// baseboard heaters) are wall elements: type-56 children of a wall with an opening
// record, dragged along a wall section like a door and given their 3D model by
// BuildOpeningModel, which clones the 3D symbol's parts (AttachSymbolModelParts). Free
// fixtures (floor and ceiling outlets, lights, fans, water heater, drain, HVAC units)
// are copies of the 2D symbol's parts, grouped into one object at the release point.

struct OpeningRecord;
struct PlanMouseState;
struct PlanObject;
struct PlanSettings;
struct PlanVertex;

// Size and place of a wall fixture: width along the wall and depth, display units; the
// elevation in display units when the code has one.
struct WallFixtureSize {
    float width;
    float depth;
    float elevation;
    bool hasElevation;
};

// The symbol code a wall-fixture tool places (some chosen by a variant default of the
// settings) and its category bit (4 electrical, 8 plumbing, 32 HVAC); any other id
// places 55 in category 4.
uint32_t WallFixtureCode(int16_t toolId, const PlanSettings* settings, uint32_t* category);
// The same for the free-fixture tools; any other id places 68 in category 4.
uint32_t FreeFixtureCode(int16_t toolId, const PlanSettings* settings, uint32_t* category);
// The element size of a wall-fixture code (the tubs and the shower from the settings);
// a code without a row is 6 x 12 and keeps the working elevation.
WallFixtureSize WallFixtureSizeOf(uint32_t code, const PlanSettings* settings);

// Tool entries (model form with the tool id).
void HandleWallFixtureTool(float x, float y, float z, int16_t event, int16_t toolId);
void HandleFreeFixtureTool(float x, float z, int16_t event, int16_t toolId);

// Places a wall fixture of the code at a press: needs a document, settings and a current
// storey; the drag runs inside. Clears mouseCaptured and releases the capture. Returns
// the element or null.
PlanObject* PlaceWallFixture(float x, float y, float z, int16_t event, uint32_t code);
// The press of a wall element (other events do nothing): refuses a press off a wall
// section or on one too short with a message, drags the element along the section and
// makes it, its record and its model. size: width, depth, elevation (plan units).
PlanObject* PlaceWallElement(int16_t event, const PlanMouseState* hit, uint16_t modifiers,
                             const float* size, uint32_t code);

// The element's drag along the section start -> end: previews in exclusive-or while a
// button is down and returns with the last ends. With an existing record the pointer's
// offset from the element's centre is kept and side views move it along the wall line.
// True when the pointer moved.
bool DragWallElement(PlanObject* wall, PlanVertex* start, PlanVertex* end, const float* size,
                     float span, float low, float high, float pointerX, float pointerZ,
                     float* firstEnd, float* secondEnd, uint8_t resizeFirst,
                     uint8_t resizeSecond, uint32_t code, OpeningRecord* existing,
                     PlanObject* existingObject, uint8_t viewFlag, uint8_t* side,
                     float* middle);
// The ends (as ComputeOpeningPositions), the section direction and the middle point for
// the pointer; returns the side: 1 when the pointer is nearer the point 100.0 from the
// first end at +90 degrees than the one at -90 degrees.
uint8_t ComputeWallElementPositions(const PlanVertex* start, const PlanVertex* end,
                                    const float* size, float span, float low, float high,
                                    float pointerX, float pointerZ, float* firstEnd,
                                    float* secondEnd, uint8_t resizeFirst, uint8_t resizeSecond,
                                    float* direction, float* middle);
// The element's 2D symbol at the wall face beside the middle point, where the placed
// element's symbol is drawn (the tubs and the shower scaled to the size); a plain line
// from the middle to the face for a code of no wall fixture. The ends are not read.
void DrawWallElementPreview(HDC dc, const float* firstEnd, const float* middle,
                            const float* secondEnd, float direction, uint8_t side,
                            uint32_t code, PlanObject* wall, float width, float depth);

// A free fixture at the plan point: copies of the 2D symbol's parts, selected and
// grouped by frame command 5205. Returns the object that holds them (the new group, or
// the copy itself when the symbol has one part); null when the code has no template.
PlanObject* PlaceFreeFixture(float x, float z, uint32_t code);

// The select tool's drag of a placed wall element hit at the press (planMouseState).
void TrackWallElementDrag();
