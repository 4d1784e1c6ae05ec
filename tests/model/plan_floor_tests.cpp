#include "support_model.h"
#include <string.h>

using namespace mtest;

class PlanFloorTest : public DocumentTest {};

TEST_F(PlanFloorTest, NewDocumentHasTheThreeStoreysWithTheFirstCurrent)
{
    PlanFloor* first = Storey(0);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->name, "First Floor");
    EXPECT_STREQ(Storey(1)->name, "Second Floor");
    EXPECT_STREQ(Storey(2)->name, "Third Floor");
    EXPECT_EQ(Storey(3), nullptr);
    EXPECT_EQ(document->currentFloor, first);
    EXPECT_EQ(document->currentViewSheet, nullptr);
    EXPECT_EQ(first->shown, 1);
    EXPECT_EQ(first->active, 1);
    EXPECT_EQ(Storey(1)->shown, 1);
    EXPECT_EQ(Storey(1)->active, 0);
    EXPECT_EQ(Storey(2)->active, 0);
    EXPECT_EQ(Storey(1)->previous, first);
    EXPECT_EQ(Storey(2)->previous, Storey(1));
    for (int i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(Storey(i)->height, 96.0f);
    EXPECT_EQ(document->lastEditKind, -1);
    EXPECT_FLOAT_EQ(document->measuringLineEnds[0], -144.0f);
    EXPECT_FLOAT_EQ(document->measuringLineEnds[2], 144.0f);
    EXPECT_NE(document->settings, nullptr);
}

TEST_F(PlanFloorTest, CreateFloorCopiesTheNameAndStartsUnlinked)
{
    PlanFloor* floor = CreateFloor("X_LEFT", 0, 1, nullptr);
    ASSERT_NE(floor, nullptr);
    EXPECT_STREQ(floor->name, "X_LEFT");
    EXPECT_EQ(floor->shown, 0);
    EXPECT_EQ(floor->active, 1);
    EXPECT_FLOAT_EQ(floor->height, 96.0f);
    EXPECT_EQ(floor->previous, nullptr);
    EXPECT_EQ(floor->next, nullptr);
    ReleaseRecord(floor);

    std::string longName(400, 'A');
    floor = CreateFloor(longName.c_str(), 1, 1, nullptr);
    ASSERT_NE(floor, nullptr);
    EXPECT_EQ(strlen(floor->name), 255u);
    ReleaseRecord(floor);
}

TEST_F(PlanFloorTest, BaseHeightIsTheSumOfTheFloorsBefore)
{
    EXPECT_FLOAT_EQ(GetFloorBaseHeight(Storey(0)), 0.0f);
    EXPECT_FLOAT_EQ(GetFloorBaseHeight(Storey(1)), 96.0f);
    EXPECT_FLOAT_EQ(GetFloorBaseHeight(Storey(2)), 192.0f);
    EXPECT_FLOAT_EQ(GetFloorBaseHeight(nullptr), 0.0f);
    Storey(0)->height = 120.0f;
    Storey(1)->height = 100.0f;
    PlanFloor* sheet = FindFloorByNumber(5151);
    EXPECT_FLOAT_EQ(GetFloorBaseHeight(Storey(2)), 220.0f);
    EXPECT_FLOAT_EQ(GetFloorBaseHeight(sheet), 316.0f);
}

TEST_F(PlanFloorTest, TopViewSheetFollowsTheCurrentStoreyAndIsMadeOnce)
{
    document->currentFloor = Storey(1);
    PlanFloor* sheet = FindFloorByNumber(5149);
    ASSERT_NE(sheet, nullptr);
    EXPECT_STREQ(sheet->name, "X_TOP_SECOND_FLOOR");
    EXPECT_EQ(sheet->shown, 1);
    EXPECT_EQ(sheet->active, 1);
    EXPECT_EQ(Storey(3), sheet);
    EXPECT_EQ(FindFloorByNumber(5149), sheet);
    EXPECT_EQ(Storey(4), nullptr);

    document->currentFloor = Storey(2);
    EXPECT_STREQ(FindFloorByNumber(5149)->name, "X_TOP_THIRD_FLOOR");
}

TEST_F(PlanFloorTest, TopViewWithAStoreyMissingUsesTheFirstSheet)
{
    strcpy(Storey(2)->name, "Attic");
    document->currentFloor = Storey(1);
    EXPECT_STREQ(FindFloorByNumber(5149)->name, "X_TOP_FIRST_FLOOR");
}

TEST_F(PlanFloorTest, ViewCodesChooseTheirSheets)
{
    EXPECT_STREQ(FindFloorByNumber(5151)->name, "X_LEFT");
    EXPECT_STREQ(FindFloorByNumber(5152)->name, "X_RIGHT");
    EXPECT_STREQ(FindFloorByNumber(5153)->name, "X_FRONT");
    EXPECT_STREQ(FindFloorByNumber(5154)->name, "X_BACK");
    EXPECT_STREQ(FindFloorByNumber(5150)->name, "X_TOP_FIRST_FLOOR");
    EXPECT_STREQ(FindFloorByNumber(1)->name, "X_TOP_FIRST_FLOOR");
    EXPECT_EQ(FindFloorByNumber(5150), FindFloorByNumber(42));
    // Sheets are appended in the order first needed.
    EXPECT_STREQ(Storey(3)->name, "X_LEFT");
    EXPECT_STREQ(Storey(7)->name, "X_TOP_FIRST_FLOOR");
}

TEST_F(PlanFloorTest, NamesAreComparedExactly)
{
    EXPECT_EQ(FindFloorByName("First Floor"), Storey(0));
    EXPECT_EQ(FindFloorByName("first floor"), nullptr);
    EXPECT_EQ(FindFloorByName("First Floor "), nullptr);
    EXPECT_EQ(FindFloorByName(nullptr), nullptr);
}

TEST_F(PlanFloorTest, WithoutADocumentNothingIsFoundOrMade)
{
    activeDocument = nullptr;
    EXPECT_EQ(FindFloorByNumber(5149), nullptr);
    EXPECT_EQ(FindFloorByName("First Floor"), nullptr);
    PlanFloor* floor = CreateFloor("Spare", 1, 1, nullptr);
    AppendFloorToDocument(floor);
    RemoveFloor(floor);
    activeDocument = document;
    EXPECT_EQ(Storey(3), nullptr);
    ReleaseRecord(floor);
}

TEST_F(PlanFloorTest, RemovingTheCurrentFirstFloorMakesItsSuccessorCurrent)
{
    PlanFloor* second = Storey(1);
    MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {1, 0, 0}});
    MakeObject(ObjPath, Storey(0), {{0, 0, 0}});
    RemoveFloor(Storey(0));
    EXPECT_EQ(document->firstFloor, second);
    EXPECT_EQ(document->currentFloor, second);
    EXPECT_EQ(second->previous, nullptr);
}

TEST_F(PlanFloorTest, RemovingAFloorMovesCurrentToItsPredecessor)
{
    document->currentFloor = Storey(2);
    PlanFloor* second = Storey(1);
    RemoveFloor(Storey(2));
    EXPECT_EQ(document->currentFloor, second);
    EXPECT_EQ(second->next, nullptr);
}

TEST_F(PlanFloorTest, RemovingTheCurrentViewSheetClearsIt)
{
    PlanFloor* sheet = FindFloorByNumber(5153);
    document->currentViewSheet = sheet;
    MakeObject(ObjTextFrame, sheet, {{0, 0, 0}});
    RemoveFloor(sheet);
    EXPECT_EQ(document->currentViewSheet, nullptr);
    EXPECT_EQ(FindFloorByName("X_FRONT"), nullptr);
}

TEST_F(PlanFloorTest, AttachingAppendsAtTheEndAndSetsTheFloor)
{
    PlanObject* a = MakeObject(ObjLine, nullptr, {});
    PlanObject* b = MakeObject(ObjLine, nullptr, {});
    AttachObjectToFloor(a, Storey(1));
    AttachObjectToFloor(b, Storey(1));
    EXPECT_EQ(Storey(1)->firstObject, a);
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(b->previous, a);
    EXPECT_EQ(b->next, nullptr);
    EXPECT_EQ(b->floor, Storey(1));
    AttachObjectToFloor(nullptr, Storey(1));
    EXPECT_EQ(CountFloorObjects(Storey(1)), 2);
}

TEST_F(PlanFloorTest, MovingAnObjectCarriesItsDescendants)
{
    PlanObject* group = MakeObject(ObjGroup, Storey(0), {});
    PlanObject* inner = MakeChild(group, ObjGroup, {});
    PlanObject* leaf = MakeChild(inner, ObjLine, {{0, 0, 0}});
    MakeObject(ObjLine, Storey(0), {});
    MoveObjectToFloor(group, Storey(2));
    EXPECT_EQ(CountFloorObjects(Storey(0)), 1);
    EXPECT_EQ(Storey(2)->firstObject, group);
    EXPECT_EQ(group->floor, Storey(2));
    EXPECT_EQ(inner->floor, Storey(2));
    EXPECT_EQ(leaf->floor, Storey(2));

    // A member taken out of its group becomes a top-level object of the floor.
    MoveObjectToFloor(leaf, Storey(1));
    EXPECT_EQ(inner->firstChild, nullptr);
    EXPECT_EQ(leaf->owner, nullptr);
    EXPECT_EQ(Storey(1)->firstObject, leaf);
}

TEST_F(PlanFloorTest, SelectCurrentFloorShowsSheetsByTheirStoreys)
{
    PlanFloor* topSecond = CreateFloor("X_TOP_SECOND_FLOOR", 1, 1, nullptr);
    PlanFloor* left = CreateFloor("X_LEFT", 1, 1, nullptr);
    PlanFloor* topThird = CreateFloor("X_TOP_THIRD_FLOOR", 1, 1, nullptr);
    AppendFloorToDocument(topSecond);
    AppendFloorToDocument(left);
    AppendFloorToDocument(topThird);
    PlanObject* mark = MakeObject(ObjTextFrame, left, {{0, 0, 0}}, 1);
    Storey(1)->shown = 0;
    strcpy(Storey(2)->name, "Loft");  // the third storey is missing

    SelectCurrentFloor(Storey(0));
    EXPECT_EQ(topSecond->shown, 0);
    EXPECT_EQ(topSecond->active, 0);
    EXPECT_EQ(left->shown, 0);
    EXPECT_EQ(left->active, 0);
    EXPECT_EQ(mark->firstVertex->selected, 0);
    EXPECT_EQ(topThird->shown, 1);   // its storey is missing: unchanged
    EXPECT_EQ(topThird->active, 1);
    EXPECT_EQ(Storey(1)->shown, 0);  // storeys are not changed

    SelectCurrentFloor(left);
    EXPECT_EQ(left->shown, 1);
    EXPECT_EQ(left->active, 1);
}

TEST_F(PlanFloorTest, AnnotationsMoveToTheViewSheet)
{
    PlanFloor* floor = Storey(0);
    PlanObject* text = MakeObject(ObjTextFrame, floor, {});
    PlanObject* wall = MakeObject(ObjWall, floor, {});
    PlanObject* dimension = MakeObject(ObjDimensionLine, floor, {});
    PlanObject* group = MakeObject(ObjGroup, floor, {});
    MakeChild(group, ObjDimensionLine, {});
    PlanObject* otherGroup = MakeObject(ObjGroup, floor, {});
    MakeChild(otherGroup, ObjLine, {});
    MoveAnnotationsToViewSheet(floor, 5152);
    PlanFloor* sheet = FindFloorByName("X_RIGHT");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(floor->firstObject, wall);
    EXPECT_EQ(wall->next, otherGroup);
    EXPECT_EQ(otherGroup->next, nullptr);
    EXPECT_EQ(sheet->firstObject, text);
    EXPECT_EQ(text->next, dimension);
    EXPECT_EQ(dimension->next, group);
    EXPECT_EQ(group->firstChild->floor, sheet);
}
