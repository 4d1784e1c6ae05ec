#include "support_model.h"
#include "model/hermite.h"
#include "model/texture_coords.h"
#include <math.h>
#include <string.h>
#include <vector>

using namespace mtest;

namespace {

class TextureCoordsTest : public DocumentTest {
protected:
    static std::vector<float> Us(PlanObject* object)
    {
        std::vector<float> values;
        for (PlanVertex* v = object->firstVertex; v; v = v->next)
            values.push_back(v->u);
        return values;
    }
    static std::vector<float> Vs(PlanObject* object)
    {
        std::vector<float> values;
        for (PlanVertex* v = object->firstVertex; v; v = v->next)
            values.push_back(v->v);
        return values;
    }
    static void ProjectionBox(PlanObject* object, float* box, float* copy)
    {
        memcpy(box, object->textureBlock, 16);
        memcpy(copy, object->textureBlock + 16, 16);
    }
};

TEST_F(TextureCoordsTest, ProjectionPlaneLiesAcrossTheSmallestSpan)
{
    PlanObject* flat = MakeObject(13, Storey(0), {{0, -8, 0}, {40, -8, 0}, {40, -8, 20}, {0, -8, 20}});
    ComputeProjectionExtents(flat);
    EXPECT_EQ(flat->projectionMode, 2);
    float box[4], copy[4];
    ProjectionBox(flat, box, copy);
    // [min second, min first, max second, max first] of (x, z).
    EXPECT_FLOAT_EQ(box[0], 0);
    EXPECT_FLOAT_EQ(box[1], 0);
    EXPECT_FLOAT_EQ(box[2], 20);
    EXPECT_FLOAT_EQ(box[3], 40);
    EXPECT_EQ(memcmp(box, copy, sizeof(box)), 0);
    // s along x, t along z, each in [0, 1].
    EXPECT_FLOAT_EQ(VertexAt(flat, 2)->reserved1, 1.0f);
    EXPECT_FLOAT_EQ(VertexAt(flat, 2)->reserved2, 1.0f);
    EXPECT_FLOAT_EQ(VertexAt(flat, 3)->reserved1, 0.0f);
    EXPECT_FLOAT_EQ(VertexAt(flat, 3)->reserved2, 1.0f);

    PlanObject* front = MakeObject(13, Storey(0), {{0, 0, 5}, {40, 0, 5}, {40, -30, 5}, {0, -30, 5}});
    ComputeProjectionExtents(front);
    EXPECT_EQ(front->projectionMode, 1);
    ProjectionBox(front, box, copy);
    EXPECT_FLOAT_EQ(box[0], -30);   // height is the second coordinate
    EXPECT_FLOAT_EQ(box[3], 40);
    EXPECT_FLOAT_EQ(VertexAt(front, 0)->reserved2, 1.0f);
    EXPECT_FLOAT_EQ(VertexAt(front, 2)->reserved2, 0.0f);

    PlanObject* side = MakeObject(13, Storey(0), {{5, 0, 0}, {5, 0, 40}, {5, -30, 40}});
    ComputeProjectionExtents(side);
    EXPECT_EQ(side->projectionMode, 3);
}

TEST_F(TextureCoordsTest, RoofPlanesNeverTakeThePlan)
{
    PlanObject* roof = MakeObject(32, Storey(0), {{0, -8, 0}, {40, -8, 0}, {40, -8, 20}});
    ComputeProjectionExtents(roof);
    EXPECT_EQ(roof->projectionMode, 1);
    PlanObject* deep = MakeObject(33, Storey(0), {{0, -8, 0}, {20, -8, 0}, {20, -8, 40}});
    ComputeProjectionExtents(deep);
    EXPECT_EQ(deep->projectionMode, 3);
}

TEST_F(TextureCoordsTest, LineAlongZHasZeroS)
{
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{7, -3, 0}, {7, -3, 10}, {7, -3, 50}});
    ComputeProjectionExtents(line);
    EXPECT_EQ(line->projectionMode, 2);
    for (PlanVertex* v = line->firstVertex; v; v = v->next)
        EXPECT_FLOAT_EQ(v->reserved1, 0.0f);
    EXPECT_FLOAT_EQ(VertexAt(line, 1)->reserved2, 0.2f);
}

TEST_F(TextureCoordsTest, TwoRowMeshMeasuresAlongItsFirstRow)
{
    PlanObject* mesh = MakeObject(10, Storey(0), {{0, 0, 0}, {10, 0, 0}, {30, 0, 0},
                                                 {0, -9, 0}, {10, -9, 0}, {30, -9, 0}});
    mesh->rows = 2;
    ComputeMeshTextureCoords(mesh);
    EXPECT_EQ(Us(mesh), (std::vector<float>{0, 10, 30, 0, 10, 30}));
    EXPECT_EQ(Vs(mesh), (std::vector<float>{30, 30, 30, 30, 30, 30}));

    // Closed: the row runs back to the first vertex.
    mesh->closed = 1;
    EXPECT_FLOAT_EQ(ComputeRowLength(mesh, 0), 60.0f);
    EXPECT_FLOAT_EQ(ComputeRowLengthTo(mesh, 3, 0), 60.0f);
    EXPECT_FLOAT_EQ(ComputeRowLengthTo(mesh, 2, 0), 30.0f);
    EXPECT_FLOAT_EQ(ComputeRowLengthTo(mesh, 0, 0), 0.0f);
    ComputeMeshTextureCoords(mesh);
    EXPECT_EQ(Vs(mesh), (std::vector<float>{60, 60, 60, 60, 60, 60}));
}

TEST_F(TextureCoordsTest, ThirdRowOfThreeIsMeasuredAlongItself)
{
    PlanObject* mesh = MakeObject(10, Storey(0), {{0, 0, 0}, {10, 0, 0},
                                                 {0, -5, 0}, {10, -5, 0},
                                                 {0, -9, 0}, {25, -9, 0}});
    mesh->rows = 3;
    ComputeMeshTextureCoords(mesh);
    EXPECT_EQ(Us(mesh), (std::vector<float>{0, 10, 0, 10, 0, 25}));
    EXPECT_EQ(Vs(mesh), (std::vector<float>{10, 10, 10, 10, 25, 25}));

    // With four rows the later rows measure along the first.
    PlanObject* four = MakeObject(10, Storey(0), {{0, 0, 0}, {10, 0, 0}, {0, -5, 0}, {10, -5, 0},
                                                 {0, -9, 0}, {25, -9, 0}, {0, -12, 0}, {40, -12, 0}});
    four->rows = 4;
    ComputeMeshTextureCoords(four);
    EXPECT_EQ(Vs(four), (std::vector<float>(8, 10.0f)));
}

TEST_F(TextureCoordsTest, SingleRowsAndBrokenCountsKeepTheirCoordinates)
{
    PlanObject* outline = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {10, 0, 0}});
    ComputeMeshTextureCoords(outline);
    EXPECT_EQ(Us(outline), (std::vector<float>{1, 1}));
    EXPECT_EQ(Vs(outline), (std::vector<float>{1, 1}));

    // Five vertices claimed in two rows: nothing is trusted, nothing is written.
    PlanObject* broken = MakeObject(10, Storey(0), {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {0, -5, 0}, {10, -5, 0}});
    broken->rows = 2;
    ComputeMeshTextureCoords(broken);
    ComputeProjectionExtents(broken);
    EXPECT_EQ(Us(broken), (std::vector<float>(5, 1.0f)));
    EXPECT_EQ(broken->projectionMode, 2);
    EXPECT_FLOAT_EQ(VertexAt(broken, 1)->reserved1, 0.0f);

    // A count larger than the chain: the walk stops at its end.
    PlanObject* shortChain = MakeObject(10, Storey(0), {{0, 0, 0}, {10, 0, 0}, {0, -5, 0}, {10, -5, 0}});
    shortChain->rows = 2;
    shortChain->vertexCount = 6;
    ComputeMeshTextureCoords(shortChain);
    std::vector<float> us = Us(shortChain);
    ASSERT_EQ(us.size(), 4u);
    EXPECT_FLOAT_EQ(us[1], 10.0f);
    EXPECT_NEAR(us[2], 10.0f + sqrtf(125.0f), 1e-3f);
    EXPECT_FLOAT_EQ(us[3], 0.0f);
}

TEST_F(TextureCoordsTest, CurveLengthIsMeasuredByChords)
{
    // Tangents equal to the chord make the Hermite segment the straight line.
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {30, -40, 0}});
    PlanVertex* a = VertexAt(line, 0);
    PlanVertex* b = VertexAt(line, 1);
    a->outTangent[0] = b->inTangent[0] = 30;
    a->outTangent[1] = b->inTangent[1] = -40;
    EXPECT_NEAR(ComputeCurveLength3D(a, b), 50.0f, 1e-3f);

    // A quarter circle of radius 100 from its Hermite handles.
    PlanObject* arc = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {0, 0, 0}});
    float p0x, t0x, t1x, p1x, p0y, t0y, t1y, p1y;
    ComputeArcHermiteHandles(3.14159265f / 2, 100, &p0x, &t0x, &t1x, &p1x, &p0y, &t0y, &t1y, &p1y);
    PlanVertex* c = VertexAt(arc, 0);
    PlanVertex* d = VertexAt(arc, 1);
    c->position[0] = p0x;
    c->position[2] = p0y;
    c->outTangent[0] = t0x;
    c->outTangent[2] = t0y;
    d->position[0] = p1x;
    d->position[2] = p1y;
    d->inTangent[0] = t1x;
    d->inTangent[2] = t1y;
    document->settings->curveSteps = 40;
    EXPECT_NEAR(ComputeCurveLength3D(c, d), 157.08f, 0.5f);

    document->settings->curveSteps = 0;
    EXPECT_FLOAT_EQ(ComputeCurveLength3D(c, d), 0.0f);
    // The same curved segment as the row of a mesh measures 0 too.
    PlanObject* mesh = MakeObject(10, Storey(0), {{0, 0, 0}, {10, 0, 0}, {0, -5, 0}, {10, -5, 0}});
    mesh->rows = 2;
    VertexAt(mesh, 0)->outTangent[0] = 5;
    EXPECT_FLOAT_EQ(ComputeRowLength(mesh, 0), 0.0f);
    document->settings->curveSteps = 8;
}

TEST_F(TextureCoordsTest, ProjectionNeedsADocument)
{
    PlanObject* flat = MakeObject(13, Storey(0), {{0, 0, 0}, {40, -30, 0}});
    PlanDocument* keep = activeDocument;
    activeDocument = nullptr;
    ComputeProjectionExtents(flat);
    activeDocument = keep;
    EXPECT_EQ(flat->projectionMode, 2);
    EXPECT_FLOAT_EQ(VertexAt(flat, 1)->reserved1, 0.0f);
}

} // namespace
