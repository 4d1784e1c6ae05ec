#include "model/deck_parts.h"
#include "model3d/generator_limits.h"
#include "model/object_copies.h"
#include "model/outline_offsets.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/wall_openings.h"
#include "model3d/array_objects.h"
#include "model3d/generated_parts.h"
#include "model3d/railings.h"
#include "model3d/stairs.h"
#include "planview/plan_redraw.h"
#include "render3d/object_polygons.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"
#include <algorithm>
#include <initializer_list>
#include <vector>

namespace {

const float kHalfPi = 1.5707963267948966f;
const uint32_t kDeckRailingFlag = 1;
const uint32_t kDeckGroundFlag = 4;
// Margins of steps on their side: placing leaves 11.0 in all; refitting keeps 3.0 to
// the usable span and moves a step to 8.0 from it, narrowing it to leave 13.0.
const float kPlacingMargin = 11.0f;
const float kSideMargin = 3.0f;
const float kRefitOffset = 8.0f;
const float kRefitNarrowing = 13.0f;
const float kEdgeFaceDepth = 12.0f;
const float kTargetRiser = 7.0f;
const float kStepTread = 10.0f;

const char* const kStepsDoNotFit =
    "E' stato accorciato un lato di terrazza oppure è stato inserito un gradino più ampio "
    "del lato della terrazza: eliminare uno o più gradini.";

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

void TellStepsDoNotFit()
{
    ShowMessageBox(nullptr, kStepsDoNotFit, applicationTitle,
                   MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

OpeningRecord* StepRecord(PlanObject* step)
{
    if (!step || step->type != ObjDeckSteps || !step->link)
        return nullptr;
    return static_cast<OpeningRecord*>(step->link);
}

// The record of a step whose side vertices are still vertices of its deck.
OpeningRecord* PlacedStepRecord(PlanObject* deck, PlanObject* step)
{
    OpeningRecord* record = StepRecord(step);
    if (!record || !IsVertexOfObject(deck, record->startVertex) ||
        !IsVertexOfObject(deck, record->endVertex))
        return nullptr;
    return record;
}

void Along(const PlanVertex* from, float angle, float distance, float* out)
{
    float dx = 0.0f;
    float dz = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dz);
    out[0] = from->position[0] + dx;
    out[1] = from->position[1];
    out[2] = from->position[2] + dz;
}

float SideAngle(const PlanVertex* a, const PlanVertex* b, float* length)
{
    return AngleBetweenPoints(a->position[0], a->position[2], b->position[0], b->position[2],
                              length);
}

void SetStepEnds(PlanObject* step, const PlanVertex* a, float angle, float centre, float width)
{
    PlanVertex* first = step->firstVertex;
    PlanVertex* second = first ? first->next : nullptr;
    if (!second)
        return;
    float p[3];
    Along(a, angle, centre - width / 2.0f, p);
    first->position[0] = p[0];
    first->position[1] = 0.0f;
    first->position[2] = p[2];
    Along(a, angle, centre + width / 2.0f, p);
    second->position[0] = p[0];
    second->position[1] = 0.0f;
    second->position[2] = p[2];
    step->vertexCount = 2;
    UpdateObjectExtents(step);
}

// Deck materials handed to the railing and step builders.
struct DeckLook {
    uint32_t texture;
    ColourTriple colour;
    uint32_t railingTexture;
    ColourTriple railingColour;
    float balusterSpacing;  // display units
};

DeckLook ReadLook(const PlanObject* deck)
{
    DeckLook look;
    look.texture = deck->styleOrTexture;
    look.colour = deck->colourA;
    look.railingTexture = deck->imageId2;
    look.railingColour = deck->colour4;
    look.balusterSpacing = deck->parameters[1];
    return look;
}

// The vertical face under the side v -> n: down to the ground, or 12.0 deep.
void BuildDeckEdge(PlanObject* deck, PlanVertex* v, PlanVertex* n, PlanFloor* floor)
{
    float bottom = (v->segmentFlags & kDeckGroundFlag) ? 0.0f : v->position[1] + kEdgeFaceDepth;
    Point3f upper[2] = {{v->position[0], v->position[1], v->position[2]},
                        {n->position[0], n->position[1], n->position[2]}};
    Point3f lower[2] = {{v->position[0], bottom, v->position[2]},
                        {n->position[0], bottom, n->position[2]}};
    Point3f zero[2] = {};
    PlanObject* face = CreateSurfaceFromArrays(upper, lower, zero, zero, zero, zero, 2, floor, 1);
    if (!face)
        return;
    UnlinkObject(face);
    face->type = ObjDeckPart;
    face->closed = 0;
    for (PlanVertex* w = face->firstVertex; w; w = w->next) {
        w->faceTextureA = deck->styleOrTexture;
        w->faceTextureB = deck->styleOrTexture;
        w->faceColourA = deck->colourA;
        w->faceColourB = deck->colourA;
    }
    AppendGeneratedPart(deck, face);
}

void BuildDeckRailing(PlanObject* deck, PlanVertex* v, PlanVertex* n)
{
    if (!Settings())
        return;
    DeckLook look = ReadLook(deck);
    float railingHeight = v->mainHeight;
    float postHeight = railingHeight + 4.0f;
    float length = 0.0f;
    float angle = SideAngle(v, n, &length);

    std::vector<PlanObject*> steps;
    for (PlanObject* child = deck->firstChild; child; child = child->next) {
        OpeningRecord* record = PlacedStepRecord(deck, child);
        if (record && record->startVertex == v)
            steps.push_back(child);
    }
    std::stable_sort(steps.begin(), steps.end(), [](PlanObject* a, PlanObject* b) {
        return StepRecord(a)->distanceFromStart < StepRecord(b)->distanceFromStart;
    });

    AddPostBox(v->position, angle, deck, postHeight, 0, look.railingTexture, look.railingColour);
    if (steps.empty()) {
        BuildRailSegment(v->position, n->position, angle, deck, railingHeight,
                         look.balusterSpacing, look.railingTexture, look.railingColour);
    } else {
        int16_t winding = GetPolygonWinding(deck);
        float current[3] = {v->position[0], v->position[1], v->position[2]};
        for (PlanObject* step : steps) {
            OpeningRecord* record = StepRecord(step);
            float gap = record->width > length ? length / 2.0f : record->width / 2.0f;
            float e1[3];
            float e2[3];
            Along(v, angle, record->distanceFromStart - gap, e1);
            Along(v, angle, record->distanceFromStart + gap, e2);
            BuildRailSegment(current, e1, angle, deck, railingHeight, look.balusterSpacing,
                             look.railingTexture, look.railingColour);
            bool firstFlag = record->glazingBarsAcross != 0;
            bool secondFlag = record->glazingBarsDown != 0;
            const float* postA = winding == 1 ? e2 : e1;
            const float* postB = winding == 1 ? e1 : e2;
            if (!secondFlag)
                AddPostBox(postA, angle, deck, postHeight, 0, look.railingTexture,
                           look.railingColour);
            if (!firstFlag)
                AddPostBox(postB, angle, deck, postHeight, 0, look.railingTexture,
                           look.railingColour);
            for (int k = 0; k < 3; ++k)
                current[k] = e2[k];
        }
        BuildRailSegment(current, n->position, angle, deck, railingHeight, look.balusterSpacing,
                         look.railingTexture, look.railingColour);
    }
    if (!(n->segmentFlags & kDeckRailingFlag))
        AddPostBox(n->position, angle, deck, postHeight, 0, look.railingTexture,
                   look.railingColour);
}

void BuildDeckSteps(PlanObject* deck, PlanVertex* a, PlanVertex* b, PlanObject* step)
{
    PlanSettings* settings = Settings();
    OpeningRecord* record = StepRecord(step);
    if (!settings || !record)
        return;
    float rise = PlanLengthToUnits(record->height, settings, 0);
    if (rise > deck->parameters[0])
        rise = deck->parameters[0];
    // A rise of 0 or below makes no step at all.
    if (!(rise > 0.0f))
        return;
    int32_t count = (int32_t)(rise / kTargetRiser + 0.5f);
    if (count < 1)
        count = 1;
    float riser = rise / (float)count;
    float totalRise = UnitsToPlanLength(rise, settings, 0);
    float tread = UnitsToPlanLength(kStepTread, settings, 0);

    float length = 0.0f;
    float angle = SideAngle(a, b, &length);
    float gap = record->width > length ? length / 2.0f : record->width / 2.0f;
    float upperA[3];
    float upperB[3];
    Along(a, angle, record->distanceFromStart + gap, upperA);
    Along(a, angle, record->distanceFromStart - gap, upperB);
    float outward = GetPolygonWinding(deck) == 1 ? angle - kHalfPi : angle + kHalfPi;
    float dx = 0.0f;
    float dz = 0.0f;
    OffsetPointPolar(outward, (float)count * tread, &dx, &dz);
    float lowerA[3] = {upperA[0] + dx, upperA[1], upperA[2] + dz};
    float lowerB[3] = {upperB[0] + dx, upperB[1], upperB[2] + dz};

    // The flight climbs from the ground at the outer edge up to the deck side. Its left
    // edge lies a quarter turn counter-clockwise from the walking direction (inwards).
    float leftX = 0.0f;
    float leftZ = 0.0f;
    OffsetPointPolar(outward + 3.0f * kHalfPi, 1.0f, &leftX, &leftZ);
    bool aIsLeft = (upperA[0] - upperB[0]) * leftX + (upperA[2] - upperB[2]) * leftZ > 0.0f;
    float* leftStart = aIsLeft ? lowerA : lowerB;
    float* leftEnd = aIsLeft ? upperA : upperB;
    float* rightStart = aIsLeft ? lowerB : lowerA;
    float* rightEnd = aIsLeft ? upperB : upperA;

    DeckLook look = ReadLook(deck);
    float ground = a->position[1] + totalRise;
    stairRunState.accumulatedHeight = 0.0f;
    stairRunState.firstEdgePending = 1;
    stairRunState.lastSegment = 1;
    stairRunState.lastStep = 0;
    BuildStepsBetweenEdges(deck, leftStart, leftEnd, rightStart, rightEnd, totalRise, ground,
                           riser, kStepTread, record->glazingBarsAcross ? 1 : 0,
                           record->glazingBarsDown ? 1 : 0, a->mainHeight, look.texture,
                           look.colour, look.texture, look.colour, look.railingTexture,
                           look.railingColour, (a->segmentFlags & kDeckGroundFlag) ? 1 : 0);
}

} // namespace

void BuildKind53OnSegment(PlanObject* deck, PlanVertex* a, PlanVertex* b)
{
    PlanSettings* settings = Settings();
    if (!settings || !deck || deck->type != ObjDeck || !a || !b)
        return;
    if (!IsVertexOfObject(deck, a) || !IsVertexOfObject(deck, b))
        return;
    float length = 0.0f;
    float angle = SideAngle(a, b, &length);
    float centre = length / 2.0f;
    float height = UnitsToPlanLength(settings->deckStepsHeight, settings, 0);
    float width = UnitsToPlanLength(settings->deckStepsWidth, settings, 0);
    if (width > length - kPlacingMargin)
        width = length - kPlacingMargin;
    if (!(width > 0.0f)) {
        // No step of zero or negative width: the side is too short for any.
        TellStepsDoNotFit();
        return;
    }

    const ColourTriple unset = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
    PlanObject* step = CreateObject(ObjDeckSteps, 0, 1, &settings->newObjectColour, &unset, 1.0f,
                                    6, 0, nullptr, nullptr, nullptr, deck,
                                    activeDocument->currentFloor, nullptr);
    if (!step)
        return;
    OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
    if (!record) {
        FreeObject(step);
        return;
    }
    step->styleOrTexture = 0;
    float p[3];
    for (float offset : {centre - width / 2.0f, centre + width / 2.0f}) {
        Along(a, angle, offset, p);
        PlanVertex* vertex =
            NewVertexNode(1, 1, 0, 0, 0, 0, p[0], 0.0f, p[2], 0, 0, 0, 0, 0, 0, step);
        if (!vertex) {
            ReleaseRecord(record);
            FreeObject(step);
            return;
        }
        AddObjectPoint(vertex, step);
    }
    AppendToObjectList(&deck->firstChild, step);
    step->vertexCount = 2;
    UpdateObjectExtents(step);

    record->typeCopy = ObjDeckSteps;
    record->style = 0;
    record->startVertex = a;
    record->endVertex = b;
    record->distanceFromStart =
        Distance2D(a->position[0], a->position[2], step->firstVertex->position[0],
                   step->firstVertex->position[2]) +
        width / 2.0f;
    record->distanceToEnd = length - record->distanceFromStart;
    record->width = width;
    record->height = height;
    record->elevation = 0.0f;
    record->glazingBarsAcross = 1;
    record->glazingBarsDown = 1;
    step->link = record;
}

int16_t FitOneDeckStep(PlanObject* step)
{
    if (!Settings() || !step)
        return 0;
    PlanObject* deck = step->owner;
    if (!deck || !deck->floor)
        return 0;
    OpeningRecord* record = PlacedStepRecord(deck, step);
    if (!record)
        return 0;
    const PlanVertex* a = record->startVertex;
    float length = 0.0f;
    float angle = SideAngle(a, record->endVertex, &length);
    float span = length - 2.0f * kSideMargin;
    float width = record->width;
    if (span - kRefitNarrowing < width) {
        width = span - kRefitNarrowing;
        record->width = width;
    }
    // A side too short for any step would leave one of zero or negative width.
    if (!(width > 0.0f)) {
        FreeObject(step);
        return 1;
    }
    float centre = record->distanceFromStart;
    if (width / 2.0f + kSideMargin > centre)
        centre = width / 2.0f + kRefitOffset;
    if (centre + width / 2.0f - kSideMargin > span)
        centre = span - (width / 2.0f + kRefitOffset);
    if (width / 2.0f + kSideMargin <= centre && centre + width / 2.0f - kSideMargin <= span) {
        record->distanceFromStart = centre;
        record->distanceToEnd = length - centre;
        SetStepEnds(step, a, angle, centre, width);
        return 0;
    }
    FreeObject(step);
    return 1;
}

int16_t FitDeckSteps(PlanObject* deck)
{
    if (!deck || deck->type != ObjDeck)
        return 0;
    int16_t removed = 0;
    PlanObject* child = deck->firstChild;
    while (child) {
        PlanObject* next = child->next;
        removed += FitOneDeckStep(child);
        child = next;
    }
    if (removed) {
        TellStepsDoNotFit();
        InvalidatePlanView();
    }
    return removed;
}

void FitFloorDeckSteps(PlanFloor* floor)
{
    ForEachShownFloorObject(floor, FitDeckSteps);
}

void FitAllDeckSteps(PlanFloor* firstFloor)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        FitFloorDeckSteps(floor);
}

void RebuildDeck(PlanObject* deck)
{
    if (!deck || deck->type != ObjDeck)
        return;
    RemoveObjectPolygons(deck);
    FreeGeneratedParts(deck);
    FitDeckSteps(deck);
    if (!activeDocument)
        return;
    PlanFloor* floor = deck->floor ? deck->floor : activeDocument->currentFloor;
    if (!floor)
        return;
    // The railings of all its sides and its steps share one limit of pieces.
    PieceBudget budget;
    PlanVertex* first = deck->firstVertex;
    for (PlanVertex* v = first; v; v = v->next) {
        PlanVertex* n = v->next ? v->next : first;
        if (v->segmentFlags & kDeckRailingFlag)
            BuildDeckRailing(deck, v, n);
        BuildDeckEdge(deck, v, n, floor);
    }
    for (PlanObject* child = deck->firstChild; child; child = child->next) {
        OpeningRecord* record = PlacedStepRecord(deck, child);
        if (record)
            BuildDeckSteps(deck, record->startVertex, record->endVertex, child);
    }
}

void RebuildDecksOnFloor(PlanFloor* floor)
{
    ForEachShownFloorObject(floor, RebuildDeck);
}

void RebuildAllDecks(PlanFloor* firstFloor)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        RebuildDecksOnFloor(floor);
}
