#pragma once
// Plans for the print tests and the sample, built with the model's own routines and
// written with the program's own writer: drawing lines and rectangles at known places
// (what a printed page must show) and the walls of a small house.
#include <windows.h>
#include "support/test_support.h"
#include <string>
#include <vector>

struct PlanDocument;
struct PlanFloor;
struct PlanObject;

namespace printtest {

// A straight line of the plan, in plan x and z (the top view shows x across, z down).
struct Segment {
    float x1, z1, x2, z2;
};

// A drawing line (type 29, line kind) from (x1, z1) to (x2, z2).
PlanObject* AddLine(PlanFloor* floor, float x1, float z1, float x2, float z2);
// A drawing rectangle (type 29, rectangle kind, closed).
PlanObject* AddRectangle(PlanFloor* floor, float left, float top, float right, float bottom);
// A wall group through the corners; closed and exterior (sub-type 54) for an outer shell.
PlanObject* AddWall(PlanFloor* floor, const std::vector<std::pair<float, float>>& corners,
                    bool closed, bool exterior, float thickness);
// An opening (door 16, window 17 or wall element 56) on the wall's segment that starts
// at its vertex of that index, centred at the distance from it (plan units), its
// height (a wall element's depth) and style (a wall element's symbol code), hinge or
// flip side, swing and swing sense; laid out on its wall as the tools leave it.
struct OpeningPlace {
    uint16_t type;
    int segment;
    float centre, width, height;
    uint16_t style;
    uint8_t hingeSide;
    float swing;
    uint16_t flags;
};
PlanObject* AddOpening(PlanObject* wall, const OpeningPlace& place);

// Every straight segment of the drawing lines and rectangles of the document's floors.
std::vector<Segment> DrawnSegments(const PlanDocument* document);

// The band one straight wall segment covers on the plan, worked out from the wall's
// centre line and thickness alone: the segment from (x1, z1) to (x2, z2), reaching half
// the thickness (plan units) to either side, lengthened at its start and its end by
// that half where it meets the next segment of its own wall, so that walls meeting at
// right angles close their corners.
struct WallBand {
    float x1, z1, x2, z2;
    float half;
    float extendStart, extendEnd;
};
std::vector<WallBand> WallBands(const PlanDocument* document);

// Where the automatic dimensions and labels of a plan may print: near each wall segment
// (its dimensions, the door labels on its other side) and beside each drawn line (its
// length text); and the texts the house's page must carry, worked out by hand.
struct NearZone {
    float x1, z1, x2, z2;
    float reach;
};
std::vector<NearZone> DimensionZones(const PlanDocument* document);
std::vector<std::string> SampleHouseTexts();

// What the house's door, window and bath symbols print, worked out by hand from the
// places the sample gives them: lines (dotted ones are the doors' centre lines and
// swing arcs) and the cuts through the walls that must print white.
struct SymbolLine {
    Segment segment;
    bool dotted;
};
std::vector<SymbolLine> SampleHouseSymbolLines();
struct CutRect {
    float left, top, right, bottom;
};
std::vector<CutRect> SampleHouseCuts();

// The plans. Each fills the active document (fresh, from CreatePlanDocument) and leaves
// its settings as a loaded plan has them (floor-plan categories shown).
// The sample: a house of walls with two doors, a window and a bath, a table, a bed, a
// path and a terrace line,
// with the automatic dimensions and labels a new plan has. The other plans show lines
// only: their dimensions and labels are turned off.
void BuildSampleHouse();
// A room with a door and a window, lines at several angles, a dimension and a text:
// every kind of plan text, for the page that must not change.
void BuildLabelsPlan();
// Lines at known places, wider than high, for the fit-to-page print.
void BuildFitPlan();
// Lines over a grid of 2 x 2 pages at 1:48 (imperial choice 9), for the to-scale print.
void BuildScalePlan();
// The same plan at metric 1:100 (choice 8): one page.
void BuildSmallScalePlan();
// Short lines in rows of 100, for timing the print road.
void BuildManyLinesPlan(int count);
// At 1:48 imperial, a grid of 2 x 2 pages with a wall (a filled band) and a text in each
// quarter, page by page "Uno", "Due", "Tre" and "Quattro".
void BuildQuartersPlan();
// Two lines, each through the other's length label (feet and inches).
void BuildCrossedLabelsPlan();
// 2 x 2 pages at 1:48 with a wide pen on a join, a rounding on one page that decides one
// on another, and lines crossing each other's labels.
void BuildJoinsPlan();
// At 1:48 imperial, every kind of object with its labels: a door of each style, a window,
// the bath, a dimension with each end mark, a fill zone, a deck with steps, a stair and
// a slope, with lines across them all.
void BuildKindsPlan();
// One line across nearly the whole plane at metric 1:10: a grid of about 100,000 pages.
void BuildHugeScalePlan();
// A text in Arial for each byte b from 0x20 on, in rows of 16: "<b>a" and, on its second
// line, b before the high byte 0x80 + (b + 1) % 0x80.
void BuildTextBytesPlan();

// Turns the active plan's automatic dimensions and labels off (the line plans do).
void ShowLinesOnly();
// A new active document with its three storeys (and a stand-in plan pane); freed by
// EndPlan.
PlanDocument* BeginPlan();
void EndPlan();
PlanFloor* FirstStorey();

using vtest::WindowsPath;

} // namespace printtest
