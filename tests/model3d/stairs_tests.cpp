#include "support_model3d.h"
#include "model3d/generated_parts.h"
#include "model3d/stairs.h"
#include "model3d/generator_limits.h"
#include <math.h>

using namespace m3test;

namespace {

// A flight climbing along +x between a left edge at z = -18 and a right edge at z = 18
// (the left edge lies a quarter turn counter-clockwise from the walking direction).
class FlightTest : public GeneratorTest {
protected:
    void SetUp() override
    {
        GeneratorTest::SetUp();
        owner = MakeObject(ObjStair, Storey(0), {{0, 0, 0}, {40, 0, 0}});
        stairRunState.firstEdgePending = 1;
        stairRunState.lastSegment = 1;
        stairRunState.lastStep = 0;
        stairRunState.accumulatedHeight = 0.0f;
    }
    void TearDown() override
    {
        FreeGeneratedParts(owner);
        GeneratorTest::TearDown();
    }

    void Lay(float length, float rise, float riser, float tread, uint32_t leftRailing,
             uint32_t rightRailing, float rightLength = -1.0f)
    {
        if (rightLength < 0.0f)
            rightLength = length;
        const float leftEnd[3] = {length, 0, -18};
        const float rightEnd[3] = {rightLength, 0, 18};
        BuildStepsBetweenEdges(owner, leftStart, leftEnd, rightStart, rightEnd, rise, 0.0f, riser,
                               tread, leftRailing, rightRailing, 36.0f, 77, treadColour, 0,
                               sideColour, 88, railingColour, 1);
    }

    PlanObject* owner = nullptr;
    float leftStart[3] = {0, 0, -18};
    float rightStart[3] = {0, 0, 18};
    ColourTriple treadColour = {10, 20, 30};
    ColourTriple sideColour = {40, 50, 60};
    ColourTriple railingColour = {70, 80, 90};
};

} // namespace

TEST_F(FlightTest, ARiseOf30GivesFourRisersOf7AndAHalf)
{
    Lay(40.0f, 30.0f, 7.5f, 10.0f, 0, 0);
    std::vector<PlanObject*> treads = PartsOfType(owner, 43);
    ASSERT_EQ(treads.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        std::vector<P3> points = Positions(treads[i]);
        ASSERT_EQ(points.size(), 8u);
        float x0 = 10.0f * i;
        float x1 = x0 + 10.0f;
        float lower = -7.5f * i;
        float upper = lower - 7.5f;
        // Previous left, previous right, new right, new left; lower ring then upper.
        EXPECT_POINT(points[0], x0, lower, -18);
        EXPECT_POINT(points[1], x0, lower, 18);
        EXPECT_POINT(points[2], x1, lower, 18);
        EXPECT_POINT(points[3], x1, lower, -18);
        EXPECT_POINT(points[4], x0, upper, -18);
        EXPECT_POINT(points[6], x1, upper, 18);
        EXPECT_EQ(treads[i]->colourA.green, 20);
        EXPECT_EQ(treads[i]->firstVertex->faceTextureA, 77u);
        EXPECT_EQ(treads[i]->firstVertex->faceTextureB, 77u);
        EXPECT_EQ(treads[i]->firstVertex->faceColourB.blue, 30);
        EXPECT_EQ(treads[i]->floor, nullptr);
    }
    EXPECT_FLOAT_EQ(stairRunState.accumulatedHeight, 30.0f);
    EXPECT_EQ(stairRunState.lastStep, 1);
    // The start points moved to the end of the flight.
    EXPECT_FLOAT_EQ(leftStart[0], 40.0f);
    EXPECT_FLOAT_EQ(leftStart[2], -18.0f);
    EXPECT_FLOAT_EQ(rightStart[0], 40.0f);
    EXPECT_FLOAT_EQ(rightStart[2], 18.0f);
    // Nothing of the flight is on the floor.
    EXPECT_EQ(Storey(0)->firstObject, owner);
    EXPECT_EQ(owner->next, nullptr);
}

TEST_F(FlightTest, SideBoardsRunJustOutsideTheEdgesFromTheFoot)
{
    Lay(40.0f, 30.0f, 7.5f, 10.0f, 0, 0);
    std::vector<PlanObject*> boards = PartsOfType(owner, 42);
    ASSERT_EQ(boards.size(), 8u);
    // Third step, left board: 0.1 outside z = -18, from the foot (0) to 3.0 below the
    // tread's top (-22.5).
    std::vector<P3> points = Positions(boards[4]);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_POINT(points[0], 20, 0, -18.1f);
    EXPECT_POINT(points[1], 30, 0, -18.1f);
    EXPECT_POINT(points[2], 20, -19.5f, -18.1f);
    EXPECT_POINT(points[3], 30, -19.5f, -18.1f);
    EXPECT_POINT(Positions(boards[5])[1], 30, 0, 18.1f);
    EXPECT_EQ(boards[5]->colourA.red, 40);
    EXPECT_EQ(PartsOfType(owner, 39).size(), 0u);
}

TEST_F(FlightTest, RailingsPutBalustersPostsAndASlopedRailOnEachSide)
{
    Lay(40.0f, 30.0f, 7.5f, 10.0f, 1, 1);
    std::vector<PlanObject*> railing = PartsOfType(owner, 39);
    // 2 balusters per step and side, a post at each side's first and last step, and a
    // rail per side.
    ASSERT_EQ(railing.size(), 16u + 4u + 2u);
    EXPECT_EQ(stairRunState.balusterCount, 16u);
    EXPECT_EQ(stairRunState.postCount, 4u);

    // In build order: step 1 left: balusters at x 2.5 and 7.5, 5 inside the edge
    // (z = -13), on the step's top (-7.5), 36 - 8 + 0.5 = 28.5 tall plus the slope
    // 7.5 / 10 times a quarter and three quarters of the tread.
    EXPECT_POINT(RingCentre(railing[0]), 2.5f, -7.5f, -13);
    EXPECT_NEAR(MinY(railing[0]), -7.5f - 30.375f, 1e-3f);
    EXPECT_POINT(RingCentre(railing[1]), 7.5f, -7.5f, -13);
    EXPECT_NEAR(MinY(railing[1]), -7.5f - 34.125f, 1e-3f);
    // Then the first post: 8 square at the start of the inset line, railing height
    // + 4 = 40 above the step.
    PlanObject* firstPost = railing[2];
    EXPECT_POINT(RingCentre(firstPost), 0, -7.5f, -13);
    EXPECT_NEAR(MinY(firstPost), -47.5f, 1e-3f);
    std::vector<P3> corners = Positions(firstPost);
    ASSERT_EQ(corners.size(), 8u);
    float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
    for (const P3& p : corners) {
        minX = fminf(minX, p.x);
        maxX = fmaxf(maxX, p.x);
        minZ = fminf(minZ, p.z);
        maxZ = fmaxf(maxZ, p.z);
    }
    EXPECT_NEAR(minX, -4.0f, 1e-4f);
    EXPECT_NEAR(maxX, 4.0f, 1e-4f);
    EXPECT_NEAR(minZ, -17.0f, 1e-4f);
    EXPECT_NEAR(maxZ, -9.0f, 1e-4f);
    // The right side of step 1 has its own first post.
    EXPECT_POINT(RingCentre(railing[5]), 0, -7.5f, 13);

    // Last step: posts at the end of each inset line on the top step.
    int endPosts = 0;
    for (PlanObject* part : railing) {
        P3 c = RingCentre(part);
        if (fabsf(c.x - 40.0f) < 1e-3f && fabsf(c.y + 30.0f) < 1e-3f &&
            fabsf(MinY(part) + 70.0f) < 1e-3f)
            ++endPosts;
    }
    EXPECT_EQ(endPosts, 2);

    // Rails: underside 28 above the step tops, from the first step (7.5) to the last (30).
    PlanObject* leftRail = railing[20];
    std::vector<P3> rail = Positions(leftRail);
    ASSERT_EQ(rail.size(), 8u);
    EXPECT_POINT(rail[0], 0, -35.5f, -12);
    EXPECT_POINT(rail[1], 40, -58.0f, -12);
    EXPECT_POINT(rail[4], 0, -37.5f, -12);
    float slopeLength = sqrtf(40.0f * 40.0f + 22.5f * 22.5f);
    EXPECT_NEAR(stairRunState.handrailLength, 2.0f * slopeLength, 1e-3f);
    EXPECT_EQ(leftRail->firstVertex->faceTextureA, 88u);
    EXPECT_EQ(leftRail->colourA.blue, 90);
}

TEST_F(FlightTest, TheShorterEdgeSetsTheRun)
{
    Lay(40.0f, 100.0f, 7.5f, 10.0f, 0, 0, 55.0f);
    std::vector<PlanObject*> treads = PartsOfType(owner, 43);
    ASSERT_EQ(treads.size(), 4u);
    EXPECT_POINT(Positions(treads[3])[2], 40, -22.5f, 18);
    EXPECT_FLOAT_EQ(rightStart[0], 40.0f);
    // Not the last flight of a walking line that is cut short: no last step.
    stairRunState.lastSegment = 0;
}

TEST_F(FlightTest, BuildingStopsAtTheTotalRise)
{
    Lay(60.0f, 15.0f, 7.5f, 10.0f, 0, 0);
    EXPECT_EQ(PartsOfType(owner, 43).size(), 2u);
    EXPECT_FLOAT_EQ(stairRunState.accumulatedHeight, 15.0f);
    EXPECT_FLOAT_EQ(leftStart[0], 20.0f);
}

TEST_F(FlightTest, ARunShorterThanHalfATreadLaysNothingAndDropsOneRiser)
{
    Lay(4.0f, 30.0f, 7.5f, 10.0f, 1, 1);
    EXPECT_TRUE(Parts(owner).empty());
    EXPECT_FLOAT_EQ(stairRunState.accumulatedHeight, -7.5f);
    EXPECT_FLOAT_EQ(leftStart[0], 0.0f);
    EXPECT_FLOAT_EQ(rightStart[2], 18.0f);
}

TEST_F(FlightTest, ZeroTreadAndRiserStayBounded)
{
    // A tread depth of 0 counts as 1.0: a run of 4 gets 4 steps.
    Lay(4.0f, 30.0f, 7.5f, 0.0f, 0, 0);
    EXPECT_EQ(PartsOfType(owner, 43).size(), 4u);
    FreeGeneratedParts(owner);

    // A riser of 0 never reaches the rise: the step count still ends the flight, and
    // each tread is 15.0 thick.
    leftStart[0] = rightStart[0] = 0.0f;
    stairRunState.accumulatedHeight = 0.0f;
    Lay(30.0f, 30.0f, 0.0f, 10.0f, 0, 0);
    std::vector<PlanObject*> treads = PartsOfType(owner, 43);
    ASSERT_EQ(treads.size(), 3u);
    EXPECT_NEAR(MinY(treads[0]), -15.0f, 1e-4f);
    EXPECT_FLOAT_EQ(stairRunState.accumulatedHeight, 0.0f);
}

TEST_F(FlightTest, InTheFramingViewRailsBecomeFramingMembers)
{
    Settings()->framingStyle = 1;
    Lay(20.0f, 15.0f, 7.5f, 10.0f, 0, 0);
    std::vector<PlanObject*> members = PartsOfType(owner, 42);
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(members[0]->firstVertex->faceTextureA, 2202u);
    // A framing member: 2.5 along the flight back from the new corner, 10.0 inwards,
    // from the foot to the tread's top.
    std::vector<P3> points = Positions(members[0]);
    ASSERT_EQ(points.size(), 8u);
    EXPECT_POINT(points[0], 7.5f, 0, -18);
    EXPECT_POINT(points[1], 10, 0, -18);
    EXPECT_POINT(points[2], 10, 0, -8);
    EXPECT_POINT(points[4], 7.5f, -7.5f, -18);
    // Both sides get a sloped member instead of a rail; no handrail is counted.
    std::vector<PlanObject*> rails = PartsOfType(owner, 39);
    ASSERT_EQ(rails.size(), 2u);
    EXPECT_EQ(rails[0]->firstVertex->faceTextureB, 2202u);
    EXPECT_FLOAT_EQ(stairRunState.handrailLength, 0.0f);
    EXPECT_EQ(stairRunState.balusterCount, 0u);
}

namespace {

// A stair of the style along the points: 36 wide, riser 7, tread 10, railing 36, rise 100.
class StairTest : public GeneratorTest {
protected:
    PlanObject* Stair(uint32_t style, std::initializer_list<P3> points)
    {
        PlanObject* stair = MakeObject(ObjStair, Storey(0), points);
        stair->subType = style;
        const float parameters[5] = {36.0f, 7.0f, 10.0f, 36.0f, 100.0f};
        for (int i = 0; i < 5; ++i)
            stair->parameters[i] = parameters[i];
        stair->imageId2 = 66;
        return stair;
    }
    // Landings are the treads about as deep as the stair is wide.
    static int Landings(const PlanObject* stair)
    {
        int n = 0;
        for (PlanObject* tread : PartsOfType(stair, 43)) {
            float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
            for (const P3& p : Positions(tread)) {
                minX = fminf(minX, p.x), maxX = fmaxf(maxX, p.x);
                minZ = fminf(minZ, p.z), maxZ = fmaxf(maxZ, p.z);
            }
            n += (maxX - minX > 30.0f && maxZ - minZ > 30.0f) ? 1 : 0;
        }
        return n;
    }
};

} // namespace

TEST_F(StairTest, ARiseOf100OverRisersOf7Takes14AndTheRiserReads7Again)
{
    PlanObject* stair = Stair(800, {{0, 0, 0}, {200, 0, 0}});
    RebuildStair(stair);
    std::vector<PlanObject*> treads = PartsOfType(stair, 43);
    ASSERT_EQ(treads.size(), 14u);
    EXPECT_NEAR(MinY(treads[13]), -(100.0f / 14.0f + 0.01f) * 14.0f, 1e-3f);
    EXPECT_EQ(treads[0]->firstVertex->faceTextureA, 66u);
    EXPECT_FLOAT_EQ(stair->parameters[1], 7.0f);
    // Rebuilding gives the same parts again.
    size_t parts = Parts(stair).size();
    RebuildStair(stair);
    EXPECT_EQ(Parts(stair).size(), parts);
    EXPECT_EQ(Landings(stair), 0);
}

TEST_F(StairTest, AnLShapedLineGetsOneLanding)
{
    PlanObject* stair = Stair(800, {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}});
    RebuildStair(stair);
    EXPECT_EQ(Landings(stair), 1);
    EXPECT_EQ(PartsOfType(stair, 43).size(), 14u);
}

TEST_F(StairTest, RisesThatMakeNoRiserLayNothing)
{
    const struct {
        float riser, rise;
    } cases[] = {{0.0f, 100.0f}, {-7.0f, 100.0f}, {NAN, 100.0f}, {7.0f, NAN}};
    for (const auto& c : cases) {
        PlanObject* stair = Stair(800, {{0, 0, 0}, {200, 0, 0}});
        RebuildStair(stair);
        ASSERT_FALSE(Parts(stair).empty());
        stair->parameters[1] = c.riser;
        stair->parameters[4] = c.rise;
        RebuildStair(stair);
        EXPECT_TRUE(Parts(stair).empty()) << c.riser << " " << c.rise;
        EXPECT_EQ(isnan(stair->parameters[1]), isnan(c.riser));
        if (!isnan(c.riser)) {
            EXPECT_EQ(stair->parameters[1], c.riser);
        }
    }
}

TEST_F(StairTest, ACurvedStairsFirstStationOnlyMarksItsEdge)
{
    PlanObject* shortLine = Stair(801, {{0, 0, 0}, {5, 0, 0}});
    RebuildStair(shortLine);
    EXPECT_TRUE(Parts(shortLine).empty());

    // Stations every tread depth: the first marks the edge, each later one lays a step.
    PlanObject* stair = Stair(801, {{0, 0, 0}, {35, 0, 0}});
    stair->parameters[4] = 70.0f;
    RebuildStair(stair);
    std::vector<PlanObject*> treads = PartsOfType(stair, 43);
    ASSERT_EQ(treads.size(), 3u);
    EXPECT_NEAR(RingCentre(treads[0]).x, 5.0f, 1e-3f);
    EXPECT_NEAR(RingCentre(treads[2]).x, 25.0f, 1e-3f);
    EXPECT_EQ(PartsOfType(stair, 40).size(), 6u);
    size_t parts = Parts(stair).size();
    RebuildStair(stair);
    EXPECT_EQ(Parts(stair).size(), parts);

    // A tread depth that is no positive number walks stations 1.0 apart.
    stair->parameters[2] = 0.0f;
    stair->parameters[4] = 14.0f;
    RebuildStair(stair);
    EXPECT_EQ(PartsOfType(stair, 43).size(), 2u);
}

TEST_F(StairTest, AFinelyCutStairMakesNoMoreThanTheLimit)
{
    PlanObject* stair = Stair(800, {{0, 0, 0}, {1.0e5f, 0, 0}, {1.0e5f, 0, 1.0e5f}});
    stair->parameters[1] = 0.001f;
    stair->parameters[2] = 0.01f;
    stair->parameters[4] = 1.0e5f;
    RebuildStair(stair);
    size_t parts = Parts(stair).size();
    EXPECT_LE(parts, (size_t)kMaxGeneratedPieces);
    EXPECT_GT(parts, (size_t)kMaxGeneratedPieces - 10);
}
