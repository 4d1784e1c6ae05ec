#include "support_files.h"
#include "files/plan_file.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "support/test_support.h"

using namespace ftest;

namespace {

// First Floor, the objects of `body`, Second and Third Floor.
template <typename Body>
Bytes FileOf(uint32_t version, Body body, float secondHeight = 96.0f, bool onSecond = false)
{
    TestFileWriter w(version);
    w.Header(DefaultSettingsBlock());
    w.Floor("First Floor", 1, 1, 96.0f);
    if (!onSecond)
        body(w);
    w.Floor("Second Floor", 1, 0, secondHeight);
    if (onSecond)
        body(w);
    w.Floor("Third Floor", 1, 0, 96.0f);
    w.End();
    return w.bytes;
}

} // namespace

class VersionUpgrade : public PlanFileTest {};

TEST_F(VersionUpgrade, OldObjectsGetTheirCategoryAndNoElevation)
{
    for (uint32_t version : {10000u, 10300u, 10351u}) {
        SCOPED_TRACE(version);
        Bytes file = FileOf(version, [](TestFileWriter& w) {
            for (uint16_t type : {14, 28, 51, 12, 33, 30, 53, 6}) {
                TObject o = Outline(type, {At(0, 0, 0), At(48, 0, 0)});
                o.category = 99;  // only 10400 and later store it
                w.Object(o);
                if (type == 12 || (type == 51 && w.version >= 10351))
                    w.U32(0);
            }
        });
        ASSERT_TRUE(LoadBytes(file));
        std::vector<uint32_t> categories;
        for (PlanObject* o = Storey(0)->firstObject; o; o = o->next) {
            categories.push_back(o->category);
            EXPECT_EQ(0.0f, o->elevation);
            EXPECT_EQ(0, o->onTerrain);
        }
        EXPECT_EQ((std::vector<uint32_t>{16, 128, 64, 2, 16, 128, 64, 2}), categories);
    }
}

TEST_F(VersionUpgrade, Version10300WallIsFittedToItsStorey)
{
    Bytes file = FileOf(10300, [](TestFileWriter& w) {
        TObject wall = Outline(12, {At(0, -30, 0), At(120, -30, 0), At(120, -30, 120)});
        wall.params[0] = 0.0f;   // height
        wall.params[1] = 24.0f;  // stud spacing, replaced by the upgrade
        wall.offsetSide = 7;
        wall.style = 5;
        wall.points[0].height = 0.0f;
        wall.points[1].height = 50.0f;
        for (TPoint& p : wall.points) {
            p.textureA = p.textureB = 4;
            p.flags = 3;
            p.word1 = 9;
        }
        w.Object(wall);
        w.U32(0);
    }, 100.0f, true);
    ASSERT_TRUE(LoadBytes(file));
    PlanObject* wall = Storey(1)->firstObject;
    ASSERT_NE(nullptr, wall);
    EXPECT_FLOAT_EQ(100.0f, wall->parameters[0]);
    EXPECT_FLOAT_EQ(16.0f, wall->parameters[1]);
    EXPECT_FLOAT_EQ(0.5f, wall->parameters[2]);
    EXPECT_FLOAT_EQ(12.0f, wall->parameters[3]);
    EXPECT_EQ(0u, wall->offsetSide);
    EXPECT_EQ(1700u, wall->styleOrTexture);
    EXPECT_EQ(1, wall->colourM[0]);
    EXPECT_EQ(2213u, wall->imageId1);
    EXPECT_EQ(2212u, wall->imageId2);
    EXPECT_EQ(2219u, wall->value3);
    EXPECT_EQ(65535, wall->colour3.red);
    EXPECT_EQ(65535, wall->colour4.green);
    EXPECT_EQ(65535, wall->colour5.blue);
    const float heights[3] = {100.0f, 50.0f, 100.0f};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        PlanVertex* v = VertexAt(wall, i);
        EXPECT_EQ(0.0f, v->position[1]);
        EXPECT_EQ(0u, v->faceTextureA);
        EXPECT_EQ(0u, v->faceTextureB);
        EXPECT_EQ(0u, v->segmentFlags);
        EXPECT_EQ(0u, v->faceFlagsA);
        EXPECT_EQ(uint16_t(i % 2), v->alternationMarker);
        EXPECT_FLOAT_EQ(96.0f, v->segmentElevation);  // the storey's base
        EXPECT_FLOAT_EQ(heights[i], v->mainHeight);
        EXPECT_FLOAT_EQ(10.0f, v->angleA);
        EXPECT_FLOAT_EQ(10.0f, v->angleB);
        EXPECT_FLOAT_EQ(125.0f, v->heightC);
        EXPECT_FLOAT_EQ(175.0f, v->heightD);
    }
}

TEST_F(VersionUpgrade, CurrentWallKeepsItsValuesButGetsSaneHeights)
{
    Bytes file = FileOf(10410, [](TestFileWriter& w) {
        TObject wall = Outline(12, {At(0, 0, 0), At(120, 0, 0)});
        wall.params[0] = 0.2f;
        wall.params[1] = 2.0f;
        wall.style = 5;
        wall.points[0].side = 1;
        wall.points[0].elevation = 7.0f;
        w.Object(wall);
        w.U32(0);
    });
    ASSERT_TRUE(LoadBytes(file));
    PlanObject* wall = Storey(0)->firstObject;
    ASSERT_NE(nullptr, wall);
    EXPECT_FLOAT_EQ(96.0f, wall->parameters[0]);
    EXPECT_FLOAT_EQ(16.0f, wall->parameters[1]);
    EXPECT_EQ(5u, wall->styleOrTexture);
    EXPECT_EQ(1, wall->firstVertex->alternationMarker);
    EXPECT_FLOAT_EQ(7.0f, wall->firstVertex->segmentElevation);
}

TEST_F(VersionUpgrade, OldStairTakesTheStoreyHeight)
{
    for (uint32_t version : {10350u, 10410u}) {
        Bytes file = FileOf(version, [](TestFileWriter& w) {
            TObject stair = Outline(38, {At(0, 0, 0), At(0, 0, 100)});
            stair.params[4] = 33.0f;
            w.Object(stair);
        }, 110.0f, true);
        ASSERT_TRUE(LoadBytes(file));
        PlanObject* stair = Storey(1)->firstObject;
        ASSERT_NE(nullptr, stair);
        EXPECT_FLOAT_EQ(version < 10400 ? 110.0f : 33.0f, stair->parameters[4]);
    }
}

TEST_F(VersionUpgrade, PointTailsOfEachVersion)
{
    for (uint32_t version : {10000u, 10300u, 10350u, 10400u}) {
        SCOPED_TRACE(version);
        Bytes file = FileOf(version, [](TestFileWriter& w) {
            TObject line = Outline(6, {At(1, 2, 3), At(4, 5, 6)});
            TPoint& p = line.points[1];
            p.flags = 1; p.word1 = 2; p.height = 3.0f; p.value1 = 4.0f; p.word2 = 5; p.value2 = 6.0f;
            p.elevation = 7.0f; p.word3 = 8; p.short1 = 9; p.side = 1; p.value3 = 11.0f; p.value4 = 12.0f;
            p.colourA[0] = 0x1234;
            line.subType = 77;
            line.params[3] = 2.0f;
            line.params[4] = 3.0f;
            w.Object(line);
        });
        ASSERT_TRUE(LoadBytes(file));
        PlanObject* line = Storey(0)->firstObject;
        ASSERT_NE(nullptr, line);
        PlanVertex* v = VertexAt(line, 1);
        ASSERT_NE(nullptr, v);
        EXPECT_FLOAT_EQ(5.0f, v->position[1]);
        EXPECT_EQ(0x1234, v->faceColourA.red);
        bool has10300 = version >= 10300, has10350 = version >= 10350, has10400 = version >= 10400;
        EXPECT_EQ(has10300 ? 1u : 0u, v->segmentFlags);
        EXPECT_EQ(has10300 ? 2u : 0u, v->faceFlagsA);
        EXPECT_EQ(has10300 ? 3.0f : 0.0f, v->mainHeight);
        EXPECT_EQ(has10300 ? 4.0f : 0.0f, v->angleA);
        EXPECT_EQ(has10350 ? 5u : 0u, v->faceFlagsB);
        EXPECT_EQ(has10350 ? 6.0f : 0.0f, v->angleB);
        EXPECT_EQ(has10400 ? 7.0f : 0.0f, v->segmentElevation);
        EXPECT_EQ(has10400 ? 8u : 0u, v->segmentStyle);
        EXPECT_EQ(has10400 ? 9 : 0, v->segmentStyleExtra);
        EXPECT_EQ(has10400 ? 12.0f : 0.0f, v->heightD);
        EXPECT_EQ(has10300 ? 77u : 0u, line->subType);
        EXPECT_EQ(has10300 ? 2.0f : 0.0f, line->parameters[3]);
        EXPECT_EQ(has10400 ? 3.0f : 0.0f, line->parameters[4]);
    }
}

TEST_F(VersionUpgrade, Version10351DeckReadsItsParts)
{
    Bytes file = FileOf(10351, [](TestFileWriter& w) {
        TObject deck = Outline(51, {At(0, 0, 0), At(100, 0, 0), At(100, 0, 100), At(0, 0, 100)});
        deck.closed = 1;
        w.Object(deck);
        w.U32(1);
        w.U16(204);
        TObject steps = Outline(53, {At(10, 0, 0), At(70, 0, 0)});
        w.ObjectHeader(steps);
        w.Points(steps);
        TOpening block;
        block.typeCopy = 53;
        block.startIndex = 1;
        block.endIndex = 2;
        block.width = 60.0f;
        block.bars1 = 1;
        w.OpeningBlock(block);
    });
    ASSERT_TRUE(LoadBytes(file));
    PlanObject* deck = Storey(0)->firstObject;
    ASSERT_NE(nullptr, deck);
    PlanObject* steps = deck->firstChild;
    ASSERT_NE(nullptr, steps);
    EXPECT_EQ(53, steps->type);
    const OpeningRecord* r = static_cast<const OpeningRecord*>(steps->link);
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(VertexAt(deck, 1), r->startVertex);
    EXPECT_EQ(VertexAt(deck, 2), r->endVertex);
    EXPECT_FLOAT_EQ(60.0f, r->width);
    EXPECT_EQ(1, r->glazingBarsAcross);
    EXPECT_EQ(2u, steps->vertexCount);
}

TEST_F(VersionUpgrade, OlderDeckHasNoExtras)
{
    // A 10350 deck is followed directly by the next record.
    Bytes file = FileOf(10350, [](TestFileWriter& w) {
        TObject deck = Outline(51, {At(0, 0, 0), At(100, 0, 0), At(100, 0, 100)});
        deck.points[1].flags = 2 | 8;
        deck.points[1].value1 = 48.0f;
        w.Object(deck);
        w.Object(Outline(6, {At(0, 0, 0), At(1, 0, 1)}));
    });
    ASSERT_TRUE(LoadBytes(file));
    PlanObject* deck = Storey(0)->firstObject;
    ASSERT_NE(nullptr, deck);
    ASSERT_NE(nullptr, deck->next);
    EXPECT_EQ(6, deck->next->type);
    EXPECT_EQ(10u, VertexAt(deck, 1)->segmentFlags);
}

TEST_F(VersionUpgrade, Version10350DeckFlagsBecomeDeckSteps)
{
    Bytes file = FileOf(10350, [](TestFileWriter& w) {
        TObject deck = Outline(51, {At(0, 0, 0), At(200, 0, 0), At(200, 0, 200), At(0, 0, 200)});
        deck.closed = 1;
        // Second vertex: steps on segment 2-3 with the first option; last vertex: steps on
        // the closing segment with the second option; the first carries no part.
        deck.points[1].flags = 2 | 8;
        deck.points[1].value1 = 4.0f;
        deck.points[1].value2 = 2.0f;
        deck.points[3].flags = 2 | 16;
        deck.points[3].value1 = 5.0f;
        deck.points[3].value2 = 1.0f;
        deck.points[0].flags = 8;
        w.Object(deck);
        w.Object(Outline(6, {At(0, 0, 0), At(1, 0, 1)}));
    });
    vtest::MessageBoxRecorder boxes;
    ASSERT_TRUE(LoadBytes(file));
    EXPECT_EQ(0u, boxes.Count());
    PlanObject* deck = Storey(0)->firstObject;
    ASSERT_NE(nullptr, deck);
    ASSERT_EQ(51, deck->type);
    ASSERT_EQ(2, CountChildren(deck));
    const int starts[2] = {1, 3}, ends[2] = {2, 0};
    // The stored sizes (4, 5 by 2, 1) are display units: inches at 1:36, two plan units an inch.
    const float widths[2] = {8.0f, 10.0f}, heights[2] = {4.0f, 2.0f};
    const uint16_t across[2] = {1, 0}, down[2] = {0, 1};
    int i = 0;
    for (PlanObject* steps = deck->firstChild; steps; steps = steps->next, ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(53, steps->type);
        EXPECT_EQ(deck, steps->owner);
        EXPECT_EQ(deck->floor, steps->floor);
        const OpeningRecord* r = static_cast<const OpeningRecord*>(steps->link);
        ASSERT_NE(nullptr, r);
        EXPECT_EQ(VertexAt(deck, starts[i]), r->startVertex);
        EXPECT_EQ(VertexAt(deck, ends[i]), r->endVertex);
        EXPECT_FLOAT_EQ(widths[i], r->width);
        EXPECT_FLOAT_EQ(heights[i], r->height);
        EXPECT_EQ(across[i], r->glazingBarsAcross);
        EXPECT_EQ(down[i], r->glazingBarsDown);
    }
    // Saved, the steps travel as the deck's parts of the current version.
    Bytes first = SaveBytes("a.ZRO");
    ASSERT_TRUE(LoadBytes(first));
    EXPECT_EQ(2, CountChildren(Storey(0)->firstObject));
    EXPECT_TRUE(first == SaveBytes("b.ZRO"));
}

TEST_F(VersionUpgrade, Version10400HeaderTailAndRoundTrip)
{
    Bytes file = FileOf(10400, [](TestFileWriter& w) {
        TObject roof = Outline(14, {At(0, 0, 0), At(100, 0, 0), At(100, 0, 100)});
        roof.category = 4;
        roof.elevation = 12.0f;
        roof.onTerrain = 1;
        roof.value3 = 31;
        roof.colour5[1] = 500;
        roof.params[4] = 9.0f;
        w.Object(roof);
    });
    ASSERT_TRUE(LoadBytes(file));
    PlanObject* roof = Storey(0)->firstObject;
    ASSERT_NE(nullptr, roof);
    EXPECT_EQ(4u, roof->category);
    EXPECT_FLOAT_EQ(12.0f, roof->elevation);
    EXPECT_EQ(1, roof->onTerrain);
    EXPECT_EQ(31u, roof->value3);
    EXPECT_EQ(500, roof->colour5.green);
    EXPECT_FLOAT_EQ(9.0f, roof->parameters[4]);
    // An older plan saved once is a current plan: saved again it stays byte for byte.
    Bytes first = SaveBytes("a.ZRO");
    ASSERT_TRUE(LoadBytes(first));
    EXPECT_TRUE(first == SaveBytes("b.ZRO"));
}

TEST_F(VersionUpgrade, EveryOlderVersionSavesAsTheCurrentOneStably)
{
    for (uint32_t version : {10000u, 10300u, 10350u, 10351u, 10400u}) {
        SCOPED_TRACE(version);
        Bytes file = FileOf(version, [](TestFileWriter& w) {
            TObject wall = Outline(12, {At(0, 0, 0), At(120, 0, 0), At(120, 0, 120)});
            w.Object(wall);
            w.U32(1);
            w.U16(201);
            TObject door = Outline(16, {At(40, 0, 0), At(70, 0, 0)});
            w.ObjectHeader(door);
            w.Points(door);
            TOpening block;
            block.startIndex = 0;
            block.endIndex = 1;
            block.distance = 40.0f;
            block.remaining = 50.0f;
            w.OpeningBlock(block);
            w.Object(Outline(28, {At(5, 0, 5)}));
            w.Object(Outline(22, {At(0, 0, 200), At(100, 0, 200)}));
        });
        ASSERT_TRUE(LoadBytes(file));
        Bytes first = SaveBytes("a.ZRO");
        EXPECT_EQ(10410u, ReadBE32(first, 0));
        ASSERT_TRUE(WalkPlanBody(first).ok);
        ASSERT_TRUE(LoadBytes(first));
        EXPECT_TRUE(first == SaveBytes("b.ZRO"));
    }
}
