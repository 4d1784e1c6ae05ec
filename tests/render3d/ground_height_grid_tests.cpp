#include "render3d/ground_height_grid.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "render3d/scene_upkeep.h"
#include "support/plan_fixtures.h"
#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>

namespace {

class GroundGridTest : public vtest::LiveSceneTest {
protected:
    // A topography square raising the ground by step between -100 and 100 on both axes:
    // grid points at -96, -24 and 48 lie inside.
    PlanObject* Mound(float step)
    {
        PlanObject* mound = vtest::MakePointObject(ObjTopography, Storey(0),
                                                   {{-100, 0, -100}, {100, 0, -100}, {100, 0, 100},
                                                    {-100, 0, 100}},
                                                   0, 1);
        mound->size = step;
        return mound;
    }
    // A group of one library object on the terrain, its box centred on (x, z), its
    // lowest point at the datum.
    PlanObject* GroupAt(float x, float z)
    {
        PlanObject* group = vtest::MakePointObject(ObjGroup, Storey(0), {}, 0, 0);
        PlanObject* member = vtest::MakePointObject(15, nullptr, {{x, 0, z}, {x, -30, z}}, 0, 0);
        vtest::AppendChildObject(group, member);
        group->onTerrain = 1;
        const float box[6] = {-30, x - 10, z - 10, 0, x + 10, z + 10};
        for (int k = 0; k < 6; ++k)
            group->box3D[k] = box[k];
        return group;
    }
};

} // namespace

TEST_F(GroundGridTest, TopographyRaisesTheGridPointsInsideIt)
{
    AllocGroundHeightGrid();
    EXPECT_EQ(groundGridRows, 66);   // 4800 / 72 = 66.67 cells
    EXPECT_EQ(groundGridColumns, 66);
    EXPECT_EQ(GetTerrainHeightAt(-24.0f, -24.0f, 0), 0.0f);  // no terrain objects yet

    PlanObject* mound = Mound(24.0f);
    RebuildAll3D();
    ASSERT_NE(groundGrid, nullptr);
    EXPECT_EQ(groundGrid[33 * 67 + 33], 24.0f);
    EXPECT_EQ(groundGrid[35 * 67 + 33], 0.0f);
    EXPECT_FLOAT_EQ(GetTerrainHeightAt(-24.0f, -24.0f, 0), -24.0f);
    EXPECT_FLOAT_EQ(GetTerrainHeightAt(84.0f, -24.0f, 0), -12.0f);  // half way to 120
    EXPECT_EQ(GetTerrainHeightAt(5000.0f, 0.0f, 0), kNoGroundHeight);
    // Whether the plan has ground follows a mound deleted and one added by a walk, before
    // the walk's whole rebuild makes the grid anew.
    for (bool ground : {false, true}) {
        WholeRebuildsHeld walk;
        EXPECT_NE(ground, PlanHasTerrainObjects());
        ground ? BuildObject3D(Mound(24.0f)) : DeleteObjectWithDependants(mound);
        EXPECT_EQ(ground, PlanHasTerrainObjects());
    }
}

TEST_F(GroundGridTest, AGroupRestsOnTheGroundAndStaysWhereThereIsNone)
{
    Mound(24.0f);
    PlanObject* inside = GroupAt(-24.0f, -24.0f);
    PlanObject* outside = GroupAt(5000.0f, 0.0f);
    RebuildAll3D();
    RebuildAll3D();  // settled once, not again
    EXPECT_FLOAT_EQ(inside->firstChild->firstVertex->position[1], -24.0f);
    EXPECT_FLOAT_EQ(inside->firstChild->firstVertex->next->position[1], -54.0f);
    EXPECT_FLOAT_EQ(outside->firstChild->firstVertex->position[1], 0.0f);
    EXPECT_FLOAT_EQ(outside->firstChild->firstVertex->next->position[1], -30.0f);
}

TEST_F(GroundGridTest, PolygonsOnTheTerrainFollowTheGroundWhereThereIsSome)
{
    Mound(24.0f);
    RebuildAll3D();
    PlanObject* owner = vtest::MakePointObject(9, Storey(0), {}, 0, 0);
    owner->onTerrain = 1;
    const struct {
        int16_t sourceType;
        float onMound, offGrid;
    } cases[] = {
        {ObjPath, -30.0f, -7.0f},  // 6.0 above the ground; no ground: as it was
        {8, -24.0f, -31.0f},       // stands on the highest ground under it
        {15, 0.0f, -7.0f},         // library objects are not moved
    };
    for (const auto& c : cases) {
        ScenePolygon* polygon = CreateSceneNode();
        polygon->sourceType = c.sourceType;
        MeshVertex* v = static_cast<MeshVertex*>(malloc(2 * sizeof(MeshVertex)));
        v[0] = {-24.0f, 0.0f, -24.0f, 0, 0.0f, 0.0f};
        v[1] = {5000.0f, -7.0f, 0.0f, 0, 0.0f, 0.0f};
        AppendNodeFace(v, 2, 0.0f, 1.0f, 0.0f, polygon);
        PlaceSceneNodeVertically(polygon, owner);
        EXPECT_FLOAT_EQ(polygon->outlines->vertices[0].y, c.onMound) << c.sourceType;
        EXPECT_FLOAT_EQ(polygon->outlines->vertices[1].y, c.offGrid) << c.sourceType;
        FreeSceneNode(polygon);
    }
}

TEST_F(GroundGridTest, ExtentsThatMakeNoGridLeaveTheGroundFlat)
{
    Mound(24.0f);
    const struct {
        const char* name;
        float top, left, bottom, right;
    } cases[] = {
        {"inverted", 2400, -2400, -2400, 2400},
        {"narrower than a cell", -30, -2400, 30, 2400},
        {"not a number", NAN, -2400, 2400, 2400},
        {"absurdly large", -3e30f, -3e30f, 3e30f, 3e30f},
    };
    for (const auto& c : cases) {
        PlanSettings* s = document->settings;
        s->extentTop = c.top;
        s->extentLeft = c.left;
        s->extentBottom = c.bottom;
        s->extentRight = c.right;
        RebuildAll3D();
        EXPECT_EQ(groundGrid, nullptr) << c.name;
        EXPECT_EQ(GetTerrainHeightAt(-24.0f, -24.0f, 0), 0.0f) << c.name;
    }
}

TEST(SkyOffsets, AQuarterTurnShiftsTheSkyByOnePicture)
{
    const struct {
        uint16_t mode;
        float heading, yaw;
        float left, right;
    } cases[] = {
        {1, 0.0f, 45.0f, 0.0f, 1.0f},
        {2, 30.0f, 0.0f, 0.0f, -1.0f},
        {1, 90.0f, 0.0f, -1.0f, 0.0f},
        {2, 0.0f, 90.0f, -1.0f, -2.0f},
    };
    for (const auto& c : cases) {
        PlanSettings settings{};
        settings.cameraMode = c.mode;
        settings.cameraHeading = c.heading;
        settings.aerialYaw = c.yaw;
        UpdateSkyTextureOffsets(&settings);
        EXPECT_EQ(skyTextureU[0], c.left);
        EXPECT_EQ(skyTextureU[3], c.left);
        EXPECT_EQ(skyTextureU[1], c.right);
        EXPECT_EQ(skyTextureU[2], c.right);
    }
}
