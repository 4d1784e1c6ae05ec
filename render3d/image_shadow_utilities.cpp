#include "render3d/image_shadow_utilities.h"
#include "model3d/scene_polygons.h"
#include <stdlib.h>
#include <string.h>

float shadowMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

namespace {

constexpr int32_t kPlantPictureSide = 256;

bool IsBlack(const uint8_t* pixel)
{
    return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
}

size_t PixelCount(int32_t width, int32_t height)
{
    return (size_t)width * (size_t)height;
}

} // namespace

uint8_t* MakeRgbaImage(const uint8_t* rgb, float alpha, int32_t width, int32_t height)
{
    if (!rgb || width <= 0 || height <= 0)
        return nullptr;
    const size_t count = PixelCount(width, height);
    uint8_t* rgba = static_cast<uint8_t*>(malloc(count * 4));
    if (!rgba)
        return nullptr;
    const uint8_t a = (uint8_t)(int)(alpha * 255.0f);
    for (size_t i = 0; i < count; ++i) {
        memcpy(rgba + i * 4, rgb + i * 3, 3);
        rgba[i * 4 + 3] = a;
    }
    return rgba;
}

uint8_t* MakeRgbaImage256(const uint8_t* rgb, float alpha)
{
    return MakeRgbaImage(rgb, alpha, kPlantPictureSide, kPlantPictureSide);
}

void SetBlackAlpha(uint8_t* rgba, float alpha, int32_t width, int32_t height)
{
    if (!rgba || width <= 0 || height <= 0)
        return;
    const uint8_t a = (uint8_t)(int)(alpha * 255.0f);
    const size_t count = PixelCount(width, height);
    for (size_t i = 0; i < count; ++i)
        if (IsBlack(rgba + i * 4))
            rgba[i * 4 + 3] = a;
}

void SetBlackAlpha256(uint8_t* rgba, float alpha)
{
    SetBlackAlpha(rgba, alpha, kPlantPictureSide, kPlantPictureSide);
}

void RecolourNonBlack(uint8_t* rgba, ColourTriple colour, int32_t width, int32_t height)
{
    if (!rgba || width <= 0 || height <= 0)
        return;
    const size_t count = PixelCount(width, height);
    for (size_t i = 0; i < count; ++i) {
        uint8_t* pixel = rgba + i * 4;
        if (IsBlack(pixel))
            continue;
        pixel[0] = (uint8_t)(colour.red >> 8);
        pixel[1] = (uint8_t)(colour.green >> 8);
        pixel[2] = (uint8_t)(colour.blue >> 8);
    }
}

void RecolourNonBlack256(uint8_t* rgba, ColourTriple colour)
{
    RecolourNonBlack(rgba, colour, kPlantPictureSide, kPlantPictureSide);
}

void ClearTexelBorder(uint8_t* rgba, int32_t width, int32_t height)
{
    if (!rgba || width <= 0 || height <= 0)
        return;
    const size_t rowBytes = (size_t)width * 4;
    memset(rgba, 0, rowBytes);
    memset(rgba + (size_t)(height - 1) * rowBytes, 0, rowBytes);
    for (int32_t y = 0; y < height; ++y) {
        memset(rgba + (size_t)y * rowBytes, 0, 4);
        memset(rgba + (size_t)y * rowBytes + rowBytes - 4, 0, 4);
    }
}

// The cut-away copies come with the final render; until then the list stays empty.
void BuildSecondaryPolygonList()
{
    FreeSceneNodeList(secondaryMeshes);
    secondaryMeshes = nullptr;
}
