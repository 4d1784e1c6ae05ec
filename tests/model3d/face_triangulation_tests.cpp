#include "model3d/face_triangulation.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model/plan_object.h"
#include "shell/app_globals.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

struct Corner {
    float x, z;
    uint16_t flag;
};

// An outline lying flat (face vector straight up), so the cut works in (x, z).
PolygonOutline* FlatOutline(std::initializer_list<Corner> corners)
{
    MeshVertex* v = static_cast<MeshVertex*>(malloc(sizeof(MeshVertex) * corners.size()));
    int32_t n = 0;
    for (const Corner& c : corners)
        v[n++] = {c.x, 0.0f, c.z, c.flag, 0.0f, 0.0f};
    return CreatePolygonOutline(v, n, 0.0f, 1.0f, 0.0f);
}

std::vector<PolygonOutline*> Pieces(PolygonOutline* list)
{
    std::vector<PolygonOutline*> pieces;
    for (; list; list = list->next)
        pieces.push_back(list);
    return pieces;
}

std::vector<int> Flags(const PolygonOutline* outline)
{
    std::vector<int> flags;
    for (int32_t i = 0; i < outline->vertexCount; ++i)
        flags.push_back(outline->vertices[i].edgeFlag);
    return flags;
}

float TriangleArea(const PolygonOutline* t)
{
    const MeshVertex* v = t->vertices;
    return fabsf((v[1].x - v[0].x) * (v[2].z - v[0].z) - (v[2].x - v[0].x) * (v[1].z - v[0].z)) / 2;
}

} // namespace

TEST(FaceTriangulation, OutlinesAreCutIntoPiecesThatKeepTheirRealEdges)
{
    const float r = 10.0f, h = 8.660254f;
    const struct {
        const char* name;
        PolygonOutline* outline;
        std::vector<std::vector<int>> flags;
    } cases[] = {
        {"quad", FlatOutline({{0, 0, 1}, {10, 0, 2}, {10, 10, 3}, {0, 10, 4}}), {{0, 0, 0, 0}}},
        {"quad with a never-real edge",
         FlatOutline({{0, 0, 1}, {10, 0, 10000}, {10, 10, 3}, {0, 10, 4}}), {{0, 1, 0, 0}}},
        {"convex hexagon",
         FlatOutline({{r, 0, 0}, {r / 2, h, 0}, {-r / 2, h, 0}, {-r, 0, 0}, {-r / 2, -h, 0},
                      {r / 2, -h, 0}}),
         {{0, 0, 1}, {1, 0, 1}, {1, 0, 1}, {1, 0, 0}}},
    };
    for (const auto& c : cases) {
        std::vector<PolygonOutline*> pieces = Pieces(SplitOutline(c.outline, nullptr));
        ASSERT_EQ(pieces.size(), c.flags.size()) << c.name;
        for (size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(Flags(pieces[i]), c.flags[i]) << c.name << " piece " << i;
            EXPECT_FLOAT_EQ(pieces[i]->vector[1], 0.99f) << c.name;
        }
        FreeOutlineList(pieces.empty() ? nullptr : pieces[0]);
        FreePolygonOutline(c.outline);
    }
}

TEST(FaceTriangulation, AnLShapeIsCutWithinItsOutline)
{
    PolygonOutline* shape = FlatOutline({{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {10, 10, 0}, {10, 20, 0},
                                         {0, 20, 0}});
    std::vector<PolygonOutline*> pieces = Pieces(SplitOutline(shape, nullptr));
    ASSERT_EQ(pieces.size(), 4u);
    float area = 0.0f;
    for (PolygonOutline* t : pieces) {
        area += TriangleArea(t);
        float cx = (t->vertices[0].x + t->vertices[1].x + t->vertices[2].x) / 3;
        float cz = (t->vertices[0].z + t->vertices[1].z + t->vertices[2].z) / 3;
        EXPECT_FALSE(cx > 10.0f && cz > 10.0f) << "a piece lies in the notch";
    }
    EXPECT_FLOAT_EQ(area, 300.0f);
    FreeOutlineList(pieces[0]);
    FreePolygonOutline(shape);
}

TEST(FaceTriangulation, ASelfCrossingOutlineStopsWithWhatItFound)
{
    // A five-pointed star drawn in one stroke crosses itself everywhere.
    PolygonOutline* star = FlatOutline({{0, -10, 0}, {5.9f, 8.1f, 0}, {-9.5f, -3.1f, 0},
                                        {9.5f, -3.1f, 0}, {-5.9f, 8.1f, 0}});
    PolygonOutline* cut = SplitOutline(star, nullptr);
    EXPECT_LT(Pieces(cut).size(), 3u);
    FreeOutlineList(cut);
    FreePolygonOutline(star);
}

TEST(FaceTriangulation, APathPartOfEightVerticesBecomesThreeQuads)
{
    ScenePolygon* part = CreateSceneNode();
    part->sourceType = 23;
    part->outlines = FlatOutline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {30, 5, 0},
                                  {20, 5, 0}, {10, 5, 0}, {0, 5, 0}});
    TriangulateSceneNode(part);
    std::vector<PolygonOutline*> quads = Pieces(part->outlines);
    ASSERT_EQ(quads.size(), 3u);
    for (size_t i = 0; i < quads.size(); ++i) {
        EXPECT_EQ(Flags(quads[i]), (std::vector<int>{0, 1, 0, 1}));
        EXPECT_FLOAT_EQ(quads[i]->vertices[0].x, 10.0f * i);
        EXPECT_FLOAT_EQ(quads[i]->vertices[2].z, 5.0f);
    }
    FreeSceneNode(part);
}

// The texture library is made here: an information file sizes brick 1 (id 850).
class TextureRepeatTest : public vtest::LiveSceneTest {
protected:
    void SetUp() override
    {
        LiveSceneTest::SetUp();
        directory = vtest::CurrentDirectory();
        saved = programDirectory;
        programDirectory = &directory[0];
        CreateDirectoryA((directory + "\\TEXTURES").c_str(), nullptr);
        CreateDirectoryA((directory + "\\TEXTURES\\BRICK").c_str(), nullptr);
        std::string info = directory + "\\TEXTURES\\BRICK\\BRICK1.ZTI";
        WritePrivateProfileStringA("Size", "Width", "48", info.c_str());
        WritePrivateProfileStringA("Size", "Height", "24", info.c_str());
    }
    void TearDown() override
    {
        SetTextureSizeReader(nullptr);
        programDirectory = saved;
        LiveSceneTest::TearDown();
    }
    std::string directory;
    char* saved = nullptr;
};

TEST_F(TextureRepeatTest, FactorsComeFromTheTextureSize)
{
    const struct {
        uint32_t id;
        float u, v;
    } cases[] = {
        {850, 2.0f, -2.0f},      // 96 by 48 over a 48 by 24 brick
        {851, 0.96f, -0.48f},    // no information file: 100 by 100
        {14000, 7.0f, 7.0f},     // no texture: left alone
    };
    for (const auto& c : cases) {
        float u = 7.0f, v = 7.0f;
        GetTextureUvScale(c.id, 96.0f, 48.0f, &u, &v);
        EXPECT_FLOAT_EQ(u, c.u) << c.id;
        EXPECT_FLOAT_EQ(v, c.v) << c.id;
    }
}

namespace {

unsigned int profileReads = 0;

UINT WINAPI CountedProfileRead(LPCSTR section, LPCSTR key, INT fallback, LPCSTR path)
{
    ++profileReads;
    return GetPrivateProfileIntA(section, key, fallback, path);
}

} // namespace

TEST_F(TextureRepeatTest, TheSizeIsReadOnceForAllTheFacesOfTheScene)
{
    SetTextureSizeReader(CountedProfileRead);
    // Ten boxes of brick 1 on both sides: 60 faces sized from the texture.
    for (int i = 0; i < 10; ++i) {
        const float x = 20.0f * (float)i;
        PlanObject* box = vtest::MakePointObject(
            8, Storey(0), {{x, 0, 0}, {x + 10, 0, 0}, {x + 10, 0, 10}, {x, 0, 10}, {x, -10, 0},
                           {x + 10, -10, 0}, {x + 10, -10, 10}, {x, -10, 10}}, 0, 1);
        box->rows = 2;
        box->buildFlag = 1;
        for (PlanVertex* v = box->firstVertex; v; v = v->next)
            v->faceTextureA = v->faceTextureB = 850;
    }
    const struct {
        const char* what;
        bool viewMadeAgain;
        unsigned int reads;  // width and height, once each
    } steps[] = {{"first build", false, 2}, {"built again", false, 0}, {"the view made again", true, 2}};
    std::vector<float> firstFactors;
    for (const auto& step : steps) {
        if (step.viewMadeAgain)
            ShowLiveView(true);
        profileReads = 0;
        RebuildAll3D();
        EXPECT_EQ(profileReads, step.reads) << step.what;
        // Every face repeats the brick as the size first read gives.
        std::vector<float> factors;
        for (ScenePolygon* p = sceneMeshes; p; p = p->next)
            factors.insert(factors.end(), {p->uFactorA, p->vFactorA, p->uFactorB, p->vFactorB});
        EXPECT_EQ(factors.size(), 60u * 4u) << step.what;
        if (firstFactors.empty())
            firstFactors = factors;
        EXPECT_EQ(factors, firstFactors) << step.what;
    }
}
