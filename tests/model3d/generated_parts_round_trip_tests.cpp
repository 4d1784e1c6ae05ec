// A plan of every generated kind, saved and read back into a fresh document: each object
// must regenerate exactly the parts it had (meshes, footings, deck faces and steps,
// railing solids, path surfaces, slab faces, panels, roof plates, opening records), and
// the plan read back must save to the very same bytes.
#include "files/plan_file.h"
#include "files/symbol_library.h"
#include "model/deck_parts.h"
#include "model/object_copies.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "model/texture_coords.h"
#include "model/view_projection.h"
#include "model3d/generated_parts.h"
#include "model3d/stairs.h"
#include "palette/category_tabs.h"
#include "shell/app_globals.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <initializer_list>
#include <math.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct P3 {
    float x, y, z;
};

// An object of the type on the floor's list, one straight vertex per point.
PlanObject* MakeObject(uint16_t type, PlanFloor* floor, std::initializer_list<P3> points,
                       uint8_t closed = 0)
{
    PlanObject* object = CreateObject(type, closed, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!object)
        return nullptr;
    for (const P3& p : points)
        AddObjectPoint(NewVertexNode(1, 0, 0, 0, 0, 0, p.x, p.y, p.z, 0, 0, 0, 0, 0, 0, object),
                       object);
    if (floor)
        AttachObjectToFloor(object, floor);
    return object;
}

// Types whose link holds the chain of their generated parts.
bool LinkHoldsParts(uint16_t type)
{
    switch (type) {
    case ObjWall: case ObjFence: case ObjPicketFence: case ObjStair: case ObjRailing:
    case ObjDeck: case ObjPath: case ObjFloorSlab: case ObjFloorOpening: case ObjImage:
    case ObjFreehandRoof: case ObjRoof:
        return true;
    default:
        return false;
    }
}

int IndexInChain(const PlanObject* owner, const PlanVertex* vertex)
{
    int i = 0;
    for (const PlanVertex* v = owner ? owner->firstVertex : nullptr; v; v = v->next, ++i)
        if (v == vertex)
            return i;
    return -1;
}

std::string Colour(const ColourTriple& c)
{
    return "(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " +
           std::to_string(c.blue) + ")";
}

bool SameColour(const ColourTriple& a, const ColourTriple& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Compares two object trees and collects every difference, each named by where it lies:
// "object 3 (type 51) / link part 7 (type 43) / vertex 5".
class TreeComparison {
public:
    std::vector<std::string> differences;
    int partsCompared = 0;
    int verticesCompared = 0;

    void Objects(const PlanObject* expected, const PlanObject* actual, const std::string& where)
    {
        if (!expected || !actual) {
            if (expected != actual)
                Differ(where, expected ? "missing after loading" : "appeared after loading");
            return;
        }
        ++partsCompared;
        const std::string here = where + " (type " + std::to_string(expected->type) + ")";
        if (expected->type != actual->type) {
            Differ(here, "type became " + std::to_string(actual->type));
            return;
        }
        Value(here, "rows", expected->rows, actual->rows);
        Value(here, "stored vertex count", expected->vertexCount, actual->vertexCount);
        Value(here, "closed", expected->closed, actual->closed);
        Value(here, "texture", expected->styleOrTexture, actual->styleOrTexture);
        Value(here, "image 1", expected->imageId1, actual->imageId1);
        Value(here, "image 2", expected->imageId2, actual->imageId2);
        Value(here, "image 3", expected->value3, actual->value3);
        Colours(here, "colour A", expected->colourA, actual->colourA);
        Colours(here, "colour B", expected->colourB, actual->colourB);
        Colours(here, "colour 3", expected->colour3, actual->colour3);
        Colours(here, "colour 4", expected->colour4, actual->colour4);
        Vertices(expected, actual, here);

        if (LinkHoldsParts(expected->type))
            Chain(static_cast<const PlanObject*>(expected->link),
                  static_cast<const PlanObject*>(actual->link), here + " / link part ");
        else if (IsOpeningType(expected->type))
            Opening(expected, actual, here);
        Chain(expected->firstPart, actual->firstPart, here + " / part ");
        Chain(expected->firstChild, actual->firstChild, here + " / child ");
    }

    // Sibling chains linked by next, compared pairwise; the counts must agree, and a
    // different count is named first since it shifts every part after the lost one.
    void Chain(const PlanObject* expected, const PlanObject* actual, const std::string& prefix)
    {
        const int n = Length(expected);
        const int m = Length(actual);
        if (n != m)
            Differ(prefix.substr(0, prefix.size() - 1) + "s",
                   std::to_string(n) + " became " + std::to_string(m));
        int index = 0;
        for (; expected || actual; ++index) {
            Objects(expected, actual, prefix + std::to_string(index));
            expected = expected ? expected->next : nullptr;
            actual = actual ? actual->next : nullptr;
        }
    }

    ::testing::AssertionResult Result() const
    {
        if (differences.empty())
            return ::testing::AssertionSuccess();
        std::ostringstream text;
        text << differences.size() << " differences";
        for (size_t i = 0; i < differences.size() && i < 40; ++i)
            text << "\n  " << differences[i];
        return ::testing::AssertionFailure() << text.str();
    }

private:
    static int Length(const PlanObject* first)
    {
        int n = 0;
        for (; first; first = first->next)
            ++n;
        return n;
    }

    void Differ(const std::string& where, const std::string& what)
    {
        differences.push_back(where + ": " + what);
    }

    template <typename T>
    void Value(const std::string& where, const char* name, T expected, T actual)
    {
        if (expected != actual) {
            std::ostringstream text;
            text << name << " " << +expected << " became " << +actual;
            Differ(where, text.str());
        }
    }

    void Colours(const std::string& where, const char* name, const ColourTriple& expected,
                 const ColourTriple& actual)
    {
        if (!SameColour(expected, actual))
            Differ(where, std::string(name) + " " + Colour(expected) + " became " + Colour(actual));
    }

    void Vertices(const PlanObject* expected, const PlanObject* actual, const std::string& where)
    {
        const int n = CountVertexChain(expected);
        const int m = CountVertexChain(actual);
        if (n != m) {
            Differ(where, "vertex chain of " + std::to_string(n) + " became " + std::to_string(m));
            return;
        }
        // A shifted part would list every vertex: the first moved one is named, the
        // others counted.
        int moved = 0;
        const PlanVertex* a = expected->firstVertex;
        const PlanVertex* b = actual->firstVertex;
        for (int i = 0; a && b; ++i, a = a->next, b = b->next) {
            ++verticesCompared;
            const std::string at = where + " / vertex " + std::to_string(i);
            bool same = true;
            for (int k = 0; k < 3; ++k)
                same = same && fabsf(a->position[k] - b->position[k]) <= 1e-4f;
            if (!same && moved++ == 0) {
                std::ostringstream text;
                text << "position (" << a->position[0] << ", " << a->position[1] << ", "
                     << a->position[2] << ") became (" << b->position[0] << ", "
                     << b->position[1] << ", " << b->position[2] << ")";
                Differ(at, text.str());
            }
            Value(at, "face texture A", a->faceTextureA, b->faceTextureA);
            Value(at, "face texture B", a->faceTextureB, b->faceTextureB);
            Colours(at, "face colour A", a->faceColourA, b->faceColourA);
            Colours(at, "face colour B", a->faceColourB, b->faceColourB);
        }
        if (moved > 1)
            Differ(where, std::to_string(moved - 1) + " more vertices moved");
    }

    void Opening(const PlanObject* expected, const PlanObject* actual, const std::string& where)
    {
        const OpeningRecord* a = static_cast<const OpeningRecord*>(expected->link);
        const OpeningRecord* b = static_cast<const OpeningRecord*>(actual->link);
        if (!a || !b) {
            if (a != b)
                Differ(where, a ? "opening record lost" : "opening record appeared");
            return;
        }
        const std::string at = where + " / opening record";
        Value(at, "type copy", a->typeCopy, b->typeCopy);
        Value(at, "style", a->style, b->style);
        Value(at, "start vertex", IndexInChain(expected->owner, a->startVertex),
              IndexInChain(actual->owner, b->startVertex));
        Value(at, "end vertex", IndexInChain(expected->owner, a->endVertex),
              IndexInChain(actual->owner, b->endVertex));
        Near(at, "distance from start", a->distanceFromStart, b->distanceFromStart);
        Near(at, "distance to end", a->distanceToEnd, b->distanceToEnd);
        Near(at, "width", a->width, b->width);
        Near(at, "height", a->height, b->height);
        Near(at, "elevation", a->elevation, b->elevation);
        Value(at, "hinge side", a->hingeSide, b->hingeSide);
        Value(at, "flags", a->flags, b->flags);
        Value(at, "bars across", a->glazingBarsAcross, b->glazingBarsAcross);
        Value(at, "bars down", a->glazingBarsDown, b->glazingBarsDown);
        Chain(a->parts, b->parts, at + " / part ");
    }

    void Near(const std::string& where, const char* name, float expected, float actual)
    {
        if (fabsf(expected - actual) > 1e-4f) {
            std::ostringstream text;
            text << name << " " << expected << " became " << actual;
            Differ(where, text.str());
        }
    }
};

// A document with a plan pane stand-in, one display unit one plan unit; a second
// document receives the plan read back. Both are freed at the end and must leave no
// record behind.
class GeneratedPartsRoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        activeDocument = nullptr;
        activePlanPane = nullptr;
        baselineRecords = LiveRecordCount();
        document = CreatePlanDocument();
        ASSERT_NE(document, nullptr);
        ASSERT_NE(document->settings, nullptr);
        document->settings->drawingScale = 72.0f;
        document->settings->drawingUnit = 1;
        document->settings->paperUnit = 1;
        document->settings->zoom = 1.0f;
        stairRunState = StairRunState{};
        pane = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
        activePlanPane = pane;
        // The state a plan is in after loading: the floor-plan tab and its layers, a top view.
        activeToolTab = 1;
        ApplyTabLayerToPlan();
        importIntoCurrentFloor = 0;
        viewPitchDegrees = 90.0f;
        viewYawDegrees = 0.0f;
        perspectiveOn = 0;
        ApplyViewAngles(90.0f, 0.0f, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, 0);
        GetCurrentDirectoryA(MAX_PATH, directory);
        savedProgramDirectory = programDirectory;
        programDirectory = directory;
    }
    void TearDown() override
    {
        if (loaded)
            FreePlanDocument(loaded);
        FreePlanDocument(document);
        activeDocument = nullptr;
        activePlanPane = nullptr;
        vtest::FreeSymbolLibraries();
        programDirectory = savedProgramDirectory;
        importIntoCurrentFloor = 0;
        if (pane)
            DestroyWindow(pane);
        EXPECT_EQ(LiveRecordCount(), baselineRecords) << "records left behind";
    }

    PlanFloor* Storey(int index)
    {
        PlanFloor* floor = document->firstFloor;
        for (int i = 0; i < index && floor; ++i)
            floor = floor->next;
        return floor;
    }

    PlanObject* Wall(std::initializer_list<P3> points, uint8_t closed, float thickness,
                     bool exterior)
    {
        PlanObject* wall = Placed(MakeObject(ObjWall, Storey(0), points, closed));
        wall->size = thickness;
        wall->subType = exterior ? 54 : 0;
        wall->parameters[0] = 96.0f;   // height
        wall->parameters[1] = 16.0f;   // stud spacing
        wall->parameters[2] = 0.5f;    // slab thickness
        wall->parameters[3] = 12.0f;   // foundation width
        wall->colourA = {1, 2, 3};
        wall->colourB = {4, 5, 6};
        for (PlanVertex* v = wall->firstVertex; v; v = v->next)
            v->mainHeight = 96.0f;
        return wall;
    }

    // A door of the width centred on the wall segment that starts at vertex 'start'.
    PlanObject* Door(PlanObject* wall, int start, float width)
    {
        PlanObject* door = MakeObject(ObjDoor, nullptr, {{0, 0, 0}, {1, 0, 0}});
        door->category = kCategoryFloorPlan;
        door->owner = wall;
        door->floor = wall->floor;
        AppendToObjectList(&wall->firstChild, door);
        OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
        record->typeCopy = ObjDoor;
        record->style = 501;
        record->startVertex = wall->firstVertex;
        for (int i = 0; i < start && record->startVertex->next; ++i)
            record->startVertex = record->startVertex->next;
        record->endVertex = record->startVertex->next ? record->startVertex->next : wall->firstVertex;
        const float dx = record->endVertex->position[0] - record->startVertex->position[0];
        const float dz = record->endVertex->position[2] - record->startVertex->position[2];
        const float length = sqrtf(dx * dx + dz * dz);
        record->width = width;
        record->height = 80.0f;
        record->distanceFromStart = length / 2.0f;
        record->distanceToEnd = length / 2.0f;
        record->casingWidth = 3.0f;
        door->link = record;
        return door;
    }

    PlanObject* Placed(PlanObject* object)
    {
        object->category = kCategoryFloorPlan;
        return object;
    }

    // A small house and garden holding one of every generated kind, each rebuilt as the
    // program keeps a placed object: projection, texture coordinates, generated parts.
    void BuildPlan()
    {
        PlanObject* house = Wall({{0, 0, 0}, {200, 0, 0}, {200, 0, 100}, {0, 0, 100}}, 1, 10.0f, true);
        Door(house, 0, 36.0f);
        Wall({{100, 0, 0}, {100, 0, 100}}, 0, 6.0f, false);

        PlanObject* deck = Placed(MakeObject(
            ObjDeck, Storey(0), {{300, -30, 0}, {400, -30, 0}, {400, -30, 100}, {300, -30, 100}}, 1));
        deck->parameters[0] = 30.0f;
        deck->parameters[1] = 6.0f;
        deck->styleOrTexture = 5;
        deck->colourA = {1, 2, 3};
        deck->imageId2 = 9;
        deck->colour4 = {7, 8, 9};
        for (PlanVertex* v = deck->firstVertex; v; v = v->next)
            v->mainHeight = 36.0f;
        deck->firstVertex->segmentFlags = 1;               // railing along the first side
        deck->firstVertex->next->next->segmentFlags = 4;   // skirted third side
        BuildKind53OnSegment(deck, deck->firstVertex, deck->firstVertex->next);
        EXPECT_NE(deck->firstChild, nullptr) << "the deck steps were not placed";
        if (deck->firstChild) {
            OpeningRecord* steps = static_cast<OpeningRecord*>(deck->firstChild->link);
            steps->width = 36.0f;
            steps->height = 30.0f;
        }

        PlanObject* path = Placed(MakeObject(ObjPath, Storey(0), {{0, 0, 150}, {100, 0, 150}, {100, 0, 210}}));
        path->size = 10.0f;
        path->value2 = 1;
        path->firstVertex->faceTextureA = 31;
        path->firstVertex->faceTextureB = 32;
        path->firstVertex->faceColourA = {10, 20, 30};

        PlanObject* slab = Placed(MakeObject(
            ObjFloorSlab, Storey(0), {{0, 0, 0}, {200, 0, 0}, {200, 0, 100}, {0, 0, 100}}, 1));
        slab->parameters[2] = 6.0f;
        slab->firstVertex->next->faceTextureA = 44;
        slab->firstVertex->next->faceColourB = {5, 6, 7};

        PlanObject* hole = Placed(MakeObject(ObjFloorOpening, Storey(0),
                                             {{20, 0, 20}, {40, 0, 20}, {40, 0, 40}}, 1));
        hole->parameters[2] = 2.0f;

        PlanObject* railing = Placed(MakeObject(ObjRailing, Storey(0),
                                                {{0, 0, 250}, {60, 0, 250}, {60, 0, 300}}));
        railing->subType = 802;
        railing->parameters[0] = 36.0f;
        railing->parameters[1] = 6.0f;
        railing->offsetSide = 1;
        railing->value4 = 1;
        railing->imageId1 = 55;
        railing->colour3 = {11, 22, 33};

        // An image object without a chosen picture: a picture gets a new texture number
        // at every load, which a byte-exact round trip cannot hold.
        PlanObject* image = Placed(MakeObject(ObjImage, Storey(0), {{150, 0, 150}, {200, 0, 150}}));
        image->parameters[0] = 40.0f;
        image->firstVertex->faceTextureA = 7;
        image->firstVertex->faceTextureB = 8;
        image->firstVertex->faceColourB = {1, 1, 1};

        PlanObject* roof = Placed(MakeObject(
            ObjFreehandRoof, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 1));
        roof->size = 6.0f;
        roof->parameters[0] = 0.0f;
        roof->imageId1 = 11;
        roof->colour4 = {4, 4, 4};

        // A hip roof: its twelve planes are made again at every load, never stored.
        PlanObject* hip = Placed(MakeObject(
            ObjRoof, Storey(0), {{0, -96, 300}, {200, -96, 300}, {200, -96, 400}, {0, -96, 400}}, 1));
        hip->size = 8.0f;
        hip->styleOrTexture = 1;
        hip->firstVertex->faceTextureA = 21;

        for (PlanObject* o = Storey(0)->firstObject; o; o = o->next) {
            UpdateObjectExtents(o);
            ComputeProjectionExtents(o);
            ComputeMeshTextureCoords(o);
            RebuildByType(o);
        }
    }

    // Every floor and object of the two documents side by side, in list order.
    ::testing::AssertionResult SameGeneratedParts(PlanDocument* expected, PlanDocument* actual,
                                                  TreeComparison& comparison)
    {
        const PlanFloor* a = expected->firstFloor;
        const PlanFloor* b = actual->firstFloor;
        for (int f = 0; a || b; ++f, a = a ? a->next : nullptr, b = b ? b->next : nullptr) {
            if (!a || !b)
                return ::testing::AssertionFailure() << "floor " << f << (a ? " missing" : " appeared")
                                                     << " after loading";
            comparison.Chain(a->firstObject, b->firstObject, "floor " + std::to_string(f) + " object ");
        }
        return comparison.Result();
    }

    static std::string FirstDifferences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
    {
        std::string text = "sizes " + std::to_string(a.size()) + ", " + std::to_string(b.size()) +
                           "; bytes differ at";
        for (size_t at = 0, shown = 0; at < a.size() && at < b.size() && shown < 12; ++at)
            if (a[at] != b[at]) {
                text += " " + std::to_string(at);
                ++shown;
            }
        return text;
    }

    PlanDocument* document = nullptr;
    PlanDocument* loaded = nullptr;
    long baselineRecords = 0;
    HWND pane = nullptr;
    char directory[MAX_PATH] = {};
    char* savedProgramDirectory = nullptr;
};

const PlanObject* FirstOfType(const PlanFloor* floor, uint16_t type)
{
    for (const PlanObject* o = floor ? floor->firstObject : nullptr; o; o = o->next)
        if (o->type == type)
            return o;
    return nullptr;
}

int CountLinkParts(const PlanObject* owner)
{
    int n = 0;
    for (const PlanObject* p = owner ? static_cast<const PlanObject*>(owner->link) : nullptr; p; p = p->next)
        ++n;
    return n;
}

} // namespace

TEST_F(GeneratedPartsRoundTrip, SaveAndReloadKeepEveryGeneratedPartEqual)
{
    vtest::MessageBoxRecorder boxes;
    BuildPlan();
    PlanFloor* storey = Storey(0);

    // The plan really holds what the round trip is to keep: otherwise an empty comparison
    // would pass.
    const PlanObject* house = FirstOfType(storey, ObjWall);
    ASSERT_NE(house, nullptr);
    ASSERT_NE(house->link, nullptr) << "the wall has no mesh";
    ASSERT_NE(house->firstPart, nullptr) << "the exterior wall has no footing";
    EXPECT_EQ(house->firstPart->type, ObjFooting);
    ASSERT_NE(house->firstChild, nullptr) << "the door was removed by the fit";
    EXPECT_EQ(house->firstChild->type, ObjDoor);
    const PlanObject* inner = house->next;
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->type, ObjWall);
    EXPECT_NE(inner->link, nullptr);
    EXPECT_EQ(inner->firstPart, nullptr) << "an interior wall has no footing";
    const PlanObject* deck = FirstOfType(storey, ObjDeck);
    ASSERT_NE(deck, nullptr);
    ASSERT_NE(deck->firstChild, nullptr);
    EXPECT_EQ(deck->firstChild->type, ObjDeckSteps);
    EXPECT_GT(CountLinkParts(deck), 10) << "edge faces, railing, steps and their railings";
    for (uint16_t type : {ObjPath, ObjFloorSlab, ObjFloorOpening, ObjRailing, ObjImage, ObjFreehandRoof})
        EXPECT_GT(CountLinkParts(FirstOfType(storey, type)), 0) << "no parts for type " << type;
    EXPECT_NE(FirstOfType(storey, ObjFreehandRoof)->firstChild, nullptr) << "the roof's slope marker";
    EXPECT_EQ(boxes.Count(), 0u) << "building the plan showed a message";

    ASSERT_TRUE(SavePlanFile("garden.ZRO"));
    const std::vector<uint8_t> saved = vtest::ReadFileBytes("garden.ZRO");
    ASSERT_FALSE(saved.empty());

    loaded = CreatePlanDocument();
    ASSERT_NE(loaded, nullptr);
    activeDocument = loaded;
    activePlanPane = pane;
    ASSERT_TRUE(LoadPlanFile("garden.ZRO"));
    EXPECT_EQ(boxes.Count(), 0u) << "loading showed a message";

    TreeComparison comparison;
    EXPECT_TRUE(SameGeneratedParts(document, loaded, comparison));
    // The comparison went down into the parts, not only the top-level objects.
    EXPECT_GT(comparison.partsCompared, 60);
    EXPECT_GT(comparison.verticesCompared, 500);

    EXPECT_EQ(CountLinkParts(FirstOfType(Storey(0), ObjRoof)), 12);
    EXPECT_EQ(CountLinkParts(FirstOfType(loaded->firstFloor, ObjRoof)), 12);

    ASSERT_TRUE(SavePlanFile("again.ZRO"));
    const std::vector<uint8_t> again = vtest::ReadFileBytes("again.ZRO");
    EXPECT_TRUE(saved == again) << FirstDifferences(saved, again);
}

// Walls with doors in numbers: loading appends to the floor's list, each wall's children
// and each door's parts in turn, and must build every part as building the plan did.
TEST_F(GeneratedPartsRoundTrip, ManyWallsWithDoorsLoadAsTheyWereBuilt)
{
    vtest::MessageBoxRecorder boxes;
    for (int i = 0; i < 40; ++i) {
        const float x = (i % 8) * 150.0f, z = (i / 8) * 150.0f;
        PlanObject* wall = Wall({{x, 0, z}, {x + 100, 0, z}, {x + 100, 0, z + 100}}, 0, 6.0f, i % 2 == 0);
        OpeningRecord* record = static_cast<OpeningRecord*>(Door(wall, i % 2, 30.0f)->link);
        record->swingAngle = 1.0f;
        record->flags = 4;
        UpdateObjectExtents(wall);
        ComputeProjectionExtents(wall);
        ComputeMeshTextureCoords(wall);
        RebuildByType(wall);
    }
    ASSERT_TRUE(SavePlanFile("walls.ZRO"));
    const std::vector<uint8_t> saved = vtest::ReadFileBytes("walls.ZRO");
    loaded = CreatePlanDocument();
    ASSERT_NE(loaded, nullptr);
    activeDocument = loaded;
    activePlanPane = pane;
    ASSERT_TRUE(LoadPlanFile("walls.ZRO"));
    TreeComparison comparison;
    EXPECT_TRUE(SameGeneratedParts(document, loaded, comparison));
    EXPECT_GT(comparison.partsCompared, 40 * 12) << "walls, meshes, doors and their frames and leaves";
    ASSERT_TRUE(SavePlanFile("again.ZRO"));
    EXPECT_TRUE(saved == vtest::ReadFileBytes("again.ZRO"));
    EXPECT_EQ(boxes.Count(), 0u);
}
