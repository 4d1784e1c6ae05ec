#include <gtest/gtest.h>
#include "model/view_projection.h"
#include "geometry_fixtures.h"

using geometrytest::ScopedDocument;
using geometrytest::ViewStateScope;

namespace {

struct Angles {
    float cp, sp, cy, sy;
};

Angles AnglesOf(float pitch, float yaw)
{
    Angles a;
    ApplyViewAngles(pitch, yaw, &a.cp, &a.sp, &a.cy, &a.sy, 0);
    return a;
}

void ExpectPoint(float x, float y, float z, float gx, float gy, float gz, float tolerance = 1e-4f)
{
    EXPECT_NEAR(x, gx, tolerance);
    EXPECT_NEAR(y, gy, tolerance);
    EXPECT_NEAR(z, gz, tolerance);
}

void Project(const Angles& a, float ox, float oy, float oz, float& x, float& y, float& z)
{
    RotatePointToView(&x, &y, &z, a.cp, a.sp, a.cy, a.sy, ox, oy, oz);
}

} // namespace

TEST(ViewProjection, InitialStateIsTheTopView)
{
    // Read before any test touches the state.
    EXPECT_EQ(90.0f, viewPitchDegrees);
    EXPECT_EQ(0.0f, viewYawDegrees);
    EXPECT_EQ(-96.0f, viewOrigin.y);
    EXPECT_EQ(0, perspectiveOn);
    EXPECT_EQ(600.0f, viewerDistance);
    EXPECT_EQ(6.0f, perspectiveScale);
    EXPECT_FLOAT_EQ(0.017453292f, degreesToRadians);
}

TEST(ViewProjection, TopViewShowsXAndZ)
{
    ViewStateScope view;
    Angles a = AnglesOf(90.0f, 0.0f);
    EXPECT_NEAR(0.0f, a.cp, 1e-6);
    EXPECT_NEAR(1.0f, a.sp, 1e-6);
    EXPECT_NEAR(1.0f, a.cy, 1e-6);
    EXPECT_NEAR(0.0f, a.sy, 1e-6);
    float x = 10.0f, y = 5.0f, z = 20.0f;
    Project(a, 0.0f, 0.0f, 0.0f, x, y, z);
    ExpectPoint(10.0f, 20.0f, -5.0f, x, y, z);
    // The origin is subtracted first.
    x = 10.0f, y = 5.0f, z = 20.0f;
    Project(a, 2.0f, -96.0f, 3.0f, x, y, z);
    ExpectPoint(8.0f, 17.0f, -101.0f, x, y, z);
}

TEST(ViewProjection, PresetViews)
{
    ViewStateScope view;
    float x, y, z;
    // Pitch 270: seen from below, screen y = -z.
    x = 10.0f, y = 5.0f, z = 20.0f;
    Project(AnglesOf(270.0f, 0.0f), 0.0f, 0.0f, 0.0f, x, y, z);
    ExpectPoint(10.0f, -20.0f, 5.0f, x, y, z);
    // Pitch 0, yaw 315: X = (x + z) / sqrt 2, Y = height, Z = (z - x) / sqrt 2.
    x = 10.0f, y = 5.0f, z = 20.0f;
    Project(AnglesOf(0.0f, 315.0f), 0.0f, 0.0f, 0.0f, x, y, z);
    ExpectPoint(21.2132f, 5.0f, 7.07107f, x, y, z);
    // Pitch 20, yaw 330.
    x = 10.0f, y = 5.0f, z = 20.0f;
    Project(AnglesOf(20.0f, 330.0f), 0.0f, 0.0f, 0.0f, x, y, z);
    ExpectPoint(18.66025f, 8.91233f, 9.86739f, x, y, z);
    // Pitch 90, yaw 90: the plan turned a quarter.
    x = 10.0f, y = 5.0f, z = 20.0f;
    Project(AnglesOf(90.0f, 90.0f), 0.0f, 0.0f, 0.0f, x, y, z);
    ExpectPoint(-20.0f, 10.0f, -5.0f, x, y, z);
}

TEST(ViewProjection, PerspectiveScalesPointAndOrigin)
{
    ViewStateScope view;
    perspectiveOn = 1;
    Angles a = AnglesOf(90.0f, 0.0f);
    float x = 10.0f, y = 5.0f, z = 20.0f;
    Project(a, 1.0f, 0.0f, 0.0f, x, y, z);
    ExpectPoint(54.0f, 120.0f, -30.0f, x, y, z);
}

TEST(ViewProjection, InverseRotationReturnsTheModelPoint)
{
    ViewStateScope view;
    for (int perspective = 0; perspective < 2; ++perspective) {
        perspectiveOn = (uint8_t)perspective;
        Angles a = AnglesOf(20.0f, 330.0f);
        float x = 10.0f, y = 5.0f, z = 20.0f;
        Project(a, 1.0f, 2.0f, 3.0f, x, y, z);
        RotatePointByAngles(&x, &y, &z, a.cp, a.sp, a.cy, a.sy, 1.0f, 2.0f, 3.0f);
        ExpectPoint(10.0f, 5.0f, 20.0f, x, y, z);
    }
    // The top view back from the screen.
    perspectiveOn = 0;
    Angles top = AnglesOf(90.0f, 0.0f);
    float x = 10.0f, y = 20.0f, z = -5.0f;
    RotatePointByAngles(&x, &y, &z, top.cp, top.sp, top.cy, top.sy, 0.0f, 0.0f, 0.0f);
    ExpectPoint(10.0f, 5.0f, 20.0f, x, y, z);
}

TEST(ViewProjection, PerspectiveDivideAndItsInverse)
{
    float x = 60.0f, y = 30.0f, z = 300.0f;
    ApplyPerspective(&x, &y, &z, 600.0f, 0.0f, 0.0f, 0.0f);
    ExpectPoint(120.0f, 60.0f, 600.0f, x, y, z);
    RemovePerspective(&x, &y, &z, 600.0f, 0.0f, 0.0f, 0.0f);
    ExpectPoint(60.0f, 30.0f, 300.0f, x, y, z);

    // The offset is added before the divide and taken off after the inverse.
    x = 50.0f, y = 30.0f, z = 300.0f;
    ApplyPerspective(&x, &y, &z, 600.0f, 10.0f, 0.0f, 0.0f);
    ExpectPoint(120.0f, 60.0f, 600.0f, x, y, z);
    RemovePerspective(&x, &y, &z, 600.0f, 10.0f, 0.0f, 0.0f);
    ExpectPoint(50.0f, 30.0f, 300.0f, x, y, z);

    // At the eye w would be 0: 0.0001 is used instead.
    x = 1.0f, y = 2.0f, z = 600.0f;
    ApplyPerspective(&x, &y, &z, 600.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_NEAR(10000.0f, x, 1.0f);
    EXPECT_NEAR(20000.0f, y, 2.0f);
}

TEST(ViewProjection, SegmentIntoTheCurrentView)
{
    ViewStateScope view;
    float x1 = 10.0f, y1 = 5.0f, z1 = 20.0f, x2 = -4.0f, y2 = 0.0f, z2 = 7.0f;
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, 0);
    ExpectPoint(10.0f, 20.0f, -5.0f, x1, y1, z1);
    ExpectPoint(-4.0f, 7.0f, 0.0f, x2, y2, z2);
    // With the divide: w = 1 + 5 / 600 for the first point, 1 for the second.
    x1 = 10.0f, y1 = 5.0f, z1 = 20.0f, x2 = -4.0f, y2 = 0.0f, z2 = 7.0f;
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, 1);
    ExpectPoint(9.917355f, 19.83471f, -4.958678f, x1, y1, z1);
    ExpectPoint(-4.0f, 7.0f, 0.0f, x2, y2, z2);
}

TEST(ViewProjection, ZoomFlagZoomsThePointNotTheOrigin)
{
    ViewStateScope view;
    ScopedDocument doc;
    doc.settings.zoom = 2.0f;
    float x = 10.0f, y = 5.0f, z = 20.0f;
    TransformPointToView(&x, &y, &z, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1);
    ExpectPoint(19.0f, 40.0f, -10.0f, x, y, z);
    x = 10.0f, y = 5.0f, z = 20.0f;
    TransformPointToView(&x, &y, &z, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0);
    ExpectPoint(9.0f, 20.0f, -5.0f, x, y, z);
}

TEST(ViewProjection, PlaneThroughThreePoints)
{
    float a, b, c, d;
    ComputePlaneFromPoints(0, 0, 5, 1, 0, 5, 0, 1, 5, &a, &b, &c, &d);
    ExpectPoint(0.0f, 0.0f, 1.0f, a, b, c);
    EXPECT_FLOAT_EQ(5.0f, d);
    ComputePlaneFromPoints(1, 0, 0, 0, 1, 0, 0, 0, 1, &a, &b, &c, &d);
    ExpectPoint(1.0f, 1.0f, 1.0f, a, b, c);
    EXPECT_FLOAT_EQ(1.0f, d);

    EXPECT_FLOAT_EQ(3.0f, SolvePlaneForZ(2.0f, 3.0f, 1.0f, 1.0f, 2.0f, 11.0f));
    // c = 0: the numerator unchanged.
    EXPECT_FLOAT_EQ(6.0f, SolvePlaneForZ(2.0f, 3.0f, 1.0f, 1.0f, 0.0f, 11.0f));
}

TEST(ViewProjection, WorkPlaneNeedsADocument)
{
    ViewStateScope view;
    EXPECT_EQ(0.0f, GetWorkPlaneDepth(10.0f, 10.0f, 24.0f));
    workPlane = {1.0f, 1.0f, 1.0f, 1.0f};
    float cp, sp, cy, sy;
    ApplyViewAngles(90.0f, 0.0f, &cp, &sp, &cy, &sy, 0);
    EXPECT_EQ(1.0f, workPlane.a);
    EXPECT_EQ(1.0f, workPlane.d);
}

TEST(ViewProjection, PlanWorkPlaneInTheTopView)
{
    ViewStateScope view;
    ScopedDocument doc;
    viewOrigin = {0.0f, -96.0f, 0.0f};
    doc.settings.referenceHeight = 10.0f;
    ApplyViewAngles(90.0f, 0.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
    // The plan plane at height 10 lies at depth -(10 + 96) under every point.
    EXPECT_NEAR(-106.0f, SolvePlaneForZ(0.0f, 0.0f, workPlane.a, workPlane.b, workPlane.c,
                                        workPlane.d), 1e-3);
    EXPECT_NEAR(-106.0f, SolvePlaneForZ(300.0f, -50.0f, workPlane.a, workPlane.b, workPlane.c,
                                        workPlane.d), 1e-3);
    // The plane placed at another height.
    EXPECT_NEAR(-120.0f, GetWorkPlaneDepth(40.0f, 70.0f, 24.0f), 1e-3);
    // Zoomed corners, unzoomed origin.
    doc.settings.zoom = 2.0f;
    EXPECT_NEAR(-144.0f, GetWorkPlaneDepth(40.0f, 70.0f, 24.0f), 1e-3);
}

TEST(ViewProjection, WorkPlaneWithPerspective)
{
    ViewStateScope view;
    ScopedDocument doc;
    viewOrigin = {0.0f, -96.0f, 0.0f};
    doc.settings.referenceHeight = 10.0f;
    ApplyViewAngles(90.0f, 0.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 1);
    // -106 / (1 + 106 / 600).
    EXPECT_NEAR(-90.08499f, SolvePlaneForZ(5.0f, 5.0f, workPlane.a, workPlane.b, workPlane.c,
                                           workPlane.d), 1e-2);
}

TEST(ViewProjection, SideWorkPlanes)
{
    ViewStateScope view;
    ScopedDocument doc;
    // Mode 1 (x and height) in the front view: the plane at z = -2400.
    doc.settings.viewPlane = 1;
    ApplyViewAngles(0.0f, 0.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
    EXPECT_NEAR(-2400.0f, SolvePlaneForZ(12.0f, -30.0f, workPlane.a, workPlane.b, workPlane.c,
                                         workPlane.d), 1e-1);
    // Mode 3 (z and height) seen from the side (yaw 90): depth is x, the plane at 2400.
    doc.settings.viewPlane = 3;
    ApplyViewAngles(0.0f, 90.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
    EXPECT_NEAR(2400.0f, SolvePlaneForZ(12.0f, -30.0f, workPlane.a, workPlane.b, workPlane.c,
                                        workPlane.d), 1e-1);
    // An unknown mode keeps the plane it had.
    PlaneEquation before = workPlane;
    doc.settings.viewPlane = 7;
    ApplyViewAngles(90.0f, 0.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
    EXPECT_EQ(before.c, workPlane.c);
    EXPECT_EQ(before.d, workPlane.d);
}
