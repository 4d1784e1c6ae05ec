#include "model3d/railings.h"
#include "model3d/generated_parts.h"
#include "model3d/generator_limits.h"
#include "model3d/rebuild_wait_cursor.h"
#include "model3d/stairs.h"
#include "model/hermite.h"
#include "model/object_copies.h"
#include "model/outline_offsets.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "render3d/object_polygons.h"
#include <windows.h>

namespace {

const uint16_t kStraightRailing = 802;

// Balusters a curved walk may still lay in this rebuild: a damaged length or spacing
// cannot make it run on for ever.
int32_t stationsLeft = 0;

struct RailingLook {
    PlanObject* railing;
    float height;           // display units
    float spacing;          // display units
    bool endPosts;
    uint32_t texture;
    ColourTriple colour;
};

RailingLook ReadLook(PlanObject* railing)
{
    RailingLook look;
    look.railing = railing;
    look.height = railing->parameters[0];
    look.spacing = railing->parameters[1];
    look.endPosts = railing->offsetSide != 0;
    look.texture = railing->imageId1;
    look.colour = railing->colour3;
    return look;
}

float PlanLength(float units)
{
    return UnitsToPlanLength(units, activeDocument ? activeDocument->settings : nullptr, 0);
}

void StartRebuild(PlanObject* railing)
{
    RemoveObjectPolygons(railing);
    FreeGeneratedParts(railing);
}

void BuildStraightRailing(PlanObject* railing)
{
    RebuildWaitCursor wait;
    StartRebuild(railing);
    ClearObjectVertexSlopes(railing);
    RailingLook look = ReadLook(railing);
    stairRunState.firstStationPending = 1;
    float postHeight = look.height + 4.0f;
    for (PlanVertex* v = railing->firstVertex; v && v->next; v = v->next) {
        PlanVertex* n = v->next;
        float length = 0.0f;
        float angle =
            AngleBetweenPoints(v->position[0], v->position[2], n->position[0], n->position[2],
                               &length);
        if (stairRunState.firstStationPending && look.endPosts) {
            AddPostBox(v->position, angle, railing, postHeight, 0, look.texture, look.colour);
            stairRunState.firstStationPending = 0;
        }
        BuildRailSegment(v->position, n->position, angle, railing, look.height, look.spacing,
                         look.texture, look.colour);
        if (look.endPosts)
            AddPostBox(n->position, angle, railing, postHeight, 0, look.texture, look.colour);
    }
}

// A baluster at the station and, from the second station on, the top and bottom rails
// back to the previous one.
void BuildCurvedRailingStation(const RailingLook& look, const float* station, float angle)
{
    float h = PlanLength(look.height + 0.5f);
    AddGeneratedColumn(look.railing, 39, station[0], station[2], angle, 1.0f, station[1],
                       station[1] - h, look.texture, look.colour);
    stairRunState.balusterCount++;
    float* previous = stairRunState.previousStation;
    if (stairRunState.firstStationPending) {
        stairRunState.firstStationPending = 0;
    } else {
        float corners[4][2];
        CornersAroundLine(previous[0], previous[2], station[0], station[2], angle, 2.0f, corners);
        Point3f bottom[4];
        Point3f top[4];
        const float ends[4] = {previous[1], station[1], station[1], previous[1]};
        for (int i = 0; i < 4; ++i) {
            bottom[i] = {corners[i][0], ends[i] - h, corners[i][1]};
            top[i] = {corners[i][0], ends[i] - h - 2.0f, corners[i][1]};
        }
        AddGeneratedSolid(look.railing, 44, bottom, top, 4, look.texture, look.colour);
        stairRunState.handrailLength += Distance3D(previous[0], previous[1], previous[2],
                                                   station[0], station[1], station[2]);
        for (int i = 0; i < 4; ++i) {
            bottom[i] = {corners[i][0], ends[i], corners[i][1]};
            top[i] = {corners[i][0], ends[i] - 2.0f, corners[i][1]};
        }
        AddGeneratedSolid(look.railing, 44, bottom, top, 4, look.texture, look.colour);
    }
    for (int k = 0; k < 3; ++k)
        previous[k] = station[k];
}

// Places a station every spacing along the straight piece, carrying the remainder on to
// the next piece.
void WalkCurvedRailingPiece(const RailingLook& look, const float* from, const float* to)
{
    StationWalk& walk = stairRunState.walk;
    float length = 0.0f;
    float angle = AngleBetweenPoints(from[0], from[2], to[0], to[2], &length);
    float consumed = 0.0f;
    while (length > 0.0f && stationsLeft > 0 && !PieceBudget::Spent()) {
        float need = walk.spacing - walk.carried;
        if (need <= length) {
            consumed += need;
            float dx = 0.0f;
            float dz = 0.0f;
            OffsetPointPolar(angle, consumed, &dx, &dz);
            const float station[3] = {from[0] + dx, from[1], from[2] + dz};
            --stationsLeft;
            BuildCurvedRailingStation(look, station, angle);
            length -= need;
            walk.carried = 0.0f;
        } else {
            walk.carried += length;
            length = 0.0f;
        }
    }
}

// Walks the Hermite curve from a to b in 6 x curve-steps straight pieces.
void BuildCurvedRailingSegment(const RailingLook& look, const PlanVertex* a, const PlanVertex* b)
{
    float coefficients[3][4];
    ComputeVertexSegmentCoefficients(a, b, coefficients);
    int32_t pieces = 6 * static_cast<int32_t>(UsableCurveSteps(activeDocument->settings));
    float previous[3] = {0.0f, 0.0f, 0.0f};
    for (int32_t i = 0; i <= pieces; ++i) {
        float t = (float)i / (float)pieces;
        float point[3];
        EvaluateSegmentCoefficients(coefficients, t, point);
        if (i > 0)
            WalkCurvedRailingPiece(look, previous, point);
        for (int k = 0; k < 3; ++k)
            previous[k] = point[k];
    }
}

void BuildCurvedRailing(PlanObject* railing)
{
    PlanSettings* settings = activeDocument->settings;
    RebuildWaitCursor wait;
    StartRebuild(railing);
    // The curve tension that RecomputeObject reads; the build leaves it as it found it.
    uint16_t saved = settings->recomputeValue;
    ClearObjectVertexSlopes(railing);
    RecomputeObject(railing);

    RailingLook look = ReadLook(railing);
    float postHeight = look.height + 4.0f;
    InitRailingStationWalk(&stairRunState.walk, railing);
    stairRunState.firstStationPending = 1;
    stationsLeft = kMaxGeneratedPieces;

    PlanVertex* first = railing->firstVertex;
    if (first->next && look.endPosts) {
        float length = 0.0f;
        float angle = AngleBetweenPoints(first->position[0], first->position[2],
                                         first->next->position[0], first->next->position[2],
                                         &length);
        AddPostBox(first->position, angle, railing, postHeight, 0, look.texture, look.colour);
    }
    PlanVertex* last = first;
    for (PlanVertex* v = first; v->next; v = v->next) {
        BuildCurvedRailingSegment(look, v, v->next);
        last = v->next;
    }
    if (look.endPosts && last->previous) {
        float length = 0.0f;
        float angle = AngleBetweenPoints(last->previous->position[0], last->previous->position[2],
                                         last->position[0], last->position[2], &length);
        AddPostBox(last->position, angle, railing, postHeight, 0, look.texture, look.colour);
    }
    settings->recomputeValue = saved;
}

} // namespace

void InitRailingStationWalk(StationWalk* walk, PlanObject* railing)
{
    if (!walk || !railing || railing->type != ObjRailing)
        return;
    if (!activeDocument || !activeDocument->settings)
        return;
    float spacing = PlanLength(railing->parameters[1]);
    // A spacing of 0 or below would never move the walk on.
    if (!(spacing > 0.0f))
        spacing = 1.0f;
    walk->spacing = spacing;
    walk->carried = spacing;
}

void AddPostBox(const float* point, float angle, PlanObject* owner, float height,
                uint8_t toGround, uint32_t texture, ColourTriple colour)
{
    if (!point || !owner)
        return;
    float h = PlanLength(height);
    float bottom = toGround ? 0.0f : point[1];
    AddGeneratedColumn(owner, 39, point[0], point[2], angle, 4.0f, bottom, point[1] - h, texture,
                       colour);
    stairRunState.postCount++;
}

void BuildRailSegment(const float* start, const float* end, float angle, PlanObject* owner,
                      float height, float spacing, uint32_t texture, ColourTriple colour)
{
    if (!start || !end || !owner)
        return;
    float h = PlanLength(height);
    float s = PlanLength(spacing);
    // 0 counts as 1.0; so do negative or unreadable spacings.
    if (!(s > 0.0f))
        s = 1.0f;
    float length = Distance2D(start[0], start[2], end[0], end[2]);
    double wanted = (double)length / s + 0.5;
    int32_t count = 1;
    if (wanted >= 1.0)
        count = wanted > kMaxGeneratedPieces ? kMaxGeneratedPieces : (int32_t)wanted;
    float step = length / (float)count;

    for (int32_t i = 0; i <= count && !PieceBudget::Spent(); ++i) {
        float dx = 0.0f;
        float dz = 0.0f;
        OffsetPointPolar(angle, (float)i * step, &dx, &dz);
        AddGeneratedColumn(owner, 39, start[0] + dx, start[2] + dz, angle, 1.0f, start[1],
                           start[1] - h, texture, colour);
        stairRunState.balusterCount++;
    }

    float corners[4][2];
    CornersAroundLine(start[0], start[2], end[0], end[2], angle, 2.0f, corners);
    const float ends[4] = {start[1], end[1], end[1], start[1]};
    Point3f bottom[4];
    Point3f top[4];
    for (int i = 0; i < 4; ++i) {
        bottom[i] = {corners[i][0], ends[i] - h, corners[i][1]};
        top[i] = {corners[i][0], ends[i] - h - 2.0f, corners[i][1]};
    }
    AddGeneratedSolid(owner, 39, bottom, top, 4, texture, colour);
    stairRunState.handrailLength +=
        Distance3D(start[0], start[1], start[2], end[0], end[1], end[2]);
    for (int i = 0; i < 4; ++i) {
        bottom[i] = {corners[i][0], ends[i], corners[i][1]};
        top[i] = {corners[i][0], ends[i] - 2.0f, corners[i][1]};
    }
    AddGeneratedSolid(owner, 39, bottom, top, 4, texture, colour);
}

void RebuildRailing(PlanObject* railing)
{
    if (!railing || railing->type != ObjRailing)
        return;
    if (!activeDocument || !activeDocument->settings)
        return;
    if (CountVertexChain(railing) < 2 || railing->vertexCount < 2 || railing->rows != 1)
        return;
    // However fine its spacing, one railing lays at most the generator limit of pieces.
    PieceBudget budget;
    if (railing->subType == kStraightRailing)
        BuildStraightRailing(railing);
    else
        BuildCurvedRailing(railing);
}

void RebuildAllRailings(PlanFloor* firstFloor)
{
    ForEachShownObject(firstFloor, RebuildRailing);
}
