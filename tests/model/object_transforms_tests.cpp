#include "support_model.h"
#include "model/object_transforms.h"
#include <math.h>
#include <string.h>

using namespace mtest;

namespace {

const float kPi = 3.14159265358979323846f;

class ObjectTransformsTest : public DocumentTest {
protected:
    TransformRecord Record()
    {
        TransformRecord record;
        memset(&record, 0, sizeof(record));
        return record;
    }
    static void ExpectPosition(const PlanVertex* v, float x, float y, float z)
    {
        EXPECT_NEAR(v->position[0], x, 1e-3f);
        EXPECT_NEAR(v->position[1], y, 1e-3f);
        EXPECT_NEAR(v->position[2], z, 1e-3f);
    }
    static void SetTangents(PlanVertex* v, float x, float y, float z)
    {
        v->inTangent[0] = v->outTangent[0] = x;
        v->inTangent[1] = v->outTangent[1] = y;
        v->inTangent[2] = v->outTangent[2] = z;
    }
};

TEST_F(ObjectTransformsTest, MoveShiftsSelectedPointsInThePlanOnly)
{
    PlanObject* object = MakeObject(ObjLine, Storey(0), {{10, -4, 20}, {30, -4, 40}, {50, -4, 60}}, 1);
    VertexAt(object, 1)->selected = 0;
    VertexAt(object, 2)->keepFlag = 1;
    TransformRecord move = Record();
    move.offset[0] = 5;
    move.offset[1] = 7;
    move.offset[2] = 9;
    MoveObjectTree(object, &move);
    ExpectPosition(VertexAt(object, 0), 15, -4, 29);
    ExpectPosition(VertexAt(object, 1), 30, -4, 40);
    ExpectPosition(VertexAt(object, 2), 50, -4, 60);
    EXPECT_FLOAT_EQ(object->box3D[1], 15.0f);   // smallest x
    EXPECT_FLOAT_EQ(object->box3D[4], 50.0f);   // largest x
    EXPECT_EQ(object->needsRebuild, 1);

    move.offset[0] = -5;
    move.offset[2] = -9;
    MoveObjectTree(object, &move);
    ExpectPosition(VertexAt(object, 0), 10, -4, 20);
}

TEST_F(ObjectTransformsTest, MoveFollowsTheViewPlanePair)
{
    PlanObject* object = MakeObject(ObjLine, Storey(0), {{1, 2, 3}}, 1);
    TransformRecord move = Record();
    move.offset[0] = 10;
    move.offset[1] = 20;
    move.offset[2] = 30;
    document->settings->viewPlane = 1;
    MoveObjectTree(object, &move);
    ExpectPosition(VertexAt(object, 0), 11, 22, 3);
    document->settings->viewPlane = 3;
    MoveObjectTree(object, &move);
    ExpectPosition(VertexAt(object, 0), 11, 42, 33);
    document->settings->viewPlane = 7;
    MoveObjectTree(object, &move);
    ExpectPosition(VertexAt(object, 0), 11, 42, 33);
}

TEST_F(ObjectTransformsTest, ScaleAboutTheCentreScalesTangentsAboutZeroAndInverts)
{
    PlanObject* object = MakeObject(ObjLine, Storey(0), {{20, -5, 30}, {10, -5, 10}}, 1);
    SetTangents(VertexAt(object, 0), 4, 1, 6);
    TransformRecord scale = Record();
    scale.scale[0] = 2;
    scale.scale[1] = 3;
    scale.scale[2] = 0.5f;
    scale.centre[0] = 10;
    scale.centre[2] = 10;
    ScaleObjectTree(object, &scale);
    // x: (20 - 10) * 2 + 10, z: (30 - 10) * 0.5 + 10; the height stays.
    ExpectPosition(VertexAt(object, 0), 30, -5, 20);
    ExpectPosition(VertexAt(object, 1), 10, -5, 10);
    EXPECT_FLOAT_EQ(VertexAt(object, 0)->outTangent[0], 8);
    EXPECT_FLOAT_EQ(VertexAt(object, 0)->outTangent[1], 1);
    EXPECT_FLOAT_EQ(VertexAt(object, 0)->inTangent[2], 3);
    EXPECT_FLOAT_EQ(VertexAt(object, 1)->outTangent[0], 0);

    scale.scale[0] = 0.5f;
    scale.scale[2] = 2;
    ScaleObjectTree(object, &scale);
    ExpectPosition(VertexAt(object, 0), 20, -5, 30);
    EXPECT_FLOAT_EQ(VertexAt(object, 0)->outTangent[0], 4);
    EXPECT_FLOAT_EQ(VertexAt(object, 0)->inTangent[2], 6);
}

TEST_F(ObjectTransformsTest, RotateTurnsCounterClockwiseAsThePlanIsSeenAndInverts)
{
    PlanObject* object = MakeObject(ObjLine, Storey(0), {{10, 0, 0}, {5, 0, 5}}, 1);
    SetTangents(VertexAt(object, 0), 0, 0, 3);
    TransformRecord rotate = Record();
    rotate.angle = kPi / 2;
    RotateObjectTree(object, &rotate);
    // +x turns to -z (up on the plan); a +z tangent (down) turns to +x.
    ExpectPosition(VertexAt(object, 0), 0, 0, -10);
    ExpectPosition(VertexAt(object, 1), 5, 0, -5);
    EXPECT_NEAR(VertexAt(object, 0)->outTangent[0], 3, 1e-4f);
    EXPECT_NEAR(VertexAt(object, 0)->outTangent[2], 0, 1e-4f);

    rotate.centre[0] = 5;
    rotate.centre[2] = -5;
    rotate.angle = kPi;
    RotateObjectTree(object, &rotate);
    ExpectPosition(VertexAt(object, 0), 10, 0, 0);
    ExpectPosition(VertexAt(object, 1), 5, 0, -5);

    // A turn and its opposite bring a point home.
    PlanObject* back = MakeObject(ObjLine, Storey(0), {{10, 0, 0}}, 1);
    TransformRecord forward = Record();
    forward.angle = 0.7f;
    forward.centre[0] = 3;
    forward.centre[2] = 4;
    RotateObjectTree(back, &forward);
    forward.angle = -0.7f;
    RotateObjectTree(back, &forward);
    ExpectPosition(VertexAt(back, 0), 10, 0, 0);
}

TEST_F(ObjectTransformsTest, SkewKeepsTheAnchorLineAndMovesTheGrabbedPoint)
{
    PlanObject* object = MakeObject(ObjLine, Storey(0), {{0, 0, 50}, {10, 0, 100}, {30, 0, 0}}, 1);
    SetTangents(VertexAt(object, 0), 0, 0, 10);
    TransformRecord skew = Record();
    // Anchor at the origin, the point (0, 100) dragged to (50, 100): a pure x shear.
    skew.grab[2] = 100;
    skew.drop[0] = 50;
    skew.drop[2] = 100;
    StretchObjectTree(object, &skew);
    ExpectPosition(VertexAt(object, 0), 25, 0, 50);
    ExpectPosition(VertexAt(object, 1), 60, 0, 100);
    ExpectPosition(VertexAt(object, 2), 30, 0, 0);
    // The tangent end (0, 60) went to (30, 60): the tangent is now (5, 10).
    EXPECT_NEAR(VertexAt(object, 0)->outTangent[0], 5, 1e-4f);
    EXPECT_NEAR(VertexAt(object, 0)->outTangent[2], 10, 1e-4f);

    skew.grab[0] = 50;
    skew.drop[0] = 0;
    StretchObjectTree(object, &skew);
    ExpectPosition(VertexAt(object, 0), 0, 0, 50);
    ExpectPosition(VertexAt(object, 1), 10, 0, 100);
    EXPECT_NEAR(VertexAt(object, 0)->outTangent[0], 0, 1e-4f);
}

TEST_F(ObjectTransformsTest, FixturePartsFollowTheirSymbolEvenUnselected)
{
    PlanObject* fixture = MakeObject(79, Storey(0), {{0, 0, 0}, {10, 0, 10}}, 1);
    PlanObject* part = MakeObject(23, nullptr, {{2, 0, 2}, {4, 0, 4}}, 0);
    fixture->firstPart = part;
    PlanObject* other = MakeObject(78, Storey(0), {{0, 0, 0}}, 1);
    PlanObject* otherPart = MakeObject(23, nullptr, {{2, 0, 2}}, 0);
    other->firstPart = otherPart;
    TransformRecord move = Record();
    move.offset[0] = 100;
    MoveObjectTree(fixture, &move);
    MoveObjectTree(other, &move);
    ExpectPosition(VertexAt(part, 0), 102, 0, 2);
    ExpectPosition(VertexAt(part, 1), 104, 0, 4);
    ExpectPosition(VertexAt(otherPart, 0), 2, 0, 2);
}

TEST_F(ObjectTransformsTest, NothingHappensWithoutDocumentOrRecord)
{
    PlanObject* object = MakeObject(ObjLine, Storey(0), {{1, 0, 1}}, 1);
    MoveObjectTree(object, nullptr);
    TransformRecord move = Record();
    move.offset[0] = 5;
    PlanDocument* keep = activeDocument;
    activeDocument = nullptr;
    MoveObjectTree(object, &move);
    activeDocument = keep;
    ExpectPosition(VertexAt(object, 0), 1, 0, 1);
}

// ---------------------------------------------------------------------------------
// Drag previews

class DragTransformTest : public ObjectTransformsTest {
protected:
    DragTransform Drag(float sx, float sz, float cx, float cz, float ax = 0, float az = 0)
    {
        DragTransform drag;
        memset(&drag, 0, sizeof(drag));
        drag.start[0] = sx;
        drag.start[2] = sz;
        drag.current[0] = cx;
        drag.current[2] = cz;
        drag.centre[0] = ax;
        drag.centre[2] = az;
        return drag;
    }
    PlanVertex* Vertex(float x, float z, uint8_t selected = 1)
    {
        PlanObject* object = MakeObject(ObjLine, Storey(0), {{x, 0, z}}, selected);
        return VertexAt(object, 0);
    }
};

TEST_F(DragTransformTest, MoveByDragAddsTheDeltaOrItsLargerPart)
{
    PlanVertex* v = Vertex(10, 10);
    DragTransform drag = Drag(0, 0, 3, -3);
    MoveVertexByDrag(v, 0, &drag);
    ExpectPosition(v, 13, 0, 7);
    MoveVertexByDrag(v, kDragConstrain, &drag);
    ExpectPosition(v, 13, 0, 4);
    drag = Drag(0, 0, 5, 1);
    MoveVertexByDrag(v, kDragConstrain, &drag);
    ExpectPosition(v, 18, 0, 4);

    PlanVertex* unselected = Vertex(0, 0, 0);
    MoveVertexByDrag(unselected, kDragSelectedOnly, &drag);
    ExpectPosition(unselected, 0, 0, 0);
    MoveVertexByDrag(unselected, 0, &drag);
    ExpectPosition(unselected, 5, 0, 1);
}

TEST_F(DragTransformTest, ScaleByDragUsesTheRatiosAboutTheCentre)
{
    // A drag that changes only z scales the vertex in z.
    PlanVertex* v = Vertex(20, 20);
    DragTransform drag = Drag(10, 10, 10, 30, 0, 0);
    ScaleVertexByDrag(v, 0, &drag);
    ExpectPosition(v, 20, 0, 60);
    // Proportional: the second factor takes the first.
    PlanVertex* w = Vertex(20, 20);
    drag = Drag(10, 10, 20, 30, 0, 0);
    ScaleVertexByDrag(w, kDragConstrain, &drag);
    ExpectPosition(w, 40, 0, 40);
    PlanVertex* kept = Vertex(20, 20);
    kept->keepFlag = 1;
    ScaleVertexByDrag(kept, kDragSelectedOnly, &drag);
    ExpectPosition(kept, 20, 0, 20);
}

TEST_F(DragTransformTest, StretchAndRotateByDrag)
{
    PlanVertex* v = Vertex(0, 50);
    DragTransform drag = Drag(0, 100, 50, 100, 0, 0);
    StretchVertexByDrag(v, 0, &drag);
    ExpectPosition(v, 25, 0, 50);

    PlanVertex* r = Vertex(10, 0);
    DragTransform turn = Drag(0, 0, 0, 0);
    turn.startAngle = 0.1f;
    turn.currentAngle = 0.1f + kPi / 2;
    RotateVertexByDrag(r, 0, &turn);
    ExpectPosition(r, 0, 0, -10);
    turn.currentAngle = 0.1f;
    RotateVertexByDrag(r, 0, &turn);
    ExpectPosition(r, 0, 0, -10);
}

// ---------------------------------------------------------------------------------
// Point arithmetic

TEST(TransformArithmetic, RatiosAnglesAndPoints)
{
    EXPECT_FLOAT_EQ(ScaleRatio(5, 9, 5), 1.0f);
    EXPECT_FLOAT_EQ(ScaleRatio(10, 20, 0), 2.0f);
    EXPECT_FLOAT_EQ(ScaleRatio(10, 0, 5), -1.0f);
    EXPECT_NEAR(AngleDifference(0.1f, 6.2f), -0.183185f, 1e-5f);
    EXPECT_NEAR(AngleDifference(4.0f, 1.0f), 3.283185f, 1e-5f);
    EXPECT_FLOAT_EQ(FloatDifference(3, 10), 7);

    float x = 1, y = 0;
    RotatePointAbout(&x, &y, 0, 0, kPi / 2);
    EXPECT_NEAR(x, 0, 1e-6f);
    EXPECT_NEAR(y, -1, 1e-6f);
    x = 4;
    y = 4;
    RotatePointAbout(&x, &y, 4, 4, 1.0f);
    EXPECT_FLOAT_EQ(x, 4);
    EXPECT_FLOAT_EQ(y, 4);

    x = 3;
    y = 5;
    ScalePointAbout(&x, &y, 1, 1, 2, -1);
    EXPECT_FLOAT_EQ(x, 5);
    EXPECT_FLOAT_EQ(y, -3);
    TranslatePoint(&x, &y, 1, 2);
    EXPECT_FLOAT_EQ(x, 6);
    EXPECT_FLOAT_EQ(y, -1);

    // Grab and anchor on one line in a coordinate: that component does not move.
    x = 7;
    y = 9;
    ShearPoint(2, 0, 8, 4, &x, &y, 0, 0);
    EXPECT_FLOAT_EQ(x, 7);
    EXPECT_FLOAT_EQ(y, 23);
}

} // namespace
