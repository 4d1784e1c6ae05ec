#include "support_model.h"
#include "support/test_support.h"
#include <string.h>

using namespace mtest;

class PlanObjectTest : public DocumentTest {};

TEST_F(PlanObjectTest, NewObjectHasTheCreationDefaultsAndTheSettingsValues)
{
    document->settings->plantAge = 7.5f;
    document->settings->workingElevation = 48.0f;
    ColourTriple a = {1, 2, 3};
    ColourTriple b = {4, 5, 6};
    float box[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    PlanObject* object = CreateObject(ObjWall, 1, 9, &a, &b, 4.5f, 6, 2, box, nullptr, nullptr, nullptr,
                                      Storey(0), nullptr);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->type, ObjWall);
    EXPECT_EQ(object->closed, 1);
    EXPECT_EQ(object->creationFlag, 9);
    EXPECT_EQ(object->colourA.blue, 3);
    EXPECT_EQ(object->colourB.red, 4);
    EXPECT_FLOAT_EQ(object->size, 4.5f);
    EXPECT_EQ(object->value1, 6);
    EXPECT_EQ(object->value2, 2);
    EXPECT_FLOAT_EQ(object->box2D[3], 4.0f);
    EXPECT_EQ(object->floor, Storey(0));
    EXPECT_EQ(object->rows, 1);
    EXPECT_EQ(object->vertexCount, 0u);
    EXPECT_EQ(object->buildFlag, 1);
    EXPECT_EQ(object->projectionMode, 2);
    EXPECT_EQ(object->needsRebuild, 1);
    EXPECT_FLOAT_EQ(object->plantAge, 7.5f);
    EXPECT_FLOAT_EQ(object->elevation, 48.0f);
    EXPECT_EQ(object->winding, 0);
    EXPECT_EQ(object->colourM[0], 0);
    EXPECT_EQ(object->firstPart, nullptr);
    EXPECT_EQ(object->styleOrTexture, 0u);
    EXPECT_EQ(object->category, 0u);
    EXPECT_EQ(object->subType, 0u);
    for (float p : object->parameters)
        EXPECT_EQ(p, 0.0f);
    // Not linked anywhere yet.
    EXPECT_EQ(Storey(0)->firstObject, nullptr);
    FreeObject(object);
}

TEST_F(PlanObjectTest, CreateObjectWithoutSettingsReportsAndReturnsNull)
{
    vtest::MessageBoxRecorder boxes;
    PlanSettings* settings = document->settings;
    document->settings = nullptr;
    long before = LiveRecordCount();
    EXPECT_EQ(MakeObject(ObjLine, nullptr, {}), nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Impossibile creare l'oggetto - questo documento non \xE8 stato inizializzato.");
    EXPECT_EQ(boxes.Last().owner, nullptr);
    EXPECT_EQ(LiveRecordCount(), before);
    document->settings = settings;

    activeDocument = nullptr;
    EXPECT_EQ(MakeObject(ObjLine, nullptr, {}), nullptr);
    EXPECT_EQ(boxes.Count(), 1u);
    activeDocument = document;
}

TEST_F(PlanObjectTest, NewVertexIsSelectableWithUnitTextureCoordinatesAndUnsetColours)
{
    PlanVertex* v = NewVertexNode(2, 1, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, nullptr);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->kind, 2);
    EXPECT_EQ(v->selected, 1);
    EXPECT_EQ(v->selectable, 1);
    EXPECT_EQ(v->keepFlag, 1);
    EXPECT_FLOAT_EQ(v->inTangent[2], 3);
    EXPECT_FLOAT_EQ(v->position[0], 4);
    EXPECT_FLOAT_EQ(v->position[1], 5);
    EXPECT_FLOAT_EQ(v->outTangent[0], 7);
    EXPECT_FLOAT_EQ(v->extra[2], 12);
    EXPECT_FLOAT_EQ(v->u, 1.0f);
    EXPECT_FLOAT_EQ(v->v, 1.0f);
    EXPECT_EQ(v->faceColourA.red, 65535);
    EXPECT_EQ(v->faceColourB.blue, 65535);
    EXPECT_EQ(v->faceTextureA, 0u);
    EXPECT_EQ(v->previous, nullptr);
    EXPECT_EQ(v->next, nullptr);
    ReleaseRecord(v);
}

TEST_F(PlanObjectTest, PointsAreAppendedInsertedAndCounted)
{
    PlanObject* object = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {10, 0, 0}});
    ASSERT_EQ(object->vertexCount, 2u);
    PlanVertex* head = NewVertexNode(1, 0, 0, 0, 0, 0, -5, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    InsertObjectPoint(head, object, nullptr);
    PlanVertex* middle = NewVertexNode(1, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    InsertObjectPoint(middle, object, VertexAt(object, 1));
    EXPECT_EQ(object->vertexCount, 4u);
    const float expected[4] = {-5, 0, 5, 10};
    PlanVertex* previous = nullptr;
    int i = 0;
    for (PlanVertex* v = object->firstVertex; v; v = v->next, ++i) {
        EXPECT_FLOAT_EQ(v->position[0], expected[i]);
        EXPECT_EQ(v->previous, previous);
        EXPECT_EQ(v->owner, object);
        previous = v;
    }
    EXPECT_EQ(i, 4);
    AddObjectPoint(nullptr, object);
    AddObjectPoint(head, nullptr);
    EXPECT_EQ(object->vertexCount, 4u);
}

TEST_F(PlanObjectTest, FreedVertexChainLeavesNoHeadBehind)
{
    PlanObject* object = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    long before = LiveRecordCount();
    FreeVertexChain(object);
    EXPECT_EQ(object->firstVertex, nullptr);
    EXPECT_EQ(object->vertexCount, 0u);
    EXPECT_EQ(LiveRecordCount(), before - 3);
    // The object stays usable: a new chain starts from an empty head.
    AddObjectPoint(NewVertexNode(1, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), object);
    EXPECT_EQ(object->vertexCount, 1u);
    EXPECT_EQ(object->firstVertex->previous, nullptr);
}

TEST_F(PlanObjectTest, CopiedVertexChainSharesNothingWithItsSource)
{
    PlanObject* source = MakeObject(ObjLine, Storey(0), {{1, -2, 3}, {4, -5, 6}}, 1);
    PlanVertex* first = source->firstVertex;
    first->keepFlag = 1;
    first->faceTextureA = 77;
    first->outTangent[0] = 9.0f;
    first->segmentElevation = 12.5f;
    first->heightD = 3.25f;
    first->faceColourA = {10, 20, 30};
    PlanObject* copy = MakeObject(ObjLine, Storey(0), {});
    CopyVertexChain(source, copy, 100.0f, -50.0f, 0);
    ASSERT_EQ(copy->vertexCount, 2u);
    PlanVertex* a = source->firstVertex;
    PlanVertex* b = copy->firstVertex;
    for (; a && b; a = a->next, b = b->next) {
        EXPECT_NE(a, b);
        EXPECT_EQ(b->owner, copy);
        EXPECT_EQ(b->selected, 0);
        EXPECT_FLOAT_EQ(b->position[0], a->position[0] + 100.0f);
        EXPECT_FLOAT_EQ(b->position[1], a->position[1]);
        EXPECT_FLOAT_EQ(b->position[2], a->position[2] - 50.0f);
    }
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(b, nullptr);
    PlanVertex* copiedFirst = copy->firstVertex;
    EXPECT_EQ(copiedFirst->keepFlag, 1);
    EXPECT_EQ(copiedFirst->faceTextureA, 77u);
    EXPECT_FLOAT_EQ(copiedFirst->outTangent[0], 9.0f);
    EXPECT_FLOAT_EQ(copiedFirst->segmentElevation, 12.5f);
    EXPECT_FLOAT_EQ(copiedFirst->heightD, 3.25f);
    EXPECT_EQ(copiedFirst->faceColourA.green, 20);
    EXPECT_EQ(copiedFirst->previous, nullptr);
    EXPECT_EQ(copiedFirst->next->previous, copiedFirst);
    EXPECT_EQ(copiedFirst->next->next, nullptr);

    // Changing or freeing one leaves the other intact.
    copiedFirst->position[0] = -999.0f;
    EXPECT_FLOAT_EQ(source->firstVertex->position[0], 1.0f);
    FreeObject(copy);
    EXPECT_EQ(source->vertexCount, 2u);
    EXPECT_FLOAT_EQ(source->firstVertex->next->position[2], 6.0f);
}

TEST_F(PlanObjectTest, UnlinkingMovesTheHeadsOfFloorsAndChildLists)
{
    PlanFloor* floor = Storey(0);
    PlanObject* a = MakeObject(ObjLine, floor, {});
    PlanObject* b = MakeObject(ObjLine, floor, {});
    PlanObject* c = MakeObject(ObjLine, floor, {});
    UnlinkObject(a);
    EXPECT_EQ(floor->firstObject, b);
    EXPECT_EQ(b->previous, nullptr);
    EXPECT_EQ(a->floor, nullptr);
    EXPECT_EQ(a->next, nullptr);
    UnlinkObject(c);
    EXPECT_EQ(b->next, nullptr);

    PlanObject* group = MakeObject(ObjGroup, floor, {});
    PlanObject* first = MakeChild(group, ObjLine, {});
    PlanObject* second = MakeChild(group, ObjLine, {});
    UnlinkObject(first);
    EXPECT_EQ(group->firstChild, second);
    EXPECT_EQ(second->previous, nullptr);
    EXPECT_EQ(first->owner, group);  // the owner stays set
    FreeObject(a);
    FreeObject(c);
    first->owner = nullptr;
    FreeObject(first);
}

TEST_F(PlanObjectTest, FreeingATreeReleasesEveryRecordItOwns)
{
    long before = LiveRecordCount();
    PlanFloor* floor = Storey(0);
    PlanObject* group = MakeObject(ObjGroup, floor, {});
    PlanObject* wall = MakeChild(group, ObjWall, {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}});
    MakeDoorOn(wall, 0);
    MakeDoorOn(wall, 1);
    // A generated mesh on the link and a generated part chain.
    PlanObject* mesh = MakeObject(ObjWallMesh, nullptr, {{0, 0, 0}});
    mesh->host = wall;
    wall->link = mesh;
    PlanObject* part1 = MakeObject(ObjFooting, nullptr, {{0, 0, 0}});
    PlanObject* part2 = MakeObject(ObjFooting, nullptr, {{0, 0, 0}});
    part1->next = part2;
    part2->previous = part1;
    wall->firstPart = part1;
    PlanObject* image = MakeChild(group, ObjImage, {{0, 0, 0}});
    image->imagePath = DuplicateRecordText("C:\\pictures\\house.bmp");
    EXPECT_GT(LiveRecordCount(), before);

    FreeObject(group);
    EXPECT_EQ(floor->firstObject, nullptr);
    EXPECT_EQ(LiveRecordCount(), before);
}

TEST_F(PlanObjectTest, CreateAndFreeCyclesLeaveTheRecordCountUnchanged)
{
    long before = LiveRecordCount();
    for (int cycle = 0; cycle < 50; ++cycle) {
        PlanObject* object = MakeObject(ObjPath, Storey(cycle % 3), {{0, 0, 0}, {1, 0, 1}, {2, 0, 0}});
        MakeChild(object, ObjLine, {{0, 0, 0}});
        FreeObject(object);
    }
    EXPECT_EQ(LiveRecordCount(), before);
}

TEST_F(PlanObjectTest, DimensionAndLabelForgetEachOtherWhenOneIsFreed)
{
    PlanFloor* floor = Storey(0);
    PlanObject* dimension = MakeObject(ObjDimensionLine, floor, {{0, 0, 0}, {0, 0, 10}, {50, 0, 10}, {50, 0, 0}});
    PlanObject* label = MakeObject(ObjDimensionLabel, floor, {{20, 0, 0}});
    AttachedPartRecord* part = LinkDimensionLabel(dimension, label).part;

    FreeObject(dimension);
    EXPECT_EQ(part->owner, nullptr);
    FreeObject(label);

    // The other way round.
    dimension = MakeObject(ObjDimensionLine, floor, {});
    label = MakeObject(ObjDimensionLabel, floor, {});
    AttachmentRecord* attachment = LinkDimensionLabel(dimension, label).attachment;
    FreeObject(label);
    EXPECT_EQ(attachment->label, nullptr);
    FreeObject(dimension);
}

TEST_F(PlanObjectTest, TextFrameEditWindowIsDestroyedWithItsObject)
{
    HWND edit = CreateWindowExA(0, "EDIT", "text", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    PlanObject* text = MakeObject(ObjTextFrame, Storey(0), {{0, 0, 0}});
    text->link = edit;
    FreeObject(text);
    EXPECT_FALSE(IsWindow(edit));
}

TEST_F(PlanObjectTest, GroupingKeepingAndTopLevelQueries)
{
    PlanFloor* floor = Storey(0);
    PlanObject* outer = MakeObject(ObjGroup, floor, {});
    PlanObject* inner = MakeChild(outer, ObjGroup, {});
    PlanObject* line = MakeChild(inner, ObjLine, {{0, 0, 0}});
    PlanObject* wall = MakeObject(ObjWall, floor, {{0, 0, 0}, {10, 0, 0}});
    PlanObject* door = MakeDoorOn(wall, 0);

    EXPECT_EQ(GetTopLevelObject(line), outer);
    EXPECT_EQ(GetTopLevelObject(nullptr), nullptr);
    EXPECT_TRUE(IsGroupedObject(line));    // has an owner
    EXPECT_TRUE(IsGroupedObject(outer));   // has children
    EXPECT_FALSE(IsGroupedObject(door));   // an opening on its wall
    EXPECT_FALSE(IsGroupedObject(wall));   // a wall's children are its openings

    EXPECT_FALSE(HasKeptVertex(outer));
    line->firstVertex->keepFlag = 1;
    EXPECT_TRUE(HasKeptVertex(outer));
    EXPECT_FALSE(HasUnselectableVertex(outer));
    line->firstVertex->selectable = 0;
    EXPECT_TRUE(HasUnselectableVertex(outer));
}

TEST_F(PlanObjectTest, NthSelectedObjectCountsTopLevelObjectsOverAllFloors)
{
    PlanObject* a = MakeObject(ObjLine, Storey(0), {{0, 0, 0}}, 0);
    PlanObject* b = MakeObject(ObjLine, Storey(0), {{0, 0, 0}}, 1);
    PlanObject* c = MakeObject(ObjLine, Storey(2), {{0, 0, 0}}, 1);
    (void)a;
    EXPECT_EQ(GetNthSelectedObject(1), b);
    EXPECT_EQ(GetNthSelectedObject(2), c);
    EXPECT_EQ(GetNthSelectedObject(3), nullptr);
    EXPECT_EQ(GetNthSelectedObject(0), nullptr);
}

TEST_F(PlanObjectTest, FreeOpeningsAtVertexRemovesOnlyThatSegmentsOpenings)
{
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}});
    MakeDoorOn(wall, 0);
    PlanObject* kept = MakeDoorOn(wall, 1);
    MakeDoorOn(wall, 0);
    FreeOpeningsAtVertex(wall, VertexAt(wall, 0));
    EXPECT_EQ(wall->firstChild, kept);
    EXPECT_EQ(kept->next, nullptr);
}

// ---------------------------------------------------------------------------------
// Deleting one segment of a wall group.

class WallSegmentDeleteTest : public DocumentTest {
protected:
    // Answers any box a refit shows, so that none can wait for a user; tests that expect
    // a box record it themselves.
    vtest::MessageBoxRecorder unexpectedBoxes;

    PlanObject* MakeWall(uint8_t closed)
    {
        return MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 0, closed);
    }
    static void Select(PlanObject* wall, std::initializer_list<int> indexes)
    {
        for (int i : indexes)
            VertexAt(wall, i)->selected = 1;
    }
};

TEST_F(WallSegmentDeleteTest, MiddleSegmentOfAnOpenGroupSplitsItInTwo)
{
    PlanObject* wall = MakeWall(0);
    Select(wall, {1, 2});
    DeleteObjectWithDependants(wall);
    ASSERT_EQ(CountFloorObjects(Storey(0)), 2);
    EXPECT_EQ(wall->vertexCount, 2u);
    EXPECT_EQ(ChainKeys(wall), (std::vector<float>{PointKey(0, 0), PointKey(100, 0)}));
    PlanObject* split = wall->next;
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->type, ObjWall);
    EXPECT_EQ(split->vertexCount, 2u);
    EXPECT_EQ(ChainKeys(split), (std::vector<float>{PointKey(100, 100), PointKey(0, 100)}));
    for (PlanVertex* v = split->firstVertex; v; v = v->next)
        EXPECT_EQ(v->owner, split);
    EXPECT_EQ(split->firstVertex->previous, nullptr);
}

TEST_F(WallSegmentDeleteTest, SplitCarriesTheOpeningsOfTheMovedSegments)
{
    PlanObject* wall = MakeWall(0);
    PlanObject* first = MakeDoorOn(wall, 0);
    PlanObject* last = MakeDoorOn(wall, 2);
    Select(wall, {1, 2});
    DeleteObjectWithDependants(wall);
    // Both doors still fit their segments: nothing to report.
    EXPECT_EQ(unexpectedBoxes.Count(), 0u);
    PlanObject* split = wall->next;
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(wall->firstChild, first);
    EXPECT_EQ(first->next, nullptr);
    EXPECT_EQ(split->firstChild, last);
    EXPECT_EQ(last->owner, split);
    OpeningRecord* record = static_cast<OpeningRecord*>(last->link);
    EXPECT_EQ(record->startVertex, split->firstVertex);
    EXPECT_EQ(record->endVertex, split->firstVertex->next);
}

TEST_F(WallSegmentDeleteTest, MiddleSegmentOfAClosedGroupOpensItFromTheEndVertex)
{
    PlanObject* wall = MakeWall(1);
    Select(wall, {1, 2});
    DeleteObjectWithDependants(wall);
    EXPECT_EQ(CountFloorObjects(Storey(0)), 1);
    EXPECT_EQ(wall->closed, 0);
    EXPECT_EQ(wall->vertexCount, 4u);
    EXPECT_EQ(ChainKeys(wall), (std::vector<float>{PointKey(100, 100), PointKey(0, 100), PointKey(0, 0), PointKey(100, 0)}));
    EXPECT_EQ(wall->firstVertex->previous, nullptr);
    EXPECT_EQ(VertexAt(wall, 3)->next, nullptr);
}

TEST_F(WallSegmentDeleteTest, EndSegmentsOfAnOpenGroupLoseTheirOuterVertex)
{
    PlanObject* wall = MakeWall(0);
    Select(wall, {2, 3});
    DeleteObjectWithDependants(wall);
    EXPECT_EQ(ChainKeys(wall), (std::vector<float>{PointKey(0, 0), PointKey(100, 0), PointKey(100, 100)}));

    PlanObject* other = MakeWall(0);
    Select(other, {0, 1});
    DeleteObjectWithDependants(other);
    EXPECT_EQ(ChainKeys(other), (std::vector<float>{PointKey(100, 0), PointKey(100, 100), PointKey(0, 100)}));
    EXPECT_EQ(other->vertexCount, 3u);
}

TEST_F(WallSegmentDeleteTest, ClosingSegmentOrFirstSegmentOfAClosedGroupOpensIt)
{
    PlanObject* wall = MakeWall(1);
    Select(wall, {0, 3});
    DeleteObjectWithDependants(wall);
    EXPECT_EQ(wall->closed, 0);
    EXPECT_EQ(ChainKeys(wall), (std::vector<float>{PointKey(0, 0), PointKey(100, 0), PointKey(100, 100), PointKey(0, 100)}));

    PlanObject* other = MakeWall(1);
    Select(other, {0, 1});
    DeleteObjectWithDependants(other);
    EXPECT_EQ(other->closed, 0);
    EXPECT_EQ(ChainKeys(other), (std::vector<float>{PointKey(100, 0), PointKey(100, 100), PointKey(0, 100), PointKey(0, 0)}));
}

TEST_F(WallSegmentDeleteTest, NonAdjacentPairsDeleteNothing)
{
    PlanObject* wall = MakeWall(0);
    Select(wall, {0, 2});
    DeleteObjectWithDependants(wall);
    EXPECT_EQ(wall->vertexCount, 4u);
    EXPECT_EQ(CountFloorObjects(Storey(0)), 1);

    // A pair ending at the last vertex bounds no segment either: the last segment (only
    // one end selected) and its door stay.
    PlanObject* open = MakeWall(0);
    PlanObject* door = MakeDoorOn(open, 2);
    Select(open, {1, 3});
    DeleteObjectWithDependants(open);
    EXPECT_EQ(ChainKeys(open), (std::vector<float>{PointKey(0, 0), PointKey(100, 0), PointKey(100, 100), PointKey(0, 100)}));
    EXPECT_EQ(open->firstChild, door);
    // The first and last vertices of an open group are joined by no segment.
    PlanObject* ends = MakeWall(0);
    Select(ends, {0, 3});
    DeleteObjectWithDependants(ends);
    EXPECT_EQ(ends->vertexCount, 4u);
    // In a closed group the closing segment runs from the last vertex to the first, not
    // from the second: the group stays closed.
    PlanObject* closed = MakeWall(1);
    Select(closed, {1, 3});
    DeleteObjectWithDependants(closed);
    EXPECT_EQ(closed->closed, 1);
    EXPECT_EQ(closed->vertexCount, 4u);
    EXPECT_EQ(unexpectedBoxes.Count(), 0u);
}

TEST_F(WallSegmentDeleteTest, OneOrThreeOrNoSelectedVerticesDeleteNothing)
{
    for (auto selection : {std::initializer_list<int>{}, std::initializer_list<int>{1},
                           std::initializer_list<int>{0, 1, 2}}) {
        PlanObject* wall = MakeWall(0);
        Select(wall, selection);
        DeleteObjectWithDependants(wall);
        EXPECT_EQ(wall->vertexCount, 4u);
        EXPECT_EQ(ChainKeys(wall), (std::vector<float>{PointKey(0, 0), PointKey(100, 0), PointKey(100, 100), PointKey(0, 100)}));
    }
    EXPECT_EQ(CountFloorObjects(Storey(0)), 3);
}

TEST_F(WallSegmentDeleteTest, SegmentWithADoorShowsTheMessageAndStays)
{
    vtest::MessageBoxRecorder boxes;
    PlanObject* wall = MakeWall(0);
    PlanObject* door = MakeDoorOn(wall, 1);
    Select(wall, {1, 2});
    DeleteObjectWithDependants(wall);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "Questo segmento di muro contiene finestre o porte. Eliminare tutte le finestre e le porte dal "
              "segmento del muro prima di poterlo cancellare.");
    EXPECT_EQ(boxes.Last().owner, nullptr);
    EXPECT_EQ(wall->vertexCount, 4u);
    EXPECT_EQ(wall->firstChild, door);
    EXPECT_EQ(CountFloorObjects(Storey(0)), 1);
}

TEST_F(WallSegmentDeleteTest, DoorOnTheClosingSegmentBlocksItsDeletion)
{
    vtest::MessageBoxRecorder boxes;
    PlanObject* wall = MakeWall(1);
    MakeDoorOn(wall, 3);
    Select(wall, {0, 3});
    DeleteObjectWithDependants(wall);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(wall->closed, 1);
}

TEST_F(WallSegmentDeleteTest, FullySelectedWallIsFreedWithItsOpenings)
{
    long before = LiveRecordCount();
    PlanObject* wall = MakeWall(0);
    MakeDoorOn(wall, 0);
    Select(wall, {0, 1, 2, 3});
    DeleteObjectWithDependants(wall);
    EXPECT_EQ(Storey(0)->firstObject, nullptr);
    EXPECT_EQ(LiveRecordCount(), before);
}

TEST_F(WallSegmentDeleteTest, OpeningsOfTheRemovedEndSegmentGoWithIt)
{
    PlanObject* wall = MakeWall(1);
    PlanObject* onSecond = MakeDoorOn(wall, 1);
    // Deleting the first segment of a closed group moves its first vertex to the end
    // and opens it: the segment from the old last vertex (now before it) is kept.
    Select(wall, {0, 1});
    DeleteObjectWithDependants(wall);
    EXPECT_EQ(wall->firstChild, onSecond);
    OpeningRecord* record = static_cast<OpeningRecord*>(onSecond->link);
    EXPECT_EQ(record->startVertex, wall->firstVertex);
    EXPECT_EQ(record->endVertex, wall->firstVertex->next);
}
