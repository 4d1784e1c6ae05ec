#include "support_model3d.h"
#include "model3d/wall_rebuild.h"
#include <math.h>
#include <string>

using namespace m3test;

namespace {

class WallRebuildTest : public GeneratorTest {
protected:
    PlanObject* MakeWall(std::initializer_list<P3> points, uint8_t closed, float thickness,
                         uint32_t subType)
    {
        PlanObject* wall = MakeObject(ObjWall, Storey(0), points, closed);
        wall->size = thickness;
        wall->subType = subType;
        wall->parameters[0] = 96.0f;   // height
        wall->parameters[1] = 16.0f;   // stud spacing
        wall->parameters[2] = 0.5f;    // slab thickness
        wall->parameters[3] = 12.0f;   // foundation width
        wall->colourA = {1, 2, 3};
        wall->colourB = {4, 5, 6};
        return wall;
    }

    static PlanObject* Mesh(PlanObject* wall) { return static_cast<PlanObject*>(wall->link); }
};

std::string Describe(const std::vector<P3>& points, size_t from, size_t n)
{
    std::string text;
    for (size_t i = from; i < from + n && i < points.size(); ++i)
        text += "(" + std::to_string(points[i].x) + ", " + std::to_string(points[i].y) + ", " +
                std::to_string(points[i].z) + ") ";
    return text;
}

// The ring of n points starting at 'from' is the expected ring, in order.
::testing::AssertionResult RingIs(const std::vector<P3>& points, size_t from,
                                  std::initializer_list<P3> expected)
{
    std::vector<P3> want(expected);
    size_t n = want.size();
    if (points.size() < from + n)
        return ::testing::AssertionFailure() << "only " << points.size() << " points";
    for (size_t i = 0; i < n; ++i) {
        const P3& e = want[i];
        const P3& a = points[from + i];
        if (fabsf(a.x - e.x) > 1e-3f || fabsf(a.y - e.y) > 1e-3f || fabsf(a.z - e.z) > 1e-3f)
            return ::testing::AssertionFailure() << "ring " << Describe(points, from, n)
                                                 << "expected " << Describe(want, 0, n);
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(WallRebuildTest, AStraightWallBecomesABoxAroundItsCentreLine)
{
    PlanObject* wall = MakeWall({{0, 0, 0}, {100, 0, 0}}, 0, 10.0f, 0);
    RebuildWall(wall);
    PlanObject* mesh = Mesh(wall);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->type, ObjWallMesh);
    EXPECT_EQ(mesh->buildFlag, 0);
    EXPECT_EQ(mesh->rows, 2);
    EXPECT_EQ(mesh->host, wall);
    EXPECT_EQ(mesh->colourA.blue, 3);
    EXPECT_EQ(mesh->colourB.red, 4);
    std::vector<P3> points = Positions(mesh);
    ASSERT_EQ(points.size(), 8u);
    // Band: the right side (z + 5), then the left side (z - 5) walked back; the top ring
    // lies height 96 plus slab 0.5 higher.
    EXPECT_TRUE(RingIs(points, 0, {{0, 0, 5}, {100, 0, 5}, {100, 0, -5}, {0, 0, -5}}));
    EXPECT_TRUE(RingIs(points, 4, {{0, -96.5f, 5}, {100, -96.5f, 5}, {100, -96.5f, -5}, {0, -96.5f, -5}}));
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(points[i + 4].x, points[i].x);
        EXPECT_FLOAT_EQ(points[i + 4].z, points[i].z);
    }
    // The mesh hangs on the wall only; the floor holds the wall alone. Interior walls
    // have no footing.
    EXPECT_EQ(Storey(0)->firstObject, wall);
    EXPECT_EQ(wall->next, nullptr);
    EXPECT_EQ(wall->firstPart, nullptr);
}

TEST_F(WallRebuildTest, TheRiseFollowsTheDisplayUnits)
{
    Settings()->drawingScale = 36.0f;  // one display inch is two plan units
    PlanObject* wall = MakeWall({{0, -10, 0}, {100, -10, 0}}, 0, 10.0f, 0);
    RebuildWall(wall);
    std::vector<P3> points = Positions(Mesh(wall));
    ASSERT_EQ(points.size(), 8u);
    EXPECT_NEAR(points[0].y, -10.0f, 1e-4f);
    EXPECT_NEAR(points[4].y, -10.0f - 193.0f, 1e-3f);
    // Thickness 10 display units is 20 plan units.
    EXPECT_TRUE(RingIs(points, 0, {{0, -10, 10}, {100, -10, 10}, {100, -10, -10}, {0, -10, -10}}));
}

TEST_F(WallRebuildTest, AClosedHouseWallRunsAroundBothFaces)
{
    PlanObject* wall =
        MakeWall({{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 1, 10.0f, 0);
    RebuildWall(wall);
    PlanObject* mesh = Mesh(wall);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->rows, 2);
    std::vector<P3> points = Positions(mesh);
    ASSERT_EQ(points.size(), 20u);
    // The inner face closed on itself, then the outer face walked back and closed.
    EXPECT_TRUE(RingIs(points, 0,
                       {{5, 0, 5}, {95, 0, 5}, {95, 0, 95}, {5, 0, 95}, {5, 0, 5},
                        {-5, 0, -5}, {-5, 0, 105}, {105, 0, 105}, {105, 0, -5}, {-5, 0, -5}}));
    EXPECT_NEAR(points[10].y, -96.5f, 1e-4f);
}

TEST_F(WallRebuildTest, AOneSidedWallLiesWhollyOnItsSide)
{
    PlanObject* wall = MakeWall({{0, 0, 0}, {100, 0, 0}}, 0, 10.0f, 0);
    wall->offsetSide = 1;
    RebuildWall(wall);
    std::vector<P3> points = Positions(Mesh(wall));
    ASSERT_EQ(points.size(), 8u);
    EXPECT_TRUE(RingIs(points, 0, {{0, 0, 0}, {100, 0, 0}, {100, 0, -10}, {0, 0, -10}}));
    EXPECT_EQ(wall->offsetSide, 1u);
}

TEST_F(WallRebuildTest, AnExteriorWallStandsOnAFootingOfTheFoundationWidth)
{
    PlanObject* wall = MakeWall({{0, 0, 0}, {100, 0, 0}}, 0, 4.0f, 54);
    // The footing is centred on the wall line even when the wall lies on one side.
    wall->offsetSide = 2;
    RebuildWall(wall);
    PlanObject* footing = wall->firstPart;
    ASSERT_NE(footing, nullptr);
    EXPECT_EQ(footing->type, ObjFooting);
    EXPECT_EQ(footing->rows, 1);
    EXPECT_EQ(footing->colourA.green, 2);
    std::vector<P3> points = Positions(footing);
    EXPECT_TRUE(RingIs(points, 0, {{0, 0, 6}, {100, 0, 6}, {100, 0, -6}, {0, 0, -6}}))
        << "a footing 12 wide: 6 either side of the wall line";
    EXPECT_EQ(points.size(), 4u);
    EXPECT_EQ(wall->offsetSide, 2u);
    EXPECT_EQ(Storey(0)->firstObject, wall);
    EXPECT_EQ(wall->next, nullptr);

    // Made interior, it loses its footing at the next rebuild.
    wall->subType = 0;
    RebuildWall(wall);
    EXPECT_EQ(wall->firstPart, nullptr);
    EXPECT_NE(Mesh(wall), nullptr);
}

TEST_F(WallRebuildTest, OpeningsStayOnTheWallAndOutOfItsMesh)
{
    PlanObject* wall = MakeWall({{0, 0, 0}, {100, 0, 0}}, 0, 10.0f, 54);
    PlanObject* door = MakeObject(ObjDoor, nullptr, {{20, 0, 0}, {50, 0, 0}});
    door->owner = wall;
    door->floor = Storey(0);
    wall->firstChild = door;
    RebuildWall(wall);
    RebuildWall(wall);  // a second rebuild replaces, never adds
    EXPECT_EQ(wall->firstChild, door);
    EXPECT_EQ(door->owner, wall);
    ASSERT_NE(Mesh(wall), nullptr);
    EXPECT_EQ(Mesh(wall)->firstChild, nullptr);
    EXPECT_EQ(Mesh(wall)->next, nullptr);
    EXPECT_EQ(Positions(Mesh(wall)).size(), 8u);
    ASSERT_NE(wall->firstPart, nullptr);
    EXPECT_EQ(wall->firstPart->firstChild, nullptr);
    EXPECT_EQ(wall->firstPart->next, nullptr);
}

TEST_F(WallRebuildTest, OnlyWallsOfShownFloorsAreRebuilt)
{
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {10, 0, 0}});
    PlanObject* shown = MakeWall({{0, 0, 0}, {100, 0, 0}}, 0, 10.0f, 0);
    PlanObject* hidden = MakeObject(ObjWall, Storey(1), {{0, 0, 0}, {50, 0, 0}});
    hidden->size = 10.0f;
    Storey(1)->shown = 0;

    RebuildWall(line);
    EXPECT_EQ(line->link, nullptr);
    EXPECT_EQ(line->firstPart, nullptr);

    RebuildAllWalls(document->firstFloor);
    EXPECT_NE(shown->link, nullptr);
    EXPECT_EQ(hidden->link, nullptr);
    EXPECT_EQ(line->link, nullptr);
    // Objects of the floors stay where they were.
    EXPECT_EQ(Storey(0)->firstObject, line);
    EXPECT_EQ(line->next, shown);
    EXPECT_EQ(shown->next, nullptr);
}

TEST_F(WallRebuildTest, WithoutAFloorNothingIsBuilt)
{
    PlanObject* wall = MakeWall({{0, 0, 0}, {100, 0, 0}}, 0, 10.0f, 54);
    UnlinkObject(wall);
    PlanFloor* current = document->currentFloor;
    document->currentFloor = nullptr;
    RebuildWall(wall);
    document->currentFloor = current;
    EXPECT_EQ(wall->link, nullptr);
    EXPECT_EQ(wall->firstPart, nullptr);
    FreeObject(wall);
}
