#include "support_model.h"
#include "model/wall_openings.h"
#include "support/test_support.h"

using namespace mtest;

namespace {

const char* const kWallTooShort =
    "Il muro non è abbastanza lungo perché vi si possano inserire tutti gli oggetti: eliminare "
    "una o più finestre, porte o apparecchi elettrici/idraulici.";

class WallOpeningsTest : public DocumentTest {
protected:
    // A door on the first segment of the wall, centred at the distance.
    PlanObject* Door(PlanObject* wall, float width, float centre, int segment = 0)
    {
        PlanObject* door = MakeDoorOn(wall, segment);
        OpeningRecord* record = static_cast<OpeningRecord*>(door->link);
        record->width = width;
        record->distanceFromStart = centre;
        record->height = 20.0f;
        return door;
    }
    static OpeningRecord* Record(PlanObject* opening)
    {
        return static_cast<OpeningRecord*>(opening->link);
    }
    static int Children(PlanObject* wall)
    {
        int n = 0;
        for (PlanObject* c = wall->firstChild; c; c = c->next)
            ++n;
        return n;
    }
};

} // namespace

TEST_F(WallOpeningsTest, ADoorCentredAt23On100LandsAt8And38)
{
    vtest::MessageBoxRecorder boxes;
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}});
    PlanObject* door = Door(wall, 30.0f, 23.0f);
    EXPECT_EQ(FitWallOpenings(wall), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    ASSERT_EQ(wall->firstChild, door);
    EXPECT_NEAR(VertexAt(door, 0)->position[0], 8.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(door, 1)->position[0], 38.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(door, 0)->position[2], 0.0f, 1e-4f);
    EXPECT_EQ(door->vertexCount, 2u);
    EXPECT_FLOAT_EQ(Record(door)->distanceFromStart, 23.0f);
    EXPECT_FLOAT_EQ(Record(door)->distanceToEnd, 77.0f);
    // Boxes follow the new ends.
    EXPECT_NEAR(door->box3D[1], 8.0f, 1e-4f);
    EXPECT_NEAR(door->box3D[4], 38.0f, 1e-4f);
}

TEST_F(WallOpeningsTest, CentredAt22_9TheRefitRemovesItWithOneMessage)
{
    vtest::MessageBoxRecorder boxes;
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}});
    Door(wall, 30.0f, 22.9f);
    EXPECT_EQ(FitWallOpenings(wall), 1);
    EXPECT_EQ(wall->firstChild, nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, kWallTooShort);
    EXPECT_EQ(boxes.Last().owner, nullptr);
    EXPECT_EQ(boxes.Last().flags & (MB_ICONINFORMATION | MB_TASKMODAL),
              (UINT)(MB_ICONINFORMATION | MB_TASKMODAL));
}

TEST_F(WallOpeningsTest, AWideOpeningNeedsItsWidthPlus16)
{
    vtest::MessageBoxRecorder boxes;
    PlanObject* fits = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}});
    Door(fits, 84.0f, 50.0f);
    PlanObject* shorter = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {99.9f, 0, 0}});
    Door(shorter, 84.0f, 49.95f);
    EXPECT_EQ(FitWallOpenings(fits), 0);
    EXPECT_EQ(FitWallOpenings(shorter), 1);
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST_F(WallOpeningsTest, OneMessagePerWallHoweverManyAreRemoved)
{
    vtest::MessageBoxRecorder boxes;
    PlanObject* first = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {60, 0, 0}});
    Door(first, 20.0f, 20.0f);
    Door(first, 20.0f, 45.0f);  // ends at 55: beyond 60 - 8
    Door(first, 20.0f, 70.0f);
    PlanObject* second = MakeObject(ObjWall, Storey(0), {{0, 0, 100}, {30, 0, 100}});
    Door(second, 20.0f, 40.0f);
    FitFloorWallOpenings(Storey(0));
    EXPECT_EQ(Children(first), 1);
    EXPECT_EQ(Children(second), 0);
    EXPECT_EQ(boxes.Count(), 2u);

    // A hidden floor is passed over.
    PlanObject* hidden = MakeObject(ObjWall, Storey(1), {{0, 0, 0}, {30, 0, 0}});
    Door(hidden, 20.0f, 40.0f);
    Storey(1)->shown = 0;
    FitAllWallOpenings(document->firstFloor);
    EXPECT_EQ(Children(hidden), 1);
    EXPECT_EQ(boxes.Count(), 2u);
}

TEST_F(WallOpeningsTest, TheSwingPointStandsAtTheOpeningsHeightOffTheWall)
{
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}});
    PlanObject* door = Door(wall, 30.0f, 50.0f, 1);
    AddObjectPoint(NewVertexNode(1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, door), door);
    EXPECT_EQ(FitWallOpenings(wall), 0);
    // The second segment runs along +z from (100, 0): the opening from z 35 to 65.
    EXPECT_NEAR(VertexAt(door, 0)->position[0], 100.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(door, 0)->position[2], 35.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(door, 1)->position[2], 65.0f, 1e-4f);
    // Its direction is 3 pi / 2; a quarter turn less points along -x.
    EXPECT_NEAR(VertexAt(door, 2)->position[0], 80.0f, 1e-3f);
    EXPECT_NEAR(VertexAt(door, 2)->position[2], 50.0f, 1e-3f);
    EXPECT_EQ(door->vertexCount, 3u);

    Record(door)->hingeSide = 1;
    FitWallOpenings(wall);
    EXPECT_NEAR(VertexAt(door, 2)->position[0], 120.0f, 1e-3f);
}

TEST_F(WallOpeningsTest, OpeningsWhoseSegmentIsGoneAreLeftAlone)
{
    vtest::MessageBoxRecorder boxes;
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}});
    PlanObject* other = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {10, 0, 0}});
    PlanObject* door = Door(wall, 30.0f, 22.0f);
    // A record that points at another wall's vertices is not read as this wall's.
    Record(door)->startVertex = other->firstVertex;
    EXPECT_EQ(FitWallOpenings(wall), 0);
    EXPECT_EQ(wall->firstChild, door);
    Record(door)->startVertex = nullptr;
    EXPECT_EQ(FitWallOpenings(wall), 0);
    EXPECT_EQ(FitWallOpenings(other), 0);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(WallOpeningsTest, DraggingKeepsOpeningsInsideTheSpanAndAtLeast18Wide)
{
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}});
    PlanVertex* a = VertexAt(wall, 0);
    PlanVertex* b = VertexAt(wall, 1);
    float first[2] = {0, 0};
    float second[2] = {0, 0};
    // Sliding near the start: from 3 + 5 = 8.
    ComputeOpeningPositions(a, b, 30.0f, 3.0f, 97.0f, 10.0f, 0.0f, first, second, 0, 0);
    EXPECT_NEAR(first[0], 8.0f, 1e-4f);
    EXPECT_NEAR(second[0], 38.0f, 1e-4f);
    // Near the end: up to 97 - 5 = 92.
    ComputeOpeningPositions(a, b, 30.0f, 3.0f, 97.0f, 95.0f, 0.0f, first, second, 0, 0);
    EXPECT_NEAR(first[0], 62.0f, 1e-4f);
    EXPECT_NEAR(second[0], 92.0f, 1e-4f);
    // In the middle it follows the cursor.
    ComputeOpeningPositions(a, b, 30.0f, 3.0f, 97.0f, 50.0f, 0.0f, first, second, 0, 0);
    EXPECT_NEAR(first[0], 35.0f, 1e-4f);

    // The first end dragged towards the second stops 18 before it; the second end
    // keeps its place.
    first[0] = 35.0f;
    second[0] = 65.0f;
    ComputeOpeningPositions(a, b, 30.0f, 3.0f, 97.0f, 60.0f, 0.0f, first, second, 0, 1);
    EXPECT_NEAR(first[0], 47.0f, 1e-4f);
    EXPECT_NEAR(second[0], 65.0f, 1e-4f);
    // The second end dragged back stops 18 after the first.
    ComputeOpeningPositions(a, b, 30.0f, 3.0f, 97.0f, 40.0f, 0.0f, first, second, 1, 0);
    EXPECT_NEAR(second[0], 65.0f, 1e-4f);
    // Pushed against the span's end first (second at 92), then half a width back.
    ComputeOpeningPositions(a, b, 30.0f, 3.0f, 97.0f, 80.0f, 0.0f, first, second, 1, 0);
    EXPECT_NEAR(second[0], 77.0f, 1e-4f);
    EXPECT_NEAR(first[0], 47.0f, 1e-4f);
}

TEST_F(WallOpeningsTest, ShiftingMovesOnlyTheOpeningsOfThatSegment)
{
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}});
    PlanObject* onFirst = Door(wall, 20.0f, 30.0f, 0);
    PlanObject* onSecond = Door(wall, 20.0f, 30.0f, 1);
    ShiftOpeningsOnSegment(wall, VertexAt(wall, 0), 12.5f);
    EXPECT_FLOAT_EQ(Record(onFirst)->distanceFromStart, 42.5f);
    EXPECT_FLOAT_EQ(Record(onSecond)->distanceFromStart, 30.0f);
    ShiftOpeningsOnSegment(wall, nullptr, 5.0f);
    EXPECT_FLOAT_EQ(Record(onFirst)->distanceFromStart, 42.5f);
}
