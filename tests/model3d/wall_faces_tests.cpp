#include "model3d/opening_holes.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "model3d/wall_rebuild.h"
#include "files/symbol_library.h"
#include "openings3d/opening_models.h"
#include "render3d/scene_upkeep.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/record_memory.h"
#include "support/plan_fixtures.h"
#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>
#include <set>
#include <vector>

namespace {

struct Box {
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    void Add(const MeshVertex& v)
    {
        minX = fminf(minX, v.x), maxX = fmaxf(maxX, v.x);
        minY = fminf(minY, v.y), maxY = fmaxf(maxY, v.y);
    }
};

Box BoxOf(const ScenePolygon* polygon)
{
    Box box;
    for (const PolygonOutline* o = polygon->outlines; o; o = o->next)
        for (int32_t i = 0; i < o->vertexCount; ++i)
            box.Add(o->vertices[i]);
    return box;
}

// Inches drawn at 36: a display length is twice its plan length.
class WallFaceTest : public vtest::LiveSceneTest {
protected:
    void SetUp() override
    {
        LiveSceneTest::SetUp();
        document->settings->drawingScale = 36.0f;
        document->settings->unitSystem = kUnitSystemFeetInches;
    }
    // An open wall 6 thick on a 12 slab, 96 high on every segment.
    PlanObject* Wall(std::initializer_list<vtest::Point3> points)
    {
        PlanObject* wall = vtest::MakePointObject(ObjWall, Storey(0), points, 0, 0);
        wall->size = 6.0f;
        wall->parameters[0] = 96.0f;
        wall->parameters[2] = 12.0f;
        wall->colourM[0] = 1;
        for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
            v->mainHeight = v->heightC = 96.0f;
            v->angleA = v->angleB = 10.0f;
        }
        return wall;
    }
    void Build(PlanObject* wall)
    {
        FreeScenePolygons();
        RebuildWall(wall);
        BuildObject3D(wall);
    }
    // The wall face of the side whose trim word is given.
    ScenePolygon* Face(const uint32_t* trimWord)
    {
        for (ScenePolygon* p = sceneMeshes; p; p = p->next)
            if (p->partKind == kPartWallFace && p->trimWord == trimWord)
                return p;
        return nullptr;
    }
    // The face's height above its foot at the end nearest x.
    static float HeightAt(const ScenePolygon* face, float x)
    {
        float top = 0.0f;
        for (const PolygonOutline* o = face->outlines; o; o = o->next)
            for (int32_t i = 0; i < o->vertexCount; ++i)
                if (fabsf(o->vertices[i].x - x) < 1.0f)
                    top = fminf(top, o->vertices[i].y);
        return -top;
    }
};

PlanObject* AddOpening(PlanObject* wall, uint16_t type, uint16_t style, float at, float width)
{
    PlanObject* opening = vtest::MakePointObject(type, nullptr, {{at, 0, 0}}, 0, 0);
    OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
    record->typeCopy = type;
    record->style = style;
    record->startVertex = wall->firstVertex;
    record->endVertex = wall->firstVertex->next;
    record->distanceFromStart = at;
    record->width = width;
    record->height = 60.0f;
    opening->link = record;
    vtest::AppendChildObject(wall, opening);
    return opening;
}

} // namespace

TEST_F(WallFaceTest, ProfilesByShapeCode)
{
    const struct {
        uint32_t code;
        float p, q;
        int pieces;     // a profile of more than four points is cut into triangles
        float atStart, atEnd, top;
    } cases[] = {
        {0, 10, 10, 1, 216, 216, 216},   // 96 and a 12 slab at scale 36
        {1, 6, 6, 3, 216, 216, 246},     // gable meeting half way up 30 more
        {2, 6, 10, 1, 216, 276, 276},    // 120 long rising half a unit per unit
        {1, 0, 6, 1, 216, 216, 216},     // no pitch: plain
        {4, 6, 0, 1, 216, 216, 216},
        {8, 0, 10, 1, 216, 216, 216},
    };
    for (const auto& c : cases) {
        PlanObject* wall = Wall({{0, 0, 0}, {120, 0, 0}});
        wall->firstVertex->segmentStyle = c.code;
        wall->firstVertex->angleA = c.p;
        wall->firstVertex->angleB = c.q;
        Build(wall);
        ScenePolygon* face = Face(&wall->firstVertex->faceFlagsA);
        ASSERT_NE(face, nullptr) << c.code;
        int pieces = 0;
        for (const PolygonOutline* o = face->outlines; o; o = o->next)
            ++pieces;
        EXPECT_EQ(pieces, c.pieces) << c.code;
        EXPECT_NEAR(HeightAt(face, 0.0f), c.atStart, 1e-3f) << c.code;
        EXPECT_NEAR(HeightAt(face, 120.0f), c.atEnd, 1e-3f) << c.code;
        EXPECT_NEAR(-BoxOf(face).minY, c.top, 1e-3f) << c.code;
        FreeScenePolygons();
        FreeObject(wall);
    }
}

TEST_F(WallFaceTest, TrimBitsChooseABaseboardOrAWainscot)
{
    const struct {
        uint32_t bits;
        std::vector<int16_t> codes;
        float height;
    } cases[] = {
        {1 | 16, {63}, 8.0f},            // 4.0 at scale 36
        {4, {64, 64, 64}, 84.0f},        // 42.0
        {1 | 4, {63}, 12.0f},            // the baseboard only, 6.0 without a height bit
    };
    for (const auto& c : cases) {
        PlanObject* wall = Wall({{0, 0, 0}, {120, 0, 0}});
        wall->firstVertex->faceFlagsA = c.bits;
        Build(wall);
        ScenePolygon* face = Face(&wall->firstVertex->faceFlagsA);
        ASSERT_NE(face, nullptr);
        std::vector<int16_t> codes;
        Box all;
        for (ScenePolygon* part = face->parts; part; part = part->next) {
            codes.push_back(part->sourceType);
            Box box = BoxOf(part);
            all.minY = fminf(all.minY, box.minY), all.maxY = fmaxf(all.maxY, box.maxY);
            EXPECT_EQ(part->buildOwner, wall);
        }
        EXPECT_EQ(codes, c.codes) << c.bits;
        EXPECT_NEAR(all.maxY - all.minY, c.height, 1e-3f) << c.bits;
        EXPECT_EQ(Face(&wall->firstVertex->faceFlagsB)->parts, nullptr);
        FreeScenePolygons();
        FreeObject(wall);
    }
}

TEST_F(WallFaceTest, OpeningsAreCutInOrderOfTheirSide)
{
    PlanObject* wall = Wall({{0, 0, 0}, {240, 0, 0}});
    AddOpening(wall, ObjWindow, 600, 120.0f, 40.0f);
    AddOpening(wall, ObjDoor, 501, 36.0f, 30.0f);
    Build(wall);
    const uint32_t* sides[2] = {&wall->firstVertex->faceFlagsA, &wall->firstVertex->faceFlagsB};
    const float first[2] = {36.0f, 120.0f};
    for (int side = 0; side < 2; ++side) {
        ScenePolygon* face = Face(sides[side]);
        ASSERT_NE(face, nullptr);
        ASSERT_NE(face->openings, nullptr);
        ASSERT_NE(face->openings->next, nullptr);
        Box hole = BoxOf(face->openings);
        EXPECT_NEAR((hole.minX + hole.maxX) / 2.0f, first[side], 1e-3f) << side;
        EXPECT_EQ(face->openings->sourceType, kSceneOpeningHole);
    }
}

TEST_F(WallFaceTest, CapsCloseTheWallWhereNeighboursDiffer)
{
    PlanObject* wall = Wall({{0, 0, 0}, {120, 0, 0}, {120, 0, 120}});
    auto caps = [] {
        int n = 0;
        for (ScenePolygon* p = sceneMeshes; p; p = p->next)
            n += p->colourA.red == 57568 ? 1 : 0;
        return n;
    };
    Build(wall);
    EXPECT_EQ(caps(), 0);
    wall->firstVertex->next->mainHeight = 120.0f;
    Build(wall);
    EXPECT_EQ(caps(), 2);
    // A mesh left from a longer wall: the quads past the wall's last vertex keep plain
    // faces, and the segment that lost its next vertex is capped.
    auto count = [] {
        int n = 0;
        for (ScenePolygon* p = sceneMeshes; p; p = p->next)
            ++n;
        return n;
    };
    wall->firstVertex->next->mainHeight = 96.0f;
    Build(wall);
    int whole = count();
    PlanVertex* last = wall->firstVertex->next->next;
    wall->firstVertex->next->next = nullptr;
    wall->vertexCount = 2;
    ReleaseRecord(last);
    FreeScenePolygons();
    BuildObject3D(wall);
    EXPECT_EQ(count(), whole + 1);

    // A closed square: both sides of its four segments, its corners closed, no caps.
    PlanObject* square = Wall({{0, 0, 200}, {100, 0, 200}, {100, 0, 300}, {0, 0, 300}});
    square->closed = 1;
    Build(square);
    int faces = 0;
    std::set<const uint32_t*> words;
    for (ScenePolygon* p = sceneMeshes; p; p = p->next)
        if (p->partKind == kPartWallFace) {
            ++faces;
            words.insert(p->trimWord);
        }
    EXPECT_EQ(faces, 8);
    EXPECT_EQ(words.size(), 8u);
    EXPECT_EQ(caps(), 0);
}

TEST_F(WallFaceTest, HoleOutlinesByStyle)
{
    const struct {
        uint16_t style;
        float width, height;
        uint8_t hinge;
        uint16_t flags;
        Box box;
    } cases[] = {
        {501, 30, 40, 0, 0, {34, 66, -40, 1}},   // 1.0 wider each side, 1.0 below the sill
        {614, 30, 20, 0, 0, {35, 65, -31, 0}},   // lower than wide: w + 1.0 high
        {622, 30, 40, 1, 1, {35, 65, -30, 0}},   // octagon: w by w, no flip, never upside down
        {623, 30, 40, 1, 1, {35, 65, -30, 0}},   // circle: the same
    };
    PlanObject* wall = Wall({{0, 0, 0}, {120, 0, 0}});
    buildObject = wall;
    const float p[3] = {0.0f, 0.0f, 0.0f};
    for (const auto& c : cases) {
        std::vector<MeshVertex> plain, turned;
        for (int variant = 0; variant < 2; ++variant) {
            currentMesh = CreateSceneNode();
            PolygonOutline face = {nullptr, nullptr, 4, {0.0f, 0.0f, 0.5f}, nullptr};
            OpeningRecord record = {};
            record.style = c.style;
            record.width = c.width;
            record.height = c.height;
            record.distanceFromStart = 50.0f;
            record.hingeSide = variant ? c.hinge : 0;
            record.flags = variant ? c.flags : 0;
            BuildOpeningHole(&face, 0.0f, 120.0f, p, &record, 0, 0.0f, 0.0f, 0.0f);
            ASSERT_NE(currentMesh->openings, nullptr) << c.style;
            const PolygonOutline* hole = currentMesh->openings->outlines;
            (variant ? turned : plain).assign(hole->vertices, hole->vertices + hole->vertexCount);
            FreeSceneNode(currentMesh);
            currentMesh = nullptr;
        }
        Box box;
        for (const MeshVertex& v : plain)
            box.Add(v);
        EXPECT_NEAR(box.minX, c.box.minX, 1e-3f) << c.style;
        EXPECT_NEAR(box.maxX, c.box.maxX, 1e-3f) << c.style;
        EXPECT_NEAR(box.minY, c.box.minY, 1e-3f) << c.style;
        EXPECT_NEAR(box.maxY, c.box.maxY, 1e-3f) << c.style;
        if (c.hinge) {
            ASSERT_EQ(plain.size(), turned.size());
            for (size_t i = 0; i < plain.size(); ++i) {
                EXPECT_EQ(plain[i].x, turned[i].x) << c.style;
                EXPECT_EQ(plain[i].y, turned[i].y) << c.style;
            }
        }
    }
    buildObject = nullptr;
}

// The shipped 3D models stand in their wall as closed solids: the faces of each element
// reach from its base (the 12 slab, plus the element's elevation) to its height, in inches
// (two plan units an inch).
TEST_F(WallFaceTest, ShippedFixtureModelsStandAtTheirHeights)
{
    HWND pane = vtest::CreatePaneStandIn();
    activePlanPane = pane;
    ASSERT_TRUE(vtest::LoadShippedSymbolLibraries());
    const struct {
        uint16_t code;
        float elevation, bottom, top;
    } cases[] = {
        {90, 0, 12, 42},    // toilet, 30
        {91, 30, 12, 46},   // kitchen sink placed 30 up: its cabinet from the slab, 34
        {94, 0, 12, 46},    // lavatory, 34
        {95, 0, 12, 32},    // tub, 20
        {96, 0, 12, 36},    // spa, 24
        {97, 0, 12, 90},    // shower, 78
        {124, 6, 18, 54},   // baseboard heater: its box, 36
        {55, 12, 24, 28},   // receptacle: a plate 4 high at its 12
        {73, 42, 54, 58},   // switch at 42
    };
    for (const auto& c : cases) {
        PlanObject* wall = Wall({{0, 0, 0}, {400, 0, 0}});
        PlanObject* element = AddOpening(wall, ObjWallElement, c.code, 200, 120);
        element->subType = c.code;
        static_cast<OpeningRecord*>(element->link)->elevation = c.elevation * 2;
        BuildOpeningModel(element);
        Build(wall);
        Box model;
        bool top = false;
        for (ScenePolygon* p = sceneMeshes; p; p = p->next) {
            if (p->sourceType != ObjWallElementPart)
                continue;
            Box face = BoxOf(p);
            model.minY = fminf(model.minY, face.minY);
            model.maxY = fmaxf(model.maxY, face.maxY);
            top = top || (p->partKind == kPartEndFace && fabsf(face.maxY + c.top * 2) < 1e-3f);
        }
        EXPECT_NEAR(model.maxY, -c.bottom * 2, 1e-3f) << c.code;
        EXPECT_NEAR(model.minY, -c.top * 2, 1e-3f) << c.code;
        EXPECT_TRUE(top) << c.code << " has no top face";
    }
    vtest::FreeSymbolLibraries();
    activePlanPane = nullptr;
    DestroyWindow(pane);
}
