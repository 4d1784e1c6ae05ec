#include "tools/cad_builders.h"
#include <cmath>
#include "model/object_copies.h"
#include "model/object_edit.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/hermite.h"
#include "model/record_memory.h"
#include "model3d/array_objects.h"
#include "planview/selection.h"
#include "shell/app_globals.h"

uint16_t labelFontWord1 = 0;
uint16_t labelFontWord2 = 0;
uint8_t labelFontFlag = 0;

namespace {

const double kPi = 3.14159265358979323846;
const float kHalfPi = 1.5707963267948966f;
// A regular polygon of more corners than this is drawn as this many: a count from a
// settings file must not exhaust memory.
const int32_t kMostPolygonCorners = 1000;
// The same guard for an arc's segment count.
const int32_t kMostArcSegments = 4096;
const float kDimensionProbe = 100.0f;
const float kLabelWidth = 40.0f;
const float kLabelHeight = 20.0f;

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

bool AppendVertex(PlanObject* object, uint16_t kind, const float* in, float x, float y, float z,
                  const float* out, uint8_t selected)
{
    static const float kZero[3] = {0.0f, 0.0f, 0.0f};
    if (!in)
        in = kZero;
    if (!out)
        out = kZero;
    PlanVertex* vertex = NewVertexNode(kind, selected, 0, in[0], in[1], in[2], x, y, z, out[0],
                                       out[1], out[2], 0.0f, 0.0f, 0.0f, object);
    if (!vertex)
        return false;
    AddObjectPoint(vertex, object);
    return true;
}

// Plane coordinates into the view plane: 2 swaps y and z, 3 swaps x and z.
void TurnIntoViewPlane(PlanObject* object, uint16_t viewPlane)
{
    if (viewPlane == 2)
        SwapObjectYZ(object);
    else if (viewPlane == 3)
        SwapObjectXZ(object);
}

bool Finite(float value)
{
    return std::isfinite(value);
}

}  // namespace

PlanObject* BuildCadPolyline(PlanObject* object, float x, float y, float z, PlanFloor* floor,
                             int mode, uint8_t useDefaults)
{
    if (!floor)
        return nullptr;
    switch (mode) {
    case kCadStart:
        object = CreateMakerObject(9, 0, useDefaults, nullptr, floor);
        if (!object)
            return nullptr;
        if (!AppendVertex(object, 1, nullptr, x, y, z, nullptr, 0)) {
            FreeObject(object);
            return nullptr;
        }
        object->rows = 1;
        AttachObjectToFloor(object, floor);
        return object;
    case kCadAppend:
        if (!object || !AppendVertex(object, 1, nullptr, x, y, z, nullptr, 0))
            return nullptr;
        UpdateObjectExtents(object);
        return object;
    case kCadFinish:
        if (!object)
            return nullptr;
        UpdateObjectExtents(object);
        object->rows = 1;
        SelectObjectAndDrawHandles(object, kSelectSelect, 1);
        return object;
    default:
        return nullptr;
    }
}

PlanObject* BuildCadCurve(PlanObject* object, float x, float y, float z, PlanFloor* floor,
                          int mode, uint8_t useDefaults, uint16_t viewPlane)
{
    PlanObject* built = BuildCadPolyline(object, x, y, z, floor, mode, useDefaults);
    if (!built || mode != kCadFinish)
        return built;
    // The smoothing works in x and y: a side view of z and height is turned there first.
    if (viewPlane == 3) {
        SwapObjectXZ(built);
        RecomputeObject(built);
        SwapObjectXZ(built);
    } else {
        RecomputeObject(built);
    }
    UpdateObjectExtents(built);
    return built;
}

PlanObject* BuildCadRegularPolygon(float centreA, float centreB, float pointA, float pointB,
                                   PlanFloor* floor, int32_t corners, uint8_t useDefaults,
                                   float third)
{
    if (!floor || corners < 3)
        return nullptr;
    if (corners > kMostPolygonCorners)
        corners = kMostPolygonCorners;
    float r = 0.0f;
    const float start = AngleBetweenPoints(centreA, centreB, pointA, pointB, &r);
    if (!(r > 0.0f) || !Finite(r))
        return nullptr;
    const double step = 2.0 * kPi / corners;
    const float box[4] = {std::trunc(centreB - r + 0.5f), std::trunc(centreA - r + 0.5f),
                          std::trunc(centreB + r + 0.5f), std::trunc(centreA + r + 0.5f)};
    PlanObject* polygon = CreateMakerObject(4, 1, useDefaults, box, floor);
    if (!polygon)
        return nullptr;
    for (int32_t i = 1; i <= corners; ++i) {
        float dx = 0.0f, dy = 0.0f;
        OffsetPointPolar(static_cast<float>(start + i * step), r, &dx, &dy);
        if (!AppendVertex(polygon, 1, nullptr, centreA + dx, centreB + dy, third, nullptr, 0)) {
            FreeObject(polygon);
            return nullptr;
        }
    }
    AttachObjectToFloor(polygon, floor);
    return polygon;
}

PlanObject* BuildArcObject(float a1, float b1, float a2, float b2, float startDegrees,
                           float sweepDegrees, float third, uint16_t viewPlane,
                           float largestSegmentDegrees)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return nullptr;
    if (!Finite(a1) || !Finite(b1) || !Finite(a2) || !Finite(b2) || !Finite(startDegrees) ||
        !Finite(sweepDegrees) || !Finite(third) || !(largestSegmentDegrees > 0.0f))
        return nullptr;
    const float sideA = std::fabs(a2 - a1);
    const float sideB = std::fabs(b2 - b1);
    // A box of one point, or a flat one, has no ellipse: squeezing the circle into it
    // would divide by zero.
    if (sideA == 0.0f || sideB == 0.0f)
        return nullptr;
    const float centreA = (a1 + a2) / 2.0f;
    const float centreB = (b1 + b2) / 2.0f;
    const float r = (sideA > sideB ? sideA : sideB) / 2.0f;

    double segments = std::ceil(std::fabs(sweepDegrees / largestSegmentDegrees));
    if (segments < 1.0)
        segments = 1.0;
    if (segments > kMostArcSegments)
        segments = kMostArcSegments;
    const int32_t n = static_cast<int32_t>(segments);
    const double s = sweepDegrees / segments;
    const double toRadians = kPi / 180.0;

    PlanObject* arc = CreateMakerObject(5, 0, 0, nullptr, nullptr);
    if (!arc)
        return nullptr;
    if (sweepDegrees != 0.0f) {
        // One segment of angle s, symmetric about the a axis: its first end lies at +s/2
        // and runs toward -s/2.
        float p[2][2], t[2][2];
        ComputeArcHermiteHandles(static_cast<float>(s * toRadians), r, &p[0][0], &t[0][0],
                                 &t[1][0], &p[1][0], &p[0][1], &t[0][1], &t[1][1], &p[1][1]);
        // Vertex k lies at the end angle minus k steps. The segment turned to end at the
        // end angle gives vertices 0 and 1 (its two ends); each later vertex is the first
        // end of the segment turned on by k steps. Each turn is taken from the segment as
        // built, so no rounding piles up along the arc.
        const double first = (startDegrees + sweepDegrees) * toRadians - s * toRadians / 2.0;
        for (int32_t k = 0; k <= n; ++k) {
            const int end = (k == 1) ? 1 : 0;
            const double turn = first - (k < 2 ? 0 : k) * s * toRadians;
            float px = p[end][0], py = p[end][1], tx = t[end][0], ty = t[end][1];
            RotatePointAbout(&px, &py, 0.0f, 0.0f, static_cast<float>(turn));
            RotatePointAbout(&tx, &ty, 0.0f, 0.0f, static_cast<float>(turn));
            const float tangent[3] = {tx, ty, 0.0f};
            if (!AppendVertex(arc, 5, tangent, centreA + px, centreB + py, third, tangent, 1)) {
                FreeObject(arc);
                return nullptr;
            }
        }
        if (sideA != sideB) {
            // The circle squeezed into the box: the shorter side's axis scaled about the centre.
            TransformRecord squeeze = {};
            squeeze.scale[0] = sideA > sideB ? 1.0f : sideA / sideB;
            squeeze.scale[1] = sideA > sideB ? sideB / sideA : 1.0f;
            squeeze.scale[2] = 1.0f;
            squeeze.centre[0] = centreA;
            squeeze.centre[1] = centreB;
            const uint16_t savedPlane = settings->viewPlane;
            settings->viewPlane = 1;
            ScaleObjectTree(arc, &squeeze);
            settings->viewPlane = savedPlane;
        }
        SetAllPointsSelected(arc, 0);
    }
    TurnIntoViewPlane(arc, viewPlane);
    UpdateObjectExtents(arc);
    return arc;
}

PlanObject* BuildTextFrameObject(const RECT* rect, HWND editWindow, PlanFloor* floor)
{
    PlanSettings* settings = ActiveSettings();
    if (!rect || !editWindow || !floor || !settings)
        return nullptr;
    BringWindowToTop(editWindow);
    RECT frame = *rect;
    InflateRect(&frame, 3, 3);
    PlanObject* object =
        CreateObject(ObjTextFrame, 1, 0, &settings->foregroundColour, &settings->newObjectColour,
                     0.0f, 6, settings->commonProperties.secondStyle, nullptr, nullptr, nullptr,
                     nullptr, floor, editWindow);
    if (!object)
        return nullptr;
    object->category = settings->activeCategory;
    const float corners[4][2] = {{(float)frame.left, (float)frame.top},
                                 {(float)frame.right, (float)frame.top},
                                 {(float)frame.right, (float)frame.bottom},
                                 {(float)frame.left, (float)frame.bottom}};
    for (const auto& corner : corners) {
        if (!AppendVertex(object, 1, nullptr, corner[0], corner[1], 0.0f, nullptr, 0)) {
            // The edit window stays its creator's.
            object->link = nullptr;
            FreeObject(object);
            return nullptr;
        }
    }
    UpdateObjectExtents(object);
    AttachObjectToFloor(object, floor);
    return object;
}

PlanObject* BuildDimensionObject(float a1, float b1, float a2, float b2, float a3, float b3,
                                 PlanFloor* floor)
{
    PlanSettings* settings = ActiveSettings();
    if (!floor || !settings || (a1 == a2 && b1 == b2))
        return nullptr;
    PlanObject* dimension =
        CreateObject(ObjDimensionLine, 0, 0, &settings->foregroundColour,
                     &settings->dimensionColour, 1.0f, 6, 0, nullptr, nullptr, nullptr, nullptr,
                     floor, nullptr);
    if (!dimension)
        return nullptr;
    dimension->category = settings->activeCategory;

    float length = 0.0f;
    const float along = AngleBetweenPoints(a1, b1, a2, b2, &length);
    // The offset goes to the side of the line that point 3 lies on (on a tie, the right).
    float leftA = 0.0f, leftB = 0.0f, rightA = 0.0f, rightB = 0.0f;
    OffsetPointPolar(along + kHalfPi, kDimensionProbe, &leftA, &leftB);
    OffsetPointPolar(along - kHalfPi, kDimensionProbe, &rightA, &rightB);
    const float toLeft = Distance2D(a1 + leftA, b1 + leftB, a3, b3);
    const float toRight = Distance2D(a1 + rightA, b1 + rightB, a3, b3);
    const float side = toLeft < toRight ? along + kHalfPi : along - kHalfPi;
    float footA = 0.0f, footB = 0.0f;
    FindPerpendicularFoot(a1, b1, a2, b2, a3, b3, &footA, &footB);
    float offsetA = 0.0f, offsetB = 0.0f;
    OffsetPointPolar(side, Distance2D(a3, b3, footA, footB), &offsetA, &offsetB);

    const float points[4][2] = {{a2, b2}, {a2 + offsetA, b2 + offsetB},
                                {a1 + offsetA, b1 + offsetB}, {a1, b1}};
    for (const auto& point : points) {
        if (!AppendVertex(dimension, 1, nullptr, point[0], point[1], 0.0f, nullptr, 0)) {
            FreeObject(dimension);
            return nullptr;
        }
    }
    AttachObjectToFloor(dimension, floor);
    TurnIntoViewPlane(dimension, settings->viewPlane);
    UpdateObjectExtents(dimension);
    const float labelA = std::trunc((a1 + a2) / 2.0f + offsetA + 0.5f);
    const float labelB = std::trunc((b1 + b2) / 2.0f + offsetB + 0.5f);
    AttachDimensionLabel(dimension, labelA, labelB, 1);
    return dimension;
}

void AttachDimensionLabel(PlanObject* dimension, float labelA, float labelB, uint8_t withLabel)
{
    PlanSettings* settings = ActiveSettings();
    if (!dimension || !settings)
        return;
    AttachmentRecord* attachment = AllocateRecordOf<AttachmentRecord>();
    if (attachment) {
        attachment->flags = settings->styleWord;
        attachment->tolerance1 = settings->dimensionToleranceA;
        attachment->tolerance2 = settings->dimensionToleranceB;
    }
    PlanObject* label = nullptr;
    if (withLabel) {
        label = CreateRectangleObject(labelA - kLabelWidth / 2.0f, labelB - kLabelHeight / 2.0f,
                                      labelA + kLabelWidth / 2.0f, labelB + kLabelHeight / 2.0f,
                                      dimension->floor, 0);
    }
    if (label) {
        label->colourB = dimension->colourB;
        TurnIntoViewPlane(label, settings->viewPlane);
        UpdateObjectExtents(label);
        label->colourA = settings->foregroundColour;
        AttachedPartRecord* part = AllocateRecordOf<AttachedPartRecord>();
        if (part) {
            part->word1 = labelFontWord1;
            part->word2 = labelFontWord2;
            part->flag = labelFontFlag;
            part->font = dimensionLogFont;
            part->owner = dimension;
        }
        label->link = part;
        label->type = ObjDimensionLabel;
        label->size = 0.0f;
        if (attachment)
            attachment->label = label;
    }
    if (activeDocument->firstFloor) {
        SetSelectionAllFloors(activeDocument->firstFloor, kSelectDeselect, 1);
        SelectObjectAndDrawHandles(dimension, kSelectSelect, 1);
        if (label)
            SelectObjectAndDrawHandles(label, kSelectSelect, 1);
        groupNestingCount = 0;
        groupNestingTooDeep = 0;
        ForEachFloorObject(activeDocument->firstFloor, 1, CountGroups, nullptr);
        if (!groupNestingTooDeep) {
            groupNestingCount = 0;
            ForEachFloorSelection(activeDocument->firstFloor, kCountSelectedCode, nullptr);
            if (groupNestingCount > 1) {
                groupUnderConstruction = nullptr;
                ForEachFloorSelection(activeDocument->firstFloor, kGroupSelectionCode, nullptr);
            }
        }
    }
    dimension->link = attachment;
}
