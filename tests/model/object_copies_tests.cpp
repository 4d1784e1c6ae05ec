#include "support_model.h"
#include "model/generated_children.h"
#include "model/object_copies.h"
#include "model/object_edit.h"
#include "model/object_transforms.h"
#include "support/test_support.h"
#include <math.h>
#include <string.h>
#include <vector>

using namespace mtest;

namespace {

const float kPi = 3.14159265358979323846f;

class ObjectCopiesTest : public DocumentTest {
protected:
    void TearDown() override
    {
        mirrorPoint[0] = mirrorPoint[1] = 0.0f;
        groupUnderConstruction = nullptr;
        DocumentTest::TearDown();
    }

    // Every message box is answered here, so that none can stop a test.
    vtest::MessageBoxRecorder boxes;

    // A wall with every copied field set to something of its own.
    PlanObject* MakeRichWall()
    {
        PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, -1, 0}, {100, -2, 0}, {100, -3, 100}, {0, -4, 100}});
        wall->creationFlag = 3;
        wall->colourA = {1, 2, 3};
        wall->colourM[0] = 1;
        wall->colourB = {4, 5, 6};
        wall->size = 6.5f;
        wall->buildFlag = 0;
        wall->winding = -1;
        wall->styleOrTexture = 77;
        for (int i = 0; i < 32; ++i)
            wall->textureBlock[i] = static_cast<uint8_t>(i + 1);
        wall->projectionMode = 3;
        wall->plantAge = 4.5f;
        wall->subType = 54;
        wall->imageId1 = 11;
        wall->imageId2 = 12;
        wall->colour3 = {7, 8, 9};
        wall->colour4 = {10, 11, 12};
        wall->colour5 = {13, 14, 15};
        wall->elevation = 24.0f;
        wall->onTerrain = 1;
        wall->value3 = 99;
        wall->category = kCategoryFloorPlan;
        for (int i = 0; i < 5; ++i)
            wall->parameters[i] = 0.25f * (i + 1);
        wall->offsetSide = 2;
        wall->value4 = 5;
        PlanVertex* v = VertexAt(wall, 1);
        v->inTangent[0] = 3;
        v->outTangent[2] = -4;
        v->faceTextureA = 41;
        v->segmentElevation = 12.0f;
        v->mainHeight = 96.0f;
        return wall;
    }
};

TEST_F(ObjectCopiesTest, CopyEqualsItsOriginalAndSharesNothing)
{
    PlanObject* wall = MakeRichWall();
    PlanObject* door = MakeDoorOn(wall, 1);
    OpeningRecord* record = static_cast<OpeningRecord*>(door->link);
    record->distanceFromStart = 20;
    record->distanceToEnd = 44;
    record->height = 80;
    record->elevation = 2;
    record->hingeSide = 1;
    record->swingAngle = 0.5f;
    record->flags = 4;
    record->glazingBarsAcross = 2;
    record->glazingBarsDown = 3;
    record->casingWidth = 3.5f;
    VertexAt(wall, 0)->selected = 1;

    PlanObject* copy = CreateObjectFromTemplate(wall, nullptr, nullptr, 10, 20, 1, kCopySelectionCode);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(wall->next, copy);
    EXPECT_EQ(copy->floor, Storey(0));
    EXPECT_EQ(copy->owner, nullptr);

    EXPECT_EQ(copy->type, wall->type);
    EXPECT_EQ(copy->creationFlag, 3);
    EXPECT_EQ(memcmp(&copy->colourA, &wall->colourA, sizeof(ColourTriple)), 0);
    EXPECT_EQ(copy->colourM[0], 1);
    EXPECT_EQ(copy->colourB.blue, 6);
    EXPECT_EQ(copy->size, 6.5f);
    EXPECT_EQ(copy->buildFlag, 0);
    EXPECT_EQ(copy->winding, -1);
    EXPECT_EQ(copy->styleOrTexture, 77u);
    EXPECT_EQ(memcmp(copy->textureBlock, wall->textureBlock, 32), 0);
    EXPECT_EQ(copy->projectionMode, 3);
    EXPECT_EQ(copy->plantAge, 4.5f);
    EXPECT_EQ(copy->subType, 54u);
    EXPECT_EQ(copy->imageId1, 11u);
    EXPECT_EQ(copy->imageId2, 12u);
    EXPECT_EQ(copy->colour3.red, 7);
    EXPECT_EQ(copy->colour4.green, 11);
    EXPECT_EQ(copy->colour5.blue, 15);
    EXPECT_EQ(copy->elevation, 24.0f);
    EXPECT_EQ(copy->onTerrain, 1);
    EXPECT_EQ(copy->value3, 99u);
    EXPECT_EQ(copy->category, kCategoryFloorPlan);
    EXPECT_EQ(memcmp(copy->parameters, wall->parameters, sizeof(wall->parameters)), 0);
    EXPECT_EQ(copy->offsetSide, 2u);
    EXPECT_EQ(copy->value4, 5u);
    EXPECT_EQ(copy->vertexCount, 4u);

    // Vertices: moved by (10, 20) in x and z, unselected, owned by the copy.
    PlanVertex* from = wall->firstVertex;
    for (PlanVertex* v = copy->firstVertex; v; v = v->next, from = from->next) {
        ASSERT_NE(from, nullptr);
        EXPECT_NE(v, from);
        EXPECT_EQ(v->owner, copy);
        EXPECT_EQ(v->selected, 0);
        EXPECT_EQ(v->position[0], from->position[0] + 10);
        EXPECT_EQ(v->position[1], from->position[1]);
        EXPECT_EQ(v->position[2], from->position[2] + 20);
        EXPECT_EQ(memcmp(v->inTangent, from->inTangent, sizeof(v->inTangent)), 0);
        EXPECT_EQ(memcmp(v->outTangent, from->outTangent, sizeof(v->outTangent)), 0);
        EXPECT_EQ(v->faceTextureA, from->faceTextureA);
        EXPECT_EQ(v->segmentElevation, from->segmentElevation);
        EXPECT_EQ(v->mainHeight, from->mainHeight);
    }
    EXPECT_EQ(from, nullptr);

    // The door: a copy of its own on the matching segment of the copied wall.
    PlanObject* doorCopy = copy->firstChild;
    ASSERT_NE(doorCopy, nullptr);
    EXPECT_NE(doorCopy, door);
    EXPECT_EQ(doorCopy->owner, copy);
    EXPECT_EQ(doorCopy->next, nullptr);
    OpeningRecord* copied = static_cast<OpeningRecord*>(doorCopy->link);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, record);
    EXPECT_EQ(copied->startVertex, VertexAt(copy, 1));
    EXPECT_EQ(copied->endVertex, VertexAt(copy, 2));
    EXPECT_EQ(copied->typeCopy, ObjDoor);
    EXPECT_EQ(copied->style, 501);
    EXPECT_EQ(copied->distanceFromStart, 20);
    EXPECT_EQ(copied->distanceToEnd, 44);
    EXPECT_EQ(copied->width, 36);
    EXPECT_EQ(copied->height, 80);
    EXPECT_EQ(copied->elevation, 2);
    EXPECT_EQ(copied->hingeSide, 1);
    EXPECT_EQ(copied->swingAngle, 0.5f);
    EXPECT_EQ(copied->flags, 4);
    EXPECT_EQ(copied->glazingBarsAcross, 2);
    EXPECT_EQ(copied->glazingBarsDown, 3);
    EXPECT_EQ(copied->casingWidth, 3.5f);
    EXPECT_EQ(copied->parts, nullptr);

    // Freeing the original leaves the copy whole.
    FreeObject(wall);
    EXPECT_EQ(Storey(0)->firstObject, copy);
    EXPECT_EQ(VertexAt(copy, 3)->position[2], 120.0f);
    EXPECT_EQ(copied->startVertex->owner, copy);
}

TEST_F(ObjectCopiesTest, PasteCopyIsSelectedAndHasNoChildren)
{
    PlanObject* group = MakeObject(ObjGroup, Storey(0), {});
    MakeChild(group, ObjLine, {{0, 0, 0}, {5, 0, 5}});
    PlanObject* copy = CreateObjectFromTemplate(group, nullptr, nullptr, 0, 0, 0, 5329);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->firstChild, nullptr);
    EXPECT_EQ(group->next, nullptr) << "not attached without the flag";
    FreeObject(copy);

    PlanObject* line = MakeObject(ObjLine, Storey(0), {{1, 0, 2}, {3, 0, 4}});
    PlanObject* placed = CreateObjectFromTemplate(line, nullptr, nullptr, 100, 200, 1, 5329);
    EXPECT_EQ(VertexAt(placed, 0)->selected, 1);
    EXPECT_EQ(VertexAt(placed, 1)->position[0], 103.0f);
    EXPECT_EQ(VertexAt(placed, 1)->position[2], 204.0f);
}

TEST_F(ObjectCopiesTest, GroupCopyKeepsItsMembersInOrder)
{
    PlanObject* group = MakeObject(ObjGroup, Storey(0), {});
    PlanObject* a = MakeChild(group, ObjLine, {{0, 0, 0}});
    PlanObject* inner = MakeChild(group, ObjGroup, {});
    MakeChild(inner, ObjLine, {{7, 0, 7}});
    PlanObject* b = MakeChild(group, 3, {{1, 0, 1}});
    PlanObject* copy = CreateObjectFromTemplate(group, nullptr, nullptr, 1, 1, 1, kCopySelectionCode);
    ASSERT_NE(copy, nullptr);
    PlanObject* first = copy->firstChild;
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first->next, nullptr);
    ASSERT_NE(first->next->next, nullptr);
    EXPECT_EQ(first->type, a->type);
    EXPECT_EQ(first->next->type, ObjGroup);
    EXPECT_EQ(first->next->next->type, b->type);
    EXPECT_EQ(first->next->next->previous, first->next);
    EXPECT_EQ(first->next->firstChild->owner, first->next);
    EXPECT_EQ(first->next->firstChild->firstVertex->position[0], 8.0f);
    for (PlanObject* member = first; member; member = member->next)
        EXPECT_EQ(member->owner, copy);
}

TEST_F(ObjectCopiesTest, LoneOpeningCopyKeepsOnlyTypeAndStyle)
{
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}});
    PlanObject* door = MakeDoorOn(wall, 0);
    static_cast<OpeningRecord*>(door->link)->distanceFromStart = 12;
    PlanObject* copy = CreateObjectFromTemplate(door, nullptr, nullptr, 0, 0, 0, kCopySelectionCode);
    ASSERT_NE(copy, nullptr);
    OpeningRecord* record = static_cast<OpeningRecord*>(copy->link);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->typeCopy, ObjDoor);
    EXPECT_EQ(record->style, 501);
    EXPECT_EQ(record->startVertex, nullptr);
    EXPECT_EQ(record->distanceFromStart, 0);
    EXPECT_EQ(record->width, 0);
    FreeObject(copy);
}

TEST_F(ObjectCopiesTest, ImageCopiesGetTheirOwnPathAndPictureNumber)
{
    PlanObject* image = MakeObject(ObjImage, Storey(0), {{0, 0, 0}, {10, 0, 0}});
    image->imagePath = DuplicateRecordText("PHOTO.BMP");
    uint32_t before = imageTextureCounter;
    PlanObject* one = CreateObjectFromTemplate(image, nullptr, nullptr, 0, 0, 1, kCopySelectionCode);
    PlanObject* two = CreateObjectFromTemplate(image, nullptr, nullptr, 0, 0, 1, kCopySelectionCode);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(imageTextureCounter, before + 2);
    EXPECT_EQ(one->imageId1, before);
    EXPECT_EQ(two->imageId1, before + 1);
    EXPECT_EQ(two->imageId2, before + 1);
    EXPECT_EQ(two->value3, before + 1);
    EXPECT_EQ(VertexAt(two, 1)->faceTextureB, before + 1);
    EXPECT_NE(one->imagePath, image->imagePath);
    EXPECT_STREQ(one->imagePath, "PHOTO.BMP");
}

TEST_F(ObjectCopiesTest, MetafilePictureCopyOwnsItsOwnMetafile)
{
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    Rectangle(dc, 0, 0, 10, 10);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    PlanObject* picture = MakeObject(ObjMetafilePicture, Storey(0), {{0, 0, 0}, {10, 0, 10}});
    PictureRecord* record = AllocateRecordOf<PictureRecord>();
    record->values[2] = 33;
    record->metafile = metafile;
    picture->link = record;
    PlanObject* copy = CreateObjectFromTemplate(picture, nullptr, nullptr, 0, 0, 1, kCopySelectionCode);
    ASSERT_NE(copy, nullptr);
    PictureRecord* copied = static_cast<PictureRecord*>(copy->link);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, record);
    EXPECT_EQ(copied->values[2], 33u);
    ASSERT_NE(copied->metafile, nullptr);
    EXPECT_NE(copied->metafile, metafile);
    FreeObject(picture);
    EXPECT_GT(GetEnhMetaFileBits(copied->metafile, 0, nullptr), 0u);
}

TEST_F(ObjectCopiesTest, MirroredCopiesTurnAboutTheMirrorPoint)
{
    mirrorPoint[0] = 50;
    mirrorPoint[1] = 10;
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{10, 0, 0}, {30, 0, 40}});
    VertexAt(line, 0)->outTangent[0] = 5;
    VertexAt(line, 0)->outTangent[2] = 6;
    PlanObject* mirrored = CreateObjectFromTemplate(line, nullptr, nullptr, 0, 0, 1, kDuplicateMirroredHCode);
    ASSERT_NE(mirrored, nullptr);
    EXPECT_EQ(VertexAt(mirrored, 0)->position[0], 90.0f);
    EXPECT_EQ(VertexAt(mirrored, 1)->position[0], 70.0f);
    EXPECT_EQ(VertexAt(mirrored, 1)->position[2], 40.0f);
    EXPECT_EQ(VertexAt(mirrored, 0)->outTangent[0], -5.0f);
    EXPECT_EQ(VertexAt(mirrored, 0)->outTangent[2], 6.0f);

    PlanObject* flipped = CreateObjectFromTemplate(line, nullptr, nullptr, 0, 0, 1, kDuplicateMirroredVCode);
    EXPECT_EQ(VertexAt(flipped, 1)->position[0], 30.0f);
    EXPECT_EQ(VertexAt(flipped, 1)->position[2], -20.0f);
    EXPECT_EQ(VertexAt(flipped, 0)->outTangent[2], -6.0f);

    // In the x/height plane the vertical mirror turns the height.
    document->settings->viewPlane = 1;
    VertexAt(line, 1)->position[1] = -4;
    VertexAt(line, 1)->selected = 1;
    MirrorSelectedPoints(line, 0);
    EXPECT_EQ(VertexAt(line, 1)->position[1], 24.0f);
    EXPECT_EQ(VertexAt(line, 0)->position[1], 0.0f);
}

TEST_F(ObjectCopiesTest, NudgeMovesSelectedPointsByDirectionAndPlane)
{
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{10, 10, 10}, {0, 0, 0}});
    VertexAt(line, 0)->selected = 1;
    PlanVertex* v = VertexAt(line, 0);
    NudgeSelectedPoints(line, 2, 0);
    EXPECT_EQ(v->position[2], 8.0f);
    NudgeSelectedPoints(line, 2, 1);
    EXPECT_EQ(v->position[0], 8.0f);
    NudgeSelectedPoints(line, 5, 2);
    EXPECT_EQ(v->position[2], 13.0f);
    NudgeSelectedPoints(line, 5, 3);
    EXPECT_EQ(v->position[0], 13.0f);
    document->settings->viewPlane = 3;
    NudgeSelectedPoints(line, 1, 0);
    NudgeSelectedPoints(line, 1, 3);
    EXPECT_EQ(v->position[1], 9.0f);
    EXPECT_EQ(v->position[2], 14.0f);
    EXPECT_EQ(VertexAt(line, 1)->position[0], 0.0f);
}

// ---------------------------------------------------------------------------------
// Groups

TEST_F(ObjectCopiesTest, MembersOfANewGroupTakeItsFloorWithTheirDescendants)
{
    PlanObject* group = MakeObject(ObjGroup, Storey(1), {});
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}});
    PlanObject* door = MakeDoorOn(wall, 0);
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, 0, 0}});
    groupUnderConstruction = group;
    AddObjectToCurrentGroup(wall);
    AddObjectToCurrentGroup(line);
    AddObjectToCurrentGroup(group);
    EXPECT_EQ(Storey(0)->firstObject, nullptr);
    EXPECT_EQ(group->firstChild, wall);
    EXPECT_EQ(wall->next, line);
    EXPECT_EQ(line->previous, wall);
    EXPECT_EQ(wall->owner, group);
    EXPECT_EQ(wall->floor, Storey(1));
    EXPECT_EQ(door->floor, Storey(1));
    EXPECT_EQ(line->floor, Storey(1));
    EXPECT_EQ(group->owner, nullptr);
}

TEST_F(ObjectCopiesTest, UngroupPutsEveryMemberBackOnTheGroupsFloor)
{
    PlanObject* group = MakeObject(ObjGroup, Storey(2), {});
    PlanObject* a = MakeChild(group, ObjLine, {{0, 0, 0}, {10, 0, 0}}, 1);
    PlanObject* inner = MakeChild(group, ObjGroup, {});
    PlanObject* deep = MakeChild(inner, ObjLine, {{20, 0, 0}, {30, 0, 5}}, 1);
    a->box3D[0] = 999;
    long before = LiveRecordCount();
    Ungroup(group);
    EXPECT_EQ(LiveRecordCount(), before - 1);
    EXPECT_EQ(Storey(2)->firstObject, a);
    EXPECT_EQ(a->next, inner);
    EXPECT_EQ(inner->previous, a);
    EXPECT_EQ(a->owner, nullptr);
    EXPECT_EQ(inner->owner, nullptr);
    EXPECT_EQ(a->floor, Storey(2));
    EXPECT_EQ(deep->owner, inner);
    EXPECT_EQ(VertexAt(a, 0)->selected, 0);
    EXPECT_EQ(VertexAt(deep, 0)->selected, 0);
    EXPECT_EQ(a->box3D[0], 0.0f);
    EXPECT_EQ(a->box3D[4], 10.0f);

    // Not a group: nothing happens.
    Ungroup(a);
    EXPECT_EQ(Storey(2)->firstObject, a);
}

// ---------------------------------------------------------------------------------
// Wall groups

TEST_F(ObjectCopiesTest, TwoPointWallCannotBecomeExterior)
{
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}}, 1);
    ConvertWallGroupToExterior(wall);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "An Interior wall group must contain at least 2 wall segments to be converted to Exterior.  "
              "An Exterior wall group defines interior space.");
    EXPECT_EQ(boxes.Last().owner, nullptr);
    EXPECT_EQ(wall->subType, 0u);
    EXPECT_EQ(wall->parameters[2], 0.0f);
    EXPECT_EQ(VertexAt(wall, 0)->selected, 1);

    AddObjectPoint(NewVertexNode(1, 1, 0, 0, 0, 0, 100, 0, 100, 0, 0, 0, 0, 0, 0, wall), wall);
    ConvertWallGroupToExterior(wall);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(wall->subType, 54u);
    EXPECT_EQ(wall->colourM[0], 0);
    EXPECT_EQ(wall->parameters[2], 0.5f);
    EXPECT_EQ(VertexAt(wall, 0)->selected, 0);

    wall->category = kCategoryFoundation;
    ConvertWallGroupToInterior(wall);
    EXPECT_EQ(wall->subType, 0u);
    EXPECT_EQ(wall->colourM[0], 1);
    EXPECT_EQ(wall->category, kCategoryFloorPlan);
}

// ---------------------------------------------------------------------------------
// Storeys

TEST_F(ObjectCopiesTest, FloorMovesStepOnlyAmongTheStoreys)
{
    Storey(0)->height = 90;
    Storey(1)->height = 100;
    PlanFloor* sheet = FindFloorByNumber(5149);
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(Storey(2)->next, sheet);

    document->currentFloor = Storey(0);
    EXPECT_EQ(FindAdjacentStorey(5168), Storey(1));
    EXPECT_EQ(FindAdjacentStorey(5169), nullptr);
    document->currentFloor = Storey(2);
    EXPECT_EQ(FindAdjacentStorey(5170), nullptr);
    EXPECT_EQ(FindAdjacentStorey(5171), Storey(1));
    document->currentFloor = sheet;
    EXPECT_EQ(FindAdjacentStorey(5168), nullptr);
    EXPECT_EQ(FindAdjacentStorey(5169), nullptr);

    document->currentFloor = Storey(1);
    PlanObject* box = MakeObject(ObjLine, Storey(1), {{0, 0, 0}}, 1);
    box->elevation = 100;
    box->onTerrain = 1;
    ASSERT_TRUE(MoveObjectToAdjacentFloor(box, 5169));
    EXPECT_EQ(box->floor, Storey(0));
    EXPECT_EQ(Storey(0)->firstObject, box);
    EXPECT_EQ(Storey(1)->firstObject, nullptr);
    EXPECT_EQ(box->elevation, 10.0f);   // down by the target's height
    EXPECT_EQ(box->onTerrain, 0);
    EXPECT_EQ(VertexAt(box, 0)->selected, 0);

    document->currentFloor = Storey(0);
    ASSERT_TRUE(MoveObjectToAdjacentFloor(box, 5168));
    EXPECT_EQ(box->floor, Storey(1));
    EXPECT_EQ(box->elevation, 100.0f);   // up by the current storey's height
    document->currentFloor = Storey(2);
    EXPECT_FALSE(MoveObjectToAdjacentFloor(box, 5168));
    EXPECT_EQ(box->floor, Storey(1));
    EXPECT_EQ(box->elevation, 100.0f);
}

TEST_F(ObjectCopiesTest, WallFloorMoveShiftsItsSelectedSegments)
{
    document->currentFloor = Storey(0);
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 100}}, 0, 1);
    for (PlanVertex* v = wall->firstVertex; v; v = v->next)
        v->segmentElevation = 10;
    VertexAt(wall, 3)->segmentElevation = 4;
    VertexAt(wall, 0)->selected = 1;
    VertexAt(wall, 3)->selected = 1;
    ShiftElevationForFloorMove(wall, 5168);
    // Only the closing segment (last to first) is selected at both ends.
    EXPECT_EQ(VertexAt(wall, 3)->segmentElevation, 100.0f);
    EXPECT_EQ(VertexAt(wall, 0)->segmentElevation, 10.0f);
    EXPECT_EQ(wall->elevation, 10.0f);

    PlanObject* open = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {200, 0, 0}}, 1);
    for (PlanVertex* v = open->firstVertex; v; v = v->next)
        v->segmentElevation = 30;
    // The open end carries no segment: its value never drags the wall down.
    VertexAt(open, 2)->segmentElevation = 0;
    ShiftElevationForFloorMove(open, 5168);
    EXPECT_EQ(open->elevation, 126.0f);
    EXPECT_EQ(GetLowestSegmentElevation(open), 126.0f);
}

TEST_F(ObjectCopiesTest, NoAdjacentStoreyMessages)
{
    EXPECT_STREQ(NoAdjacentStoreyMessage(5168),
                 "Questo è il piano più alto. Non ci sono altri piani sopra di esso su cui spostare gli oggetti "
                 "selezionati.");
    EXPECT_STREQ(NoAdjacentStoreyMessage(5171),
                 "You are currently on the bottom floor.  There are no floors below the bottom floor to copy "
                 "the selected objects.");
}

// ---------------------------------------------------------------------------------
// Tangents, swaps, rows

TEST_F(ObjectCopiesTest, RecomputeSmoothsWithTheSettingsTension)
{
    PlanObject* open = MakeObject(ObjLine, Storey(0), {{0, 5, 0}, {10, 7, 20}, {40, 9, 0}});
    RecomputeObject(open);
    PlanVertex* middle = VertexAt(open, 1);
    // Tension 8 / 10: 0.8 x (next - previous) in x and z; the height is not touched.
    EXPECT_FLOAT_EQ(middle->outTangent[0], 32.0f);
    EXPECT_FLOAT_EQ(middle->outTangent[2], 0.0f);
    EXPECT_FLOAT_EQ(middle->inTangent[0], 32.0f);
    EXPECT_FLOAT_EQ(middle->outTangent[1], 0.0f);
    EXPECT_FLOAT_EQ(VertexAt(open, 0)->outTangent[0], 0.0f);

    PlanObject* closed = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {10, 0, 20}, {40, 0, 0}}, 0, 1);
    RecomputeObject(closed);
    EXPECT_FLOAT_EQ(VertexAt(closed, 0)->outTangent[0], 0.8f * (10 - 40));
    EXPECT_FLOAT_EQ(VertexAt(closed, 2)->outTangent[2], 0.8f * (0 - 20));
}

TEST_F(ObjectCopiesTest, AxisSwapsExchangePositionsAndTangents)
{
    PlanObject* object = MakeObject(ObjLine, Storey(0), {{1, 2, 3}});
    VertexAt(object, 0)->inTangent[1] = 5;
    SwapObjectYZ(object);
    EXPECT_EQ(VertexAt(object, 0)->position[1], 3.0f);
    EXPECT_EQ(VertexAt(object, 0)->position[2], 2.0f);
    EXPECT_EQ(VertexAt(object, 0)->inTangent[2], 5.0f);
    SwapObjectXZ(object);
    EXPECT_EQ(VertexAt(object, 0)->position[0], 2.0f);
    EXPECT_EQ(VertexAt(object, 0)->position[2], 1.0f);
}

TEST_F(ObjectCopiesTest, RowsAreReversedInPlaceOnlyWhenTheCountDividesIntoThem)
{
    PlanObject* mesh = MakeObject(10, Storey(0), {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}});
    mesh->rows = 2;
    mesh->winding = -1;
    EXPECT_FALSE(EnsureCounterClockwise(mesh, 1));
    std::vector<float> xs;
    PlanVertex* last = nullptr;
    for (PlanVertex* v = mesh->firstVertex; v; v = v->next) {
        xs.push_back(v->position[0]);
        EXPECT_EQ(v->previous, last);
        last = v;
    }
    EXPECT_EQ(xs, (std::vector<float>{2, 1, 0, 5, 4, 3}));
    EXPECT_EQ(mesh->winding, -1);

    mesh->rows = 4;
    ReverseObjectRows(mesh);
    EXPECT_EQ(mesh->firstVertex->position[0], 2.0f);

    mesh->winding = 0;
    mesh->rows = 2;
    EXPECT_FALSE(EnsureCounterClockwise(mesh, 1));
    EXPECT_EQ(mesh->firstVertex->position[0], 2.0f);
    mesh->winding = 1;
    EXPECT_TRUE(EnsureCounterClockwise(mesh, 1));

    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {1, 0, 0}});
    ReverseObjectRows(line);
    EXPECT_EQ(line->firstVertex->position[0], 0.0f);
}

TEST_F(ObjectCopiesTest, ReversedWallKeepsItsDoorsOnTheirSegments)
{
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}});
    PlanObject* door = MakeDoorOn(wall, 0);
    OpeningRecord* record = static_cast<OpeningRecord*>(door->link);
    record->distanceFromStart = 10;
    record->distanceToEnd = 54;
    PlanVertex* a = VertexAt(wall, 0);
    PlanVertex* b = VertexAt(wall, 1);
    ReverseObjectRows(wall);
    EXPECT_EQ(record->startVertex, b);
    EXPECT_EQ(record->endVertex, a);
    EXPECT_EQ(record->startVertex->next, record->endVertex);
    EXPECT_EQ(record->distanceFromStart, 54.0f);
}

TEST_F(ObjectCopiesTest, ReverseVertexListCutsAfterTheReversedPart)
{
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
    PlanVertex* v0 = VertexAt(line, 0);
    PlanVertex* v2 = VertexAt(line, 2);
    PlanVertex* v3 = VertexAt(line, 3);
    PlanVertex* head = ReverseVertexList(v0, 3);
    EXPECT_EQ(head, v2);
    EXPECT_EQ(head->previous, nullptr);
    EXPECT_EQ(v0->next, nullptr);
    EXPECT_EQ(head->next->next, v0);
    // Put the chain back together for freeing: v2 v1 v0 v3.
    v0->next = v3;
    v3->previous = v0;
    line->firstVertex = head;
    EXPECT_EQ(ReverseVertexList(v3, 2), nullptr);
    // A count beyond the list stops at its end.
    PlanVertex* whole = ReverseVertexList(line->firstVertex, 100);
    EXPECT_EQ(whole, v3);
    line->firstVertex = whole;
    EXPECT_EQ(CountChain(line), 4);
}

// ---------------------------------------------------------------------------------
// Extrusion and lathe

TEST_F(ObjectCopiesTest, ExtrudeAppendsARowAlongTheViewNormal)
{
    PlanObject* outline = MakeObject(13, Storey(0), {{0, 0, 0}, {40, 0, 0}, {40, 0, 20}}, 0, 1);
    ExtrudeOutline(outline, -30);
    EXPECT_EQ(outline->rows, 2);
    EXPECT_EQ(outline->vertexCount, 6u);
    EXPECT_EQ(VertexAt(outline, 4)->position[0], 40.0f);
    EXPECT_EQ(VertexAt(outline, 4)->position[1], -30.0f);
    EXPECT_EQ(VertexAt(outline, 4)->position[2], 0.0f);
    EXPECT_EQ(outline->box3D[0], -30.0f);
    EXPECT_EQ(outline->projectionMode, 2);   // the first row lies flat in the plan
    EXPECT_FLOAT_EQ(VertexAt(outline, 5)->v, 40.0f + 20.0f + sqrtf(40 * 40 + 20 * 20));

    // Only a one-row outline is extruded.
    ExtrudeOutline(outline, 10);
    EXPECT_EQ(outline->vertexCount, 6u);
}

TEST_F(ObjectCopiesTest, LatheAddsARowPerQuarterTurn)
{
    PlanObject* outline = MakeObject(ObjLine, Storey(0), {{10, 0, 0}, {20, -5, 0}});
    TransformRecord lathe;
    memset(&lathe, 0, sizeof(lathe));
    lathe.angle = kPi;
    LatheOutline(outline, reinterpret_cast<const float*>(&lathe));
    EXPECT_EQ(outline->rows, 3);
    ASSERT_EQ(outline->vertexCount, 6u);
    // Quarter turns about the origin: (10, 0) -> (0, -10) -> (-10, 0).
    EXPECT_NEAR(VertexAt(outline, 2)->position[0], 0.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(outline, 2)->position[2], -10.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(outline, 3)->position[1], -5.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(outline, 4)->position[0], -10.0f, 1e-4f);
    EXPECT_NEAR(VertexAt(outline, 5)->position[0], -20.0f, 1e-4f);

    PlanObject* small = MakeObject(ObjLine, Storey(0), {{10, 0, 0}});
    lathe.angle = -0.5f;
    LatheOutline(small, reinterpret_cast<const float*>(&lathe));
    EXPECT_EQ(small->rows, 2);
}

TEST_F(ObjectCopiesTest, RecentringNeedsAPlanPane)
{
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{500, 0, 500}}, 1);
    float box[4] = {1, 2, 3, 4};
    RecentreDrawing(1, box);
    EXPECT_EQ(box[0], 0.0f);
    EXPECT_EQ(box[3], 0.0f);
    EXPECT_EQ(VertexAt(line, 0)->position[0], 500.0f);
}

// ---------------------------------------------------------------------------------
// Boxes, text editors and whole floors

TEST_F(ObjectCopiesTest, GroupBoxesFollowTheirMembersOnShownFloors)
{
    PlanObject* group = MakeObject(ObjGroup, Storey(0), {});
    MakeChild(group, ObjLine, {{-5, -2, 3}, {40, -9, 60}});
    PlanObject* unselected = MakeObject(ObjGroup, Storey(0), {});
    MakeChild(unselected, ObjLine, {{1, 0, 1}});
    PlanObject* hidden = MakeObject(ObjGroup, Storey(1), {});
    MakeChild(hidden, ObjLine, {{0, 0, 0}, {7, 0, 7}}, 1);
    Storey(1)->shown = 0;
    VertexAt(group->firstChild, 0)->selected = 1;

    UpdateAllGroupExtents(document->firstFloor, 0, 1);
    EXPECT_EQ(group->box3D[0], -9.0f);
    EXPECT_EQ(group->box3D[1], -5.0f);
    EXPECT_EQ(group->box3D[2], 3.0f);
    EXPECT_EQ(group->box3D[3], -2.0f);
    EXPECT_EQ(group->box3D[4], 40.0f);
    EXPECT_EQ(group->box3D[5], 60.0f);
    EXPECT_EQ(unselected->box3D[4], 0.0f) << "only groups with a selected point";
    EXPECT_EQ(hidden->box3D[4], 0.0f) << "hidden floors are skipped";
    UpdateAllGroupExtents(document->firstFloor, 0, 0);
    EXPECT_EQ(unselected->box3D[4], 1.0f);
}

// The last WM_SETREDRAW each watched window received (-1: none).
WNDPROC editProc = nullptr;
HWND watched[2] = {};
int lastRedraw[2] = {-1, -1};

LRESULT CALLBACK WatchRedraw(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETREDRAW)
        for (int i = 0; i < 2; ++i)
            if (watched[i] == window)
                lastRedraw[i] = static_cast<int>(wParam);
    return CallWindowProcA(editProc, window, message, wParam, lParam);
}

TEST_F(ObjectCopiesTest, TextEditorsDrawOnlyOnShownFloors)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    for (int i = 0; i < 2; ++i) {
        watched[i] = CreateWindowExA(0, "EDIT", "a", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, parent, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(watched[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchRedraw)));
        lastRedraw[i] = -1;
    }
    PlanObject* shown = MakeObject(ObjTextFrame, Storey(0), {{0, 0, 0}});
    shown->link = watched[0];
    PlanObject* group = MakeObject(ObjGroup, Storey(1), {});
    PlanObject* nested = MakeChild(group, ObjTextFrame, {{0, 0, 0}});
    nested->link = watched[1];
    Storey(1)->shown = 0;
    UpdateTextEditRedraw();
    EXPECT_EQ(lastRedraw[0], TRUE);
    EXPECT_EQ(lastRedraw[1], FALSE);
    Storey(1)->shown = 1;
    UpdateTextEditRedraw();
    EXPECT_EQ(lastRedraw[1], TRUE);
    FreeObject(shown);
    FreeObject(group);
    DestroyWindow(parent);
}

TEST_F(ObjectCopiesTest, FloorHeightsAreRaisedAndClampedInPlanLengths)
{
    PlanObject* line = MakeObject(ObjLine, Storey(0), {{0, 500, 0}, {0, 20, 0}});
    PlanObject* wall = MakeObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}});
    PlanObject* door = MakeDoorOn(wall, 0);
    OpeningRecord* record = static_cast<OpeningRecord*>(door->link);
    record->elevation = 170;
    record->height = 80;
    VertexAt(door, 0)->position[1] = 300;

    RaiseFloorObjects(Storey(0), 5);
    EXPECT_EQ(VertexAt(line, 1)->position[1], 25.0f);
    EXPECT_EQ(VertexAt(door, 0)->position[1], 305.0f);

    // 96 inches at 1:36 are 192 plan units; openings stay 6 below that.
    ClampFloorObjectHeights(Storey(0));
    EXPECT_FLOAT_EQ(VertexAt(line, 0)->position[1], 192.0f);
    EXPECT_EQ(VertexAt(line, 1)->position[1], 25.0f);
    EXPECT_FLOAT_EQ(VertexAt(door, 0)->position[1], 192.0f);
    EXPECT_FLOAT_EQ(record->elevation, 106.0f);
    EXPECT_FLOAT_EQ(record->height, 80.0f);
}

} // namespace
