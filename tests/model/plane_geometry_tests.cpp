#include <gtest/gtest.h>
#include "model/plane_geometry.h"

static const float kPi = 3.14159265f;

TEST(PlaneGeometry, DistancesInThePlaneAndInSpace)
{
    EXPECT_FLOAT_EQ(5.0f, Distance2D(0.0f, 0.0f, 3.0f, 4.0f));
    EXPECT_FLOAT_EQ(5.0f, Distance2D(3.0f, 4.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(0.0f, Distance2D(7.0f, -2.0f, 7.0f, -2.0f));
    // (2, 3, 6) is a 7-long vector.
    EXPECT_FLOAT_EQ(7.0f, Distance3D(1.0f, 2.0f, 3.0f, 3.0f, 5.0f, 9.0f));
}

TEST(PlaneGeometry, AnglesRunCounterClockwiseWithYDown)
{
    float d = -1.0f;
    EXPECT_EQ(0.0f, AngleBetweenPoints(4.0f, 4.0f, 4.0f, 4.0f, &d));
    EXPECT_EQ(0.0f, d);

    EXPECT_NEAR(0.0f, AngleBetweenPoints(0.0f, 0.0f, 2.0f, 0.0f, &d), 1e-6);
    EXPECT_FLOAT_EQ(2.0f, d);
    // Up on the plan (smaller y) is pi/2, down is 3pi/2, left is pi.
    EXPECT_NEAR(kPi / 2, AngleBetweenPoints(0.0f, 0.0f, 0.0f, -5.0f, &d), 1e-5);
    EXPECT_NEAR(3 * kPi / 2, AngleBetweenPoints(0.0f, 0.0f, 0.0f, 5.0f, &d), 1e-5);
    EXPECT_NEAR(kPi, AngleBetweenPoints(0.0f, 0.0f, -3.0f, 0.0f, &d), 1e-5);
    EXPECT_NEAR(7 * kPi / 4, AngleBetweenPoints(0.0f, 0.0f, 1.0f, 1.0f, &d), 1e-5);
    EXPECT_NEAR(1.4142136f, d, 1e-6);

    // No distance slot: nothing computed.
    EXPECT_EQ(0.0f, AngleBetweenPoints(0.0f, 0.0f, 1.0f, 1.0f, nullptr));
}

TEST(PlaneGeometry, PolarOffsetIsReturnedNotAdded)
{
    float dx = 100.0f, dy = 100.0f;
    OffsetPointPolar(0.0f, 3.0f, &dx, &dy);
    EXPECT_FLOAT_EQ(3.0f, dx);
    EXPECT_NEAR(0.0f, dy, 1e-6);

    // pi/2 points up the plan: y decreases.
    OffsetPointPolar(kPi / 2, 10.0f, &dx, &dy);
    EXPECT_NEAR(0.0f, dx, 1e-5);
    EXPECT_NEAR(-10.0f, dy, 1e-5);

    OffsetPointPolar(kPi, 2.0f, &dx, &dy);
    EXPECT_NEAR(-2.0f, dx, 1e-5);
    EXPECT_NEAR(0.0f, dy, 1e-5);

    OffsetPointPolar(7 * kPi / 4, 1.4142136f, &dx, &dy);
    EXPECT_NEAR(1.0f, dx, 1e-5);
    EXPECT_NEAR(1.0f, dy, 1e-5);

    // One missing slot: nothing is written.
    float keep = 42.0f;
    OffsetPointPolar(0.0f, 5.0f, &keep, nullptr);
    EXPECT_EQ(42.0f, keep);
}

TEST(PlaneGeometry, AngleAndOffsetAreInverse)
{
    float d = 0.0f;
    float a = AngleBetweenPoints(3.0f, -2.0f, -4.0f, 7.0f, &d);
    float dx = 0.0f, dy = 0.0f;
    OffsetPointPolar(a, d, &dx, &dy);
    EXPECT_NEAR(-7.0f, dx, 1e-4);
    EXPECT_NEAR(9.0f, dy, 1e-4);
}

TEST(PlaneGeometry, CompassDegrees)
{
    uint16_t deg = 999;
    RadiansToCompassDegrees(0.0f, &deg);
    EXPECT_EQ(90, deg);
    // North: the float just below pi/2 (the one just above it rounds up to 360).
    RadiansToCompassDegrees(1.5707962f, &deg);
    EXPECT_EQ(0, deg);
    RadiansToCompassDegrees(-kPi / 2, &deg);
    EXPECT_EQ(180, deg);
    RadiansToCompassDegrees(3 * kPi / 2, &deg);
    EXPECT_EQ(180, deg);
    RadiansToCompassDegrees(kPi, &deg);
    EXPECT_EQ(270, deg);
    RadiansToCompassDegrees(kPi / 4, &deg);
    EXPECT_EQ(45, deg);
    // A hair past north-by-the-angle rounds up to 360, not 0.
    RadiansToCompassDegrees(kPi / 2 + 1e-5f, &deg);
    EXPECT_EQ(360, deg);
}

TEST(PlaneGeometry, CompassDegreesBeyondOneTurnStayInRange)
{
    uint16_t deg = 999;
    // 3 turns plus east: still east.
    RadiansToCompassDegrees(6 * kPi, &deg);
    EXPECT_LE(deg, 360);
    EXPECT_TRUE(deg == 90 || deg == 89 || deg == 91);
    // -7pi points west like pi.
    RadiansToCompassDegrees(-7 * kPi, &deg);
    EXPECT_TRUE(deg == 270 || deg == 269 || deg == 271);
}

TEST(PlaneGeometry, SlopesAndTheVerticalSentinel)
{
    // -1.5 < dx < 0.5 counts as vertical.
    EXPECT_EQ(1234567.0f, ComputeSlope(0.0f, 0.0f, -1.2f, 5.0f));
    EXPECT_EQ(1234567.0f, ComputeSlope(0.0f, 0.0f, 0.4f, 5.0f));
    EXPECT_EQ(1234567.0f, ComputeSlope(3.0f, 0.0f, 3.0f, 5.0f));
    EXPECT_FLOAT_EQ(5.0f, ComputeSlope(0.0f, 0.0f, 0.6f, 3.0f));
    EXPECT_FLOAT_EQ(-2.5f, ComputeSlope(0.0f, 0.0f, -1.6f, 4.0f));

    EXPECT_EQ(1234567.0f, ComputeSlopeExact(2.0f, 0.0f, 2.0f, 9.0f));
    EXPECT_FLOAT_EQ(5.0f, ComputeSlopeExact(0.0f, 0.0f, 0.4f, 2.0f));
    EXPECT_FLOAT_EQ(-4.0f, ComputeSlopeExact(0.0f, 0.0f, -1.2f, 4.8f));

    EXPECT_FLOAT_EQ(1.0f, LineIntercept(2.0f, 7.0f, 3.0f));
}

TEST(PlaneGeometry, IntersectionOfCrossingLines)
{
    float x = 0.0f, y = 0.0f;
    // y = x and y = 10 - x meet at (5, 5).
    IntersectLines(0.0f, 0.0f, 10.0f, 10.0f, 0.0f, 10.0f, 10.0f, 0.0f, &x, &y);
    EXPECT_FLOAT_EQ(5.0f, x);
    EXPECT_FLOAT_EQ(5.0f, y);
    IntersectLinesExact(0.0f, 0.0f, 10.0f, 10.0f, 0.0f, 10.0f, 10.0f, 0.0f, &x, &y);
    EXPECT_FLOAT_EQ(5.0f, x);
    EXPECT_FLOAT_EQ(5.0f, y);
}

TEST(PlaneGeometry, VerticalLineTakesItsFirstPointsX)
{
    float x = 0.0f, y = 0.0f;
    // x = 5 against y = 2x.
    IntersectLines(5.0f, 0.0f, 5.0f, 10.0f, 0.0f, 0.0f, 10.0f, 20.0f, &x, &y);
    EXPECT_FLOAT_EQ(5.0f, x);
    EXPECT_FLOAT_EQ(10.0f, y);
    // The other order takes x from the second line's first point.
    IntersectLines(0.0f, 0.0f, 10.0f, 20.0f, 5.0f, 0.0f, 5.0f, 10.0f, &x, &y);
    EXPECT_FLOAT_EQ(5.0f, x);
    EXPECT_FLOAT_EQ(10.0f, y);
    // A steep line (dx = -1) counts as vertical at its first point.
    IntersectLines(5.0f, 0.0f, 4.0f, 10.0f, 0.0f, 0.0f, 10.0f, 20.0f, &x, &y);
    EXPECT_FLOAT_EQ(5.0f, x);
    EXPECT_FLOAT_EQ(10.0f, y);
}

TEST(PlaneGeometry, ParallelLinesGiveTheNoIntersectionSentinel)
{
    float x = 0.0f, y = 0.0f;
    IntersectLines(0.0f, 0.0f, 10.0f, 10.0f, 0.0f, 5.0f, 10.0f, 15.0f, &x, &y);
    EXPECT_EQ(32000.0f, x);
    EXPECT_EQ(32000.0f, y);
    // Two vertical lines.
    x = y = 0.0f;
    IntersectLines(0.0f, 0.0f, 0.0f, 10.0f, 5.0f, 0.0f, 5.0f, 10.0f, &x, &y);
    EXPECT_EQ(32000.0f, x);
    EXPECT_EQ(32000.0f, y);
    x = y = 0.0f;
    IntersectLinesExact(0.0f, 0.0f, 0.0f, 10.0f, 5.0f, 0.0f, 5.0f, 10.0f, &x, &y);
    EXPECT_EQ(32000.0f, x);
    EXPECT_EQ(32000.0f, y);
}

TEST(PlaneGeometry, NearlyParallelLinesToleratedOnlyByTheTolerantVariant)
{
    // Slopes 1 and 0.99975: 0.00025 apart. The exact variant finds the crossing near
    // x = 5 / 0.00025 = 20000.
    float x = 0.0f, y = 0.0f;
    IntersectLines(0.0f, 0.0f, 1000.0f, 1000.0f, 0.0f, 5.0f, 2000.0f, 2004.5f, &x, &y);
    EXPECT_EQ(32000.0f, x);
    EXPECT_EQ(32000.0f, y);
    IntersectLinesExact(0.0f, 0.0f, 1000.0f, 1000.0f, 0.0f, 5.0f, 2000.0f, 2004.5f, &x, &y);
    EXPECT_NEAR(20000.0f, x, 200.0f);
    EXPECT_NEAR(x, y, 1.0f);
}

TEST(PlaneGeometry, NullOutputsLeaveEverythingAlone)
{
    float x = 1.0f;
    IntersectLines(0.0f, 0.0f, 10.0f, 10.0f, 0.0f, 10.0f, 10.0f, 0.0f, &x, nullptr);
    EXPECT_EQ(1.0f, x);
    IntersectLinesExact(0.0f, 0.0f, 10.0f, 10.0f, 0.0f, 10.0f, 10.0f, 0.0f, &x, nullptr);
    EXPECT_EQ(1.0f, x);
    FindPerpendicularFoot(0.0f, 0.0f, 10.0f, 10.0f, 3.0f, 3.0f, &x, nullptr);
    EXPECT_EQ(1.0f, x);
}

TEST(PlaneGeometry, PerpendicularFoot)
{
    float x = 0.0f, y = 0.0f;
    FindPerpendicularFoot(0.0f, 3.0f, 10.0f, 3.0f, 4.0f, -7.0f, &x, &y);
    EXPECT_FLOAT_EQ(4.0f, x);
    EXPECT_FLOAT_EQ(3.0f, y);
    FindPerpendicularFoot(2.0f, 0.0f, 2.0f, 10.0f, 8.0f, 5.0f, &x, &y);
    EXPECT_FLOAT_EQ(2.0f, x);
    EXPECT_FLOAT_EQ(5.0f, y);
    // Onto y = x from (10, 0).
    FindPerpendicularFoot(0.0f, 0.0f, 10.0f, 10.0f, 10.0f, 0.0f, &x, &y);
    EXPECT_FLOAT_EQ(5.0f, x);
    EXPECT_FLOAT_EQ(5.0f, y);
}
