// Areas counted on the measuring surface and the estimate file: the wall square against
// its hand-computed area in both unit systems and drawing units, the file of an empty
// plan byte for byte, captions and style names, stud spacing, and a failed write.
#include "support_files.h"
#include "files/area_measurement.h"
#include "files/record_stream.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "support/test_support.h"
#include <cstring>
#include <string>

using namespace ftest;

namespace {

struct Item {
    uint32_t code, count;
    float length, width, height, thickness, quantity, studSpacing;
    std::string caption;
};

float BE32F(const Bytes& b, size_t at)
{
    uint32_t v = ReadBE32(b, at);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

UINT WINAPI FailingWrite(HFILE, const void*, UINT) { return HFILE_ERROR; }

} // namespace

class AreasAndEstimate : public PlanFileTest {
protected:
    // The closed wall square with corners at +-360 plan units: 360 inches a side at the
    // default scale, in the drawing unit (1 inch, 2 foot) and the unit system.
    PlanObject* WallSquare(uint16_t unit, uint16_t system)
    {
        Settings()->drawingUnit = unit;
        Settings()->unitSystem = system;
        const float perInch = unit == 2 ? 1.0f / 12.0f : 1.0f;
        PlanObject* wall = Make(12, Storey(0), {At(-360, 0, -360), At(360, 0, -360), At(360, 0, 360), At(-360, 0, 360)}, true);
        wall->size = 6.0f * perInch;
        wall->parameters[0] = 96.0f * perInch;
        wall->parameters[1] = 4.0f;
        for (PlanVertex* v = wall->firstVertex; v; v = v->next)
            v->mainHeight = 96.0f * perInch;
        return wall;
    }
    std::vector<Item> Estimate()
    {
        EXPECT_TRUE(WriteEstimateFile("Z!EST.TMP"));
        file = vtest::ReadFileBytes("Z!EST.TMP");
        std::vector<Item> items;
        size_t at = 8;
        for (; at + 126 <= file.size() && ReadBE16(file, at) == 200; at += 126) {
            const size_t b = at + 2;
            items.push_back({ReadBE32(file, b), ReadBE32(file, b + 4), BE32F(file, b + 8), BE32F(file, b + 12),
                             BE32F(file, b + 16), BE32F(file, b + 24), BE32F(file, b + 28), BE32F(file, b + 36),
                             std::string(reinterpret_cast<const char*>(&file[b + 44]))});
        }
        EXPECT_EQ(at + 2, file.size());
        EXPECT_EQ(400, ReadBE16(file, at));
        return items;
    }
    Bytes file;
};

TEST_F(AreasAndEstimate, WallSquareMeasuresItsAreaWithinAPixelRow)
{
    // 150 pixels a side on the surface: one row is 6 sq ft or 0.56 square metres.
    const struct { uint16_t unit, system; float area, row; } cases[] = {
        {1, 3, 900.0f, 6.0f}, {1, 4, 83.61f, 0.56f}, {2, 4, 83.61f, 0.56f}, {2, 3, 900.0f, 6.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.unit << " " << c.system);
        PlanObject* wall = WallSquare(c.unit, c.system);
        EXPECT_NEAR(MeasureAreaOfType(Storey(0), 12, 1), c.area, c.row);
        EXPECT_NEAR(MeasureObjectArea(wall), c.area, c.row);
        EXPECT_EQ(MeasureAreaOfType(Storey(1), 12, 1), 0.0f);
        FreeFloorObjects(Storey(0));
    }
    Settings()->extentRight = Settings()->extentLeft;
    WallSquare(1, 3);
    EXPECT_EQ(MeasureAreaOfType(Storey(0), 12, 1), 0.0f);
}

TEST_F(AreasAndEstimate, PlanWithoutObjectsGivesTheFourFixedItems)
{
    Settings()->unitSystem = 4;
    std::vector<Item> items = Estimate();
    ASSERT_EQ(file.size(), 514u);
    EXPECT_EQ(ReadBE32(file, 0), 10410u);
    EXPECT_EQ(ReadBE16(file, 4), 2);
    EXPECT_EQ(ReadBE16(file, 6), 4);
    ASSERT_EQ(items.size(), 4u);
    const char* captions[] = {"Totale conteggio balaustrata:", "Totale conteggio colonnette:",
                              "Totale lunghezza corrimano:", "Metri quadrati terreno (±)"};
    const uint32_t codes[] = {10007, 10005, 10004, 10003};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i].code, codes[i]);
        EXPECT_EQ(items[i].caption, captions[i]);
        EXPECT_EQ(items[i].count, 0u);
    }
    // 4800 plan units a side: 2400 inches, 60.96 m.
    EXPECT_EQ(items[3].quantity, 3716.0f);
}

TEST_F(AreasAndEstimate, DrawingUnitFootGivesTheSameMetricNumbers)
{
    std::vector<Item> byUnit[2];
    for (uint16_t unit : {1, 2}) {
        WallSquare(unit, 4);
        byUnit[unit - 1] = Estimate();
        FreeFloorObjects(Storey(0));
    }
    ASSERT_EQ(byUnit[0].size(), 9u);   // storey, railings, terrain, four runs
    EXPECT_EQ(byUnit[0][0].code, 10001u);
    EXPECT_EQ(byUnit[0][0].caption, "Metri quadrati pianterreno (±)");
    EXPECT_EQ(byUnit[0][0].quantity, 84.0f);
    EXPECT_EQ(byUnit[0][4].quantity, 3633.0f);   // 3716.12 - 83.61
    ASSERT_EQ(byUnit[1].size(), byUnit[0].size());
    for (size_t i = 0; i < byUnit[0].size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(byUnit[1][i].caption, byUnit[0][i].caption);
        EXPECT_EQ(byUnit[1][i].quantity, byUnit[0][i].quantity);
    }
    // Three sides and the closing run, all in the unit system's words; stud spacing 4 is 16.
    for (size_t i = 5; i < 9; ++i) {
        EXPECT_EQ(byUnit[0][i].code, 10002u);
        EXPECT_EQ(byUnit[0][i].caption, "0.05m x 0.15m x 2.44m Montanti");
        EXPECT_EQ(byUnit[0][i].studSpacing, 16.0f);
        EXPECT_FLOAT_EQ(byUnit[0][i].length, 360.0f);
        EXPECT_FLOAT_EQ(byUnit[1][i].length, 30.0f);
    }
}

TEST_F(AreasAndEstimate, OpeningsAreNamedByStyleAndSize)
{
    // A 36 by 80 inch opening (72 by 160 plan units) of each kind on one wall.
    const struct { uint16_t type, code, bars1, bars2, system; const char* caption; } cases[] = {
        {16, 501, 0, 0, 3, "3'-0\" x 6'-8\" a 6 pannelli"},
        {16, 511, 0, 0, 4, "0.91 m. x 2.03 m. A libro"},
        {17, 600, 0, 1, 3, "3'-0\" x 6'-8\" Telaio incassato"},
        {17, 600, 1, 0, 3, "3'-0\" x 6'-8\" A battenti"},
        {17, 624, 0, 0, 3, "3'-0\" x 6'-8\" Quarto di lunetta"},
        {17, 599, 0, 0, 3, "3'-0\" x 6'-8\""},
        {56, 90, 0, 0, 3, "WC"},
        {56, 96, 0, 0, 4, "0.91 m. x 2.03 m. Vasca idromassaggio"},
        {56, 100, 0, 0, 3, "3'-0\" x 6'-8\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Settings()->unitSystem = c.system;
        PlanObject* wall = Make(12, Storey(1), {At(0, 0, 0), At(300, 0, 0)});
        PlanObject* opening = MakeChild(wall, c.type, {At(10, 0, 0), At(82, 0, 0)});
        OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
        record->style = c.type == 56 ? 0 : c.code;
        record->width = 72.0f;
        record->height = 160.0f;
        record->glazingBarsAcross = c.bars1;
        record->glazingBarsDown = c.bars2;
        opening->subType = c.type == 56 ? c.code : 0;
        opening->link = record;
        std::vector<Item> items = Estimate();
        ASSERT_EQ(items.size(), 6u);
        EXPECT_EQ(items[4].code, c.code);
        EXPECT_EQ(items[4].caption, c.caption);
        EXPECT_EQ(items[4].width, 72.0f);
        FreeFloorObjects(Storey(1));
    }
}

TEST_F(AreasAndEstimate, LongCaptionsAreCutAndAFailedWriteKeepsTheOldFile)
{
    Settings()->unitSystem = 4;
    PlanObject* duct = Make(117, Storey(0), {At(0, 0, 0), At(10, 0, 0)});
    duct->parameters[2] = duct->parameters[3] = 1e30f;
    std::vector<Item> items = Estimate();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[4].caption.size(), 63u);
    const Bytes old = file;
    const long records = LiveRecordCount();
    SetRecordFileWriteFunction(FailingWrite);
    EXPECT_FALSE(WriteEstimateFile("Z!EST.TMP"));
    SetRecordFileWriteFunction(nullptr);
    EXPECT_TRUE(vtest::ReadFileBytes("Z!EST.TMP") == old);
    EXPECT_EQ(LiveRecordCount(), records);
    EXPECT_EQ(estimateItems, nullptr);
}
