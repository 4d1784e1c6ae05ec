#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/record_memory.h"
#include "render3d/scene_upkeep.h"
#include "support/plan_fixtures.h"
#include "tools/roof_tool.h"
#include <gtest/gtest.h>
#include <math.h>
#include <set>
#include <utility>
#include <vector>

namespace {

struct Extent {
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f, minZ = 1e9f, maxZ = -1e9f;
};

Extent ExtentOf(const ScenePolygon* polygon)
{
    Extent e;
    for (const PolygonOutline* o = polygon->outlines; o; o = o->next)
        for (int32_t i = 0; i < o->vertexCount; ++i) {
            const MeshVertex& v = o->vertices[i];
            e.minX = fminf(e.minX, v.x), e.maxX = fmaxf(e.maxX, v.x);
            e.minY = fminf(e.minY, v.y), e.maxY = fmaxf(e.maxY, v.y);
            e.minZ = fminf(e.minZ, v.z), e.maxZ = fmaxf(e.maxZ, v.z);
        }
    return e;
}

// A stretch along one axis.
struct Span {
    float lo = 1e9f, hi = -1e9f;
    void Add(float a, float b) { lo = fminf(lo, a), hi = fmaxf(hi, b); }
};

std::vector<ScenePolygon*> Members()
{
    std::vector<ScenePolygon*> members;
    for (ScenePolygon* p = sceneMeshes; p; p = p->next)
        if (p->partKind == kPartFramingMember)
            members.push_back(p);
    return members;
}

class FramingTest : public vtest::LiveSceneTest {
protected:
    void SetUp() override
    {
        LiveSceneTest::SetUp();
        document->settings->framingStyle = 1;
    }
    // A wall 96 long and 96 high straight on the datum, without its mesh.
    PlanObject* Wall(float studSpacing)
    {
        PlanObject* wall = vtest::MakePointObject(ObjWall, Storey(0), {{0, 0, 0}, {96, 0, 0}}, 0, 0);
        wall->colourM[0] = 1;
        wall->parameters[1] = studSpacing;
        wall->firstVertex->mainHeight = 96.0f;
        return wall;
    }
};

} // namespace

TEST_F(FramingTest, StudsFollowTheWallsSpacingOrThePlans)
{
    const struct {
        float wall, plan;
        size_t faces;
    } cases[] = {
        {4.0f, 16.0f, 36},    // 7 studs of 4 faces and 2 plates of 4
        {12.0f, 16.0f, 44},   // 9 studs
        {4.0f, 0.0f, 36},     // a plan spacing of 0 counts as 16
        {4.0f, NAN, 36},
        {NAN, -3.0f, 36},
    };
    for (const auto& c : cases) {
        document->settings->studSpacing = c.plan;
        PlanObject* wall = Wall(c.wall);
        BuildObject3D(wall);
        EXPECT_EQ(Members().size(), c.faces) << c.wall << " " << c.plan;
        for (ScenePolygon* member : Members())
            EXPECT_EQ(member->drawPass, 2);
        FreeScenePolygons();
        FreeObject(wall);
    }
}

TEST_F(FramingTest, ADoorInterruptsTheBottomPlate)
{
    PlanObject* wall = Wall(16.0f);
    PlanObject* door = vtest::MakePointObject(ObjDoor, nullptr, {{48, 0, 0}}, 0, 0);
    OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
    record->startVertex = wall->firstVertex;
    record->distanceFromStart = 48.0f;
    record->width = 32.0f;
    record->height = 80.0f;
    door->link = record;
    vtest::AppendChildObject(wall, door);
    BuildObject3D(wall);
    // Plate undersides lying on the foot: 10 across the wall, flat.
    std::set<std::pair<int, int>> plates;
    for (ScenePolygon* member : Members()) {
        Extent e = ExtentOf(member);
        if (e.minY == 0.0f && e.maxY == 0.0f && fabsf(e.maxZ - e.minZ - 10.0f) < 1e-3f)
            plates.insert({(int)lroundf(e.minX), (int)lroundf(e.maxX)});
    }
    EXPECT_EQ(plates, (std::set<std::pair<int, int>>{{0, 32}, {32, 64}, {64, 96}}));
}

TEST_F(FramingTest, TrussesOfATwoPlaneRoofStandEverySpacingAndAtTheFarEnd)
{
    const struct {
        float length;
        std::set<int> trusses;
        bool ridge;
    } cases[] = {
        {100.0f, {0, 24, 48, 72, 100}, true},
        {10.0f, {10}, false},   // no first truss: nothing joins the last one
    };
    for (const auto& c : cases) {
        PlanObject* roof = vtest::MakePointObject(
            ObjRoof, Storey(0), {{0, 0, 0}, {c.length, 0, 0}, {c.length, 0, 60}, {0, 0, 60}}, 0, 1);
        roof->styleOrTexture = 2;
        roof->size = 6.0f;
        BuildObject3D(roof);
        std::set<int> trusses;
        bool along = false;
        for (ScenePolygon* member : Members()) {
            Extent e = ExtentOf(member);
            // Undersides and tops of the rafters across the roof are 2.5 wide in x.
            if (fabsf(e.maxX - e.minX - 2.5f) < 1e-3f)
                trusses.insert((int)lroundf((e.minX + e.maxX) / 2.0f));
            else if (e.maxX - e.minX > 2.5f)
                along = true;
        }
        EXPECT_EQ(trusses, c.trusses) << c.length;
        EXPECT_EQ(along, c.ridge) << c.length;
        FreeScenePolygons();
        FreeObject(roof);
    }
}

TEST_F(FramingTest, ARoofsFramingSpansItsPlanesAndIsHippedWhereTheyAre)
{
    for (uint32_t style : {3u, 4u, 5u, 6u}) {
        PlanObject* roof = vtest::MakePointObject(
            ObjRoof, Storey(0), {{0, 0, 0}, {240, 0, 0}, {240, 0, 120}, {0, 0, 120}}, 0, 1);
        roof->styleOrTexture = style;
        RebuildRoof(roof);
        // Along the ridge: the planes and their hip triangle; the rafters and the hips.
        Span planes, hip, members, hips;
        for (PlanObject* p = static_cast<PlanObject*>(roof->link); p; p = p->next)
            for (PlanVertex* v = p->firstVertex; v && p->type == ObjRoofPlane; v = v->next)
                (p->vertexCount == 3 ? hip : planes).Add(v->position[0], v->position[0]);
        BuildObject3D(roof);
        for (ScenePolygon* member : Members()) {
            Extent e = ExtentOf(member);
            members.Add(e.minX, e.maxX);
            // A hip runs aslant from the eaves.
            if (fminf(e.maxX - e.minX, e.maxZ - e.minZ) > 5.0f && (e.minZ < 2.0f || e.maxZ > 118.0f))
                hips.Add(e.minX, e.maxX);
        }
        // The rafters stand out by their half width at most.
        EXPECT_NEAR(members.lo, planes.lo, 2.0f) << style;
        EXPECT_NEAR(members.hi, planes.hi, 2.0f) << style;
        EXPECT_NEAR(hips.lo, hip.lo, 2.0f) << style;
        EXPECT_NEAR(hips.hi, hip.hi, 2.0f) << style;
        FreeScenePolygons();
        FreeObject(roof);
    }
}
