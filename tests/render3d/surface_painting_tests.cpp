#include "support_view.h"
#include "files/plan_file.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model3d/stairs.h"
#include "model3d/fences.h"
#include "model3d/wall_rebuild.h"
#include "model/generated_children.h"
#include "render3d/surface_painting.h"
#include "render3d/scene_upkeep.h"
#include "model/wall_openings.h"
#include "render3d/shaded_polygons.h"
#include "render3d/interactive_view.h"
#include "render3d/object_polygons.h"
#include "tools/fixture_tools.h"
#include <GL/glu.h>
#include <psapi.h>
#include <cmath>
#include <algorithm>
#include <functional>
#include <stdlib.h>
#include <vector>

using view3d::LiveViewTest;

namespace {

// The texture ids of both faces of the object's vertices, where painting writes.
std::vector<uint32_t> FaceTextures(const PlanObject* object)
{
    std::vector<uint32_t> ids;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        ids.insert(ids.end(), {v->faceTextureA, v->faceTextureB});
    return ids;
}

bool Painted(const PlanObject* object, uint32_t id)
{
    for (uint32_t t : FaceTextures(object))
        if (t == id)
            return true;
    return false;
}

class PaintingTest : public LiveViewTest {
protected:
    int cx() const { return width / 2; }
    int cy() const { return height / 2; }
};

} // namespace

TEST_F(PaintingTest, TheNearestSurfaceTakesTheTextureAndTheFirstWinsATie)
{
    PlanObject* farBox = Box(-100, -100, 100, -80, 150, {0, 0, 255});
    PlanObject* nearBox = Box(-50, 50, 50, 70, 150, {255, 0, 0});
    RebuildAll3D();
    EXPECT_TRUE(ApplyTextureAtPoint3D(cx(), cy(), 1700));
    EXPECT_TRUE(Painted(nearBox, 1700));
    EXPECT_FALSE(Painted(farBox, 1700));

    // Two boxes in one place: the first drawn keeps the paint.
    PlanObject* twin = Box(-50, 50, 50, 70, 150, {0, 255, 0});
    RebuildAll3D();
    EXPECT_TRUE(ApplyTextureAtPoint3D(cx(), cy(), 1701));
    EXPECT_TRUE(Painted(nearBox, 1701));
    EXPECT_FALSE(Painted(twin, 1701));

    // Side by side at one depth: a drop on the right one's first column paints it.
    PlanObject* right = Box(0, 150, 60, 160, 60, {0, 255, 255});
    Box(-60, 150, 0, 160, 60, {255, 255, 0});
    RebuildAll3D();
    const std::vector<uint8_t> view = Frame();
    int x = cx() - 20;
    while (Pixel(view, x, 125).r > 100)
        ++x;
    EXPECT_TRUE(ApplyTextureAtPoint3D(x, 125, 1703) && Painted(right, 1703));
}

// A drop on a pixel where surfaces meet paints the nearest of those its pick region
// shows (the pixel, its left, above and above-left), as the view shows them: a picket
// fence with pickets 7 pixels wide before a box before a wall, the sky above. Plates
// nearer still lie just outside: the first column and row see none of them.
TEST_F(PaintingTest, ADropWhereSurfacesMeetPaintsTheNearestOfItsRegion)
{
    PlanObject* fence = vtest::MakePointObject(ObjPicketFence, Storey(0), {{-160, 0, 100}, {160, 0, 100}}, 0, 0);
    fence->styleOrTexture = 700;
    for (PlanVertex* v = fence->firstVertex; v; v = v->next)
        v->faceColourA = v->faceColourB = {65535, 65535, 0};
    RebuildPicketFence(fence);
    // Nearest first; the sky last.
    const std::vector<PlanObject*> surfaces = {fence, Box(-40, 0, 40, 40, 150, {255, 0, 0}),
                                               Box(-150, -200, 150, -180, 300, {0, 0, 255}), nullptr};
    Box(-300, 199.9f, -110.8f, 200, 150, {255, 0, 255});
    for (PlanVertex* v = Box(-100, 199.9f, 100, 200, 100, {255, 0, 255})->firstVertex; v; v = v->next)
        v->position[1] -= 179.2f;
    RebuildAll3D();
    const std::vector<uint8_t> view = Frame();
    // Which of them the pixel shows, by its colour; -1 for the ground.
    auto shown = [&](int x, int y) {
        const view3d::Rgb p = Pixel(view, std::max(x, 0), std::max(y, 0));   // no pixel outside
        return p.r > 100 && p.g > 100 && p.b < 60 ? 0 : p.r > 100 && p.g < 60 ? 1 : p.b > 100 && p.r < 60 ? 2
               : p.b > 200 ? 3 : -1;
    };
    auto painted = [&](uint32_t id) {
        for (int i = 0; i < 3; ++i)
            if (Painted(surfaces[(size_t)i], id))
                return i;
        return Settings()->backgroundTextureId == id ? 3 : -1;
    };
    uint32_t id = 1000, meeting[4] = {};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int region[4] = {shown(x, y), shown(x - 1, y), shown(x, y - 1), shown(x - 1, y - 1)};
            const int nearest = *std::min_element(region, region + 4);
            if (nearest < 0 || (nearest == *std::max_element(region, region + 4) && x && y))
                continue;
            ++meeting[nearest];
            ApplyTextureAtPoint3D(x, y, (int32_t)++id);
            ASSERT_EQ(nearest, painted(id)) << x << ", " << y;
        }
    EXPECT_GT(*std::min_element(meeting, meeting + 3), 20u);
    // A view 1 pixel wide reads its one column: the wall shown, the sky at the top.
    ASSERT_EQ(2, shown(cx(), 30));
    SetRenderClientSize(1, height);
    EXPECT_TRUE(ApplyTextureAtPoint3D(0, 30, 1998) && Painted(surfaces[2], 1998));
    EXPECT_EQ(3, (ApplyTextureAtPoint3D(0, 0, 1999), painted(1999)));
    // The wall raised to reach the top row: a drop there paints it.
    for (PlanVertex* v = surfaces[2]->firstVertex; v; v = v->next)
        v->position[1] *= 4.0f;
    RebuildAll3D();
    EXPECT_TRUE(ApplyTextureAtPoint3D(0, 0, 2000) && Painted(surfaces[2], 2000));
}

TEST_F(PaintingTest, AnOverflowingSelectionStillPaintsTheNearest)
{
    // 2600 quads one behind the other under the point: more hit records than the
    // selection buffer holds. Each has its own texture slot; the nearest comes second.
    PlanObject* owner = vtest::MakePointObject(8, nullptr, {}, 0, 0);
    std::vector<uint32_t> slots(2600, 0);
    ScenePolygon** tail = &sceneMeshes;
    for (int i = 0; i < 2600; ++i) {
        ScenePolygon* quad = CreateSceneNode();
        quad->buildChild = owner;
        quad->textureSlotB = &slots[(size_t)i];
        const float z = i == 1 ? 50.0f : -(float)i;
        MeshVertex* v = static_cast<MeshVertex*>(calloc(4, sizeof(MeshVertex)));
        const float corners[4][2] = {{-50, 0}, {50, 0}, {50, -200}, {-50, -200}};
        for (int k = 0; k < 4; ++k) {
            v[k].x = corners[k][0];
            v[k].y = corners[k][1];
            v[k].z = z;
        }
        AppendNodeFace(v, 4, 0, 0, 1, quad);
        *tail = quad;
        tail = &quad->next;
    }
    EXPECT_TRUE(ApplyTextureAtPoint3D(cx(), cy(), 1702));
    EXPECT_EQ(1702u, slots[1]);
    EXPECT_EQ(0u, slots[0]);
    FreeScenePolygons();
    FreeObject(owner);
}

TEST_F(PaintingTest, SkyAndGroundTakeThePaintOfThePlanAndReportNoSurface)
{
    BuildObject3D(Box(-50, -50, 50, 50, 100, {255, 0, 0}));
    PlanSettings* s = Settings();
    EXPECT_FALSE(ApplyTextureAtPoint3D(cx(), 2, 1555));
    EXPECT_EQ(1555u, s->backgroundTextureId);
    s->paintTextureId = 1150;
    EXPECT_FALSE(ApplyColorAtPoint3D(cx(), height - 3, RGB(10, 20, 30)));
    EXPECT_EQ(0, s->paintTextureId);
    EXPECT_EQ(10 * 257, s->groundColour.red);
    EXPECT_EQ(20 * 257, s->groundColour.green);
    EXPECT_EQ(30 * 257, s->groundColour.blue);
    // The sky after the box: nothing of the box's pick is read again.
    EXPECT_TRUE(ApplyTextureAtPoint3D(cx(), cy() + 20, 1556));
    EXPECT_FALSE(ApplyTextureAtPoint3D(cx(), 2, 1557));
    EXPECT_EQ(1557u, s->backgroundTextureId);
}

TEST_F(PaintingTest, StyleOneHundredFourClearsTheTrimWordOfTheSideInView)
{
    PlanObject* wall = vtest::MakePointObject(ObjWall, Storey(0), {{-200, 0, 0}, {200, 0, 0}}, 0, 0);
    wall->size = 6.0f;
    wall->parameters[0] = 200.0f;
    for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
        v->mainHeight = 200.0f;
        v->faceFlagsA = v->faceFlagsB = 0x0B;
    }
    RebuildWall(wall);
    RebuildAll3D();
    EXPECT_TRUE(ApplySurfaceStyleAtPoint3D(cx(), cy(), 104));
    const PlanVertex* first = wall->firstVertex;
    EXPECT_NE(first->faceFlagsA == 0, first->faceFlagsB == 0);
    EXPECT_TRUE(first->faceFlagsA == 0x0B || first->faceFlagsB == 0x0B);
}

TEST_F(PaintingTest, SavedPlansCarryThePaint)
{
    PlanObject* box = Box(-50, 50, 50, 70, 150, {255, 0, 0});
    RebuildAll3D();
    ASSERT_TRUE(ApplyColorAtPoint3D(cx(), cy(), RGB(0, 128, 0)));
    std::vector<ColourTriple> painted;
    for (const PlanVertex* v = box->firstVertex; v; v = v->next)
        painted.push_back(v->faceColourB);
    ASSERT_TRUE(SavePlanFile("painted.ZRO"));
    FreeScenePolygons();
    // Read back over the same document; the reader needs a plan pane.
    activePlanPane = vtest::CreatePaneStandIn();
    const bool read = LoadPlanFile("painted.ZRO");
    DestroyWindow(activePlanPane);
    activePlanPane = nullptr;
    ASSERT_TRUE(read);
    const PlanObject* copy = Storey(0)->firstObject;
    ASSERT_NE(copy, nullptr);
    size_t i = 0, green = 0;
    for (const PlanVertex* v = copy->firstVertex; v; v = v->next, ++i) {
        ASSERT_LT(i, painted.size());
        EXPECT_EQ(painted[i].green, v->faceColourB.green);
        green += v->faceColourB.green == 128 * 257;
    }
    EXPECT_GE(green, 1u);
}

// A toilet (a model of two parts) and a door in one wall, painted in 3D: a colour on each,
// then a texture on the toilet. Each drop shows where it fell, the paint is the toilet's
// own and on every part of its model, and a refit, a save and a reopen show the same.
TEST_F(PaintingTest, PaintOnAWallFixtureAndADoorOutlivesARefitAndASave)
{
    activePlanPane = vtest::CreatePaneStandIn();   // the libraries and the reader need one
    ASSERT_TRUE(vtest::LoadShippedSymbolLibraries());
    PlanObject* wall = vtest::AddWall(Storey(0), {{-200, 0, 0}, {200, 0, 0}}, 2);
    vtest::PressOnWall(wall, -60, 5);   // on the camera's side
    HandleWallFixtureTool(-60, 0, 5, 1, 7200);
    OpeningRecord* door = static_cast<OpeningRecord*>(vtest::AddDoor(wall, 0, 280, 36)->link);
    door->swingAngle = 1.5707963f;   // open a quarter turn, toward the camera
    door->flags = 4;
    FitWallOpenings(wall);
    RebuildAll3D();
    const std::vector<uint8_t> unpainted = Frame();
    const POINT toilet = {71, 114}, leaf = {146, 102};   // the bowl's top, the open leaf
    const struct { POINT at; int32_t texture; COLORREF colour; } drops[] = {
        {toilet, 0, RGB(200, 30, 30)}, {leaf, 0, RGB(20, 40, 220)}, {toilet, 1700, 0}};
    auto rgb = [this](const std::vector<uint8_t>& frame, POINT p) {
        const view3d::Rgb c = Pixel(frame, p.x, p.y);
        return c.r << 16 | c.g << 8 | c.b;
    };
    for (const auto& drop : drops) {
        ASSERT_TRUE(drop.texture ? ApplyTextureAtPoint3D(drop.at.x, drop.at.y, drop.texture)
                                 : ApplyColorAtPoint3D(drop.at.x, drop.at.y, drop.colour));
        FitWallOpenings(Storey(0)->firstObject);
        RebuildAll3D();
        const std::vector<uint8_t> painted = Frame();
        ASSERT_TRUE(SavePlanFile("fixture.ZRO"));
        FreeScenePolygons();
        ASSERT_TRUE(LoadPlanFile("fixture.ZRO"));
        RebuildAll3D();
        const std::vector<uint8_t> reopened = Frame();
        EXPECT_NE(rgb(painted, drop.at), rgb(unpainted, drop.at)) << drop.texture;
        for (POINT p : {toilet, leaf})
            EXPECT_EQ(rgb(reopened, p), rgb(painted, p)) << drop.texture << " at " << p.x;
        const PlanObject* fixture = Storey(0)->firstObject->firstChild;
        ASSERT_TRUE(fixture->styleOrTexture || IsColourSet(&fixture->colourB)) << drop.texture;
        int parts = 0;
        for (const PlanObject* part = fixture->firstPart; part; part = part->next, ++parts)
            for (const PlanVertex* v = part->firstVertex; v; v = v->next)
                EXPECT_TRUE(v->faceTextureB == fixture->styleOrTexture && v->faceColourA.red == fixture->colourB.red);
        EXPECT_EQ(parts, 2);
    }
    vtest::FreeSymbolLibraries();
    DestroyWindow(activePlanPane);
    activePlanPane = nullptr;
}

// The sample house's front door, open a quarter turn inward, seen from close in front and
// to its right: the middle of the doorway shows the leaf, which takes the paint while the
// wall around the hole keeps its own; a drop beside the door paints the wall.
TEST_F(PaintingTest, ADropInADoorwayPaintsTheDoorNotTheWallAroundIt)
{
    activePlanPane = vtest::CreatePaneStandIn();
    ASSERT_TRUE(LoadPlanFile(vtest::SourceFilePath("samples/house.ZRO").c_str()));
    // 150 back from the doorway's middle (x -240, z 360) along 45 degrees, at half its height.
    PlanSettings* s = Settings();
    s->cameraMode = 1, s->cameraHeading = 45.0f, s->cameraX = -134.0f, s->cameraZ = 466.0f;
    walkEyeHeight = 80.0f;
    RebuildAll3D();
    const PlanObject* wall = Storey(0)->firstObject;
    auto wallPaint = [wall] {
        std::vector<uint32_t> paint;
        for (const PlanVertex* v = wall->firstVertex; v; v = v->next)
            paint.insert(paint.end(), {v->faceColourA.red, v->faceColourB.blue, v->faceTextureA, v->faceTextureB});
        return paint;
    };
    const std::vector<uint32_t> unpainted = wallPaint();
    EXPECT_TRUE(ApplyColorAtPoint3D(cx(), cy(), RGB(200, 30, 30)));
    EXPECT_EQ(200 * 257, wall->firstChild->colourB.red);
    EXPECT_EQ(unpainted, wallPaint());
    EXPECT_TRUE(ApplyColorAtPoint3D(cx() + 70, cy(), RGB(20, 40, 220)));
    EXPECT_NE(unpainted, wallPaint());
    DestroyWindow(activePlanPane);
    activePlanPane = nullptr;
}

// The point of the plan (x, height, z) in client coordinates of the last frame.
static POINT OnScreen(float x, float height, float z, int clientHeight)
{
    GLdouble model[16], projection[16], wx = 0, wy = 0, wz = 0;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, height, z, model, projection, viewport, &wx, &wy, &wz);
    return {(LONG)wx, clientHeight - 1 - (LONG)wy};
}

// A drop paints what the view shows at its point: the repaint shows the dropped red
// there afterwards, whatever lay under the point. From above into a floor opening over a
// stair, the slab is cut away and the stair or the ground below shows, not a wall far
// off, built last; through a door open a quarter turn, seen from its right, ahead and
// its left, the leaf or what lies behind the doorway shows, not the wall around the hole.
class PaintWhatIsShownTest : public PaintingTest {
protected:
    // Drops red at the pixel of the plan point and reads the repaint there.
    view3d::Rgb DropRedAt(float x, float height, float z)
    {
        RebuildAll3D();
        Frame();
        const POINT p = OnScreen(x, height, z, this->height);
        EXPECT_TRUE(p.x > 0 && p.x < width && p.y > 0 && p.y < this->height);
        EXPECT_FALSE(IsRed(Pixel(Render(false), p.x, p.y)));
        ApplyColorAtPoint3D(p.x, p.y, RGB(230, 20, 20));
        return Pixel(Render(false), p.x, p.y);
    }
    // The dropped red, shaded: red leads, green and blue stay low.
    static bool IsRed(view3d::Rgb p) { return p.r > p.g + 60 && p.r > p.b + 60; }
};

TEST_F(PaintWhatIsShownTest, FromAboveIntoAFloorOpening)
{
    // A stair up to a floor opening in a second-storey slab round the origin, a chest
    // under the opening beside it, and a long wall far off, built last.
    PlanObject* stair = vtest::MakePointObject(ObjStair, Storey(0), {{-40, 0, -60}, {-40, 0, 60}}, 0, 0);
    const float stairSize[5] = {36.0f, 8.0f, 10.0f, 36.0f, 96.0f};
    for (int i = 0; i < 5; ++i)
        stair->parameters[i] = stairSize[i];
    stair->subType = 800;
    RebuildStair(stair);
    PlanObject* chest = Box(0, -25, 40, 25, 40, {40, 40, 200});
    const ColourTriple kUnsetColour = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
    for (uint16_t type : {ObjFloorSlab, ObjFloorOpening}) {
        const float r = type == ObjFloorSlab ? 300.0f : 70.0f;
        PlanObject* slab = vtest::MakePointObject(type, Storey(1), {{-r, -97, -r}, {r, -97, -r}, {r, -97, r}, {-r, -97, r}}, 0, 1);
        slab->parameters[2] = 6.0f;
        RebuildSlabChildren(slab);
    }
    vtest::AddWall(Storey(0), {{-900, 0, -1500}, {900, 0, -1500}}, 2);
    PlanSettings* s = Settings();
    s->cameraMode = 2;
    orbitDistance = 700.0f;
    const struct {
        float pitch, yaw;
        float at[3];   // the chest's top, or the ground beside it
    } cases[] = {{50.0f, 300.0f, {20, 40, 0}}, {70.0f, 30.0f, {20, 40, 0}}, {70.0f, 200.0f, {20, 0, 45}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pitch);
        s->aerialPitch = c.pitch;
        s->aerialYaw = c.yaw;
        EXPECT_TRUE(IsRed(DropRedAt(c.at[0], c.at[1], c.at[2])));
        s->groundColour = {30000, 40000, 30000};
        for (PlanVertex* v = chest->firstVertex; v; v = v->next)
            v->faceColourA = v->faceColourB = kUnsetColour;
    }
}

TEST_F(PaintWhatIsShownTest, ThroughADoorwaySeenFromThreeSides)
{
    activePlanPane = vtest::CreatePaneStandIn();
    walkEyeHeight = 80.0f;
    // 150 back from the middle of the front doorway (x -240, z 360) along the heading.
    for (float heading : {-30.0f, 0.0f, 30.0f}) {
        SCOPED_TRACE(heading);
        FreeScenePolygons();
        ASSERT_TRUE(LoadPlanFile(vtest::SourceFilePath("samples/house.ZRO").c_str()));
        PlanSettings* s = Settings();
        s->cameraMode = 1;
        s->paintTextureId = 0;
        s->cameraHeading = heading;
        s->cameraX = -240.0f + 150.0f * std::sin(heading * 0.017453293f);
        s->cameraZ = 360.0f + 150.0f * std::cos(heading * 0.017453293f);
        EXPECT_TRUE(IsRed(DropRedAt(-240.0f, 40.0f, 360.0f)));
    }
    DestroyWindow(activePlanPane);
    activePlanPane = nullptr;
}

// The process's private memory (the commit charge; what Wine reports as such).
static double PrivateKilobytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return (double)counters.PagefileUsage / 1024.0;
}

// Picks into the sky and edits with their frames, on a scene of about 3,400 polygons,
// keep no more memory a cycle than compiling and deleting a bare display list of as
// many polygons does in the same run, give or take a margin far below the scene's size.
TEST_F(PaintingTest, PicksAndEditsKeepNoMoreMemoryThanABareListOfTheScene)
{
    for (int i = 0; i < 570; ++i) {
        const float x = -2000.0f + 130.0f * (float)(i % 30), z = -2000.0f + 130.0f * (float)(i / 30);
        Box(x, z, x + 60, z + 60, 90, {200, 100, 50});
    }
    RebuildAll3D();
    int polygons = 0;
    for (const ScenePolygon* p = sceneMeshes; p; p = p->next)
        ++polygons;
    ASSERT_GT(polygons, 3000);
    const int cycles = 300;
    auto growth = [&](const std::function<void()>& cycle) {
        for (int i = 0; i < 60; ++i)
            cycle();
        const double before = PrivateKilobytes();
        for (int i = 0; i < cycles; ++i)
            cycle();
        return (PrivateKilobytes() - before) / cycles;
    };
    const double bare = growth([polygons] {
        const GLuint list = glGenLists(1);
        glNewList(list, GL_COMPILE_AND_EXECUTE);
        for (int i = 0; i < polygons; ++i) {
            glBegin(GL_QUADS);
            glColor3ub((GLubyte)i, 2, 3);
            glVertex3f((float)i, 0, 0);
            glVertex3f((float)i + 1, 0, 0);
            glVertex3f((float)i + 1, 1, 0);
            glVertex3f((float)i, 1, 0);
            glEnd();
        }
        glEndList();
        glDeleteLists(list, 1);
    });
    const double picks = growth([this] { ApplyTextureAtPoint3D(cx(), 2, 1555); });
    const double edits = growth([this] {
        RebuildObject3D(Storey(0)->firstObject);
        Frame();
    });
    EXPECT_LT(picks, bare + 64.0) << bare;
    EXPECT_LT(edits, bare + 64.0) << bare;
}
