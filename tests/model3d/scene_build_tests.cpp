#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model/plan_floor.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "render3d/object_polygons.h"
#include "render3d/scene_upkeep.h"
#include "support/plan_fixtures.h"
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

using vtest::LiveSceneTest;

namespace {

std::vector<ScenePolygon*> Scene()
{
    std::vector<ScenePolygon*> polygons;
    for (ScenePolygon* p = sceneMeshes; p; p = p->next)
        polygons.push_back(p);
    return polygons;
}

std::vector<ScenePolygon*> OfKind(int16_t kind)
{
    std::vector<ScenePolygon*> polygons;
    for (ScenePolygon* p : Scene())
        if (p->partKind == kind)
            polygons.push_back(p);
    return polygons;
}

class SceneBuildTest : public LiveSceneTest {
protected:
    // A closed box 10 wide and 10 high: a lower and an upper ring of four.
    PlanObject* Box(uint8_t buildFlag)
    {
        PlanObject* box = vtest::MakePointObject(8, Storey(0),
                                                 {{0, 0, 0}, {10, 0, 0}, {10, 0, 10}, {0, 0, 10},
                                                  {0, -10, 0}, {10, -10, 0}, {10, -10, 10},
                                                  {0, -10, 10}},
                                                 0, 1);
        box->rows = 2;
        box->buildFlag = buildFlag;
        return box;
    }
};

} // namespace

TEST_F(SceneBuildTest, AClosedTwoRowSolidGetsFourSidesAndTwoOpposedEnds)
{
    PlanObject* box = Box(1);
    BuildObject3D(box);
    ASSERT_EQ(OfKind(kPartOrdinary).size(), 4u);
    std::vector<ScenePolygon*> ends = OfKind(kPartEndFace);
    ASSERT_EQ(ends.size(), 2u);
    float first = ends[0]->outlines->vector[1];
    float second = ends[1]->outlines->vector[1];
    EXPECT_NE(first, 0.0f);
    EXPECT_FLOAT_EQ(first, -second);
    EXPECT_FLOAT_EQ(ends[1]->outlines->vertices[0].y, -10.0f);
    for (ScenePolygon* p : Scene()) {
        EXPECT_EQ(p->buildOwner, box);
        EXPECT_EQ(p->sourceType, 8);
        EXPECT_EQ(p->drawPass, 1);
    }
    EXPECT_EQ(buildObject, nullptr);

    box->buildFlag = 0;
    RebuildObject3D(box);
    EXPECT_EQ(Scene().size(), 4u);
    // Rows that do not divide the vertices make no mesh.
    box->rows = 3;
    RebuildObject3D(box);
    EXPECT_TRUE(Scene().empty());
}

TEST_F(SceneBuildTest, AClosedWallGroupGetsAFloorAndACeilingAndStaysAWall)
{
    PlanObject* wall = vtest::MakePointObject(ObjWall, Storey(0),
                                              {{0, 0, 0}, {100, 0, 0}, {100, 0, 80}}, 0, 1);
    wall->parameters[2] = 12.0f;
    wall->styleOrTexture = 1700;
    BuildObject3D(wall);
    std::vector<ScenePolygon*> scene = Scene();
    ASSERT_EQ(scene.size(), 2u);
    EXPECT_EQ(scene[0]->sourceType, kSceneFloorUnderWalls);
    EXPECT_EQ(scene[0]->textureSlotA, &wall->styleOrTexture);
    EXPECT_FLOAT_EQ(scene[0]->outlines->vertices[0].y, -12.0f);  // on the slab
    EXPECT_EQ(scene[1]->sourceType, kSceneCeilingUnderWalls);
    EXPECT_EQ(scene[1]->textureSlotA, &wall->imageId1);
    EXPECT_EQ(scene[1]->drawPass, 2);
    EXPECT_EQ(wall->type, ObjWall);
    EXPECT_EQ(wall->closed, 1);
    EXPECT_EQ(wall->buildFlag, 0);
}

TEST_F(SceneBuildTest, TheSceneIsBuiltOnlyWhileTheLiveViewIsShown)
{
    PlanObject* box = Box(0);
    const struct {
        int view;  // 0 none, 1 hidden, 2 shown
        uint8_t flagBefore;
        size_t polygons;
        uint8_t flagAfter;
    } cases[] = {
        {0, 0, 0, 0},
        {0, 1, 0, 1},
        {1, 0, 0, 1},
        {2, 1, 4, 0},
    };
    for (const auto& c : cases) {
        FreeScenePolygons();
        if (c.view)
            ShowLiveView(c.view == 2);
        else
            CloseLiveView();
        scene3DOutOfDate = c.flagBefore;
        RebuildObject3D(box);
        EXPECT_EQ(Scene().size(), c.polygons) << "view " << c.view;
        EXPECT_EQ(scene3DOutOfDate, c.flagAfter) << "view " << c.view;
    }
    // A hidden view keeps the scene it has.
    ShowLiveView(false);
    RebuildAll3D();
    EXPECT_EQ(Scene().size(), 4u);
    EXPECT_EQ(scene3DOutOfDate, 1);
    ShowLiveView(true);
    RebuildAll3D();
    EXPECT_EQ(Scene().size(), 4u);
    Storey(0)->shown = 0;
    RebuildAll3D();
    EXPECT_TRUE(Scene().empty());
}

TEST_F(SceneBuildTest, TheFramingViewLeavesPlantsOut)
{
    PlanObject* plant = vtest::MakePointObject(ObjPlant, Storey(0), {{0, 0, 0}, {5, 0, 0}, {5, 0, 5}},
                                               0, 1);
    document->settings->framingStyle = 1;
    BuildObject3D(plant);
    EXPECT_TRUE(Scene().empty());
    document->settings->framingStyle = 0;
    BuildObject3D(plant);
    std::vector<ScenePolygon*> billboards = OfKind(kPartPlant);
    ASSERT_EQ(billboards.size(), 1u);
    EXPECT_EQ(billboards[0]->outlines->vertexCount, 3);
}

namespace {

// A list walked from its head: every polygon once, each one's previous link the polygon
// before it, and the last polygon the list keeps the one at its end.
void ExpectWholeList(ScenePolygon* head, ScenePolygon* kept, const std::string& where)
{
    std::set<ScenePolygon*> seen;
    ScenePolygon* previous = nullptr;
    for (ScenePolygon* p = head; p; previous = p, p = p->next) {
        ASSERT_TRUE(seen.insert(p).second) << where << ": a polygon comes twice";
        EXPECT_EQ(p->previous, previous) << where;
    }
    EXPECT_EQ(kept, previous) << where << ": the kept last polygon";
}

} // namespace

TEST_F(SceneBuildTest, TheSceneListsStayWholeThroughRemovalsAndRebuilds)
{
    // Six walls with a door and a wainscot each: their faces have holes and parts.
    std::vector<PlanObject*> walls;
    std::map<PlanObject*, char> names;
    for (int i = 0; i < 6; ++i) {
        const float z = 200.0f * (float)i;
        walls.push_back(vtest::AddWall(Storey(0), {{0, 0, z}, {120, 0, z}}, kCategoryFloorPlan));
        walls.back()->firstVertex->faceFlagsA = 4;
        vtest::AddDoor(walls.back(), 0, 60.0f, 30.0f);
        names[walls.back()] = (char)('0' + i);
    }
    const struct {
        const char* what;
        char action;  // b: the whole scene built, d: the wall deleted, r: its edit rebuilt, f: freed
        int wall;
        const char* runs;  // the walls whose polygons follow one another, in list order
    } steps[] = {
        {"built", 'b', -1, "012345"},     {"head deleted", 'd', 0, "12345"},
        {"middle deleted", 'd', 3, "1245"}, {"tail deleted", 'd', 5, "124"},
        {"head rebuilt", 'r', 1, "241"},  {"middle rebuilt", 'r', 4, "214"},
        {"tail rebuilt", 'r', 4, "214"},  {"built again", 'b', -1, "124"},
        {"freed", 'f', -1, ""},
    };
    std::map<PlanObject*, size_t> built;
    size_t holes = 0, parts = 0;
    for (const auto& step : steps) {
        if (step.action == 'b')
            RebuildAll3D();
        else if (step.action == 'd')
            FreeObject(walls[step.wall]);
        else if (step.action == 'r')
            RebuildObject3D(walls[step.wall]);
        else
            FreeScenePolygons();
        ExpectWholeList(sceneMeshes, sceneMeshesTail, step.what);
        std::string runs;
        std::map<PlanObject*, size_t> count;
        for (ScenePolygon* p = sceneMeshes; p; p = p->next) {
            if (runs.empty() || runs.back() != names[p->buildOwner])
                runs += names[p->buildOwner];
            ++count[p->buildOwner];
            ExpectWholeList(p->openings, p->lastOpening, std::string(step.what) + ", holes");
            ExpectWholeList(p->parts, p->lastPart, std::string(step.what) + ", parts");
            holes += p->openings ? 1 : 0;
            parts += p->parts ? 1 : 0;
        }
        EXPECT_EQ(runs, step.runs) << step.what;
        if (built.empty())
            built = count;
        for (const auto& owned : count)
            EXPECT_EQ(owned.second, built[owned.first]) << step.what << ", wall " << names[owned.first];
    }
    EXPECT_GT(holes, 0u);
    EXPECT_GT(parts, 0u);
}
