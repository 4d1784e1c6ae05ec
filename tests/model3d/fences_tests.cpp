#include "support_model3d.h"
#include "model3d/fences.h"
#include "model3d/generator_limits.h"
#include <math.h>
#include <string>

using namespace m3test;

namespace {

// (left x, width) of a piece standing along +x.
struct Span {
    float x, width;
};

Span SpanOf(const PlanObject* piece)
{
    float low = 1e9f, high = -1e9f;
    for (const P3& p : Positions(piece)) {
        low = fminf(low, p.x);
        high = fmaxf(high, p.x);
    }
    return {low, high - low};
}

std::vector<Span> Spans(const PlanObject* fence, uint32_t vertices)
{
    std::vector<Span> spans;
    for (PlanObject* piece : Parts(fence))
        if (piece->vertexCount == vertices)
            spans.push_back(SpanOf(piece));
    return spans;
}

void ExpectSpans(const std::vector<Span>& actual, std::vector<Span> expected, const char* what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-3f) << what << " " << i;
        EXPECT_NEAR(actual[i].width, expected[i].width, 1e-3f) << what << " " << i;
    }
}

using FenceTest = GeneratorTest;

} // namespace

TEST_F(FenceTest, PicketsRailsAndGatesFollowTheSegments)
{
    PlanObject* pickets = MakeObject(ObjPicketFence, Storey(0), {{0, 0, 0}, {50, 0, 0}});
    pickets->styleOrTexture = 700;
    pickets->firstVertex->faceTextureA = 77;
    RebuildPicketFence(pickets);
    // 12-wide pickets with 6-wide rail gaps between them, and what is left at the end.
    ExpectSpans(Spans(pickets, 5), {{0, 12}, {18, 12}, {36, 12}, {48, 2}}, "pickets");
    ExpectSpans(Spans(pickets, 4), {{12, 6}, {12, 6}, {30, 6}, {30, 6}}, "rails");
    EXPECT_EQ(Parts(pickets)[0]->type, ObjPicketFence);
    EXPECT_EQ(Parts(pickets)[0]->firstVertex->faceTextureA, 77u);

    PlanObject* gate = MakeObject(ObjPicketFence, Storey(0), {{0, 0, 0}, {60, 0, 0}});
    gate->styleOrTexture = 700;
    gate->firstVertex->kind = 6;
    RebuildPicketFence(gate);
    ExpectSpans(Spans(gate, 6), {{12, 36}}, "middle board");
    ExpectSpans(Spans(gate, 4), {{0, 6}, {0, 6}, {54, 6}, {54, 6}, {6, 6}, {48, 6}}, "ends");

    gate->firstVertex->next->position[0] = 49.0f;
    RebuildPicketFence(gate);
    EXPECT_TRUE(Parts(gate).empty());
}

TEST_F(FenceTest, PostsStandTwentyApartAlongTheFence)
{
    PlanObject* fence = MakeObject(ObjFence, Storey(0), {{0, 0, 0}, {45, 0, 0}});
    Settings()->curveSteps = 0xFFF0;  // a damaged count still walks
    RebuildFence(fence);
    std::vector<PlanObject*> posts = Parts(fence);
    ASSERT_EQ(posts.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_POINT(RingCentre(posts[i]), 20.0f * i, -1.0f, 0.0f);
        float top = MinY(posts[i]);
        EXPECT_TRUE(top <= -12.0f && top >= -24.0f) << top;
    }
}

TEST_F(FenceTest, ALongFenceMakesNoMoreThanTheLimit)
{
    PlanObject* fence = MakeObject(ObjPicketFence, Storey(0), {{0, 0, 0}, {1.0e6f, 0, 0}});
    fence->styleOrTexture = 703;
    RebuildPicketFence(fence);
    EXPECT_EQ(Parts(fence).size(), (size_t)kMaxGeneratedPieces);
}

TEST_F(FenceTest, AFloorRebuildBuildsOnlyThatFloorsFences)
{
    // On each storey a style-700 picket fence 30 long (2 pickets, 2 rails) and a post
    // fence 25 long (posts at 0 and 20); the second storey is hidden.
    std::vector<PlanObject*> fences;
    for (int k = 0; k < 6; ++k) {
        fences.push_back(MakeObject(k % 2 ? ObjFence : ObjPicketFence, Storey(k / 2), {{0, 0, 0}, {k % 2 ? 25.0f : 30.0f, 0, 0}}));
        fences.back()->styleOrTexture = 700;
    }
    Storey(1)->shown = 0;
    const struct { void (*rebuild)(PlanFloor*); PlanFloor* floor; const char* counts; } cases[] = {
        {RebuildFloorPicketFences, Storey(0), "40 00 00 "}, {RebuildFloorFences, Storey(1), "40 00 00 "},
        {RebuildFloorFences, Storey(0), "42 00 00 "}, {RebuildAllPicketFences, document->firstFloor, "42 00 40 "},
        {RebuildAllFences, document->firstFloor, "42 00 42 "}};
    for (const auto& c : cases) {
        c.rebuild(c.floor);
        std::string counts;
        for (size_t k = 0; k < 6; ++k) counts += std::to_string(Parts(fences[k]).size()) + (k % 2 ? " " : "");
        EXPECT_EQ(c.counts, counts);
    }
}
