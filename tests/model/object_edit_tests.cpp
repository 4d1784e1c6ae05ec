#include "support_model.h"
#include "model/object_copies.h"
#include "model/object_edit.h"
#include "model/object_operations.h"
#include "model/units.h"
#include "shell/selection_elevation.h"
#include "support/test_support.h"
#include <vector>

using namespace mtest;

namespace {

class ObjectEditTest : public DocumentTest {
protected:
    void TearDown() override
    {
        groupUnderConstruction = nullptr;
        wallTerrainRefused = 0;
        selectionElevationFeet = 0.0f;
        DocumentTest::TearDown();
    }

    // The grouping sequence of the group command: count the groups in the selection,
    // refuse a nesting above 25, then group when at least two objects are selected.
    bool GroupSelection()
    {
        PlanFloor* first = document->firstFloor;
        groupNestingCount = 0;
        groupNestingTooDeep = 0;
        ForEachFloorObject(first, 1, CountGroups, nullptr);
        if (groupNestingTooDeep)
            return false;
        groupUnderConstruction = nullptr;
        groupNestingCount = 0;
        ForEachFloorSelection(first, kCountSelectedCode, nullptr);
        if (groupNestingCount < 2)
            return false;
        ForEachFloorSelection(first, kGroupSelectionCode, nullptr);
        return true;
    }

    // A door that fits its 100-unit segment, so refitting the wall keeps it.
    static PlanObject* FittedDoorOn(PlanObject* wall, int start, uint8_t selected = 0)
    {
        PlanObject* door = MakeDoorOn(wall, start, selected);
        static_cast<OpeningRecord*>(door->link)->distanceFromStart = 50;
        return door;
    }

    static std::vector<PlanObject*> FloorObjects(PlanFloor* floor)
    {
        std::vector<PlanObject*> objects;
        for (PlanObject* o = floor->firstObject; o; o = o->next)
            objects.push_back(o);
        return objects;
    }

    // Every message box is answered here, so that none can stop a test.
    vtest::MessageBoxRecorder boxes;
};

TEST_F(ObjectEditTest, DuplicateMakesEachCopyFromThePreviousOne)
{
    PlanSettings* settings = document->settings;
    settings->duplicateOffsetX = 10;  // display units
    settings->duplicateOffsetZ = 0;
    settings->duplicateCount = 3;
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {5, 0, 5}}, 1);
    PlanObject* dimension = MakeObject(ObjDimensionLine, Storey(0), {{0, 0, 50}}, 1);
    ForEachFloorSelection(document->firstFloor, kCopySelectionCode, settings);

    std::vector<PlanObject*> objects = FloorObjects(Storey(0));
    ASSERT_EQ(objects.size(), 5u);
    EXPECT_EQ(objects[0], line);
    EXPECT_EQ(objects[1], dimension);
    float step = UnitsToPlanLength(10, settings, 0);
    for (int k = 1; k <= 3; ++k) {
        PlanObject* copy = objects[1 + k];
        EXPECT_EQ(copy->type, ObjLine);
        EXPECT_NEAR(VertexAt(copy, 1)->position[0], 5 + k * step, 1e-3f);
        EXPECT_EQ(VertexAt(copy, 1)->position[2], 5.0f);
        EXPECT_EQ(VertexAt(copy, 0)->selected, 0);
    }
    EXPECT_EQ(VertexAt(line, 0)->selected, 1);

    // Without the settings nothing is duplicated.
    EditObject(line, kCopySelectionCode, nullptr);
    EXPECT_EQ(FloorObjects(Storey(0)).size(), 5u);
}

TEST_F(ObjectEditTest, GroupAndUngroupRoundTrip)
{
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {10, 0, 0}}, 1);
    PlanObject* wall = MakeObject(ObjWall, Storey(1), {{0, 0, 0}, {100, 0, 0}}, 1);
    PlanObject* door = MakeDoorOn(wall, 0, 1);
    PlanObject* bystander = MakeObject(ObjLine, Storey(0), {{3, 0, 3}});
    document->settings->activeCategory = kCategoryGarden;
    long before = LiveRecordCount();

    ASSERT_TRUE(GroupSelection());
    PlanObject* group = groupUnderConstruction;
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->type, ObjGroup);
    EXPECT_EQ(group->value1, 6);
    EXPECT_EQ(group->colourA.red, kColourChannelUnset);
    EXPECT_EQ(group->colourB.red, 0);
    EXPECT_EQ(group->category, kCategoryGarden);
    EXPECT_EQ(FloorObjects(Storey(0)), (std::vector<PlanObject*>{bystander, group}));
    EXPECT_EQ(Storey(1)->firstObject, nullptr);
    EXPECT_EQ(group->firstChild, line);
    EXPECT_EQ(line->next, wall);
    EXPECT_EQ(wall->owner, group);
    // Members and their openings now live on the group's floor.
    EXPECT_EQ(wall->floor, Storey(0));
    EXPECT_EQ(door->floor, Storey(0));
    EXPECT_EQ(group->box3D[4], 100.0f);

    ForEachFloorSelection(document->firstFloor, kUngroupSelectedCode, nullptr);
    EXPECT_EQ(FloorObjects(Storey(0)), (std::vector<PlanObject*>{bystander, line, wall}));
    EXPECT_EQ(line->owner, nullptr);
    EXPECT_EQ(wall->owner, nullptr);
    EXPECT_EQ(door->owner, wall);
    EXPECT_EQ(VertexAt(line, 0)->selected, 0);
    EXPECT_EQ(VertexAt(door, 0)->selected, 0);
    EXPECT_EQ(VertexAt(wall, 1)->position[0], 100.0f);
    EXPECT_EQ(LiveRecordCount(), before);
}

TEST_F(ObjectEditTest, GroupingNeedsTwoObjectsAndAtMostTwentyFiveNestedGroups)
{
    PlanObject* alone = MakeObject(ObjLine, Storey(0), {{0, 0, 0}}, 1);
    EXPECT_FALSE(GroupSelection());
    EXPECT_EQ(alone->owner, nullptr);
    EXPECT_EQ(FloorObjects(Storey(0)).size(), 1u);

    // Twenty-six groups nested in one selected object.
    PlanObject* outer = MakeObject(ObjGroup, Storey(0), {});
    PlanObject* inner = outer;
    for (int i = 1; i < 26; ++i)
        inner = MakeChild(inner, ObjGroup, {});
    MakeChild(inner, ObjLine, {{5, 0, 5}}, 1);
    EXPECT_FALSE(GroupSelection());
    EXPECT_TRUE(groupNestingTooDeep);
    EXPECT_EQ(outer->owner, nullptr);
    EXPECT_EQ(FloorObjects(Storey(0)).size(), 2u);

    // Twenty-five are still allowed.
    PlanObject* second = outer->firstChild;
    outer->firstChild = nullptr;
    second->owner = nullptr;
    second->previous = nullptr;
    FreeObject(outer);
    AttachObjectToFloor(second, Storey(0));
    EXPECT_TRUE(GroupSelection());
    EXPECT_EQ(alone->owner, groupUnderConstruction);
    EXPECT_EQ(second->owner, groupUnderConstruction);
}

TEST_F(ObjectEditTest, MoveAndCopyToTheStoreyAbove)
{
    document->currentFloor = Storey(0);
    Storey(0)->height = 120;
    PlanObject* moved = MakeObject(ObjLine, Storey(0), {{0, 0, 0}}, 1);
    moved->elevation = 10;
    ForEachSelectedObjectOnFloor(Storey(0), kMoveToFloorAboveCode, document->settings);
    EXPECT_EQ(moved->floor, Storey(1));
    EXPECT_EQ(Storey(0)->firstObject, nullptr);
    EXPECT_EQ(moved->elevation, 130.0f);
    EXPECT_EQ(VertexAt(moved, 0)->selected, 0);

    PlanObject* source = MakeObject(ObjLine, Storey(0), {{7, 0, 7}}, 1);
    source->elevation = 5;
    ForEachSelectedObjectOnFloor(Storey(0), kCopyToFloorAboveCode, document->settings);
    EXPECT_EQ(FloorObjects(Storey(0)), (std::vector<PlanObject*>{source}));
    EXPECT_EQ(VertexAt(source, 0)->selected, 0);
    EXPECT_EQ(source->elevation, 5.0f);
    std::vector<PlanObject*> above = FloorObjects(Storey(1));
    ASSERT_EQ(above.size(), 2u);
    PlanObject* copy = above[1];
    EXPECT_EQ(copy->floor, Storey(1));
    EXPECT_EQ(copy->elevation, 125.0f);
    EXPECT_EQ(VertexAt(copy, 0)->position[0], 7.0f);

    // Downwards by the height of the storey below.
    document->currentFloor = Storey(1);
    VertexAt(copy, 0)->selected = 1;
    ForEachSelectedObjectOnFloor(Storey(1), kMoveToFloorBelowCode, document->settings);
    EXPECT_EQ(copy->floor, Storey(0));
    EXPECT_EQ(copy->elevation, 5.0f);
}

TEST_F(ObjectEditTest, TopAndBottomStoreysRefuseWithOneMessage)
{
    PlanFloor* sheet = FindFloorByNumber(5149);
    ASSERT_EQ(Storey(2)->next, sheet);
    document->currentFloor = Storey(2);
    PlanObject* a = MakeObject(ObjLine, Storey(2), {{0, 0, 0}}, 1);
    PlanObject* b = MakeObject(ObjLine, Storey(2), {{1, 0, 1}}, 1);
    ForEachSelectedObjectOnFloor(Storey(2), kMoveToFloorAboveCode, document->settings);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "Questo è il piano più alto. Non ci sono altri piani sopra di esso su cui spostare gli oggetti "
              "selezionati.");
    EXPECT_EQ(boxes.Last().flags, static_cast<UINT>(MB_ICONINFORMATION | MB_TASKMODAL));
    EXPECT_EQ(FloorObjects(Storey(2)), (std::vector<PlanObject*>{a, b}));
    EXPECT_EQ(sheet->firstObject, nullptr);

    ForEachSelectedObjectOnFloor(Storey(2), kCopyToFloorAboveCode, document->settings);
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(FloorObjects(Storey(2)).size(), 2u);

    document->currentFloor = Storey(0);
    MakeObject(ObjLine, Storey(0), {{0, 0, 0}}, 1);
    ForEachSelectedObjectOnFloor(Storey(0), kCopyToFloorBelowCode, document->settings);
    ASSERT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(boxes.Last().text,
              "You are currently on the bottom floor.  There are no floors below the bottom floor to copy "
              "the selected objects.");
    EXPECT_EQ(FloorObjects(Storey(0)).size(), 1u);
}

TEST_F(ObjectEditTest, ElevationOfPartlySelectedWall)
{
    selectionElevationFeet = 2;   // 24 inches
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 0, 1);
    for (PlanVertex* v = wall->firstVertex; v; v = v->next)
        v->segmentElevation = 30;
    wall->elevation = 30;
    wall->onTerrain = 1;
    VertexAt(wall, 1)->selected = 1;
    VertexAt(wall, 2)->selected = 1;
    PlanObject* onSelected = FittedDoorOn(wall, 1, 1);
    PlanObject* onOther = FittedDoorOn(wall, 3, 1);
    PlanObject* unselected = FittedDoorOn(wall, 0, 0);
    ForEachFloorSelection(document->firstFloor, kSetElevationCode, nullptr);
    EXPECT_EQ(VertexAt(wall, 1)->segmentElevation, 24.0f);
    EXPECT_EQ(VertexAt(wall, 0)->segmentElevation, 30.0f);
    EXPECT_EQ(VertexAt(wall, 3)->segmentElevation, 30.0f);
    EXPECT_EQ(wall->elevation, 24.0f);
    EXPECT_EQ(wall->onTerrain, 0);
    float planElevation = UnitsToPlanLength(24, document->settings, 0);
    EXPECT_EQ(static_cast<OpeningRecord*>(onOther->link)->elevation, planElevation);
    EXPECT_EQ(static_cast<OpeningRecord*>(onSelected->link)->elevation, 0.0f);
    EXPECT_EQ(static_cast<OpeningRecord*>(unselected->link)->elevation, 0.0f);

    // Every point selected: the wall and all its segments.
    for (PlanVertex* v = wall->firstVertex; v; v = v->next)
        v->selected = 1;
    selectionElevationFeet = 3;
    EditObject(wall, kSetElevationCode, nullptr);
    for (PlanVertex* v = wall->firstVertex; v; v = v->next)
        EXPECT_EQ(v->segmentElevation, 36.0f);
    EXPECT_EQ(wall->elevation, 36.0f);

    PlanObject* group = MakeObject(ObjGroup, Storey(0), {});
    PlanObject* member = MakeChild(group, ObjLine, {{0, 0, 0}}, 1);
    EditObject(member, kSetElevationCode, nullptr);
    EXPECT_EQ(group->elevation, 36.0f);
    EXPECT_EQ(member->elevation, 0.0f);
}

TEST_F(ObjectEditTest, TerrainCategoriesAndKeptObjects)
{
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {10, 0, 0}}, 1);
    wall->onTerrain = 1;
    PlanObject* fence = MakeObject(ObjFence, Storey(0), {{0, 0, 5}, {10, 0, 5}}, 1);
    ForEachFloorSelection(document->firstFloor, kFitToTerrainCode, nullptr);
    EXPECT_EQ(wallTerrainRefused, 1);
    EXPECT_EQ(wall->onTerrain, 0);
    EXPECT_EQ(fence->onTerrain, 1);

    for (uint32_t code = 5335; code <= 5342; ++code) {
        EditObject(fence, code, nullptr);
        EXPECT_EQ(fence->category, 1u << (code - 5335));
    }

    VertexAt(fence, 0)->keepFlag = 1;
    ForEachFloorSelection(document->firstFloor, kDeleteSelectedObjectCode, nullptr);
    EXPECT_EQ(FloorObjects(Storey(0)), (std::vector<PlanObject*>{fence}));
    EditObject(fence, kRemoveCutObjectCode, nullptr);
    EXPECT_EQ(Storey(0)->firstObject, fence);
    VertexAt(fence, 0)->keepFlag = 0;
    EditObject(fence, kRemoveCutObjectCode, nullptr);
    EXPECT_EQ(Storey(0)->firstObject, nullptr);
}

TEST_F(ObjectEditTest, EmptyTextsAreDropped)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    HWND emptyEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 40, 20, parent, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    HWND fullEdit = CreateWindowExA(0, "EDIT", "Salon", WS_CHILD, 0, 0, 40, 20, parent, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    PlanObject* empty = MakeObject(ObjTextFrame, Storey(0), {{0, 0, 0}}, 1);
    empty->link = emptyEdit;
    PlanObject* full = MakeObject(ObjTextFrame, Storey(0), {{0, 0, 0}}, 1);
    full->link = fullEdit;
    ForEachFloorSelection(document->firstFloor, kDropEmptyTextCode, nullptr);
    EXPECT_EQ(FloorObjects(Storey(0)), (std::vector<PlanObject*>{full}));
    EXPECT_FALSE(IsWindow(emptyEdit));
    EXPECT_TRUE(IsWindow(fullEdit));
    FreeObject(full);
    DestroyWindow(parent);
}

TEST_F(ObjectEditTest, MovesToTheEndOrHeadOfTheShownFloors)
{
    PlanObject* a = MakeObject(ObjLine, Storey(1), {{0, 0, 0}}, 1);
    PlanObject* b = MakeObject(ObjLine, Storey(1), {{1, 0, 0}});
    PlanObject* c = MakeObject(ObjLine, Storey(0), {{2, 0, 0}});
    Storey(2)->shown = 0;
    EditObject(a, kMoveToLastShownFloorCode, nullptr);
    EXPECT_EQ(FloorObjects(Storey(1)), (std::vector<PlanObject*>{b, a}));
    EXPECT_EQ(VertexAt(a, 0)->selected, 0);
    EditObject(a, kMoveToFirstShownFloorHeadCode, nullptr);
    EXPECT_EQ(FloorObjects(Storey(0)), (std::vector<PlanObject*>{a, c}));
    EXPECT_EQ(c->previous, a);
    EXPECT_EQ(a->floor, Storey(0));
    EXPECT_EQ(FloorObjects(Storey(1)), (std::vector<PlanObject*>{b}));
}

// ---------------------------------------------------------------------------------
// Deleting one segment of a wall through the delete command.

class WallSegmentEditTest : public ObjectEditTest {
protected:
    PlanObject* MakeWall(uint8_t closed, std::initializer_list<int> selected)
    {
        PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 0, closed);
        for (int i : selected)
            VertexAt(wall, i)->selected = 1;
        return wall;
    }
    void Delete() { ForEachFloorSelection(document->firstFloor, kDeleteSelectedObjectCode, nullptr); }
};

TEST_F(WallSegmentEditTest, OpenWallSplitsAtTheDeletedSegment)
{
    PlanObject* wall = MakeWall(0, {1, 2});
    PlanObject* door = FittedDoorOn(wall, 0);
    Delete();
    EXPECT_EQ(boxes.Count(), 0u);
    std::vector<PlanObject*> objects = FloorObjects(Storey(0));
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(ChainKeys(objects[0]), (std::vector<float>{PointKey(0, 0), PointKey(100, 0)}));
    EXPECT_EQ(ChainKeys(objects[1]), (std::vector<float>{PointKey(100, 100), PointKey(0, 100)}));
    EXPECT_EQ(objects[0]->firstChild, door);
}

TEST_F(WallSegmentEditTest, ClosedWallOpensAtTheDeletedSegment)
{
    PlanObject* wall = MakeWall(1, {2, 3});
    Delete();
    EXPECT_EQ(FloorObjects(Storey(0)).size(), 1u);
    EXPECT_EQ(wall->closed, 0);
    EXPECT_EQ(ChainKeys(wall), (std::vector<float>{PointKey(0, 100), PointKey(0, 0), PointKey(100, 0), PointKey(100, 100)}));
}

TEST_F(WallSegmentEditTest, SegmentWithADoorIsKeptWithAMessage)
{
    PlanObject* wall = MakeWall(0, {1, 2});
    PlanObject* door = FittedDoorOn(wall, 1);
    Delete();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "Questo segmento di muro contiene finestre o porte. Eliminare tutte le finestre e le porte dal "
              "segmento del muro prima di poterlo cancellare.");
    EXPECT_EQ(wall->vertexCount, 4u);
    EXPECT_EQ(wall->firstChild, door);
    EXPECT_EQ(FloorObjects(Storey(0)).size(), 1u);
}

TEST_F(WallSegmentEditTest, VerticesThatBoundNoSegmentDeleteNothing)
{
    // Neither the unselected last segment nor its door may go.
    PlanObject* open = MakeWall(0, {1, 3});
    PlanObject* door = FittedDoorOn(open, 2);
    Delete();
    EXPECT_EQ(ChainKeys(open), (std::vector<float>{PointKey(0, 0), PointKey(100, 0), PointKey(100, 100), PointKey(0, 100)}));
    EXPECT_EQ(open->firstChild, door);

    // The closing segment runs from the last vertex to the first, not from the second.
    PlanObject* closed = MakeWall(1, {1, 3});
    Delete();
    EXPECT_EQ(closed->closed, 1);
    EXPECT_EQ(closed->vertexCount, 4u);
}

} // namespace
