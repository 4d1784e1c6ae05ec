#include "dialogs/plant_info.h"
#include "model3d/array_objects.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "render3d/texture_names.h"
#include "shell/app_globals.h"
#include "support/plan_fixtures.h"
#include "support/plant_info_files.h"
#include "support/test_support.h"
#include <string>

namespace {

class PlantInfoTest : public vtest::RecordCheckedDocumentTest {
protected:
    void SetUp() override
    {
        RecordCheckedDocumentTest::SetUp();
        saved = programDirectory;
        directory = vtest::CurrentDirectory();
        programDirectory = &directory[0];
        document->settings->drawingScale = 72.0f;
        document->settings->drawingUnit = 1;
    }
    void TearDown() override
    {
        programDirectory = saved;
        RecordCheckedDocumentTest::TearDown();
    }
    char* saved = nullptr;
    std::string directory;
};

TEST_F(PlantInfoTest, TheInformationFileFillsTheRecordAndItsSizeGrowsByTheRate)
{
    vtest::WritePlantInfo(7000, {{"CommonName", std::string(70, 'q')}, {"BotanicalName", "Done"},
                                 {"SunLight", "3"}, {"Zone10", "1"}, {"MaximumGrowthHeight", "300"},
                                 {"AnnualGrowthRate", "10"}});
    PlantInfo* info = LoadPlantInfo(7000);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(std::string(info->commonName), std::string(59, 'q'));
    EXPECT_STREQ(info->botanicalName, "");
    EXPECT_EQ(info->sunLight, 3);
    EXPECT_EQ(info->zones[9], 1);
    EXPECT_FLOAT_EQ(info->annualGrowthRate, 10.0f);
    PlantInfo* missing = LoadPlantInfo(7001);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->maximumGrowthHeight, 0);

    PlanObject* plant = vtest::MakePointObject(ObjPlant, Storey(0), {{0, 0, 0}, {10, 0, 10}}, 0, 1);
    plant->plantData = info;
    const struct {
        float age;
        int16_t planted;
        float height;
    } cases[] = {{2.0f, 0, 14.52f}, {0.4f, 0, 12.0f}, {0.5f, 0, 13.2f}, {1.4f, 1, 12.0f * 1.61051f}};
    for (const auto& c : cases) {
        plant->plantAge = c.age;
        plant->value2 = (uint16_t)c.planted;
        float w = 0, h = 0;
        ComputePlantSizeAtAge(plant, &w, &h, 0);
        EXPECT_NEAR(h, c.height, 1e-3f) << c.age;
        EXPECT_NEAR(w, c.height * 0.85f, 1e-3f) << c.age;
    }
    // The height is capped by the maximum; a record of zeros caps at 0.
    plant->plantAge = 60.0f;
    plant->value2 = 0;
    float w = 0, h = 0;
    ComputePlantSizeAtAge(plant, &w, &h, 0);
    EXPECT_FLOAT_EQ(h, 300.0f);
    FreePlantInfo(missing);
}

// The keys after a long note or name read as in a short file (names cut to 59
// characters), and a plant dropped into the plan takes its size from them: a height
// capped at 60, so 51 across.
TEST_F(PlantInfoTest, KeysAfterALongNoteOrNameReadAsInAShortFile)
{
    const std::string name(70, 'r'), note(4200, 'n'), longName(100000, 'r');
    const struct { std::string note, name; } files[] = {{"Siepe", name}, {note, name}, {"Siepe", longName}};
    for (const auto& f : files) {
        vtest::WritePlantInfo(7010, {{"Notes", f.note}, {"CommonName", f.name}, {"BotanicalName", "Rosa canina"},
                                     {"Type", "2"}, {"MaximumGrowthHeight", "60"}, {"Zone3", "1"}, {"Zone5", "1"},
                                     {"AnnualGrowthRate", "10"}});
        PlanObject* plant = CreatePlantObject(Storey(0), 1, 7010);
        ASSERT_NE(plant, nullptr);
        const PlantInfo& p = *plant->plantData;
        std::string zones;
        for (uint8_t zone : p.zones)
            zones += std::to_string(zone);
        EXPECT_EQ(std::string(p.commonName) + "|" + p.botanicalName + "|" + std::to_string(p.type) + "|" +
                      std::to_string(p.maximumGrowthHeight) + "|" + zones + "|" + std::to_string(p.annualGrowthRate),
                  std::string(59, 'r') + "|Rosa canina|2|60|0010100000|10.000000")
            << f.note.size() << " " << f.name.size();
        EXPECT_FLOAT_EQ(plant->firstVertex->next->position[0], 51.0f);
    }
}

// A plant's file is read once: a plant's data stay as first read though the file changes,
// until the plant library is looked at again; another program directory reads its own.
TEST_F(PlantInfoTest, EachFileIsReadOncePerLibrary)
{
    std::string other = directory + "\\other";
    CreateDirectoryA(other.c_str(), nullptr);
    programDirectory = &other[0];
    vtest::WritePlantInfo(7000, {{"CommonName", "Altro"}});
    programDirectory = &directory[0];
    vtest::WritePlantInfo(7000, {{"CommonName", "Primo"}, {"Water", "2"}});
    const auto read = [] {
        PlantInfo* info = LoadPlantInfo(7000);
        std::string name = info->commonName + std::string(" ") + std::to_string(info->water);
        FreePlantInfo(info);
        return name;
    };
    EXPECT_EQ("Primo 2", read());
    char path[kTextureNameSize] = "";
    MakeTextureInfoPath(7000, path);
    const std::string changed = "[Description]\r\nWater=4\r\n";
    vtest::WriteFileBytes(path, std::vector<unsigned char>(changed.begin(), changed.end()));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path);
    EXPECT_EQ("Primo 2", read());
    ForgetPlantInfo();
    EXPECT_EQ(" 4", read());
    programDirectory = &other[0];
    EXPECT_EQ("Altro 0", read());
    programDirectory = &directory[0];
}

} // namespace
