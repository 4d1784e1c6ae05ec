#include "support_files.h"
#include "files/plan_file.h"
#include "files/plan_object_records.h"
#include "files/record_stream.h"
#include "model/generated_children.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "support/test_support.h"
#include <cstring>
#include <cstdlib>
#include <functional>

using namespace ftest;

namespace {

// Offsets in a saved plan: version, word, size, settings, then the first floor record.
const size_t kBodyStart = 6 + 4 + 1614;
const size_t kAfterFirstFloor = kBodyStart + 264;

Bytes SettingsForVersion()
{
    return DefaultSettingsBlock();
}

void Storeys(TestFileWriter& w)
{
    w.Floor("Second Floor", 1, 0, 96.0f);
    w.Floor("Third Floor", 1, 0, 96.0f);
    w.End();
}

} // namespace

class ObjectRecords : public PlanFileTest {};

TEST_F(ObjectRecords, RecordSizesFollowTheVersion)
{
    EXPECT_EQ(81u, kObjectHeaderCommonBytes + ObjectHeaderTailBytes(10000));
    EXPECT_EQ(129u, kObjectHeaderCommonBytes + ObjectHeaderTailBytes(10300));
    EXPECT_EQ(152u, kObjectHeaderCommonBytes + ObjectHeaderTailBytes(10410));
    EXPECT_EQ(89u, kPointCommonBytes + PointTailBytes(10000));
    EXPECT_EQ(105u, kPointCommonBytes + PointTailBytes(10300));
    EXPECT_EQ(113u, kPointCommonBytes + PointTailBytes(10351));
    EXPECT_EQ(133u, kPointCommonBytes + PointTailBytes(10410));
}

TEST_F(ObjectRecords, CurrentObjectRecordFieldByField)
{
    PlanObject* o = Make(6, Storey(0), {At(1.0f, 2.0f, 3.0f)});
    o->colourA = ColourTriple{1, 2, 3};
    o->size = 2.5f;
    o->winding = -1;
    o->category = 128;
    o->parameters[4] = 1.0f;
    PlanVertex* v = o->firstVertex;
    v->faceColourA = ColourTriple{0x1234, 0, 0};
    v->heightD = -2.0f;
    v->faceFlagsB = 0xA1B2C3D4u;
    Bytes file = SaveBytes();

    size_t h = kAfterFirstFloor + 2;  // after tag 200
    EXPECT_EQ(200, ReadBE16(file, kAfterFirstFloor));
    EXPECT_EQ(6, ReadBE16(file, h));
    EXPECT_EQ(1, ReadBE16(file, h + 4));                 // colour A red
    EXPECT_EQ(0x40200000u, ReadBE32(file, h + 22));      // size 2.5
    EXPECT_EQ(1u, ReadBE32(file, h + 32));               // point count
    EXPECT_EQ(0xFFFF, ReadBE16(file, h + 37));           // winding -1
    // The texture block, raw: the projection box of the point as written, z 3 then x 1.
    EXPECT_EQ(0x40400000u, ReadLE32(file, h + 43));
    EXPECT_EQ(0x3F800000u, ReadLE32(file, h + 47));
    EXPECT_EQ(128u, ReadBE32(file, h + 81 + 39));        // category
    EXPECT_EQ(0x3F800000u, ReadBE32(file, h + 81 + 59)); // parameter 5
    size_t p = h + 152;
    EXPECT_EQ(1u, ReadBE32(file, p));
    p += 4;
    EXPECT_EQ(0x40000000u, ReadBE32(file, p + 5 + 16));  // position y 2.0
    EXPECT_EQ(0x34, file[p + 77]);                       // face colour A, raw little-endian
    EXPECT_EQ(0x12, file[p + 78]);
    EXPECT_EQ(0xA1B2C3D4u, ReadBE32(file, p + 89 + 28)); // segment word 2 after value 1
    EXPECT_EQ(0xC0000000u, ReadBE32(file, p + 89 + 40)); // segment value 4
}

TEST_F(ObjectRecords, WallWithTwoDoorsKeepsItsOpeningIndexes)
{
    PlanObject* wall = Make(12, Storey(0), {At(0, 0, 0), At(240, 0, 0), At(240, 0, 240), At(0, 0, 240)});
    wall->parameters[0] = 96.0f;
    wall->parameters[1] = 16.0f;
    wall->size = 4.0f;
    PlanObject* doors[2];
    for (int i = 0; i < 2; ++i) {
        doors[i] = MakeChild(wall, 16, {At(0, 0, 0), At(30, 0, 0)});
        OpeningRecord* r = AllocateRecordOf<OpeningRecord>();
        r->typeCopy = 16;
        r->style = 501;
        r->startVertex = VertexAt(wall, i + 1);
        r->endVertex = VertexAt(wall, i + 2);
        r->distanceFromStart = 60.0f;
        r->distanceToEnd = 150.0f;
        r->width = 30.0f;
        r->height = 80.0f;
        r->hingeSide = 1;
        r->swingAngle = 1.5f;
        r->flags = 4;
        r->casingWidth = 3.0f;
        doors[i]->link = r;
    }
    NormaliseAsPlaced(wall);
    Bytes file = SaveBytes();

    // wall: tag, header, count, 4 points; then the opening count and the first part.
    size_t at = kAfterFirstFloor + 2 + 152 + 4 + 4 * 133;
    EXPECT_EQ(2u, ReadBE32(file, at));
    at += 4;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(201, ReadBE16(file, at));
        size_t block = at + 2 + 152 + 4 + 2 * 133;
        EXPECT_EQ(16u, file[block]);
        EXPECT_EQ(uint32_t(i + 1), ReadLE32(file, block + 4));
        EXPECT_EQ(uint32_t(i + 2), ReadLE32(file, block + 8));
        EXPECT_EQ(0x42700000u, ReadLE32(file, block + 12));  // 60.0, little-endian
        for (int k = 32; k < 44; ++k)
            EXPECT_EQ(0, file[block + k]);
        EXPECT_EQ(1, file[block + 44]);
        EXPECT_EQ(4u, file[block + 50]);
        at = block + 60;
    }

    ASSERT_TRUE(LoadBytes(file));
    PlanObject* loaded = Storey(0)->firstObject;
    ASSERT_NE(nullptr, loaded);
    ASSERT_EQ(12, loaded->type);
    ASSERT_EQ(2, CountChildren(loaded));
    int i = 0;
    for (PlanObject* door = loaded->firstChild; door; door = door->next, ++i) {
        EXPECT_EQ(loaded, door->owner);
        const OpeningRecord* r = static_cast<const OpeningRecord*>(door->link);
        ASSERT_NE(nullptr, r);
        EXPECT_EQ(VertexAt(loaded, i + 1), r->startVertex);
        EXPECT_EQ(VertexAt(loaded, i + 2), r->endVertex);
        // The load lays the openings out again, which builds each door's model.
        ASSERT_NE(nullptr, r->parts);
        EXPECT_EQ(ObjOpeningFrame, r->parts->type);
        EXPECT_FLOAT_EQ(1.5f, r->swingAngle);
    }
    ExpectSameBytesAfterReload(file);
}

TEST_F(ObjectRecords, MissingOpeningReferenceBecomesTheFirstVertex)
{
    PlanObject* wall = Make(12, Storey(0), {At(0, 0, 0), At(100, 0, 0), At(100, 0, 100)});
    OpeningRecord record = {};
    record.startVertex = nullptr;
    record.endVertex = VertexAt(wall, 2);
    uint8_t block[60];
    EncodeOpeningBlock(&record, wall, block);
    EXPECT_EQ(0u, GetLE32(block + 4));
    EXPECT_EQ(2u, GetLE32(block + 8));
    OpeningRecord back = {};
    PutLE32(block + 8, 77);  // an index beyond the chain
    DecodeOpeningBlock(block, wall, &back);
    EXPECT_EQ(wall->firstVertex, back.startVertex);
    EXPECT_EQ(wall->firstVertex, back.endVertex);
}

TEST_F(ObjectRecords, GroupsAreBracketedAndNestedGroupsKeepTheirMembers)
{
    PlanObject* group = Make(1000, Storey(0), {});
    PlanObject* a = MakeChild(group, 6, {At(0, 0, 0), At(10, 0, 0)});
    PlanObject* inner = MakeChild(group, 1000, {});
    MakeChild(inner, 6, {At(0, 0, 5), At(10, 0, 5)});
    MakeChild(inner, 6, {At(0, 0, 9), At(10, 0, 9)});
    MakeChild(group, 6, {At(3, 0, 3), At(4, 0, 4)});
    (void)a;
    NormaliseAsPlaced(group);
    Bytes file = SaveBytes();

    // Any reader of the grammar walks it to its end without meeting anything unknown.
    BodyWalk walk = WalkPlanBody(file);
    ASSERT_TRUE(walk.ok);
    EXPECT_EQ("F:First Floor O:1000 { O:6 O:1000 { O:6 O:6 } O:6 } F:Second Floor F:Third Floor E", walk.Joined());

    ASSERT_TRUE(LoadBytes(file));
    PlanObject* top = Storey(0)->firstObject;
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(nullptr, top->next);
    ASSERT_EQ(3, CountChildren(top));
    PlanObject* nested = top->firstChild->next;
    ASSERT_EQ(1000, nested->type);
    EXPECT_EQ(top, nested->owner);
    EXPECT_EQ(2, CountChildren(nested));
    EXPECT_EQ(nested, nested->firstChild->owner);
    ExpectSameBytesAfterReload(file);
}

TEST_F(ObjectRecords, GroupOfTwoWallsIsWrittenWithItsBrackets)
{
    PlanObject* group = Make(1000, Storey(0), {});
    MakeChild(group, 12, {At(0, 0, 0), At(100, 0, 0)});
    MakeChild(group, 12, {At(0, 0, 50), At(100, 0, 50)});
    BodyWalk walk = WalkPlanBody(SaveBytes());
    ASSERT_TRUE(walk.ok);
    EXPECT_EQ("F:First Floor O:1000 { O:12 O:12 } F:Second Floor F:Third Floor E", walk.Joined());
}

TEST_F(ObjectRecords, TextWithoutEditWindowAndImageWithoutPath)
{
    Make(200, Storey(0), {At(0, 0, 0), At(40, 0, 20)});
    Make(130, Storey(0), {At(0, 0, 0), At(40, 0, 0)});
    Bytes file = SaveBytes();
    size_t text = kAfterFirstFloor + 2 + 152 + 4 + 2 * 133;
    EXPECT_EQ(0u, ReadBE32(file, text));
    EXPECT_EQ(0u, ReadBE32(file, text + 4));
    EXPECT_EQ(0, ReadBE16(file, text + 8));
    EXPECT_EQ(0, std::memcmp(&file[text + 10 + 28], dimensionLogFont.lfFaceName, 32));
    size_t image = text + 70 + 2 + 152 + 4 + 2 * 133;
    EXPECT_EQ(0u, ReadBE32(file, image));

    ASSERT_TRUE(LoadBytes(file));
    PlanObject* loadedImage = Storey(0)->firstObject->next;
    ASSERT_NE(nullptr, loadedImage);
    EXPECT_EQ(130, loadedImage->type);
    EXPECT_EQ(nullptr, loadedImage->imagePath);
}

TEST_F(ObjectRecords, ImagePathGetsANewPictureNumber)
{
    TestFileWriter w(10410);
    w.Header(SettingsForVersion());
    w.Floor("First Floor", 1, 1, 96.0f);
    TObject image;
    image.type = 130;
    image.points = {At(0, 0, 0), At(40, 0, 0)};
    for (int i = 0; i < 2; ++i) {
        w.Object(image);
        w.U32(9);
        w.Raw("PHOTO.BMP", 9);
    }
    Storeys(w);
    uint32_t counter = imageTextureCounter;
    ASSERT_TRUE(LoadBytes(w.bytes));
    PlanObject* first = Storey(0)->firstObject;
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, first->next);
    EXPECT_STREQ("PHOTO.BMP", first->imagePath);
    EXPECT_EQ(counter, first->imageId1);
    EXPECT_EQ(counter, first->value3);
    EXPECT_EQ(counter, first->firstVertex->faceTextureB);
    EXPECT_EQ(counter + 1, first->next->imageId2);
    EXPECT_EQ(counter + 2, imageTextureCounter);
}

TEST_F(ObjectRecords, DimensionWithoutLabelRoundTrips)
{
    PlanObject* dim = Make(102, Storey(0), {At(0, 0, 0), At(0, 0, 10), At(50, 0, 10), At(50, 0, 0)});
    AttachmentRecord* record = AllocateRecordOf<AttachmentRecord>();
    record->flags = 0xC0008;
    record->tolerance1 = 0.25f;
    record->tolerance2 = -0.5f;
    dim->link = record;
    NormaliseAsPlaced(dim);
    Bytes file = SaveBytes();
    size_t extras = kAfterFirstFloor + 2 + 152 + 4 + 4 * 133;
    EXPECT_EQ(301, ReadBE16(file, extras));
    EXPECT_EQ(0xC0008u, ReadBE32(file, extras + 2));

    ASSERT_TRUE(LoadBytes(file));
    PlanObject* loaded = Storey(0)->firstObject;
    ASSERT_NE(nullptr, loaded);
    const AttachmentRecord* back = static_cast<const AttachmentRecord*>(loaded->link);
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(nullptr, back->label);
    EXPECT_FLOAT_EQ(-0.5f, back->tolerance2);
    ExpectSameBytesAfterReload(file);
}

TEST_F(ObjectRecords, DimensionLabelFontFaceIsTerminated)
{
    TestFileWriter w(10410);
    w.Header(SettingsForVersion());
    w.Floor("First Floor", 1, 1, 96.0f);
    TObject dim;
    dim.type = 102;
    dim.points = {At(0, 0, 0), At(0, 0, 10), At(50, 0, 10), At(50, 0, 0)};
    w.Object(dim);
    w.U16(300);
    TObject label;
    label.type = 201;
    label.points = {At(5, 0, 0), At(45, 0, 20)};
    w.ObjectHeader(label);
    w.Points(label);
    w.U16(1); w.U16(2); w.U8(3);
    uint8_t font[60];
    std::memset(font, 'Z', sizeof font);
    w.Raw(font, 60);
    w.U32(8); w.F32(0); w.F32(0);
    Storeys(w);
    ASSERT_TRUE(LoadBytes(w.bytes));
    const PlanObject* found = nullptr;
    std::function<void(const PlanObject*)> visit = [&](const PlanObject* o) {
        for (; o; o = o->next) {
            if (o->type == 201)
                found = o;
            visit(o->firstChild);
        }
    };
    visit(Storey(0)->firstObject);
    ASSERT_NE(nullptr, found);
    const AttachedPartRecord* part = static_cast<const AttachedPartRecord*>(found->link);
    ASSERT_NE(nullptr, part);
    EXPECT_EQ(31u, strnlen(part->font.lfFaceName, 32));
    EXPECT_EQ(3, part->flag);
}

TEST_F(ObjectRecords, HeaderPointCountIsWhatWasRead)
{
    TestFileWriter w(10410);
    w.Header(SettingsForVersion());
    w.Floor("First Floor", 1, 1, 96.0f);
    TObject line;
    line.headerCount = 40;
    line.rows = 0;
    line.points = {At(0, 0, 0), At(5, 0, 0), At(9, 0, 0)};
    w.Object(line);
    Storeys(w);
    ASSERT_TRUE(LoadBytes(w.bytes));
    PlanObject* o = Storey(0)->firstObject;
    ASSERT_NE(nullptr, o);
    EXPECT_EQ(3u, o->vertexCount);
    EXPECT_EQ(1, o->rows);
}

TEST_F(ObjectRecords, DimensionGroupIsStoredAsItsDimension)
{
    PlanObject* group = Make(1000, Storey(0), {});
    PlanObject* dim = MakeChild(group, 102, {At(0, 0, 0), At(0, 0, 10), At(50, 0, 10), At(50, 0, 0)});
    PlanObject* label = MakeChild(group, 201, {At(5, 0, 0), At(45, 0, 20)});
    AttachmentRecord* record = AllocateRecordOf<AttachmentRecord>();
    AttachedPartRecord* part = AllocateRecordOf<AttachedPartRecord>();
    record->label = label;
    part->owner = dim;
    part->word1 = 7;
    std::strcpy(part->font.lfFaceName, "Arial");
    dim->link = record;
    label->link = part;
    // The reader groups the dimension with its label again; a stored group record
    // would come back as one more, empty, group at every load.
    BodyWalk walk = WalkPlanBody(SaveBytes());
    ASSERT_TRUE(walk.ok);
    EXPECT_EQ("F:First Floor O:102 F:Second Floor F:Third Floor E", walk.Joined());
}

TEST_F(ObjectRecords, UserGroupStartingWithADimensionKeepsItsMembers)
{
    // Only a dimension grouped with its own label is left to the reader to group again;
    // a group the user made around a dimension is a group like any other.
    PlanObject* group = Make(1000, Storey(0), {});
    PlanObject* dim = MakeChild(group, 102, {At(0, 0, 0), At(0, 0, 10), At(50, 0, 10), At(50, 0, 0)});
    dim->link = AllocateRecordOf<AttachmentRecord>();
    MakeChild(group, 6, {At(0, 0, 30), At(40, 0, 30)});
    NormaliseAsPlaced(group);
    Bytes file = SaveBytes();
    BodyWalk walk = WalkPlanBody(file);
    ASSERT_TRUE(walk.ok);
    EXPECT_EQ("F:First Floor O:1000 { O:102 O:6 } F:Second Floor F:Third Floor E", walk.Joined());

    ASSERT_TRUE(LoadBytes(file));
    PlanObject* top = Storey(0)->firstObject;
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(nullptr, top->next);
    ASSERT_EQ(1000, top->type);
    ASSERT_EQ(2, CountChildren(top));
    EXPECT_EQ(102, top->firstChild->type);
    EXPECT_EQ(6, top->firstChild->next->type);
    ExpectSameBytesAfterReload(file);
}

TEST_F(ObjectRecords, DimensionGroupInsideAGroupKeepsItsLabel)
{
    PlanObject* outer = Make(1000, Storey(0), {});
    PlanObject* pair = MakeChild(outer, 1000, {});
    PlanObject* dim = MakeChild(pair, 102, {At(0, 0, 0), At(0, 0, 10), At(50, 0, 10), At(50, 0, 0)});
    PlanObject* label = MakeChild(pair, 201, {At(5, 0, 0), At(45, 0, 20)});
    AttachmentRecord* record = AllocateRecordOf<AttachmentRecord>();
    AttachedPartRecord* part = AllocateRecordOf<AttachedPartRecord>();
    record->label = label;
    record->flags = 8;
    part->owner = dim;
    std::strcpy(part->font.lfFaceName, "Arial");
    dim->link = record;
    label->link = part;
    MakeChild(outer, 6, {At(0, 0, 30), At(40, 0, 30)});
    NormaliseAsPlaced(outer);
    Bytes file = SaveBytes();
    BodyWalk walk = WalkPlanBody(file);
    ASSERT_TRUE(walk.ok);
    EXPECT_EQ("F:First Floor O:1000 { O:102 O:6 } F:Second Floor F:Third Floor E", walk.Joined());

    ASSERT_TRUE(LoadBytes(file));
    PlanObject* top = Storey(0)->firstObject;
    ASSERT_NE(nullptr, top);
    // Nothing of the group is left loose on the floor: the label went back to its pair.
    EXPECT_EQ(nullptr, top->next);
    ASSERT_EQ(2, CountChildren(top));
    PlanObject* loadedPair = top->firstChild;
    ASSERT_EQ(1000, loadedPair->type);
    EXPECT_EQ(top, loadedPair->owner);
    ASSERT_EQ(2, CountChildren(loadedPair));
    PlanObject* loadedDim = loadedPair->firstChild;
    PlanObject* loadedLabel = loadedDim->next;
    EXPECT_EQ(102, loadedDim->type);
    EXPECT_EQ(201, loadedLabel->type);
    EXPECT_EQ(loadedPair, loadedDim->owner);
    EXPECT_EQ(loadedPair, loadedLabel->owner);
    EXPECT_EQ(Storey(0), loadedLabel->floor);
    const AttachmentRecord* back = static_cast<const AttachmentRecord*>(loadedDim->link);
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(loadedLabel, back->label);
    EXPECT_EQ(6, loadedPair->next->type);
    ExpectSameBytesAfterReload(file);
}

TEST_F(ObjectRecords, LabelledDimensionLeavesTheStoredSelectionAlone)
{
    // Selected and unselected objects before and after a dimension with its label: the
    // reader groups the dimension and the label without touching anybody's selection.
    TPoint picked = At(0, 0, 40);
    picked.selected = 1;
    Make(6, Storey(0), {picked, At(40, 0, 40)});
    PlanObject* pair = Make(1000, Storey(0), {});
    PlanObject* dim = MakeChild(pair, 102, {At(0, 0, 0), At(0, 0, 10), At(50, 0, 10), At(50, 0, 0)});
    PlanObject* label = MakeChild(pair, 201, {At(5, 0, 0), At(45, 0, 20)});
    AttachmentRecord* record = AllocateRecordOf<AttachmentRecord>();
    AttachedPartRecord* part = AllocateRecordOf<AttachedPartRecord>();
    record->label = label;
    part->owner = dim;
    dim->link = record;
    label->link = part;
    Make(6, Storey(0), {At(0, 0, 80), At(40, 0, 80)});
    for (PlanObject* o = Storey(0)->firstObject; o; o = o->next)
        NormaliseAsPlaced(o);
    Bytes file = SaveBytes();

    ASSERT_TRUE(LoadBytes(file));
    PlanObject* first = Storey(0)->firstObject;
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, first->next);
    ASSERT_NE(nullptr, first->next->next);
    EXPECT_EQ(nullptr, first->next->next->next);
    EXPECT_TRUE(IsAnyPointSelected(first));
    PlanObject* loadedPair = first->next;
    ASSERT_EQ(1000, loadedPair->type);
    ASSERT_EQ(2, CountChildren(loadedPair));
    EXPECT_EQ(102, loadedPair->firstChild->type);
    EXPECT_FALSE(IsAnyPointSelected(loadedPair->firstChild));
    EXPECT_FALSE(IsAnyPointSelected(loadedPair->firstChild->next));
    EXPECT_FALSE(IsAnyPointSelected(first->next->next));
    ExpectSameBytesAfterReload(file);
}

TEST_F(ObjectRecords, DimensionWithLabelComesBackLinked)
{
    TestFileWriter w(10410);
    w.Header(SettingsForVersion());
    w.Floor("First Floor", 1, 1, 96.0f);
    TObject dim;
    dim.type = 102;
    dim.points = {At(0, 0, 0), At(0, 0, 10), At(50, 0, 10), At(50, 0, 0)};
    w.Object(dim);
    w.U16(300);
    TObject label;
    label.type = 201;
    label.points = {At(5, 0, 0), At(45, 0, 20)};
    w.ObjectHeader(label);
    w.Points(label);
    w.U16(4); w.U16(5); w.U8(1);
    uint8_t font[60] = {};
    font[0] = 0xF4; font[1] = 0xFF; font[2] = 0xFF; font[3] = 0xFF;  // height -12, little-endian
    std::memcpy(font + 28, "Arial", 5);
    w.Raw(font, 60);
    w.U32(0x88); w.F32(0.5f); w.F32(0.25f);
    Storeys(w);
    ASSERT_TRUE(LoadBytes(w.bytes));
    const PlanObject* found = nullptr;
    std::function<void(const PlanObject*)> visit = [&](const PlanObject* o) {
        for (; o; o = o->next) {
            if (o->type == 102)
                found = o;
            visit(o->firstChild);
        }
    };
    visit(Storey(0)->firstObject);
    ASSERT_NE(nullptr, found);
    const AttachmentRecord* record = static_cast<const AttachmentRecord*>(found->link);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(0x88u, record->flags);
    ASSERT_NE(nullptr, record->label);
    EXPECT_EQ(201, record->label->type);
    const AttachedPartRecord* part = static_cast<const AttachedPartRecord*>(record->label->link);
    ASSERT_NE(nullptr, part);
    EXPECT_EQ(found, part->owner);
    EXPECT_EQ(-12, part->font.lfHeight);
    EXPECT_STREQ("Arial", part->font.lfFaceName);
    ExpectSameBytesAfterReload(SaveBytes("first.ZRO"));
}

TEST_F(ObjectRecords, FreehandRoofMarkerIsNotStored)
{
    PlanObject* roof = Make(57, Storey(0), {At(0, 0, 0), At(100, 0, 0), At(100, 0, 100)}, true);
    MakeChild(roof, 58, {At(10, 0, 10), At(50, 0, 10)});
    BodyWalk walk = WalkPlanBody(SaveBytes());
    ASSERT_TRUE(walk.ok);
    EXPECT_EQ("F:First Floor O:57 F:Second Floor F:Third Floor E", walk.Joined());
}

TEST_F(ObjectRecords, ImportAddsToTheCurrentFloorAndKeepsTheFloors)
{
    TestFileWriter w(10410);
    w.Header(SettingsForVersion());
    w.Floor("First Floor", 1, 1, 96.0f);
    TObject line;
    line.points = {At(0, 0, 0), At(9, 0, 9)};
    w.Object(line);
    w.Object(line);
    Storeys(w);
    PlanFloor* first = document->firstFloor;
    document->currentFloor = Storey(2);
    importIntoCurrentFloor = 1;
    LoadBytes(w.bytes);
    importIntoCurrentFloor = 0;
    EXPECT_EQ(first, document->firstFloor);
    EXPECT_EQ(nullptr, Storey(3));
    EXPECT_EQ(0, CountObjects(Storey(0)));
    ASSERT_EQ(2, CountObjects(Storey(2)));
    EXPECT_TRUE(Storey(2)->firstObject->firstVertex->selected);
}

TEST_F(ObjectRecords, MemoryBodyStopsAtTheEndOfItsBlock)
{
    TestFileWriter w(10410);
    TObject line;
    line.points = {At(0, 0, 0), At(9, 0, 9)};
    w.Object(line);
    w.Object(line);
    for (bool withEnd : {false, true}) {
        Bytes block = w.bytes;
        if (withEnd)
            block.insert(block.end(), {0x01, 0x90});
        streamBuffer = static_cast<uint8_t*>(std::malloc(block.size()));
        std::memcpy(streamBuffer, block.data(), block.size());
        streamBufferLength = (uint32_t)block.size();
        streamPosition = 0;
        streamMemoryMode = 1;
        ResetStreamFlags();
        planFileVersionRead = 10410;
        EXPECT_EQ(withEnd, ReadPlanBody());
        streamMemoryMode = 0;
        streamPosition = 0;
        std::free(streamBuffer);
        streamBuffer = nullptr;
        streamBufferLength = 0;
    }
    EXPECT_EQ(4, CountObjects(document->currentFloor));
}
