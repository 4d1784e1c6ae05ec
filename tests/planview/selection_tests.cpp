// Selection flags and modes on vertices, objects and floors.
#include "support_plan.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/selection.h"
#include "tools/tool_state.h"

using vtest::PlanViewTest;

namespace {

class SelectionTest : public PlanViewTest {
protected:
    // A closed outline edited point by point (type 21) and a library object (type 15)
    // selected as a whole.
    PlanObject* Outline()
    {
        return AddObject(21, {{0, 0, 0}, {100, 0, 0}, {100, 0, 50}, {0, 0, 50}}, true);
    }
    PlanObject* LibraryObject()
    {
        return AddObject(15, {{200, 0, 0}, {260, 0, 0}, {260, 0, 40}});
    }
};

TEST_F(SelectionTest, QueriesFollowOwnVerticesAndChildren)
{
    PlanObject* group = AddObject(1000, {});
    PlanObject* member = AddChild(group, 21, {{0, 0, 0}, {10, 0, 0}});
    EXPECT_FALSE(IsAnyPointSelected(group));
    Vertex(member, 1)->selected = 1;
    EXPECT_TRUE(IsAnyPointSelected(group));
    EXPECT_TRUE(HasSelectedPoints(group));
    EXPECT_FALSE(AreAllPointsSelected(group));
    Vertex(member, 0)->selected = 1;
    EXPECT_TRUE(AreAllPointsSelected(group));

    EXPECT_FALSE(IsAnyPointSelected(nullptr));
    EXPECT_FALSE(AreAllPointsSelected(nullptr));
    EXPECT_FALSE(HasSelectedPoints(nullptr));
}

TEST_F(SelectionTest, WallGroupIsNotSelectedByItsOpenings)
{
    PlanObject* wall = AddObject(ObjWall, {{0, 0, 0}, {200, 0, 0}});
    PlanObject* door = AddChild(wall, ObjDoor, {{50, 0, 0}, {80, 0, 0}});
    SetAllPointsSelected(door, 1);
    EXPECT_FALSE(IsAnyPointSelected(wall));
    EXPECT_TRUE(HasSelectedPoints(wall));
    // All of the wall's own points selected counts as all, whatever its openings hold.
    SetAllPointsSelected(door, 0);
    Vertex(wall, 0)->selected = Vertex(wall, 1)->selected = 1;
    EXPECT_TRUE(AreAllPointsSelected(wall));

    PlanObject* deck = AddObject(ObjDeck, {{0, 0, 0}, {50, 0, 0}});
    PlanObject* steps = AddChild(deck, ObjDeckSteps, {{10, 0, 0}, {20, 0, 0}});
    SetAllPointsSelected(steps, 1);
    EXPECT_FALSE(IsAnyPointSelected(deck));
    EXPECT_TRUE(HasSelectedPoints(deck));
}

TEST_F(SelectionTest, PointEditingDependsOnToolAndType)
{
    PlanObject* outline = Outline();
    PlanObject* library = LibraryObject();
    EXPECT_TRUE(IsPointEditable(200, outline));
    EXPECT_FALSE(IsPointEditable(200, library));
    for (uint16_t type : {2, 5, 8, 9, 14, 15, 28, 31, 102, 115, 125, 200, 201, 1000}) {
        library->type = type;
        EXPECT_FALSE(IsPointEditable(200, library)) << type;
    }
    // No tool yet (0xFFFF read as -1), tool 0, or no object: points one by one.
    EXPECT_TRUE(IsPointEditable(-1, library));
    EXPECT_TRUE(IsPointEditable(0, library));
    EXPECT_TRUE(IsPointEditable(200, nullptr));
}

TEST_F(SelectionTest, SelectRefusedWhileAVertexIsUnselectable)
{
    PlanObject* outline = Outline();
    Vertex(outline, 2)->selectable = 0;
    EXPECT_FALSE(ApplySelectionMode(outline, 1));
    EXPECT_EQ(CountSelected(outline), 0);

    // Deselecting is never refused.
    Vertex(outline, 0)->selected = 1;
    EXPECT_TRUE(ApplySelectionMode(outline, 2));
    EXPECT_EQ(CountSelected(outline), 0);
    EXPECT_FALSE(ApplySelectionMode(outline, 2));

    // An unselectable vertex of a child refuses the whole object too.
    PlanObject* group = AddObject(1000, {});
    PlanObject* member = AddChild(group, 21, {{0, 0, 0}, {1, 0, 0}});
    Vertex(member, 1)->selectable = 0;
    EXPECT_FALSE(ApplySelectionMode(group, 1));
}

TEST_F(SelectionTest, SelectAndToggleWholeObjects)
{
    PlanObject* outline = Outline();
    EXPECT_TRUE(ApplySelectionMode(outline, 1));
    EXPECT_EQ(CountSelected(outline), 4);
    EXPECT_FALSE(ApplySelectionMode(outline, 1));

    // A partly selected object toggles off entirely.
    SetAllPointsSelected(outline, 0);
    Vertex(outline, 1)->selected = 1;
    EXPECT_TRUE(ApplySelectionMode(outline, 3));
    EXPECT_EQ(CountSelected(outline), 0);
    EXPECT_TRUE(ApplySelectionMode(outline, 3));
    EXPECT_EQ(CountSelected(outline), 4);

    // Any other value below 4 selects, 128 and above included (compared as signed).
    SetAllPointsSelected(outline, 0);
    EXPECT_TRUE(ApplySelectionMode(outline, 0));
    SetAllPointsSelected(outline, 0);
    EXPECT_TRUE(ApplySelectionMode(outline, 200));
    EXPECT_EQ(CountSelected(outline), 4);
}

TEST_F(SelectionTest, MarkModesOnObjects)
{
    PlanObject* outline = Outline();
    PlanObject* child = AddChild(outline, 21, {{5, 0, 5}, {6, 0, 6}});

    // Mode 5 leaves an unselected object alone.
    EXPECT_FALSE(ApplySelectionMode(outline, 5));
    EXPECT_FALSE(HasUnselectableVertex(outline));

    // On a selected one it deselects everything and makes it unselectable.
    Vertex(outline, 0)->selected = 1;
    EXPECT_TRUE(ApplySelectionMode(outline, 5));
    EXPECT_EQ(CountSelected(outline), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Vertex(outline, i)->selectable, 0);
    EXPECT_EQ(Vertex(child, 0)->selectable, 0);
    EXPECT_FALSE(ApplySelectionMode(outline, 1));

    // Mode 4 makes it selectable again and reports no change.
    EXPECT_FALSE(ApplySelectionMode(outline, 4));
    EXPECT_FALSE(HasUnselectableVertex(outline));
    EXPECT_TRUE(ApplySelectionMode(outline, 1));

    // Mode 6 does nothing.
    EXPECT_FALSE(ApplySelectionMode(outline, 6));
    EXPECT_EQ(CountSelected(outline), 6);
}

TEST_F(SelectionTest, KeepFlagModes)
{
    PlanObject* outline = Outline();
    PlanObject* child = AddChild(outline, 21, {{5, 0, 5}, {6, 0, 6}});

    // Not selected: modes 7 and 8 leave the keep flags alone.
    ApplySelectionMode(outline, 7);
    EXPECT_FALSE(HasKeptVertex(outline));

    ApplySelectionMode(outline, 1);
    ApplySelectionMode(outline, 7);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Vertex(outline, i)->keepFlag, 1);
    EXPECT_EQ(Vertex(child, 1)->keepFlag, 1);
    // The keep flag is not the selection: the object stays selected.
    EXPECT_EQ(CountSelected(outline), 6);

    ApplySelectionMode(outline, 8);
    EXPECT_FALSE(HasKeptVertex(outline));
    EXPECT_EQ(CountSelected(outline), 6);
}

TEST_F(SelectionTest, VertexModes)
{
    PlanObject* outline = Outline();
    PlanVertex* v = Vertex(outline, 1);

    EXPECT_TRUE(SelectPoint(v, 1, 0));
    EXPECT_FALSE(SelectPoint(v, 1, 0));
    EXPECT_TRUE(SelectPoint(v, 3, 0));
    EXPECT_EQ(v->selected, 0);
    EXPECT_TRUE(SelectPoint(v, 3, 0));
    EXPECT_EQ(v->selected, 1);

    // Keep flag only on a selected vertex.
    SelectPoint(v, 7, 1);
    EXPECT_EQ(v->keepFlag, 1);
    EXPECT_EQ(v->selected, 1);
    SelectPoint(v, 8, 1);
    EXPECT_EQ(v->keepFlag, 0);
    PlanVertex* other = Vertex(outline, 2);
    SelectPoint(other, 7, 0);
    EXPECT_EQ(other->keepFlag, 0);

    // Mode 5: the selected vertex becomes unselected and unselectable.
    EXPECT_FALSE(SelectPoint(other, 5, 0));
    EXPECT_EQ(other->selectable, 1);
    EXPECT_TRUE(SelectPoint(v, 5, 0));
    EXPECT_EQ(v->selected, 0);
    EXPECT_EQ(v->selectable, 0);
    EXPECT_FALSE(SelectPoint(v, 1, 0));
    EXPECT_FALSE(SelectPoint(v, 3, 0));
    EXPECT_EQ(v->selected, 0);
    SelectPoint(v, 4, 0);
    EXPECT_EQ(v->selectable, 1);
    EXPECT_TRUE(SelectPoint(v, 1, 0));

    EXPECT_FALSE(SelectPoint(nullptr, 1, 0));
}

TEST_F(SelectionTest, ObjectsSelectedWholeOrPointByPoint)
{
    PlanObject* outline = Outline();
    PlanObject* library = LibraryObject();

    // Point by point: mode 3 toggles every vertex on its own.
    Vertex(outline, 0)->selected = 1;
    SelectObjectAndDrawHandles(outline, 3, 1);
    EXPECT_EQ(Vertex(outline, 0)->selected, 0);
    EXPECT_EQ(Vertex(outline, 1)->selected, 1);
    EXPECT_EQ(CountSelected(outline), 3);

    // As a whole: mode 3 deselects the partly selected object.
    Vertex(library, 2)->selected = 1;
    SelectObjectAndDrawHandles(library, 3, 1);
    EXPECT_EQ(CountSelected(library), 0);
    SelectObjectAndDrawHandles(library, 1, 1);
    EXPECT_EQ(CountSelected(library), 3);

    // As a whole, an unselectable vertex refuses the whole object; point by point only
    // that vertex stays out.
    SetAllPointsSelected(library, 0);
    SetAllPointsSelected(outline, 0);
    Vertex(library, 0)->selectable = 0;
    Vertex(outline, 0)->selectable = 0;
    SelectObjectAndDrawHandles(library, 1, 0);
    SelectObjectAndDrawHandles(outline, 1, 0);
    EXPECT_EQ(CountSelected(library), 0);
    EXPECT_EQ(CountSelected(outline), 3);
}

TEST_F(SelectionTest, NothingWithoutAPlanPane)
{
    PlanObject* outline = Outline();
    activePlanPane = nullptr;
    SelectObjectAndDrawHandles(outline, 1, 0);
    SetSelectionAllFloors(FirstFloor(), 1, 0);
    EXPECT_EQ(CountSelected(outline), 0);
}

TEST_F(SelectionTest, FloorsMustBeShownAndActive)
{
    PlanObject* onFirst = Outline();
    PlanObject* onSecond = AddObject(15, {{0, 0, 0}, {5, 0, 5}}, false, SecondFloor());
    PlanFloor* third = SecondFloor()->next;
    third->active = 1;
    third->shown = 0;
    PlanObject* onThird = AddObject(15, {{0, 0, 0}, {5, 0, 5}}, false, third);

    // The second storey is shown but not active.
    SetSelectionAllFloors(FirstFloor(), 1, 0);
    EXPECT_EQ(CountSelected(onFirst), 4);
    EXPECT_EQ(CountSelected(onSecond), 0);
    EXPECT_EQ(CountSelected(onThird), 0);

    SecondFloor()->active = 1;
    SetSelectionAllFloors(FirstFloor(), 1, 0);
    EXPECT_EQ(CountSelected(onSecond), 2);
    SetSelectionAllFloors(FirstFloor(), 2, 0);
    EXPECT_EQ(CountSelected(onFirst), 0);
    EXPECT_EQ(CountSelected(onSecond), 0);

    SetFloorSelection(SecondFloor(), 1, 0);
    EXPECT_EQ(CountSelected(onFirst), 0);
    EXPECT_EQ(CountSelected(onSecond), 2);
}

TEST_F(SelectionTest, FilteredSelectionSkipsHiddenCategories)
{
    PlanObject* shown = Outline();
    PlanObject* hidden = LibraryObject();
    hidden->category = 4;
    PlanObject* hiddenChild = AddChild(shown, 21, {{1, 0, 1}, {2, 0, 2}});
    hiddenChild->category = 8;

    DrawSelectionHandlesAllFloors(FirstFloor(), 1, 0, 1);
    EXPECT_EQ(CountSelected(shown), 4);
    EXPECT_EQ(CountSelected(hiddenChild), 0);
    EXPECT_EQ(CountSelected(hidden), 0);

    DrawFloorSelectionHandles(FirstFloor(), 1, 0, 4);
    EXPECT_EQ(CountSelected(hidden), 3);
}

TEST_F(SelectionTest, ClickOnAVertexOrSegment)
{
    PlanObject* outline = Outline();
    SelectPointOrObject(Vertex(outline, 2), outline, 1, 1);
    EXPECT_EQ(CountSelected(outline), 1);
    EXPECT_EQ(Vertex(outline, 2)->selected, 1);

    SelectSegmentOrObject(Vertex(outline, 3), Vertex(outline, 0), outline, 1, 1);
    EXPECT_EQ(CountSelected(outline), 3);
    EXPECT_EQ(Vertex(outline, 1)->selected, 0);

    // A member of a group takes the whole outermost group.
    PlanObject* group = AddObject(1000, {});
    PlanObject* a = AddChild(group, 21, {{0, 0, 0}, {10, 0, 0}});
    PlanObject* b = AddChild(group, 21, {{20, 0, 0}, {30, 0, 0}});
    SelectPointOrObject(Vertex(a, 0), a, 1, 1);
    EXPECT_EQ(CountSelected(a), 2);
    EXPECT_EQ(CountSelected(b), 2);

    // A text frame is always taken whole.
    PlanObject* text = AddObject(ObjTextFrame, {{0, 0, 0}, {40, 0, 0}, {40, 0, 20}, {0, 0, 20}});
    SelectPointOrObject(Vertex(text, 1), text, 1, 0);
    EXPECT_EQ(CountSelected(text), 4);

    // No current tool: nothing.
    SetAllPointsSelected(outline, 0);
    currentToolId = -1;
    SelectPointOrObject(Vertex(outline, 0), outline, 1, 0);
    SelectSegmentOrObject(Vertex(outline, 0), Vertex(outline, 1), outline, 1, 0);
    EXPECT_EQ(CountSelected(outline), 0);
}

TEST_F(SelectionTest, SelectionCornerSnappedDownToTheGrid)
{
    // Inches at 72 to the inch, a grid of 12; the line spans 13..47 across, 25..58 deep.
    Settings()->drawingUnit = 1;
    Settings()->drawingScale = 72.0f;
    Settings()->snapStepX = Settings()->snapStepY = 12.0f;
    struct Case { uint16_t command; float x, z; } cases[] = {   // where (13, 25) goes
        {5140, 12, 24}, {5141, 2, 24}, {5142, 12, 15}, {5143, 2, 15}, {5144, 13, 25}};
    for (const Case& c : cases) {
        PlanObject* line = AddObject(ObjLine, {{13, 0, 25}, {47, 0, 58}});
        SetAllPointsSelected(line, 1);
        SnapSelectionCornerToGrid(c.command);
        EXPECT_FLOAT_EQ(Vertex(line, 0)->position[0], c.x) << c.command;
        EXPECT_FLOAT_EQ(Vertex(line, 0)->position[2], c.z) << c.command;
        FreeObject(line);
    }
}

} // namespace
