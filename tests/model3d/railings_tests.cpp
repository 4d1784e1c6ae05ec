#include "support_model3d.h"
#include "model3d/generated_parts.h"
#include "model3d/generator_limits.h"
#include "model3d/railings.h"
#include "model3d/stairs.h"
#include <math.h>

using namespace m3test;

namespace {

class RailingTest : public GeneratorTest {
protected:
    void TearDown() override
    {
        for (PlanObject* railing : railings)
            FreeGeneratedParts(railing);
        GeneratorTest::TearDown();
    }

    PlanObject* MakeRailing(std::initializer_list<P3> points, uint32_t style, float spacing,
                            uint32_t endPosts)
    {
        PlanObject* railing = MakeObject(ObjRailing, Storey(0), points);
        railing->subType = style;
        railing->parameters[0] = 36.0f;
        railing->parameters[1] = spacing;
        railing->offsetSide = endPosts;
        railing->value4 = endPosts;
        railing->imageId1 = 55;
        railing->colour3 = {11, 22, 33};
        railings.push_back(railing);
        return railing;
    }

    // Parts whose first-ring centre lies on (x, z).
    static int CountAt(const std::vector<PlanObject*>& parts, float x, float z)
    {
        int n = 0;
        for (PlanObject* part : parts) {
            P3 c = RingCentre(part);
            if (fabsf(c.x - x) < 1e-3f && fabsf(c.z - z) < 1e-3f)
                ++n;
        }
        return n;
    }

    // Posts are the 8.0-wide columns.
    static std::vector<PlanObject*> Posts(const PlanObject* railing)
    {
        std::vector<PlanObject*> posts;
        for (PlanObject* part : Parts(railing)) {
            float minX = 1e9f, maxX = -1e9f;
            for (const P3& p : Positions(part)) {
                minX = fminf(minX, p.x);
                maxX = fmaxf(maxX, p.x);
            }
            if (fabsf(maxX - minX - 8.0f) < 1e-3f)
                posts.push_back(part);
        }
        return posts;
    }

    std::vector<PlanObject*> railings;
};

} // namespace

TEST_F(RailingTest, A60LongSegmentAt6Gets11BalustersPostsAndTwoRails)
{
    PlanObject* railing = MakeRailing({{0, 0, 0}, {60, 0, 0}}, 802, 6.0f, 1);
    RebuildRailing(railing);
    std::vector<PlanObject*> parts = Parts(railing);
    // Start post, 11 balusters, top rail, bottom rail, end post.
    ASSERT_EQ(parts.size(), 15u);
    for (PlanObject* part : parts) {
        EXPECT_EQ(part->type, 39);
        EXPECT_EQ(part->colourA.green, 22);
        EXPECT_EQ(part->firstVertex->faceTextureB, 55u);
        EXPECT_EQ(part->firstVertex->faceColourA.blue, 33);
        EXPECT_EQ(part->floor, nullptr);
    }
    for (int i = 0; i <= 10; ++i) {
        PlanObject* baluster = parts[1 + i];
        EXPECT_POINT(RingCentre(baluster), 6.0f * i, 0, 0);
        EXPECT_NEAR(MinY(baluster), -36.0f, 1e-4f);
        EXPECT_NEAR(MaxY(baluster), 0.0f, 1e-4f);
    }
    std::vector<P3> baluster = Positions(parts[1]);
    EXPECT_POINT(baluster[0], -1, 0, 1);
    EXPECT_POINT(baluster[2], 1, 0, -1);

    std::vector<P3> top = Positions(parts[12]);
    ASSERT_EQ(top.size(), 8u);
    EXPECT_POINT(top[0], 0, -36, 2);
    EXPECT_POINT(top[1], 60, -36, 2);
    EXPECT_POINT(top[2], 60, -36, -2);
    EXPECT_POINT(top[4], 0, -38, 2);
    std::vector<P3> bottom = Positions(parts[13]);
    EXPECT_POINT(bottom[3], 0, 0, -2);
    EXPECT_POINT(bottom[7], 0, -2, -2);

    // Posts 8.0 square, railing height + 4.0 tall, on each point.
    std::vector<P3> post = Positions(parts[0]);
    EXPECT_POINT(post[0], -4, 0, 4);
    EXPECT_POINT(post[2], 4, 0, -4);
    EXPECT_POINT(post[6], 4, -40, -4);
    EXPECT_POINT(RingCentre(parts[14]), 60, 0, 0);

    EXPECT_EQ(stairRunState.balusterCount, 11u);
    EXPECT_EQ(stairRunState.postCount, 2u);
    EXPECT_FLOAT_EQ(stairRunState.handrailLength, 60.0f);
    EXPECT_EQ(Storey(0)->firstObject, railing);
    EXPECT_EQ(railing->next, nullptr);
}

TEST_F(RailingTest, StraightRailingsPostEveryPointAndFollowSlopes)
{
    PlanObject* railing = MakeRailing({{0, 0, 0}, {0, -12, 30}, {40, -12, 30}}, 802, 10.0f, 1);
    RebuildRailing(railing);
    std::vector<PlanObject*> posts = Posts(railing);
    ASSERT_EQ(posts.size(), 3u);
    EXPECT_EQ(CountAt(posts, 0, 0), 1);
    EXPECT_EQ(CountAt(posts, 0, 30), 1);
    EXPECT_EQ(CountAt(posts, 40, 30), 1);
    // The first segment climbs 12: its top rail lies 36 above each end's own height.
    PlanObject* top = nullptr;
    for (PlanObject* part : Parts(railing))
        if (Positions(part).size() == 8u && fabsf(MinY(part) + 50.0f) < 1e-3f) {
            top = part;
            break;
        }
    ASSERT_NE(top, nullptr);
    std::vector<P3> points = Positions(top);
    EXPECT_NEAR(points[0].y, -36.0f, 1e-4f);
    EXPECT_NEAR(points[1].y, -48.0f, 1e-4f);
    EXPECT_NEAR(points[5].y, -50.0f, 1e-4f);
    // Rebuilding replaces the parts and the totals keep growing until the estimate
    // resets them.
    size_t count = Parts(railing).size();
    uint32_t balusters = stairRunState.balusterCount;
    RebuildRailing(railing);
    EXPECT_EQ(Parts(railing).size(), count);
    EXPECT_EQ(stairRunState.balusterCount, 2 * balusters);
}

TEST_F(RailingTest, WithoutEndPostsOnlyBalustersAndRails)
{
    PlanObject* railing = MakeRailing({{0, 0, 0}, {60, 0, 0}}, 802, 6.0f, 0);
    RebuildRailing(railing);
    EXPECT_EQ(Parts(railing).size(), 13u);
    EXPECT_TRUE(Posts(railing).empty());
    EXPECT_EQ(stairRunState.postCount, 0u);
}

TEST_F(RailingTest, AShortSegmentStillGetsBalustersAtBothEnds)
{
    PlanObject* railing = MakeRailing({{0, 0, 0}, {2, 0, 0}}, 802, 6.0f, 0);
    RebuildRailing(railing);
    EXPECT_EQ(stairRunState.balusterCount, 2u);
    std::vector<PlanObject*> parts = Parts(railing);
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_POINT(RingCentre(parts[0]), 0, 0, 0);
    EXPECT_POINT(RingCentre(parts[1]), 2, 0, 0);
}

TEST_F(RailingTest, ASpacingOfZeroOrBelowCountsAsOne)
{
    for (float spacing : {0.0f, -6.0f}) {
        stairRunState = StairRunState{};
        PlanObject* railing = MakeRailing({{0, 0, 0}, {10, 0, 0}}, 802, spacing, 0);
        RebuildRailing(railing);
        EXPECT_EQ(stairRunState.balusterCount, 11u) << "spacing " << spacing;
    }
}

TEST_F(RailingTest, ADamagedSpacingCannotAskForEndlessBalusters)
{
    PlanObject* railing = MakeRailing({{0, 0, 0}, {50000, 0, 0}}, 802, 0.001f, 0);
    RebuildRailing(railing);
    // Each baluster is a piece: the railing's limit of pieces is reached by balusters.
    EXPECT_EQ(stairRunState.balusterCount, static_cast<uint32_t>(kMaxGeneratedPieces));
}

TEST_F(RailingTest, APostDownToTheGroundStartsAtZero)
{
    PlanObject* owner = MakeRailing({{0, 0, 0}, {10, 0, 0}}, 802, 6.0f, 0);
    const float point[3] = {20, -24, 5};
    AddPostBox(point, 0.0f, owner, 10.0f, 1, 3, ColourTriple{1, 1, 1});
    AddPostBox(point, 0.0f, owner, 10.0f, 0, 3, ColourTriple{1, 1, 1});
    std::vector<PlanObject*> parts = Parts(owner);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_NEAR(MaxY(parts[0]), 0.0f, 1e-4f);
    EXPECT_NEAR(MinY(parts[0]), -34.0f, 1e-4f);
    EXPECT_NEAR(MaxY(parts[1]), -24.0f, 1e-4f);
    EXPECT_EQ(stairRunState.postCount, 2u);
    // Turned a quarter: the 8.0 square is still centred on the point.
    stairRunState = StairRunState{};
    AddPostBox(point, 1.5707963f, owner, 10.0f, 0, 3, ColourTriple{1, 1, 1});
    EXPECT_POINT(RingCentre(Parts(owner)[2]), 20, -24, 5);
}

TEST_F(RailingTest, RailingsThatCannotBeBuiltAreLeftAlone)
{
    PlanObject* single = MakeRailing({{0, 0, 0}}, 802, 6.0f, 1);
    PlanObject* twoRows = MakeRailing({{0, 0, 0}, {60, 0, 0}}, 802, 6.0f, 1);
    twoRows->rows = 2;
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {60, 0, 0}});
    RebuildRailing(single);
    RebuildRailing(twoRows);
    RebuildRailing(line);
    RebuildRailing(nullptr);
    EXPECT_TRUE(Parts(single).empty());
    EXPECT_TRUE(Parts(twoRows).empty());
    EXPECT_EQ(line->link, nullptr);
}

TEST_F(RailingTest, CurvedRailingsPostOnlyTheirEndsAndStationEverySpacing)
{
    PlanObject* railing = MakeRailing({{0, 0, 0}, {63, 0, 0}}, 803, 6.0f, 1);
    RebuildRailing(railing);
    std::vector<PlanObject*> posts = Posts(railing);
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(CountAt(posts, 0, 0), 1);
    EXPECT_EQ(CountAt(posts, 63, 0), 1);
    // Stations at 0, 6, ..., 60: 11 balusters 36.5 tall, rails between them.
    EXPECT_EQ(stairRunState.balusterCount, 11u);
    std::vector<PlanObject*> balusters;
    for (PlanObject* part : PartsOfType(railing, 39))
        if (fabsf(MinY(part) + 36.5f) < 1e-3f)
            balusters.push_back(part);
    ASSERT_EQ(balusters.size(), 11u);
    for (int i = 0; i <= 10; ++i)
        EXPECT_NEAR(RingCentre(balusters[i]).x, 6.0f * i, 1e-2f);
    std::vector<PlanObject*> rails = PartsOfType(railing, 44);
    ASSERT_EQ(rails.size(), 20u);
    EXPECT_NEAR(MinY(rails[0]), -38.5f, 1e-3f);
    EXPECT_NEAR(MaxY(rails[1]), 0.0f, 1e-3f);
    EXPECT_NEAR(stairRunState.handrailLength, 60.0f, 1e-2f);
    EXPECT_EQ(stairRunState.postCount, 2u);
}

TEST_F(RailingTest, CurvedRailingsStayBoundedWithDamagedValues)
{
    // No curve steps and no spacing: both fall back to usable values.
    Settings()->curveSteps = 0;
    PlanObject* railing = MakeRailing({{0, 0, 0}, {10.5f, 0, 0}}, 803, 0.0f, 0);
    RebuildRailing(railing);
    EXPECT_EQ(stairRunState.balusterCount, 11u);

    // A line far longer than any plan at a tiny spacing stops at the generator's limit.
    stairRunState = StairRunState{};
    Settings()->curveSteps = 8;
    PlanObject* endless = MakeRailing({{0, 0, 0}, {1.0e7f, 0, 0}}, 803, 1.0f, 0);
    RebuildRailing(endless);
    size_t pieces = 0;
    for (PlanObject* p = static_cast<PlanObject*>(endless->link); p; p = p->next)
        ++pieces;
    EXPECT_EQ(pieces, static_cast<size_t>(kMaxGeneratedPieces));
}
