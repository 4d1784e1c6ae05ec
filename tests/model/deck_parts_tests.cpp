#include "support_model.h"
#include "model/deck_parts.h"
#include "model3d/generated_parts.h"
#include "model3d/stairs.h"
#include "support/test_support.h"
#include <vector>

using namespace mtest;

namespace {

const char* const kStepsDoNotFit =
    "E' stato accorciato un lato di terrazza oppure è stato inserito un gradino più ampio del "
    "lato della terrazza: eliminare uno o più gradini.";

class DeckTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        // One display inch is one plan unit.
        document->settings->drawingScale = 72.0f;
        stairRunState = StairRunState{};
    }
    void TearDown() override
    {
        for (PlanObject* deck : decks)
            FreeGeneratedParts(deck);
        DocumentTest::TearDown();
    }

    PlanObject* MakeDeck(float side, float height)
    {
        PlanObject* deck = MakeObject(ObjDeck, Storey(0),
                                      {{0, -height, 0}, {side, -height, 0}, {side, -height, side},
                                       {0, -height, side}},
                                      0, 1);
        deck->parameters[0] = height;
        deck->parameters[1] = 6.0f;
        deck->styleOrTexture = 5;
        deck->colourA = {1, 2, 3};
        deck->imageId2 = 9;
        deck->colour4 = {7, 8, 9};
        for (PlanVertex* v = deck->firstVertex; v; v = v->next)
            v->mainHeight = 36.0f;
        decks.push_back(deck);
        return deck;
    }

    static OpeningRecord* Record(PlanObject* step)
    {
        return static_cast<OpeningRecord*>(step->link);
    }
    static std::vector<PlanObject*> PartsOfType(PlanObject* owner, uint16_t type)
    {
        std::vector<PlanObject*> parts;
        for (PlanObject* p = static_cast<PlanObject*>(owner->link); p; p = p->next)
            if (p->type == type)
                parts.push_back(p);
        return parts;
    }

    std::vector<PlanObject*> decks;
};

} // namespace

TEST_F(DeckTest, StepsOnA60SideAreNarrowedToFitAndCentred)
{
    vtest::MessageBoxRecorder boxes;
    PlanObject* deck = MakeDeck(60.0f, 24.0f);
    BuildKind53OnSegment(deck, VertexAt(deck, 0), VertexAt(deck, 1));
    PlanObject* step = deck->firstChild;
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->type, ObjDeckSteps);
    EXPECT_EQ(step->owner, deck);
    EXPECT_EQ(step->closed, 0);
    EXPECT_EQ(step->colourB.red, 65535);
    // Default width 60 at most 60 - 11; centred on the side.
    OpeningRecord* record = Record(step);
    EXPECT_FLOAT_EQ(record->width, 49.0f);
    EXPECT_FLOAT_EQ(record->distanceFromStart, 30.0f);
    EXPECT_FLOAT_EQ(record->distanceToEnd, 30.0f);
    EXPECT_FLOAT_EQ(record->height, 24.0f);
    EXPECT_EQ(record->glazingBarsAcross, 1);
    EXPECT_EQ(record->glazingBarsDown, 1);
    EXPECT_EQ(record->startVertex, VertexAt(deck, 0));
    EXPECT_NEAR(VertexAt(step, 0)->position[0], 5.5f, 1e-4f);
    EXPECT_NEAR(VertexAt(step, 1)->position[0], 54.5f, 1e-4f);
    EXPECT_FLOAT_EQ(VertexAt(step, 0)->position[1], 0.0f);
    EXPECT_EQ(step->vertexCount, 2u);

    // The side shortened to 40: span 34, the step narrowed to 21 and moved back in.
    VertexAt(deck, 1)->position[0] = 40.0f;
    EXPECT_EQ(FitDeckSteps(deck), 0);
    ASSERT_EQ(deck->firstChild, step);
    EXPECT_FLOAT_EQ(record->width, 21.0f);
    EXPECT_FLOAT_EQ(record->distanceFromStart, 15.5f);
    EXPECT_NEAR(VertexAt(step, 0)->position[0], 5.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(step, 1)->position[0], 26.0f, 1e-4f);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(DeckTest, ASideTooShortForAnyStepRefusesOrRemovesIt)
{
    vtest::MessageBoxRecorder boxes;
    PlanObject* deck = MakeDeck(60.0f, 24.0f);
    BuildKind53OnSegment(deck, VertexAt(deck, 0), VertexAt(deck, 1));
    ASSERT_NE(deck->firstChild, nullptr);
    // 19 long: the narrowing would leave a width of 0.
    VertexAt(deck, 1)->position[0] = 19.0f;
    EXPECT_EQ(FitDeckSteps(deck), 1);
    EXPECT_EQ(deck->firstChild, nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, kStepsDoNotFit);

    // 11 long: placing would make a step of width 0; nothing is placed.
    VertexAt(deck, 1)->position[0] = 11.0f;
    BuildKind53OnSegment(deck, VertexAt(deck, 0), VertexAt(deck, 1));
    EXPECT_EQ(deck->firstChild, nullptr);
    EXPECT_EQ(boxes.Count(), 2u);
}

TEST_F(DeckTest, ARiseOf30GivesFourStepsOf7AndAHalfDownToTheGround)
{
    PlanObject* deck = MakeDeck(100.0f, 30.0f);
    BuildKind53OnSegment(deck, VertexAt(deck, 0), VertexAt(deck, 1));
    PlanObject* step = deck->firstChild;
    ASSERT_NE(step, nullptr);
    Record(step)->width = 36.0f;
    Record(step)->height = 30.0f;
    RebuildDeck(deck);

    std::vector<PlanObject*> treads = PartsOfType(deck, 43);
    ASSERT_EQ(treads.size(), 4u);
    // The flight starts 4 treads of 10 out from the side (z = -40) on the ground (0)
    // and climbs to the deck's top (-30); its left edge is the one at x = 68.
    for (int i = 0; i < 4; ++i) {
        PlanVertex* corner = treads[i]->firstVertex;
        EXPECT_NEAR(corner->position[0], 68.0f, 1e-3f);
        EXPECT_NEAR(corner->position[1], -7.5f * i, 1e-3f);
        EXPECT_NEAR(corner->position[2], -40.0f + 10.0f * i, 1e-3f);
        PlanVertex* high = VertexAt(treads[i], 6);
        EXPECT_NEAR(high->position[0], 32.0f, 1e-3f);
        EXPECT_NEAR(high->position[1], -7.5f * (i + 1), 1e-3f);
        EXPECT_NEAR(high->position[2], -30.0f + 10.0f * i, 1e-3f);
        EXPECT_EQ(corner->faceTextureA, 5u);
    }
    // Railings on both sides of the steps: two balusters per step and side, a post at
    // the foot and one at the top of each side.
    EXPECT_EQ(stairRunState.balusterCount, 16u);
    EXPECT_EQ(stairRunState.postCount, 4u);
}

TEST_F(DeckTest, ARiseOf3StillGivesOneStep)
{
    PlanObject* deck = MakeDeck(100.0f, 30.0f);
    BuildKind53OnSegment(deck, VertexAt(deck, 0), VertexAt(deck, 1));
    OpeningRecord* record = Record(deck->firstChild);
    record->height = 3.0f;
    record->glazingBarsAcross = 0;
    record->glazingBarsDown = 0;
    RebuildDeck(deck);
    std::vector<PlanObject*> treads = PartsOfType(deck, 43);
    ASSERT_EQ(treads.size(), 1u);
    // One tread out from the side, from the ground 3 below the deck's top up to it.
    EXPECT_NEAR(treads[0]->firstVertex->position[1], -27.0f, 1e-3f);
    EXPECT_NEAR(VertexAt(treads[0], 4)->position[1], -30.0f, 1e-3f);
    EXPECT_NEAR(treads[0]->firstVertex->position[2], -10.0f, 1e-3f);
}

TEST_F(DeckTest, EdgeFacesAndARailingInterruptedByTheSteps)
{
    PlanObject* deck = MakeDeck(100.0f, 30.0f);
    VertexAt(deck, 0)->segmentFlags = 1;
    VertexAt(deck, 2)->segmentFlags = 4;
    BuildKind53OnSegment(deck, VertexAt(deck, 0), VertexAt(deck, 1));
    PlanObject* step = deck->firstChild;
    Record(step)->width = 36.0f;
    Record(step)->height = 30.0f;
    RebuildDeck(deck);

    std::vector<PlanObject*> faces = PartsOfType(deck, 52);
    ASSERT_EQ(faces.size(), 4u);
    // 12.0 deep under the deck's top, or down to the ground for a skirted side.
    EXPECT_NEAR(VertexAt(faces[0], 0)->position[1], -30.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(faces[0], 1)->position[0], 100.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(faces[0], 2)->position[1], -18.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(faces[2], 2)->position[1], 0.0f, 1e-4f);
    EXPECT_EQ(faces[0]->closed, 0);
    EXPECT_EQ(faces[0]->firstVertex->faceTextureB, 5u);
    EXPECT_EQ(faces[0]->firstVertex->faceColourA.green, 2);
    EXPECT_EQ(faces[3]->firstVertex->next->position[2], 0.0f);  // the closing side

    // Side railing: a post at its start, rails 0..32 and 68..100 (6 balusters each at a
    // spacing of 6), no posts at the gap (both step railings are on), a closing post at
    // 100 since the next side has no railing; plus the steps' own 16 balusters and
    // 4 posts.
    EXPECT_EQ(stairRunState.balusterCount, 6u + 6u + 16u);
    EXPECT_EQ(stairRunState.postCount, 2u + 4u);

    // With the step railings off, posts stand at both gap ends instead.
    stairRunState = StairRunState{};
    Record(step)->glazingBarsAcross = 0;
    Record(step)->glazingBarsDown = 0;
    RebuildDeck(deck);
    EXPECT_EQ(stairRunState.postCount, 4u);
    EXPECT_EQ(stairRunState.balusterCount, 12u);
    // Rebuilding replaces the parts.
    EXPECT_EQ(PartsOfType(deck, 52).size(), 4u);
}

TEST_F(DeckTest, OnlyDecksOfShownFloorsAreRebuilt)
{
    PlanObject* deck = MakeDeck(100.0f, 30.0f);
    PlanObject* hidden = MakeObject(ObjDeck, Storey(1), {{0, 0, 0}, {50, 0, 0}, {50, 0, 50}}, 0, 1);
    decks.push_back(hidden);
    Storey(1)->shown = 0;
    RebuildAllDecks(document->firstFloor);
    EXPECT_EQ(PartsOfType(deck, 52).size(), 4u);
    EXPECT_EQ(hidden->link, nullptr);
}
