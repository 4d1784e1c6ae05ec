#include "render3d/surface_painting.h"
#include "model/deck_parts.h"
#include "model/generated_children.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/wall_openings.h"
#include "model3d/face_triangulation.h"
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
#include <GL/glu.h>
#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <vector>

namespace {

constexpr GLsizei kSelectionEntries = 10000;
constexpr uint32_t kGroundName = 1;
constexpr ColourTriple kUnset = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};

enum class PickHit { Failed, Nothing, Ground, Polygon };

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

struct HitRecord {
    double depth;
    uint32_t name;
};

// The hit records' first names, nearest first; records at the same depth keep their
// order. A buffer that overflowed (glRenderMode gives -1) still holds whole records up to
// its end: those are walked.
std::vector<HitRecord> HitsByDepth(const GLuint* buffer, GLint hits)
{
    std::vector<HitRecord> records;
    size_t at = 0;
    for (GLint record = 0; hits < 0 || record < hits; ++record) {
        if (at + 3 > (size_t)kSelectionEntries)
            break;
        const GLuint count = buffer[at];
        if (at + 3 + count > (size_t)kSelectionEntries)
            break;
        if (count > 0)
            records.push_back({buffer[at + 1] / 4294967296.0, buffer[at + 3]});
        at += 3 + count;
        if (hits < 0 && at >= (size_t)kSelectionEntries)
            break;
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const HitRecord& a, const HitRecord& b) { return a.depth < b.depth; });
    return records;
}

// The line of sight through the pick point, from the near to the far plane, in model
// coordinates (y grows downward).
struct PickRay {
    double from[3];
    double to[3];
};

// The ray of the matrices the scene is being picked with: the pick matrix widens the
// pick region to the whole viewport, so the point lies at the viewport's middle.
bool CurrentPickRay(PickRay* ray)
{
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double x = viewport[0] + viewport[2] / 2.0, y = viewport[1] + viewport[3] / 2.0;
    for (int end = 0; end < 2; ++end) {
        double* p = end ? ray->to : ray->from;
        if (!gluUnProject(x, y, end, model, projection, viewport, &p[0], &p[1], &p[2]))
            return false;
        p[1] = -p[1];
    }
    return true;
}

double Coordinate(const MeshVertex& v, int axis)
{
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

// Whether the ray crosses the flat outline: where it meets the outline's plane, inside
// the outline as seen along the plane's main axis.
bool RayCrossesOutline(const PolygonOutline* outline, const PickRay& ray)
{
    const int32_t n = outline->vertexCount;
    const MeshVertex* v = outline->vertices;
    if (n < 3 || !v)
        return false;
    double normal[3] = {0.0, 0.0, 0.0};   // Newell's
    for (int32_t i = 0; i < n; ++i)
        for (int axis = 0; axis < 3; ++axis) {
            const int a = (axis + 1) % 3, b = (axis + 2) % 3;
            const MeshVertex& p = v[i];
            const MeshVertex& q = v[(i + 1) % n];
            normal[axis] += (Coordinate(p, a) - Coordinate(q, a)) * (Coordinate(p, b) + Coordinate(q, b));
        }
    double along = 0.0, offset = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        along += normal[axis] * (ray.to[axis] - ray.from[axis]);
        offset += normal[axis] * (Coordinate(v[0], axis) - ray.from[axis]);
    }
    if (along == 0.0 || offset / along < 0.0 || offset / along > 1.0)
        return false;
    const double t = offset / along;
    int main = 0;
    for (int axis = 1; axis < 3; ++axis)
        if (fabs(normal[axis]) > fabs(normal[main]))
            main = axis;
    const int u = main == 0 ? 1 : 0, w = main == 2 ? 1 : 2;
    std::vector<ProjectedPoint> points((size_t)n);
    for (int32_t i = 0; i < n; ++i)
        points[(size_t)i] = {(float)Coordinate(v[i], u), (float)Coordinate(v[i], w)};
    const ProjectedPoint at = {(float)(ray.from[u] + t * (ray.to[u] - ray.from[u])),
                               (float)(ray.from[w] + t * (ray.to[w] - ray.from[w]))};
    return PointInPolygon(at, points.data(), n);
}

// Holes are cut from a wall face through the stencil alone, which the selection mode
// does not see: where the line of sight passes through one, the face and the parts drawn
// with it are not what the user sees there.
bool SeenThroughHole(const ScenePolygon* face, const PickRay& ray)
{
    for (const ScenePolygon* hole = face->openings; hole; hole = hole->next)
        for (const PolygonOutline* outline = hole->outlines; outline; outline = outline->next)
            if (RayCrossesOutline(outline, ray))
                return true;
    return false;
}

PickHit PickAt(int x, int y, PlanSettings* settings, ScenePolygon** hit)
{
    *hit = nullptr;
    GLuint* buffer = static_cast<GLuint*>(calloc(kSelectionEntries, sizeof(GLuint)));
    if (!buffer)
        return PickHit::Failed;
    glSelectBuffer(kSelectionEntries, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    pickPointX = (float)x;
    pickPointY = (float)y;
    pickingActive = 1;
    renderInProgress = 1;
    interactiveRedraw = 1;
    SetupViewport3D();
    DrawScene3D(settings);
    PickRay ray;
    const bool rayKnown = CurrentPickRay(&ray);
    CompileSceneDisplayList(sceneMeshes);
    glFlush();
    pickingActive = 0;
    renderInProgress = 0;
    interactiveRedraw = 0;
    const GLint hits = glRenderMode(GL_RENDER);
    // The lists now carry names and the pick matrix: the next frame compiles afresh.
    SetupViewport3D();
    const std::vector<HitRecord> records = HitsByDepth(buffer, hits);
    free(buffer);
    // The nearest surface the user sees at the point; the first drawn on a tie.
    for (const HitRecord& record : records) {
        if (record.name == kGroundName)
            return PickHit::Ground;
        ScenePolygon* face = nullptr;
        ScenePolygon* polygon =
            record.name >= kFirstPolygonName ? FindScenePolygonByName(record.name, &face) : nullptr;
        if (polygon && face && rayKnown && SeenThroughHole(face, ray))
            continue;
        *hit = polygon;
        break;
    }
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
    case PickHit::Failed:
        return false;
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
