#include "support_view.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_drawing.h"
#include "model3d/scene_polygons.h"
#include "render3d/high_quality_render.h"
#include "files/plan_file.h"
#include "model/plan_floor.h"
#include "model/generated_children.h"
#include "model3d/array_objects.h"
#include "model3d/stairs.h"
#include "render3d/interactive_view.h"
#include "render3d/kept_polygons.h"
#include "render3d/object_polygons.h"
#include "render3d/texture_loading.h"
#include "support/plant_info_files.h"
#include <GL/gl.h>
#include <algorithm>
#include <functional>
#include <string.h>

using view3d::LiveViewTest;
using view3d::Rgb;

namespace {

bool Near(Rgb a, Rgb b, int tolerance)
{
    return abs(a.r - b.r) <= tolerance && abs(a.g - b.g) <= tolerance && abs(a.b - b.b) <= tolerance;
}

// A tall red wall 120 wide, 300 before the walk camera, reaching above the view.
class FinalRenderTest : public LiveViewTest {
protected:
    void SetUp() override
    {
        LiveViewTest::SetUp();
        if (!HasFatalFailure())
            BuildObject3D(Box(-60, 90, 60, 100, 600, {255, 0, 0}));
    }
    // Pixels of the row near the top that are neither the sky at the row's start nor
    // the wall at its middle: the blended edge pixels.
    int BlendedInTopRow(const std::vector<uint8_t>& frame)
    {
        const int y = 10;
        const Rgb sky = Pixel(frame, 1, y), wall = Pixel(frame, width / 2, y);
        EXPECT_FALSE(Near(sky, wall, 20));
        int blended = 0;
        for (int x = 0; x < width; ++x) {
            const Rgb p = Pixel(frame, x, y);
            blended += !Near(p, sky, 2) && !Near(p, wall, 2);
        }
        return blended;
    }
};

} // namespace

TEST_F(FinalRenderTest, OnlyTheFinalRenderBlendsTheWallIntoTheSky)
{
    EXPECT_EQ(0, BlendedInTopRow(Render(false)));
    EXPECT_GE(BlendedInTopRow(Render(true)), 2);
}

TEST_F(FinalRenderTest, PassCountsOtherThanTheFourTablesRenderEightPasses)
{
    Settings()->antiAliasPasses = 8;
    const std::vector<uint8_t> eight = Render(true);
    const struct {
        uint32_t stored, kept;
        bool asEight;
    } cases[] = {{0, 8, true}, {30, 30, true}, {4, 4, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        Settings()->antiAliasPasses = c.stored;
        EXPECT_EQ(c.asEight, Render(true) == eight);
        EXPECT_EQ(c.kept, Settings()->antiAliasPasses);
    }
}

TEST_F(LiveViewTest, ShadowsDarkenTheGroundBesideABoxButNotInViewModeSix)
{
    BuildObject3D(Box(-40, -40, 40, 40, 100, {200, 200, 200}));
    // Pixels of the lower half that the shadows made darker.
    auto darkened = [&](const std::vector<uint8_t>& plain, const std::vector<uint8_t>& shaded) {
        int count = 0;
        for (int y = height / 2; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Rgb a = Pixel(plain, x, y), b = Pixel(shaded, x, y);
                count += b.r < a.r - 10 && b.g < a.g - 10 && b.b <= a.b;
            }
        return count;
    };
    const struct {
        uint16_t mode;
        bool shadows;
    } cases[] = {{5, true}, {6, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Settings()->view3DMode = c.mode;
        Settings()->renderQuality = 0;
        const std::vector<uint8_t> plain = Render(false);
        Settings()->renderQuality = 1;
        const std::vector<uint8_t> shaded = Render(false);
        if (c.shadows)
            EXPECT_GT(darkened(plain, shaded), 200);
        else
            EXPECT_EQ(plain, shaded);
    }
}

TEST_F(LiveViewTest, TheFaceStencilValueStartsAgainAtTwoOnAClearedStencilBeforePassing255)
{
    // Each step from 2 to 254 only moves on; the step past 255 clears the stencil first.
    glClearStencil(7);
    glClear(GL_STENCIL_BUFFER_BIT);
    glClearStencil(0);
    GLubyte stencil = 0;
    const struct {
        int32_t before, after;
        GLubyte left;
    } cases[] = {{2, 3, 7}, {254, 255, 7}, {255, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        runningStencilValue = c.before;
        AdvanceRunningStencilValue();
        EXPECT_EQ(c.after, runningStencilValue);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(width / 2, height / 2, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, &stencil);
        EXPECT_EQ(c.left, stencil);
    }
}

namespace {

// The house sample and beside it a mound, a plant, a chest, a stair under a floor opening
// and a row of walls, one behind the other, each with a door: more wall faces with holes
// than the stencil has values, their doorways one in front of the other.
class KeptSceneTest : public LiveViewTest {
protected:
    static constexpr float kRowX = 700.0f, kRowZ = 0.0f;
    void SetUp() override
    {
        LiveViewTest::SetUp();
        if (HasFatalFailure())
            return;
        activePlanPane = vtest::CreatePaneStandIn();
        ASSERT_TRUE(LoadPlanFile(vtest::SourceFilePath("samples/house.ZRO").c_str()));
        // Beside the house: a mound, a plant on it, a chest, a stair under a floor opening.
        PlanObject* mound = vtest::MakePointObject(ObjTopography, Storey(0),
                                                   {{kRowX - 200, 0, 100}, {kRowX + 400, 0, 100}, {kRowX + 400, 0, 500}, {kRowX - 200, 0, 500}},
                                                   0, 1);
        mound->size = 30.0f;
        vtest::WritePlantInfo(300, {{"AnnualGrowthRate", "40"}, {"MaximumGrowthHeight", "90"}});
        if (PlanObject* plant = CreatePlantObject(Storey(0), 1, 300))
            for (PlanVertex* v = plant->firstVertex; v; v = v->next) {
                v->position[0] = kRowX + 70.0f + v->position[0] * 0.25f;
                v->position[2] = kRowZ + 40.0f + v->position[2] * 0.25f;
            }
        chest = Box(kRowX - 160, kRowZ + 20, kRowX - 100, kRowZ + 60, 40, {40, 40, 200});
        PlanObject* stair = vtest::MakePointObject(ObjStair, Storey(0),
                                                   {{kRowX + 200, 0, 240}, {kRowX + 200, 0, 360}}, 0, 0);
        const float stairSize[5] = {36.0f, 8.0f, 10.0f, 36.0f, 96.0f};
        std::copy(stairSize, stairSize + 5, stair->parameters);
        stair->subType = 800;
        RebuildStair(stair);
        for (uint16_t type : {ObjFloorSlab, ObjFloorOpening}) {
            const float r = type == ObjFloorSlab ? 160.0f : 70.0f, x = kRowX + 240.0f, z = 300.0f;
            PlanObject* slab = vtest::MakePointObject(
                type, Storey(1), {{x - r, -97, z - r}, {x + r, -97, z - r}, {x + r, -97, z + r}, {x - r, -97, z + r}}, 0, 1);
            slab->parameters[2] = 6.0f;
            RebuildSlabChildren(slab);
        }
        for (int i = 0; i < 135; ++i) {
            const float z = kRowZ - 6.0f * (float)i;
            vtest::AddDoor(vtest::AddWall(Storey(0), {{kRowX - 60, 0, z}, {kRowX + 60, 0, z}}, 2), 0, 60.0f,
                           30.0f + (float)(i % 5));
        }
        // The walk camera before the row.
        Settings()->cameraX = kRowX;
        Settings()->cameraZ = kRowZ + 250.0f;
        RebuildAll3D();
        // Every texture of the scene in colours of its own; the plant's with black around.
        for (const ScenePolygon* p = sceneMeshes; p; p = p->next)
            for (uint32_t id : {p->textureA, p->textureB})
                if (id >= 1 && id <= 13999)
                    view3d::WriteLibraryPicture((int32_t)id, id == 300 ? 256 : 8, id == 300 ? 256 : 8,
                                                [id](int x, int y) {
                                                    return id == 300 && x + y < 120
                                                               ? Rgb{0, 0, 0}
                                                               : Rgb{(int)(40 + id * 7 % 200), 40 + x * 29 % 200,
                                                                     40 + y * 23 % 200};
                                                });
        ForgetFailedTextures();
    }
    void TearDown() override
    {
        drawKeptPolygons = true;
        DestroyWindow(activePlanPane);
        activePlanPane = nullptr;
        LiveViewTest::TearDown();
    }
    std::vector<uint8_t> RenderBy(bool kept, bool final)
    {
        drawKeptPolygons = kept;
        return Render(final);
    }
    PlanObject* chest = nullptr;
};

} // namespace

// The scene kept shaded in vertex arrays paints, pixel for pixel, what its polygons sent
// one by one paint: in a repaint and a final render, from the ground and from above the
// floor opening, after edits and in the flat-colour and transparent settings.
TEST_F(KeptSceneTest, PaintsWhatThePolygonsSentOneByOnePaint)
{
    PlanSettings* s = Settings();
    PlanObject* middleWall = nullptr;
    for (PlanObject* o = Storey(0)->firstObject; o; o = o->next)
        if (o->type == ObjWall && o->firstVertex->position[2] == kRowZ - 6.0f * 60)
            middleWall = o;
    ASSERT_NE(nullptr, middleWall);
    const struct {
        const char* name;
        std::function<void()> change;
    } cases[] = {
        {"walk", [] {}},
        {"a run of two differently textured faces", [this] {
             uint32_t id = 1700;
             for (PlanVertex* v = chest->firstVertex; v; v = v->next, id ^= 1)
                 v->faceTextureA = v->faceTextureB = id;
             for (int i : {0, 1})
                 view3d::WriteLibraryPicture(1700 + i, 8, 8, [i](int, int) { return Rgb{200 * i, 90, 200 - 200 * i}; });
             RebuildObject3D(chest);
         }},
        {"fly", [s] { s->cameraMode = 2; s->aerialPitch = 50.0f; s->aerialYaw = 330.0f; orbitDistance = 1800.0f; }},
        {"a wall rebuilt last", [middleWall] { RebuildObject3D(middleWall); }},
        {"a wall deleted", [middleWall] { DeleteObjectWithDependants(middleWall); }},
        {"flat colours", [s] { s->view3DMode = 4; }},
        {"transparency", [s] { s->view3DMode = 5; s->view3DFlag1490 = 1; s->view3DValue1488 = 175; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.change();
        for (bool final : {false, true}) {
            const std::vector<uint8_t> oneByOne = RenderBy(false, final);
            if (getenv("DUMP_DIR"))
                view3d::WriteBmp24(std::string(getenv("DUMP_DIR")) + "\\" + c.name + (final ? "-final" : "") + ".bmp", width, height,
                                   [&](int x, int y) { return Pixel(oneByOne, x, y); });
            EXPECT_EQ(oneByOne, RenderBy(true, final)) << final;
            // Drawn again unchanged, from what was kept.
            EXPECT_EQ(oneByOne, RenderBy(true, final)) << final;
            int scene = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    scene += memcmp(&oneByOne[((size_t)y * width + x) * 3], &oneByOne[0], 3) != 0;
            EXPECT_GT(scene, width * height / 4);
        }
    }
}
