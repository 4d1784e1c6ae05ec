#include <gtest/gtest.h>
#include "shell/camera_presets.h"
#include "shell/startup.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "support_shell.h"

namespace {

class CameraPresets : public testing::Test {
protected:
    void SetUp() override
    {
        document = CreatePlanDocument();
        ASSERT_NE(nullptr, document);
        ASSERT_NE(nullptr, document->settings);
        activeDocument = document;
        savedPitch = viewPitchDegrees;
        savedYaw = viewYawDegrees;
        savedPerspective = perspectiveOn;
        savedScale = perspectiveScale;
        savedOrigin = viewOrigin;
    }
    void TearDown() override
    {
        if (pane)
            DestroyWindow(pane);
        activePlanPane = nullptr;
        FreePlanDocument(document);
        activeDocument = nullptr;
        viewPitchDegrees = savedPitch;
        viewYawDegrees = savedYaw;
        perspectiveOn = savedPerspective;
        perspectiveScale = savedScale;
        viewOrigin = savedOrigin;
        shelltest::UnregisterShellClasses();
    }
    void SetCamera(float pitch, float yaw, unsigned char perspective = 0, float scale = 6.0f)
    {
        viewPitchDegrees = pitch;
        viewYawDegrees = yaw;
        perspectiveOn = perspective;
        perspectiveScale = scale;
    }
    // A plan pane whose own DC keeps the window origin the reset sets.
    HWND MakePane(int width, int height)
    {
        EXPECT_TRUE(RegisterWindowClasses(GetModuleHandleA(nullptr)));
        RECT rect = {0, 0, width, height};
        AdjustWindowRectEx(&rect, WS_POPUP, FALSE, 0);
        pane = CreateWindowExA(0, "MainClass", nullptr, WS_POPUP, 0, 0, rect.right - rect.left,
                               rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        activePlanPane = pane;
        return pane;
    }

    PlanDocument* document = nullptr;
    HWND pane = nullptr;
    float savedPitch = 0, savedYaw = 0, savedScale = 0;
    unsigned char savedPerspective = 0;
    ViewPoint savedOrigin = {0, 0, 0};
};

TEST_F(CameraPresets, PresetCommandByPitchAndYaw)
{
    SetCamera(90.0f, 0.0f);
    EXPECT_EQ(5149, GetCameraPresetCommand());
    SetCamera(89.6f, 0.4f);
    EXPECT_EQ(5149, GetCameraPresetCommand());
    SetCamera(89.4f, 0.0f);
    EXPECT_EQ(5162, GetCameraPresetCommand());
    SetCamera(0.0f, 270.0f);
    EXPECT_EQ(5151, GetCameraPresetCommand());
    SetCamera(0.2f, 89.5f);
    EXPECT_EQ(5152, GetCameraPresetCommand());
    SetCamera(0.0f, 0.0f);
    EXPECT_EQ(5153, GetCameraPresetCommand());
    SetCamera(0.0f, 180.0f);
    EXPECT_EQ(5154, GetCameraPresetCommand());
    SetCamera(20.0f, 330.0f);
    EXPECT_EQ(5162, GetCameraPresetCommand());
}

TEST_F(CameraPresets, AlternateViewGoesByItsScale)
{
    // Even the top view's angles do not count as the top view in the other view mode.
    SetCamera(90.0f, 0.0f, 1, 1.0f);
    EXPECT_EQ(5179, GetCameraPresetCommand());
    SetCamera(0.0f, 315.0f, 1, 6.0f);
    EXPECT_EQ(5155, GetCameraPresetCommand());
    SetCamera(90.0f, 0.0f, 1, 2.5f);
    EXPECT_EQ(0, GetCameraPresetCommand());
}

TEST_F(CameraPresets, NothingWithoutADocumentWithSettings)
{
    SetCamera(90.0f, 0.0f);
    activeDocument = nullptr;
    EXPECT_EQ(0, GetCameraPresetCommand());
    unsigned char changed = 7;
    SetCamera(0.0f, 0.0f);
    EXPECT_EQ(0, ResetCameraToTopView(&changed));
    EXPECT_EQ(0, changed);
    EXPECT_EQ(0.0f, viewPitchDegrees);
    activeDocument = document;
    PlanSettings* settings = document->settings;
    document->settings = nullptr;
    EXPECT_EQ(0, GetCameraPresetCommand());
    document->settings = settings;
}

TEST_F(CameraPresets, ResetToTopViewReportsAChange)
{
    unsigned char changed = 7;
    SetCamera(90.0f, 0.0f);
    document->settings->viewPlane = 1;
    EXPECT_EQ(5149, ResetCameraToTopView(&changed));
    EXPECT_EQ(0, changed);
    EXPECT_EQ(2, document->settings->viewPlane);

    SetCamera(0.0f, 0.0f, 1, 6.0f);
    EXPECT_EQ(5149, ResetCameraToTopView(&changed));
    EXPECT_EQ(1, changed);
    EXPECT_EQ(90.0f, viewPitchDegrees);
    EXPECT_EQ(0.0f, viewYawDegrees);
    EXPECT_EQ(0, perspectiveOn);
    EXPECT_EQ(5149, GetCameraPresetCommand());
}

TEST_F(CameraPresets, WorkingElevationIsTheBaseOfTheCurrentFloor)
{
    activePlanPane = GetDesktopWindow();
    PlanFloor* first = document->firstFloor;
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, first->next);
    viewOrigin.y = -96.0f;
    document->settings->referenceHeight = 50.0f;
    document->currentFloor = first->next;
    ResetWorkingElevation();
    EXPECT_FLOAT_EQ(96.0f, document->settings->workingElevation);
    EXPECT_EQ(0.0f, viewOrigin.y);
    EXPECT_EQ(0.0f, document->settings->referenceHeight);

    document->currentFloor = first;
    ResetWorkingElevation();
    EXPECT_EQ(0.0f, document->settings->workingElevation);

    // Without a plan pane nothing changes.
    activePlanPane = nullptr;
    document->currentFloor = first->next;
    ResetWorkingElevation();
    EXPECT_EQ(0.0f, document->settings->workingElevation);
}

TEST_F(CameraPresets, ResetAndRedrawCentresThePlanInThePane)
{
    HWND plan = MakePane(400, 300);
    ASSERT_NE(nullptr, plan);
    RECT client;
    GetClientRect(plan, &client);
    ASSERT_EQ(400, client.right);
    ASSERT_EQ(300, client.bottom);
    PlanSettings* settings = document->settings;
    // A plan deeper than it is wide: the depth extents place the vertical origin.
    settings->extentTop = -1000.0f;
    settings->extentLeft = -2400.0f;
    settings->extentBottom = 1000.0f;
    settings->extentRight = 2400.0f;
    viewOrigin.x = 15.0f;
    viewOrigin.z = -15.0f;
    ResetWorkingElevationAndRedraw();

    EXPECT_EQ(2400.0f, settings->referenceX);
    EXPECT_EQ(-1000.0f, settings->referenceZ);
    EXPECT_EQ(0.0f, viewOrigin.x);
    EXPECT_EQ(0.0f, viewOrigin.z);
    HDC dc = GetDC(plan);
    POINT origin;
    GetWindowOrgEx(dc, &origin);
    ReleaseDC(plan, dc);
    EXPECT_EQ(-2400 + (4800 - 400) / 2, origin.x);
    EXPECT_EQ(-1000 + (2000 - 300) / 2, origin.y);
}

} // namespace
