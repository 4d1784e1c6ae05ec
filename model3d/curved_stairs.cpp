#include "model3d/curved_stairs.h"
#include "model3d/generated_parts.h"
#include "model3d/generator_limits.h"
#include "model3d/railings.h"
#include "model3d/stairs.h"
#include "model/hermite.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include <initializer_list>
#include <math.h>

namespace {

constexpr float kHalfPi = 1.5707963267948966f;
constexpr uint32_t kFramingMemberTexture = 2202;

// What one rebuild reads of the stair, in plan lengths where it measures.
struct CurvedLook {
    PlanObject* stair;
    StairFields fields;
    float halfWidth;
    float riser;
    float tread;        // never 0
    bool framing;
};

float Units(float length)
{
    return UnitsToPlanLength(length, activeDocument->settings, 0);
}

void Offset(const float* from, float angle, float distance, float* to)
{
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dz);
    to[0] = from[0] + dx;
    to[1] = from[1];
    to[2] = from[2] + dz;
}

void Copy(const float* from, float* to)
{
    for (int k = 0; k < 3; ++k)
        to[k] = from[k];
}

// A four-cornered solid: the corners (x, z) with their lower and upper heights.
PlanObject* AddBlock(const CurvedLook& look, uint16_t type, const float corners[4][2],
                     const float lower[4], const float upper[4], uint32_t texture,
                     const ColourTriple& colour)
{
    Point3f bottom[4], top[4];
    for (int i = 0; i < 4; ++i) {
        bottom[i] = {corners[i][0], lower[i], corners[i][1]};
        top[i] = {corners[i][0], upper[i], corners[i][1]};
    }
    return AddGeneratedSolid(look.stair, type, bottom, top, 4, texture, colour);
}

// Side pieces of one edge of a step from the previous edge point to the new one.
void BuildSidePieces(const CurvedLook& look, const float* previous, const float* current,
                     float angle, bool left, float foot, float treadTop)
{
    const float inward = left ? angle - kHalfPi : angle + kHalfPi;
    const ColourTriple& colour = look.fields.sideColour;
    if (look.framing) {
        float back[3], inner[3], backInner[3];
        Offset(current, angle, -2.5f, back);
        Offset(current, inward, 10.0f, inner);
        Offset(back, inward, 10.0f, backInner);
        const float member[4][2] = {{back[0], back[2]}, {current[0], current[2]},
                                    {inner[0], inner[2]}, {backInner[0], backInner[2]}};
        const float feet[4] = {foot, foot, foot, foot};
        const float tops[4] = {treadTop, treadTop, treadTop, treadTop};
        AddBlock(look, 40, member, feet, tops, kFramingMemberTexture, colour);
        if (stairRunState.accumulatedHeight != 0.0f) {
            float previousInner[3], currentInner[3];
            Offset(previous, inward, 10.0f, previousInner);
            Offset(current, inward, 10.0f, currentInner);
            const float plate[4][2] = {{previous[0], previous[2]}, {current[0], current[2]},
                                       {currentInner[0], currentInner[2]},
                                       {previousInner[0], previousInner[2]}};
            const float plateTops[4] = {foot - 2.5f, foot - 2.5f, foot - 2.5f, foot - 2.5f};
            AddBlock(look, 44, plate, feet, plateTops, kFramingMemberTexture, colour);
        }
        return;
    }
    float a[3], b[3];
    Offset(previous, inward, -0.1f, a);
    Offset(current, inward, -0.1f, b);
    Point3f bottom[2] = {{a[0], foot, a[2]}, {b[0], foot, b[2]}};
    Point3f top[2] = {{a[0], treadTop + 3.0f, a[2]}, {b[0], treadTop + 3.0f, b[2]}};
    AddGeneratedSolid(look.stair, 40, bottom, top, 2, 0, colour);
}

// Two balusters, a rail piece and, at the first or the last step, a post along one edge.
void BuildCurvedStairSideRailing(const CurvedLook& look, const float* previous,
                                 const float* current, float angle, bool left, float y)
{
    const StairFields& f = look.fields;
    const float balusterHeight = Units(f.railingHeight - 8.0f + 0.5f);
    const float railLift = Units(f.railingHeight - 8.0f);
    const float slope = look.riser / look.tread;
    const float inward = left ? angle - kHalfPi : angle + kHalfPi;
    float start[3], end[3];
    Offset(previous, inward, 5.0f, start);
    Offset(current, inward, 5.0f, end);
    const float stepTop = y - stairRunState.accumulatedHeight;
    float edge = 0.0f;
    float edgeAngle = AngleBetweenPoints(start[0], start[2], end[0], end[2], &edge);
    for (float fraction : {0.25f, 0.75f}) {
        float at[3];
        Offset(start, edgeAngle, edge * fraction, at);
        AddGeneratedColumn(look.stair, 39, at[0], at[2], angle, 1.0f, stepTop,
                           stepTop - (balusterHeight + slope * look.tread * fraction),
                           f.railingTexture, f.railingColour);
        stairRunState.balusterCount++;
    }
    const float startY = y - (stairRunState.accumulatedHeight - look.riser) - railLift;
    const float endY = stepTop - railLift;
    float corners[4][2];
    CornersAroundLine(start[0], start[2], end[0], end[2], edgeAngle, 1.0f, corners);
    const float lower[4] = {startY, endY, endY, startY};
    const float upper[4] = {startY - 2.0f, endY - 2.0f, endY - 2.0f, startY - 2.0f};
    AddBlock(look, 44, corners, lower, upper, f.railingTexture, f.railingColour);
    stairRunState.handrailLength += Distance3D(start[0], startY, start[2], end[0], endY, end[2]);

    const float postHeight = f.railingHeight + 4.0f;
    if (stairRunState.firstPostPending) {
        start[1] = stepTop;
        AddPostBox(start, angle, look.stair, postHeight, 0, f.railingTexture, f.railingColour);
        stairRunState.firstPostPending = 0;
    } else if (stairRunState.lastStep) {
        end[1] = stepTop;
        AddPostBox(end, angle, look.stair, postHeight, 0, f.railingTexture, f.railingColour);
    }
}

void BuildCurvedStairStep(const CurvedLook& look, const float* station, float angle)
{
    float left[3], right[3];
    Offset(station, angle + kHalfPi, look.halfWidth, left);
    Offset(station, angle + kHalfPi, -look.halfWidth, right);
    float* previousLeft = stairRunState.previousLeft;
    float* previousRight = stairRunState.previousRight;
    // The first station only marks where the first step begins.
    if (stairRunState.firstEdgePending) {
        Copy(left, previousLeft);
        Copy(right, previousRight);
        stairRunState.firstEdgePending = 0;
        stairRunState.accumulatedHeight = 0.0f;
        return;
    }
    const float y = station[1];
    const float lower = y - stairRunState.accumulatedHeight;
    const float upper = lower - look.riser;
    const float corners[4][2] = {{previousLeft[0], previousLeft[2]},
                                 {previousRight[0], previousRight[2]},
                                 {right[0], right[2]},
                                 {left[0], left[2]}};
    const float lowers[4] = {lower, lower, lower, lower};
    const float uppers[4] = {upper, upper, upper, upper};
    PlanObject* tread = AddBlock(look, 43, corners, lowers, uppers, look.fields.treadTexture,
                                 look.fields.treadColour);
    if (tread)
        tread->colourA = look.fields.sideColour;
    BuildSidePieces(look, previousLeft, left, angle, true, y, upper);
    BuildSidePieces(look, previousRight, right, angle, false, y, upper);
    stairRunState.accumulatedHeight += look.riser;

    const uint8_t firstPost = stairRunState.firstPostPending;
    if (look.fields.leftRailing == 1)
        BuildCurvedStairSideRailing(look, previousLeft, left, angle, true, y);
    if (look.fields.rightRailing == 1) {
        stairRunState.firstPostPending = firstPost;
        BuildCurvedStairSideRailing(look, previousRight, right, angle, false, y);
    }
    Copy(left, previousLeft);
    Copy(right, previousRight);
}

// A station every tread depth along the straight piece, carrying the rest on.
void WalkCurvedStairPiece(const CurvedLook& look, const float* from, const float* to,
                          float totalRise)
{
    StationWalk& walk = stairRunState.walk;
    float length = 0.0f;
    float angle = AngleBetweenPoints(from[0], from[2], to[0], to[2], &length);
    float consumed = 0.0f;
    while (length > 0.0f && stairRunState.accumulatedHeight < totalRise && !PieceBudget::Spent()) {
        if (stairRunState.accumulatedHeight + look.riser > totalRise)
            stairRunState.lastStep = 1;
        float need = walk.spacing - walk.carried;
        if (need <= length) {
            consumed += need;
            float station[3];
            Offset(from, angle, consumed, station);
            BuildCurvedStairStep(look, station, angle);
            length -= need;
            walk.carried = 0.0f;
        } else {
            walk.carried += length;
            length = 0.0f;
        }
    }
}

void BuildCurvedStairSegment(const CurvedLook& look, const PlanVertex* a, const PlanVertex* b,
                             float totalRise)
{
    float coefficients[3][4];
    ComputeVertexSegmentCoefficients(a, b, coefficients);
    const int32_t pieces = 6 * (int32_t)UsableCurveSteps(activeDocument->settings);
    float previous[3] = {0.0f, 0.0f, 0.0f};
    for (int32_t i = 0; i <= pieces && stairRunState.accumulatedHeight < totalRise; ++i) {
        float point[3];
        EvaluateSegmentCoefficients(coefficients, (float)i / (float)pieces, point);
        if (i > 0)
            WalkCurvedStairPiece(look, previous, point, totalRise);
        Copy(point, previous);
    }
}

} // namespace

void InitStationWalk(StationWalk* walk, PlanObject* stair)
{
    if (!walk || !stair || stair->type != ObjStair || !activeDocument || !activeDocument->settings)
        return;
    float spacing = Units(stair->parameters[2]);
    if (!(spacing > 0.0f) || !isfinite(spacing))
        spacing = 1.0f;
    walk->spacing = spacing;
    walk->carried = spacing;
}

void BuildCurvedStair(PlanObject* stair, float totalRise)
{
    if (!stair || !activeDocument || !activeDocument->settings)
        return;
    CurvedLook look;
    look.stair = stair;
    look.fields = ReadStairFields(stair);
    look.halfWidth = Units(look.fields.width / 2.0f);
    look.riser = Units(look.fields.riserHeight);
    look.tread = Units(look.fields.treadDepth);
    if (!(look.tread > 0.0f) || !isfinite(look.tread))
        look.tread = 1.0f;
    look.framing = activeDocument->settings->framingStyle != 0;

    InitStationWalk(&stairRunState.walk, stair);
    stairRunState.firstEdgePending = 1;
    stairRunState.accumulatedHeight = 0.0f;
    stairRunState.lastStep = 0;
    stairRunState.firstPostPending = 1;
    for (PlanVertex* a = stair->firstVertex;
         a && a->next && stairRunState.accumulatedHeight < totalRise && !PieceBudget::Spent();
         a = a->next)
        BuildCurvedStairSegment(look, a, a->next, totalRise);
}
