// The selection's move, resize and rotation from taped drags and their undo; wall ends
// dropped on walls; doors and deck steps dragged along their sides; the exterior wall.
#include "support_tools.h"
#include <gtest/gtest.h>
#include <cmath>
#include "model/deck_parts.h"
#include "model/object_copies.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/selection.h"
#include "support/test_support.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

using tooltest::At;
using tooltest::ToolTest;
using tooltest::VertexXZ;
using vtest::VertexAt;

class SelectDrag : public ToolTest {
protected:
    // A closed solid (type 8), selected whole, in the floor-plan category.
    PlanObject* AddSquare(float x0, float z0, float side)
    {
        PlanObject* square = vtest::MakePointObject(
            8, Floor(), {{x0, 0, z0}, {x0 + side, 0, z0}, {x0 + side, 0, z0 + side}, {x0, 0, z0 + side}}, 1, 1);
        square->category = kCategoryFloorPlan;
        UpdateObjectExtents(square);
        return square;
    }
};

TEST_F(SelectDrag, TransformsAreUndoneByExactlyWhatWasApplied)
{
    // Dragged 100 to the right from an edge, 10 short of the plan's right extent: the
    // square stops on the extent, and the undo moves it back by the 10 applied.
    PlanObject* square = AddSquare(2300, 0, 90);
    RunGesture(200, tooltest::Drag({{2345, 0}, {2400, 0}, {2445, 0}}));
    ExpectXZ(square, 1, 2400, 0);
    EXPECT_EQ(undoAvailable, 1u);
    UndoLastEdit();
    ExpectXZ(square, 1, 2390, 0);
    FreeObject(square);

    // A handle of the box dragged from 100 to 50: half as wide about the far side.
    PlanObject* box = AddSquare(0, 0, 100);
    RunGesture(200, tooltest::Drag({{100, 0}, {75, 0}, {50, 0}}));
    EXPECT_EQ(document->lastEditKind, 9);
    ExpectXZ(box, 2, 50, 100);
    UndoLastEdit();
    ExpectXZ(box, 2, 100, 100);
    FreeObject(box);

    // Two lines turned with Shift (no snap, held after the press, which would toggle the
    // selection) about their common centre, and back.
    PlanObject* a = vtest::MakePointObject(ObjLine, Floor(), {{0, 0, 0}, {100, 0, 0}}, 1, 0);
    PlanObject* b = vtest::MakePointObject(ObjLine, Floor(), {{0, 0, 50}, {70, 0, 50}}, 1, 0);
    a->category = b->category = kCategoryFloorPlan;
    UpdateObjectExtents(a);
    UpdateObjectExtents(b);
    std::vector<tooltest::Frame> turn = tooltest::Drag({{80, 0}, {90, 30}, {80, 60}}, true);
    turn.front().shift = false;
    RunGesture(201, turn);
    EXPECT_GT(std::fabs(VertexXZ(a, 0).z - 0.0f), 1.0f);   // really turned
    UndoLastEdit();
    ExpectXZ(a, 0, 0, 0);
    ExpectXZ(a, 1, 100, 0);
    ExpectXZ(b, 1, 70, 50);
}

TEST_F(SelectDrag, WallEndsDroppedOnWallEnds)
{
    const uint32_t category = kCategoryFloorPlan;
    // The end of a wall dropped on another wall's free end: one wall, nothing to undo.
    PlanObject* wall = tooltest::AddWall(Floor(), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}}, category);
    tooltest::AddWall(Floor(), {{200, 0, 100}, {300, 0, 100}}, category);
    VertexAt(wall, 2)->selected = 1;
    RunGesture(200, tooltest::Drag({{100, 100}, {150, 100}, {200, 100}}));
    ASSERT_EQ(vtest::CountFloorObjects(Floor()), 1);
    EXPECT_EQ(CountVertexChain(Floor()->firstObject), 4);
    EXPECT_EQ(undoAvailable, 0u);
    UndoLastEdit();
    EXPECT_EQ(CountVertexChain(Floor()->firstObject), 4);
    ExpectXZ(Floor()->firstObject, 2, 200, 100);
    FreeFloorObjects(Floor());

    // The last end of a four-point chain dropped on its first closes it; a three-point
    // chain would fold, so its end just moves.
    struct Case { std::initializer_list<vtest::Point3> points; POINT last; int left; uint8_t closed; } cases[] = {
        {{{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}, {0, 0, 30}}, {0, 30}, 4, 1},
        {{{0, 0, 0}, {100, 0, 0}, {0, 0, 30}}, {0, 30}, 3, 0},
    };
    for (const Case& c : cases) {
        PlanObject* chain = tooltest::AddWall(Floor(), c.points, category);
        PlanVertex* last = VertexAt(chain, CountVertexChain(chain) - 1);
        last->selected = 1;
        RunGesture(200, tooltest::Drag({c.last, {0, 10}, {0, 0}}));
        EXPECT_EQ(CountVertexChain(chain), c.left);
        EXPECT_EQ(chain->closed, c.closed);
        FreeFloorObjects(Floor());
    }
}

TEST_F(SelectDrag, DoorsAndDeckStepsKeepClearOfTheEndsAndTheirLeastWidth)
{
    PlanObject* wall = tooltest::AddWall(Floor(), {{0, 0, 0}, {100, 0, 0}}, kCategoryFloorPlan);
    PlanObject* door = tooltest::AddDoor(wall, 0, 50.0f, 30.0f);   // 35 to 65
    SetAllPointsSelected(door, 1);   // a first press would select it without dragging
    // Slid whole toward the start: it stops 8.0 from it.
    RunGesture(200, tooltest::Drag({{50, 0}, {20, 0}, {0, 0}}));
    ExpectXZ(door, 0, 8, 0);
    ExpectXZ(door, 1, 38, 0);
    const OpeningRecord* record = static_cast<OpeningRecord*>(door->link);
    EXPECT_FLOAT_EQ(record->distanceFromStart, 23.0f);
    EXPECT_FLOAT_EQ(record->distanceToEnd, 77.0f);
    // Its first end pulled along: it follows the pointer, and past the second end it
    // stops 18.0 short of it.
    struct EndCase { POINT to; float first, width; } ends[] = {{{12, 0}, 12, 26}, {{60, 0}, 20, 18}};
    for (const EndCase& e : ends) {
        const float from = VertexXZ(door, 0).x;
        RunGesture(200, tooltest::Drag({{static_cast<LONG>(from), 0}, {e.to.x - 1, 0}, e.to}));
        ExpectXZ(door, 0, e.first, 0);
        EXPECT_FLOAT_EQ(record->width, e.width);
    }

    PlanObject* deck = vtest::MakePointObject(ObjDeck, Floor(), {{0, 0, 200}, {100, 0, 200}, {100, 0, 300}, {0, 0, 300}}, 0, 1);
    deck->category = kCategoryFloorPlan;
    document->settings->deckStepsWidth = 30.0f;
    BuildKind53OnSegment(deck, VertexAt(deck, 0), VertexAt(deck, 1));
    RebuildDeck(deck);
    UpdateObjectExtents(deck);
    PlanObject* steps = deck->firstChild;
    ASSERT_NE(steps, nullptr);
    SetAllPointsSelected(door, 0);
    SetAllPointsSelected(steps, 1);
    RunGesture(200, tooltest::Drag({{50, 200}, {80, 200}, {100, 200}}));
    ExpectXZ(steps, 1, 92, 200);
}

TEST_F(SelectDrag, PerimeterWallsLieWithinTheClickedCornersEitherWay)
{
    const float t = document->settings->wallThickness / 2.0f;
    // From the first click at (0, 0): along the top edge first, the inside on the right
    // of the first edge as the plan shows it (y down), a winding of -1: the face words of
    // 3 on face A; along the left edge first, the inside on its left, a winding of 1:
    // on face B, and each vertex marked 1.
    struct Case { std::vector<POINT> corners; uint32_t flagsA, flagsB; uint8_t marker; } cases[] = {
        {{{200, 0}, {200, 100}, {0, 100}}, 3, 0, 0},
        {{{0, 100}, {200, 100}, {200, 0}}, 0, 3, 1},
    };
    for (int k = 0; k < 2; ++k) {
        std::vector<tooltest::Frame> loop;
        // A left click at each corner, then a right click ends the outline.
        for (const POINT& p : cases[k].corners)
            loop.push_back(At(p.x, p.y, WM_LBUTTONDOWN));
        const POINT last = cases[k].corners.back();
        loop.push_back(At(last.x + 1, last.y, WM_RBUTTONDOWN));
        loop.push_back(At(last.x + 1, last.y));
        RunGesture(7050, tooltest::Clicks({0, 0}, loop));
        PlanObject* wall = Floor()->firstObject;
        ASSERT_NE(wall, nullptr);
        EXPECT_EQ(wall->type, ObjWall);
        EXPECT_EQ(wall->subType, 54u);
        EXPECT_EQ(wall->closed, 1);
        ASSERT_EQ(CountVertexChain(wall), 4);
        float box[4] = {1e9f, 1e9f, -1e9f, -1e9f};
        for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
            box[0] = std::fmin(box[0], v->position[0]);
            box[1] = std::fmin(box[1], v->position[2]);
            box[2] = std::fmax(box[2], v->position[0]);
            box[3] = std::fmax(box[3], v->position[2]);
            EXPECT_EQ(v->segmentStyleExtra, 1);
            EXPECT_EQ(v->faceFlagsA, cases[k].flagsA) << k;
            EXPECT_EQ(v->faceFlagsB, cases[k].flagsB) << k;
            EXPECT_EQ(v->alternationMarker, cases[k].marker) << k;
        }
        // The clicked corners are the outer face: the centre line lies half a thickness in.
        EXPECT_NEAR(box[0], t, 0.01f);
        EXPECT_NEAR(box[1], t, 0.01f);
        EXPECT_NEAR(box[2], 200 - t, 0.01f);
        EXPECT_NEAR(box[3], 100 - t, 0.01f);
        CancelPendingObject();
        FreeFloorObjects(Floor());
    }

    // Two corners and a right click: the tool explains itself and makes nothing.
    vtest::MessageBoxRecorder boxes;
    RunGesture(7050, tooltest::Clicks({0, 0}, {At(200, 0, WM_LBUTTONDOWN), At(200, 50, WM_RBUTTONDOWN),
                                               At(200, 50)}));
    EXPECT_EQ(Floor()->firstObject, nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text.substr(0, 40), "Lo strumento Muro esterno si usa per def");
    EXPECT_EQ(pendingObject, nullptr);
}

}  // namespace
