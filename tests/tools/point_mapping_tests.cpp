#include <gtest/gtest.h>
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/tool_state.h"

namespace {

class PointMapping : public testing::Test {
protected:
    void SetUp() override
    {
        document = CreatePlanDocument();
        ASSERT_NE(nullptr, document);
        ASSERT_NE(nullptr, document->settings);
        saved = {viewPitchDegrees, viewYawDegrees, perspectiveOn, viewOrigin};
        currentToolId = 203;
    }
    void TearDown() override
    {
        FreePlanDocument(document);
        activeDocument = nullptr;
        viewPitchDegrees = saved.pitch;
        viewYawDegrees = saved.yaw;
        perspectiveOn = saved.perspective;
        viewOrigin = saved.origin;
        ApplyViewAngles(viewPitchDegrees, viewYawDegrees, &viewPitchCos, &viewPitchSin, &viewYawCos,
                        &viewYawSin, 0);
        currentToolId = -1;
    }
    void View(float pitch, float yaw, ViewPoint origin)
    {
        viewPitchDegrees = pitch;
        viewYawDegrees = yaw;
        perspectiveOn = 0;
        viewOrigin = origin;
        ApplyViewAngles(pitch, yaw, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
    }
    // The model point as the plan pane shows it (zoomed view coordinates).
    void Project(float x, float y, float z, float* viewX, float* viewY)
    {
        float vz = z;
        *viewX = x;
        *viewY = y;
        TransformPointToView(viewX, viewY, &vz, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                             viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    }

    struct Saved {
        float pitch, yaw;
        uint8_t perspective;
        ViewPoint origin;
    } saved{};
    PlanDocument* document = nullptr;
};

TEST_F(PointMapping, TopViewPointMapsBackToThePlanWithTheZoomTakenOut)
{
    View(90.0f, 0.0f, ViewPoint{12.0f, -96.0f, -30.0f});
    document->settings->zoom = 2.0f;
    float vx = 0, vy = 0;
    Project(150.0f, 0.0f, 75.5f, &vx, &vy);
    // 2 * 150 - 12 across, 2 * 75.5 + 30 down.
    EXPECT_NEAR(288.0f, vx, 0.01f);
    EXPECT_NEAR(181.0f, vy, 0.01f);
    float x = -1, y = -1, z = -1;
    MapFloatPointToModel(vx, vy, &x, &y, &z, 1, nullptr, 1);
    EXPECT_NEAR(150.0f, x, 0.01f);
    EXPECT_NEAR(75.5f, z, 0.01f);
}

TEST_F(PointMapping, FrontViewKeepsAcrossAndHeight)
{
    View(0.0f, 0.0f, ViewPoint{0.0f, 0.0f, 0.0f});
    document->settings->zoom = 1.0f;
    float vx = 0, vy = 0;
    Project(40.0f, -60.0f, 0.0f, &vx, &vy);
    float x = 0, y = 0, z = 0;
    MapFloatPointToModel(vx, vy, &x, &y, &z, 0, nullptr, 1);
    EXPECT_NEAR(40.0f, x, 0.01f);
    EXPECT_NEAR(-60.0f, y, 0.01f);
}

TEST_F(PointMapping, NothingWithoutADocument)
{
    activeDocument = nullptr;
    float x = 7, y = 8, z = 9;
    MapFloatPointToModel(100.0f, 100.0f, &x, &y, &z, 1, nullptr, 1);
    EXPECT_EQ(7.0f, x);
    EXPECT_EQ(8.0f, y);
    EXPECT_EQ(9.0f, z);
    activeDocument = document;
}

} // namespace

namespace {

class PointMappingRules : public PointMapping {
protected:
    void SetUp() override
    {
        PointMapping::SetUp();
        // One display unit (inch) at a drawing scale of 6 is 12 plan points.
        document->settings->drawingUnit = 1;
        document->settings->drawingScale = 6.0f;
        document->settings->snapStepX = 1.0f;
        document->settings->snapStepY = 1.0f;
        currentToolId = 7700;
    }
};

TEST_F(PointMappingRules, SnapGoesDownToTheLineAtOrBelowWithoutWrapping)
{
    struct Case { float in, out; } cases[] = {
        {7.9f, 0.0f}, {-0.5f, 0.0f}, {-1.0f, -12.0f}, {12.0f, 12.0f}, {25.9f, 24.0f},
        {40000.7f, 39996.0f}, {-40000.0f, -40008.0f},
    };
    for (const Case& c : cases) {
        float x = c.in, y = c.in, z = c.in;
        EXPECT_EQ(SnapFloatPointToGrid(document->settings, &x, &y, &z), 1);
        EXPECT_EQ(x, c.out) << c.in;
        EXPECT_EQ(z, c.out) << c.in;
        EXPECT_EQ(y, c.in);
    }
    const float badSteps[] = {0.0f, -1.0f, std::nanf(""), INFINITY};
    for (float step : badSteps) {
        document->settings->snapStepY = step;
        float x = 7.5f, y = 1.5f, z = 7.5f;
        EXPECT_EQ(SnapFloatPointToGrid(document->settings, &x, &y, &z), 0);
        EXPECT_EQ(x, 7.5f);
        EXPECT_EQ(z, 7.5f);
    }
}

TEST_F(PointMappingRules, PlanPointsAtZoomOneAndTwoSnapUnlessTextOrViewpoint)
{
    View(90.0f, 0.0f, ViewPoint{0.0f, -96.0f, 0.0f});
    struct Case { float zoom; short tool; int32_t wx, wy; float x, z; } cases[] = {
        {1.0f, 7700, 50, 30, 48.0f, 24.0f}, {2.0f, 7700, 50, 30, 24.0f, 12.0f},
        {2.0f, 203, 51, 31, 25.5f, 15.5f},  {1.0f, 206, 51, 31, 51.0f, 31.0f},
    };
    for (const Case& c : cases) {
        document->settings->zoom = c.zoom;
        currentToolId = c.tool;
        float x = 0, y = 0, z = 0;
        MapPlanPointToModel(c.wx, c.wy, &x, &y, &z, 1, nullptr, 1);
        EXPECT_NEAR(x, c.x, 0.01f) << c.tool << " at zoom " << c.zoom;
        EXPECT_NEAR(z, c.z, 0.01f) << c.tool << " at zoom " << c.zoom;
    }
}

TEST_F(PointMappingRules, ClampKeepsExtentsAndLockedPlanes)
{
    struct Case { uint16_t plane; float ref[3]; float in[3]; float out[3]; } cases[] = {
        // Plan: the extents.
        {2, {0, 0, 0}, {2500, 0, -2600}, {2400, 0, -2400}},
        {2, {0, 0, 0}, {40000, 0, 40000}, {2400, 0, 2400}},
        // Elevation, height lock at 0 (truncated comparisons).
        {1, {0, 1.0f, 0}, {0, -1.0f, 0}, {0, 0.0f, 0}},
        {1, {0, -1.0f, 0}, {0, 1.0f, 0}, {0, 0.0f, 0}},
        {1, {0, -1.0f, 0}, {0, -5.0f, 0}, {0, -5.0f, 0}},
        {1, {0, 0.5f, 0}, {0, -3.0f, 0}, {0, 0.0f, 0}},
        {1, {0, 5.0f, 0}, {0, 0.9f, 0}, {0, 0.9f, 0}},
        {3, {0, -9.0f, 0}, {0, -2600.0f, 3000}, {0, -2400.0f, 2400}},
    };
    for (const Case& c : cases) {
        document->settings->viewPlane = c.plane;
        float point[3] = {c.in[0], c.in[1], c.in[2]};
        ClampPlanPoint(c.ref, point);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(point[i], c.out[i]) << "plane " << c.plane << " axis " << i;
    }
}

}  // namespace

#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model3d/wall_rebuild.h"
#include "support/plan_fixtures.h"

namespace {

TEST_F(PointMappingRules, InteriorWallToolPicksTheWallAndHandsSelectedSegmentsToTheDrag)
{
    View(90.0f, 0.0f, ViewPoint{0.0f, -96.0f, 0.0f});
    document->settings->zoom = 1.0f;
    PlanObject* wall = vtest::MakePointObject(ObjWall, document->currentFloor,
                                              {{0, 0, 0}, {100, 0, 0}}, 0, 0);
    wall->category = document->settings->activeCategory;
    wall->size = 6.0f;
    wall->parameters[0] = 96.0f;
    RebuildWall(wall);
    struct Case { uint8_t selected; int32_t wy; uint8_t hit; short tool; uint8_t handOver; } cases[] = {
        {0, 14, 1, 7051, 0}, {1, 14, 1, 200, 1}, {0, 40, 0, 7051, 0},
    };
    for (const Case& c : cases) {
        for (PlanVertex* v = wall->firstVertex; v; v = v->next)
            v->selected = c.selected;
        currentToolId = 7051;
        returnToWallTool = 0;
        planMouseState = {};
        planMouseState.hit = 1;
        float x = 0, y = 0, z = 0;
        MapPlanPointToModel(50, c.wy, &x, &y, &z, 1, &planMouseState, 1);
        EXPECT_EQ(planMouseState.hit, c.hit) << c.wy;
        EXPECT_EQ(planMouseState.object, c.hit ? wall : nullptr);
        EXPECT_EQ(currentToolId, c.tool);
        EXPECT_EQ(returnToWallTool, c.handOver);
        EXPECT_EQ(document->settings->pickTolerance, 5);
    }
    returnToWallTool = 0;
    planMouseState = {};
}

}  // namespace
