#include "tools/door_tool.h"
#include <climits>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/wall_openings.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/segment_dimensions.h"
#include "shell/camera_presets.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/tool_state.h"
#include "model/object_copies.h"
#include "model/outline_offsets.h"
#include "openings3d/opening_models.h"
#include "palette/tool_popups.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "render3d/object_polygons.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include "tools/arc_tools.h"
#include "tools/tool_framework.h"
#include <cmath>

namespace {
// An opening keeps this clear of each end of its segment.
const float kSegmentMargin = 3.0f;
// ... and this clear of the span while it is dragged, when it fits.
const float kSpanClearance = 5.0f;
const float kSideProbe = 100.0f;
const uint16_t kWindowTypeCode = 17;

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

float Whole(float value)
{
    return static_cast<float>(static_cast<int32_t>(value + 0.5f));
}

// The pane's DC, inverting, and the grid snap of a section drag, put back at its end.
class SectionDrag {
public:
    explicit SectionDrag(PlanSettings* settings) : snap(settings)
    {
        dc = activePlanPane ? GetDC(activePlanPane) : nullptr;
        if (!dc)
            return;
        widePen = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
        thinPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        dottedPen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
        previousPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        previousMode = SetROP2(dc, R2_NOTXORPEN);
    }
    ~SectionDrag()
    {
        if (dc) {
            SetROP2(dc, previousMode);
            if (previousPen)
                SelectObject(dc, previousPen);
            ReleaseDC(activePlanPane, dc);
        }
        for (HPEN pen : {widePen, thinPen, dottedPen})
            if (pen)
                DeleteObject(pen);
    }
    SectionDrag(const SectionDrag&) = delete;
    SectionDrag& operator=(const SectionDrag&) = delete;

    // The opening between its ends at the base height, the jambs up the storey height,
    // and the dimensions of the openings along the segment.
    void Draw(const float* first, const float* second, float base, float storey, uint16_t typeCode)
    {
        if (!dc)
            return;
        Line(widePen, first[0], base, first[1], second[0], base, second[1]);
        if (typeCode == kWindowTypeCode)
            Line(thinPen, first[0], base, first[1], second[0], base, second[1]);
        Line(dottedPen, first[0], base, first[1], first[0], base - storey, first[1]);
        Line(dottedPen, second[0], base, second[1], second[0], base - storey, second[1]);
        const float middle[2] = {(first[0] + second[0]) / 2.0f, (first[1] + second[1]) / 2.0f};
        SelectObject(dc, thinPen ? static_cast<HGDIOBJ>(thinPen) : GetStockObject(BLACK_PEN));
        DrawOpeningDimensions(dc, wall, start, end, 1, middle, moving);
    }

    PlanObject* wall = nullptr;
    PlanVertex* start = nullptr;
    PlanVertex* end = nullptr;
    PlanObject* moving = nullptr;

private:
    void Line(HPEN pen, float x1, float y1, float z1, float x2, float y2, float z2)
    {
        if (pen)
            SelectObject(dc, pen);
        DrawWorldLine(dc, x1, y1, z1, x2, y2, z2, 0);
    }

    UnitGridSnap snap;
    HDC dc = nullptr;
    HPEN widePen = nullptr;
    HPEN thinPen = nullptr;
    HPEN dottedPen = nullptr;
    HGDIOBJ previousPen = nullptr;
    int previousMode = R2_COPYPEN;
};

// In the side views a placed opening follows the pointer along the view's axis: the
// point is where the wall line crosses a line through the pointer.
void FollowSideView(const PlanVertex* start, const PlanVertex* end, float* x, float* z)
{
    const int view = GetCameraPresetCommand();
    const float sx = start->position[0], sz = start->position[2];
    const float ex = end->position[0], ez = end->position[2];
    float ix = *x, iz = *z;
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

// The opening's ends for the pointer at (x, z): the drag rule, and for an opening too
// wide to keep 5.0 inside the span, a place that keeps both ends on the section.
void PlaceOnSection(const PlanVertex* start, const PlanVertex* end, float width, float low,
                    float high, float x, float z, float* first, float* second, uint8_t resizeFirst,
                    uint8_t resizeSecond)
{
    ComputeOpeningPositions(start, end, width, low, high, x, z, first, second, resizeSecond,
                            resizeFirst);
    if (resizeFirst || resizeSecond || width <= high - low - 2.0f * kSpanClearance)
        return;
    const float sx = start->position[0], sz = start->position[2];
    float length = 0.0f;
    const float angle = AngleBetweenPoints(sx, sz, end->position[0], end->position[2], &length);
    float along = Distance2D(sx, sz, x, z) - width / 2.0f;
    const float most = high - width > low ? high - width : low;
    if (along > most)
        along = most;
    if (along < low)
        along = low;
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angle, along, &dx, &dz);
    first[0] = sx + dx;
    first[1] = sz + dz;
    OffsetPointPolar(angle, along + width, &dx, &dz);
    second[0] = sx + dx;
    second[1] = sz + dz;
}

}  // namespace

UnitGridSnap::UnitGridSnap(PlanSettings* settings)
    : settings_(settings), snapX_(settings->snapStepX), snapY_(settings->snapStepY)
{
    settings->snapStepX = 1.0f;
    settings->snapStepY = 1.0f;
}

UnitGridSnap::~UnitGridSnap()
{
    settings_->snapStepX = snapX_;
    settings_->snapStepY = snapY_;
}

void MapSectionPointer(int32_t x, int32_t y, float* pointX, float* pointZ)
{
    float height = 0.0f;
    MapPlanPointToModel(x, y, pointX, &height, pointZ, 1, &planMouseState, 1);
    *pointX = Whole(*pointX);
    *pointZ = Whole(*pointZ);
}

float GetWallSectionSpan(float, float, const PlanVertex* segmentStart,
                         const PlanVertex* segmentEnd, float* low, float* high)
{
    float length = 0.0f;
    if (segmentStart && segmentEnd)
        length = Distance2D(segmentStart->position[0], segmentStart->position[2],
                            segmentEnd->position[0], segmentEnd->position[2]);
    if (low)
        *low = kSegmentMargin;
    if (high)
        *high = length - kSegmentMargin;
    return length - 2.0f * kSegmentMargin;
}

bool DrawOpeningPreviewXor(PlanObject* wall, PlanVertex* segmentStart, PlanVertex* segmentEnd,
                           const float* parameters, float, float low, float high, float pointerX,
                           float pointerZ, float* firstEnd, float* secondEnd, uint8_t resizeFirst,
                           uint8_t resizeSecond, uint16_t typeCode, OpeningRecord* existing,
                           PlanObject* existingObject, uint8_t)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || !wall || !segmentStart || !segmentEnd || !parameters || !firstEnd || !secondEnd)
        return false;
    const float width = parameters[0];
    const PlanFloor* floor = activeDocument->currentFloor;
    const float storey = UnitsToPlanLength(floor ? floor->height : kDefaultFloorHeight, settings, 0);
    const float base = segmentStart->position[1];
    // A placed opening keeps the pointer's offset from its centre.
    const float sx = segmentStart->position[0], sz = segmentStart->position[2];
    float length = 0.0f;
    const float angle =
        AngleBetweenPoints(sx, sz, segmentEnd->position[0], segmentEnd->position[2], &length);
    // A grabbed end follows the pointer itself: the offset from the centre would put it
    // half a width beyond.
    const float offset = existing && !resizeFirst && !resizeSecond
                             ? Distance2D(sx, sz, pointerX, pointerZ) - existing->distanceFromStart
                             : 0.0f;
    auto place = [&](float x, float z) {
        if (existing) {
            FollowSideView(segmentStart, segmentEnd, &x, &z);
            float dx = 0.0f, dz = 0.0f;
            OffsetPointPolar(angle, Distance2D(sx, sz, x, z) - offset, &dx, &dz);
            x = sx + dx;
            z = sz + dz;
        }
        PlaceOnSection(segmentStart, segmentEnd, width, low, high, x, z, firstEnd, secondEnd,
                       resizeFirst, resizeSecond);
    };

    SectionDrag drag(settings);
    drag.wall = wall;
    drag.start = segmentStart;
    drag.end = segmentEnd;
    drag.moving = existingObject;
    place(pointerX, pointerZ);
    drag.Draw(firstEnd, secondEnd, base, storey, typeCode);
    bool moved = false;
    float lastX = Whole(pointerX);
    float lastZ = Whole(pointerZ);
    while (IsMouseButtonDown()) {
        const POINT cursor = GetCursorLogicalPos();
        float x = 0.0f, z = 0.0f;
        MapSectionPointer(cursor.x, cursor.y, &x, &z);
        if (x == lastX && z == lastZ)
            continue;
        lastX = x;
        lastZ = z;
        drag.Draw(firstEnd, secondEnd, base, storey, typeCode);
        place(x, z);
        drag.Draw(firstEnd, secondEnd, base, storey, typeCode);
        moved = true;
    }
    drag.Draw(firstEnd, secondEnd, base, storey, typeCode);
    return moved;
}

namespace {

const uint16_t kDoorTypeCode = 16;
const uint16_t kGarageDoor = 503;
const uint16_t kSwingSense = 4;
const float kSpanAllowance = 11.0f;
const double kDegreesPerRadian = 57.29577951308232;

const char kDoorNoSectionTop[] = "Cliccare e trascinare su una sezione di muro per inserire questa porta.";
const char kDoorNoSectionSide[] = "Please click-and-drag on the bottom base of a wall section to place the door.";
const char kDoorSpanTooShort[] =
    "La sezione del muro non è abbastanza ampia per questa porta. Cliccare e trascinare su una "
    "sezione più ampia per inserire questa porta.";

bool IsHingedDoor(uint16_t style)
{
    return style == 501 || (style >= 506 && style <= 509);
}


float Direction(float ax, float az, float bx, float bz)
{
    float unused = 0.0f;
    return AngleBetweenPoints(ax, az, bx, bz, &unused);
}

}  // namespace

bool PressOnWallSection(const PlanMouseState* hit)
{
    return hit && hit->hit && hit->object && hit->segmentHit && hit->vertexA && hit->vertexB;
}

void ShowOpeningNotice(const char* text)
{
    ShowMessageBox(frameWindow, text, applicationTitle, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

PlanObject* PlaceOpeningOnSection(uint16_t type, const PlanMouseState* hit, const float* parameters,
                                  const ColourTriple& colourA, uint32_t texture, const char* tooShort,
                                  OpeningRecord** recordOut)
{
    const float width = parameters[0];
    const float usable = GetWallSectionSpan(0.0f, 0.0f, hit->vertexA, hit->vertexB, nullptr, nullptr);
    // A width from a settings file that is no positive length never fits.
    if (!std::isfinite(width) || !(width > 0.0f) || usable - kSpanAllowance < width) {
        ShowOpeningNotice(tooShort);
        return nullptr;
    }
    const float pointerX = parameters[3], pointerZ = parameters[4];
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document->settings;
    PlanObject* wall = hit->object;
    PlanVertex* start = hit->vertexA;
    PlanVertex* end = hit->vertexB;
    float low = 0.0f, high = 0.0f;
    const float span = GetWallSectionSpan(pointerX, pointerZ, start, end, &low, &high);
    float first[2] = {0.0f, 0.0f}, second[2] = {0.0f, 0.0f};
    DrawOpeningPreviewXor(wall, start, end, parameters, span, low, high, pointerX, pointerZ, first,
                          second, 0, 0, type, nullptr, nullptr, 1);
    PlanObject* opening = CreateObject(type, 0, 1, &colourA, &settings->newObjectColour, 1.0f, 6, 0,
                                       nullptr, nullptr, nullptr, nullptr, document->currentFloor, nullptr);
    OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
    if (!opening || !record) {
        FreeObject(opening);
        ReleaseRecord(record);
        return nullptr;
    }
    opening->colourB = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
    opening->category = kCategoryFloorPlan;
    opening->styleOrTexture = texture;
    opening->rows = 1;
    for (const float* end2 : {first, second}) {
        PlanVertex* v = NewVertexNode(1, 1, 0, 0.0f, 0.0f, 0.0f, end2[0], 0.0f, end2[1], 0.0f, 0.0f,
                                      0.0f, 0.0f, 0.0f, 0.0f, opening);
        if (v)
            AddObjectPoint(v, opening);
    }
    opening->vertexCount = static_cast<uint32_t>(CountVertexChain(opening));
    UpdateObjectExtents(opening);
    opening->owner = wall;
    opening->floor = wall->floor;
    AppendToObjectList(&wall->firstChild, opening);
    SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 1);
    SelectObjectAndDrawHandles(opening, kSelectSelect, 1);
    InvalidatePlanView();

    const float length = Distance2D(start->position[0], start->position[2], end->position[0], end->position[2]);
    record->typeCopy = type;
    record->startVertex = start;
    record->endVertex = end;
    record->distanceFromStart =
        Distance2D(start->position[0], start->position[2], first[0], first[1]) + parameters[0] / 2.0f;
    record->distanceToEnd = length - record->distanceFromStart;
    record->width = parameters[0];
    record->height = parameters[1];
    opening->link = record;
    *recordOut = record;
    return opening;
}

void PlaceDoorOnWall(int16_t event, const PlanMouseState* hit, uint16_t, const float* parameters)
{
    PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    if (event != kToolPress || !settings)
        return;
    const bool topView = GetCameraPresetCommand() == ViewTop;
    if (!PressOnWallSection(hit) || hit->object->type != ObjWall) {
        ShowOpeningNotice(topView ? kDoorNoSectionTop : kDoorNoSectionSide);
        return;
    }
    if (settings->viewPlane != 2)
        return;
    OpeningRecord* record = nullptr;
    PlanObject* wall = hit->object;
    PlanObject* door = PlaceOpeningOnSection(kDoorTypeCode, hit, parameters, settings->doorColour, doorTexture,
                                             kDoorSpanTooShort, &record);
    if (!door)
        return;
    record->style = settings->doorStyle;
    record->elevation = 0.0f;
    record->glazingBarsAcross = 1;
    record->glazingBarsDown = 0;
    record->casingWidth = settings->doorCasingWidth;
    if (record->style == kGarageDoor && CountVertexChain(wall) > 2)
        record->hingeSide = GetPolygonWinding(wall) >= 1 ? 1 : 0;
    BuildOpeningModel(door);
    if (IsHingedDoor(record->style)) {
        TrackDoorSwing(door);
        FitWallOpenings(wall);
    }
    RebuildObject3D(wall);
    InvalidatePlanView();
}

void TrackDoorSwing(PlanObject* door)
{
    PlanVertex* s = door ? door->firstVertex : nullptr;
    PlanVertex* e = s ? s->next : nullptr;
    OpeningRecord* record = door ? static_cast<OpeningRecord*>(door->link) : nullptr;
    if (!s || !e || !record || !activePlanPane)
        return;
    SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    const uint16_t savedModifiers = planMouseState.modifiers;
    // Sense 0 to begin with: the preview runs clockwise.
    planMouseState.modifiers &= static_cast<uint16_t>(~kModifierShift);
    struct Arc {
        float hinge[2], other[2], pointer[2], start, radius;
    } arc = {};
    bool shown = false;
    uint8_t hingeSide = 0;
    uint16_t sense = 0;
    float sweep = 0.0f;
    float last[2] = {1.0e9f, 1.0e9f};
    auto draw = [&]() {
        return DrawArcPreviewXor(arc.hinge[0], arc.hinge[1], arc.other[0], arc.other[1], arc.pointer[0],
                                 arc.pointer[1], arc.start, arc.radius);
    };
    auto senseOf = [](float degrees) -> uint16_t {
        return ((degrees > -360.0f && degrees < -180.0f) || (degrees >= 0.0f && degrees <= 180.0f)) ? kSwingSense : 0;
    };
    // A press on the pane sets the swing where it was made; one elsewhere leaves it as it
    // stands.
    for (bool placed = false; !placed;) {
        POINT cursor = {LONG_MIN, LONG_MIN};
        placed = PeekPlacingPress(activePlanPane, &cursor);
        // A press elsewhere before the pointer was ever read (a loop a busy machine started
        // late) takes the swing where the pointer went, as a quiet machine's loop would.
        if (placed && cursor.x == LONG_MIN && shown)
            break;
        if (cursor.x == LONG_MIN)
            cursor = GetCursorLogicalPos();
        float x = 0.0f, y = 0.0f, z = 0.0f;
        MapPlanPointToModel(cursor.x, cursor.y, &x, &y, &z, 1, nullptr, 1);
        x = Whole(x);
        z = Whole(z);
        if (x == last[0] && z == last[1])
            continue;
        last[0] = x;
        last[1] = z;
        if (shown)
            draw();
        // The hinge is the end nearer the pointer.
        const bool atStart = Distance2D(x, z, s->position[0], s->position[2]) <
                             Distance2D(x, z, e->position[0], e->position[2]);
        const PlanVertex* hinge = atStart ? s : e;
        const PlanVertex* other = atStart ? e : s;
        hingeSide = atStart ? 1 : 0;
        arc = {{hinge->position[0], hinge->position[2]}, {other->position[0], other->position[2]}, {x, z},
               Direction(hinge->position[0], hinge->position[2], other->position[0], other->position[2]),
               Distance2D(hinge->position[0], hinge->position[2], other->position[0], other->position[2])};
        sweep = draw();
        shown = true;
        const uint16_t newSense = senseOf(sweep);
        if (newSense != sense) {
            // The preview's direction follows the sense, as the swing will.
            draw();
            sense = newSense;
            planMouseState.modifiers = static_cast<uint16_t>((planMouseState.modifiers & ~kModifierShift) |
                                                             (sense ? kModifierShift : 0));
            sweep = draw();
        }
        POINT client = cursor;
        HDC dc = GetDC(activePlanPane);
        if (dc) {
            LPtoDP(dc, &client, 1);
            ReleaseDC(activePlanPane, dc);
        }
        PostMessageA(activePlanPane, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    }
    if (shown)
        draw();
    const int32_t degrees = static_cast<int32_t>(sweep);
    if (shown && (degrees < -2 || degrees > 2) && degrees >= -179 && degrees <= 180) {
        record->hingeSide = hingeSide;
        record->flags = sense;
        record->swingAngle = Direction(arc.hinge[0], arc.hinge[1], arc.pointer[0], arc.pointer[1]) - arc.start;
    }
    planMouseState.modifiers = savedModifiers;
}

void HandleDoorTool(float x, float, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document ? document->settings : nullptr;
    if (!settings || !document->currentFloor)
        return;
    const float parameters[5] = {UnitsToPlanLength(settings->doorWidth, settings, 0),
                                 UnitsToPlanLength(settings->doorHeight, settings, 0), 0.0f, x, z};
    const PlanMouseState hit = planMouseState;
    PlaceDoorOnWall(event, &hit, hit.modifiers, parameters);
    ReleaseToolCapture();
}
