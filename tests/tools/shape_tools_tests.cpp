// The rectangle and oval tools from taped drags, and the undo of what they make, of
// moves, resizes and rotations, in one plan and with two plans open.
#include "support_tools.h"
#include <gtest/gtest.h>
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/plan_mouse_dispatch.h"
#include "shell/keys_and_menus.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

using tooltest::ToolTest;
using vtest::VertexAt;

class ShapeTools : public ToolTest {};

TEST_F(ShapeTools, RectangleCornersRunFromTheFarCornerRoundThroughThePress)
{
    RunGesture(7700, tooltest::Drag({{0, 0}, {60, -20}, {100, -50}}));
    PlanObject* rectangle = LastObject();
    ASSERT_NE(rectangle, nullptr);
    EXPECT_EQ(rectangle->type, ObjDrawingElement);
    EXPECT_EQ(rectangle->subType, 1u);
    EXPECT_EQ(rectangle->category, document->settings->activeCategory);
    ASSERT_EQ(CountVertexChain(rectangle), 4);
    ExpectXZ(VertexAt(rectangle, 0), 100, -50);
    ExpectXZ(VertexAt(rectangle, 1), 100, 0);
    ExpectXZ(VertexAt(rectangle, 2), 0, 0);
    ExpectXZ(VertexAt(rectangle, 3), 0, -50);
    EXPECT_EQ(pendingObject, rectangle);
    EXPECT_EQ(undoAvailable, 1u);
    EXPECT_EQ(document->lastEditKind, 13);

    // Clicks without movement make nothing, and nothing is left to undo.
    for (int16_t tool : {7700, 7701}) {
        RunGesture(tool, tooltest::Drag({{200, 200}}));
        EXPECT_EQ(vtest::CountFloorObjects(Floor()), 1) << tool;
        EXPECT_EQ(undoAvailable, 0u);
    }
}

TEST_F(ShapeTools, OvalIsACircleWithoutShiftAndAnEllipseWithIt)
{
    struct Case { bool shift; POINT end; float centreZ; float radiusZ; } cases[] = {
        {false, {40, -90}, -20.0f, 20.0f},
        {true, {40, -90}, -45.0f, 45.0f},
    };
    for (const Case& c : cases) {
        RunGesture(7701, tooltest::Drag({{0, 0}, {c.end}}, c.shift));
        PlanObject* oval = LastObject();
        ASSERT_NE(oval, nullptr);
        EXPECT_EQ(oval->subType, 2u);
        ASSERT_EQ(CountVertexChain(oval), 8) << c.shift;
        // Every point lies on the ellipse about (20, centreZ) with half-axes 20 and radiusZ.
        for (PlanVertex* v = oval->firstVertex; v; v = v->next) {
            const float u = (v->position[0] - 20.0f) / 20.0f;
            const float w = (v->position[2] - c.centreZ) / c.radiusZ;
            EXPECT_NEAR(u * u + w * w, 1.0f, 0.001f) << c.shift;
        }
        ExpectXZ(VertexAt(oval, 0), 40, c.centreZ);
        ExpectXZ(VertexAt(oval, 2), 20, c.centreZ + c.radiusZ);   // 270 degrees: toward +z
    }
    // Straight along z without Shift: a box of no width, no oval.
    RunGesture(7701, tooltest::Drag({{0, 0}, {0, -60}}));
    EXPECT_EQ(vtest::CountFloorObjects(Floor()), 2);
    EXPECT_EQ(undoAvailable, 0u);
}

TEST_F(ShapeTools, UndoTakesTheRectangleOffAndRedoPutsItBackWithTheMenuText)
{
    RunGesture(7700, tooltest::Drag({{0, 0}, {100, -50}}));
    PlanObject* rectangle = LastObject();
    EXPECT_STREQ(UndoMenuText(document->lastEditKind, document->lastEditUndone), "Annulla Rettangolo");
    UndoLastEdit();
    EXPECT_EQ(vtest::CountFloorObjects(Floor()), 0);
    EXPECT_STREQ(UndoMenuText(document->lastEditKind, document->lastEditUndone), "Ripeti Rettangolo");
    UndoLastEdit();
    EXPECT_EQ(Floor()->firstObject, rectangle);
    UndoLastEdit();
    // The next gesture frees the creation that stands undone (the fixture counts records).
    RunGesture(7061, tooltest::Drag({{5, 5}}));
    EXPECT_EQ(pendingObject, nullptr);
}

TEST_F(ShapeTools, UndoStateBelongsToThePlanItWasMadeIn)
{
    RunGesture(7700, tooltest::Drag({{0, 0}, {100, -50}}));
    PlanDocument* planA = document;
    PlanDocument* planB = CreatePlanDocument();
    ASSERT_EQ(activeDocument, planB);
    PlanObject* selected = vtest::MakePointObject(6, planB->currentFloor, {{0, 0, 0}, {10, 0, 0}}, 1, 0);
    planB->lastEditKind = 7;
    planMouseState.object = selected;
    planMouseState.dragEnd[0] = 500.0f;
    UndoLastEdit();
    EXPECT_FALSE(UndoBelongsToActivePlan());
    EXPECT_EQ(vtest::CountFloorObjects(planA->currentFloor), 1);
    EXPECT_EQ(VertexAt(selected, 0)->position[0], 0.0f);   // B's selection is not moved
    CancelPendingObject();                                   // B's cancel keeps A's state
    EXPECT_EQ(pendingObject, planA->currentFloor->firstObject);
    FreePlanDocument(planB);
    activeDocument = planA;
    EXPECT_TRUE(UndoBelongsToActivePlan());
    UndoLastEdit();
    EXPECT_EQ(vtest::CountFloorObjects(planA->currentFloor), 0);
}

TEST_F(ShapeTools, TransformUndoAppliesTheExactInverseAndRedoesIt)
{
    PlanObject* square = vtest::MakePointObject(6, Floor(), {{10, 0, 10}, {30, 0, 10}, {30, 0, 30}}, 1, 0);
    planMouseState = {};
    planMouseState.object = square;
    undoDocument = document;
    // Where the corner (30, 30) goes back to.
    struct Case { int16_t kind; float x, z; } cases[] = {
        {7, -10.0f, 25.0f},   // moved from (0, 0) to (40, 5): back by (-40, -5)
        {9, 20.0f, 50.0f},    // resized by 2 and 0.5 about (10, 10): by 0.5 and 2
        {11, 10.0f, 30.0f},   // a quarter turn about (20, 20): a quarter turn back
    };
    planMouseState.dragEnd[0] = 40.0f;
    planMouseState.dragEnd[2] = 5.0f;
    undoRecord.resizeFactors[0] = 2.0f;
    undoRecord.resizeFactors[1] = 1.0f;
    undoRecord.resizeFactors[2] = 0.5f;
    undoRecord.resizeFixedPoint[0] = 10.0f;
    undoRecord.resizeFixedPoint[2] = 10.0f;
    undoRecord.rotateAngle = 1.5707963f;
    undoRecord.rotateCentre[0] = 20.0f;
    undoRecord.rotateCentre[2] = 20.0f;
    for (const Case& c : cases) {
        document->lastEditKind = c.kind;
        document->lastEditUndone = 0;
        UndoLastEdit();
        EXPECT_EQ(document->lastEditUndone, 1) << c.kind;
        ExpectXZ(VertexAt(square, 2), c.x, c.z);
        UndoLastEdit();
        EXPECT_EQ(document->lastEditUndone, 0) << c.kind;
        ExpectXZ(VertexAt(square, 2), 30.0f, 30.0f);
    }
    // A factor of 0 is never inverted: nothing moves and the state does not flip.
    undoRecord.resizeFactors[2] = 0.0f;
    document->lastEditKind = 9;
    UndoLastEdit();
    EXPECT_EQ(document->lastEditUndone, 0);
    ExpectXZ(VertexAt(square, 1), 30.0f, 10.0f);
    undoRecord = {0.0f, {0, 0, 0}, {1, 1, 1}, {0, 0, 0}};
}

}  // namespace
