#include "tools/floor_stair_deck_tools.h"
#include "model/deck_parts.h"
#include "model/object_copies.h"
#include "model/generated_children.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/texture_coords.h"
#include "model/units.h"
#include "model3d/railings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/stairs.h"
#include "tools/placement_drag.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

uint32_t floorTexture = 1700;

namespace {

const ColourTriple kUnset = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
const int16_t kSlabPreview = 13;
const int16_t kOpenPreview = 9;
const int16_t kRailingPreview = 45;
const int16_t kDeckPreview = 51;
const uint32_t kStraightStair = 800;
const uint32_t kStraightRailing = 802;
const uint32_t kCurvedRailing = 803;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// What every one of these objects starts from: type, sub-type, category, colours unset,
// the two material slots, and unset colours on every vertex.
void SetCommonFields(PlanObject* object, uint16_t type, uint32_t subType, uint32_t category,
                     uint32_t slot1, uint32_t slot2)
{
    object->type = type;
    object->subType = subType;
    object->category = category;
    object->colourA = kUnset;
    object->colourB = kUnset;
    object->imageId1 = slot1;
    object->imageId2 = slot2;
    for (PlanVertex* v = object->firstVertex; v; v = v->next) {
        v->faceColourA = kUnset;
        v->faceColourB = kUnset;
    }
}

void SetFaceTextures(PlanObject* object, uint32_t texture)
{
    for (PlanVertex* v = object->firstVertex; v; v = v->next) {
        v->faceTextureA = texture;
        v->faceTextureB = texture;
    }
}

void Finish(PlanObject* object)
{
    UpdateObjectExtents(object);
    BuildObject3D(object);
    pendingObject = object;
    undoAvailable = 1;
}

PlanObject* Gesture(int32_t wx, int32_t wy, float x, float y, float z, int16_t event, uint8_t smooth,
                    uint8_t closed, int16_t preview)
{
    if (!Settings())
        return nullptr;
    PlanObject* outline = TrackPlacementDrag(wx, wy, x, y, z, event, smooth, closed, 1, preview);
    if (outline && closed && RefuseThinOutline(outline))
        return nullptr;
    return outline;
}

float StoreyHeight()
{
    const PlanFloor* storey = activeDocument->currentFloor;
    return storey ? storey->height : kDefaultFloorHeight;
}

void MakeRailing(PlanObject* railing, uint32_t subType, bool deckTab)
{
    const PlanSettings* s = Settings();
    SetCommonFields(railing, ObjRailing, subType, deckTab ? kCategoryDeck : kCategoryFloorPlan, 2206, 0);
    SetFaceTextures(railing, 0);
    railing->parameters[0] = s->railingHeight;
    railing->parameters[1] = s->railingBalusterSpacing;
    railing->offsetSide = s->railingFlag820 ? 1 : 0;
    railing->value4 = s->railingFlag821 ? 1 : 0;
    RebuildRailing(railing);
    Finish(railing);
}

}  // namespace

bool RefuseThinOutline(PlanObject* outline)
{
    if (!outline || CountVertexChain(outline) >= 3)
        return false;
    ForgetPendingObject(outline);
    FreeObject(outline);
    return true;
}

void HandleFloorTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanObject* slab = Gesture(wx, wy, x, y, z, event, 0, 1, kSlabPreview);
    if (!slab)
        return;
    const bool opening = currentToolId == 7060;
    SetCommonFields(slab, opening ? ObjFloorOpening : ObjFloorSlab, 0, kCategoryFloorPlan, floorTexture, 0);
    slab->styleOrTexture = 0;
    slab->parameters[2] = Settings()->floorToolDefaults[4];
    ComputeProjectionExtents(slab);
    ComputeMeshTextureCoords(slab);
    SetFaceTextures(slab, floorTexture);
    // The slab's top lies one unit above the drawn outline (y grows downward).
    for (PlanVertex* v = slab->firstVertex; v; v = v->next)
        v->position[1] -= 1.0f;
    RebuildSlabChildren(slab);
    Finish(slab);
}

void HandleStraightStairTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanObject* stair = Gesture(wx, wy, x, y, z, event, 0, 0, kOpenPreview);
    if (!stair)
        return;
    const PlanSettings* s = Settings();
    const bool deckTab = currentToolId == 7604;
    SetCommonFields(stair, ObjStair, kStraightStair, deckTab ? kCategoryDeck : kCategoryFloorPlan, 2206,
                    deckTab ? 2207 : 1700);
    SetFaceTextures(stair, 0);
    stair->parameters[0] = s->stairWidth;
    stair->parameters[1] = s->stairRiserHeight;
    stair->parameters[2] = s->stairTreadDepth;
    stair->parameters[3] = s->stairRailingHeight;
    stair->parameters[4] = StoreyHeight();
    stair->offsetSide = s->stairRailingFirstSide ? 1 : 0;
    stair->value4 = s->stairRailingSecondSide ? 1 : 0;
    RebuildStair(stair);
    Finish(stair);
}

void HandleStraightRailingTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanObject* railing = Gesture(wx, wy, x, y, z, event, 0, 0, kRailingPreview);
    if (railing)
        MakeRailing(railing, kStraightRailing, currentToolId == 7602);
}

void HandleCurvedRailingTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanObject* railing = Gesture(wx, wy, x, y, z, event, 1, 0, kRailingPreview);
    if (railing)
        MakeRailing(railing, kCurvedRailing, currentToolId == 7603);
}

void HandleDeckTool(int32_t wx, int32_t wy, float x, float y, float z, int16_t event)
{
    PlanObject* deck = Gesture(wx, wy, x, y, z, event, 0, 1, kDeckPreview);
    if (!deck)
        return;
    const PlanSettings* s = Settings();
    SetCommonFields(deck, ObjDeck, 0, kCategoryDeck, 2300, 2210);
    deck->styleOrTexture = 1301;
    deck->parameters[0] = s->deckHeight;
    deck->parameters[1] = s->deckBalusterSpacing;
    ComputeProjectionExtents(deck);
    ComputeMeshTextureCoords(deck);
    SetFaceTextures(deck, 2300);
    // The deck stands its height above the ground: y grows downward.
    const float height = -UnitsToPlanLength(s->deckHeight, s, 0);
    const uint32_t railing = currentToolId == 7600 ? 1 : 0;
    for (PlanVertex* v = deck->firstVertex; v; v = v->next) {
        v->position[1] = height;
        v->segmentFlags = railing | (s->deckSegmentFlag1432 ? 4u : 0u);
        v->mainHeight = s->deckRailingHeight;
    }
    RebuildDeck(deck);
    Finish(deck);
}
