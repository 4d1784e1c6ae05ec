#include "support_model3d.h"
#include "model3d/outline_tessellation.h"
#include <string.h>

using namespace m3test;

namespace {

class TessellationTest : public GeneratorTest {
protected:
    // A square 0..100 in x and z, with stored texture coordinates (k, 10 k).
    PlanObject* MakeSquare()
    {
        PlanObject* square =
            MakeObject(1, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 1);
        int k = 0;
        for (PlanVertex* v = square->firstVertex; v; v = v->next, ++k) {
            v->u = (float)k;
            v->v = 10.0f * k;
        }
        return square;
    }

    // Makes the segment from vertex 0 to vertex 1 a curve bulging towards -z.
    static void BendFirstSide(PlanObject* square)
    {
        PlanVertex* a = square->firstVertex;
        PlanVertex* b = a->next;
        a->outTangent[0] = 100.0f;
        a->outTangent[2] = -200.0f;
        b->inTangent[0] = 100.0f;
        b->inTangent[2] = 200.0f;
    }

    static void SetProjectionBox(PlanObject* object, float minSecond, float minFirst,
                                 float maxSecond, float maxFirst, uint16_t mode)
    {
        const float box[4] = {minSecond, minFirst, maxSecond, maxFirst};
        memcpy(object->textureBlock, box, sizeof(box));
        object->projectionMode = mode;
    }
};

} // namespace

TEST_F(TessellationTest, AStraightSquareGivesItsCornersWithTheirTextureCoordinates)
{
    PlanObject* square = MakeSquare();
    int32_t count = 4;
    MeshVertex* vertices = BuildPathVertices(square->firstVertex, &count);
    ASSERT_NE(vertices, nullptr);
    ASSERT_EQ(count, 4);
    const float expected[4][2] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(vertices[i].x, expected[i][0]);
        EXPECT_FLOAT_EQ(vertices[i].z, expected[i][1]);
        EXPECT_EQ(vertices[i].edgeFlag, 0);
        EXPECT_FLOAT_EQ(vertices[i].u, (float)i);
        EXPECT_FLOAT_EQ(vertices[i].v, 10.0f * i);
    }
    FreeVertexList(vertices);
}

TEST_F(TessellationTest, ACurvedSideGivesOnePointPerCurveStep)
{
    PlanObject* square = MakeSquare();
    BendFirstSide(square);
    SetProjectionBox(square, 0.0f, 0.0f, 0.0f, 0.0f, 2);
    Settings()->curveSteps = 8;
    int32_t count = 4;
    MeshVertex* vertices = BuildPathVertices(square->firstVertex, &count);
    ASSERT_NE(vertices, nullptr);
    // 8 points on the curve (t = 0 .. 0.875), one for each straight side.
    ASSERT_EQ(count, 11);
    // t = 0.5 of x: a = 2*0 - 2*100 + 100 + 100 = 0, b = 300 - 200 - 100 = 0, c = 100:
    // x = 50; of z: a = -200 + 200 = 0, b = 400 - 200 = 200, c = -200: z = 50 - 100 = -50.
    EXPECT_NEAR(vertices[4].x, 50.0f, 1e-3f);
    EXPECT_NEAR(vertices[4].z, -50.0f, 1e-3f);
    // Projection mode 2 over an empty box divides by 1: u = x, v = z.
    EXPECT_NEAR(vertices[4].u, 50.0f, 1e-3f);
    EXPECT_NEAR(vertices[4].v, -50.0f, 1e-3f);
    // t = 0.875 is the last curve point, then the three straight corners.
    EXPECT_NEAR(vertices[7].x, 87.5f, 1e-3f);
    EXPECT_FLOAT_EQ(vertices[8].x, 100.0f);
    EXPECT_FLOAT_EQ(vertices[8].z, 0.0f);
    EXPECT_FLOAT_EQ(vertices[10].z, 100.0f);
    FreeVertexList(vertices);
}

TEST_F(TessellationTest, TextureCoordinatesFollowTheProjectionMode)
{
    PlanObject* square = MakeSquare();
    BendFirstSide(square);
    square->firstVertex->position[1] = -40.0f;
    // Box [min second, min first, max second, max first] = [10, 20, 60, 120].
    SetProjectionBox(square, 10.0f, 20.0f, 60.0f, 120.0f, 1);
    Settings()->curveSteps = 2;
    int32_t added = 0;
    int32_t size = 0;
    MeshVertex* array = NewVertexList();
    TessellateSegment(&array, square->firstVertex, square->firstVertex->next, &size, &added);
    ASSERT_EQ(added, 2);
    // t = 0: P = (0, -40, 0); mode 1: u = (x - 10) / 50, v = (y - 20) / 100.
    EXPECT_FLOAT_EQ(array[0].u, -0.2f);
    EXPECT_FLOAT_EQ(array[0].v, -0.6f);
    FreeVertexList(array);

    SetProjectionBox(square, 10.0f, 20.0f, 60.0f, 120.0f, 3);
    array = NewVertexList();
    size = 0;
    TessellateSegment(&array, square->firstVertex, square->firstVertex->next, &size, &added);
    // Mode 3: u = (z - 10) / 50, v = (y - 20) / 100.
    EXPECT_FLOAT_EQ(array[0].u, -0.2f);
    EXPECT_FLOAT_EQ(array[0].v, -0.6f);
    // t = 0.5: z = -50, y = -20.
    EXPECT_FLOAT_EQ(array[1].u, -1.2f);
    EXPECT_FLOAT_EQ(array[1].v, -0.4f);
    FreeVertexList(array);

    // Any other mode carries the previous point's coordinates, 0 at first.
    SetProjectionBox(square, 10.0f, 20.0f, 60.0f, 120.0f, 7);
    array = NewVertexList();
    size = 0;
    TessellateSegment(&array, square->firstVertex, square->firstVertex->next, &size, &added);
    EXPECT_FLOAT_EQ(array[0].u, 0.0f);
    EXPECT_FLOAT_EQ(array[1].v, 0.0f);
    FreeVertexList(array);
}

TEST_F(TessellationTest, TooFewVerticesOrMissingArgumentsMakeNothing)
{
    PlanObject* square = MakeSquare();
    int32_t count = 2;
    EXPECT_EQ(BuildPathVertices(square->firstVertex, &count), nullptr);
    count = 4;
    EXPECT_EQ(BuildPathVertices(nullptr, &count), nullptr);

    int32_t size = 0;
    EXPECT_EQ(AppendVertex(nullptr, 1, 2, 3, &size, 0, 0, 0), 0);
    MeshVertex* array = NewVertexList();
    EXPECT_EQ(AppendVertex(&array, 1, 2, 3, nullptr, 0, 0, 0), 0);
    EXPECT_EQ(AppendVertex(&array, 1, 2, 3, &size, 5, 0.25f, 0.5f), 1);
    EXPECT_EQ(AppendVertex(&array, 4, 5, 6, &size, 0, 0, 0), 1);
    EXPECT_EQ(size, 2);
    EXPECT_FLOAT_EQ(array[0].y, 2.0f);
    EXPECT_EQ(array[0].edgeFlag, 5);
    EXPECT_FLOAT_EQ(array[0].v, 0.5f);
    EXPECT_FLOAT_EQ(array[1].z, 6.0f);
    FreeVertexList(array);
    FreeVertexList(nullptr);
}

TEST_F(TessellationTest, UnusableCurveStepCountsAreBounded)
{
    PlanObject* square = MakeSquare();
    BendFirstSide(square);
    const struct {
        uint16_t stored;
        int32_t points;
    } cases[] = {
        {0, 8},        // none: the plan default
        {65535, 8},    // -1 as the signed count
        {30000, 200},  // capped
        {5, 5},
    };
    for (const auto& c : cases) {
        Settings()->curveSteps = c.stored;
        int32_t count = 4;
        MeshVertex* vertices = BuildPathVertices(square->firstVertex, &count);
        ASSERT_NE(vertices, nullptr);
        EXPECT_EQ(count, c.points + 3) << "stored curve steps " << c.stored;
        FreeVertexList(vertices);
    }
}

TEST_F(TessellationTest, AChainShorterThanItsCountEndsTheWalk)
{
    PlanObject* square = MakeSquare();
    // A damaged count far beyond the chain: the walk stops at the chain's end.
    int32_t count = 1000000;
    MeshVertex* vertices = BuildPathVertices(square->firstVertex, &count);
    ASSERT_NE(vertices, nullptr);
    EXPECT_EQ(count, 4);
    FreeVertexList(vertices);
}
