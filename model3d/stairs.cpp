#include "model3d/stairs.h"
#include "model3d/generated_parts.h"
#include "model3d/generator_limits.h"
#include "model3d/rebuild_wait_cursor.h"
#include "model3d/railings.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model3d/curved_stairs.h"
#include "model/object_copies.h"
#include "model/outline_offsets.h"
#include "model/plan_floor.h"
#include "render3d/object_polygons.h"
#include <windows.h>
#include <math.h>

StairRunState stairRunState;

namespace {

const float kHalfPi = 1.5707963267948966f;
// Textures of framing members and of treads in the framing view.
const uint32_t kFramingMemberTexture = 2202;
const uint32_t kFramingBlockTexture = 2203;
const uint32_t kStraightStair = 800;

struct FlightLook {
    PlanObject* owner;
    float y;                // walking line height: the foot of the stair
    float riser;            // plan length
    float tread;            // plan length, never 0
    uint32_t leftRailing;
    uint32_t rightRailing;
    float railingHeight;    // display units
    uint32_t treadTexture;
    ColourTriple treadColour;
    uint32_t sideTexture;
    ColourTriple sideColour;
    uint32_t railingTexture;
    ColourTriple railingColour;
    bool framing;
    const PlanSettings* settings;
};

float PlanLength(const FlightLook& look, float units)
{
    return UnitsToPlanLength(units, look.settings, 0);
}

void Offset(const float* from, float angle, float distance, float* to)
{
    float dx = 0.0f;
    float dz = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dz);
    to[0] = from[0] + dx;
    to[1] = from[1];
    to[2] = from[2] + dz;
}

// A solid of four corners whose lower ring lies at the heights given per corner and
// whose upper ring lies thickness above it.
PlanObject* AddSlab(PlanObject* owner, uint16_t type, const float corners[4][2], const float lower[4],
                    float thickness, uint32_t texture, const ColourTriple& colour)
{
    Point3f bottom[4];
    Point3f top[4];
    for (int i = 0; i < 4; ++i) {
        bottom[i] = {corners[i][0], lower[i], corners[i][1]};
        top[i] = {corners[i][0], lower[i] - thickness, corners[i][1]};
    }
    return AddGeneratedSolid(owner, type, bottom, top, 4, texture, colour);
}

// A baluster 2.0 square centred on (x, z), standing at y and rising height.
void AddBaluster(const FlightLook& look, float x, float z, float angle, float y, float height)
{
    AddGeneratedColumn(look.owner, 39, x, z, angle, 1.0f, y, y - height, look.railingTexture,
                       look.railingColour);
    stairRunState.balusterCount++;
}

// The line a railing follows along one side of a flight: the edge from-to moved 5.0
// toward the middle of the flight, into start and end. Returns the edge's angle;
// *length gets its length.
float RailingLineAlongEdge(const float* from, const float* to, bool left, float* start, float* end,
                           float* length)
{
    float angle = AngleBetweenPoints(from[0], from[2], to[0], to[2], length);
    float inward = left ? angle - kHalfPi : angle + kHalfPi;
    Offset(from, inward, 5.0f, start);
    Offset(to, inward, 5.0f, end);
    return angle;
}

// Two balusters and, at the first or the last step, a post along one edge of a step.
void BuildStraightStairSideRailing(const FlightLook& look, const float* from, const float* to,
                                   bool left)
{
    float length = 0.0f;
    float start[3];
    float end[3];
    float angle = RailingLineAlongEdge(from, to, left, start, end, &length);
    float stepTop = look.y - stairRunState.accumulatedHeight;
    start[1] = end[1] = stepTop;

    float slope = look.riser / look.tread;
    float base = PlanLength(look, look.railingHeight - 8.0f + 0.5f);
    const float fractions[2] = {0.25f, 0.75f};
    for (float fraction : fractions) {
        float at[3];
        Offset(start, angle, length * fraction, at);
        AddBaluster(look, at[0], at[2], angle, stepTop, base + slope * (look.tread * fraction));
    }

    if (stairRunState.firstEdgePending) {
        AddPostBox(start, angle, look.owner, look.railingHeight + 4.0f, 0, look.railingTexture,
                   look.railingColour);
        stairRunState.firstEdgePending = 0;
    } else if (stairRunState.lastStep) {
        AddPostBox(end, angle, look.owner, look.railingHeight + 4.0f, 0, look.railingTexture,
                   look.railingColour);
    }
}

// The side pieces under one edge of a step: a framing member at the new corner, or a
// side board along the edge.
void BuildStepSidePiece(const FlightLook& look, const float* from, const float* to, bool left,
                        float treadTop)
{
    float length = 0.0f;
    float angle = AngleBetweenPoints(from[0], from[2], to[0], to[2], &length);
    float outward = left ? angle + kHalfPi : angle - kHalfPi;
    if (look.framing) {
        float back[3];
        Offset(to, angle, -2.5f, back);
        float inner[3];
        float backInner[3];
        Offset(to, outward, -10.0f, inner);
        Offset(back, outward, -10.0f, backInner);
        Point3f foot[4] = {{back[0], look.y, back[2]},
                           {to[0], look.y, to[2]},
                           {inner[0], look.y, inner[2]},
                           {backInner[0], look.y, backInner[2]}};
        Point3f head[4];
        for (int i = 0; i < 4; ++i)
            head[i] = {foot[i].x, treadTop, foot[i].z};
        AddGeneratedSolid(look.owner, 42, foot, head, 4, kFramingMemberTexture, look.sideColour);
        return;
    }
    float a[3];
    float b[3];
    Offset(from, outward, 0.1f, a);
    Offset(to, outward, 0.1f, b);
    float boardTop = treadTop + 3.0f;
    Point3f foot[2] = {{a[0], look.y, a[2]}, {b[0], look.y, b[2]}};
    Point3f head[2] = {{a[0], boardTop, a[2]}, {b[0], boardTop, b[2]}};
    AddGeneratedSolid(look.owner, 42, foot, head, 2, look.sideTexture, look.sideColour);
}

void BuildStraightStairStep(const FlightLook& look, const float* previousLeft,
                            const float* previousRight, const float* newLeft,
                            const float* newRight)
{
    float lower = look.y - stairRunState.accumulatedHeight;
    float thickness = look.riser > 0.0f ? look.riser : 15.0f;
    const float corners[4][2] = {{previousLeft[0], previousLeft[2]},
                                 {previousRight[0], previousRight[2]},
                                 {newRight[0], newRight[2]},
                                 {newLeft[0], newLeft[2]}};
    const float lowers[4] = {lower, lower, lower, lower};
    AddSlab(look.owner, 43, corners, lowers, thickness, look.treadTexture, look.treadColour);

    float treadTop = lower - thickness;
    BuildStepSidePiece(look, previousLeft, newLeft, true, treadTop);
    BuildStepSidePiece(look, previousRight, newRight, false, treadTop);

    stairRunState.accumulatedHeight += look.riser;

    uint8_t firstEdge = stairRunState.firstEdgePending;
    if (look.leftRailing == 1)
        BuildStraightStairSideRailing(look, previousLeft, newLeft, true);
    if (look.rightRailing == 1) {
        stairRunState.firstEdgePending = firstEdge;
        BuildStraightStairSideRailing(look, previousRight, newRight, false);
    }
}

// The sloped rail over one side of a flight, its underside railing height less 8.0 above
// the step tops.
void BuildFlightRail(const FlightLook& look, const float* first, const float* last, bool left,
                     float startHeight, float endHeight)
{
    float length = 0.0f;
    float start[3];
    float end[3];
    float angle = RailingLineAlongEdge(first, last, left, start, end, &length);
    float lift = PlanLength(look, look.railingHeight - 8.0f);
    start[1] = look.y - startHeight - lift;
    end[1] = look.y - endHeight - lift;
    float corners[4][2];
    CornersAroundLine(start[0], start[2], end[0], end[2], angle, 1.0f, corners);
    const float lower[4] = {start[1], end[1], end[1], start[1]};
    if (look.framing) {
        AddSlab(look.owner, 39, corners, lower, 2.5f, kFramingMemberTexture, look.railingColour);
        return;
    }
    AddSlab(look.owner, 39, corners, lower, 2.0f, look.railingTexture, look.railingColour);
    stairRunState.handrailLength +=
        Distance3D(start[0], start[1], start[2], end[0], end[1], end[2]);
}


// The look of a stair's own flights and landings.
FlightLook StairLook(PlanObject* stair, float y)
{
    StairFields fields = ReadStairFields(stair);
    FlightLook look;
    look.settings = activeDocument->settings;
    look.owner = stair;
    look.y = y;
    look.riser = PlanLength(look, fields.riserHeight);
    look.tread = PlanLength(look, fields.treadDepth);
    if (look.tread == 0.0f)
        look.tread = 1.0f;
    look.leftRailing = fields.leftRailing;
    look.rightRailing = fields.rightRailing;
    look.railingHeight = fields.railingHeight;
    look.treadTexture = fields.treadTexture;
    look.treadColour = fields.treadColour;
    look.sideTexture = 0;
    look.sideColour = fields.sideColour;
    look.railingTexture = fields.railingTexture;
    look.railingColour = fields.railingColour;
    look.framing = look.settings->framingStyle != 0;
    return look;
}

// Balusters, a rail and the posts asked for along one outer edge of a landing. An end
// with a post gives 4.0 of the edge to it, the post standing 2.0 in.
void BuildLandingRail(const FlightLook& look, const float* from, const float* to, bool left,
                      bool postAtStart, bool postAtEnd)
{
    float length = 0.0f;
    float start[3];
    float end[3];
    float angle = RailingLineAlongEdge(from, to, left, start, end, &length);
    const float top = look.y - stairRunState.accumulatedHeight;
    float spacing = PlanLength(look, look.framing ? 16.0f : 6.0f);
    float usable = length - (postAtStart ? 4.0f : 0.0f) - (postAtEnd ? 4.0f : 0.0f);
    double wanted = spacing > 0.0f ? floor((double)usable / spacing + 0.5) : 1.0;
    int32_t k = wanted >= 1.0 ? (wanted > kMaxGeneratedPieces ? kMaxGeneratedPieces : (int32_t)wanted)
                              : 1;
    float step = usable / (float)k;
    // In the framing view the balusters reach from the foot to the level reached so far.
    float bottom = look.framing ? look.y : top;
    float rise = look.framing ? stairRunState.accumulatedHeight : PlanLength(look, look.railingHeight);
    float offset = postAtStart ? 4.0f : 0.0f;
    int32_t last = postAtEnd ? k - 1 : k;
    for (int32_t i = 1; i <= last && !PieceBudget::Spent(); ++i) {
        float at[3];
        Offset(start, angle, offset + (float)i * step, at);
        AddBaluster(look, at[0], at[2], angle, bottom, rise);
    }
    start[1] = end[1] = bottom - rise;
    float corners[4][2];
    CornersAroundLine(start[0], start[2], end[0], end[2], angle, 1.0f, corners);
    const float lower[4] = {start[1], end[1], end[1], start[1]};
    AddSlab(look.owner, 39, corners, lower, 2.0f, look.railingTexture, look.railingColour);
    stairRunState.handrailLength += Distance3D(start[0], start[1], start[2], end[0], end[1], end[2]);
    float postHeight = look.railingHeight + 4.0f;
    if (postAtStart) {
        float at[3];
        Offset(start, angle, 2.0f, at);
        at[1] = top;
        AddPostBox(at, angle, look.owner, postHeight, 0, look.railingTexture, look.railingColour);
    }
    if (postAtEnd) {
        float at[3];
        Offset(end, angle, -2.0f, at);
        at[1] = top;
        AddPostBox(at, angle, look.owner, postHeight, 0, look.railingTexture, look.railingColour);
    }
}

// Restores what a rebuild changes on the stair for its length.
struct StairRebuildScope {
    PlanObject* stair;
    PlanSettings* settings;
    float riser;
    uint32_t treadTexture;
    uint32_t leftRailing;
    uint32_t rightRailing;
    uint16_t recompute;
    ~StairRebuildScope()
    {
        stair->parameters[1] = riser;
        stair->imageId2 = treadTexture;
        stair->offsetSide = leftRailing;
        stair->value4 = rightRailing;
        settings->recomputeValue = recompute;
    }
};

} // namespace

void BuildStepsBetweenEdges(PlanObject* owner, float* leftStart, const float* leftEnd,
                            float* rightStart, const float* rightEnd, float totalRise, float y,
                            float riserHeight, float treadDepth, uint32_t leftRailing,
                            uint32_t rightRailing, float railingHeight, uint32_t treadTexture,
                            ColourTriple treadColour, uint32_t sideTexture,
                            ColourTriple sideColour, uint32_t railingTexture,
                            ColourTriple railingColour, uint8_t /*finalFlag*/)
{
    if (!owner || !leftStart || !leftEnd || !rightStart || !rightEnd)
        return;
    if (!activeDocument || !activeDocument->settings)
        return;
    FlightLook look;
    look.settings = activeDocument->settings;
    look.owner = owner;
    look.y = y;
    look.riser = PlanLength(look, riserHeight);
    look.tread = PlanLength(look, treadDepth);
    if (look.tread == 0.0f)
        look.tread = 1.0f;
    look.leftRailing = leftRailing;
    look.rightRailing = rightRailing;
    look.railingHeight = railingHeight;
    look.treadTexture = treadTexture;
    look.treadColour = treadColour;
    look.sideTexture = sideTexture;
    look.sideColour = sideColour;
    look.railingTexture = railingTexture;
    look.railingColour = railingColour;
    look.framing = look.settings->framingStyle != 0;

    float leftLength = 0.0f;
    float rightLength = 0.0f;
    float leftAngle =
        AngleBetweenPoints(leftStart[0], leftStart[2], leftEnd[0], leftEnd[2], &leftLength);
    AngleBetweenPoints(rightStart[0], rightStart[2], rightEnd[0], rightEnd[2], &rightLength);
    float run = leftLength < rightLength ? leftLength : rightLength;

    // A damaged tread depth or length must not ask for endless steps.
    double wanted = (double)run / look.tread + 0.5;
    int32_t steps = 0;
    if (wanted >= 1.0)
        steps = wanted > kMaxGeneratedPieces ? kMaxGeneratedPieces : (int32_t)wanted;
    if (steps < 1) {
        stairRunState.accumulatedHeight -= look.riser;
        return;
    }
    float depth = run / (float)steps;

    const float firstLeft[3] = {leftStart[0], y, leftStart[2]};
    const float firstRight[3] = {rightStart[0], y, rightStart[2]};
    float previousLeft[3] = {firstLeft[0], y, firstLeft[2]};
    float previousRight[3] = {firstRight[0], y, firstRight[2]};
    float heightBefore = stairRunState.accumulatedHeight;
    int32_t built = 0;
    for (int32_t i = 1;
         i <= steps && stairRunState.accumulatedHeight < totalRise && !PieceBudget::Spent(); ++i) {
        float newLeft[3];
        float newRight[3];
        Offset(firstLeft, leftAngle, (float)i * depth, newLeft);
        Offset(firstRight, leftAngle, (float)i * depth, newRight);
        if ((stairRunState.accumulatedHeight + look.riser >= totalRise || i == steps) &&
            stairRunState.lastSegment)
            stairRunState.lastStep = 1;
        BuildStraightStairStep(look, previousLeft, previousRight, newLeft, newRight);
        for (int k = 0; k < 3; ++k) {
            previousLeft[k] = newLeft[k];
            previousRight[k] = newRight[k];
        }
        ++built;
    }

    if (built > 0) {
        float startHeight = heightBefore + look.riser;
        float endHeight = stairRunState.accumulatedHeight;
        if (leftRailing == 1 || look.framing)
            BuildFlightRail(look, firstLeft, previousLeft, true, startHeight, endHeight);
        if (rightRailing == 1 || look.framing)
            BuildFlightRail(look, firstRight, previousRight, false, startHeight, endHeight);
    }

    for (int k = 0; k < 3; ++k) {
        leftStart[k] = previousLeft[k];
        rightStart[k] = previousRight[k];
    }
}

StairFields ReadStairFields(const PlanObject* stair)
{
    StairFields fields;
    fields.width = stair->parameters[0];
    fields.riserHeight = stair->parameters[1];
    fields.treadDepth = stair->parameters[2];
    fields.railingHeight = stair->parameters[3];
    fields.totalRise = stair->parameters[4];
    fields.leftRailing = stair->offsetSide;
    fields.rightRailing = stair->value4;
    fields.treadTexture = stair->imageId2;
    fields.treadColour = stair->colour4;
    fields.railingTexture = stair->imageId1;
    fields.railingColour = stair->colour3;
    fields.sideColour = stair->firstVertex ? stair->firstVertex->faceColourA
                                           : ColourTriple{kColourChannelUnset, kColourChannelUnset,
                                                          kColourChannelUnset};
    return fields;
}

void BuildStairLanding(PlanObject* stair, float* left, float* right, const PlanVertex* leftCorner,
                       const PlanVertex* leftNext, const PlanVertex* rightCorner,
                       const PlanVertex* rightNext, float totalRise, float y)
{
    if (!stair || !left || !right || !leftCorner || !leftNext || !rightCorner || !rightNext ||
        !activeDocument || !activeDocument->settings)
        return;
    FlightLook look = StairLook(stair, y);
    const float width = PlanLength(look, ReadStairFields(stair).width);
    // The side with the shorter way left to its corner is the inside of the turn.
    float leftOver = Distance2D(left[0], left[2], leftCorner->position[0], leftCorner->position[2]);
    float rightOver =
        Distance2D(right[0], right[2], rightCorner->position[0], rightCorner->position[2]);
    const bool leftInside = leftOver <= rightOver;
    const PlanVertex* inside = leftInside ? leftCorner : rightCorner;
    const PlanVertex* insideNext = leftInside ? leftNext : rightNext;
    const PlanVertex* outside = leftInside ? rightCorner : leftCorner;
    const float* outsideEnd = leftInside ? right : left;

    float run = 0.0f;
    float angle = AngleBetweenPoints(inside->position[0], inside->position[2],
                                     insideNext->position[0], insideNext->position[2], &run);
    const float insidePoint[3] = {inside->position[0], y, inside->position[2]};
    const float outsidePoint[3] = {outside->position[0], y, outside->position[2]};
    const float endPoint[3] = {outsideEnd[0], y, outsideEnd[2]};
    float farEnd[3];
    Offset(insidePoint, leftInside ? angle - kHalfPi : angle + kHalfPi, width, farEnd);

    const float lower = y - stairRunState.accumulatedHeight;
    const float thickness = look.riser > 0.0f ? look.riser : 15.0f;
    const float corners[4][2] = {{endPoint[0], endPoint[2]},
                                 {outsidePoint[0], outsidePoint[2]},
                                 {farEnd[0], farEnd[2]},
                                 {insidePoint[0], insidePoint[2]}};
    const float lowers[4] = {lower, lower, lower, lower};
    PlanObject* landing =
        AddSlab(stair, 43, corners, lowers, thickness, look.treadTexture, look.treadColour);
    if (landing)
        landing->colourA = look.sideColour;
    const bool outsideIsLeft = !leftInside;
    BuildStepSidePiece(look, endPoint, outsidePoint, outsideIsLeft, lower - thickness);
    BuildStepSidePiece(look, outsidePoint, farEnd, outsideIsLeft, lower - thickness);
    stairRunState.accumulatedHeight += look.riser;

    if (look.framing) {
        BuildLandingRail(look, endPoint, outsidePoint, outsideIsLeft, false, false);
        BuildLandingRail(look, outsidePoint, farEnd, outsideIsLeft, false, false);
    } else {
        uint32_t insideRailing = leftInside ? look.leftRailing : look.rightRailing;
        uint32_t outsideRailing = leftInside ? look.rightRailing : look.leftRailing;
        if (insideRailing == 1) {
            float distance = 0.0f;
            float towards = AngleBetweenPoints(insidePoint[0], insidePoint[2], outsidePoint[0],
                                               outsidePoint[2], &distance);
            float post[3];
            Offset(insidePoint, towards, 5.0f / 1.5f, post);
            post[1] = y - stairRunState.accumulatedHeight;
            AddPostBox(post, towards, stair, look.railingHeight + 4.0f, 0, look.railingTexture,
                       look.railingColour);
        }
        if (outsideRailing == 1) {
            BuildLandingRail(look, endPoint, outsidePoint, outsideIsLeft, true, true);
            BuildLandingRail(look, outsidePoint, farEnd, outsideIsLeft, false, true);
        }
    }
    // The next flight starts on the new edge.
    float* insideStart = leftInside ? left : right;
    float* outsideStart = leftInside ? right : left;
    insideStart[0] = insidePoint[0];
    insideStart[1] = y;
    insideStart[2] = insidePoint[2];
    outsideStart[0] = farEnd[0];
    outsideStart[1] = y;
    outsideStart[2] = farEnd[2];
    (void)totalRise;
}

PlanObject* BuildStraightStair(PlanObject* stair, float totalRise)
{
    if (!stair || !stair->firstVertex || !activeDocument || !activeDocument->settings)
        return stair;
    StairFields fields = ReadStairFields(stair);
    float half = UnitsToPlanLength(fields.width / 2.0f, activeDocument->settings, 0);
    PlanObject* leftEdge = BuildOffsetWallGroupVariant(stair, kOffsetSideLeft, half);
    PlanObject* rightEdge = BuildOffsetWallGroupVariant(stair, kOffsetSideRight, half);
    if (leftEdge && rightEdge && leftEdge->firstVertex && rightEdge->firstVertex) {
        PlanVertex* l = leftEdge->firstVertex;
        PlanVertex* r = rightEdge->firstVertex;
        const float y = l->position[1];
        float left[3] = {l->position[0], y, l->position[2]};
        float right[3] = {r->position[0], y, r->position[2]};
        while (l->next && r->next && stairRunState.accumulatedHeight < totalRise &&
               !PieceBudget::Spent()) {
            if (!l->next->next || !r->next->next)
                stairRunState.lastSegment = 1;
            BuildStepsBetweenEdges(stair, left, l->next->position, right, r->next->position,
                                   totalRise, y, stair->parameters[1], fields.treadDepth,
                                   fields.leftRailing, fields.rightRailing, fields.railingHeight,
                                   fields.treadTexture, fields.treadColour, 0, fields.sideColour,
                                   fields.railingTexture, fields.railingColour, 1);
            stairRunState.firstEdgePending = 0;
            l = l->next;
            r = r->next;
            if (l->next && r->next && stairRunState.accumulatedHeight < totalRise)
                BuildStairLanding(stair, left, right, l, l->next, r, r->next, totalRise, y);
        }
    }
    FreeObject(leftEdge);
    FreeObject(rightEdge);
    return stair;
}

void RebuildStair(PlanObject* stair)
{
    if (!stair || stair->type != ObjStair || !activeDocument || !activeDocument->settings)
        return;
    if (stair->rows != 1 || stair->vertexCount < 2 || CountVertexChain(stair) < 2)
        return;
    PlanSettings* settings = activeDocument->settings;
    StairRebuildScope scope{stair,         settings,      stair->parameters[1], stair->imageId2,
                            stair->offsetSide, stair->value4, settings->recomputeValue};
    if (settings->framingStyle) {
        stair->imageId2 = kFramingBlockTexture;
        stair->offsetSide = 0;
        stair->value4 = 0;
    }
    RebuildWaitCursor wait;
    PieceBudget budget;
    RemoveObjectPolygons(stair);
    FreeGeneratedParts(stair);
    ClearObjectVertexSlopes(stair);
    const bool curved = stair->subType != kStraightStair;
    if (curved)
        RecomputeObject(stair);

    // n risers always reach the total rise.
    float rise = stair->parameters[4];
    double count = StairRiserCount(rise, stair->parameters[1]);
    if (count < 1.0)
        return;
    stair->parameters[1] = (float)((double)rise / count) + 0.01f;
    const float totalRise = UnitsToPlanLength(rise, settings, 0);
    stairRunState.accumulatedHeight = 0.0f;
    stairRunState.firstEdgePending = 1;
    stairRunState.lastSegment = 0;
    stairRunState.lastStep = 0;
    if (curved)
        BuildCurvedStair(stair, totalRise);
    else
        BuildStraightStair(stair, totalRise);
}

double StairRiserCount(float totalRise, float riserHeight)
{
    if (!(riserHeight > 0.0f) || !isfinite(riserHeight) || !isfinite(totalRise))
        return 0.0;
    double count = floor((double)totalRise / riserHeight + 0.5);
    return count < 1.0 ? 1.0 : count;
}

void RebuildAllStairs(PlanFloor* firstFloor)
{
    ForEachShownObject(firstFloor, RebuildStair);
}
