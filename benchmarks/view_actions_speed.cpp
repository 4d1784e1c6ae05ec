// Speed of what a user does with the live 3D view shown on a large plan: a mixed plan of
// about 10,000 objects of every kind (house blocks on three storeys: walls with doors,
// windows and a toilet, slabs with a floor opening over a stair, railings, decks, fences,
// paths, plants, furniture, ground mounds and roofs) is built in the frame's first plan,
// a small second plan is opened beside it, and the live view is shown.
//
//   view_actions_speed.exe [objects]
//   view_actions_speed.exe --repaints PLAN [objects] [--runs N]
//
// The second form times the view's repaints alone, with the view maximised in the frame:
// the plan given, then the mixed plan, each painted with its scene drawn anew (the kept
// frame forgotten first, untimed) and painted again showing the kept frame. It uses only
// what the program has long had, so that scripts/benchmark.sh can build it against an
// earlier build too and run the two in turns.
//
// Each action runs as the user's command or key does, and its time runs until every
// paint it caused is done. It is printed beside the floors measured in the same run on
// the same render window: a bare drawing of the same polygons with the same textures and
// stencil use, through one display list and from vertex arrays (the floors of a repaint
// and of the actions that end in one), and with the final render's passes polygon by
// polygon and from vertex arrays (the floors of the final render); then its ratio to the
// faster floor, how many times the action drew and presented the view, and how many of
// its paints showed the kept frame again and so drew nothing. The repaint's floors are
// drawn again after each action, with the camera the action left.
#include "bench_support.h"
#include "files/plan_file.h"
#include "files/symbol_library.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/deck_parts.h"
#include "model/generated_children.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "model/texture_coords.h"
#include "model/view_projection.h"
#include "model/wall_openings.h"
#include "model3d/array_objects.h"
#include "model3d/fences.h"
#include "model3d/railings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model3d/stairs.h"
#include "model3d/wall_rebuild.h"
#include "openings3d/opening_models.h"
#include "render3d/high_quality_render.h"
#include "render3d/interactive_view.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include "render3d/shaded_polygons.h"
#include "render3d/texture_loading.h"
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "shell/frame_window.h"
#include "shell/keys_and_menus.h"
#include "shell/startup.h"
#include "planview/plan_mouse_dispatch.h"
#include "planview/selection.h"
#include "tools/fixture_tools.h"
#include "tools/plan_mouse_state.h"
#include "tools/roof_tool.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"
#include <GL/gl.h>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using Points = std::vector<std::pair<float, float>>;

constexpr float kBlockWidth = 760.0f;
constexpr float kBlockDepth = 640.0f;
constexpr float kStorey = 96.0f;
constexpr uint16_t kSwingSense = 4;

void Send(HWND frame, int command)
{
    SendMessageA(frame, WM_COMMAND, (WPARAM)command, 0);
}

// Every message the action left, paints included, until the queue is empty.
void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

PlanObject* Place(PlanFloor* floor, uint16_t type, bool closed, const Points& points, float bx, float bz,
                  float height = 0.0f)
{
    Points moved;
    for (const auto& p : points)
        moved.push_back({bx + p.first, bz + p.second});
    PlanObject* object = AddObject(floor, type, 0, closed, 1.0f, moved);
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        v->position[1] = -height;
    return object;
}

// A door opened a quarter turn, or a window.
void AddOpening(PlanObject* wall, PlanVertex* start, uint16_t type, float along, float width, float height,
                float elevation)
{
    OpeningRecord* record = AddWallOpening(wall, start, type, along, width, height, elevation);
    if (type == ObjDoor) {
        record->swingAngle = 1.5707964f;
        record->flags = kSwingSense;
    }
}

PlanObject* AddWall(PlanFloor* floor, bool ring, const Points& points, float bx, float bz, float base)
{
    PlanObject* wall = Place(floor, ObjWall, ring, points, bx, bz);
    if (ring)
        wall->subType = 54;
    wall->size = 6.0f;
    wall->colourM[0] = 1;
    wall->styleOrTexture = 1700;
    wall->parameters[0] = kStorey;
    wall->parameters[1] = activeDocument->settings->studSpacing;
    wall->parameters[2] = 0.5f;
    wall->elevation = base;
    for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
        v->mainHeight = kStorey;
        v->segmentElevation = base;
    }
    return wall;
}

void FinishWall(PlanObject* wall)
{
    FitWallOpenings(wall);
    for (PlanObject* opening = wall->firstChild; opening; opening = opening->next)
        BuildOpeningModel(opening);
    RebuildWall(wall);
    UpdateObjectExtents(wall);
}

// The house's walls on one storey: a ring of four segments with a door (first storey)
// and windows, an interior wall with a door and one without.
PlanObject* AddStoreyWalls(PlanFloor* floor, float bx, float bz, float base, bool ground)
{
    PlanObject* ring = AddWall(floor, true, {{0, 0}, {480, 0}, {480, 360}, {0, 360}}, bx, bz, base);
    int segment = 0;
    for (PlanVertex* v = ring->firstVertex; v; v = v->next, ++segment) {
        if (ground && segment == 2)
            AddOpening(ring, v, ObjDoor, 200.0f, 36.0f, 80.0f, 0.0f);
        AddOpening(ring, v, ObjWindow, 80.0f, 48.0f, 40.0f, 36.0f);
        if (segment % 2 == 0)
            AddOpening(ring, v, ObjWindow, 330.0f, 48.0f, 40.0f, 36.0f);
    }
    FinishWall(ring);
    PlanObject* inner = AddWall(floor, false, {{240, 0}, {240, 360}}, bx, bz, base);
    AddOpening(inner, inner->firstVertex, ObjDoor, 250.0f, 32.0f, 80.0f, 0.0f);
    FinishWall(inner);
    FinishWall(AddWall(floor, false, {{240, 180}, {480, 180}}, bx, bz, base));
    return inner;
}

PlanObject* AddSlab(PlanFloor* floor, uint16_t type, const Points& points, float bx, float bz, float height)
{
    PlanObject* slab = Place(floor, type, true, points, bx, bz, height + 1.0f);
    slab->category = kCategoryFloorPlan;
    slab->parameters[2] = 12.0f;
    for (PlanVertex* v = slab->firstVertex; v; v = v->next)
        v->faceTextureA = v->faceTextureB = 1700;
    ComputeProjectionExtents(slab);
    ComputeMeshTextureCoords(slab);
    RebuildSlabChildren(slab);
    UpdateObjectExtents(slab);
    return slab;
}

void AddRailing(PlanFloor* floor, const Points& points, float bx, float bz, float height)
{
    const PlanSettings* s = activeDocument->settings;
    PlanObject* railing = Place(floor, ObjRailing, false, points, bx, bz, height);
    railing->subType = 802;
    railing->imageId1 = 2206;
    railing->parameters[0] = s->railingHeight;
    railing->parameters[1] = s->railingBalusterSpacing;
    RebuildRailing(railing);
    UpdateObjectExtents(railing);
}

void AddPlant(PlanFloor* floor, float x, float z, uint32_t id)
{
    PlanObject* plant = CreatePlantObject(floor, 1, id);
    if (!plant)
        return;
    for (PlanVertex* v = plant->firstVertex; v; v = v->next) {
        v->position[0] = x + v->position[0] * 0.3f;
        v->position[2] = z + v->position[2] * 0.3f;
    }
    UpdateObjectExtents(plant);
}

// A closed box of type 8 (two rings), a piece of furniture's part.
PlanObject* AddBox(PlanFloor* floor, float x0, float z0, float x1, float z1, float y0, float y1)
{
    PlanObject* box = AddObject(floor, 8, 0, true, 1.0f, {{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}});
    for (PlanVertex* v = box->firstVertex; v; v = v->next)
        v->position[1] = -y0;
    for (const auto& p : Points{{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}})
        AddObjectPoint(NewVertexNode(1, 0, 0, 0, 0, 0, p.first, -y1, p.second, 0, 0, 0, 0, 0, 0, box), box);
    box->rows = 2;
    box->buildFlag = 1;
    UpdateObjectExtents(box);
    return box;
}

void AddFurniture(PlanFloor* floor, float x, float z, float base)
{
    PlanObject* group = AddObject(floor, ObjGroup, 0, false, 1.0f, {});
    for (PlanObject* part : {AddBox(floor, x, z, x + 60, z + 30, base, base + 18),
                             AddBox(floor, x, z + 26, x + 60, z + 30, base + 18, base + 36)}) {
        UnlinkObject(part);
        part->owner = group;
        part->floor = floor;
        AppendToObjectList(&group->firstChild, part);
    }
    UpdateObjectExtents(group);
}

// One house block with its garden; `mound` adds a topography object under its lawn.
void AddBlock(float bx, float bz, bool mound)
{
    PlanDocument* document = activeDocument;
    const PlanSettings* s = document->settings;
    PlanFloor* first = document->firstFloor;
    PlanFloor* second = first->next;
    PlanFloor* third = second->next;

    PlanObject* inner = AddStoreyWalls(first, bx, bz, 0.0f, true);
    planMouseState = PlanMouseState{};
    planMouseState.hit = 1;
    planMouseState.object = inner;
    planMouseState.segmentHit = 1;
    planMouseState.vertexA = inner->firstVertex;
    planMouseState.vertexB = inner->firstVertex->next;
    planMouseState.hitPoint[0] = bx + 243.0f;
    planMouseState.hitPoint[2] = bz + 80.0f;
    document->currentFloor = first;
    HandleWallFixtureTool(bx + 243.0f, 0, bz + 80.0f, kToolPress, 7200);
    AddSlab(first, ObjFloorSlab, {{0, 0}, {480, 0}, {480, 360}, {0, 360}}, bx, bz, 0.0f);
    PlanObject* stair = Place(first, ObjStair, false, {{40, 40}, {40, 170}}, bx, bz);
    stair->subType = 800;
    stair->imageId1 = 2206;
    stair->imageId2 = 1700;
    const float stairParameters[5] = {s->stairWidth, s->stairRiserHeight, s->stairTreadDepth,
                                      s->stairRailingHeight, kStorey};
    std::copy(stairParameters, stairParameters + 5, stair->parameters);
    stair->offsetSide = 1;
    RebuildStair(stair);
    UpdateObjectExtents(stair);
    AddFurniture(first, bx + 300, bz + 220, 0.0f);
    AddFurniture(first, bx + 120, bz + 250, 0.0f);

    PlanObject* deck = Place(first, ObjDeck, true, {{480, 60}, {620, 60}, {620, 300}, {480, 300}}, bx, bz,
                             24.0f);
    deck->category = kCategoryDeck;
    deck->styleOrTexture = 1301;
    deck->imageId1 = 2300;
    deck->imageId2 = 2210;
    deck->parameters[0] = s->deckHeight;
    deck->parameters[1] = s->deckBalusterSpacing;
    for (PlanVertex* v = deck->firstVertex; v; v = v->next) {
        v->segmentFlags = 1;
        v->mainHeight = s->deckRailingHeight;
        v->faceTextureA = v->faceTextureB = 2300;
    }
    ComputeProjectionExtents(deck);
    ComputeMeshTextureCoords(deck);
    RebuildDeck(deck);
    UpdateObjectExtents(deck);

    PlanObject* fence = Place(first, ObjFence, false, {{-40, 600}, {700, 600}}, bx, bz);
    fence->colourA = fence->colourB = s->fenceColour;
    fence->onTerrain = 1;
    RebuildFence(fence);
    UpdateObjectExtents(fence);
    PlanObject* picket = Place(first, ObjPicketFence, false, {{700, -40}, {700, 600}}, bx, bz);
    picket->colourA = picket->colourB = s->fenceSecondColour;
    picket->styleOrTexture = s->fenceStyle;
    picket->onTerrain = 1;
    RebuildPicketFence(picket);
    UpdateObjectExtents(picket);
    PlanObject* path = Place(first, ObjPath, false, {{120, 366}, {120, 480}, {300, 590}}, bx, bz);
    path->size = s->pathWidth;
    path->styleOrTexture = s->pathTexture;
    path->onTerrain = 1;
    RebuildPath(path);
    UpdateObjectExtents(path);
    for (int i = 0; i < 4; ++i)
        AddPlant(first, bx + 400.0f + 60.0f * (float)(i % 2), bz + 420.0f + 70.0f * (float)(i / 2),
                 (uint32_t)(300 + i));
    if (mound) {
        PlanObject* topography = Place(first, ObjTopography, true,
                                       {{380, 400}, {640, 400}, {640, 580}, {380, 580}}, bx, bz);
        topography->size = s->topographyStep;
        UpdateObjectExtents(topography);
    }

    AddStoreyWalls(second, bx, bz, kStorey, false);
    AddSlab(second, ObjFloorSlab, {{0, 0}, {480, 0}, {480, 360}, {0, 360}}, bx, bz, kStorey);
    AddSlab(second, ObjFloorOpening, {{10, 30}, {90, 30}, {90, 180}, {10, 180}}, bx, bz, kStorey);
    AddRailing(second, {{90, 30}, {90, 180}, {10, 180}}, bx, bz, kStorey);
    AddFurniture(second, bx + 300, bz + 220, kStorey);

    PlanObject* roof = Place(third, ObjRoof, true, {{-12, -12}, {492, -12}, {492, 372}, {-12, 372}}, bx, bz);
    roof->size = 6.0f;
    roof->elevation = 2.0f * kStorey;
    RebuildRoof(roof);
    UpdateObjectExtents(roof);
}

int TopLevelObjects()
{
    int n = 0;
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        for (PlanObject* object = floor->firstObject; object; object = object->next)
            ++n;
    return n;
}

// Blocks in a square grid centred on the origin until the plan holds `objects`; the
// plan's extents are made to hold them.
void BuildMixedPlan(int objects)
{
    AddBlock(0.0f, 0.0f, true);
    const int perBlock = TopLevelObjects();
    const int blocks = std::max(1, (objects + perBlock / 2) / perBlock);
    const int side = (int)std::ceil(std::sqrt((double)blocks));
    PlanSettings* s = activeDocument->settings;
    s->extentLeft = -kBlockWidth * (float)(side / 2 + 1);
    s->extentRight = kBlockWidth * (float)(side - side / 2 + 1);
    s->extentTop = -kBlockDepth * (float)(side / 2 + 1);
    s->extentBottom = kBlockDepth * (float)(side - side / 2 + 1);
    for (int i = 1; i < blocks; ++i) {
        const int column = i % side - side / 2, row = i / side - side / 2;
        AddBlock(kBlockWidth * (float)column, kBlockDepth * (float)row, i % 4 == 0);
    }
}

// ---------------------------------------------------------------------------------
// The floor: the scene's polygons drawn by a bare program

struct BareFace {
    GLuint texture = 0;
    GLubyte colour[3] = {0, 0, 0};
    bool plant = false;
    std::vector<std::vector<float>> outlines;   // x, y, z, u, v per vertex, y up
    std::vector<BareFace> holes;
    std::vector<BareFace> parts;
};

struct BareScene {
    std::vector<BareFace> faces;      // the main pass
    std::vector<BareFace> floorHoles; // the holes on the camera's side
    std::vector<BareFace> floors;     // floor-like faces, cut by the holes
    std::vector<BareFace> ground;     // the walls under which the ground is left out
    long polygons = 0;
};

BareFace BareOf(const ScenePolygon* polygon)
{
    BareFace face;
    const PolygonMaterial material = PolygonMaterialOf(polygon);
    const uint32_t texture = polygon->partKind == kPartPlant ? polygon->textureA : material.texture;
    if (IsLibraryTextureId(texture) && glIsTexture(texture))
        face.texture = texture;
    const ColourTriple colour = polygon->partKind == kPartEndFace ? polygon->colourB : polygon->colourA;
    face.colour[0] = (GLubyte)(colour.red / 257);
    face.colour[1] = (GLubyte)(colour.green / 257);
    face.colour[2] = (GLubyte)(colour.blue / 257);
    face.plant = polygon->partKind == kPartPlant;
    for (const PolygonOutline* o = polygon->outlines; o; o = o->next) {
        std::vector<float> outline;
        for (int32_t i = 0; i < o->vertexCount; ++i) {
            const MeshVertex& v = o->vertices[i];
            outline.insert(outline.end(), {v.x, -v.y, v.z, v.u * material.uScale, v.v * material.vScale});
        }
        face.outlines.push_back(outline);
    }
    if (face.plant && !face.outlines.empty() && face.outlines[0].size() == 20) {
        // Stood up facing the camera's way, its picture's height.
        std::vector<float>& q = face.outlines[0];
        const float x = (q[0] + q[5]) / 2, z = (q[7] + q[12]) / 2, y = q[1];
        const float w = polygon->billboardHalfWidth, h = polygon->billboardHeight;
        q = {x - w, y, z, 0, 0, x + w, y, z, 1, 0, x + w, y + h, z, 1, 1, x - w, y + h, z, 0, 1};
    }
    for (const ScenePolygon* hole = polygon->openings; hole; hole = hole->next)
        face.holes.push_back(BareOf(hole));
    for (const ScenePolygon* part = polygon->parts; part; part = part->next)
        face.parts.push_back(BareOf(part));
    return face;
}

BareScene TakeBareScene()
{
    BareScene scene;
    const PlanSettings* s = activeDocument->settings;
    for (const ScenePolygon* p = sceneMeshes; p; p = p->next) {
        ++scene.polygons;
        const int16_t type = p->sourceType;
        const bool floorLike = p->partKind != kPartPlant && p->partKind != kPartImagePanel &&
                               (type == ObjFloorSlab || type == kSceneFloorUnderWalls ||
                                type == kSceneCeilingUnderWalls || type == kSceneSlabUnderside);
        if (type == ObjFloorOpening || type == kSceneFloorOpeningHole) {
            const bool above = s->cameraMode == 2 || (p->outlines && p->outlines->vertexCount > 0 &&
                                                     -p->outlines->vertices[0].y < walkEyeHeight);
            if (above == (type == ObjFloorOpening))
                scene.floorHoles.push_back(BareOf(p));
        } else if (floorLike) {
            scene.floors.push_back(BareOf(p));
        } else {
            scene.faces.push_back(BareOf(p));
        }
    }
    for (const ScenePolygon* p = secondaryMeshes; p; p = p->next)
        scene.ground.push_back(BareOf(p));
    return scene;
}

void DrawBareFace(const BareFace& face)
{
    if (face.texture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, face.texture);
        glColor3ub(255, 255, 255);
    } else {
        glColor3ub(face.colour[0], face.colour[1], face.colour[2]);
    }
    if (face.plant) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.5f);
    }
    for (const std::vector<float>& outline : face.outlines) {
        const size_t n = outline.size() / 5;
        glBegin(n == 3 ? GL_TRIANGLES : n == 4 ? GL_QUADS : GL_POLYGON);
        for (size_t i = 0; i < n; ++i) {
            if (face.texture)
                glTexCoord2f(outline[i * 5 + 3], outline[i * 5 + 4]);
            glVertex3f(outline[i * 5], outline[i * 5 + 1], outline[i * 5 + 2]);
        }
        glEnd();
    }
    if (face.plant)
        glDisable(GL_ALPHA_TEST);
    if (face.texture)
        glDisable(GL_TEXTURE_2D);
}

// Where the bare drawing goes: its faces, and the changes of state between them.
class BareSink {
public:
    virtual ~BareSink() = default;
    virtual void Face(const BareFace& face) = 0;
    virtual void State(const std::function<void()>& change) = 0;
};

// Drawn at once, face by face.
class ImmediateSink : public BareSink {
public:
    void Face(const BareFace& face) override { DrawBareFace(face); }
    void State(const std::function<void()>& change) override { change(); }
};

// Kept in vertex arrays made once (each outline as the triangles of its fan), drawn
// from them with one call for each run of faces of one texture between changes of state.
class ArraySink : public BareSink {
public:
    void Face(const BareFace& face) override
    {
        if (face.plant)
            State([] {
                glEnable(GL_ALPHA_TEST);
                glAlphaFunc(GL_GREATER, 0.5f);
            });
        if (steps.empty() || steps.back().change || steps.back().texture != face.texture)
            steps.push_back({nullptr, face.texture, (GLint)vertices.size(), 0});
        const GLubyte white[3] = {255, 255, 255};
        const GLubyte* c = face.texture ? white : face.colour;
        for (const std::vector<float>& outline : face.outlines)
            for (size_t k = 1; k + 1 < outline.size() / 5; ++k)
                for (size_t i : {(size_t)0, k, k + 1}) {
                    const float* p = &outline[i * 5];
                    vertices.push_back({p[0], p[1], p[2], p[3], p[4], {c[0], c[1], c[2], 255}});
                }
        steps.back().count = (GLsizei)vertices.size() - steps.back().first;
        if (face.plant)
            State([] { glDisable(GL_ALPHA_TEST); });
    }
    void State(const std::function<void()>& change) override { steps.push_back({change, 0, 0, 0}); }
    void Draw() const
    {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &vertices[0].x);
        glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &vertices[0].u);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), vertices[0].rgba);
        for (const Step& step : steps) {
            if (step.change) {
                step.change();
                continue;
            }
            if (step.texture) {
                glEnable(GL_TEXTURE_2D);
                glBindTexture(GL_TEXTURE_2D, step.texture);
            }
            glDrawArrays(GL_TRIANGLES, step.first, step.count);
            if (step.texture)
                glDisable(GL_TEXTURE_2D);
        }
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
    }

private:
    struct Vertex {
        float x, y, z, u, v;
        GLubyte rgba[4];
    };
    struct Step {
        std::function<void()> change;   // a change of state, or the draw of a run
        GLuint texture;
        GLint first;
        GLsizei count;
    };
    std::vector<Vertex> vertices;
    std::vector<Step> steps;
};

void StencilWrites(bool on, GLint reference)
{
    glColorMask(!on, !on, !on, !on);
    glDepthMask(!on);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(on ? GL_ALWAYS : GL_NOTEQUAL, reference, 0xFF);
    glStencilOp(on ? GL_REPLACE : GL_KEEP, on ? GL_REPLACE : GL_KEEP, on ? GL_REPLACE : GL_KEEP);
}

// The polygons: faces with holes cut through the stencil, then the floor holes, then the
// floors where no hole is.
void DrawBarePolygons(const BareScene& scene, BareSink& sink)
{
    GLint value = 2;
    for (const BareFace& face : scene.faces) {
        if (face.holes.empty()) {
            sink.Face(face);
            for (const BareFace& part : face.parts)
                sink.Face(part);
            continue;
        }
        sink.State([value] { StencilWrites(true, value); });
        for (const BareFace& hole : face.holes)
            sink.Face(hole);
        sink.State([value] { StencilWrites(false, value); });
        sink.Face(face);
        for (const BareFace& part : face.parts)
            sink.Face(part);
        const bool last = ++value > 255;
        sink.State([last] {
            glDisable(GL_STENCIL_TEST);
            if (last)
                glClear(GL_STENCIL_BUFFER_BIT);
        });
        if (last)
            value = 2;
    }
    sink.State([] { StencilWrites(true, 1); });
    for (const BareFace& hole : scene.floorHoles)
        sink.Face(hole);
    sink.State([] { StencilWrites(false, 1); });
    for (const BareFace& floor : scene.floors)
        sink.Face(floor);
    sink.State([] { glDisable(GL_STENCIL_TEST); });
}

// Sky and ground as the repaint draws them: the ground left out under the walls'
// copies, then the earth and the ground.
void DrawBareBackground(const BareScene& scene, const PlanSettings* s, BareSink& sink)
{
    auto ground = [s] {
        glColor3ub(60, 140, 40);
        glBegin(GL_QUADS);
        glVertex3f(s->extentLeft, 0, s->extentBottom);
        glVertex3f(s->extentRight, 0, s->extentBottom);
        glVertex3f(s->extentRight, 0, s->extentTop);
        glVertex3f(s->extentLeft, 0, s->extentTop);
        glEnd();
    };
    sink.State([ground] {
        glDisable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glBegin(GL_QUADS);
        glColor3ub(120, 160, 220);
        glVertex2f(-1, 1);
        glVertex2f(1, 1);
        glVertex2f(1, -1);
        glVertex2f(-1, -1);
        glEnd();
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_DEPTH_TEST);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        ground();
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_ALWAYS, 200, 0xFF);
        glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    });
    for (const BareFace& face : scene.ground)
        sink.Face(face);
    sink.State([ground] {
        glClear(GL_DEPTH_BUFFER_BIT);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glStencilFunc(GL_GEQUAL, 200, 0xFF);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        ground();
        glClear(GL_STENCIL_BUFFER_BIT);
        glDisable(GL_STENCIL_TEST);
    });
}

void DrawBareScene(const BareScene& scene, const PlanSettings* s, BareSink& sink)
{
    DrawBareBackground(scene, s, sink);
    DrawBarePolygons(scene, sink);
}

void BeginBareFrame(const PlanSettings* s, double jitterX = 0.0, double jitterY = 0.0)
{
    RECT client;
    GetClientRect(renderWindow, &client);
    glViewport(0, 0, client.right, client.bottom);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glShadeModel(GL_SMOOTH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glTranslated(2.0 * jitterX / client.right, 2.0 * jitterY / client.bottom, 0.0);
    const double top = std::tan(38.0 * M_PI / 360.0), aspect = (double)client.right / client.bottom;
    glFrustum(-top * aspect, top * aspect, -top, top, 1.0, 40000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ApplyViewCamera(s);
}

void EndBareFrame()
{
    SwapRenderBuffers();
    glFinish();
}

// The floors: the same drawing of the scene made once in three ways, each drawn with the
// plan's camera as it is. A repaint's floor is the faster of one display list and the
// vertex arrays; the final render's, the faster of its passes drawn polygon by polygon
// and from the vertex arrays.
struct BareFloors {
    const BareScene* scene;
    const PlanSettings* s;
    GLuint list;
    ArraySink arrays;
};
BareFloors floors;

void MakeFloors(const BareScene& scene, const PlanSettings* s)
{
    floors.scene = &scene;
    floors.s = s;
    floors.list = glGenLists(1);
    glNewList(floors.list, GL_COMPILE);
    ImmediateSink immediate;
    DrawBareScene(scene, s, immediate);
    glEndList();
    DrawBareScene(scene, s, floors.arrays);
}

enum class Way { List, Arrays, OneByOne };

void DrawFloorScene(Way way)
{
    ImmediateSink immediate;
    switch (way) {
    case Way::List: glCallList(floors.list); break;
    case Way::Arrays: floors.arrays.Draw(); break;
    case Way::OneByOne: DrawBareScene(*floors.scene, floors.s, immediate); break;
    }
}

// One frame of the scene drawn the way.
double RepaintFloor(Way way, int runs)
{
    return Median(runs, [way] {
        BeginBareFrame(floors.s);
        DrawFloorScene(way);
        EndBareFrame();
    });
}

// The final render's passes drawn the way into the accumulation buffer.
double PassesFloor(Way way, uint32_t passes)
{
    uint32_t count = 8;
    const float (*jitter)[2] = JitterTable(passes, &count);
    return Median(1, [&] {
        glClear(GL_ACCUM_BUFFER_BIT);
        for (uint32_t pass = 0; pass < count; ++pass) {
            BeginBareFrame(floors.s, jitter[pass][0], jitter[pass][1]);
            DrawFloorScene(way);
            glAccum(GL_ACCUM, 1.0f / (float)count);
        }
        glAccum(GL_RETURN, 1.0f);
        EndBareFrame();
    });
}

// ---------------------------------------------------------------------------------
// The actions

struct Action {
    double ms;
    uint32_t repaints;   // frames drawn and presented
    uint32_t kept;       // paints that showed the kept frame, drawing nothing
};

Action Run(const std::function<void()>& action)
{
    const uint32_t before = presentedRenderFrames, keptBefore = keptFramesShown;
    const double start = Now();
    action();
    Pump();
    glFinish();
    return {Now() - start, presentedRenderFrames - before, keptFramesShown - keptBefore};
}

// The action's time beside the floors of the view it leaves (those of a repaint with the
// plan's camera then, unless the final render's are given), its ratio to the faster, and
// what its paints did.
void Report(const std::string& name, const Action& action, double listOrPolygons = 0.0, double arrays = 0.0)
{
    const bool repaint = listOrPolygons <= 0.0;
    if (repaint) {
        listOrPolygons = RepaintFloor(Way::List, 1);
        arrays = RepaintFloor(Way::Arrays, 1);
    }
    std::printf("%-46s %9.1f ms  floors %9.1f ms %s, %9.1f ms arrays  %6.2fx the faster  %u repaint(s)",
                name.c_str(), action.ms, listOrPolygons, repaint ? "list" : "polygons", arrays,
                action.ms / std::min(listOrPolygons, arrays), action.repaints);
    if (action.kept && !action.repaints)
        std::printf(", the kept frame shown again: no drawing made");
    else if (action.kept)
        std::printf(", the kept frame shown again %u time(s)", action.kept);
    std::printf("\n");
    std::fflush(stdout);
}

// A press, a move and a release of the current tool at plan points, through the plan
// pane's drag entry points (top view, zoom 1: a pane unit is a plan unit).
void Gesture(float x0, float z0, float x1, float z1)
{
    BeginUndoableGesture();
    activeDocument->lastEditKind = GetToolUndoCode(currentToolId);
    activeDocument->lastEditUndone = 0;
    undoAvailable = 0;
    pendingObject = nullptr;
    HandlePlanButtonDown((int32_t)x0, (int32_t)z0);
    HandlePlanMouseMove((int32_t)x1, (int32_t)z1, (int32_t)x0, (int32_t)z0, (int32_t)x0, (int32_t)z0);
    HandlePlanButtonUp((int32_t)x1, (int32_t)z1, (int32_t)x1, (int32_t)z1, (int32_t)x0, (int32_t)z0);
}

// A picture of the id: a round crown for a plant, else a whole square, in colours of
// its own; black is transparent in plants.
void WriteScenePicture(int32_t id)
{
    const int side = id >= 300 && id < 600 ? 256 : 64;
    WriteLibraryPicture(id, side, [id, side](int x, int y, unsigned char* p) {
        const int dx = x - side / 2, dy = y - side * 5 / 8;
        if (side == 64 || dx * dx + dy * dy < side * side / 8) {
            p[0] = (unsigned char)(40 + (id * 7) % 150);
            p[1] = (unsigned char)(90 + (x + y) % 100);
            p[2] = (unsigned char)(60 + (id * 13) % 150);
        }
    });
}

// The library pictures of every texture and plant the scene uses.
void WriteScenePictures()
{
    std::set<uint32_t> ids;
    for (const ScenePolygon* p = sceneMeshes; p; p = p->next) {
        for (uint32_t id : {p->textureA, p->textureB})
            if (IsLibraryTextureId(id))
                ids.insert(id);
        for (const ScenePolygon* q = p->openings; q; q = q->next)
            ids.insert(q->textureB);
        for (const ScenePolygon* q = p->parts; q; q = q->next)
            ids.insert(q->textureB);
    }
    for (uint32_t id : ids)
        if (IsLibraryTextureId(id))
            WriteScenePicture((int32_t)id);
    ForgetFailedTextures();
}

// The view maximised in the frame once its surface has had time to take the size.
void MaximiseView()
{
    ShowWindow(selvithWindow, SW_MAXIMIZE);
    for (const double start = Now(); Now() - start < 1000.0; Sleep(20))
        Pump();
}

// A paint of the view until the display has what it showed.
void PaintView()
{
    RedrawWindow(renderWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    glFinish();
}

void RepaintFigures(const std::string& name, int runs)
{
    MaximiseView();
    PaintView();
    for (const bool anew : {true, false}) {
        const uint32_t drawn = presentedRenderFrames, kept = keptFramesShown;
        // The kept frame is shown again in well under a millisecond, where a stray pause of
        // the machine's weighs as much as the figure: it is taken over twenty times the runs,
        // and printed to the hundredth.
        const int taken = anew ? runs : runs * 20;
        const double ms = Median(taken, PaintView, anew ? ForgetKeptFrame : nullptr);
        std::printf("%-64s %10.2f ms   median of %d (%u drawn, %u kept shown)\n",
                    (name + (anew ? ", drawn anew" : ", the kept frame shown again")).c_str(), ms, taken,
                    presentedRenderFrames - drawn, keptFramesShown - kept);
        std::fflush(stdout);
    }
}

bool RepaintsOnly(HWND frame, const char* plan, int objects, int runs)
{
    Send(frame, FrameCommandNew);
    if (!LoadPlanFile(plan)) {
        std::printf("cannot load %s\n", plan);
        return false;
    }
    Send(frame, 5270);
    WriteScenePictures();
    RECT render;
    RepaintFigures(std::string("repaint of ") + (strrchr(plan, '\\') ? strrchr(plan, '\\') + 1 : plan), runs);
    GetClientRect(renderWindow, &render);
    std::printf("render window %ld x %ld\n", render.right, render.bottom);
    Send(frame, FrameCommandNew);
    BuildMixedPlan(objects);
    PlanSettings* s = activeDocument->settings;
    s->cameraMode = 2;
    s->aerialPitch = 30.0f;
    s->aerialYaw = 330.0f;
    orbitDistance = 1800.0f;
    RebuildAll3D();
    WriteScenePictures();
    RepaintFigures("repaint of the mixed plan of " + std::to_string(TopLevelObjects()) + " objects", runs);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const bool repaintsOnly = argc > 2 && !strcmp(argv[1], "--repaints");
    int runs = 9;
    for (int i = 1; i + 1 < argc; ++i)
        if (!strcmp(argv[i], "--runs"))
            runs = std::max(1, atoi(argv[i + 1]));
    const int objectsArgument = repaintsOnly ? 3 : 1;
    const int objects = argc > objectsArgument && isdigit((unsigned char)argv[objectsArgument][0])
                            ? std::max(30, atoi(argv[objectsArgument]))
                            : 10000;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!InitStartupState(instance, nullptr) || !RegisterWindowClasses(instance)) {
        std::printf("start-up failed\n");
        return 1;
    }
    PrepareFrameResources();
    HWND frame = CreateFrameWindow();
    if (!frame) {
        std::printf("no frame\n");
        return 1;
    }
    // The frame shown with a client of 1000 x 700; the view at its quarter place.
    RECT window, client;
    GetWindowRect(frame, &window);
    GetClientRect(frame, &client);
    SetWindowPos(frame, nullptr, 0, 0, window.right - window.left + 1000 - client.right,
                 window.bottom - window.top + 700 - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    LoadSymbolLibrary2D();
    LoadSymbolLibrary3D();
    if (repaintsOnly) {
        const bool shown = RepaintsOnly(frame, argv[2], objects, runs);
        DestroyWindow(frame);
        return shown ? 0 : 1;
    }

    Send(frame, FrameCommandNew);
    HWND small = GetParent(activePlanPane);
    AddObject(activeDocument->firstFloor, ObjWall, 0, false, 6.0f, {{-100, 0}, {100, 0}});
    Send(frame, FrameCommandNew);
    HWND large = GetParent(activePlanPane);
    double start = Now();
    BuildMixedPlan(objects);
    PrintValue("mixed plan, top-level objects", TopLevelObjects(), "");
    PrintTime("mixed plan, generated", Now() - start, 1);

    PlanSettings* s = activeDocument->settings;
    s->cameraMode = 2;
    s->aerialPitch = 30.0f;
    s->aerialYaw = 330.0f;
    orbitDistance = 1800.0f;
    Send(frame, 5270);
    Pump();
    WriteScenePictures();
    long polygons = 0;
    for (const ScenePolygon* p = sceneMeshes; p; p = p->next) {
        ++polygons;
        for (const ScenePolygon* q = p->openings; q; q = q->next)
            ++polygons;
        for (const ScenePolygon* q = p->parts; q; q = q->next)
            ++polygons;
    }
    PrintValue("scene polygons (with holes and parts)", (double)polygons, "");
    // One repaint loads the textures; then the floors, on the same window.
    RedrawWindow(renderWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const BareScene bare = TakeBareScene();
    MakeFloors(bare, s);
    const double listFloor = RepaintFloor(Way::List, 3);
    const double arrayFloor = RepaintFloor(Way::Arrays, 3);
    const double polygonPasses = PassesFloor(Way::OneByOne, s->antiAliasPasses);
    const double arrayPasses = PassesFloor(Way::Arrays, s->antiAliasPasses);
    RECT render;
    GetClientRect(renderWindow, &render);
    std::printf("render window %ld x %ld, %u anti-aliasing passes\n", render.right, render.bottom,
                s->antiAliasPasses);
    PrintTime("floor: the polygons through one display list, first view", listFloor, 3);
    PrintTime("floor: the polygons from vertex arrays, first view", arrayFloor, 3);
    PrintTime("floor: the final render's passes polygon by polygon", polygonPasses, 1);
    PrintTime("floor: the final render's passes from vertex arrays", arrayPasses, 1);
    Pump();

    Report("repaint of an unchanged scene", Run([] {
        InvalidateRect(renderWindow, nullptr, FALSE);
    }));
    Report("side camera (5151)", Run([frame] { Send(frame, 5151); }));
    Report("reset camera (5241)", Run([frame] { Send(frame, 5241); }));
    s->cameraMode = 2;
    Pump();

    // Edits in the top view of the plan at zoom 1, on the first storey.
    SendMessageA(frame, WM_COMMAND, 5149, 0);
    s->zoom = 1.0f;
    Pump();
    currentToolId = 7051;
    Report("a wall added by the wall tool", Run([] { Gesture(-200.0f, 500.0f, -50.0f, 500.0f); }));
    Report("the wall's addition undone (16)", Run([frame] { Send(frame, 16); }));
    Report("the wall's addition redone (16)", Run([frame] { Send(frame, 16); }));
    PlanObject* added = nullptr;
    for (PlanObject* o = activeDocument->firstFloor->firstObject; o; o = o->next)
        added = o;
    currentToolId = kSelectToolId;
    Send(frame, 5004);
    if (added)
        SetAllPointsSelected(added, 1);
    Report("the wall deleted (5199)", Run([frame] { Send(frame, 5199); }));
    Report("storey switched (5276)", Run([frame] { Send(frame, 5276); }));
    Report("storey switched back (5275)", Run([frame] { Send(frame, 5275); }));
    Report("window switched to the small plan", Run([small] {
        SendMessageA(mdiClientWindow, WM_MDIACTIVATE, (WPARAM)small, 0);
    }));
    Report("window switched back to the large plan", Run([large] {
        SendMessageA(mdiClientWindow, WM_MDIACTIVATE, (WPARAM)large, 0);
    }));
    Send(frame, 5003);
    Pump();
    Report("every object moved (arrow key)", Run([] { HandlePlanKeyDown(VK_RIGHT, 0); }));
    // What a move of every object cannot do without, the mounds moving the ground under
    // everything: every polygon built anew, then shaded anew for the repaint.
    Report("  every polygon built anew (RebuildAll3D)", Run([] { RebuildAll3D(); }));
    Report("  the repaint after it", Run([] { InvalidateRect(renderWindow, nullptr, FALSE); }));
    Report("final render (5285)", Run([frame] { Send(frame, FrameCommandFinalRender); }), polygonPasses, arrayPasses);

    for (HWND child = GetWindow(mdiClientWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (PlanDocument* document = GetWindowDocument(child))
            if (document->settings)
                document->settings->modified = 0;
    DestroyWindow(frame);
    return 0;
}
