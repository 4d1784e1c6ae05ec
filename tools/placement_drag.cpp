#include "tools/placement_drag.h"
#include <cmath>
#include "model/object_copies.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "planview/dimension_lines.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "shell/measurement_bar.h"
#include "tools/cad_builders.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

const double kDegreesPerRadian = 57.29577951308232;
const double kRadiansPerDegree = 0.017453292519943295;
const float kLiveDimensionOffset = 10.0f;
const float kSameCornerDistance = 20.0f;
const float kFirstCornerReach = 10.0f;
const int kShiftKeyCode = 16;
const int kEscapeKeyCode = 27;

struct Point {
    float x, y, z;
};

int32_t Rounded(float value)
{
    return static_cast<int32_t>(std::trunc(value + 0.5f));
}

// The pane's DC with an inverting red pen for the rubber band (wider for exterior
// walls), given back at the end of every call.
class PlacementPen {
public:
    explicit PlacementPen(int16_t previewType)
    {
        dc = activePlanPane ? GetDC(activePlanPane) : nullptr;
        if (!dc)
            return;
        pen = CreatePen(PS_SOLID, previewType == kExteriorWallPreviewType ? 2 : 0, RGB(255, 0, 0));
        if (pen)
            previousPen = SelectObject(dc, pen);
        previousMode = SetROP2(dc, R2_NOTXORPEN);
    }
    ~PlacementPen()
    {
        if (!dc)
            return;
        Lend();
        if (pen)
            DeleteObject(pen);
        ReleaseDC(activePlanPane, dc);
    }
    // The class owns its DC: a paint of the pane meanwhile must find it as it was
    // before the gesture, and the gesture takes it back afterwards.
    void Lend()
    {
        SetROP2(dc, previousMode);
        if (previousPen)
            SelectObject(dc, previousPen);
    }
    void TakeBack()
    {
        if (pen)
            SelectObject(dc, pen);
        SetROP2(dc, R2_NOTXORPEN);
    }
    HDC dc = nullptr;

private:
    HPEN pen = nullptr;
    HGDIOBJ previousPen = nullptr;
    int previousMode = R2_COPYPEN;
};

// What a reported click or key does to the gesture.
enum class Outcome { GoOn, Finish, Cancel };

class PlacementGesture {
public:
    PlacementGesture(PlacementPen& pen, PlanDocument* document, uint8_t smooth, uint8_t closed,
                     uint8_t constrainByDefault, int16_t previewType)
        : pen(pen), dc(pen.dc), document(document), settings(document->settings), smooth(smooth),
          closed(closed), constrain(constrainByDefault), previewType(previewType)
    {
    }
    PlanObject* Run(const float* firstCorner, POINT release);
    // Ended by a press elsewhere, which is left queued for its own work.
    bool endedElsewhere = false;

private:
    void TrackPointer(POINT cursor);
    Outcome TakeMessage(const MSG& message);
    Outcome LeaveForElsewhere();
    void Repaint(MSG& paint);
    void Scroll(const MSG& press);
    void DrawShown();
    void DrawRubber(const Point& from, const Point& to);
    void DrawDimensions(const Point& point);
    void DrawOutline();
    bool Oblique(const Point& point) const;

    PlacementPen& pen;
    HDC dc;
    PlanDocument* document;
    PlanSettings* settings;
    uint8_t smooth, closed, constrain;
    int16_t previewType;
    PlanObject* outline = nullptr;
    Point first{}, last{}, beforeLast{}, pointer{};
    POINT previousCursor{};
    bool firstIteration = true;
};

void PlacementGesture::DrawRubber(const Point& from, const Point& to)
{
    if (dc)
        DrawWorldLine(dc, from.x, from.y, from.z, to.x, to.y, to.z, 0);
}

bool PlacementGesture::Oblique(const Point& point) const
{
    return Rounded(point.x) != Rounded(last.x) && Rounded(point.z) != Rounded(last.z);
}

// The segment's own dimension and, for an oblique segment, its two legs; a second
// drawing erases them.
void PlacementGesture::DrawDimensions(const Point& point)
{
    if (!dc)
        return;
    halfInchToggle = 1;
    DrawDimensionLine(dc, last.x, last.z, point.x, point.z, last.x, last.z, point.x, point.z, 1,
                      kLiveDimensionOffset, 1, nullptr, nullptr, 0, 0, kLiveDimensionOffset, 0, nullptr);
    if (!Oblique(point))
        return;
    halfInchToggle = 1;
    DrawDimensionLine(dc, last.x, last.z, point.x, last.z, last.x, last.z, point.x, last.z, 0,
                      kLiveDimensionOffset, 1, nullptr, nullptr, 0, 0, kLiveDimensionOffset, 0, nullptr);
    halfInchToggle = 1;
    DrawDimensionLine(dc, last.x, last.z, last.x, point.z, last.x, last.z, last.x, point.z, 0,
                      kLiveDimensionOffset, 1, nullptr, nullptr, 0, 0, kLiveDimensionOffset, 0, nullptr);
}

// The outline as the finished object will look, drawn inverting.
void PlacementGesture::DrawOutline()
{
    if (!dc || !activePlanPane)
        return;
    RECT client;
    GetClientRect(activePlanPane, &client);
    const uint16_t type = outline->type;
    outline->type = static_cast<uint16_t>(previewType);
    DrawPlanObject(dc, outline, &client, DrawAllObjects | DrawXorPreview, nullptr);
    outline->type = type;
}

void PlacementGesture::TrackPointer(POINT cursor)
{
    RecordShiftKey();
    float p[3] = {0.0f, 0.0f, 0.0f};
    MapPlanPointToModel(cursor.x, cursor.y, &p[0], &p[1], &p[2], 1, nullptr, 1);
    ClampPlanPoint(p, p);
    Point point = {p[0], p[1], p[2]};
    if (ShiftHeld() != (constrain != 0)) {
        // Directions in steps of 15 degrees from the last corner.
        float distance = 0.0f;
        const float angle = AngleBetweenPoints(last.x, last.z, point.x, point.z, &distance);
        const int32_t steps = static_cast<int32_t>(angle * kDegreesPerRadian / 15.0 + 0.5);
        float dx = 0.0f, dz = 0.0f;
        OffsetPointPolar(static_cast<float>(steps * 15.0 * kRadiansPerDegree), distance, &dx, &dz);
        point.x = last.x + dx;
        point.z = last.z + dz;
    }
    DrawRubber(last, pointer);
    DrawRubber(last, point);
    ShowLengthReadout(PlanLengthToUnits(Distance2D(last.x, last.z, point.x, point.z), settings, 0));
    if (firstIteration)
        firstIteration = false;
    else
        DrawDimensions(pointer);
    DrawDimensions(point);
    pointer = point;
    previousCursor = cursor;
}

Outcome PlacementGesture::TakeMessage(const MSG& message)
{
    if (message.message == WM_KEYDOWN && message.wParam == kShiftKeyCode)
        return Outcome::GoOn;
    if (smooth)
        DrawDimensions(pointer);
    firstIteration = true;
    beforeLast = last;
    last = pointer;
    DrawRubber(beforeLast, last);

    const int32_t points = CountVertexChain(outline);
    if (message.message != WM_LBUTTONDOWN && points > 1) {
        outline->type = closed ? 8 : 9;
        outline->closed = closed ? 1 : 0;
        return Outcome::Finish;
    }
    // Escape before a second corner is the way out even where every click lands on the
    // same corner (a view scrolled off the plan pins every point to one corner).
    if (message.message == WM_KEYDOWN && message.wParam == kEscapeKeyCode)
        return Outcome::Cancel;
    if (std::fabs(last.x - beforeLast.x) < kSameCornerDistance &&
        std::fabs(last.y - beforeLast.y) < kSameCornerDistance &&
        std::fabs(last.z - beforeLast.z) < kSameCornerDistance)
        return Outcome::GoOn;
    if (ZoomFloat(Distance2D(first.x, first.z, last.x, last.z)) >= kFirstCornerReach) {
        if (smooth)
            RecomputeObject(outline);
        DrawOutline();
        BuildCadPolyline(outline, last.x, last.y, last.z, document->currentFloor, kCadAppend, 1);
        if (smooth)
            RecomputeObject(outline);
        DrawOutline();
        ShowLengthReadout(0.0f);
        return Outcome::GoOn;
    }
    // A click on the first corner closes the outline (an open one takes the click too).
    if (!closed)
        BuildCadPolyline(outline, last.x, last.y, last.z, document->currentFloor, kCadAppend, 1);
    outline->type = closed ? 8 : 9;
    outline->closed = closed ? 1 : 0;
    return Outcome::Finish;
}

// A press off the pane ends the outline as it stands, without a corner where the pointer
// was: kept from two corners on, as a finish would keep it.
Outcome PlacementGesture::LeaveForElsewhere()
{
    endedElsewhere = true;
    DrawRubber(last, pointer);
    if (CountVertexChain(outline) < 2)
        return Outcome::Cancel;
    outline->type = closed ? 8 : 9;
    outline->closed = closed ? 1 : 0;
    return Outcome::Finish;
}

// A paint meanwhile (the pane uncovered, for example): the pane is painted as without
// the gesture, the half-made outline left out, and what the gesture shows inverted is
// drawn again where the paint went, so that erasing it later still works. Only paints
// are dispatched: no input, command or menu can start another tool inside this one.
void PlacementGesture::Repaint(MSG& paint)
{
    if (paint.hwnd != activePlanPane || !dc) {
        DispatchMessageA(&paint);
        return;
    }
    HRGN painted = CreateRectRgn(0, 0, 0, 0);
    if (painted)
        GetUpdateRgn(activePlanPane, painted, FALSE);
    PlanFloor* floor = outline->floor;
    UnlinkObject(outline);
    const uint8_t feedback = dragFeedbackActive;
    dragFeedbackActive = 0;
    pen.Lend();
    DispatchMessageA(&paint);
    pen.TakeBack();
    dragFeedbackActive = feedback;
    AttachObjectToFloor(outline, floor);
    if (!painted)
        return;
    SelectClipRgn(dc, painted);
    DrawOutline();
    DrawRubber(last, pointer);
    if (!firstIteration)
        DrawDimensions(pointer);
    SelectClipRgn(dc, nullptr);
    DeleteObject(painted);
}

// What the gesture shows inverted: drawn again, it is gone.
void PlacementGesture::DrawShown()
{
    DrawOutline();
    DrawRubber(last, pointer);
    if (!firstIteration)
        DrawDimensions(pointer);
}

// A press on the plan's scroll bar scrolls the plan with the gesture going on, its
// corners kept: what the gesture shows is taken off, the pane painted at its new origin
// without the half-made outline, and all of it drawn again there.
void PlacementGesture::Scroll(const MSG& press)
{
    DrawShown();
    PlanFloor* floor = outline->floor;
    UnlinkObject(outline);
    const uint8_t feedback = dragFeedbackActive;
    dragFeedbackActive = 0;
    pen.Lend();
    DispatchLoopPress(activePlanPane, press);
    pen.TakeBack();
    dragFeedbackActive = feedback;
    AttachObjectToFloor(outline, floor);
    DrawShown();
}

PlanObject* PlacementGesture::Run(const float* firstCorner, POINT release)
{
    first = {firstCorner[0], firstCorner[1], firstCorner[2]};
    outline = BuildCadPolyline(nullptr, first.x, first.y, first.z, document->currentFloor, kCadStart, 1);
    if (!outline)
        return nullptr;
    last = first;
    pointer = first;
    beforeLast = first;
    firstIteration = true;
    previousCursor = release;
    Outcome outcome = Outcome::GoOn;
    while (outcome == Outcome::GoOn) {
        MSG message = {};
        const LoopClick click = PeekLoopClickOrKey(activePlanPane, &message);
        if (click == LoopClick::ScrollBar) {
            Scroll(message);
            continue;
        }
        if (click != LoopClick::None) {
            // A corner is put where its press was made.
            POINT at;
            if (click == LoopClick::Here && LoopClickPoint(activePlanPane, message, &at) &&
                (at.x != previousCursor.x || at.y != previousCursor.y))
                TrackPointer(at);
            outcome = click == LoopClick::Here ? TakeMessage(message) : LeaveForElsewhere();
            continue;
        }
        if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            Repaint(message);
            continue;
        }
        POINT cursor = GetCursorLogicalPos();
        if (cursor.x == previousCursor.x && cursor.y == previousCursor.y && !ShiftKeyToggled())
            continue;
        TrackPointer(cursor);
    }
    if (outcome == Outcome::Cancel) {
        // Nothing is made; the dimensions a click left are cleared by the repaint.
        UnlinkObject(outline);
        FreeObject(outline);
        InvalidatePlanView();
        return nullptr;
    }
    BuildCadPolyline(outline, 0.0f, 0.0f, 0.0f, document->currentFloor, kCadFinish, 1);
    outline->vertexCount = static_cast<uint32_t>(CountVertexChain(outline));
    if (smooth)
        RecomputeObject(outline);
    outline->colourA = settings->wallColour;
    pendingObject = outline;
    undoAvailable = 1;
    InvalidatePlanView();
    UpdateObjectExtents(outline);
    return outline;
}


}  // namespace

PlanObject* TrackPlacementDrag(int32_t windowX, int32_t windowY, float, float, float, int16_t event, uint8_t smooth,
                               uint8_t closed, uint8_t constrainByDefault, int16_t previewType)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return nullptr;
    PlacementPen pen(previewType);
    dragFeedbackActive = 1;
    if (event != kToolRelease)
        return nullptr;
    PlanObject* outline = nullptr;
    bool elsewhere = false;
    if (document->currentFloor) {
        PlacementGesture gesture(pen, document, smooth, closed, constrainByDefault, previewType);
        outline = gesture.Run(planMouseState.dragEnd, POINT{windowX, windowY});
        elsewhere = gesture.endedElsewhere;
    }
    // No double click ended it there: the press must reach its window.
    if (!elsewhere)
        SwallowInputForDoubleClickTime();
    dragFeedbackActive = 0;
    ReleaseToolCapture();
    ShowLengthReadout(0.0f);
    return outline;
}
