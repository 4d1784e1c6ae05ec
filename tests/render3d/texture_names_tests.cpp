#include "render3d/texture_names.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "shell/app_globals.h"
#include "support/plan_fixtures.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// The library lies below this program directory for every test here.
class TextureNamesTest : public vtest::RecordCheckedDocumentTest {
protected:
    void SetUp() override
    {
        RecordCheckedDocumentTest::SetUp();
        saved = programDirectory;
        programDirectory = directory;
    }
    void TearDown() override
    {
        programDirectory = saved;
        RecordCheckedDocumentTest::TearDown();
    }
    char directory[16] = "C:\\VLM";
    char* saved = nullptr;
};

std::string Named(void (*namer)(int32_t, char*), int32_t id)
{
    char buffer[kTextureNameSize] = "as it was";
    namer(id, buffer);
    return buffer;
}

} // namespace

TEST_F(TextureNamesTest, PictureNamesFollowTheTableToItsEdges)
{
    const struct {
        int32_t id;
        const char* name;
    } cases[] = {
        {1, "SKY\\SKY1.ZTX"},           {1550, "SKY\\SKY1.ZTX"},
        {2, "GROUND\\GROUND1.ZTX"},     {4, "WOOD\\WOOD1.ZTX"},
        {3, ""},                        {13999, ""},
        {300, "SHRUBS\\SHRUB1.ZTX"},    {5681, "SHRUBS\\SHRUB682.ZTX"},
        {1834, "FABRICS\\FABRIC135.ZTX"}, {1835, ""},
        {7474, "TREES\\ZORVO14.ZTX"},   {7475, ""},
        {12504, "PERENNIALS\\PEREN505.ZTX"}, {12505, ""},
        {2151, "TILE\\TILE102.ZTX"},    {13022, "EDIBLES\\EDIBLES23.ZTX"},
        {0, "as it was"},               {-7, "as it was"},
        {14000, "as it was"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Named(MakeTextureImageName, c.id), c.name) << "id " << c.id;
}

TEST_F(TextureNamesTest, LibraryPathsPutTheDirectoryInFront)
{
    const struct {
        void (*namer)(int32_t, char*);
        int32_t id;
        const char* path;
    } cases[] = {
        {MakeTextureInfoPath, 1550, "C:\\VLM\\TEXTURES\\SKY\\SKY1.ZTI"},
        {MakeTextureInfoPath, 7461, "C:\\VLM\\TEXTURES\\TREES\\ZORVO1.ZTI"},
        {MakeTexturePreviewPath, 1150, "C:\\VLM\\TEXTURES\\GROUND\\GROUND1.ZPV"},
        {MakeTextureInfoPath, 1835, "C:\\VLM\\TEXTURES\\"},
        {MakeTexturePreviewPath, 14000, "as it was"},
        {MakeTrimTexturePreviewPath, 100, "C:\\VLM\\TEXTURES\\BASETRIM\\BASETRIM1.ZPV"},
        {MakeTrimTextureInfoPath, 204, "C:\\VLM\\TEXTURES\\LIBPANEL\\LIBPANEL5.ZTI"},
        {MakeTrimTextureInfoPath, 99, "C:\\VLM\\TEXTURES\\"},
        {MakeTrimTextureInfoPath, 105, "C:\\VLM\\TEXTURES\\"},
    };
    document->settings->unitSystem = kUnitSystemFeetInches;
    for (const auto& c : cases)
        EXPECT_EQ(Named(c.namer, c.id), c.path) << "id " << c.id;

    document->settings->unitSystem = kUnitSystemMetric;
    EXPECT_EQ(Named(MakeTrimTextureInfoPath, 204), "C:\\VLM\\TEXTURES\\LIBPANEL\\LIBPANEL5M.ZTI");
    EXPECT_EQ(Named(MakeTrimTexturePreviewPath, 102), "C:\\VLM\\TEXTURES\\BASETRIM\\BASETRIM3M.ZPV");

    programDirectory = nullptr;
    EXPECT_EQ(Named(MakeTextureInfoPath, 1), "as it was");
    EXPECT_EQ(Named(MakeTrimTextureInfoPath, 100), "as it was");
}

TEST(TextureNamesWithoutPlan, TrimNamesHaveNoMetricMark)
{
    char directory[] = "D:";
    char* saved = programDirectory;
    programDirectory = directory;
    EXPECT_EQ(Named(MakeTrimTextureInfoPath, 203), "D:\\TEXTURES\\LIBPANEL\\LIBPANEL4.ZTI");
    programDirectory = saved;
}
