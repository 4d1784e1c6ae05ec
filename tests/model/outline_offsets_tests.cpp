#include "support_model.h"
#include "model/outline_offsets.h"
#include "model/units.h"
#include "model/view_projection.h"
#include <vector>

using namespace mtest;

namespace {

struct XZ {
    float x, z;
};

class OutlineOffsetsTest : public DocumentTest {
protected:
    static std::vector<XZ> Points(PlanObject* object)
    {
        std::vector<XZ> points;
        for (PlanVertex* v = object->firstVertex; v; v = v->next)
            points.push_back({v->position[0], v->position[2]});
        return points;
    }
    static void ExpectPoints(PlanObject* object, std::vector<XZ> expected)
    {
        std::vector<XZ> actual = Points(object);
        ASSERT_EQ(actual.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(actual[i].x, expected[i].x, 1e-3f) << "vertex " << i;
            EXPECT_NEAR(actual[i].z, expected[i].z, 1e-3f) << "vertex " << i;
        }
        EXPECT_EQ(object->vertexCount, expected.size());
    }
};

TEST_F(OutlineOffsetsTest, StraightLineMovesToItsLeftOrRight)
{
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, -6, 0}, {100, -2, 0}});
    PlanObject* left = BuildOffsetSide(line, kOffsetSideLeft, 10, 0);
    ASSERT_NE(left, nullptr);
    ExpectPoints(left, {{0, -10}, {100, -10}});
    // Every new vertex takes the height of its predecessor, the first its own.
    EXPECT_FLOAT_EQ(VertexAt(left, 0)->position[1], -6);
    EXPECT_FLOAT_EQ(VertexAt(left, 1)->position[1], -6);
    EXPECT_EQ(left->floor, Storey(0));
    EXPECT_EQ(left->next, nullptr);
    EXPECT_EQ(line->next, nullptr) << "not attached without the flag";
    EXPECT_EQ(VertexAt(left, 0)->selected, 1);

    PlanObject* right = BuildOffsetSide(line, kOffsetSideRight, 10, 1);
    ExpectPoints(right, {{0, 10}, {100, 10}});
    EXPECT_EQ(line->next, right);
    FreeObject(left);
}

TEST_F(OutlineOffsetsTest, SquareCornersAreTheCrossingsOfTheShiftedSides)
{
    // Clockwise as the plan is seen: its left side is the outside.
    PlanObject* square = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 0, 1);
    VertexAt(square, 1)->outTangent[2] = 40;   // curves are not followed
    PlanObject* outside = BuildOffsetWallGroupVariant(square, kOffsetSideLeft, 10);
    ExpectPoints(outside, {{-10, -10}, {110, -10}, {110, 110}, {-10, 110}});
    EXPECT_EQ(outside->closed, 1);
    EXPECT_EQ(outside->type, ObjLine);
    for (PlanVertex* v = outside->firstVertex; v; v = v->next)
        EXPECT_EQ(v->outTangent[2], 0.0f);
    PlanObject* inside = BuildOffsetSide(square, kOffsetSideRight, 10, 1);
    ExpectPoints(inside, {{10, 10}, {90, 10}, {90, 90}, {10, 90}});
}

TEST_F(OutlineOffsetsTest, OpenPolylineOffsetsItsEndsAlongTheirSegments)
{
    PlanObject* path = MakeObject(ObjPath, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}});
    PlanObject* right = BuildOffsetSide(path, kOffsetSideRight, 10, 1);
    ExpectPoints(right, {{0, 10}, {90, 10}, {90, 100}});
    PlanObject* left = BuildOffsetSide(path, kOffsetSideLeft, 10, 1);
    ExpectPoints(left, {{0, -10}, {110, -10}, {110, 100}});
}

TEST_F(OutlineOffsetsTest, ParallelAndFarCornersFallBackToTheShiftedStart)
{
    PlanObject* straight = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {50, 0, 0}, {100, 0, 0}});
    PlanObject* offset = BuildOffsetSide(straight, kOffsetSideLeft, 10, 1);
    ExpectPoints(offset, {{0, -10}, {50, -10}, {100, -10}});

    // A sharp spike: the miter point lies far beyond the plan extents plus 100.
    PlanObject* spike = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {2000, 0, 0}, {0, 0, 20}});
    PlanObject* spiked = BuildOffsetSide(spike, kOffsetSideLeft, 100, 1);
    float x0, y0, z0, x1, y1, z1;
    OffsetSegment(VertexAt(spike, 1), VertexAt(spike, 2), &x0, &y0, &z0, &x1, &y1, &z1, 1, 100);
    EXPECT_NEAR(VertexAt(spiked, 1)->position[0], x0, 1e-3f);
    EXPECT_NEAR(VertexAt(spiked, 1)->position[2], z0, 1e-3f);

    PlanObject* single = MakeObject(ObjLine, Storey(0), {{4, -1, 5}});
    PlanObject* same = BuildOffsetSide(single, kOffsetSideLeft, 10, 1);
    ExpectPoints(same, {{4, 5}});
}

TEST_F(OutlineOffsetsTest, OpenAndClosedSplitsOnlyTakeTheirKind)
{
    PlanObject* open = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}});
    PlanObject* closed = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}}, 0, 1);
    EXPECT_EQ(SplitClosedWallGroupSide(open, 6, kOffsetSideLeft), nullptr);
    EXPECT_EQ(SplitOpenWallGroupSide(closed, 6, kOffsetSideLeft), nullptr);
    PlanObject* side = SplitOpenWallGroupSide(open, 6, kOffsetSideLeft);
    ASSERT_NE(side, nullptr);
    float w = UnitsToPlanLength(6, document->settings, 0);
    ExpectPoints(side, {{0, -w}, {100, -w}});
    EXPECT_EQ(open->next->next, side);
}

TEST_F(OutlineOffsetsTest, CentredBandOfAClosedSquareReplacesIt)
{
    PlanObject* square = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 0, 1);
    square->offsetSide = 0;
    float w = PlanLengthToUnits(20, document->settings, 0);
    PlanObject* band = SplitWallGroupIntoSides(square, w, 1);
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(Storey(0)->firstObject, band);
    EXPECT_EQ(band->next, nullptr);
    EXPECT_EQ(band->closed, 1);
    EXPECT_EQ(band->rows, 1);
    // The inner ring closed on itself, then the outer ring run the other way.
    ExpectPoints(band, {{10, 10}, {90, 10}, {90, 90}, {10, 90}, {10, 10},
                        {-10, -10}, {-10, 110}, {110, 110}, {110, -10}, {-10, -10}});
}

TEST_F(OutlineOffsetsTest, OneSidedBandOfAnOpenLineKeepsIt)
{
    PlanObject* line = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}});
    line->offsetSide = 1;
    float w = PlanLengthToUnits(10, document->settings, 0);
    PlanObject* band = SplitWallGroupIntoSides(line, w, 1);
    EXPECT_EQ(band, line);
    EXPECT_EQ(line->next, nullptr);
    ExpectPoints(band, {{0, 0}, {100, 0}, {100, -10}, {0, -10}});
    EXPECT_EQ(band->closed, 1);

    PlanObject* other = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}});
    other->offsetSide = 2;
    SplitWallGroupIntoSides(other, w, 0);
    ExpectPoints(other, {{0, 0}, {100, 0}, {100, 10}, {0, 10}});
}

TEST_F(OutlineOffsetsTest, WindingOfASquareByItsDirection)
{
    PlanObject* ccw = MakeObject(13, Storey(0), {{0, 0, 0}, {0, 0, 100}, {100, 0, 100}, {100, 0, 0}}, 0, 1);
    EXPECT_EQ(GetPolygonWinding(ccw), 1);
    PlanObject* cw = MakeObject(13, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 0, 1);
    EXPECT_EQ(GetPolygonWinding(cw), -1);

    // Only the first row counts.
    PlanObject* mesh = MakeObject(10, Storey(0), {{0, 0, 0}, {0, 0, 100}, {100, 0, 100}, {100, 0, 0},
                                                 {0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 0, 1);
    mesh->rows = 2;
    EXPECT_EQ(GetPolygonWinding(mesh), 1);
    mesh->rows = 3;
    EXPECT_EQ(GetPolygonWinding(mesh), 0);
    mesh->rows = 2;

    PlanObject* point = MakeObject(13, Storey(0), {{0, 0, 0}});
    EXPECT_EQ(GetPolygonWinding(point), 1);
    PlanSettings* settings = document->settings;
    document->settings = nullptr;
    EXPECT_EQ(GetPolygonWinding(ccw), 0);
    document->settings = settings;
}

TEST_F(OutlineOffsetsTest, MeshWindingComesFromItsFirstThreeVertices)
{
    PlanObject* one = MakeObject(10, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, -9, 0}, {100, -9, 0}, {100, -9, 100}}, 0, 1);
    one->rows = 2;
    PlanObject* other = MakeObject(10, Storey(0), {{0, 0, 0}, {100, 0, 100}, {100, 0, 0}, {0, -9, 0}, {100, -9, 100}, {100, -9, 0}}, 0, 1);
    other->rows = 2;
    PlanObject* open = MakeObject(10, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, -9, 0}, {100, -9, 0}, {100, -9, 100}});
    open->rows = 2;
    PlanObject* child = MakeChild(open, 10, {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, -9, 0}, {100, -9, 0}, {100, -9, 100}});
    child->rows = 2;
    child->closed = 1;

    UpdateAllObjectsWinding(document->firstFloor);
    EXPECT_NE(one->winding, 0);
    EXPECT_EQ(other->winding, -one->winding);
    EXPECT_EQ(open->winding, 0);
    EXPECT_EQ(child->winding, one->winding);
}

TEST_F(OutlineOffsetsTest, SmallSetters)
{
    PlanObject* line = MakeObject(ObjFence, Storey(0), {{0, 0, 0}, {50, 0, 10}, {100, 0, 0}});
    VertexAt(line, 1)->inTangent[0] = 3;
    VertexAt(line, 1)->outTangent[2] = 4;
    ClearObjectVertexSlopes(line);
    for (PlanVertex* v = line->firstVertex; v; v = v->next)
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(v->inTangent[k], 0.0f);
            EXPECT_EQ(v->outTangent[k], 0.0f);
        }
    RecomputeCurvesOrDeselect(line);
    EXPECT_NE(VertexAt(line, 1)->outTangent[0], 0.0f);
    StraightenOrDeselect(line);
    EXPECT_EQ(VertexAt(line, 1)->outTangent[0], 0.0f);

    document->settings->defaultPenWidth = static_cast<uint16_t>(-3);
    ApplyDefaultPenWidthToObject(line);
    EXPECT_FLOAT_EQ(line->size, -3.0f);

    SetClosedObjectStyleWord(line, 9);
    EXPECT_EQ(line->value2, 2);
    line->closed = 1;
    SetClosedObjectStyleWord(line, 9);
    EXPECT_EQ(line->value2, 9);
}

} // namespace
