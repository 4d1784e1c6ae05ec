#include <gtest/gtest.h>
#include "model/object_extents.h"
#include "model/plan_floor.h"
#include "geometry_fixtures.h"

using geometrytest::ScopedDocument;
using geometrytest::SetTangent;
using geometrytest::TestObject;
using geometrytest::ViewStateScope;

namespace {

void ExpectRect(float minY, float minX, float maxY, float maxX, const float* r, float tol = 1e-4f)
{
    EXPECT_NEAR(minY, r[kRectMinY], tol);
    EXPECT_NEAR(minX, r[kRectMinX], tol);
    EXPECT_NEAR(maxY, r[kRectMaxY], tol);
    EXPECT_NEAR(maxX, r[kRectMaxX], tol);
}

void ExpectBox(float minY, float minX, float minZ, float maxY, float maxX, float maxZ,
               const float* b, float tol = 1e-4f)
{
    EXPECT_NEAR(minY, b[kBoxMinY], tol);
    EXPECT_NEAR(minX, b[kBoxMinX], tol);
    EXPECT_NEAR(minZ, b[kBoxMinZ], tol);
    EXPECT_NEAR(maxY, b[kBoxMaxY], tol);
    EXPECT_NEAR(maxX, b[kBoxMaxX], tol);
    EXPECT_NEAR(maxZ, b[kBoxMaxZ], tol);
}

void ExpectEmptyRect(const float* r)
{
    EXPECT_EQ(32000.0f, r[0]);
    EXPECT_EQ(32000.0f, r[1]);
    EXPECT_EQ(-32000.0f, r[2]);
    EXPECT_EQ(-32000.0f, r[3]);
}

void ExpectEmptyBox(const float* b)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(32000.0f, b[i]);
        EXPECT_EQ(-32000.0f, b[i + 3]);
    }
}

// From (0, 0, 0) to (10, 0, 0) bulging toward +z: x = 10 t, z = 8 t (1 - t), peak
// z = 2 at t = 0.5.
void MakeCurvedSegment(TestObject& shape, PlanVertex** a, PlanVertex** b)
{
    *a = shape.Add(0.0f, 0.0f, 0.0f);
    *b = shape.Add(10.0f, 0.0f, 0.0f);
    SetTangent((*a)->outTangent, 10.0f, 0.0f, 8.0f);
    SetTangent((*b)->inTangent, 10.0f, 0.0f, -8.0f);
}

PlanFloor MakeFloor(uint8_t shown, PlanObject* first)
{
    PlanFloor floor{};
    floor.shown = shown;
    floor.firstObject = first;
    return floor;
}

} // namespace

TEST(ObjectExtents, GrowingFromTheSentinel)
{
    ExtentBox box;
    ResetExtentBox(box);
    ExpectEmptyBox(box);
    GrowBox3DByPoint(1.0f, 2.0f, 3.0f, box);
    ExpectBox(2.0f, 1.0f, 3.0f, 2.0f, 1.0f, 3.0f, box);
    GrowBox3DByPoint(-5.0f, 10.0f, 0.0f, box);
    ExpectBox(2.0f, -5.0f, 0.0f, 10.0f, 1.0f, 3.0f, box);
    // A point inside changes nothing.
    GrowBox3DByPoint(0.0f, 5.0f, 1.0f, box);
    ExpectBox(2.0f, -5.0f, 0.0f, 10.0f, 1.0f, 3.0f, box);
}

TEST(ObjectExtents, ViewBoxTakesTheProjectedPoint)
{
    ViewStateScope view;
    ExtentRect rect;
    ResetExtentRect(rect);
    ExpectEmptyRect(rect);
    // Top view: screen (x, z).
    GrowViewBoxByPoint(10.0f, 5.0f, 20.0f, rect);
    ExpectRect(20.0f, 10.0f, 20.0f, 10.0f, rect);
    GrowViewBoxByPoint(-3.0f, 99.0f, 4.0f, rect);
    ExpectRect(4.0f, -3.0f, 20.0f, 10.0f, rect);
    // Front view: screen (x, height).
    ViewStateScope::SetFrontView();
    GrowViewBoxByPoint(0.0f, -50.0f, 1000.0f, rect);
    ExpectRect(-50.0f, -3.0f, 20.0f, 10.0f, rect);
}

TEST(ObjectExtents, ViewBoxFollowsPerspective)
{
    ViewStateScope view;
    perspectiveOn = 1;
    perspectiveScale = 1.0f;
    // Top view: depth = -height = -300; w = 1 + 300 / 600 = 1.5.
    ExtentRect rect;
    ResetExtentRect(rect);
    GrowViewBoxByPoint(30.0f, 300.0f, 60.0f, rect);
    ExpectRect(40.0f, 20.0f, 40.0f, 20.0f, rect);
}

TEST(ObjectExtents, SingleVertexGivesAPointBox)
{
    ViewStateScope view;
    TestObject dot(6);
    dot.Add(4.0f, -7.0f, 9.0f);
    ExtentBox box;
    ResetExtentBox(box);
    GetObjectExtents3D(&dot.object, 0, box, 0);
    ExpectBox(-7.0f, 4.0f, 9.0f, -7.0f, 4.0f, 9.0f, box);
    ExtentRect rect;
    ResetExtentRect(rect);
    GetObjectExtents2D(&dot.object, 0, rect, 0, 0);
    ExpectRect(9.0f, 4.0f, 9.0f, 4.0f, rect);
}

TEST(ObjectExtents, StraightSquare)
{
    ViewStateScope view;
    TestObject square(21, 1);
    square.Add(0.0f, 0.0f, 0.0f);
    square.Add(10.0f, -8.0f, 0.0f);
    square.Add(10.0f, 0.0f, 10.0f);
    square.Add(0.0f, 0.0f, 10.0f);
    ExtentRect rect;
    ResetExtentRect(rect);
    GetObjectExtents2D(&square.object, 0, rect, 0, 0);
    ExpectRect(0.0f, 0.0f, 10.0f, 10.0f, rect);
    ExtentBox box;
    ResetExtentBox(box);
    GetObjectExtents3D(&square.object, 0, box, 0);
    ExpectBox(-8.0f, 0.0f, 0.0f, 0.0f, 10.0f, 10.0f, box);
}

TEST(ObjectExtents, CurvedSegmentSampledByTheCurveSteps)
{
    ViewStateScope view;
    ScopedDocument doc;
    TestObject shape(21);
    PlanVertex *a, *b;
    MakeCurvedSegment(shape, &a, &b);
    ExtentBox box;

    // 8 steps sample t = 0.5, the peak.
    doc.settings.curveSteps = 8;
    ResetExtentBox(box);
    GetObjectExtents3D(&shape.object, 0, box, 0);
    ExpectBox(0.0f, 0.0f, 0.0f, 0.0f, 10.0f, 2.0f, box);

    // 3 steps: t = 1/3 and 2/3 give 16/9.
    doc.settings.curveSteps = 3;
    ResetExtentBox(box);
    GetObjectExtents3D(&shape.object, 0, box, 0);
    ExpectBox(0.0f, 0.0f, 0.0f, 0.0f, 10.0f, 16.0f / 9.0f, box);

    // No steps (a damaged file): the default 8, never a step of 1/0.
    doc.settings.curveSteps = 0;
    ResetExtentBox(box);
    GetObjectExtents3D(&shape.object, 0, box, 0);
    ExpectBox(0.0f, 0.0f, 0.0f, 0.0f, 10.0f, 2.0f, box);

    // Vertices only: the curve is not sampled.
    doc.settings.curveSteps = 8;
    ResetExtentBox(box);
    GetObjectExtents3D(&shape.object, 0, box, 1);
    ExpectBox(0.0f, 0.0f, 0.0f, 0.0f, 10.0f, 0.0f, box);

    // The 2D box in the top view shows the same bulge.
    ExtentRect rect;
    ResetExtentRect(rect);
    GetObjectExtents2D(&shape.object, 0, rect, 0, 0);
    ExpectRect(0.0f, 0.0f, 2.0f, 10.0f, rect);
}

TEST(ObjectExtents, TenStepsWithoutADocument)
{
    ViewStateScope view;
    TestObject shape(21);
    PlanVertex *a, *b;
    MakeCurvedSegment(shape, &a, &b);
    ExtentBox box;
    ResetExtentBox(box);
    GetObjectExtents3D(&shape.object, 0, box, 0);
    // t = 0.5 is among the 11 samples; the last lands a hair past t = 1.
    EXPECT_NEAR(2.0f, box[kBoxMaxZ], 1e-4);
    EXPECT_NEAR(10.0f, box[kBoxMaxX], 1e-3);
}

TEST(ObjectExtents, ControlPointsAreStraightOnlyIn2D)
{
    ViewStateScope view;
    ScopedDocument doc;
    doc.settings.curveSteps = 8;
    TestObject shape(21);
    PlanVertex *a, *b;
    MakeCurvedSegment(shape, &a, &b);
    b->kind = 2;
    ExtentRect rect;
    ResetExtentRect(rect);
    GetObjectExtents2D(&shape.object, 0, rect, 0, 0);
    ExpectRect(0.0f, 0.0f, 0.0f, 10.0f, rect);
    ExtentBox box;
    ResetExtentBox(box);
    GetObjectExtents3D(&shape.object, 0, box, 0);
    EXPECT_NEAR(2.0f, box[kBoxMaxZ], 1e-4);
}

TEST(ObjectExtents, ClosingSegmentOfAClosedOutline)
{
    ViewStateScope view;
    ScopedDocument doc;
    doc.settings.curveSteps = 8;
    // Straight from a to b, curved back: z = -8 t (1 - t), down to -2.
    TestObject shape(21, 1);
    PlanVertex* a = shape.Add(0.0f, 0.0f, 0.0f);
    PlanVertex* b = shape.Add(10.0f, 0.0f, 0.0f);
    SetTangent(b->outTangent, -10.0f, 0.0f, -8.0f);
    SetTangent(a->inTangent, -10.0f, 0.0f, 8.0f);
    ExtentBox box;
    ResetExtentBox(box);
    GetObjectExtents3D(&shape.object, 0, box, 0);
    ExpectBox(0.0f, 0.0f, -2.0f, 0.0f, 10.0f, 0.0f, box);
    // Open, the closing curve is not there.
    shape.object.closed = 0;
    ResetExtentBox(box);
    GetObjectExtents3D(&shape.object, 0, box, 0);
    ExpectBox(0.0f, 0.0f, 0.0f, 0.0f, 10.0f, 0.0f, box);
}

TEST(ObjectExtents, SelectedOnlyMeasuresSelectedVertices)
{
    ViewStateScope view;
    TestObject shape(21);
    shape.Add(0.0f, 0.0f, 0.0f);
    PlanVertex* b = shape.Add(10.0f, 0.0f, 5.0f);
    shape.Add(20.0f, 0.0f, 9.0f);
    ExtentBox box;
    ResetExtentBox(box);
    GetObjectExtents3D(&shape.object, 1, box, 0);
    ExpectEmptyBox(box);
    b->selected = 1;
    GetObjectExtents3D(&shape.object, 1, box, 0);
    ExpectBox(0.0f, 10.0f, 5.0f, 0.0f, 10.0f, 5.0f, box);
}

TEST(ObjectExtents, ChildrenAreMeasuredThroughTheirOwner)
{
    ViewStateScope view;
    TestObject group(1000);
    TestObject first(6), second(6);
    first.Add(1.0f, 0.0f, 1.0f);
    second.Add(-4.0f, 3.0f, 7.0f);
    group.AddChild(first);
    group.AddChild(second);
    ExtentBox box;
    ResetExtentBox(box);
    GetObjectExtents3D(&group.object, 0, box, 0);
    ExpectBox(0.0f, -4.0f, 1.0f, 3.0f, 1.0f, 7.0f, box);
    // Selected-only: the group has no vertex of its own, its children are still visited.
    second.object.firstVertex->selected = 1;
    ResetExtentBox(box);
    GetObjectExtents3D(&group.object, 1, box, 0);
    ExpectBox(3.0f, -4.0f, 7.0f, 3.0f, -4.0f, 7.0f, box);
    // Freehand-roof parts stay out of the 3D box.
    second.object.type = 58;
    ResetExtentBox(box);
    GetObjectExtents3D(&group.object, 0, box, 0);
    ExpectBox(0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 1.0f, box);
}

TEST(ObjectExtents, WallsAreMeasuredThroughTheirGeneratedObject)
{
    ViewStateScope view;
    TestObject wall(12);
    wall.Add(500.0f, 0.0f, 500.0f);
    TestObject mesh(10);
    mesh.Add(1.0f, 2.0f, 3.0f);
    ExtentBox box;
    ResetExtentBox(box);
    // No generated object yet: nothing to measure.
    GetObjectExtents3D(&wall.object, 0, box, 0);
    ExpectEmptyBox(box);
    wall.object.link = &mesh.object;
    GetObjectExtents3D(&wall.object, 0, box, 0);
    ExpectBox(2.0f, 1.0f, 3.0f, 2.0f, 1.0f, 3.0f, box);
    // Selected-only asks the wall, not its mesh.
    mesh.object.firstVertex->selected = 1;
    ResetExtentBox(box);
    GetObjectExtents3D(&wall.object, 1, box, 0);
    ExpectEmptyBox(box);
    ExtentRect rect;
    ResetExtentRect(rect);
    GetObjectExtents2D(&wall.object, 1, rect, 0, 0);
    ExpectEmptyRect(rect);
    wall.object.firstVertex->selected = 1;
    GetObjectExtents3D(&wall.object, 1, box, 0);
    ExpectBox(2.0f, 1.0f, 3.0f, 2.0f, 1.0f, 3.0f, box);
}

TEST(ObjectExtents, HiddenFloorsDoNotCount)
{
    ViewStateScope view;
    TestObject distant(6), nearby(6);
    distant.Add(100.0f, 0.0f, 100.0f);
    nearby.Add(1.0f, 0.0f, 2.0f);
    PlanFloor hidden = MakeFloor(0, &distant.object);
    PlanFloor shown = MakeFloor(1, &nearby.object);
    hidden.next = &shown;

    ExtentBox box;
    ResetExtentBox(box);
    GetAllFloorsExtents3D(&hidden, 0, box, 0);
    ExpectBox(0.0f, 1.0f, 2.0f, 0.0f, 1.0f, 2.0f, box);
    ExtentRect rect;
    ResetExtentRect(rect);
    GetAllFloorsExtents2D(&hidden, 0, rect, 0, 0);
    ExpectRect(2.0f, 1.0f, 2.0f, 1.0f, rect);

    shown.shown = 0;
    ResetExtentBox(box);
    GetAllFloorsExtents3D(&hidden, 0, box, 0);
    GetAllFloorsRenderExtents3D(&hidden, 0, box, 0);
    GetAllFloorsBoxExtents3D(&hidden, 0, box, 0);
    ExpectEmptyBox(box);
    ResetExtentRect(rect);
    GetAllFloorsExtents2D(&hidden, 0, rect, 0, 0);
    GetAllFloorsViewExtents(&hidden, 0, rect, 0, 0);
    ExpectEmptyRect(rect);
}

TEST(ObjectExtents, RenderExtentsMeasureRoofsByTheirPlanes)
{
    ViewStateScope view;
    TestObject roof(14);
    roof.Add(900.0f, 0.0f, 900.0f);
    TestObject plane1(15), plane2(15);
    plane1.Add(0.0f, -40.0f, 0.0f);
    plane2.Add(30.0f, -10.0f, 20.0f);
    plane1.object.next = &plane2.object;
    roof.object.link = &plane1.object;
    PlanFloor floor = MakeFloor(1, &roof.object);
    ExtentBox box;
    ResetExtentBox(box);
    GetAllFloorsRenderExtents3D(&floor, 0, box, 0);
    ExpectBox(-40.0f, 0.0f, 0.0f, -10.0f, 30.0f, 20.0f, box);
    // The plain 3D extents measure the roof's own outline.
    ResetExtentBox(box);
    GetAllFloorsExtents3D(&floor, 0, box, 0);
    ExpectBox(0.0f, 900.0f, 900.0f, 0.0f, 900.0f, 900.0f, box);
    // Selected-only: an unselected roof adds nothing; a selected one all its planes.
    ResetExtentBox(box);
    GetAllFloorsRenderExtents3D(&floor, 1, box, 0);
    ExpectEmptyBox(box);
    roof.object.firstVertex->selected = 1;
    GetAllFloorsRenderExtents3D(&floor, 1, box, 0);
    ExpectBox(-40.0f, 0.0f, 0.0f, -10.0f, 30.0f, 20.0f, box);
}

TEST(ObjectExtents, StoredBoxCorners)
{
    ViewStateScope view;
    TestObject group(1000);
    TestObject item(6);
    item.Add(0.0f, 0.0f, 0.0f);
    const float stored[6] = {-5.0f, 1.0f, 2.0f, 0.0f, 4.0f, 8.0f};
    for (int i = 0; i < 6; ++i) {
        item.object.box3D[i] = stored[i];
        group.object.box3D[i] = 1000.0f;  // a group adds nothing of its own
    }
    group.AddChild(item);
    PlanFloor floor = MakeFloor(1, &group.object);
    ExtentBox box;
    ResetExtentBox(box);
    GetAllFloorsBoxExtents3D(&floor, 0, box, 0);
    ExpectBox(-5.0f, 1.0f, 2.0f, 0.0f, 4.0f, 8.0f, box);
    ResetExtentBox(box);
    GetFloorBoxExtents3D(&floor, 1, box, 0);
    ExpectEmptyBox(box);
}

TEST(ObjectExtents, ViewExtentsProjectTheStoredBox)
{
    ViewStateScope view;
    TestObject item(6);
    item.Add(0.0f, 0.0f, 0.0f);
    const float stored[6] = {0.0f, 0.0f, 0.0f, 10.0f, 20.0f, 30.0f};
    for (int i = 0; i < 6; ++i)
        item.object.box3D[i] = stored[i];
    ExtentRect rect;
    // Top view: (x, z).
    ResetExtentRect(rect);
    AddObjectViewExtents(&item.object, 0, rect, 0, 0);
    ExpectRect(0.0f, 0.0f, 30.0f, 20.0f, rect);
    // Front view: (x, height).
    ViewStateScope::SetFrontView();
    ResetExtentRect(rect);
    AddObjectViewExtents(&item.object, 0, rect, 0, 0);
    ExpectRect(0.0f, 0.0f, 10.0f, 20.0f, rect);
    // Unselected with selected-only: nothing.
    ResetExtentRect(rect);
    AddObjectViewExtents(&item.object, 1, rect, 0, 0);
    ExpectEmptyRect(rect);
}

TEST(ObjectExtents, WidePensWidenTheViewExtents)
{
    ViewStateScope view;
    ViewStateScope::SetFrontView();
    TestObject item(6);
    item.Add(0.0f, 0.0f, 0.0f);
    const float stored[6] = {0.0f, 0.0f, 0.0f, 10.0f, 20.0f, 30.0f};
    for (int i = 0; i < 6; ++i)
        item.object.box3D[i] = stored[i];
    ExtentRect rect;
    // Width 1: not widened.
    item.object.size = 1.0f;
    ResetExtentRect(rect);
    AddObjectViewExtents(&item.object, 0, rect, 0, 1);
    ExpectRect(0.0f, 0.0f, 10.0f, 20.0f, rect);
    // Width 5: 2 on each side in x and height.
    item.object.size = 5.0f;
    ResetExtentRect(rect);
    AddObjectViewExtents(&item.object, 0, rect, 0, 1);
    ExpectRect(-2.0f, -2.0f, 12.0f, 22.0f, rect);
    // The vertex walk widens each point the same way.
    ResetExtentRect(rect);
    GetObjectExtents2D(&item.object, 0, rect, 0, 1);
    ExpectRect(-2.0f, -2.0f, 2.0f, 2.0f, rect);
}

TEST(ObjectExtents, NullArgumentsAreIgnored)
{
    ExtentBox box;
    ResetExtentBox(box);
    GetObjectExtents3D(nullptr, 0, box, 0);
    GetAllFloorsExtents3D(nullptr, 0, box, 0);
    AddObjectBoxExtents3D(nullptr, 0, box, 0);
    ExpectEmptyBox(box);
    TestObject dot(6);
    dot.Add(1.0f, 1.0f, 1.0f);
    GetObjectExtents3D(&dot.object, 0, nullptr, 0);
    GetObjectExtents2D(&dot.object, 0, nullptr, 0, 0);
}
