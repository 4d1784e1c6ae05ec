#include "tools/fixture_tools.h"
#include "files/symbol_library.h"
#include "model/object_copies.h"
#include "model/object_edit.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/wall_openings.h"
#include "openings3d/opening_models.h"
#include "planview/fixture_symbols.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "planview/segment_dimensions.h"
#include "planview/selection.h"
#include "render3d/object_polygons.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "shell/message_box.h"
#include "tools/door_tool.h"
#include "tools/point_mapping.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"
#include <math.h>

namespace {

const float kHalfPi = 1.5707963267948966f;
const int16_t kPressEvent = 1;
const int16_t kReleaseEvent = 3;
// A section takes an element only when its span leaves this much beside it.
const float kSpanAllowance = 11.0f;
const float kSideProbe = 100.0f;
// The sub-type of the copies of a free fixture's 2D symbol.
const uint32_t kFreeFixturePart = 89;
const uint32_t kElectrical = 4;
const uint32_t kPlumbing = 8;
const uint32_t kHvac = 32;
const uint32_t kGroupSelectionCommand = 5205;

const char kNoSectionText[] =
    "Cliccare e trascinare su una sezione di muro per inserire questo elemento.";
const char kSectionTooShortText[] =
    "La sezione del muro non è abbastanza ampia per questo elemento. Cliccare e trascinare "
    "su una sezione più ampia di muro per inserire questo elemento.";

struct FixtureRow {
    int16_t toolId;
    uint32_t code;
    uint32_t category;
};

const FixtureRow kWallFixtures[] = {
    {7100, 55, kElectrical},  {7103, 70, kElectrical},  {7105, 73, kElectrical},
    {7112, 83, kElectrical},  {7113, 84, kElectrical},  {7114, 85, kElectrical},
    {7115, 86, kElectrical},  {7116, 87, kElectrical},  {7200, 90, kPlumbing},
    {7201, 91, kPlumbing},    {7202, 92, kPlumbing},    {7203, 93, kPlumbing},
    {7204, 94, kPlumbing},    {7205, 95, kPlumbing},    {7206, 96, kPlumbing},
    {7207, 97, kPlumbing},    {7209, 99, kPlumbing},    {7210, 109, kPlumbing},
    {7407, 124, kHvac},
};

const FixtureRow kFreeFixtures[] = {
    {7109, 79, kElectrical},  {7110, 80, kElectrical},  {7117, 88, kElectrical},
    {7208, 98, kPlumbing},    {7211, 110, kPlumbing},   {7401, 118, kHvac},
    {7402, 119, kHvac},       {7403, 120, kHvac},       {7404, 121, kHvac},
    {7405, 122, kHvac},       {7406, 123, kHvac},
};

// A code chosen by a variant default of the settings: 8 gives the first entry, 9 the
// second, 10 the third; anything else (or an entry of 0) the first.
uint32_t ByVariant(const PlanSettings* settings, int index, uint32_t first, uint32_t second,
                   uint32_t third)
{
    uint32_t variant = settings ? settings->fixtureToolDefaults[index] : 0;
    if (variant == 9 && second)
        return second;
    if (variant == 10 && third)
        return third;
    return first;
}

struct SizeRow {
    uint32_t code;
    float width;
    float depth;
    float elevation;
};

const SizeRow kWallFixtureSizes[] = {
    {55, 6, 12, 12},  {65, 6, 12, 12},  {66, 6, 12, 12},  {67, 6, 12, 12},  {70, 6, 12, 12},
    {73, 6, 16, 42},  {74, 6, 16, 42},  {75, 6, 16, 42},  {76, 6, 16, 42},  {77, 6, 16, 42},
    {78, 6, 16, 42},  {83, 25, 11, 84}, {84, 10, 12, 12}, {85, 10, 12, 12}, {86, 10, 14, 84},
    {87, 10, 14, 54}, {90, 24, 30, 0},  {91, 36, 24, 30}, {92, 36, 24, 30}, {93, 36, 24, 30},
    {94, 21, 16, 0},  {95, 0, 0, 0},    {96, 0, 0, 0},    {97, 0, 0, 0},    {99, 6, 12, 18},
    {109, 6, 12, 18}, {124, 48, 6, 6},
};

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

float PlanLength(float units)
{
    return UnitsToPlanLength(units, ActiveSettings(), 0);
}

void Tell(const char* text)
{
    ShowMessageBox(frameWindow, text, applicationTitle, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

// The element's size along the wall and across it, its elevation (plan units).
void PlanSizeOf(uint32_t code, const PlanSettings* settings, float* size)
{
    WallFixtureSize s = WallFixtureSizeOf(code, settings);
    size[0] = PlanLength(s.width);
    size[1] = PlanLength(s.depth);
    size[2] = s.hasElevation ? PlanLength(s.elevation) : settings->workingElevation;
}

// Rounds a mapped point to whole units as the drags do.
float Whole(float value)
{
    return (float)(int32_t)(value + 0.5f);
}

// The pen, drawing mode and grid snap of a section drag, put back at its end.
class SectionDragState {
public:
    explicit SectionDragState(PlanSettings* settings) : snap_(settings)
    {
        dc_ = activePlanPane ? GetDC(activePlanPane) : nullptr;
        if (dc_) {
            pen_ = CreatePen(PS_SOLID, 1, RGB(0, 192, 128));
            oldPen_ = pen_ ? SelectObject(dc_, pen_) : nullptr;
            oldMode_ = SetROP2(dc_, R2_NOTXORPEN);
        }
    }
    ~SectionDragState()
    {
        if (dc_) {
            SetROP2(dc_, oldMode_);
            if (oldPen_)
                SelectObject(dc_, oldPen_);
            if (pen_)
                DeleteObject(pen_);
            ReleaseDC(activePlanPane, dc_);
        }
    }
    HDC dc() const { return dc_; }

private:
    UnitGridSnap snap_;
    HDC dc_ = nullptr;
    HPEN pen_ = nullptr;
    HGDIOBJ oldPen_ = nullptr;
    int oldMode_ = R2_COPYPEN;
};

struct ElementPreview {
    float first[2];
    float second[2];
    float middle[2];
    float direction;
    uint8_t side;
};

void DrawPreview(HDC dc, const ElementPreview& p, PlanObject* wall, PlanVertex* start,
                 PlanVertex* end, const float* size, uint32_t code, PlanObject* moving)
{
    if (!dc)
        return;
    DrawWallElementPreview(dc, p.first, p.middle, p.second, p.direction, p.side, code, wall,
                           size[0], size[1]);
    float at[2] = {p.middle[0], p.middle[1]};
    DrawOpeningDimensions(dc, wall, start, end, 1, at, moving);
}

// In the side views a moved element follows the pointer along the view's axis: the
// point is where the wall line crosses a line through the pointer.
void FollowSideView(const PlanVertex* start, const PlanVertex* end, float* x, float* z)
{
    int view = GetCameraPresetCommand();
    float sx = start->position[0];
    float sz = start->position[2];
    float ex = end->position[0];
    float ez = end->position[2];
    float ix = *x;
    float iz = *z;
    if (view == ViewLeft || view == ViewRight)
        IntersectLines(sx, sz, ex, ez, *x - kSideProbe, *z, *x + kSideProbe, *z, &ix, &iz);
    else if (view == ViewFront || view == ViewBack)
        IntersectLines(sx, sz, ex, ez, *x, *z - kSideProbe, *x, *z + kSideProbe, &ix, &iz);
    else
        return;
    if (ix != kNoIntersection || iz != kNoIntersection) {
        *x = ix;
        *z = iz;
    }
}

} // namespace

uint32_t WallFixtureCode(int16_t toolId, const PlanSettings* settings, uint32_t* category)
{
    uint32_t cat = kElectrical;
    uint32_t code = 55;
    switch (toolId) {
    case 7101:
        code = ByVariant(settings, 0, 65, 66, 67);
        break;
    case 7106:
        code = ByVariant(settings, 2, 74, 75, 76);
        break;
    case 7107:
        code = ByVariant(settings, 3, 77, 78, 0);
        break;
    default:
        for (const FixtureRow& row : kWallFixtures)
            if (row.toolId == toolId) {
                code = row.code;
                cat = row.category;
            }
        break;
    }
    if (category)
        *category = cat;
    return code;
}

uint32_t FreeFixtureCode(int16_t toolId, const PlanSettings* settings, uint32_t* category)
{
    uint32_t cat = kElectrical;
    uint32_t code = 68;
    switch (toolId) {
    case 7102:
        code = ByVariant(settings, 1, 68, 69, 0);
        break;
    case 7104:
        code = ByVariant(settings, 1, 71, 72, 0);
        break;
    case 7111:
        code = ByVariant(settings, 4, 81, 82, 0);
        break;
    default:
        for (const FixtureRow& row : kFreeFixtures)
            if (row.toolId == toolId) {
                code = row.code;
                cat = row.category;
            }
        break;
    }
    if (category)
        *category = cat;
    return code;
}

WallFixtureSize WallFixtureSizeOf(uint32_t code, const PlanSettings* settings)
{
    for (const SizeRow& row : kWallFixtureSizes) {
        if (row.code != code)
            continue;
        WallFixtureSize size = {row.width, row.depth, row.elevation, true};
        if (code >= 95 && code <= 97 && settings) {
            // The tubs and the shower take the sizes their dialog keeps in the settings.
            size.width = settings->fixtureSizes[(code - 95) * 2];
            size.depth = settings->fixtureSizes[(code - 95) * 2 + 1];
        }
        return size;
    }
    return {6.0f, 12.0f, 0.0f, false};
}

void HandleWallFixtureTool(float x, float y, float z, int16_t event, int16_t toolId)
{
    uint32_t category = kElectrical;
    uint32_t code = WallFixtureCode(toolId, ActiveSettings(), &category);
    PlanObject* element = PlaceWallFixture(x, y, z, event, code);
    if (element)
        element->category = category;
}

PlanObject* PlaceWallFixture(float, float, float, int16_t event, uint32_t code)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || !activeDocument->currentFloor)
        return nullptr;
    float size[3];
    PlanSizeOf(code, settings, size);
    PlanMouseState hit = planMouseState;
    PlanObject* element = PlaceWallElement(event, &hit, hit.modifiers, size, code);
    ReleaseToolCapture();
    return element;
}

PlanObject* PlaceWallElement(int16_t event, const PlanMouseState* hit, uint16_t,
                             const float* size, uint32_t code)
{
    PlanSettings* settings = ActiveSettings();
    if (event != kPressEvent || !settings || !hit || !activeDocument->currentFloor)
        return nullptr;
    if (!hit->hit || !hit->object || !hit->segmentHit || !hit->vertexA || !hit->vertexB ||
        hit->object->type != ObjWall) {
        Tell(kNoSectionText);
        return nullptr;
    }
    PlanObject* wall = hit->object;
    PlanVertex* start = hit->vertexA;
    PlanVertex* end = hit->vertexB;
    const float width = size[0];
    float low = 0.0f;
    float high = 0.0f;
    float span = GetWallSectionSpan(0.0f, 0.0f, start, end, &low, &high);
    if (span - kSpanAllowance < width) {
        Tell(kSectionTooShortText);
        return nullptr;
    }
    float first[2] = {0.0f, 0.0f};
    float second[2] = {0.0f, 0.0f};
    float middle[2] = {0.0f, 0.0f};
    uint8_t side = 0;
    DragWallElement(wall, start, end, size, span, low, high, hit->hitPoint[0], hit->hitPoint[2],
                    first, second, 0, 0, code, nullptr, nullptr, 0, &side, middle);

    PlanObject* element =
        CreateObject(ObjWallElement, 0, 1, &settings->doorColour, &settings->newObjectColour,
                     1.0f, 6, 0, nullptr, nullptr, nullptr, nullptr, activeDocument->currentFloor,
                     nullptr);
    OpeningRecord* record = element ? AllocateRecordOf<OpeningRecord>() : nullptr;
    if (!record) {
        FreeObject(element);
        return nullptr;
    }
    element->subType = code;
    element->styleOrTexture = 0;
    element->colourB = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
    element->rows = 1;
    element->closed = 1;
    const float distance =
        Distance2D(start->position[0], start->position[2], first[0], first[1]) + width / 2.0f;
    // The third point stands off the wall where every refit of the wall puts it.
    float offWall[2];
    OpeningSidePoint(start, end, distance, side, size[1], offWall);
    const float points[3][2] = {{first[0], first[1]}, {second[0], second[1]},
                                {offWall[0], offWall[1]}};
    for (const auto& p : points) {
        PlanVertex* v = NewVertexNode(1, 1, 0, 0, 0, 0, p[0], 0.0f, p[1], 0, 0, 0, 0, 0, 0,
                                      element);
        if (!v) {
            ReleaseRecord(record);
            FreeObject(element);
            return nullptr;
        }
        AddObjectPoint(v, element);
    }
    element->owner = wall;
    element->floor = wall->floor;
    AppendToObjectList(&wall->firstChild, element);
    UpdateObjectExtents(element);
    SetSelectionAllFloors(activeDocument->firstFloor, 2, 1);
    SelectObjectAndDrawHandles(element, 1, 1);
    InvalidatePlanView();

    float length = 0.0f;
    AngleBetweenPoints(start->position[0], start->position[2], end->position[0],
                       end->position[2], &length);
    record->typeCopy = (uint16_t)code;
    record->style = 0;
    record->startVertex = start;
    record->endVertex = end;
    record->distanceFromStart = distance;
    record->distanceToEnd = length - record->distanceFromStart;
    record->width = width;
    record->height = size[1];
    record->elevation = size[2];
    record->hingeSide = side;
    record->glazingBarsAcross = 1;
    record->glazingBarsDown = 0;
    element->link = record;
    BuildOpeningModel(element);
    RebuildObject3D(wall);
    return element;
}

uint8_t ComputeWallElementPositions(const PlanVertex* start, const PlanVertex* end,
                                    const float* size, float, float low, float high,
                                    float pointerX, float pointerZ, float* firstEnd,
                                    float* secondEnd, uint8_t resizeFirst, uint8_t resizeSecond,
                                    float* direction, float* middle)
{
    ComputeOpeningPositions(start, end, size[0], low, high, pointerX, pointerZ, firstEnd,
                            secondEnd, resizeSecond, resizeFirst);
    float length = 0.0f;
    float angle = AngleBetweenPoints(start->position[0], start->position[2], end->position[0],
                                     end->position[2], &length);
    if (direction)
        *direction = angle;
    if (middle) {
        middle[0] = (firstEnd[0] + secondEnd[0]) / 2.0f;
        middle[1] = (firstEnd[1] + secondEnd[1]) / 2.0f;
    }
    float dx = 0.0f;
    float dz = 0.0f;
    OffsetPointPolar(angle + kHalfPi, kSideProbe, &dx, &dz);
    float left = Distance2D(firstEnd[0] + dx, firstEnd[1] + dz, pointerX, pointerZ);
    float right = Distance2D(firstEnd[0] - dx, firstEnd[1] - dz, pointerX, pointerZ);
    return left < right ? 1 : 0;
}

bool DragWallElement(PlanObject* wall, PlanVertex* start, PlanVertex* end, const float* size,
                     float span, float low, float high, float pointerX, float pointerZ,
                     float* firstEnd, float* secondEnd, uint8_t resizeFirst,
                     uint8_t resizeSecond, uint32_t code, OpeningRecord* existing,
                     PlanObject* existingObject, uint8_t, uint8_t* side, float* middle)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || !wall || !start || !end || !firstEnd || !secondEnd)
        return false;
    SectionDragState state(settings);
    float length = 0.0f;
    float angle = AngleBetweenPoints(start->position[0], start->position[2], end->position[0],
                                     end->position[2], &length);
    // A placed element keeps the pointer's offset from its centre.
    float offset = 0.0f;
    if (existing)
        offset = Distance2D(start->position[0], start->position[2], pointerX, pointerZ) -
                 existing->distanceFromStart;
    auto place = [&](float x, float z, ElementPreview* p) {
        if (existing) {
            FollowSideView(start, end, &x, &z);
            float along = Distance2D(start->position[0], start->position[2], x, z) - offset;
            float dx = 0.0f;
            float dz = 0.0f;
            OffsetPointPolar(angle, along, &dx, &dz);
            x = start->position[0] + dx;
            z = start->position[2] + dz;
        }
        p->first[0] = firstEnd[0];
        p->first[1] = firstEnd[1];
        p->second[0] = secondEnd[0];
        p->second[1] = secondEnd[1];
        p->side = ComputeWallElementPositions(start, end, size, span, low, high, x, z, p->first,
                                              p->second, resizeFirst, resizeSecond,
                                              &p->direction, p->middle);
        // The side follows the pointer itself, not its offset copy.
        if (existing) {
            float dx = 0.0f;
            float dz = 0.0f;
            OffsetPointPolar(angle + kHalfPi, kSideProbe, &dx, &dz);
            p->side = Distance2D(p->first[0] + dx, p->first[1] + dz, pointerX, pointerZ) <
                              Distance2D(p->first[0] - dx, p->first[1] - dz, pointerX, pointerZ)
                          ? 1
                          : 0;
        }
    };
    ElementPreview preview;
    place(pointerX, pointerZ, &preview);
    DrawPreview(state.dc(), preview, wall, start, end, size, code, existingObject);
    bool moved = false;
    float lastX = Whole(pointerX);
    float lastZ = Whole(pointerZ);
    while (IsMouseButtonDown()) {
        POINT cursor = {0, 0};
        GetCursorLogicalPosInWindow(activePlanPane, &cursor);
        float x = 0.0f;
        float z = 0.0f;
        MapSectionPointer(cursor.x, cursor.y, &x, &z);
        if (x == lastX && z == lastZ)
            continue;
        lastX = x;
        lastZ = z;
        pointerX = x;
        pointerZ = z;
        DrawPreview(state.dc(), preview, wall, start, end, size, code, existingObject);
        place(x, z, &preview);
        DrawPreview(state.dc(), preview, wall, start, end, size, code, existingObject);
        moved = true;
    }
    DrawPreview(state.dc(), preview, wall, start, end, size, code, existingObject);
    firstEnd[0] = preview.first[0];
    firstEnd[1] = preview.first[1];
    secondEnd[0] = preview.second[0];
    secondEnd[1] = preview.second[1];
    if (side)
        *side = preview.side;
    if (middle) {
        middle[0] = preview.middle[0];
        middle[1] = preview.middle[1];
    }
    return moved;
}

void DrawWallElementPreview(HDC dc, const float*, const float* middle, const float*,
                            float direction, uint8_t side, uint32_t code, PlanObject* wall,
                            float width, float depth)
{
    if (!dc || !middle || !wall)
        return;
    // The ghost stands where the element will be drawn once placed: centred on its ends.
    const float halfWall = PlanLength(wall->size) / 2.0f;
    bool isWallFixture = false;
    for (const SizeRow& row : kWallFixtureSizes)
        isWallFixture = isWallFixture || row.code == code;
    if (!isWallFixture) {
        float face[2];
        WallElementFacePoint(middle, direction, side, halfWall, face);
        DrawWorldLine(dc, middle[0], 0.0f, middle[1], face[0], 0.0f, face[1], 0);
        return;
    }
    DrawWallElementTemplate(dc, code, middle, direction, side, halfWall, width, depth);
}

PlanObject* PlaceFreeFixture(float x, float z, uint32_t code)
{
    if (!ActiveSettings() || !activeDocument->currentFloor)
        return nullptr;
    SetSelectionAllFloors(activeDocument->firstFloor, 2, 1);
    PlanObject* templateObject = FindSymbolTemplate(symbolTemplates2D, code);
    PlanObject* lastCopy = nullptr;
    int copies = 0;
    if (templateObject) {
        ForEachSymbolTemplatePart(templateObject, [&](PlanObject* member) {
            PlanObject* copy = CopySymbolTemplatePart(member, x, z);
            if (!copy)
                return;
            copy->subType = kFreeFixturePart;
            copy->styleOrTexture = code;
            AttachObjectToFloor(copy, activeDocument->currentFloor);
            lastCopy = copy;
            ++copies;
        });
    }
    // The group command records the group it makes; anything it left there from an
    // earlier grouping must not pass for this one.
    groupUnderConstruction = nullptr;
    if (frameWindow)
        SendMessageA(frameWindow, WM_COMMAND, kGroupSelectionCommand, 0);
    PlanObject* made = nullptr;
    if (copies == 1)
        made = lastCopy;
    else if (copies > 1)
        made = groupUnderConstruction;
    SetSelectionAllFloors(activeDocument->firstFloor, 2, 1);
    InvalidatePlanView();
    return made;
}

void HandleFreeFixtureTool(float x, float z, int16_t event, int16_t toolId)
{
    if (event != kReleaseEvent)
        return;
    uint32_t category = kElectrical;
    uint32_t code = FreeFixtureCode(toolId, ActiveSettings(), &category);
    PlanObject* made = PlaceFreeFixture(x, z, code);
    if (made) {
        made->category = category;
        made->styleOrTexture = code;
    }
}

void TrackWallElementDrag()
{
    PlanObject* element = planMouseState.object;
    if (!ActiveSettings() || !element || element->type != ObjWallElement || !element->link ||
        !element->owner || !(planMouseState.segmentHit || planMouseState.vertexHit))
        return;
    OpeningRecord* record = static_cast<OpeningRecord*>(element->link);
    PlanObject* wall = element->owner;
    PlanVertex* start = record->startVertex;
    PlanVertex* end = record->endVertex;
    // A record may outlive the segment it was placed on.
    if (!IsVertexOfObject(wall, start) || !IsVertexOfObject(wall, end))
        return;
    const float size[3] = {record->width, record->height, record->elevation};
    float low = 0.0f;
    float high = 0.0f;
    float span = GetWallSectionSpan(0.0f, 0.0f, start, end, &low, &high);
    float first[2] = {0.0f, 0.0f};
    float second[2] = {0.0f, 0.0f};
    float middle[2] = {0.0f, 0.0f};
    uint8_t side = record->hingeSide;
    // An element is hit as a whole, so the hit record holds no point of it (a door's holds
    // the point of its outline under the pointer): the drag keeps the element's offset from
    // the press itself, read as the drag reads the pointer.
    float grab[2] = {0.0f, 0.0f};
    {
        UnitGridSnap snap(ActiveSettings());
        MapSectionPointer(planMouseState.x, planMouseState.y, &grab[0], &grab[1]);
    }
    bool moved = DragWallElement(wall, start, end, size, span, low, high, grab[0], grab[1], first,
                                 second, 0, 0, element->subType, record, element, 1, &side, middle);
    if (moved) {
        float length = 0.0f;
        AngleBetweenPoints(start->position[0], start->position[2], end->position[0],
                           end->position[2], &length);
        record->distanceFromStart =
            Distance2D(start->position[0], start->position[2], first[0], first[1]) +
            record->width / 2.0f;
        record->distanceToEnd = length - record->distanceFromStart;
        float offWall[2];
        OpeningSidePoint(start, end, record->distanceFromStart, side, record->height, offWall);
        const float points[3][2] = {{first[0], first[1]}, {second[0], second[1]},
                                    {offWall[0], offWall[1]}};
        PlanVertex* v = element->firstVertex;
        for (int i = 0; i < 3 && v; ++i, v = v->next) {
            v->position[0] = points[i][0];
            v->position[2] = points[i][1];
        }
        record->hingeSide = side;
        UpdateObjectExtents(element);
        BuildOpeningModel(element);
        RebuildObject3D(wall);
    }
    InvalidatePlanView();
    SetSelectionAllFloors(activeDocument->firstFloor, 2, 1);
    SelectObjectAndDrawHandles(element, 1, 1);
}
