#include "support_model3d.h"
#include "model3d/array_objects.h"

using namespace m3test;

namespace {

class ArrayObjectsTest : public GeneratorTest {
protected:
    Point3f ring1[3] = {{0, 0, 0}, {10, 0, 0}, {10, 0, 10}};
    Point3f ring2[3] = {{0, -5, 0}, {10, -5, 0}, {10, -5, 10}};
    Point3f tangentsIn[3] = {{1, 2, 3}, {0, 0, 0}, {0, 0, 0}};
    Point3f tangentsOut[3] = {{4, 5, 6}, {0, 0, 0}, {0, 0, 0}};
};

bool IsOnFloor(const PlanFloor* floor, const PlanObject* object)
{
    for (PlanObject* o = floor->firstObject; o; o = o->next)
        if (o == object)
            return true;
    return false;
}

} // namespace

TEST_F(ArrayObjectsTest, TwoRingsGiveTwoRowsInRingOrder)
{
    PlanObject* object = BuildObjectFromArrays(ring1, ring2, tangentsIn, tangentsOut, tangentsIn,
                                               tangentsOut, 3, Storey(0), 0, 9, 0, 1);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->type, 9);
    EXPECT_EQ(object->rows, 2);
    EXPECT_EQ(object->vertexCount, 6u);
    EXPECT_EQ(object->creationFlag, 1);
    std::vector<P3> points = Positions(object);
    ASSERT_EQ(points.size(), 6u);
    EXPECT_POINT(points[0], 0, 0, 0);
    EXPECT_POINT(points[2], 10, 0, 10);
    EXPECT_POINT(points[3], 0, -5, 0);
    EXPECT_POINT(points[5], 10, -5, 10);
    PlanVertex* first = object->firstVertex;
    EXPECT_EQ(first->kind, 1);
    EXPECT_EQ(first->selected, 1);
    EXPECT_FLOAT_EQ(first->inTangent[2], 3.0f);
    EXPECT_FLOAT_EQ(first->outTangent[0], 4.0f);
    EXPECT_TRUE(IsOnFloor(Storey(0), object));
    // Boxes come from the vertices: x 0..10, z 0..10, heights 0 and -5.
    EXPECT_FLOAT_EQ(object->box3D[0], -5.0f);
    EXPECT_FLOAT_EQ(object->box3D[4], 10.0f);
    EXPECT_FLOAT_EQ(object->box3D[5], 10.0f);
}

TEST_F(ArrayObjectsTest, ALoneRingIsOneRowEvenWhenSecondPositionsAreGiven)
{
    // The second ring lacks a tangent array: only ring 1 is built, and the row count
    // says so (a count of 2 would split 3 vertices into rows of one and a half).
    PlanObject* object = BuildObjectFromArrays(ring1, ring2, tangentsIn, tangentsOut, tangentsIn,
                                               nullptr, 3, Storey(0), 0, 8, 1, 0);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->vertexCount, 3u);
    EXPECT_EQ(object->rows, 1);
    EXPECT_FALSE(IsOnFloor(Storey(0), object));
    FreeObject(object);

    PlanObject* single = BuildObjectFromArrays(ring1, nullptr, tangentsIn, tangentsOut, nullptr,
                                               nullptr, 3, Storey(0), 0, 9, 0, 0);
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->rows, 1);
    EXPECT_EQ(single->vertexCount, 3u);
    FreeObject(single);
}

TEST_F(ArrayObjectsTest, RequiredArgumentsAndLooks)
{
    EXPECT_EQ(BuildObjectFromArrays(ring1, nullptr, tangentsIn, tangentsOut, nullptr, nullptr, 3,
                                    nullptr, 0, 9, 0, 0),
              nullptr);
    EXPECT_EQ(BuildObjectFromArrays(ring1, nullptr, nullptr, tangentsOut, nullptr, nullptr, 3,
                                    Storey(0), 0, 9, 0, 0),
              nullptr);

    PlanObject* plain = BuildObjectFromArrays(ring1, nullptr, tangentsIn, tangentsOut, nullptr,
                                              nullptr, 3, Storey(0), 0, 9, 0, 0);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->colourA.red, 65535);
    EXPECT_EQ(plain->colourA.blue, 65535);
    EXPECT_EQ(plain->colourB.red, 0);
    EXPECT_EQ(plain->colourB.green, 0);
    EXPECT_FLOAT_EQ(plain->size, 1.0f);
    EXPECT_EQ(plain->value1, 6);
    EXPECT_EQ(plain->value2, 0);
    FreeObject(plain);

    Settings()->foregroundColour = {100, 200, 300};
    Settings()->newObjectColour = {7, 8, 9};
    Settings()->defaultPenWidth = 3;
    Settings()->defaultFirstStyle = 4;
    PlanObject* styled = BuildObjectFromArrays(ring1, nullptr, tangentsIn, tangentsOut, nullptr,
                                               nullptr, 3, Storey(0), 1, 9, 0, 0);
    ASSERT_NE(styled, nullptr);
    EXPECT_EQ(styled->colourA.green, 200);
    EXPECT_EQ(styled->colourB.blue, 9);
    EXPECT_FLOAT_EQ(styled->size, 3.0f);
    EXPECT_EQ(styled->value1, 4);
    FreeObject(styled);
}

TEST_F(ArrayObjectsTest, SolidsAndSurfacesAreAttachedWithTheirKind)
{
    PlanObject* solid =
        CreateSolidFromArrays(ring1, ring2, tangentsIn, tangentsOut, tangentsIn, tangentsOut, 3,
                              Storey(1), 0);
    ASSERT_NE(solid, nullptr);
    EXPECT_EQ(solid->type, 8);
    EXPECT_EQ(solid->closed, 1);
    EXPECT_EQ(solid->rows, 2);
    EXPECT_TRUE(IsOnFloor(Storey(1), solid));

    PlanObject* surface =
        CreateSurfaceFromArrays(ring1, ring2, tangentsIn, tangentsOut, tangentsIn, tangentsOut, 3,
                                Storey(1), 0);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->type, 9);
    EXPECT_EQ(surface->closed, 0);
    // A surface is never reordered: its rows stay as given.
    EXPECT_POINT(Positions(surface)[0], 0, 0, 0);
    EXPECT_POINT(Positions(surface)[1], 10, 0, 0);
}

TEST_F(ArrayObjectsTest, OutlineBecomesASolidPushedThroughAndIsFreed)
{
    PlanObject* outline = MakeObject(18, Storey(0), {{0, 0, 0}, {20, 0, 0}, {20, -30, 0}, {0, -30, 0}}, 1);
    ASSERT_NE(outline, nullptr);
    long before = LiveRecordCount();
    PlanObject* solid = ConvertOutlineToSolid(outline, 0.0f, 6.0f);
    ASSERT_NE(solid, nullptr);
    EXPECT_EQ(solid->type, 18);
    EXPECT_EQ(solid->rows, 2);
    EXPECT_EQ(solid->buildFlag, 1);
    std::vector<P3> points = Positions(solid);
    ASSERT_EQ(points.size(), 8u);
    // Whatever order the rings were left in, the second ring is the first moved -6 in z.
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(points[i + 4].x, points[i].x, 1e-4f);
        EXPECT_NEAR(points[i + 4].y, points[i].y, 1e-4f);
        EXPECT_NEAR(points[i + 4].z, points[i].z - 6.0f, 1e-4f);
    }
    // The outline is gone from its floor; the solid was never put on one.
    EXPECT_EQ(Storey(0)->firstObject, nullptr);
    EXPECT_EQ(LiveRecordCount(), before + 4);  // 5 outline records out, 1 object + 8 in
    FreeObject(solid);

    PlanObject* open = MakeObject(6, Storey(0), {{0, 0, 0}, {10, 0, 0}});
    PlanObject* sheet = ConvertOutlineToSolid(open, 3.0f, 0.0f);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->type, 6);
    EXPECT_EQ(sheet->buildFlag, 0);
    EXPECT_POINT(Positions(sheet)[2], -3, 0, 0);
    FreeObject(sheet);
}

TEST_F(ArrayObjectsTest, RectanglesRoundTheirBoxAndKeepExactCorners)
{
    EXPECT_EQ(CreateRectangleObject(10.4f, 5.6f, 10.4f, 5.6f, Storey(0), 0), nullptr);
    EXPECT_EQ(CreateRectangleObject(0, 0, 5, 5, nullptr, 0), nullptr);

    PlanObject* rectangle = CreateRectangleObject(10.6f, 5.0f, 0.0f, 0.0f, Storey(0), 0);
    ASSERT_NE(rectangle, nullptr);
    EXPECT_EQ(rectangle->type, 1);
    EXPECT_EQ(rectangle->closed, 1);
    EXPECT_FLOAT_EQ(rectangle->box2D[0], 0.0f);
    EXPECT_FLOAT_EQ(rectangle->box2D[1], 0.0f);
    EXPECT_FLOAT_EQ(rectangle->box2D[2], 5.0f);
    EXPECT_FLOAT_EQ(rectangle->box2D[3], 11.0f);
    std::vector<P3> points = Positions(rectangle);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_POINT(points[0], 10.6f, 5.0f, 0);
    EXPECT_POINT(points[1], 0, 5.0f, 0);
    EXPECT_POINT(points[2], 0, 0, 0);
    EXPECT_POINT(points[3], 10.6f, 0, 0);
    EXPECT_TRUE(IsOnFloor(Storey(0), rectangle));
}

TEST_F(ArrayObjectsTest, APlantWithoutDataIsA200SquareAtTheOrigin)
{
    Settings()->activeCategory = 128;
    // No information file exists for this picture id in the test's folder.
    PlanObject* plant = CreatePlantObject(Storey(0), 0, 1234);
    ASSERT_NE(plant, nullptr);
    EXPECT_EQ(plant->type, ObjPlant);
    EXPECT_EQ(plant->category, 128u);
    EXPECT_EQ(plant->onTerrain, 1);
    EXPECT_EQ(plant->value2, 0);
    std::vector<P3> points = Positions(plant);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_POINT(points[0], 0, 0, 0);
    EXPECT_POINT(points[1], 200, 0, 0);
    EXPECT_POINT(points[2], 200, 0, 200);
    EXPECT_POINT(points[3], 0, 0, 200);
    EXPECT_EQ(plant->firstVertex->faceTextureA, 1234u);
    EXPECT_EQ(plant->firstVertex->next->faceTextureB, 1234u);
    EXPECT_TRUE(IsOnFloor(Storey(0), plant));
    EXPECT_EQ(CreatePlantObject(nullptr, 0, 1234), nullptr);
}
