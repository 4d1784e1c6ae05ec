// The drawing builders and the arc points: corners, arc vertices and tangents against
// hand-computed values, the dimension's offset side, its label and records.
#include <gtest/gtest.h>
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "support/plan_fixtures.h"
#include "tools/cad_builders.h"
#include "tools/shape_tools.h"

namespace {

using vtest::VertexAt;

class CadBuilders : public vtest::RecordCheckedDocumentTest {
protected:
    void SetUp() override
    {
        RecordCheckedDocumentTest::SetUp();
        vtest::ShowTopView();
        pane = vtest::CreatePaneStandIn();
        activePlanPane = pane;
    }
    void TearDown() override
    {
        RecordCheckedDocumentTest::TearDown();
        DestroyWindow(pane);
        activePlanPane = nullptr;
    }
    static void ExpectAt(const PlanVertex* v, float x, float y, float z)
    {
        ASSERT_NE(v, nullptr);
        EXPECT_NEAR(v->position[0], x, 0.01f);
        EXPECT_NEAR(v->position[1], y, 0.01f);
        EXPECT_NEAR(v->position[2], z, 0.01f);
    }
    HWND pane = nullptr;
};

TEST_F(CadBuilders, TriangleCornersFollowTheGivenPointAt120Degrees)
{
    PlanObject* triangle = BuildCadRegularPolygon(0, 0, 10, 0, document->currentFloor, 3, 1, 7);
    ASSERT_NE(triangle, nullptr);
    EXPECT_EQ(triangle->type, 4);
    EXPECT_EQ(CountVertexChain(triangle), 3);
    ExpectAt(VertexAt(triangle, 0), -5.0f, -8.660f, 7.0f);   // 120 degrees, y grows downward
    ExpectAt(VertexAt(triangle, 1), -5.0f, 8.660f, 7.0f);    // 240
    ExpectAt(VertexAt(triangle, 2), 10.0f, 0.0f, 7.0f);      // 360: the given point
    EXPECT_EQ(BuildCadRegularPolygon(0, 0, 10, 0, document->currentFloor, 2, 1, 0), nullptr);
    EXPECT_EQ(BuildCadRegularPolygon(0, 0, 0, 0, document->currentFloor, 5, 1, 0), nullptr);
    EXPECT_EQ(vtest::CountFloorObjects(document->currentFloor), 1);
}

TEST_F(CadBuilders, ArcVertexCountsBySweep)
{
    struct Case { float sweep; float largest; int vertices; bool built; } cases[] = {
        {90.0f, 90.0f, 2, true}, {91.0f, 90.0f, 3, true}, {0.0f, 45.0f, 0, true},
        {360.0f, 45.0f, 9, true}, {-90.0f, 45.0f, 3, true}, {90.0f, 0.0f, 0, false},
    };
    for (const Case& c : cases) {
        PlanObject* arc = BuildArcObject(0, 0, 20, 20, 0, c.sweep, 0, 1, c.largest);
        ASSERT_EQ(arc != nullptr, c.built) << c.sweep;
        if (!arc)
            continue;
        EXPECT_EQ(CountVertexChain(arc), c.vertices) << c.sweep;
        EXPECT_EQ(arc->floor, nullptr);
        FreeObject(arc);
    }
    // A box with a side of zero length has no ellipse.
    EXPECT_EQ(BuildArcObject(0, 0, 20, 0, 0, 90, 0, 1, 45), nullptr);
    EXPECT_EQ(BuildArcObject(5, 5, 5, 5, 0, 90, 0, 1, 45), nullptr);
}

TEST_F(CadBuilders, QuarterArcRunsFromTheEndAngleBackWithArcTangents)
{
    // Box 0..20 square: centre (10, 10), radius 10; 0 to 90 degrees in one segment.
    PlanObject* arc = BuildArcObject(0, 0, 20, 20, 0, 90, 3, 1, 90);
    ASSERT_NE(arc, nullptr);
    ExpectAt(VertexAt(arc, 0), 10.0f, 0.0f, 3.0f);    // 90 degrees points to -b
    ExpectAt(VertexAt(arc, 1), 20.0f, 10.0f, 3.0f);   // 0 degrees
    // Hermite tangent of a quarter circle: 4 r tan(22.5) = 16.569, along the motion.
    EXPECT_EQ(VertexAt(arc, 0)->kind, 5);
    EXPECT_NEAR(VertexAt(arc, 0)->outTangent[0], 16.569f, 0.01f);
    EXPECT_NEAR(VertexAt(arc, 0)->outTangent[1], 0.0f, 0.01f);
    EXPECT_NEAR(VertexAt(arc, 1)->inTangent[0], 0.0f, 0.01f);
    EXPECT_NEAR(VertexAt(arc, 1)->inTangent[1], 16.569f, 0.01f);
    FreeObject(arc);
}

TEST_F(CadBuilders, WideBoxSqueezesTheCircleAndPlaneTwoPutsBIntoDepth)
{
    // 40 x 20: the circle of radius 20 at (20, 10) is halved in b.
    PlanObject* arc = BuildArcObject(0, 0, 40, 20, 0, 360, 5, 2, 45);
    ASSERT_NE(arc, nullptr);
    ExpectAt(VertexAt(arc, 0), 40.0f, 5.0f, 10.0f);    // 360 degrees
    ExpectAt(VertexAt(arc, 2), 20.0f, 5.0f, 20.0f);    // 270 points to +b: b 10 + 20 / 2
    ExpectAt(VertexAt(arc, 4), 0.0f, 5.0f, 10.0f);     // 180
    ExpectAt(VertexAt(arc, 6), 20.0f, 5.0f, 0.0f);     // 90
    ExpectAt(VertexAt(arc, 8), 40.0f, 5.0f, 10.0f);
    FreeObject(arc);
}

TEST_F(CadBuilders, ArcPointsOfAFullEllipseClosedAndOpen)
{
    HDC dc = GetDC(pane);
    // Up 0..-40, across 0..40 in the plan: the circle about (20, -20).
    const float box[4] = {0.0f, 0.0f, -40.0f, 40.0f};
    float points[9][3] = {}, in[9][3] = {}, out[9][3] = {};
    uint32_t count = 99;
    ComputeArcPoints(dc, box, 0, 360, 2, 0, points, in, out, 0, &count, 1);
    EXPECT_EQ(count, 8u);
    EXPECT_NEAR(points[0][0], 40.0f, 0.01f);
    EXPECT_NEAR(points[0][2], -20.0f, 0.01f);
    EXPECT_NEAR(points[1][0], 34.142f, 0.01f);   // 315 degrees
    EXPECT_NEAR(points[1][2], -5.858f, 0.01f);
    EXPECT_EQ(points[8][0], 0.0f);               // the closing vertex is left out
    ComputeArcPoints(dc, box, 0, 90, 2, 0, points, nullptr, nullptr, 0, &count, 0);
    EXPECT_EQ(count, 3u);
    EXPECT_NEAR(points[2][0], 40.0f, 0.01f);     // open: the start vertex is copied too
    ComputeArcPoints(dc, box, 0, 0, 2, 0, points, nullptr, nullptr, 0, &count, 1);
    EXPECT_EQ(count, 0u);
    ReleaseDC(pane, dc);
}

TEST_F(CadBuilders, DimensionOffsetsTowardThirdPointWithLabelAndRecords)
{
    PlanObject* dimension = BuildDimensionObject(0, 0, 100, 0, 50, 30, document->currentFloor);
    ASSERT_NE(dimension, nullptr);
    // Plane 2: (a, b) become x and z; vertices 1 and 4 are the measured points.
    ExpectAt(VertexAt(dimension, 0), 100.0f, 0.0f, 0.0f);
    ExpectAt(VertexAt(dimension, 1), 100.0f, 0.0f, 30.0f);
    ExpectAt(VertexAt(dimension, 2), 0.0f, 0.0f, 30.0f);
    ExpectAt(VertexAt(dimension, 3), 0.0f, 0.0f, 0.0f);
    const AttachmentRecord* attachment = static_cast<AttachmentRecord*>(dimension->link);
    ASSERT_NE(attachment, nullptr);
    EXPECT_EQ(attachment->flags, document->settings->styleWord);
    PlanObject* label = attachment->label;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->type, ObjDimensionLabel);
    EXPECT_EQ(static_cast<AttachedPartRecord*>(label->link)->owner, dimension);
    EXPECT_NEAR(label->box3D[1], 30.0f, 0.01f);   // 40 wide about x 50
    EXPECT_NEAR(label->box3D[4], 70.0f, 0.01f);
    EXPECT_NEAR(label->box3D[2], 20.0f, 0.01f);   // 20 deep about z 30
    // The pair is grouped into one object on the floor.
    PlanObject* group = document->currentFloor->firstObject;
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->type, ObjGroup);
    EXPECT_EQ(group->next, nullptr);

    PlanObject* folded = BuildDimensionObject(0, 0, 100, 0, 60, 0, document->currentFloor);
    ASSERT_NE(folded, nullptr);
    ExpectAt(VertexAt(folded, 1), 100.0f, 0.0f, 0.0f);
    EXPECT_EQ(BuildDimensionObject(5, 5, 5, 5, 0, 0, document->currentFloor), nullptr);
}

}  // namespace
