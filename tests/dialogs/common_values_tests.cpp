// The common-value summaries: properties of the selection merged object by object, and
// the elevation summary that the feed leaves in the settings record at offset 1498.
#include <gtest/gtest.h>
#include <cstring>

#include "dialogs/common_values.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "support/plan_fixtures.h"

using namespace vtest;

namespace {

class CommonValuesTest : public RecordCheckedDocumentTest {
protected:
    PlanObject* At(float elevation, uint8_t selected)
    {
        PlanObject* object = MakePointObject(ObjLine, Storey(0), {{0, 0, 0}, {10, 0, 0}}, selected, 0);
        object->elevation = elevation;
        return object;
    }
    // The six stored bytes at +1498: first, same, value.
    CommonValue Summary() const
    {
        CommonValue value;
        std::memcpy(&value, reinterpret_cast<const uint8_t*>(document->settings) + 1498, sizeof value);
        return value;
    }
};

TEST_F(CommonValuesTest, FeedShowsTheWorkingElevationOrTheSelections)
{
    document->settings->workingElevation = 24.0f;
    At(36.0f, 0);
    RefreshWorkingElevationValue(document);
    EXPECT_EQ(1, Summary().first);
    EXPECT_EQ(1, Summary().same);
    EXPECT_EQ(24.0f, Summary().value);

    At(36.0f, 1);
    At(36.0f, 1);
    RefreshWorkingElevationValue(document);
    EXPECT_EQ(0, Summary().first);
    EXPECT_EQ(1, Summary().same);
    EXPECT_EQ(36.0f, Summary().value);

    At(30.0f, 1);
    RefreshWorkingElevationValue(document);
    EXPECT_EQ(0, Summary().same);

    PlanObject* onTerrain = At(36.0f, 1);
    onTerrain->onTerrain = 1;
    CommonValue value = {1, 1, 0.0f};
    MergeCommonValuesFromSelectedPoints(&value, onTerrain);
    EXPECT_EQ(0, value.first);
    EXPECT_EQ(0, value.same);
}

// A wall merges the elevations of its selected segments (a closed wall's last one too
// when both its ends are selected), then its wholly selected openings on segments that
// were not merged, in display units; never its own elevation.
TEST_F(CommonValuesTest, WallMergesSelectedSegmentsAndOpenings)
{
    PlanObject* wall = MakePointObject(ObjWall, Storey(0), {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}}, 0, 1);
    wall->elevation = 99.0f;
    PlanVertex* v[3] = {VertexAt(wall, 0), VertexAt(wall, 1), VertexAt(wall, 2)};
    const float elevations[3] = {12.0f, 24.0f, 12.0f};
    for (int i = 0; i < 3; ++i) v[i]->segmentElevation = elevations[i];
    PlanObject* door = MakePointObject(ObjDoor, nullptr, {{100, 0, 10}, {100, 0, 40}}, 1, 0);
    AppendChildObject(wall, door);
    OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
    record->startVertex = v[1];
    record->endVertex = v[2];
    record->elevation = 48.0f;  // plan units: 24 inches at 1:36
    door->link = record;

    const struct {
        bool selected[3];
        uint8_t first, same;
        float value;
    } cases[] = {
        {{true, true, false}, 0, 0, 12.0f},   // segment 0 (12), the door (24)
        {{true, false, true}, 0, 0, 12.0f},   // the closing segment (12), the door (24)
        {{false, true, true}, 0, 1, 24.0f},   // segment 1 (24); the door on it is skipped
        {{false, false, false}, 1, 1, 0.0f},  // nothing of the wall selected
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i) v[i]->selected = c.selected[i];
        CommonValue value = {1, 1, 0.0f};
        MergeCommonValuesFromSelectedPoints(&value, wall);
        EXPECT_EQ(c.first, value.first);
        EXPECT_EQ(c.same, value.same);
        EXPECT_EQ(c.value, value.value);
    }
}

TEST_F(CommonValuesTest, PropertiesOfObjectsMergePairByPair)
{
    CommonProperties c;
    FillCommonValuesFromSettings(document->settings, &c);
    c.first = 1;
    PlanObject* a = At(0.0f, 0);
    PlanObject* b = At(0.0f, 0);
    a->colourA = b->colourA = ColourTriple{1, 2, 3};
    a->colourB = ColourTriple{1, 2, 3};
    b->colourB = ColourTriple{1, 2, 4};
    a->size = 2.5f;
    b->size = 3.4f;
    MergeCommonValuesFromObject(document, &c, a);
    MergeCommonValuesFromObject(document, &c, b);
    EXPECT_EQ(0, c.first);
    EXPECT_EQ(1, c.colourASame);
    EXPECT_EQ(0, c.colourBSame);
    EXPECT_EQ(1, c.penWidthSame);
    EXPECT_EQ(3, c.penWidth);

    // Dimensions bring their flag word: lowest bit 2 is end mark 5087, bit 512 text
    // position 5054; type 108 has neither bit 256 nor a text position.
    PlanObject* dimension = At(0.0f, 0);
    dimension->type = 102;
    AttachmentRecord* flags = AllocateRecordOf<AttachmentRecord>();
    flags->flags = 2 | 8 | 128 | 512;
    dimension->link = flags;
    CommonProperties d = {};
    d.first = 1;
    MergeCommonValuesFromObject(document, &d, dimension);
    EXPECT_EQ(5087, d.endMark);
    EXPECT_EQ(1, d.flag80);
    EXPECT_EQ(5054, d.textPosition);
    dimension->type = 108;
    d.first = 1;
    d.textPosition = 0;
    MergeCommonValuesFromObject(document, &d, dimension);
    EXPECT_EQ(0, d.textPosition);
}

} // namespace
