// Hit tests of the plan pane and the rubber band, against view positions worked out by
// hand: top view, origin 0, zoom 1, so a model point (x, h, z) shows at (x, z).
#include "support_plan.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/hit_testing.h"
#include "planview/selection.h"
#include "tools/plan_mouse_state.h"

using vtest::PlanViewTest;

namespace {

class HitTest : public PlanViewTest {
protected:
    PlanMouseState Click(int x, int y)
    {
        PlanMouseState state = {};
        state.x = x;
        state.y = y;
        return state;
    }
    bool Pick(PlanMouseState* state, uint8_t selectedOnly = 0,
              const int16_t* types = nullptr, int16_t count = 0)
    {
        return PickObjectAtPoint(FirstFloor(), state, selectedOnly, types, count);
    }
    // A straight two-point line (type 21) from (0, 0) to (100, 0) of the view.
    PlanObject* Line() { return AddObject(21, {{0, 0, 0}, {100, 0, 0}}); }
    // A library object (type 15), taken whole, covering 10..60 x 20..80.
    PlanObject* Box(PlanFloor* floor = nullptr)
    {
        PlanObject* object = AddObject(15, {{10, 0, 20}, {60, 0, 80}}, false, floor);
        return object;
    }
};

TEST_F(HitTest, SegmentWithinTolerance)
{
    PlanObject* line = Line();
    // Half size 5: chords grow by 4; PtInRect leaves the bottom edge out.
    for (int y : {3, -4}) {
        PlanMouseState state = Click(50, y);
        EXPECT_TRUE(Pick(&state)) << y;
        EXPECT_EQ(state.segmentHit, 1);
        EXPECT_EQ(state.vertexHit, 0);
        EXPECT_EQ(state.object, line);
        EXPECT_EQ(state.vertexA, Vertex(line, 0));
        EXPECT_EQ(state.vertexB, Vertex(line, 1));
    }
    for (int y : {4, -5, 20}) {
        PlanMouseState state = Click(50, y);
        EXPECT_FALSE(Pick(&state)) << y;
        EXPECT_EQ(state.object, nullptr);
    }
}

TEST_F(HitTest, SegmentHitRecordsTheChord)
{
    Line();
    // 16 chords (twice the 8 curve steps) of the cubic with zero tangents, x(t) = 300t^2
    // - 200t^3: x = 50 first falls in the grown rectangle of the chord from t = 0.4375
    // (x 40.67, rounded 41) to t = 0.5 (x 50); the one before ends at 41 + 4.
    PlanMouseState state = Click(50, 0);
    ASSERT_TRUE(Pick(&state));
    EXPECT_FLOAT_EQ(state.chordPreviousT, 0.4375f);
    EXPECT_FLOAT_EQ(state.chordCurrentT, 0.5f);
    EXPECT_NEAR(state.chordPrevious[0], 40.6738f, 1e-3);
    EXPECT_FLOAT_EQ(state.chordCurrent[0], 50.0f);
    EXPECT_NEAR(state.hitPoint[0], 50.0f, 1e-4);
    EXPECT_NEAR(state.hitPoint[2], 0.0f, 1e-4);
}

TEST_F(HitTest, CurvedSegmentFollowsTheCurve)
{
    // From (0, 0) to (100, 0) with tangents (0, 200) and (0, -200): x(t) = 300t^2 -
    // 200t^3, z(t) = 200t - 200t^2, so the curve passes (50, 50) at t = 0.5.
    PlanObject* curve = AddObject(21, {{0, 0, 0}, {100, 0, 0}});
    Vertex(curve, 0)->outTangent[2] = 200.0f;
    Vertex(curve, 1)->inTangent[2] = -200.0f;
    curve->box3D[5] = 50.0f;  // max z

    PlanMouseState onCurve = Click(50, 50);
    ASSERT_TRUE(Pick(&onCurve));
    EXPECT_EQ(onCurve.segmentHit, 1);
    // x(0.4375) = 40.67 rounds to 41, z = 49.2: that chord is the first to hold (50, 50).
    EXPECT_FLOAT_EQ(onCurve.chordPreviousT, 0.4375f);
    EXPECT_FLOAT_EQ(onCurve.chordCurrentT, 0.5f);
    EXPECT_NEAR(onCurve.hitPoint[0], 50.0f, 1e-3);
    EXPECT_NEAR(onCurve.hitPoint[2], 50.0f, 1e-3);

    // The straight chord between the ends is not part of the curve.
    PlanMouseState onChord = Click(50, 0);
    EXPECT_FALSE(Pick(&onChord));

    // A file's curve steps of 0, or a negative signed word, sample as the default 8.
    const uint16_t damaged[] = {0, 0xFFFF};
    for (uint16_t steps : damaged) {
        Settings()->curveSteps = steps;
        PlanMouseState again = Click(50, 50);
        ASSERT_TRUE(Pick(&again)) << steps;
        EXPECT_FLOAT_EQ(again.chordPreviousT, 0.4375f) << steps;
        EXPECT_FLOAT_EQ(again.chordCurrentT, 0.5f) << steps;
    }
}

TEST_F(HitTest, EndHandlesBeforeTheSegment)
{
    PlanObject* line = Line();
    PlanMouseState nearA = Click(4, -4);
    ASSERT_TRUE(Pick(&nearA));
    EXPECT_EQ(nearA.vertexHit, 1);
    EXPECT_EQ(nearA.segmentHit, 0);
    EXPECT_EQ(nearA.vertexA, Vertex(line, 0));
    EXPECT_FLOAT_EQ(nearA.hitPoint[0], 0.0f);

    PlanMouseState nearB = Click(96, 2);
    ASSERT_TRUE(Pick(&nearB));
    EXPECT_EQ(nearB.vertexHit, 1);
    EXPECT_EQ(nearB.vertexA, Vertex(line, 1));
    EXPECT_FLOAT_EQ(nearB.hitPoint[0], 100.0f);

    // Just past the handle square (half size 5, right edge excluded): the segment.
    PlanMouseState past = Click(5, 0);
    ASSERT_TRUE(Pick(&past));
    EXPECT_EQ(past.segmentHit, 1);

    // A larger half size from the settings widens the handle.
    Settings()->pickTolerance = 8;
    PlanMouseState wide = Click(7, 0);
    ASSERT_TRUE(Pick(&wide));
    EXPECT_EQ(wide.vertexHit, 1);
}

TEST_F(HitTest, UnselectableEndsAreNotHit)
{
    PlanObject* line = Line();
    Vertex(line, 0)->selectable = 0;
    PlanMouseState atA = Click(1, 0);
    EXPECT_FALSE(Pick(&atA));
    // One selectable end is enough for the segment.
    PlanMouseState middle = Click(50, 0);
    EXPECT_TRUE(Pick(&middle));
    EXPECT_EQ(middle.segmentHit, 1);
    Vertex(line, 1)->selectable = 0;
    PlanMouseState none = Click(50, 0);
    EXPECT_FALSE(Pick(&none));
}

TEST_F(HitTest, ClosingSegmentOfAClosedOutline)
{
    PlanObject* square = AddObject(21, {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, true);
    PlanMouseState state = Click(0, 50);
    ASSERT_TRUE(Pick(&state));
    EXPECT_EQ(state.segmentHit, 1);
    EXPECT_EQ(state.vertexA, Vertex(square, 3));
    EXPECT_EQ(state.vertexB, Vertex(square, 0));

    square->closed = 0;
    PlanMouseState open = Click(0, 50);
    EXPECT_FALSE(Pick(&open));
}

TEST_F(HitTest, MeshRowsAndCrossSegments)
{
    // Two rows of two: rows (0, 0)-(100, 0) and (0, 100)-(100, 100), joined column by
    // column by cross segments.
    PlanObject* mesh = AddObject(21, {{0, 0, 0}, {100, 0, 0}, {0, 0, 100}, {100, 0, 100}});
    mesh->rows = 2;
    PlanMouseState lowerRow = Click(50, 100);
    ASSERT_TRUE(Pick(&lowerRow));
    EXPECT_EQ(lowerRow.vertexA, Vertex(mesh, 2));
    EXPECT_EQ(lowerRow.vertexB, Vertex(mesh, 3));
    PlanMouseState lastColumn = Click(100, 50);
    ASSERT_TRUE(Pick(&lastColumn));
    EXPECT_EQ(lastColumn.segmentHit, 1);
    EXPECT_EQ(lastColumn.vertexA, Vertex(mesh, 1));
    EXPECT_EQ(lastColumn.vertexB, Vertex(mesh, 3));

    // A cross segment bends with the vertices' cross tangents, as the mesh is drawn:
    // x(t) = 200t - 200t^2 puts the middle of the first column at (50, 50).
    Vertex(mesh, 0)->extra[0] = 200.0f;
    Vertex(mesh, 2)->extra[0] = -200.0f;
    PlanMouseState bent = Click(50, 50);
    ASSERT_TRUE(Pick(&bent));
    EXPECT_EQ(bent.segmentHit, 1);
    EXPECT_EQ(bent.vertexA, Vertex(mesh, 0));
    EXPECT_EQ(bent.vertexB, Vertex(mesh, 2));
    PlanMouseState straight = Click(0, 50);
    EXPECT_FALSE(Pick(&straight));
}

TEST_F(HitTest, WholeObjectsAndTheirRectangle)
{
    PlanObject* box = Box();
    PlanMouseState inside = Click(35, 50);
    ASSERT_TRUE(Pick(&inside));
    EXPECT_EQ(inside.vertexHit, 1);
    EXPECT_EQ(inside.object, box);
    EXPECT_EQ(inside.vertexA, Vertex(box, 0));

    // Grown by h - 1 = 4: 4 pixels left of (or above) the box still hit, 5 do not.
    PlanMouseState left4 = Click(6, 50), left5 = Click(5, 50);
    PlanMouseState above4 = Click(35, 16), above5 = Click(35, 15);
    EXPECT_TRUE(Pick(&left4));
    EXPECT_FALSE(Pick(&left5));
    EXPECT_TRUE(Pick(&above4));
    EXPECT_FALSE(Pick(&above5));

    // A text frame is hit anywhere in its rectangle.
    PlanObject* text = AddObject(ObjTextFrame, {{200, 0, 200}, {300, 0, 200}, {300, 0, 240}, {200, 0, 240}}, true);
    PlanMouseState inText = Click(250, 220);
    ASSERT_TRUE(Pick(&inText));
    EXPECT_EQ(inText.object, text);
    EXPECT_EQ(inText.vertexHit, 1);
}

TEST_F(HitTest, LaterObjectAndLaterFloorFirst)
{
    PlanObject* below = Box();
    PlanObject* above = Box();
    PlanMouseState state = Click(30, 30);
    ASSERT_TRUE(Pick(&state));
    EXPECT_EQ(state.object, above);
    (void)below;

    // The second storey comes later in the list: it is searched first, once active.
    PlanObject* upstairs = Box(SecondFloor());
    PlanMouseState inactive = Click(30, 30);
    ASSERT_TRUE(Pick(&inactive));
    EXPECT_EQ(inactive.object, above);
    SecondFloor()->active = 1;
    PlanMouseState active = Click(30, 30);
    ASSERT_TRUE(Pick(&active));
    EXPECT_EQ(active.object, upstairs);

    // A hidden floor is not searched.
    SecondFloor()->shown = 0;
    PlanMouseState hidden = Click(30, 30);
    ASSERT_TRUE(Pick(&hidden));
    EXPECT_EQ(hidden.object, above);
}

TEST_F(HitTest, SelectedOnlyAndAllowedTypes)
{
    PlanObject* box = Box();
    PlanObject* line = AddObject(21, {{10, 0, 50}, {60, 0, 50}});
    PlanMouseState any = Click(30, 50);
    ASSERT_TRUE(Pick(&any));
    EXPECT_EQ(any.object, line);

    // With the selected-only flag only the selected box is asked.
    SetAllPointsSelected(box, 1);
    PlanMouseState selected = Click(30, 50);
    ASSERT_TRUE(Pick(&selected, 1));
    EXPECT_EQ(selected.object, box);

    const int16_t onlyLines[] = {21};
    const int16_t onlyDoors[] = {16, 17};
    PlanMouseState lines = Click(30, 50);
    ASSERT_TRUE(Pick(&lines, 0, onlyLines, 1));
    EXPECT_EQ(lines.object, line);
    PlanMouseState doors = Click(30, 70);
    EXPECT_FALSE(Pick(&doors, 0, onlyDoors, 2));

    // Children are tested even when their owner's type is not allowed.
    PlanObject* group = AddObject(1000, {});
    PlanObject* member = AddChild(group, 21, {{500, 0, 500}, {600, 0, 500}});
    PlanMouseState inGroup = Click(550, 500);
    ASSERT_TRUE(Pick(&inGroup, 0, onlyLines, 1));
    EXPECT_EQ(inGroup.object, member);
}

TEST_F(HitTest, BoxHandlesOfASelectedObject)
{
    // A line under the box's corner, earlier in the list: the box is asked first.
    PlanObject* line = AddObject(21, {{0, 0, 22}, {100, 0, 22}});
    PlanObject* box = Box();
    box->box3D[0] = -50.0f;  // min height: corners 1..4 and 5..8 coincide in the top view

    // Not selected: the corner is just a click inside the object.
    PlanMouseState unselected = Click(60, 80);
    ASSERT_TRUE(Pick(&unselected));
    EXPECT_EQ(unselected.boxHandleHit, 0);
    EXPECT_EQ(unselected.vertexHit, 1);

    SetAllPointsSelected(box, 1);
    PlanMouseState corner1 = Click(12, 22);
    ASSERT_TRUE(Pick(&corner1));
    EXPECT_EQ(corner1.boxHandleHit, 1);
    EXPECT_EQ(corner1.handleIndex, 1);
    EXPECT_EQ(corner1.object, box);
    EXPECT_FLOAT_EQ(corner1.hitPoint[0], 10.0f);
    EXPECT_FLOAT_EQ(corner1.hitPoint[1], -50.0f);
    EXPECT_FLOAT_EQ(corner1.hitPoint[2], 20.0f);

    // (max x, min height, max z) is handle 6; the square is (x - 3 .. x + 3).
    PlanMouseState corner6 = Click(57, 77);
    ASSERT_TRUE(Pick(&corner6));
    EXPECT_EQ(corner6.handleIndex, 6);
    EXPECT_FLOAT_EQ(corner6.hitPoint[0], 60.0f);
    EXPECT_FLOAT_EQ(corner6.hitPoint[2], 80.0f);
    PlanMouseState outside = Click(63, 80);
    ASSERT_TRUE(Pick(&outside));
    EXPECT_EQ(outside.boxHandleHit, 0);

    // Once deselected, the click at the corner goes through the box's rectangle.
    SetAllPointsSelected(box, 0);
    PlanMouseState deselected = Click(12, 22);
    ASSERT_TRUE(Pick(&deselected));
    EXPECT_EQ(deselected.object, box);
    EXPECT_EQ(deselected.boxHandleHit, 0);
    (void)line;
}

TEST_F(HitTest, VertexHandleClampedToTheHitRange)
{
    PlanObject* distant = AddObject(21, {{40000, 0, 0}, {50000, 0, 0}});
    PlanMouseState state = Click(32767, 0);
    EXPECT_TRUE(HitTestVertexHandle(Vertex(distant, 0), &state));
    PlanMouseState before = Click(32761, 0);
    EXPECT_FALSE(HitTestVertexHandle(Vertex(distant, 0), &before));
    // A wide pen widens the square by its centre offsets.
    PlanMouseState wide = Click(32760, 0);
    EXPECT_TRUE(HitTestVertexHandle(Vertex(distant, 0), &wide, -2, -2));
}

TEST_F(HitTest, NoHitWithoutDocumentOrState)
{
    Box();
    PlanMouseState state = Click(30, 30);
    EXPECT_FALSE(PickObjectAtPoint(nullptr, &state, 0, nullptr, 0));
    EXPECT_FALSE(PickObjectAtPoint(FirstFloor(), nullptr, 0, nullptr, 0));
    PlanDocument* saved = activeDocument;
    activeDocument = nullptr;
    EXPECT_FALSE(PickObjectAtPoint(saved->firstFloor, &state, 0, nullptr, 0));
    activeDocument = saved;
}

TEST_F(HitTest, RubberBandSelectsWhatLiesInside)
{
    PlanObject* inner = AddObject(21, {{10, 0, 10}, {20, 0, 20}});
    PlanObject* large = AddObject(21, {{100, 0, 100}, {200, 0, 200}});

    // The inner line's rectangle grown by 2 is 8..22: wholly inside 0..30.
    RECT band = {0, 0, 30, 30};
    RubberBandSelect(FirstFloor(), &band, 1, 0);
    EXPECT_EQ(CountSelected(inner), 2);
    EXPECT_EQ(CountSelected(large), 0);

    // Corners on the band's right or bottom edge are outside it; one across the left
    // edge too.
    SetAllPointsSelected(inner, 0);
    RECT tight = {0, 0, 22, 30};
    RubberBandSelect(FirstFloor(), &tight, 1, 0);
    EXPECT_EQ(CountSelected(inner), 0);
    RECT across = {9, 0, 30, 30};
    RubberBandSelect(FirstFloor(), &across, 1, 0);
    EXPECT_EQ(CountSelected(inner), 0);

    // Toggling with a band around both.
    Vertex(inner, 0)->selected = 1;
    RECT all = {0, 0, 300, 300};
    RubberBandSelect(FirstFloor(), &all, 3, 0);
    EXPECT_EQ(CountSelected(inner), 1);  // points toggled one by one
    EXPECT_EQ(CountSelected(large), 2);

    // Objects of hidden floors and inactive floors are left alone.
    PlanObject* upstairs = AddObject(21, {{10, 0, 10}, {20, 0, 20}}, false, SecondFloor());
    RubberBandSelect(FirstFloor(), &band, 1, 0);
    EXPECT_EQ(CountSelected(upstairs), 0);
}

TEST_F(HitTest, PointBandSelectsPointsOrTheirObjectOnce)
{
    struct Case { RECT band; uint8_t mode; int line, whole; } cases[] = {
        {{0, 0, 61, 30}, 1, 2, 0},    // two points of three
        {{0, 0, 60, 30}, 1, 1, 0},    // the right edge is outside
        {{0, 30, 20, 50}, 1, 0, 2},   // one point takes a whole object
        {{0, 0, 100, 50}, 3, 3, 2},   // toggled: a whole object only once
    };
    for (const Case& c : cases) {
        PlanObject* line = AddObject(21, {{10, 0, 10}, {60, 0, 10}, {90, 0, 10}});
        PlanObject* whole = AddObject(15, {{10, 0, 40}, {90, 0, 40}});
        RubberBandSelectPoints(FirstFloor(), &c.band, c.mode, 0);
        EXPECT_EQ(CountSelected(line), c.line) << c.band.right;
        EXPECT_EQ(CountSelected(whole), c.whole) << c.band.right;
        FreeObject(line);
        FreeObject(whole);
    }
}

} // namespace
