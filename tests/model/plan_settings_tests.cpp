#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "model/plan_settings.h"
#include "model/record_memory.h"

// The stored settings record is checked as raw little-endian bytes at fixed offsets, so
// a field at the wrong place or with the wrong width fails even if the struct agrees
// with itself.
namespace {

enum class Kind { F32, U8, U16, U32, Triple, Pad, Text };

struct Field {
    size_t offset;
    size_t width;
    Kind kind;
    double value;      // F32, U8, U16, U32
    uint16_t rgb[3];   // Triple
};

Field F(size_t o, double v) { return {o, 4, Kind::F32, v, {}}; }
Field B(size_t o, unsigned v) { return {o, 1, Kind::U8, double(v), {}}; }
Field W(size_t o, unsigned v) { return {o, 2, Kind::U16, double(v), {}}; }
Field D(size_t o, uint32_t v) { return {o, 4, Kind::U32, double(v), {}}; }
Field C(size_t o, uint16_t r, uint16_t g, uint16_t b) { return {o, 6, Kind::Triple, 0, {r, g, b}}; }
Field Unset(size_t o) { return C(o, 65535, 65535, 65535); }
Field P(size_t o) { return {o, 1, Kind::Pad, 0, {}}; }

std::vector<Field> ExpectedFields()
{
    std::vector<Field> t = {
        // Header and view geometry.
        F(0, 0.5), F(4, -0.5), W(8, 1), F(10, 2400.0), F(14, 0.0), F(18, -2400.0), W(22, 2),
        B(24, 1), B(25, 0), B(26, 0), B(27, 1), B(28, 0), B(29, 0), B(30, 1), P(31),
        F(32, 12.0), F(36, 12.0), F(40, 1.0), F(44, 1.0), W(48, 50), F(50, 12.0),
        W(54, 6), W(56, 1), W(58, 10),
        F(60, -2400.0), F(64, -2400.0), F(68, 2400.0), F(72, 2400.0),
        W(76, 19), W(78, 1), W(80, 1), W(82, 1), W(84, 1), W(86, 1), F(88, 200.0), F(92, 200.0),
        W(96, 5089), F(98, 0.0), F(102, 0.0), W(106, 5053), F(108, 4.0), W(112, 9),
        C(114, 24415, 36751, 12079), C(120, 0, 0, 0), C(126, 0, 16448, 34952),
        C(132, 63736, 63736, 65535), W(138, 5064), W(140, 24), B(142, 1), P(143),
        F(144, 36.0), W(148, 1), W(150, 1), B(152, 0), P(153), F(154, 1.0), F(158, 1.0 / 36.0),
        W(162, 8), W(164, 6), W(166, 50), W(168, 5), W(170, 8), F(172, 0.6), W(176, 100),
        B(178, 0), B(179, 0), D(180, 0xC0008), W(184, 5100),
        // Common-value record of the current style.
        B(186, 1), B(187, 1), W(188, 2),
        B(190, 1), B(191, 0), C(192, 0, 16448, 34952),
        B(198, 1), B(199, 0), W(200, 1),
        B(202, 1), B(203, 0), C(204, 0, 0, 0),
        B(210, 1), B(211, 0), W(212, 6),
        B(214, 1), B(215, 0), W(216, 0),
        B(218, 1), B(219, 0), W(220, 5089),
        B(222, 1), B(223, 0), W(224, 0),
        B(226, 1), B(227, 0), W(228, 5053),
        B(230, 1), B(231, 0), W(232, 41),
        W(234, 5),
        // Building defaults.
        W(236, 9), F(238, 5.0), F(242, 4.0), F(246, 96.0), C(250, 57568, 57568, 57568),
        F(256, 0.0), F(260, 0.0), W(264, 501), F(266, 30.0), F(270, 80.0), F(274, 3.0),
        C(278, 45232, 31868, 7710), W(284, 604), W(286, 0), W(288, 1), F(290, 36.0),
        F(294, 56.0), F(298, 24.0), F(302, 3.0), C(306, 45232, 31868, 7710), W(312, 12),
        F(314, 7.0), F(318, 10.0), W(322, 1), W(324, 0), W(326, 0),
        C(328, 61166, 54998, 43176), W(334, 8), Unset(336), W(342, 4), F(344, 0.6),
        F(348, 0.5), W(352, 10),
        // Camera and 3D view.
        F(354, 0.0), F(358, 0.0), F(362, 2275.0), F(366, 100000.0), F(370, 9.0), D(374, 30),
        D(378, 12), F(382, 2000.0), F(386, 45.0), F(390, 50000.0), W(394, 4), W(396, 8),
        C(398, 49087, 53456, 61680), W(404, 1), B(406, 1), P(407), W(408, 0), W(410, 1),
        F(412, 20.0), F(416, 330.0), B(420, 0), P(421),
    };
    // Swatches 0..71, then the background texture id as the 73rd word.
    const int swatches[72][3] = {
        {89, 155, 76}, {255, 255, 255}, {223, 108, 105}, {93, 110, 211}, {106, 111, 87},
        {87, 212, 38}, {76, 60, 176}, {193, 61, 76}, {127, 160, 114}, {146, 112, 92},
        {62, 78, 138}, {123, 132, 140}, {235, 211, 198}, {187, 171, 133}, {194, 93, 61},
        {164, 55, 69}, {255, 169, 46}, {230, 213, 82}, {132, 190, 181}, {205, 190, 177},
        {91, 168, 127}, {192, 216, 59}, {40, 75, 254}, {0, 146, 210}, {178, 86, 4},
        {194, 148, 148}, {192, 182, 38}, {31, 160, 18}, {194, 104, 125}, {250, 220, 140},
        {228, 211, 226}, {250, 185, 62}, {26, 97, 20}, {130, 182, 200}, {255, 232, 0},
        {106, 55, 118}, {236, 228, 186}, {239, 215, 174}, {240, 207, 159}, {190, 148, 122},
        {130, 99, 56}, {123, 101, 87}, {137, 119, 107}, {191, 143, 113}, {225, 210, 185},
        {194, 130, 91}, {213, 174, 156}, {162, 89, 59}, {0, 0, 127}, {255, 0, 127},
        {127, 127, 255}, {0, 0, 255}, {0, 255, 255}, {255, 0, 0}, {255, 127, 0},
        {187, 226, 29}, {255, 255, 0}, {255, 0, 255}, {255, 127, 255}, {63, 0, 63},
        {255, 255, 255}, {244, 244, 244}, {224, 224, 224}, {208, 208, 208}, {192, 192, 192},
        {160, 160, 160}, {142, 142, 142}, {136, 136, 136}, {128, 128, 128}, {112, 112, 112},
        {92, 92, 92}, {0, 0, 0},
    };
    for (int i = 0; i < 72; ++i) {
        const uint32_t colorref = uint32_t(swatches[i][0]) | (uint32_t(swatches[i][1]) << 8) |
                                  (uint32_t(swatches[i][2]) << 16);
        t.push_back(D(422 + 4 * i, colorref));
    }
    std::vector<Field> rest = {
        D(710, 1550),
        // Landscape, plants and stairs.
        W(714, 0), W(716, 0), B(718, 0), P(719), W(720, 0), B(722, 0), P(723), F(724, 36.0),
        F(728, 2.0), F(732, 2.0), F(736, 5.5), B(740, 1), P(741), C(742, 51143, 39835, 28784),
        W(748, 703), F(750, 6.0), F(754, 36.0), F(758, 3.0), F(762, 4.0), Unset(766),
        F(772, 36.0), F(776, 36.0), Unset(780), W(786, 1150), F(788, 18.0), W(792, 2),
        F(794, 48.0), F(798, 7.0), F(802, 10.0), F(806, 36.0), B(810, 1), B(811, 1),
        F(812, 36.0), F(816, 6.0), B(820, 1), B(821, 1),
        {822, 512, Kind::Text, 0, {}},
        B(1334, 0), P(1335), F(1336, 1.0), F(1340, 1.0), B(1344, 1), B(1345, 1), B(1346, 0),
        P(1347), Unset(1348), C(1354, 53456, 59624, 65535), B(1360, 0), P(1361),
        F(1362, 0.25), F(1366, 200.0), F(1370, 100.0), F(1374, -200.0), D(1378, 8),
        F(1382, 25000.0), F(1386, 16.0), F(1390, 1.0), D(1394, 0), D(1398, 0), D(1402, 0),
        D(1406, 5), D(1410, 0), D(1414, 0),
        // Decks.
        F(1418, 24.0), B(1422, 1), P(1423), F(1424, 36.0), F(1428, 6.0), B(1432, 1),
        B(1433, 0), B(1434, 1), B(1435, 1), F(1436, 60.0), F(1440, 24.0),
        // Categories, working elevation, tool defaults.
        D(1444, 1), D(1448, 1), D(1452, 14), D(1456, 6), D(1460, 10), D(1464, 18), D(1468, 34),
        D(1472, 66), D(1476, 130), D(1480, 0), D(1484, 1), W(1488, 235), B(1490, 0), P(1491),
        W(1492, 0), F(1494, 0.0), B(1498, 1), B(1499, 1), F(1500, 0.0), B(1504, 0), P(1505),
        W(1506, 0),
        F(1508, 12.0), F(1512, 12.0), F(1516, 12.0), F(1520, 12.0), F(1524, 12.0),
        D(1528, 8), D(1532, 8), D(1536, 8), D(1540, 8), D(1544, 8),
        F(1548, 60.0), F(1552, 30.0), F(1556, 72.0), F(1560, 72.0), F(1564, 48.0), F(1568, 36.0),
        F(1572, 12.0), F(1576, 20.0), F(1580, 5.0), F(1584, 24.0), D(1588, 0),
        D(1592, 65535), D(1596, 65535), D(1600, 65535), D(1604, 65535), D(1608, 65535),
        B(1612, 0), P(1613),
    };
    t.insert(t.end(), rest.begin(), rest.end());
    return t;
}

uint32_t ReadLE(const unsigned char* p, size_t width)
{
    uint32_t v = 0;
    for (size_t i = 0; i < width; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

float ReadF32(const unsigned char* p)
{
    const uint32_t bits = ReadLE(p, 4);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

// Compares every field of the table against the raw record; returns the mismatches.
std::vector<std::string> CompareWithTable(const unsigned char* raw)
{
    std::vector<std::string> errors;
    for (const Field& f : ExpectedFields()) {
        const unsigned char* p = raw + f.offset;
        std::string where = "offset " + std::to_string(f.offset);
        switch (f.kind) {
        case Kind::F32:
            if (ReadF32(p) != float(f.value))
                errors.push_back(where + ": f32 " + std::to_string(ReadF32(p)) + " expected " +
                                 std::to_string(f.value));
            break;
        case Kind::U8:
        case Kind::U16:
        case Kind::U32:
            if (ReadLE(p, f.width) != uint32_t(f.value))
                errors.push_back(where + ": " + std::to_string(ReadLE(p, f.width)) + " expected " +
                                 std::to_string(uint32_t(f.value)));
            break;
        case Kind::Triple:
            for (int c = 0; c < 3; ++c)
                if (ReadLE(p + 2 * c, 2) != f.rgb[c])
                    errors.push_back(where + " channel " + std::to_string(c) + ": " +
                                     std::to_string(ReadLE(p + 2 * c, 2)));
            break;
        case Kind::Pad:
        case Kind::Text:
            for (size_t i = 0; i < f.width; ++i)
                if (p[i] != 0) errors.push_back(where + ": nonzero byte at +" + std::to_string(i));
            break;
        }
    }
    return errors;
}

}  // namespace

TEST(PlanSettingsRecord, LayoutIsTheStoredRecord)
{
    EXPECT_EQ(1614u, sizeof(PlanSettings));
    EXPECT_EQ(1614u, kPlanSettingsSize);
    EXPECT_EQ(48u, sizeof(CommonProperties));
    EXPECT_EQ(6u, sizeof(CommonValue));
}

TEST(PlanSettingsRecord, NewRecordMatchesEveryTabledDefault)
{
    long before = LiveRecordCount();
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    const auto errors = CompareWithTable(reinterpret_cast<const unsigned char*>(s));
    for (const std::string& e : errors) ADD_FAILURE() << e;
    EXPECT_TRUE(errors.empty());

    // Named fields agree with the raw bytes for the values the rest of the program leans on.
    EXPECT_EQ(0xC0008u, s->styleWord);
    EXPECT_FLOAT_EQ(2275.0f, s->cameraZ);
    EXPECT_EQ(1u, s->visibleCategories);
    const uint32_t masks[8] = {1, 14, 6, 10, 18, 34, 66, 130};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(masks[i], s->tabCategoryMasks[i]) << "tab " << i;
    EXPECT_FLOAT_EQ(0.6f, s->zoom);
    EXPECT_EQ(kUnitSystemMetric, s->unitSystem);
    FreePlanSettings(s);
    EXPECT_EQ(before, LiveRecordCount());
}

TEST(PlanSettingsRecord, SwatchTableHoldsSeventyTwoColoursThenTheTextureId)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(s);
    EXPECT_EQ(0u, ReadLE(raw + 422 + 4 * 71, 4));     // entry 71: black
    EXPECT_EQ(1550u, ReadLE(raw + 422 + 4 * 72, 4));  // "entry 72" is the texture id
    EXPECT_EQ(0x004C9B59u, s->swatchColours[0]);       // 89, 155, 76 as 0x00BBGGRR
    FreePlanSettings(s);
}

TEST(PlanSettingsRecord, InitRewritesADirtyRecordToTheDefaults)
{
    PlanSettings* fresh = CreatePlanSettings();
    ASSERT_NE(nullptr, fresh);
    PlanSettings dirty;
    std::memset(&dirty, 0xAB, sizeof(dirty));
    InitPlanSettings(&dirty);
    EXPECT_EQ(0, std::memcmp(fresh, &dirty, sizeof(PlanSettings)));
    InitPlanSettings(nullptr);  // ignored
    FreePlanSettings(fresh);
}

TEST(PlanSettingsRecord, OlderPrefixesKeepTheDefaultsBeyondThem)
{
    const size_t prefixes[] = {kPlanSettingsPrefix794, kPlanSettingsPrefix1418,
                               kPlanSettingsPrefix1444, kPlanSettingsPrefix1592};
    PlanSettings* defaults = CreatePlanSettings();
    ASSERT_NE(nullptr, defaults);
    std::vector<unsigned char> stored(kPlanSettingsSize, 0x5A);
    for (size_t n : prefixes) {
        // What the plan reader does: a fresh record, the stored prefix laid over it.
        PlanSettings* s = CreatePlanSettings();
        ASSERT_NE(nullptr, s);
        std::memcpy(s, stored.data(), n);
        const unsigned char* raw = reinterpret_cast<const unsigned char*>(s);
        EXPECT_EQ(0, std::memcmp(raw + n, reinterpret_cast<const unsigned char*>(defaults) + n,
                                 kPlanSettingsSize - n))
            << "prefix " << n;
        if (n == kPlanSettingsPrefix794) {
            EXPECT_EQ(48.0f, ReadF32(raw + 794));
            EXPECT_EQ(24.0f, ReadF32(raw + 1418));
            EXPECT_EQ(0.0f, ReadF32(raw + 1494));
            EXPECT_EQ(0x5Au, raw[793]);
        }
        FreePlanSettings(s);
    }
    FreePlanSettings(defaults);
}

TEST(PlanSettingsStyleWord, EndMarkBitsFollowTheChoice)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    for (unsigned k = 0; k <= 6; ++k) {
        s->endMarkChoice = uint16_t(5086 + k);
        ApplyEndMarkChoice(s);
        EXPECT_EQ(1u << k, s->styleWord & 0x7F) << "choice " << 5086 + k;
        EXPECT_EQ(0xC0000u, s->styleWord & ~0x7Fu);  // other bits untouched
    }
    for (uint16_t bad : {uint16_t(5085), uint16_t(5093), uint16_t(0)}) {
        s->endMarkChoice = bad;
        ApplyEndMarkChoice(s);
        EXPECT_EQ(0u, s->styleWord & 0x7F) << "choice " << bad;
    }
    ApplyEndMarkChoice(nullptr);
    FreePlanSettings(s);
}

TEST(PlanSettingsStyleWord, StyleChoiceSetsOneOfBitsNineToEleven)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    const struct { uint16_t choice; uint32_t bits; } cases[] = {
        {5054, 0x200}, {5055, 0x400}, {5056, 0x800}, {5053, 0}, {5057, 0}};
    for (const auto& c : cases) {
        s->styleWord |= 0xE00;
        s->styleChoice = c.choice;
        ApplyStyleChoice5054(s);
        EXPECT_EQ(c.bits, s->styleWord & 0xE00) << "choice " << c.choice;
        EXPECT_EQ(0xC0008u, s->styleWord & ~0xE00u);
    }
    ApplyStyleChoice5054(nullptr);
    FreePlanSettings(s);
}

TEST(PlanSettingsStyleWord, DisplayFormatSetsOneOfBitsTwelveToEighteen)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    for (unsigned k = 0; k <= 6; ++k) {
        s->displayFormat = uint16_t(5058 + k);
        ApplyDisplayFormatChoice(s);
        EXPECT_EQ(1u << (12 + k), s->styleWord & 0x7F000) << "format " << 5058 + k;
        EXPECT_EQ(0x80008u, s->styleWord & ~0x7F000u);
    }
    for (uint16_t bad : {uint16_t(5057), uint16_t(5065)}) {
        s->displayFormat = bad;
        ApplyDisplayFormatChoice(s);
        EXPECT_EQ(0u, s->styleWord & 0x7F000) << "format " << bad;
    }
    ApplyDisplayFormatChoice(nullptr);
    FreePlanSettings(s);
}

// Fields read raw from a plan file that serve as divisors, counts or a path.
TEST(PlanSettingsFromFiles, DefaultsPassThroughTheAccessors)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(36.0f, UsableDrawingScale(s));
    EXPECT_EQ(8, UsableCurveSteps(s));
    EXPECT_EQ(0.6f, UsableZoom(s));
    EXPECT_EQ(8u, UsableAntiAliasPasses(s));
    EXPECT_STREQ("", UsableTracingImagePath(s));
    // Every value a plan or a command can sensibly set comes back as it is.
    s->drawingScale = 0.5f;
    s->curveSteps = 200;
    s->zoom = 7.25f;
    s->antiAliasPasses = 24;
    std::strcpy(s->tracingImagePath, "C:\\PLANS\\TRACE.BMP");
    EXPECT_EQ(0.5f, UsableDrawingScale(s));
    EXPECT_EQ(200, UsableCurveSteps(s));
    EXPECT_EQ(7.25f, UsableZoom(s));
    EXPECT_EQ(24u, UsableAntiAliasPasses(s));
    EXPECT_STREQ("C:\\PLANS\\TRACE.BMP", UsableTracingImagePath(s));
    s->curveSteps = 1;
    s->zoom = kMinimumZoom;
    s->antiAliasPasses = 4;
    EXPECT_EQ(1, UsableCurveSteps(s));
    EXPECT_EQ(kMinimumZoom, UsableZoom(s));
    EXPECT_EQ(4u, UsableAntiAliasPasses(s));
    FreePlanSettings(s);
}

TEST(PlanSettingsFromFiles, DivisorsThatAreNoPositiveNumberGiveTheDefaults)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    const float bad[] = {0.0f, -0.0f, -36.0f, NAN, INFINITY, -INFINITY};
    for (float v : bad) {
        s->drawingScale = v;
        s->zoom = v;
        EXPECT_EQ(36.0f, UsableDrawingScale(s)) << v;
        EXPECT_EQ(0.6f, UsableZoom(s)) << v;
    }
    // A positive zoom below the minimum is held at it: dividing by it stays finite.
    s->zoom = 1.0e-30f;
    EXPECT_EQ(kMinimumZoom, UsableZoom(s));
    FreePlanSettings(s);
}

TEST(PlanSettingsFromFiles, CountsAreClamped)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    s->curveSteps = 0;
    EXPECT_EQ(8, UsableCurveSteps(s));
    s->curveSteps = 201;
    EXPECT_EQ(200, UsableCurveSteps(s));
    s->curveSteps = 32767;
    EXPECT_EQ(200, UsableCurveSteps(s));
    // The count is a signed word in older files: a top bit set is negative, no count.
    s->curveSteps = 0x8000;
    EXPECT_EQ(8, UsableCurveSteps(s));
    s->curveSteps = 0xFFFF;
    EXPECT_EQ(8, UsableCurveSteps(s));

    s->antiAliasPasses = 0;
    EXPECT_EQ(8u, UsableAntiAliasPasses(s));
    s->antiAliasPasses = 25;
    EXPECT_EQ(24u, UsableAntiAliasPasses(s));
    s->antiAliasPasses = 0xFFFFFFFFu;
    EXPECT_EQ(24u, UsableAntiAliasPasses(s));
    FreePlanSettings(s);
}

TEST(PlanSettingsFromFiles, PathWithoutTerminatorIsCutAtTheFieldsEnd)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    std::memset(s->tracingImagePath, 'A', sizeof s->tracingImagePath);
    s->tracingImageShown = 0x42;  // the byte after the field: must not be read as text
    const char* path = UsableTracingImagePath(s);
    EXPECT_EQ(s->tracingImagePath, path);
    EXPECT_EQ(511u, std::strlen(path));
    EXPECT_EQ(0x42, s->tracingImageShown);
    FreePlanSettings(s);
}

TEST(PlanSettingsFromFiles, WithoutSettingsTheNoDocumentValues)
{
    EXPECT_EQ(36.0f, UsableDrawingScale(nullptr));
    EXPECT_EQ(10, UsableCurveSteps(nullptr));
    EXPECT_EQ(1.0f, UsableZoom(nullptr));
    EXPECT_EQ(8u, UsableAntiAliasPasses(nullptr));
    EXPECT_STREQ("", UsableTracingImagePath(nullptr));
}
