#include "support_view.h"
#include "files/plan_file.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model3d/wall_rebuild.h"
#include "render3d/surface_painting.h"
#include "render3d/scene_upkeep.h"
#include <stdlib.h>
#include <vector>

using view3d::LiveViewTest;

namespace {

// The texture id of the second face of the object's vertices, where painting writes.
std::vector<uint32_t> FaceTextures(const PlanObject* object)
{
    std::vector<uint32_t> ids;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        ids.push_back(v->faceTextureB);
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
