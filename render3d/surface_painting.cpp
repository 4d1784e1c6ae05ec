#include "render3d/surface_painting.h"
#include "model/deck_parts.h"
#include "model/generated_children.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/wall_openings.h"
#include "model3d/fences.h"
#include "model3d/railings.h"
#include "model3d/scene_drawing.h"
#include "model3d/scene_polygons.h"
#include "model3d/stairs.h"
#include "planview/output_routing.h"
#include "render3d/high_quality_render.h"
#include "render3d/interactive_view.h"
#include "render3d/object_polygons.h"
#include "render3d/scene_upkeep.h"
#include "render3d/shaded_polygons.h"
#include "tools/roof_tool.h"
#include <GL/gl.h>
#include <stdlib.h>

namespace {

constexpr ColourTriple kUnset = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};

enum class PickHit { Nothing, Ground, Polygon };

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// The four pixels of the pick region in the order a tie goes: the cursor's pixel, its
// left, above and above-left, as (column, row) of the region drawn bottom up.
constexpr int kRegionPixels[4][2] = {{1, 0}, {0, 0}, {1, 1}, {0, 1}};

// The surface the view shows at the point: the view drawn once more with every surface
// in the colour that is its name, over the pick region alone, whose pixels' names and
// depths are then read. The pick matrix maps the region, the cursor's pixel with its
// left, above and above-left, onto the viewport: drawn into a viewport of 2 x 2 at the
// region's own place, each pixel is the view's own, and every one inside the view lies
// on the surface (a view 1 pixel wide has no second column to draw the region into
// elsewhere). Holes cut through the stencil (doors, windows, floor openings) show what
// lies behind them, as in the view. A pixel of the region outside the view (left of its
// first column, above its first row) shows what the view does not and is no candidate.
// The nearest surface the others show wins, at one depth the cursor's pixel first; the
// sky only when none shows one.
PickHit PickAt(int x, int y, PlanSettings* settings, ScenePolygon** hit)
{
    *hit = nullptr;
    pickPointX = (float)x;
    pickPointY = (float)y;
    pickingActive = 1;
    renderInProgress = 1;
    interactiveRedraw = 1;
    SetupViewport3D();
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    const GLint left = x - 1, bottom = view[3] - 1 - y;
    glViewport(left, bottom, 2, 2);
    glEnable(GL_SCISSOR_TEST);
    glScissor(left, bottom, 2, 2);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawScene3D(settings);
    CompileSceneDisplayList(sceneMeshes);
    GLubyte rgb[2][2][3] = {};
    GLfloat depth[2][2] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(left, bottom, 2, 2, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glReadPixels(left, bottom, 2, 2, GL_DEPTH_COMPONENT, GL_FLOAT, depth);
    glDisable(GL_SCISSOR_TEST);
    pickingActive = 0;
    renderInProgress = 0;
    interactiveRedraw = 0;
    // The lists carry the names and the pick matrix: the next frame compiles afresh.
    SetupViewport3D();
    uint32_t name = 0;
    float nearest = 2.0f;
    for (const int* at : kRegionPixels) {
        const int column = x - 1 + at[0], row = y - at[1];
        if (column < 0 || row < 0 || column >= view[2] || row >= view[3])
            continue;
        const GLubyte* c = rgb[at[1]][at[0]];
        const uint32_t shown = (uint32_t)c[0] << 16 | (uint32_t)c[1] << 8 | c[2];
        if (shown && depth[at[1]][at[0]] < nearest) {
            name = shown;
            nearest = depth[at[1]][at[0]];
        }
    }
    if (name == kGroundPickName)
        return PickHit::Ground;
    *hit = name >= kFirstPolygonName ? FindScenePolygonByName(name) : nullptr;
    return *hit ? PickHit::Polygon : PickHit::Nothing;
}

// What a texture or colour drop writes: a texture field (cleared for a colour) and the
// colour field beside it.
struct PaintTarget {
    uint32_t* texture;
    ColourTriple* colour;
};

void WriteTarget(const PaintTarget& target, bool painting, uint32_t texture, ColourTriple colour)
{
    if (!painting) {
        if (target.texture && IsLibraryTextureId(texture))
            *target.texture = texture;
        return;
    }
    if (target.texture)
        *target.texture = 0;
    if (target.colour)
        *target.colour = colour;
}

// Both faces of every vertex of the object.
void PaintEveryVertex(PlanObject* object, bool painting, uint32_t texture, ColourTriple colour)
{
    for (PlanVertex* v = object->firstVertex; v; v = v->next) {
        WriteTarget({&v->faceTextureA, &v->faceColourA}, painting, texture, colour);
        WriteTarget({&v->faceTextureB, &v->faceColourB}, painting, texture, colour);
    }
}

// The owner-type rules of a texture (painting false) or colour drop: the plan field the
// part stands for is written and the owner's generated parts rebuilt. True when a rule
// applied.
bool ApplyTypeRule(PlanObject* owner, PlanObject* child, bool painting, uint32_t texture,
                   ColourTriple colour)
{
    const uint16_t part = child ? child->type : 0;
    switch (owner->type) {
    case ObjWall:
        // A wall fixture keeps its paint in itself, as a door does: its model's parts are
        // clones that the plan file does not hold, and every rebuild gives them the paint.
        if (child && (part == ObjDoor || part == ObjWindow || part == ObjWallElement)) {
            WriteTarget({&child->styleOrTexture, &child->colourB}, painting, texture, colour);
            FitWallOpenings(owner);
            return true;
        }
        return false;
    case ObjFloorSlab:
    case ObjFloorOpening:
        if (part != ObjDeckPart)
            return false;
        PaintEveryVertex(owner, painting, texture, colour);
        RebuildSlabChildren(owner);
        return true;
    case ObjRoof: {
        PlanVertex* first = owner->firstVertex;
        if (!first || part < 32 || part > 35)
            return false;
        if (!painting) {
            if (part == 32 || part == 33)
                WriteTarget({part == 32 ? &first->faceTextureA : &first->faceTextureB, nullptr},
                            false, texture, colour);
        } else if (part == 32 || part == 33) {
            (part == 32 ? first->faceTextureA : first->faceTextureB) = 0;
            first->faceColourA = colour;
        } else {
            (part == 34 ? first->faceColourB : first->faceColourA) = colour;
        }
        RebuildRoof(owner);
        return true;
    }
    case ObjPath:
        PaintEveryVertex(owner, painting, texture, colour);
        RebuildPath(owner);
        return true;
    case ObjFence:
        PaintEveryVertex(owner, painting, texture, colour);
        RebuildFence(owner);
        return true;
    case ObjPicketFence:
        PaintEveryVertex(owner, painting, texture, colour);
        RebuildPicketFence(owner);
        return true;
    case ObjStair:
        if (part == 39 || part == 44)
            WriteTarget({&owner->imageId1, &owner->colour3}, painting, texture, colour);
        else if (part == 43)
            WriteTarget({&owner->imageId2, &owner->colour4}, painting, texture, colour);
        else if (part != 40 && part != 42)
            return false;
        RebuildStair(owner);
        return true;
    case ObjRailing:
        if (part != 39 && part != 44)
            return false;
        WriteTarget({&owner->imageId1, &owner->colour3}, painting, texture, colour);
        RebuildRailing(owner);
        return true;
    case ObjDeck:
        if (part == 39) {
            WriteTarget({&owner->imageId2, &owner->colour4}, painting, texture, colour);
        } else if (part == 42 || part == 52) {
            WriteTarget({&owner->styleOrTexture, &owner->colourA}, painting, texture, colour);
        } else if (part == 43 || part == 51) {
            for (PlanVertex* v = owner->firstVertex; v; v = v->next)
                WriteTarget({&v->faceTextureA, &v->faceColourA}, painting, texture, colour);
            WriteTarget({&owner->imageId1, &owner->colour3}, painting, texture, colour);
        } else {
            return false;
        }
        RebuildDeck(owner);
        return true;
    case ObjFreehandRoof:
        WriteTarget({&owner->imageId1, &owner->colour3}, painting, texture, colour);
        RebuildFreehandRoof(owner);
        return true;
    }
    return false;
}

// The part of a texture or colour drop that is the same: the pick, the background and
// the ground, the slots, the type rule and the rebuild.
bool PaintAtPoint(int x, int y, bool painting, uint32_t texture, ColourTriple colour)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return false;
    ScenePolygon* hit = nullptr;
    switch (PickAt(x, y, settings, &hit)) {
    case PickHit::Nothing:
        if (painting) {
            settings->skyColour = colour;
            settings->backgroundTextureId = 0;
        } else {
            settings->backgroundTextureId = texture;
        }
        RedrawRenderWindow();
        return false;
    case PickHit::Ground:
        if (painting) {
            settings->paintTextureId = 0;
            settings->groundColour = colour;
        } else {
            settings->paintTextureId = (uint16_t)texture;
        }
        RedrawRenderWindow();
        return false;
    case PickHit::Polygon:
        break;
    }
    PlanObject* owner = hit->buildOwner;
    PlanObject* child = hit->buildChild;
    const PolygonMaterial material = PolygonMaterialOf(hit);
    uint32_t* textureSlot = material.textureSlot;
    ColourTriple* colourSlot = material.colourSlot;
    const uint32_t oldTexture = textureSlot ? *textureSlot : 0;
    const ColourTriple oldColour = colourSlot ? *colourSlot : kUnset;
    if (painting) {
        if (textureSlot)
            *textureSlot = 0;
        if (colourSlot)
            *colourSlot = colour;
    } else {
        if (textureSlot && IsLibraryTextureId(texture))
            *textureSlot = texture;
        if (colourSlot)
            *colourSlot = kUnset;
    }
    bool written = textureSlot || colourSlot;
    if (owner) {
        // A deck and a wall fixture take their materials from their own fields alone.
        if (owner->type == ObjDeck || (child && child->type == ObjWallElement)) {
            if (textureSlot)
                *textureSlot = oldTexture;
            if (colourSlot)
                *colourSlot = oldColour;
        }
        if (ApplyTypeRule(owner, child, painting, texture, colour))
            written = true;
    }
    if (!written)
        return false;
    if (owner) {
        owner->needsRebuild = 1;
        RebuildObject3D(owner);
    }
    return true;
}

uint32_t StyleTrimWord(int32_t style, bool* known)
{
    *known = true;
    switch (style) {
    case 100: return 0x0B;
    case 101: return 0x13;
    case 102: return 0x23;
    case 103: return 0x43;
    case 104: return 0;
    case 200: return 0x84;
    case 201: return 0x104;
    case 202: return 0x204;
    case 203: return 0x404;
    case 204: return 0;
    }
    *known = false;
    return 0;
}

} // namespace

bool ApplyTextureAtPoint3D(int x, int y, int32_t textureId)
{
    if (textureId < 0)
        return false;
    return PaintAtPoint(x, y, false, (uint32_t)textureId, kUnset);
}

bool ApplyColorAtPoint3D(int x, int y, COLORREF colour)
{
    const ColourTriple triple = {(uint16_t)(GetRValue(colour) * 257), (uint16_t)(GetGValue(colour) * 257),
                                 (uint16_t)(GetBValue(colour) * 257)};
    return PaintAtPoint(x, y, true, 0, triple);
}

bool ApplySurfaceStyleAtPoint3D(int x, int y, int32_t style)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || style < 0)
        return false;
    ScenePolygon* hit = nullptr;
    if (PickAt(x, y, settings, &hit) != PickHit::Polygon || !hit->buildOwner)
        return false;
    PlanObject* owner = hit->buildOwner;
    if (owner->type == ObjWall) {
        bool known = false;
        const uint32_t word = StyleTrimWord(style, &known);
        if (known && hit->trimWord)
            *hit->trimWord = word;
        owner->needsRebuild = 1;
    }
    RebuildObject3D(owner);
    return true;
}
