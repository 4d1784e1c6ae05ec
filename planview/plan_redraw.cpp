#include "planview/plan_redraw.h"
#include "planview/dimension_lines.h"
#include "planview/fixture_symbols.h"
#include "planview/input_gdi.h"
#include "planview/labels_and_fills.h"
#include "planview/measuring_line.h"
#include "planview/metafile_bounds.h"
#include "planview/opening_symbols.h"
#include "planview/output_routing.h"
#include "planview/roof_outlines.h"
#include "planview/run_fonts.h"
#include "planview/segment_dimensions.h"
#include "planview/selection.h"
#include "model/hermite.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "model3d/direction_arrow.h"
#include "shell/camera_presets.h"
#include "shell/status_bar.h"
#include "tools/text_editing.h"
#include "tools/tool_state.h"
#include <cmath>
#include <cstring>
#include <unordered_map>

uint8_t planViewInvalid = 0;

static const char kRedrawPrompt[] = "Premi Esc per annullare l'operazione di ridisegno";

// Object types named by the redraw.
enum : uint16_t {
    kTypeDrawnLine = 21,
    kTypeStairPart = 43,
    kTypeWallPreview = 54,
    kTypeTextTool = 203,
};
enum : uint32_t {
    kExteriorWallGroup = 54,
    kStraightStair = 800,
    kCurvedStair = 801,
    kDottedDrawing = 112,
};
constexpr int16_t kInteriorWallTool = 7051;
constexpr uint32_t kFoundationCategory = 1;
// A screen redraw reads Esc at least this often.
constexpr uint32_t kEscapePollObjects = 64;
constexpr DWORD kEscapePollMilliseconds = 2;

static COLORREF ToColorRef(const ColourTriple& c)
{
    return RGB(c.red / 257, c.green / 257, c.blue / 257);
}

// +0.5 and truncation toward zero, held within int range (NaN gives 0).
static int32_t RoundToInt(float v)
{
    if (!(v == v))
        return 0;
    double r = static_cast<double>(v) + 0.5;
    if (r > 1073741823.0)
        return 1073741823;
    if (r < -1073741823.0)
        return -1073741823;
    return static_cast<int32_t>(r);
}

static PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// ---------------------------------------------------------------------------------
// Filters

bool IsObjectInViewFilter(const PlanObject* object, uint32_t mask)
{
    if (!object)
        return false;
    // Walls and their openings belong to every building layer.
    if ((object->type == ObjWall || object->type == ObjDoor || object->type == ObjWindow) &&
        (mask & (2u | 4u | 8u | 32u)))
        return true;
    return (object->category & mask) != 0;
}

bool PassesDrawFlags(const PlanObject* object, uint32_t flags)
{
    if (!object)
        return false;
    if (flags & DrawAllObjects)
        return true;
    return (flags & DrawSelectedOnly) && IsAnyPointSelected(object);
}

void InvalidatePlanView()
{
    if (!activePlanPane)
        return;
    InvalidateRect(activePlanPane, nullptr, FALSE);
    planViewInvalid = 1;
}

// ---------------------------------------------------------------------------------
// What each object draws on a printed page

namespace {

// One object of a floor as a print draws it (its generated companions, itself, its
// children): where on the device grid it draws, and what it does to the alternation of
// exact half inches, which the labels of later objects read.
struct PrintedObject {
    bool draws;                 // it puts anything on paper
    RECT box;                   // where, grown by the margin
    uint8_t toggleAfter[2];     // halfInchToggle after it, when it was 0 and when 1
};

std::unordered_map<const PlanObject*, PrintedObject> printedObjects;
bool printedObjectsMeasured = false;

// halfInchToggle is read as 1 or anything else: a third value shows whether an object
// read or set it at all, and reads as 0 does.
constexpr uint8_t kToggleUntouched = 2;

} // namespace

bool ObjectTouchesRect(const PlanObject* object, const RECT* rect)
{
    if (!object)
        return false;
    if (planOutputMode == 1) {
        if (!printedObjectsMeasured || !rect)
            return true;
        auto found = printedObjects.find(object);
        if (found == printedObjects.end())
            return true;
        RECT common;
        return found->second.draws && IntersectRect(&common, &found->second.box, rect) != 0;
    }
    if ((object->type >= 100 && object->type <= 107) || !rect)
        return true;
    float box[4] = {object->box2D[0], object->box2D[1], object->box2D[2], object->box2D[3]};
    ZoomFloatRect(box);
    RECT extent;
    extent.top = RoundToInt(box[0]) - 1;
    extent.left = RoundToInt(box[1]) - 1;
    extent.bottom = RoundToInt(box[2]) + 1;
    extent.right = RoundToInt(box[3]) + 1;
    RECT common;
    return IntersectRect(&common, &extent, rect) != 0;
}

// ---------------------------------------------------------------------------------
// Segments

// One chord to its output: printed on planDC while printing, else through the screen
// or export road of DrawWorldLine.
static void EmitChord(HDC dc, const float* p, const float* q)
{
    if (planOutputMode == 1)
        PrintWorldLine(p[0], p[1], p[2], q[0], q[1], q[2]);
    else
        DrawWorldLine(dc, p[0], p[1], p[2], q[0], q[1], q[2], 0);
}

// The stair's arrow at the end point of a run: the chord projected, the strokes at
// its end pointing back along it.
static void MarkRunEnd(HDC dc, PlanObject* object, const float* from, const float* to)
{
    float x1 = from[0], y1 = from[1], z1 = from[2];
    float x2 = to[0], y2 = to[1], z2 = to[2];
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
    DrawDirectionArrow(planOutputMode == 1 ? planDC : dc, object, x2, y2, x1, y1);
}

static bool IsZeroTangentPair(const float* t0, const float* t1)
{
    return t0[0] == 0.0f && t0[1] == 0.0f && t0[2] == 0.0f && t1[0] == 0.0f && t1[1] == 0.0f &&
           t1[2] == 0.0f;
}

// A straight segment, or the Hermite curve from p0 (tangent t0) to p1 (tangent t1) as
// chords of the settings' curve steps (half of them during an interactive redraw).
static void DrawHermiteSegment(HDC dc, PlanObject* object, const float* p0, const float* t0,
                               const float* p1, const float* t1, bool stairArrows)
{
    bool straightStair = stairArrows && object && object->type == ObjStair &&
                         object->subType == kStraightStair;
    bool curvedStair = stairArrows && object && object->type == ObjStair &&
                       object->subType == kCurvedStair;
    if (IsZeroTangentPair(t0, t1)) {
        EmitChord(dc, p0, p1);
        if (straightStair)
            MarkRunEnd(dc, object, p0, p1);
        return;
    }
    PlanSettings* settings = ActiveSettings();
    float steps = static_cast<float>(UsableCurveSteps(settings));
    if (interactiveRedraw)
        steps = std::floor(steps / 2.0f);
    // Zero steps would leave the curve undrawn: a curve always gets one chord at least.
    if (steps < 1.0f)
        steps = 1.0f;
    float coefficients[3][4];
    ComputeSegmentCoefficients(p0, t0, p1, t1, coefficients);
    const float increment = 1.0f / steps;
    float previous[3] = {0.0f, 0.0f, 0.0f};
    for (float t = 0.0f; t <= 1.01f; t += increment) {
        float point[3];
        EvaluateSegmentCoefficients(coefficients, t, point);
        if (t > 0.0f) {
            EmitChord(dc, previous, point);
            if (curvedStair && t + increment > 1.01f)
                MarkRunEnd(dc, object, previous, point);
        }
        previous[0] = point[0];
        previous[1] = point[1];
        previous[2] = point[2];
    }
}

// The preview transforms move the copies only; texts are never stretched or turned.
static void ApplyPreviewToCopy(const PlanObject* object, PlanVertex* vertex, uint32_t flags,
                               const DragTransform* preview)
{
    bool text = object && (object->type == ObjTextFrame || object->type == ObjDimensionLabel);
    if (flags & DrawPreviewMove)
        MoveVertexByDrag(vertex, flags, preview);
    else if (flags & DrawPreviewScale)
        ScaleVertexByDrag(vertex, flags, preview);
    else if (flags & DrawPreviewStretch) {
        if (!text)
            StretchVertexByDrag(vertex, flags, preview);
    } else if ((flags & DrawPreviewRotate) && !text)
        RotateVertexByDrag(vertex, flags, preview);
}

static void ApplyPreviewToCopies(const PlanObject* object, PlanVertex* a, PlanVertex* b,
                                 uint32_t flags, const DragTransform* preview)
{
    if (!preview)
        return;
    ApplyPreviewToCopy(object, a, flags, preview);
    ApplyPreviewToCopy(object, b, flags, preview);
}

void DrawObjectSegment(HDC dc, PlanObject* object, const PlanVertex* a, const PlanVertex* b,
                       uint32_t flags, const DragTransform* preview)
{
    PlanSettings* settings = ActiveSettings();
    if (!a || !b || !settings)
        return;
    PlanVertex copyA = *a;
    PlanVertex copyB = *b;

    // A gate of a picket fence starts at a vertex of kind 6 and gets a heavy pen.
    HPEN gatePen = nullptr;
    HGDIOBJ previousPen = nullptr;
    HDC penDC = (planOutputMode == 1 && planDC) ? planDC : dc;
    if (object && object->type == ObjPicketFence && a->kind == 6 && penDC) {
        bool black = planOutputMode == 1 || (flags & (DrawXorPreview | DrawRed));
        gatePen = CreatePen(PS_SOLID, 3, black ? RGB(0, 0, 0) : ToColorRef(settings->foregroundColour));
        if (gatePen)
            previousPen = SelectObject(penDC, gatePen);
    }

    ApplyPreviewToCopies(object, &copyA, &copyB, flags, preview);
    DrawHermiteSegment(dc, object, copyA.position, copyA.outTangent, copyB.position,
                       copyB.inTangent, true);

    if (gatePen) {
        if (previousPen)
            SelectObject(penDC, previousPen);
        DeleteObject(gatePen);
    }
}

void DrawMeshCrossSegment(HDC dc, PlanObject* object, const PlanVertex* a, const PlanVertex* b,
                          uint32_t flags, const DragTransform* preview)
{
    if (!a || !b || !ActiveSettings())
        return;
    PlanVertex copyA = *a;
    PlanVertex copyB = *b;
    ApplyPreviewToCopies(object, &copyA, &copyB, flags, preview);
    // Across the rows the curve follows the cross tangents (the vertices' extra vectors).
    DrawHermiteSegment(dc, object, copyA.position, copyA.extra, copyB.position, copyB.extra, false);
}

// ---------------------------------------------------------------------------------
// Outlines

static PlanVertex* VertexAt(PlanVertex* first, uint32_t index)
{
    PlanVertex* v = first;
    for (uint32_t i = 0; v && i < index; ++i)
        v = v->next;
    return v;
}

static void DrawOutline(HDC dc, PlanObject* object, const RECT*, uint32_t flags,
                        const DragTransform* preview)
{
    PlanVertex* first = object->firstVertex;
    if (!first)
        return;
    if (object->type == ObjFooting) {
        // A footing is two polylines in one chain: the segment that leaves the middle
        // vertex joins them only in the chain.
        uint32_t n = 0;
        for (PlanVertex* v = first; v; v = v->next)
            ++n;
        uint32_t gap = n / 2;   // counting from 1
        uint32_t index = 1;
        for (PlanVertex* v = first; v && v->next; v = v->next, ++index)
            if (index != gap)
                DrawObjectSegment(dc, object, v, v->next, flags, preview);
        return;
    }
    PlanVertex* last = first;
    for (; last->next; last = last->next)
        DrawObjectSegment(dc, object, last, last->next, flags, preview);
    if (object->closed)
        DrawObjectSegment(dc, object, last, first, flags, preview);
}

// Rows of a mesh walked in step by an upper and a lower cursor: the first pass draws
// both rows, later passes only their lower row; the cross segments join each column.
static void DrawMeshOutline(HDC dc, PlanObject* object, uint32_t flags, const DragTransform* preview)
{
    int rows = object->rows;
    uint32_t perRow = rows > 0 ? object->vertexCount / static_cast<uint32_t>(rows) : 0;
    if (perRow < 1)
        return;
    PlanVertex* upper = object->firstVertex;
    PlanVertex* lower = VertexAt(upper, perRow);
    if (!upper || !lower)
        return;
    bool firstPass = true;
    while (upper && lower) {
        PlanVertex* upperStart = upper;
        PlanVertex* lowerStart = lower;
        for (uint32_t column = 1; column < perRow; ++column) {
            // A chain shorter than its count says ends the walk.
            if (!upper->next || !lower->next)
                return;
            if (firstPass)
                DrawObjectSegment(dc, object, upper, upper->next, flags, preview);
            DrawObjectSegment(dc, object, lower, lower->next, flags, preview);
            DrawMeshCrossSegment(dc, object, upper, lower, flags, preview);
            upper = upper->next;
            lower = lower->next;
        }
        if (object->closed) {
            if (firstPass)
                DrawObjectSegment(dc, object, upper, upperStart, flags, preview);
            DrawObjectSegment(dc, object, lower, lowerStart, flags, preview);
        }
        DrawMeshCrossSegment(dc, object, upper, lower, flags, preview);
        upper = upper->next;
        lower = lower->next;
        firstPass = false;
    }
}

// ---------------------------------------------------------------------------------
// Objects

// What DrawPlanObject draws an object with: style, width and colour of its pen.
struct ObjectPen {
    int style;
    int width;
    COLORREF colour;
};

static ObjectPen ChooseObjectPen(HDC dc, const PlanObject* object, uint32_t flags,
                                 const PlanSettings* settings)
{
    if (planOutputMode == 1)
        return {PS_SOLID, 0, RGB(0, 0, 0)};
    if (flags & (DrawXorPreview | DrawRed)) {
        int width = 0;
        if (object->type == ObjWall)
            width = ZoomInt(RoundToInt(UnitsToPlanLength(object->size, settings, 0)));
        else if (object->type == kTypeWallPreview)
            width = 2;
        return {PS_SOLID, width, RGB(255, 0, 0)};
    }
    int style = PS_SOLID;
    int width = 0;
    switch (object->type) {
    case 14: case 27: case 38: case 58: case 115: case 116: case 129:
        break;
    case ObjDrawingElement:
        if (object->subType == kDottedDrawing)
            style = PS_DOT;
        break;
    case kTypeDrawnLine: case ObjFooting: case ObjBeam:
        style = PS_DASH;
        break;
    case 22: case 24: case 25: case 30: case 45: case 62: case 117: case 125:
        style = PS_DOT;
        break;
    case ObjImage:
        width = 3;
        break;
    default:
        width = 1;
        SetBkMode(dc, TRANSPARENT);
        break;
    }
    return {style, width, ToColorRef(settings->foregroundColour)};
}

// Pens kept for the length of one RedrawPlan. Objects in a row mostly draw with the same
// pen: making, selecting and deleting one per object cost more than drawing the object,
// and on a printer every new pen resends its colour, width and dash. While a redraw runs,
// the pen of the last object stays selected and is taken again when the next object
// wants the same one; the redraw's end puts the DC's own pen back and deletes it.
namespace {

struct KeptPen {
    bool active;        // a RedrawPlan is running
    HDC dc;             // the DC the kept pen is made for
    HPEN pen;
    ObjectPen look;
    HGDIOBJ original;   // the DC's pen before the first kept pen went in
    bool surelySelected; // only outlines were drawn since it was selected: no other pen went in
};

KeptPen keptPen = {};

void ReleaseKeptPen()
{
    EndPrintLineBatch();
    if (keptPen.pen) {
        if (keptPen.dc && GetCurrentObject(keptPen.dc, OBJ_PEN) == keptPen.pen && keptPen.original)
            SelectObject(keptPen.dc, keptPen.original);
        DeleteObject(keptPen.pen);
    }
    keptPen.pen = nullptr;
    keptPen.dc = nullptr;
    keptPen.original = nullptr;
}

// Selects a pen of the look into the DC, the kept one when it matches. True when the
// pen stays kept (the caller leaves it selected); false for a pen of the caller's own,
// returned in *made with the DC's previous pen in *previous.
bool SelectObjectPen(HDC dc, const ObjectPen& look, HPEN* made, HGDIOBJ* previous)
{
    *made = nullptr;
    *previous = nullptr;
    if (!keptPen.active) {
        *made = CreatePen(look.style, look.width, look.colour);
        *previous = *made ? SelectObject(dc, *made) : nullptr;
        return false;
    }
    bool same = keptPen.pen && keptPen.dc == dc && keptPen.look.style == look.style &&
                keptPen.look.width == look.width && keptPen.look.colour == look.colour;
    if (!same) {
        HPEN pen = CreatePen(look.style, look.width, look.colour);
        if (!pen)
            return true;   // the DC's pen stays in use
        HGDIOBJ before = SelectObject(dc, pen);
        if (keptPen.pen && keptPen.dc == dc) {
            EndPrintLineBatch();
            DeleteObject(keptPen.pen);
        } else {
            ReleaseKeptPen();
            keptPen.original = before;
        }
        keptPen.dc = dc;
        keptPen.pen = pen;
        keptPen.look = look;
        keptPen.surelySelected = false;
        // On a page the lines of a kept pen travel together.
        if (planOutputMode == 1 && dc == planDC)
            BeginPrintLineBatch(dc, pen);
        return true;
    }
    // A renderer that selected a pen of its own put the kept one back, unless it did not.
    if (!keptPen.surelySelected && GetCurrentObject(dc, OBJ_PEN) != keptPen.pen)
        SelectObject(dc, keptPen.pen);
    return true;
}

} // namespace

static void DrawTextFrame(HDC dc, PlanObject* object, const RECT* rect)
{
    HWND edit = static_cast<HWND>(object->link);
    if (!edit || !IsWindow(edit))
        return;
    // A control already put to sleep (disabled and hidden) is left so: switching it
    // again changes nothing, but costs two round trips to the window server.
    const LONG state = GetWindowLongA(edit, GWL_STYLE) & (WS_DISABLED | WS_VISIBLE);
    if (currentToolId != kTypeTextTool && (state != WS_DISABLED || !textLayoutsKept)) {
        EnableWindow(edit, FALSE);
        SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
    }
    if (!FitTextEditToObject(dc, edit, object, rect))
        return;
    if (planOutputMode == 0 && currentToolId == kTypeTextTool) {
        InvalidateRect(edit, rect, TRUE);
        UpdateWindow(edit);
        ValidateRect(edit, rect);
    }
}

// A label part that lost its dimension shows a bare "0.00" at its box's corner.
static void DrawOrphanDimensionLabel(HDC dc, PlanObject* object)
{
    const AttachedPartRecord* record = static_cast<const AttachedPartRecord*>(object->link);
    if (record && record->owner)
        return;
    float box[4] = {object->box2D[0], object->box2D[1], object->box2D[2], object->box2D[3]};
    ZoomFloatRect(box);
    MoveTo16(dc, static_cast<int16_t>(RoundToInt(box[1] + 3.0f)),
             static_cast<int16_t>(RoundToInt(box[2] - 3.0f)));
    // It is written in the font the DC has of its own, not in a dimension's.
    RestoreOwnFont(planOutputMode == 1 && planDC ? planDC : dc);
    DrawTextAtDC(dc, "0.00");
}

// Steps 3 to 6 of drawing a shown object, with its pen already selected. True when it
// drew the bare outline, which selects no pen of its own.
static bool DrawShownObject(HDC dc, PlanObject* object, const RECT* rect, uint32_t flags,
                            const DragTransform* preview, int view)
{
    const bool topView = view == ViewTop;
    switch (object->type) {
    case ObjDoor:
        DrawDoorSymbol(dc, object, rect, flags, preview);
        return false;
    case ObjWindow:
        DrawWindowSymbol(dc, object, rect, flags, preview);
        return false;
    case ObjPlant:
        DrawPlantSymbol(dc, object);
        return false;
    case ObjWallElement:
        DrawWallElementSymbol(dc, object, object->subType);
        return false;
    case ObjFreehandRoofPart:
        DrawPitchSymbol(dc, object);
        return false;
    case 100: case 101: case 102:
        if (topView)
            DrawDimensionObject(dc, object, flags, preview);
        return false;
    case 103: case 104: case 105: case 106: case 107: case 108:
        return false;
    case ObjTextFrame:
        if (topView)
            DrawTextFrame(dc, object, rect);
        return false;
    case ObjDimensionLabel:
        if (topView)
            DrawOrphanDimensionLabel(dc, object);
        return false;
    default:
        break;
    }
    // A wall group's own shape is its generated outline, drawn as its companion.
    if (object->type == ObjWall && !preview)
        return false;

    if (!interactiveRedraw) {
        switch (object->type) {
        case kTypeDrawnLine: case ObjPicketFence: case 27: case ObjDrawingElement:
        case ObjRailing: case ObjDeck: case ObjFreehandRoof: case ObjImage:
            if (object->subType != kDottedDrawing && !dragFeedbackActive)
                DrawSegmentDimensions(dc, object);
            break;
        default:
            break;
        }
        if (!preview && !dragFeedbackActive) {
            switch (object->type) {
            case ObjRoof: DrawRoofOutline(dc, object); return false;
            case ObjStair: DrawStairSymbol(dc, object); return false;
            case ObjBeam: DrawBeamSymbol(dc, object); return false;
            case ObjPier: DrawPierSymbol(dc, object); return false;
            case ObjTensionCable: DrawCableSymbol(dc, object); return false;
            case ObjAirDuct: DrawDuctSymbol(dc, object); return false;
            case ObjFoundationSlopeArrow: DrawSlopeArrowSymbol(dc, object); return false;
            case ObjPath: DrawPathLengthDimension(dc, object); break;
            case ObjDeck: DrawDeckLabel(dc, object); break;
            case ObjSprinkler: DrawSprinklerLabel(dc, object); break;
            case ObjSlope: DrawSlopeSymbol(dc, object); break;
            default: break;
            }
        }
        // The host field of an image object holds its picture path, not an object.
        PlanObject* host = object->type != ObjImage && object->extrasType != ObjImage ? object->host : nullptr;
        if (host && host->type == ObjWall && topView) {
            DrawWallGroupOutline(dc, object, host);
            return false;
        }
    }

    if (object->rows > 1)
        DrawMeshOutline(dc, object, flags, preview);
    else
        DrawOutline(dc, object, rect, flags, preview);
    // A gate of a picket fence and a stair's arrows use pens of their own.
    return object->type != ObjPicketFence && object->type != ObjStair;
}

void DrawPlanObject(HDC dc, PlanObject* object, const RECT* rect, uint32_t flags,
                    const DragTransform* preview)
{
    PlanSettings* settings = ActiveSettings();
    if (!dc || !object || !settings)
        return;
    const bool printing = planOutputMode == 1;

    int previousRop = 0;
    bool ropSaved = false;
    if (!printing && !interactiveRedraw) {
        previousRop = SetROP2(dc, R2_COPYPEN);
        ropSaved = true;
    }
    bool shown = true;
    int view = 0;
    if (!interactiveRedraw) {
        shown = PassesDrawFlags(object, flags);
        SetBkMode(dc, TRANSPARENT);
        view = GetCameraPresetCommand();
    }

    if (shown) {
        if (flags & DrawXorPreview)
            SetROP2(dc, R2_NOTXORPEN);
        HDC penDC = (printing && planDC) ? planDC : dc;
        HPEN pen = nullptr;
        HGDIOBJ previousPen = nullptr;
        bool kept = SelectObjectPen(penDC, ChooseObjectPen(dc, object, flags, settings), &pen, &previousPen);
        bool outlineOnly = DrawShownObject(dc, object, rect, flags, preview, view);
        if (kept)
            keptPen.surelySelected = outlineOnly && keptPen.pen && keptPen.dc == penDC;
        if (pen) {
            if (previousPen)
                SelectObject(penDC, previousPen);
            DeleteObject(pen);
        }
    }
    if (ropSaved)
        SetROP2(dc, previousRop);
    SetBkMode(dc, TRANSPARENT);

    // Children are drawn whether or not the draw flags showed their owner.
    for (PlanObject* child = object->firstChild; child; child = child->next) {
        bool opening = child->type == ObjDoor || child->type == ObjWindow ||
                       child->type == ObjWallElement;
        if (opening && !IsObjectInViewFilter(child, settings->visibleCategories))
            continue;
        DrawPlanObject(dc, child, rect, flags, preview);
    }
}

// ---------------------------------------------------------------------------------
// Floors and the whole plan

// What the builders generated for an object, drawn before the object itself.
static void DrawGeneratedCompanions(HDC dc, PlanObject* object, const RECT* rect, uint32_t flags,
                                    uint32_t mask)
{
    PlanObject* generated = static_cast<PlanObject*>(object->link);
    switch (object->type) {
    case ObjWall:
        if (generated)
            DrawPlanObject(dc, generated, rect, flags, nullptr);
        if (object->subType == kExteriorWallGroup && (mask & kFoundationCategory) &&
            (object->category & kFoundationCategory) && object->firstPart)
            DrawPlanObject(dc, object->firstPart, rect, flags, nullptr);
        break;
    case ObjPath:
    case ObjFence:
        for (PlanObject* piece = generated; piece; piece = piece->next)
            DrawPlanObject(dc, piece, rect, flags, nullptr);
        break;
    case ObjStair:
    case ObjDeck:
        for (PlanObject* piece = generated; piece; piece = piece->next)
            if (piece->type == kTypeStairPart)
                DrawPlanObject(dc, piece, rect, flags, nullptr);
        break;
    default:
        break;
    }
}

// One object of a floor with what the builders generated for it.
static void DrawFloorObject(HDC dc, PlanObject* object, const RECT* rect, uint32_t flags,
                            const DragTransform* preview, uint32_t mask)
{
    if (!preview)
        DrawGeneratedCompanions(dc, object, rect, flags, mask);
    DrawPlanObject(dc, object, rect, flags, preview);
}

// Draws the object into a metafile of the printer and keeps where it drew. An object
// that read or set the half-inch alternation is drawn once more from the other state,
// so that a page that leaves it out can leave the alternation as drawing it would.
static void MeasurePrintedObject(HDC printer, PlanObject* object, const RECT* rect, uint32_t flags,
                                 uint32_t mask, int32_t margin)
{
    HDC metafile = CreateEnhMetaFileA(printer, nullptr, nullptr, nullptr);
    if (!metafile)
        return;  // unmeasured: printed on every page
    planDC = metafile;
    SelectObject(metafile, GetStockObject(NULL_BRUSH));
    SetBkMode(metafile, TRANSPARENT);
    PrintedObject measured = {};
    halfInchToggle = kToggleUntouched;
    DrawFloorObject(metafile, object, rect, flags, nullptr, mask);
    if (halfInchToggle == kToggleUntouched) {
        measured.toggleAfter[0] = 0;
        measured.toggleAfter[1] = 1;
    } else {
        measured.toggleAfter[0] = halfInchToggle;
        halfInchToggle = 1;
        DrawFloorObject(metafile, object, rect, flags, nullptr, mask);
        measured.toggleAfter[1] = halfInchToggle;
    }
    planDC = nullptr;
    HENHMETAFILE picture = CloseEnhMetaFile(metafile);
    if (!picture)
        return;
    measured.draws = GetMetafileDrawnBox(picture, &measured.box);
    DeleteEnhMetaFile(picture);
    // The box's last row and column are drawn on: the rectangle ends past them.
    InflateRect(&measured.box, margin, margin);
    ++measured.box.right;
    ++measured.box.bottom;
    printedObjects[object] = measured;
}

void MeasurePrintedObjects(HDC printer, PlanFloor* firstFloor, const RECT* rect, uint32_t flags,
                           int32_t margin)
{
    ForgetPrintedObjects();
    PlanDocument* document = activeDocument;
    if (!printer || !document || !document->settings)
        return;
    const uint32_t mask = document->settings->visibleCategories;
    HDC previousDC = planDC;
    const unsigned char previousMode = planOutputMode;
    const uint8_t previousToggle = halfInchToggle;
    planOutputMode = 1;
    auto measureFloor = [&](PlanFloor* floor) {
        if (!floor || !floor->shown)
            return;
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            if (IsObjectInViewFilter(object, mask) && !printedObjects.count(object))
                MeasurePrintedObject(printer, object, rect, flags, mask, margin);
    };
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        measureFloor(floor);
    measureFloor(document->currentFloor);
    measureFloor(document->currentViewSheet);
    planDC = previousDC;
    planOutputMode = previousMode;
    halfInchToggle = previousToggle;
    printedObjectsMeasured = true;
}

void ForgetPrintedObjects()
{
    printedObjects.clear();
    printedObjectsMeasured = false;
}

bool DrawFloorObjects(HDC dc, PlanFloor* floor, const RECT* rect, uint32_t flags,
                      const DragTransform* preview)
{
    PlanSettings* settings = ActiveSettings();
    if (!floor || !settings || !floor->shown)
        return false;
    // A printed page of a measured print draws only the objects that reach it; one it
    // leaves out still moves the half-inch alternation as drawing it would.
    RECT page;
    const bool printedPage = planOutputMode == 1 && printedObjectsMeasured && planDC &&
                             GetClipBox(planDC, &page) != ERROR;
    // An export runs to its end: a file cut short by Esc would look complete.
    const bool pollEscape = !interactiveRedraw && planOutputMode != 1 && !preview && !exportDxf2D && !exportDxf3D;
    // Esc is read before the first object, then after every so many objects or a few
    // milliseconds: a read of the key state costs as much as drawing a simple object.
    uint32_t sincePoll = kEscapePollObjects;
    DWORD lastPoll = 0;
    for (PlanObject* object = floor->firstObject; object; object = object->next) {
        if (pollEscape) {
            DWORD now = CurrentInput().TickCount();
            if (sincePoll >= kEscapePollObjects || now - lastPoll >= kEscapePollMilliseconds) {
                if (CurrentInput().KeyState(VK_ESCAPE) != 0)
                    return true;
                sincePoll = 0;
                lastPoll = now;
            }
            ++sincePoll;
        }
        if (!IsObjectInViewFilter(object, settings->visibleCategories))
            continue;
        if (printedPage && !ObjectTouchesRect(object, &page)) {
            auto found = printedObjects.find(object);
            halfInchToggle = found->second.toggleAfter[halfInchToggle == 1 ? 1 : 0];
            continue;
        }
        DrawFloorObject(dc, object, rect, flags, preview, settings->visibleCategories);
    }
    return false;
}

void RedrawPlan(HDC dc, PlanFloor* firstFloor, const RECT* rect, uint32_t flags,
                const DragTransform* preview)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    PlanSettings* settings = document->settings;

    const bool prompt = !preview && !interactiveRedraw;
    HCURSOR previousCursor = nullptr;
    if (prompt) {
        std::strncpy(customStatusText, kRedrawPrompt, StatusTextSize - 1);
        customStatusText[StatusTextSize - 1] = 0;
        symbarStatusText[0] = 0;
        lastStatusId = StatusDefaultId;   // shown even when the last text was this one
        ShowStatusHelp(StatusCustomTextId);
        previousCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    }
    // An Esc pressed before this redraw began must not stop it.
    if (!preview && !interactiveRedraw && planOutputMode != 1)
        CurrentInput().KeyState(VK_ESCAPE);

    const ColourTriple currentColour = settings->foregroundColour;
    settings->foregroundColour = settings->inactiveColour;
    ReleaseKeptPen();
    keptPen.active = true;
    // Texts of one look share their font until the redraw ends.
    BeginFontRun();

    if (!preview && planOutputMode == 0) {
        const uint32_t mask = settings->visibleCategories;
        for (PlanFloor* floor = firstFloor; floor; floor = floor->next) {
            for (PlanObject* object = floor->firstObject; object; object = object->next) {
                if (object->type == ObjWall && object->subType == kExteriorWallGroup &&
                    (object->category & kFoundationCategory) && (mask & kFoundationCategory))
                    FillObjectArea(dc, object, PS_NULL, 0, &settings->inactiveColour,
                                   &settings->inactiveColour, 1);
                else if (object->type == ObjDeck && IsObjectInViewFilter(object, mask))
                    FillObjectArea(dc, object, PS_NULL, 0, &settings->inactiveColour,
                                   &settings->inactiveColour, 2);
            }
        }
    }

    for (PlanFloor* floor = firstFloor; floor; floor = floor->next) {
        if (floor == document->currentFloor || floor == document->currentViewSheet)
            continue;
        if (DrawFloorObjects(dc, floor, rect, flags, preview))
            break;
    }

    settings->foregroundColour = currentColour;
    DrawFloorObjects(dc, document->currentFloor, rect, flags, preview);
    DrawFloorObjects(dc, document->currentViewSheet, rect, flags, preview);
    keptPen.active = false;
    ReleaseKeptPen();

    if (!preview && planOutputMode == 0 && currentToolId == kInteriorWallTool)
        HighlightExteriorWallGroups(dc, firstFloor);
    DrawMeasuringLine(dc);
    EndFontRun();

    if (prompt)
        SetCursor(previousCursor);
    if (!preview)
        ShowStatusHelp(StatusDefaultId);
}
