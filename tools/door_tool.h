#pragma once
#include <stdint.h>

struct ColourTriple;
struct OpeningRecord;
struct PlanMouseState;
struct PlanObject;
struct PlanSettings;
struct PlanVertex;

// The square opening 7052 and door 7053 tools, and the span rule and the drag along a
// wall section that the window, gate and fixture tools and the select tool's opening
// drag share.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

// Places an opening or a door on the wall section under the pointer.
void HandleDoorTool(float x, float y, float z, int16_t event);
// The press of the door and opening tools: refuses, with its message, a press off a
// wall section or on one too short (or a width that is no positive length), drags the
// door along the section, makes it with its record and model and, for hinged doors, runs
// the swing step. parameters: width, height, elevation (plan units), pointer x and z.
void PlaceDoorOnWall(int16_t event, const PlanMouseState* hit, uint16_t modifiers,
                     const float* parameters);
// The swing step of a hinged door: an arc from the nearer end follows the pointer until
// a left click (or a press off the pane, left for its own work), which sets the hinge
// side, the swing sense and the angle (unless the sweep is within 2 degrees of the door
// line or beyond a half turn).
void TrackDoorSwing(PlanObject* door);

// What the door and window tools share: whether the press hit a segment of an object;
// their notices (information boxes over the frame); and the opening (type 16 or 17) on
// the pressed section: refused with the tooShort notice unless its width (parameters as
// for the press) is a positive length that fits the section's span less 11.0, else
// dragged along the section and made from the drag's ends under the wall, selected,
// with its record's segment, distances, width and height (the caller fills the rest).
// Null when it is not made.
bool PressOnWallSection(const PlanMouseState* hit);
void ShowOpeningNotice(const char* text);
PlanObject* PlaceOpeningOnSection(uint16_t type, const PlanMouseState* hit, const float* parameters,
                                  const ColourTriple& colourA, uint32_t texture, const char* tooShort,
                                  OpeningRecord** record);

// The grid snap of a section drag, one unit, put back when it goes out of scope: the
// drags of openings and wall elements follow the pointer unit by unit.
class UnitGridSnap {
public:
    explicit UnitGridSnap(PlanSettings* settings);
    ~UnitGridSnap();
    UnitGridSnap(const UnitGridSnap&) = delete;
    UnitGridSnap& operator=(const UnitGridSnap&) = delete;

private:
    PlanSettings* settings_;
    float snapX_;
    float snapY_;
};
// The pane's logical point (x, y) as a section drag reads the pointer: mapped onto the
// plan under the pointer record and rounded to whole units (x and z).
void MapSectionPointer(int32_t x, int32_t y, float* pointX, float* pointZ);

// The usable span of the segment start -> end for an opening: its length less 6.0, from
// low = 3.0 to high = length - 3.0. The pointer is not used.
float GetWallSectionSpan(float pointerX, float pointerY, const PlanVertex* segmentStart,
                         const PlanVertex* segmentEnd, float* low, float* high);

// The section drag: while a mouse button is down the opening of parameters[0]'s width
// (plan units) follows the pointer along the segment start -> end, previewed inverting
// with its jambs (the current storey's height) and its dimensions; at the release the
// preview goes and its ends (x, z) are in firstEnd and secondEnd. The opening keeps 5.0
// inside the span [low, high]; one too wide for that is shifted so that both its ends
// stay at least 3.0 inside the section's ends. With an end-resize flag only that end
// moves; with an existing record the pointer keeps its offset from the opening's centre
// and, in the side views, moves it along the wall line. The grid snap is 1.0 during the
// drag. Type code 17 (windows) draws the opening line twice. True when the pointer moved.
bool DrawOpeningPreviewXor(PlanObject* wall, PlanVertex* segmentStart, PlanVertex* segmentEnd,
                           const float* parameters, float span, float low, float high,
                           float pointerX, float pointerZ, float* firstEnd, float* secondEnd,
                           uint8_t resizeFirst, uint8_t resizeSecond, uint16_t typeCode,
                           OpeningRecord* existing, PlanObject* existingObject, uint8_t viewFlag);
