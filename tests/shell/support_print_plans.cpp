#include "support_print_plans.h"
#include "model/deck_parts.h"
#include "model/object_extents.h"
#include "model/record_memory.h"
#include "model/wall_openings.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "support/plan_fixtures.h"
#include "tools/cad_builders.h"
#include "tools/text_editing.h"
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

namespace printtest {

// The kinds of drawing element (the sub-type of type 29) used here.
enum { ShapeRectangle = 1, ShapeLine = 6 };
static const uint32_t kExteriorWallGroup = 54;

static HWND standInPane = nullptr;

void ShowLinesOnly()
{
    // The line plans check where each line lands: no length texts among the lines.
    if (!activeDocument || !activeDocument->settings)
        return;
    activeDocument->settings->dimensionDrawing = 0;
    activeDocument->settings->labelDrawing = 0;
}

PlanDocument* BeginPlan()
{
    PlanDocument* document = CreatePlanDocument();
    if (!document || !document->settings)
        return document;
    if (!standInPane)
        standInPane = vtest::CreatePaneStandIn();
    activePlanPane = standInPane;
    PlanSettings* settings = document->settings;
    // The floor-plan tab's categories, as a plan shows them once loaded.
    settings->visibleCategories = kCategoryFloorPlan | kCategoryElectrical | kCategoryPlumbing;
    settings->activeCategory = kCategoryFloorPlan;
    ShowLinesOnly();
    return document;
}

void EndPlan()
{
    if (activeDocument)
        FreePlanDocument(activeDocument);
    activeDocument = nullptr;
    activePlanPane = nullptr;
    if (standInPane)
        DestroyWindow(standInPane);
    standInPane = nullptr;
}

PlanFloor* FirstStorey()
{
    return activeDocument ? activeDocument->firstFloor : nullptr;
}

// An object of the type with straight vertices at the (x, z) points; its stored boxes
// are measured as the tools do once they have set the vertices.
static PlanObject* AddObject(PlanFloor* floor, uint16_t type, uint32_t subType, bool closed,
                             float size, const std::vector<std::pair<float, float>>& points)
{
    if (!floor || !activeDocument || !activeDocument->settings)
        return nullptr;
    PlanSettings* settings = activeDocument->settings;
    ColourTriple black = {0, 0, 0};
    PlanObject* object = CreateObject(type, closed ? 1 : 0, 0, &black, &settings->newObjectColour,
                                      size, settings->defaultFirstStyle, 2, nullptr, nullptr,
                                      nullptr, nullptr, floor, nullptr);
    if (!object)
        return nullptr;
    object->subType = subType;
    object->category = settings->activeCategory;
    for (const auto& p : points) {
        PlanVertex* v = NewVertexNode(1, 0, 0, 0, 0, 0, p.first, 0, p.second, 0, 0, 0, 0, 0, 0, object);
        if (!v) {
            FreeObject(object);
            return nullptr;
        }
        AddObjectPoint(v, object);
    }
    ResetExtentRect(object->box2D);
    GetObjectExtents2D(object, 0, object->box2D, 0, 0);
    ResetExtentBox(object->box3D);
    GetObjectExtents3D(object, 0, object->box3D, 0);
    AttachObjectToFloor(object, floor);
    return object;
}

PlanObject* AddLine(PlanFloor* floor, float x1, float z1, float x2, float z2)
{
    return AddObject(floor, ObjDrawingElement, ShapeLine, false, 1.0f, {{x1, z1}, {x2, z2}});
}

PlanObject* AddRectangle(PlanFloor* floor, float left, float top, float right, float bottom)
{
    return AddObject(floor, ObjDrawingElement, ShapeRectangle, true, 1.0f,
                     {{left, top}, {right, top}, {right, bottom}, {left, bottom}});
}

PlanObject* AddWall(PlanFloor* floor, const std::vector<std::pair<float, float>>& corners,
                    bool closed, bool exterior, float thickness)
{
    PlanObject* wall = AddObject(floor, ObjWall, exterior ? kExteriorWallGroup : 0, closed,
                                 thickness, corners);
    if (!wall)
        return nullptr;
    // The fields the wall tools give a new wall: a storey-high wall on a half-inch slab,
    // the plan's stud spacing and, outside, the plan's footing width.
    PlanSettings* settings = activeDocument->settings;
    const float height = floor->height > 0.0f ? floor->height : 96.0f;
    wall->colourM[0] = exterior ? 0 : 1;
    wall->offsetSide = 0;
    wall->parameters[0] = height;
    wall->parameters[1] = settings->studSpacing;
    wall->parameters[2] = 0.5f;
    if (exterior)
        wall->parameters[3] = settings->floorToolDefaults[0];
    for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
        v->mainHeight = height;
        v->heightC = height * 1.25f;
        v->heightD = height * 1.75f;
        v->angleA = v->angleB = 10.0f;
    }
    return wall;
}

PlanObject* AddOpening(PlanObject* wall, const OpeningPlace& place)
{
    PlanVertex* start = wall ? vtest::VertexAt(wall, place.segment) : nullptr;
    PlanVertex* end = start ? (start->next ? start->next : wall->firstVertex) : nullptr;
    OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
    if (!end || !record) {
        ReleaseRecord(record);
        return nullptr;
    }
    ColourTriple black = {0, 0, 0};
    PlanObject* opening = CreateObject(place.type, 0, 0, &black, &black, 1.0f, 0, 0, nullptr,
                                       nullptr, nullptr, nullptr, wall->floor, record);
    if (!opening) {
        ReleaseRecord(record);
        return nullptr;
    }
    opening->category = wall->category;
    record->typeCopy = place.type;
    record->style = place.style;
    if (place.type == ObjWallElement) {
        // A wall element names its symbol by its sub-type and is unpainted (its model shows
        // the library's materials), as the fixture tool leaves it.
        opening->subType = place.style;
        opening->colourB = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
        record->typeCopy = place.style;
        record->style = 0;
    }
    record->startVertex = start;
    record->endVertex = end;
    record->distanceFromStart = place.centre;
    record->width = place.width;
    record->height = place.height;
    record->hingeSide = place.hingeSide;
    record->swingAngle = place.swing;
    record->flags = place.flags;
    vtest::AppendChildObject(wall, opening);
    FitWallOpenings(wall);
    return opening;
}

std::vector<Segment> DrawnSegments(const PlanDocument* document)
{
    std::vector<Segment> segments;
    if (!document)
        return segments;
    for (const PlanFloor* floor = document->firstFloor; floor; floor = floor->next) {
        for (const PlanObject* o = floor->firstObject; o; o = o->next) {
            if (o->type != ObjDrawingElement)
                continue;
            const PlanVertex* first = o->firstVertex;
            for (const PlanVertex* v = first; v && v->next; v = v->next)
                segments.push_back({v->position[0], v->position[2], v->next->position[0], v->next->position[2]});
            if (o->closed && first && first->next) {
                const PlanVertex* last = first;
                while (last->next)
                    last = last->next;
                segments.push_back({last->position[0], last->position[2], first->position[0], first->position[2]});
            }
        }
    }
    return segments;
}

std::vector<WallBand> WallBands(const PlanDocument* document)
{
    std::vector<WallBand> bands;
    if (!document || !document->settings)
        return bands;
    for (const PlanFloor* floor = document->firstFloor; floor; floor = floor->next) {
        for (const PlanObject* o = floor->firstObject; o; o = o->next) {
            if (o->type != ObjWall || !o->firstVertex)
                continue;
            const float half = UnitsToPlanLength(o->size / 2.0f, document->settings, 0);
            std::vector<const PlanVertex*> corners;
            for (const PlanVertex* v = o->firstVertex; v; v = v->next)
                corners.push_back(v);
            const size_t n = corners.size();
            const size_t segments = o->closed ? n : n - 1;
            for (size_t i = 0; i < segments && n > 1; ++i) {
                const PlanVertex* a = corners[i];
                const PlanVertex* b = corners[(i + 1) % n];
                // A joint with the wall's previous or next segment, or an open end.
                const bool jointAtStart = o->closed || i > 0;
                const bool jointAtEnd = o->closed || i + 1 < segments;
                bands.push_back({a->position[0], a->position[2], b->position[0], b->position[2],
                                 half, jointAtStart ? half : 0.0f, jointAtEnd ? half : 0.0f});
            }
        }
    }
    return bands;
}

void BuildSampleHouse()
{
    PlanFloor* floor = FirstStorey();
    PlanSettings* settings = activeDocument->settings;
    settings->unitSystem = kUnitSystemFeetInches;
    settings->printScaleChoice = 9;       // 1:48
    settings->dimensionDrawing = 1;
    settings->labelDrawing = 1;
    // The shell of a 40 by 30 foot house (plan units: points of the drawing) with its
    // front door, 3 by 6'-8" in the south wall 10 feet from its west end, and two inner
    // walls.
    PlanObject* shell =
        AddWall(floor, {{-480, -360}, {480, -360}, {480, 360}, {-480, 360}}, true, true, 12.0f);
    const float quarterTurn = 1.5707964f;
    AddOpening(shell, {ObjDoor, 2, 720.0f, 72.0f, 160.0f, 501, 0, quarterTurn, 4});
    // A 4 by 4 foot window in the north wall, 10 feet from its west end.
    AddOpening(shell, {ObjWindow, 0, 240.0f, 96.0f, 96.0f, 600, 0, 0.0f, 0});
    // The inner walls: a glazed door into the east rooms, and a bath against the wall
    // between them, 5 feet by 2'-6".
    PlanObject* hall = AddWall(floor, {{0, -360}, {0, 360}}, false, false, 8.0f);
    AddOpening(hall, {ObjDoor, 0, 540.0f, 72.0f, 160.0f, 509, 1, quarterTurn, 4});
    PlanObject* bathWall = AddWall(floor, {{0, 0}, {480, 0}}, false, false, 8.0f);
    AddOpening(bathWall, {ObjWallElement, 0, 360.0f, 120.0f, 60.0f, 95, 0, 0.0f, 0});
    // Furniture and the garden, as drawing shapes.
    AddRectangle(floor, -300, -120, -120, 60);      // table
    AddRectangle(floor, 160, -300, 400, -100);      // bed
    AddLine(floor, -480, 520, 480, 520);            // terrace edge
    AddLine(floor, -320, 360, -320, 520);           // path from the door to the terrace
    AddLine(floor, -160, 360, -160, 520);
}

void BuildLabelsPlan()
{
    PlanFloor* floor = FirstStorey();
    activeDocument->settings->unitSystem = kUnitSystemFeetInches;
    activeDocument->settings->dimensionDrawing = activeDocument->settings->labelDrawing = 1;
    // Walls running each way round, a door and a window, lines at 30, 135, 240 and 315
    // degrees (two alike), a dimension with a label font of its own and a text.
    PlanObject* room = AddWall(floor, {{-360, -240}, {360, -240}, {360, 240}, {-360, 240}}, true, false, 8.0f);
    AddOpening(room, {ObjDoor, 2, 240.0f, 72.0f, 160.0f, 503, 0, 1.5707964f, 4});
    AddOpening(room, {ObjWindow, 1, 200.0f, 96.0f, 96.0f, 600, 0, 0.0f, 0});
    const float lines[5][4] = {{-300, 440, -40, 290}, {100, 440, 360, 290}, {-500, 200, -640, 60},
                               {560, -100, 480, -240}, {480, 100, 620, 240}};
    for (const auto& l : lines)
        AddLine(floor, l[0], l[1], l[2], l[3]);
    LOGFONTA font = {};
    font.lfHeight = -20;
    font.lfWeight = FW_BOLD;
    std::strcpy(font.lfFaceName, "Arial");
    PlanObject* dimension = BuildDimensionObject(-300, -300, 300, -300, 0, -400, floor);
    AttachDimensionLabel(dimension, 0, -400, 1);
    static_cast<AttachedPartRecord*>(static_cast<AttachmentRecord*>(dimension->link)->label->link)->font = font;
    font.lfHeight = -28;
    font.lfItalic = 1;
    HWND text = CreateTextEditWindow(WS_CHILD | ES_MULTILINE, 0, 0, 240, 80, activePlanPane);
    SetWindowTextA(text, "Soggiorno\r\nCucina");
    SetTextEditFont(text, font);
    const RECT frame = {-200, -120, 40, -40};
    BuildTextFrameObject(&frame, text, floor);
}

void BuildTextBytesPlan()
{
    LOGFONTA font = {};
    font.lfHeight = -20;
    std::strcpy(font.lfFaceName, "Arial");
    for (int b = 0x20; b <= 0xFF; ++b) {
        const char text[] = {char(b), 'a', '\r', '\n', char(b), char(0x80 + (b + 1) % 0x80), 0};
        HWND control = CreateTextEditWindow(WS_CHILD | ES_MULTILINE, 0, 0, 60, 56, activePlanPane);
        SetTextEditFont(control, font);
        SetWindowTextA(control, text);
        const RECT frame = {(b % 16) * 80, (b / 16) * 80, (b % 16) * 80 + 60, (b / 16) * 80 + 56};
        BuildTextFrameObject(&frame, control, FirstStorey());
    }
}

std::vector<NearZone> DimensionZones(const PlanDocument* document)
{
    std::vector<NearZone> zones;
    // A wall's chained and overall dimensions reach 25 + 22 units out and their texts
    // a little further; its door labels sit 20 out on the other side.
    for (const WallBand& w : WallBands(document))
        zones.push_back({w.x1, w.z1, w.x2, w.z2, 64.0f});
    // A drawn line's length text is centred 15 units beside it.
    for (const Segment& s : DrawnSegments(document))
        zones.push_back({s.x1, s.z1, s.x2, s.z2, 32.0f});
    return zones;
}

std::vector<std::string> SampleHouseTexts()
{
    // 72 plan units are 36 inches at the default scale.
    return {
        "40'-0\"",                  // terrace edge: 960 units
        "30'-0\"",                  // east and west walls; north and south walls east of their openings
        "20'-0\"",                  // the inner wall of the bath: 480 units
        "10'-0\"",                  // north and south walls west of their openings: 240 units; the bed
        "22'-6\"",                  // the hall wall north of its door (540 units) and south of it
        "7'-6\"",                   // (180 units); the table: 180 units a side
        "3'-0\" x 6'-8\"",          // the front door: 72 by 160 units
        "3'-0\" x 6'-8\" 9 luci",   // the glazed door
        "4'-0\" x 4'-0\"",          // the window: 96 by 96 units
        "60\"LUx30\"LA",            // the bath: 120 by 60 units
        "Vasca/Doccia",
        "8'-4\"",                   // bed: 240 by 200 units
        "6'-8\"",                   // path sides: 160 units
    };
}

// A quarter arc about the hinge, radius w - 3 = 69, from one angle to the other
// (degrees, counter-clockwise as the plan is seen), as six chords.
static void AddArc(std::vector<SymbolLine>* lines, float hx, float hz, float from, float to)
{
    const double radians = 3.14159265358979 / 180.0;
    for (int i = 0; i < 6; ++i) {
        const double a = (from + (to - from) * i / 6.0) * radians;
        const double b = (from + (to - from) * (i + 1) / 6.0) * radians;
        lines->push_back({{static_cast<float>(hx + 69 * std::cos(a)), static_cast<float>(hz - 69 * std::sin(a)),
                           static_cast<float>(hx + 69 * std::cos(b)), static_cast<float>(hz - 69 * std::sin(b))},
                          true});
    }
}

std::vector<SymbolLine> SampleHouseSymbolLines()
{
    std::vector<SymbolLine> lines = {
        // Front door: jambs at x -204 and -276 on z 360, hinged at -276 (hinge side 0 on a
        // wall running west), the leaf opening north from 5 to 77 off the hinge.
        {{-276, 360, -204, 360}, true},
        {{-276, 355, -276, 283}, false},
        // Glazed door: jambs at z 144 and 216 on x 0, hinged at 144, the leaf east.
        {{0, 144, 0, 216}, true},
        {{5, 144, 77, 144}, false},
        // Window: the frame 4 beyond the 12-unit faces, from x -288 to -192.
        {{-288, -376, -192, -376}, false},
        {{-192, -376, -192, -344}, false},
        {{-192, -344, -288, -344}, false},
        {{-288, -344, -288, -376}, false},
    };
    AddArc(&lines, -276, 360, 0, 90);
    AddArc(&lines, 0, 144, 270, 360);
    // Bath: its template (60 by 30 inches with a rim 4 inches wide, two plan units an
    // inch, back edge on the origin line) on the south face of the 8-inch wall at z 0 (8
    // units off its centre line), centred at x 360: 120 by 60 units, the rim 8.
    const float rects[2][4] = {{300, 8, 420, 68}, {308, 16, 412, 60}};
    for (const auto& r : rects) {
        lines.push_back({{r[0], r[1], r[2], r[1]}, false});
        lines.push_back({{r[2], r[1], r[2], r[3]}, false});
        lines.push_back({{r[2], r[3], r[0], r[3]}, false});
        lines.push_back({{r[0], r[3], r[0], r[1]}, false});
    }
    return lines;
}

std::vector<CutRect> SampleHouseCuts()
{
    // Each door's cut 3 beyond its wall's faces, the window 4 beyond.
    return {{-276, 345, -204, 375}, {-11, 144, 11, 216}, {-288, -376, -192, -344}};
}

void BuildFitPlan()
{
    ShowLinesOnly();
    PlanFloor* floor = FirstStorey();
    AddRectangle(floor, -600, -200, 900, 400);
    AddLine(floor, -600, -200, 900, 400);
    AddLine(floor, -300, 100, 600, 100);
    AddLine(floor, 150, -200, 150, 400);
}

// Grown by the margin, 1000 x 1600 plan units: at k = 0.75 on a page of about 558 by 805
// points that is 2 columns and 2 rows.
static void AddScaleLines(PlanFloor* floor)
{
    AddRectangle(floor, -428, -728, 428, 728);
    AddLine(floor, -428, -728, 428, 728);
    AddLine(floor, -428, 0, 428, 0);
    AddLine(floor, 0, -728, 0, 728);
    AddLine(floor, -200, -500, 300, -500);
}

void BuildScalePlan()
{
    ShowLinesOnly();
    activeDocument->settings->unitSystem = kUnitSystemFeetInches;
    activeDocument->settings->printScaleChoice = 9;
    AddScaleLines(FirstStorey());
}

void BuildSmallScalePlan()
{
    ShowLinesOnly();
    activeDocument->settings->unitSystem = kUnitSystemMetric;
    activeDocument->settings->printScaleChoice = 8;
    AddScaleLines(FirstStorey());
}

void BuildManyLinesPlan(int count)
{
    ShowLinesOnly();
    PlanFloor* floor = FirstStorey();
    for (int i = 0; i < count; ++i) {
        float x = static_cast<float>(i % 100) * 40.0f - 2000.0f;
        float z = static_cast<float>(i / 100) * 40.0f - 2000.0f;
        AddLine(floor, x, z, x + 30.0f, z + 30.0f);
    }
}

void BuildQuartersPlan()
{
    ShowLinesOnly();
    activeDocument->settings->unitSystem = kUnitSystemFeetInches;
    activeDocument->settings->printScaleChoice = 9;
    PlanFloor* floor = FirstStorey();
    LOGFONTA font = {};
    font.lfHeight = -28;
    std::strcpy(font.lfFaceName, "Arial");
    // The walls span -600..600 by -900..900: grown by 72 and at 1:48, two pages across
    // (the join near x 73) and two down (the join near z 103).
    const char* const words[4] = {"Uno", "Due", "Tre", "Quattro"};
    for (int q = 0; q < 4; ++q) {
        const float side = q % 2 ? 1.0f : -1.0f, end = q < 2 ? -1.0f : 1.0f;
        AddWall(floor, {{side * 600, end * 900}, {side * 200, end * 900}}, false, false, 12.0f);
        HWND control = CreateTextEditWindow(WS_CHILD | ES_MULTILINE, 0, 0, 300, 60, activePlanPane);
        SetTextEditFont(control, font);
        SetWindowTextA(control, words[q]);
        const RECT frame = {static_cast<LONG>(side * 400 - 150), static_cast<LONG>(end * 700 - 30),
                            static_cast<LONG>(side * 400 + 150), static_cast<LONG>(end * 700 + 30)};
        // The frame is made in view coordinates: on the storey its rows run along z.
        if (PlanObject* text = BuildTextFrameObject(&frame, control, floor)) {
            for (PlanVertex* v = text->firstVertex; v; v = v->next)
                std::swap(v->position[1], v->position[2]);
            ResetExtentRect(text->box2D);
            GetObjectExtents2D(text, 0, text->box2D, 0, 0);
        }
    }
}

void BuildCrossedLabelsPlan()
{
    // 16'-8" down, its length 15 units right of it; 13'-4" across, its length 15 above.
    activeDocument->settings->unitSystem = kUnitSystemFeetInches;
    activeDocument->settings->dimensionDrawing = 1;
    AddLine(FirstStorey(), 0, -200, 0, 200);
    AddLine(FirstStorey(), -160, 0, 160, 0);
}

void BuildJoinsPlan()
{
    PlanFloor* floor = FirstStorey();
    activeDocument->settings->unitSystem = kUnitSystemFeetInches;
    activeDocument->settings->printScaleChoice = 9;
    activeDocument->settings->dimensionDrawing = 1;
    // 2 x 2 pages as the quarters (3.125 device units a plan unit; the lower pages begin at
    // z 102.72), with a gate's round-ended 3-unit pen down from the lower pages' first row.
    AddRectangle(floor, -600, -900, 600, 900);
    if (PlanObject* gate = AddObject(floor, ObjPicketFence, 0, false, 1.0f, {{-530, 102.72f}, {-530, 400}}))
        gate->firstVertex->kind = 6;
    // Top right, whole inches; top left, 2'-6 1/2" rounded up: the ridge 2'-6 1/2" above
    // the eaves of the hip roof back on the top right rounds down.
    AddLine(floor, 200, -300, 300, -300);
    AddLine(floor, -500, -600, -439, -600);
    if (PlanObject* roof = AddObject(floor, ObjRoof, 0, true, 6.0f, {{120, -750}, {600, -750}, {600, -506}, {120, -506}}))
        roof->styleOrTexture = 1;
    // Below, pairs of lines each through the other's length label, some across a join.
    for (float x : {-450.0f, -250.0f, -50.0f, 73.6f, 250.0f, 450.0f}) {
        for (float z : {250.0f, 450.0f, 650.0f}) {
            AddLine(floor, x, z - 80, x, z + 80);
            AddLine(floor, x - 64.5f, z, x + 64.5f, z);
        }
    }
}

void BuildKindsPlan()
{
    PlanFloor* floor = FirstStorey();
    PlanSettings* settings = activeDocument->settings;
    settings->unitSystem = kUnitSystemFeetInches;
    settings->printScaleChoice = 9;
    settings->dimensionDrawing = settings->labelDrawing = 1;
    PlanObject* wall = AddWall(floor, {{-650, -400}, {650, -400}}, false, false, 8.0f);
    for (uint16_t style = 500; style <= 511; ++style)
        AddOpening(wall, {ObjDoor, 0, 80.0f + 100.0f * (style - 500), 60.0f, 160.0f, style, 0, 1.5707964f, 4});
    wall = AddWall(floor, {{-650, -100}, {0, -100}}, false, false, 8.0f);
    AddOpening(wall, {ObjWindow, 0, 150.0f, 96.0f, 96.0f, 600, 0, 0.0f, 0});
    AddOpening(wall, {ObjWallElement, 0, 450.0f, 120.0f, 60.0f, 95, 0, 0.0f, 0});
    for (uint32_t mark = 0; mark < 7; ++mark) {
        const float x = -650.0f + 185.0f * mark;
        PlanObject* dimension = BuildDimensionObject(x, 60, x + 150, 60, x + 75, 30, floor);
        AttachDimensionLabel(dimension, x + 75, 30, 1);
        static_cast<AttachmentRecord*>(dimension->link)->flags = 1u << mark;
    }
    AddObject(floor, 27, 0, true, 2.0f, {{100, -250}, {400, -250}, {400, -120}, {100, -120}});
    PlanObject* deck = AddObject(floor, ObjDeck, 0, true, 1.0f, {{-650, 150}, {-450, 150}, {-450, 350}, {-650, 350}});
    deck->parameters[0] = 24.0f, deck->parameters[1] = 6.0f;
    for (PlanVertex* v = deck->firstVertex; v; v = v->next)
        v->mainHeight = 24.0f;
    BuildKind53OnSegment(deck, deck->firstVertex, deck->firstVertex->next);
    const float stair[5] = {36.0f, 7.5f, 10.0f, 0.0f, 96.0f};
    std::memcpy(AddObject(floor, ObjStair, 800, false, 1.0f, {{-300, 400}, {-300, 150}})->parameters, stair, sizeof stair);
    AddObject(floor, ObjSlope, 0, false, 1.0f, {{0, 200}, {200, 300}})->firstVertex->mainHeight = 5.0f;
    for (float x = -660; x <= 660; x += 30)
        AddLine(floor, x, -460, x, 420);
    for (float z = -460; z <= 420; z += 30)
        AddLine(floor, -660, z, 660, z);
}

void BuildHugeScalePlan()
{
    ShowLinesOnly();
    activeDocument->settings->unitSystem = kUnitSystemMetric;
    activeDocument->settings->printScaleChoice = 11;
    AddLine(FirstStorey(), -29000, -29000, 29000, 29000);
}

} // namespace printtest
