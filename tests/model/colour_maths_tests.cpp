#include <gtest/gtest.h>
#include <math.h>
#include "model/colour_maths.h"
#include "model/plan_settings.h"

namespace {

// An 8-bit colour as the model stores it: each channel times 257.
ColourTriple FromBytes(int r, int g, int b)
{
    ColourTriple c;
    c.red = (uint16_t)(r * 257);
    c.green = (uint16_t)(g * 257);
    c.blue = (uint16_t)(b * 257);
    return c;
}

void ExpectTriple(uint16_t a, uint16_t b, uint16_t c, const uint16_t* got)
{
    EXPECT_EQ(a, got[0]);
    EXPECT_EQ(b, got[1]);
    EXPECT_EQ(c, got[2]);
}

class ShadeTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedBrightness = shadeBrightness;
        shadeBrightness = 1.2f;
        UpdateSunDirection();
    }
    void TearDown() override { shadeBrightness = savedBrightness; }
    uint32_t Shade(float nx, float ny, float nz, uint32_t value, uint8_t plain)
    {
        uint32_t saturation = 12345;
        ShadeColourByNormal(1.0f, nx, ny, nz, &saturation, &value, plain);
        EXPECT_EQ(12345u, saturation);
        return value;
    }
    float savedBrightness = 1.2f;
};

} // namespace

TEST(ColourMaths, PrimariesToHsv)
{
    uint16_t hsv[3];
    const uint16_t red[3] = {65535, 0, 0};
    RgbToHsv(red, hsv);
    ExpectTriple(0, 65535, 65535, hsv);
    const uint16_t green[3] = {0, 65535, 0};
    RgbToHsv(green, hsv);
    ExpectTriple(21845, 65535, 65535, hsv);
    const uint16_t blue[3] = {0, 0, 65535};
    RgbToHsv(blue, hsv);
    ExpectTriple(43690, 65535, 65535, hsv);
    // Yellow is 60 degrees: 60 x 65535 / 360 = 10922.5, rounded up.
    const uint16_t yellow[3] = {65535, 65535, 0};
    RgbToHsv(yellow, hsv);
    ExpectTriple(10923, 65535, 65535, hsv);
}

TEST(ColourMaths, OrangeFromEightBitValues)
{
    // (255, 128, 0): hue = 60 x (1 - 32639/65535) = 30.1176 degrees -> 5483.
    ColourTriple c = FromBytes(255, 128, 0);
    const uint16_t rgb[3] = {c.red, c.green, c.blue};
    uint16_t hsv[3];
    RgbToHsv(rgb, hsv);
    ExpectTriple(5483, 65535, 65535, hsv);
    // Half saturation: max 40000, min 20000.
    const uint16_t pale[3] = {40000, 20000, 20000};
    RgbToHsv(pale, hsv);
    ExpectTriple(0, 32768, 40000, hsv);
}

TEST(ColourMaths, GreysHaveNoHue)
{
    uint16_t hsv[3], rgb[3];
    const uint16_t grey[3] = {30000, 30000, 30000};
    RgbToHsv(grey, hsv);
    ExpectTriple(65535, 0, 30000, hsv);
    HsvToRgb(hsv, rgb);
    ExpectTriple(30000, 30000, 30000, rgb);
    const uint16_t black[3] = {0, 0, 0};
    RgbToHsv(black, hsv);
    ExpectTriple(65535, 0, 0, hsv);
}

TEST(ColourMaths, HsvToRgbBySector)
{
    uint16_t rgb[3];
    // Undefined hue with a saturation reads as 0 degrees.
    const uint16_t undefinedHue[3] = {65535, 65535, 65535};
    HsvToRgb(undefinedHue, rgb);
    ExpectTriple(65535, 0, 0, rgb);
    const uint16_t green[3] = {21845, 65535, 65535};
    HsvToRgb(green, rgb);
    ExpectTriple(0, 65535, 0, rgb);
    // 5461 -> 30 degrees: sector 0, f = 0.5, t = 0.5.
    const uint16_t orange[3] = {5461, 65535, 65535};
    HsvToRgb(orange, rgb);
    ExpectTriple(65535, 32768, 0, rgb);
    // 36408 -> 200 degrees: sector 3, f = 1/3, q = 2/3.
    const uint16_t azure[3] = {36408, 65535, 65535};
    HsvToRgb(azure, rgb);
    ExpectTriple(0, 43690, 65535, rgb);
    // Half value, full saturation, 0 degrees.
    const uint16_t darkRed[3] = {0, 65535, 32768};
    HsvToRgb(darkRed, rgb);
    ExpectTriple(32768, 0, 0, rgb);
}

TEST(ColourMaths, ChannelsAndGrey)
{
    const uint16_t c[3] = {5, 9, 2};
    EXPECT_EQ(2, MinChannel(c));
    EXPECT_EQ(9, MaxChannel(c));
    const uint16_t tie[3] = {7, 7, 7};
    EXPECT_EQ(7, MinChannel(tie));
    EXPECT_EQ(7, MaxChannel(tie));

    uint16_t grey[3];
    const uint16_t red[3] = {65535, 0, 0};
    RgbToGrey(red, grey);
    ExpectTriple(19660, 19660, 19660, grey);  // 0.3 x 65535 = 19660.5
    const uint16_t green[3] = {0, 65535, 0};
    RgbToGrey(green, grey);
    ExpectTriple(38665, 38665, 38665, grey);  // 0.59 x 65535 = 38665.65
    const uint16_t blue[3] = {0, 0, 65535};
    RgbToGrey(blue, grey);
    ExpectTriple(7208, 7208, 7208, grey);     // 0.11 x 65535 = 7208.85
}

TEST_F(ShadeTest, SunDirectionIsTheCosinesOfTheFixedAngles)
{
    EXPECT_NEAR(0.0f, sunDirection[0], 1e-6);
    EXPECT_NEAR(-0.8660254f, sunDirection[1], 1e-6);
    EXPECT_NEAR(1.0f, sunDirection[2], 1e-6);
}

TEST_F(ShadeTest, FacingTheSunKeepsTheValue)
{
    EXPECT_EQ(40000u, Shade(0.0f, 0.0f, 1.0f, 40000, 0));
    EXPECT_EQ(40000u, Shade(0.0f, 0.0f, -3.0f, 40000, 1));
}

TEST_F(ShadeTest, PlainShadingScalesByTheCosine)
{
    // |n . L| = 0.8660254: 40000 x 0.866 + 0.5 = 34641.5 -> 34641; the normal's length
    // does not matter.
    EXPECT_EQ(34641u, Shade(0.0f, 1.0f, 0.0f, 40000, 1));
    EXPECT_EQ(34641u, Shade(0.0f, 2.0f, 0.0f, 40000, 1));
    // Across the light: nothing.
    EXPECT_EQ(0u, Shade(1.0f, 0.0f, 0.0f, 40000, 1));
}

TEST_F(ShadeTest, BrightnessWithASixtyPercentFloor)
{
    // Across the light: floor 24000, times 1.2 = 28800.
    EXPECT_EQ(28800u, Shade(1.0f, 0.0f, 0.0f, 40000, 0));
    // 34641 x 1.2 = 41569 is capped at the input.
    EXPECT_EQ(40000u, Shade(0.0f, 1.0f, 0.0f, 40000, 0));
    // A dim brightness still keeps 60 %.
    shadeBrightness = 0.5f;
    EXPECT_EQ(24000u, Shade(1.0f, 0.0f, 0.0f, 40000, 0));
    // 60 % of 7 is 4.2 -> 4.
    EXPECT_EQ(4u, Shade(1.0f, 0.0f, 0.0f, 7, 0));
}

TEST_F(ShadeTest, NormalWithoutDirectionLeavesTheColourUnchanged)
{
    EXPECT_EQ(40000u, Shade(0.0f, 0.0f, 0.0f, 40000, 0));
    EXPECT_EQ(40000u, Shade(0.0f, 0.0f, 0.0f, 40000, 1));
    EXPECT_EQ(40000u, Shade(NAN, 0.0f, 1.0f, 40000, 0));
    EXPECT_EQ(40000u, Shade(0.0f, NAN, 0.0f, 40000, 1));
    EXPECT_EQ(40000u, Shade(0.0f, INFINITY, 0.0f, 40000, 1));
    // So small that its square is 0 in f32: no direction either.
    EXPECT_EQ(40000u, Shade(1e-30f, 0.0f, 0.0f, 40000, 1));
}

TEST_F(ShadeTest, FacingTheUnnormalisedSunNeverExceedsTheInput)
{
    // Along (0, -0.866, 1) the cosine sum is |L| = 1.3229: the product is capped at the
    // input, also where it no longer fits 32 bits.
    EXPECT_EQ(40000u, Shade(0.0f, -0.8660254f, 1.0f, 40000, 1));
    EXPECT_EQ(0xFFFFFFFFu, Shade(0.0f, -0.8660254f, 1.0f, 0xFFFFFFFFu, 1));
    EXPECT_EQ(0xFFFFFFFFu, Shade(0.0f, -0.8660254f, 1.0f, 0xFFFFFFFFu, 0));
}

TEST(ColourMaths, NullArgumentsAreIgnored)
{
    uint16_t out[3] = {1, 2, 3};
    RgbToHsv(nullptr, out);
    HsvToRgb(nullptr, out);
    RgbToGrey(nullptr, out);
    ExpectTriple(1, 2, 3, out);
    ShadeColourByNormal(1.0f, 0.0f, 0.0f, 1.0f, nullptr, nullptr, 0);
}
