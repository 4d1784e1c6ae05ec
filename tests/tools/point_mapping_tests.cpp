#include <gtest/gtest.h>
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
