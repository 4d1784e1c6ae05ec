#include "support_openings.h"
#include "files/symbol_library.h"
#include "model/plan_document.h"
#include "model/record_memory.h"
#include "model3d/generator_limits.h"
#include "openings3d/opening_models.h"
#include <math.h>

using namespace otest;

namespace {

const float kPi = 3.14159265f;

class DoorModelTest : public OpeningTest {
protected:
    PlanObject* Door(int16_t style, float swing, uint16_t flags)
    {
        PlanObject* door = AddOpening(ObjDoor, style, 36, 80, 3);
        Record(door)->swingAngle = swing;
        Record(door)->flags = flags;
        BuildOpeningModel(door);
        return door;
    }
};

TEST_F(DoorModelTest, AStandardDoorOpenAtRightAnglesHasItsFrameAndSixPanelLeaf)
{
    OpeningRecord* record = Record(Door(501, kPi / 2, 4));
    std::vector<PlanObject*> parts = Parts(record);
    ASSERT_EQ(PartTypes(record), (std::vector<uint16_t>{18, 20, 20, 20, 20, 20, 20, 20, 20, 20, 128}));
    // The casing ring stands 2.1 out from both faces, 3 wide round the sides and head.
    EXPECT_EQ(parts[0]->rows, 2);
    EXPECT_BOX(BoxOf(parts[0]), -3, 39, -83, 0, -5.1f, 5.1f);
    const float* stored = parts[0]->box3D;
    EXPECT_NEAR(stored[1], -3.0f, 1e-3f);
    EXPECT_NEAR(stored[3], 0.0f, 1e-3f);
    // The leaf hangs 1.0 inside the hinge end (x 36), square to the wall, 2.0 above the
    // sill and 1.0 below the head; stiles 5.04 wide, rails at 0.11, 0.40..0.49 of 77.
    EXPECT_BOX(BoxOf(parts[1]), 33, 37, -79, -2, 0, 5.04f);
    EXPECT_BOX(BoxOf(parts[2]), 33, 37, -79, -2, 30.96f, 36);
    EXPECT_BOX(BoxOf(parts[3]), 33, 37, -10.47f, -2, 5.04f, 30.96f);
    EXPECT_BOX(BoxOf(parts[4]), 33, 37, -39.73f, -32.8f, 5.04f, 30.96f);
    EXPECT_BOX(BoxOf(parts[7]), 33, 37, -32.8f, -10.47f, 15.48f, 20.52f);
    EXPECT_BOX(BoxOf(parts[10]), 35, 35, -79, -2, 0, 36);
}

TEST_F(DoorModelTest, TheSwingSenseDecidesWhetherTheLeafIsBuilt)
{
    // Bit 4 clear with the leaf turned toward +z: a sweep of -270, the frame alone.
    EXPECT_EQ(PartTypes(Record(Door(501, kPi / 2, 0))).size(), 1u);
    // Turned the other way it opens: toward -z the snapping (truncation toward zero)
    // leaves it 35 long.
    OpeningRecord* record = Record(Door(501, -kPi / 2, 0));
    ASSERT_EQ(PartTypes(record).size(), 11u);
    EXPECT_BOX(BoxOf(Parts(record)[10]), 35, 35, -79, -2, -35, 0);
    // Rebuilding a 501 as a 510 drops the old leaf.
    record->style = 510;
    PlanObject* door = wall->firstChild->next;
    BuildOpeningModel(door);
    EXPECT_EQ(PartTypes(record), (std::vector<uint16_t>{18}));
}

TEST_F(DoorModelTest, GarageDoorsGetAColumnPerAboutTwentyFourUnits)
{
    const struct {
        float width;
        int innerRibs;
    } cases[] = {{4.4f * 24, 3}, {4.5f * 24, 4}, {11.0f, 0}};
    for (const auto& c : cases) {
        PlanObject* door = AddOpening(ObjDoor, 503, c.width, 80, 3);
        BuildOpeningModel(door);
        int inner = 0;
        for (PlanObject* part : Parts(Record(door))) {
            Box b = BoxOf(part);
            if (part->type == 20 && fabsf(b.maxX - b.minX - 4.0f) < 1e-3f && b.maxY - b.minY > 79)
                ++inner;
        }
        EXPECT_EQ(inner, c.innerRibs) << c.width;
        // Frame, 3 section joints (80 / 21), 4 edge ribs, the panel: 9 besides the ribs.
        EXPECT_EQ((int)Parts(Record(door)).size(), 9 + c.innerRibs) << c.width;
    }
}

TEST_F(DoorModelTest, ArchedDoorCrownsStandAboveTheSillAsSized)
{
    PlanObject* door = AddOpening(ObjDoor, 506, 36, 84, 3);
    Record(door)->swingAngle = kPi / 2;
    Record(door)->flags = 4;
    BuildOpeningModel(door);
    std::vector<PlanObject*> parts = Parts(Record(door));
    ASSERT_EQ(parts.size(), 11u);
    EXPECT_EQ(parts[0]->type, 60);
    // Jambs 66 high under an arch of 18 with a casing of 3: the crown 87 above the sill.
    EXPECT_NEAR(BoxOf(parts[0]).minY, -87.0f, 1e-3f);
    EXPECT_EQ(parts[9]->type, 128);
    EXPECT_EQ(parts[9]->rows, 1);
    EXPECT_EQ(parts[9]->vertexCount, 21u);
    // Leaf from 2.0 above the sill: outer crown 81 above it, inner crown 75.96, the arch
    // muntin rising from the straight part's top (63) to the inner crown.
    EXPECT_NEAR(BoxOf(parts[9]).minY, -83.0f, 1e-3f);
    EXPECT_EQ(parts[10]->vertexCount, 84u);
    EXPECT_NEAR(BoxOf(parts[10]).minY, -83.0f, 1e-3f);
    EXPECT_NEAR(BoxOf(parts[8]).maxY, -65.0f, 1e-3f);
    EXPECT_NEAR(BoxOf(parts[8]).minY, -77.96f, 1e-3f);
}

class WindowModelTest : public OpeningTest {
protected:
    OpeningRecord* Window(int16_t style, float width, float height, float casing, uint16_t flags)
    {
        PlanObject* window = AddOpening(ObjWindow, style, width, height, casing);
        Record(window)->flags = flags;
        BuildOpeningModel(window);
        return Record(window);
    }
};

TEST_F(WindowModelTest, TrapezoidSillOverhangsAndTheUpsideDownFlip)
{
    const struct {
        uint16_t flags;
        float sillTop;
        float sillBottom;
    } cases[] = {{0, 0, 3}, {1, -51, -48}, {3, 0, 3}};
    for (const auto& c : cases) {
        OpeningRecord* record = Window(614, 36, 48, 4, c.flags);
        ASSERT_EQ(PartTypes(record), (std::vector<uint16_t>{18, 18})) << c.flags;
        // 1.75 and 1.25 casings beyond the ends, 3.0 beyond both faces, 0.75 casing thick.
        EXPECT_BOX(BoxOf(Parts(record)[1]), -7, 41, c.sillTop, c.sillBottom, -6, 6);
    }
}

TEST_F(WindowModelTest, AnOctagonIsAsHighAsWideAndItsRingRunsBelowTheSill)
{
    OpeningRecord* record = Window(622, 30, 48, 4, 1);
    ASSERT_EQ(PartTypes(record), (std::vector<uint16_t>{18}));
    PlanObject* frame = record->parts;
    EXPECT_BOX(BoxOf(frame), -4, 34, -34, 4, -5, 5);
    EXPECT_NEAR(frame->firstVertex->next->position[0], 9.0f, 1e-3f);  // c = 0.3 W
}

TEST_F(WindowModelTest, EveryStyleGetsItsOutlineOnBothFaces)
{
    const struct {
        uint16_t type;
        int16_t style;
        float casing;
        uint32_t vertices;  // twice the outline
        size_t parts;
    } cases[] = {
        {16, 500, 3, 16, 1},   {16, 500, 0.39f, 8, 1}, {16, 502, 3, 24, 2},  {16, 503, 3, 16, 10},
        {16, 504, 3, 84, 1},   {16, 504, 0, 42, 1},    {16, 505, 3, 84, 1},  {16, 507, 3, 84, 1},
        {16, 508, 3, 16, 1},   {16, 511, 3, 16, 1},    {17, 600, 3, 24, 3},  {17, 601, 3, 76, 2},
        {17, 602, 3, 76, 2},   {17, 603, 3, 84, 2},    {17, 604, 3, 84, 2},  {17, 605, 3, 50, 2},
        {17, 608, 3, 50, 2},   {17, 609, 3, 46, 2},    {17, 625, 3, 46, 2},  {17, 611, 3, 20, 2},
        {17, 613, 3, 24, 2},   {17, 615, 3, 16, 2},    {17, 616, 3, 12, 2},  {17, 618, 3, 12, 2},
        {17, 619, 3, 20, 2},   {17, 621, 3, 16, 2},    {17, 622, 3, 40, 1},  {17, 623, 3, 148, 1},
    };
    for (const auto& c : cases) {
        PlanObject* opening = AddOpening(c.type, c.style, 36, 80, c.casing);
        BuildOpeningModel(opening);
        std::vector<PlanObject*> parts = Parts(Record(opening));
        ASSERT_EQ(parts.size(), c.parts) << c.style;
        EXPECT_EQ(parts[0]->vertexCount, c.vertices) << c.style;
        EXPECT_EQ(parts[0]->rows, 2) << c.style;
        for (PlanObject* part : parts) {
            EXPECT_EQ(part->floor, wall->floor) << c.style;
            EXPECT_EQ(part->owner, opening) << c.style;
        }
    }
    // Styles outside the table build nothing.
    for (int16_t style : {499, 512, 599, 626}) {
        PlanObject* opening = AddOpening(style < 600 ? ObjDoor : ObjWindow, style, 36, 80, 3);
        BuildOpeningModel(opening);
        EXPECT_EQ(Record(opening)->parts, nullptr) << style;
    }
    // Nothing went into a floor list: the floor holds the wall alone.
    EXPECT_EQ(vtest::CountFloorObjects(Storey(0)), 1);
}

TEST_F(WindowModelTest, GlazingBarCountsAreSignedAndCappedAtFour)
{
    const struct {
        uint16_t across;
        uint16_t down;
        size_t bars;
        float barWidth;
    } cases[] = {{1, 0, 1, 4}, {2, 1, 3, 2}, {0, 0, 0, 0}, {0xFFFF, 0, 0, 0},
                 {40000, 1, 1, 4}, {9, 0, 4, 2}, {0, 300, 4, 2}};
    for (const auto& c : cases) {
        PlanObject* window = AddOpening(ObjWindow, 600, 36, 48, 3);
        Record(window)->glazingBarsAcross = c.across;
        Record(window)->glazingBarsDown = c.down;
        BuildOpeningModel(window);
        std::vector<PlanObject*> bars;
        for (PlanObject* part : Parts(Record(window)))
            if (part->type == 19)
                bars.push_back(part);
        ASSERT_EQ(bars.size(), c.bars) << c.across << " " << c.down;
        if (!bars.empty()) {
            Box b = BoxOf(bars.back());
            EXPECT_NEAR(fminf(b.maxY - b.minY, b.maxX - b.minX), c.barWidth, 1e-3f)
                << c.across << " " << c.down;
        }
    }
}

TEST_F(WindowModelTest, AFailedRebuildLeavesAnUpsideDownWindowAsItWas)
{
    OpeningRecord* record = Window(614, 36, 48, 4, 1);
    ASSERT_EQ(Parts(record).size(), 2u);
    PlanFloor* floor = document->currentFloor;
    document->currentFloor = nullptr;
    PlanObject* window = wall->firstChild;
    BuildOpeningModel(window);
    document->currentFloor = floor;
    // Neither turned back upright nor given a second sill.
    ASSERT_EQ(Parts(record).size(), 2u);
    EXPECT_NEAR(BoxOf(Parts(record)[1]).minY, -51.0f, 1e-3f);
}

TEST_F(WindowModelTest, DamagedSizesBuildNothingAndGarageColumnsStayBounded)
{
    PlanObject* door = AddOpening(ObjDoor, 501, 36, 80, 3);
    Record(door)->swingAngle = NAN;
    Record(door)->flags = 4;
    BuildOpeningModel(door);
    EXPECT_EQ(PartTypes(Record(door)), (std::vector<uint16_t>{18}));
    for (float bad : {(float)NAN, INFINITY}) {
        PlanObject* window = AddOpening(ObjWindow, 623, 36, 48, 3);
        Record(window)->casingWidth = bad;
        BuildOpeningModel(window);
        EXPECT_EQ(Record(window)->parts, nullptr);
    }
    PlanObject* garage = AddOpening(ObjDoor, 503, 36, 80, 3);
    Record(garage)->height = 1e9f;
    BuildOpeningModel(garage);
    EXPECT_LE(Parts(Record(garage)).size(), (size_t)kMaxGeneratedPieces + 8);
}

TEST_F(WindowModelTest, RebuildsAndFailedAllocationsLeaveNothingBehind)
{
    const struct {
        uint16_t type;
        int16_t style;
        uint16_t flags;
    } cases[] = {{16, 501, 4}, {16, 503, 0}, {16, 506, 4}, {16, 508, 4}, {17, 600, 0},
                 {17, 614, 1}, {17, 623, 0}};
    for (const auto& c : cases) {
        PlanObject* opening = AddOpening(c.type, c.style, 36, 80, 3);
        OpeningRecord* record = Record(opening);
        record->swingAngle = kPi / 2;
        record->flags = c.flags;
        record->glazingBarsDown = 1;
        BuildOpeningModel(opening);
        const size_t whole = Parts(record).size();
        long live = LiveRecordCount();
        for (int i = 0; i < 100; ++i)
            BuildOpeningModel(opening);
        EXPECT_EQ(LiveRecordCount(), live) << c.style;
        // Running out of memory at every step of the road: never a half list, never a
        // second sill, and a later rebuild is whole again.
        for (long n = 0; n < 400; n += 3) {
            FailRecordAllocationsAfter(n);
            BuildOpeningModel(opening);
            FailRecordAllocationsAfter(-1);
            ASSERT_LE(Parts(record).size(), whole) << c.style << " after " << n;
            if (record->parts) {
                EXPECT_EQ(record->parts->rows, 2) << c.style << " after " << n;
            }
        }
        BuildOpeningModel(opening);
        EXPECT_EQ(Parts(record).size(), whole) << c.style;
        EXPECT_EQ(LiveRecordCount(), live) << c.style;
    }
}

// Wall elements: library models cloned into the element.
class WallElementTest : public OpeningTest {
protected:
    void TearDown() override
    {
        FreeSymbolTemplates(symbolTemplates3D);
        symbolTemplates3D = nullptr;
        OpeningTest::TearDown();
    }
    // A 3D template of the code holding one box member width x depth, centred.
    void AddTemplate(uint16_t code, float width, float depth)
    {
        PlanObject* t = vtest::MakePointObject(code, nullptr, {}, 0, 0);
        float x = width / 2;
        float z = depth / 2;
        PlanObject* member = vtest::MakePointObject(
            8, nullptr, {{-x, 0, -z}, {x, 0, -z}, {x, 0, z}, {-x, 0, z}, {-x, -20, -z}}, 0, 1);
        vtest::AppendChildObject(t, member);
        t->next = symbolTemplates3D;
        if (symbolTemplates3D)
            symbolTemplates3D->previous = t;
        symbolTemplates3D = t;
    }
    PlanObject* Element(uint32_t code, float width, float depth, uint8_t side)
    {
        PlanObject* element = AddOpening(ObjWallElement, 0, width, depth, 0);
        element->subType = code;
        // Unpainted, as the fixture tool leaves it.
        element->styleOrTexture = 0;
        element->colourB = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
        Record(element)->hingeSide = side;
        BuildOpeningModel(element);
        return element;
    }
};

TEST_F(WallElementTest, ElementsAreFittedToTheWallFaceAndStretchedOnlyForTubs)
{
    AddTemplate(95, 60, 30);
    AddTemplate(90, 20, 28);
    AddTemplate(96, 60, 0);  // a flat model
    const struct {
        uint32_t code;
        float width;
        float depth;
        uint8_t side;
        Box expected;
    } cases[] = {
        // The tub 60 wide in an opening of 72 is stretched by 1.2 along the wall; the
        // model's back edge middle, put at the face point (36, 3) of the centre.
        {95, 72, 30, 0, {-20, 0, -12, 0, 72, 18}},
        {90, 24, 30, 0, {-20, 2, -11, 0, 22, 17}},
        // Hinged to the other side: a half turn about the back edge, on the other face.
        {95, 72, 30, 1, {-20, 0, -48, 0, 72, -18}},
        {96, 72, 42, 0, {-20, 0, 3, 0, 72, 3}},
    };
    for (const auto& c : cases) {
        PlanObject* element = Element(c.code, c.width, c.depth, c.side);
        ASSERT_NE(element->firstPart, nullptr) << c.code;
        EXPECT_EQ(element->firstPart->type, ObjWallElementPart);
        EXPECT_EQ(element->firstPart->next, nullptr);
        Box b = BoxOf(element->firstPart);
        EXPECT_NEAR(b.minX, c.expected.minX, 1e-3f) << c.code;
        EXPECT_NEAR(b.maxX, c.expected.maxX, 1e-3f) << c.code;
        EXPECT_NEAR(b.minZ, c.expected.minZ, 1e-3f) << c.code;
        EXPECT_NEAR(b.maxZ, c.expected.maxZ, 1e-3f) << c.code;
        EXPECT_NEAR(b.minY, -20.0f, 1e-3f) << c.code;
    }
    EXPECT_EQ(vtest::CountFloorObjects(Storey(0)), 1);
}

TEST_F(WallElementTest, APaintedFaceSurvivesRebuildsAndDroppedPartsAreFreed)
{
    AddTemplate(90, 20, 28);
    PlanObject* element = Element(90, 24, 30, 0);
    ASSERT_NE(element->firstPart, nullptr);
    element->firstPart->colour3 = {1, 2, 3};
    element->firstPart->imageId2 = 4321;
    element->firstPart->firstVertex->next->faceColourB = {7, 8, 9};
    element->firstPart->firstVertex->next->faceTextureA = 1234;
    long live = LiveRecordCount();
    for (int i = 0; i < 100; ++i)
        BuildOpeningModel(element);
    EXPECT_EQ(LiveRecordCount(), live);
    PlanObject* part = element->firstPart;
    EXPECT_EQ(part->colour3.green, 2);
    EXPECT_EQ(part->imageId2, 4321u);
    EXPECT_EQ(part->firstVertex->next->faceColourB.blue, 9);
    EXPECT_EQ(part->firstVertex->next->faceTextureA, 1234u);
    // Without its wall the element keeps its clones as they came; the old parts go.
    PlanObject* owner = element->owner;
    element->owner = nullptr;
    BuildOpeningModel(element);
    element->owner = owner;
    EXPECT_EQ(LiveRecordCount(), live);
    EXPECT_NEAR(BoxOf(element->firstPart).minX, -10.0f, 1e-3f);
    // A code without a template loses its parts.
    element->subType = 91;
    BuildOpeningModel(element);
    EXPECT_EQ(element->firstPart, nullptr);
}

} // namespace
