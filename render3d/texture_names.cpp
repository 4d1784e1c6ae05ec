#include "render3d/texture_names.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "shell/app_globals.h"
#include <stdio.h>
#include <string.h>

namespace {

// One row of the library's id table: ids first..last name the files stem1 to stemN
// (n = id - first + 1). A fixed row names one file without a number.
struct TextureRange {
    int32_t first;
    int32_t last;
    const char* stem;
    bool fixed;
};

// Which id names which file is part of the library's format: several ranges share a
// stem and each starts again at 1, so they name the same files.
const TextureRange kTextureRanges[] = {
    {1, 1, "SKY\\SKY1", true},
    {2, 2, "GROUND\\GROUND1", true},
    {4, 4, "WOOD\\WOOD1", true},
    {300, 326, "SHRUBS\\SHRUB", false},
    {400, 425, "ANNUALS\\ANNUAL", false},
    {500, 551, "TREES\\TREE", false},
    {800, 822, "BLOCK\\BLOCK", false},
    {850, 915, "BRICK\\BRICK", false},
    {950, 955, "CONCRETE\\CONCRE", false},
    {1000, 1040, "FABRICS\\FABRIC", false},
    {1100, 1129, "FILLS\\FILL", false},
    {1150, 1170, "GROUND\\GROUND", false},
    {1200, 1215, "PAVERS\\PAVER", false},
    {1250, 1285, "ROOFING\\ROOF", false},
    {1300, 1347, "SIDING\\SIDING", false},
    {1350, 1391, "STONE\\STONE", false},
    {1400, 1408, "STUCCO\\STUCCO", false},
    {1450, 1481, "TILE\\TILE", false},
    {1500, 1519, "WOOD\\WOOD", false},
    {1525, 1542, "DECK\\DECK", false},
    {1550, 1550, "SKY\\SKY", false},
    {1600, 1630, "WALLCVRS\\COVER", false},
    {1700, 1834, "FABRICS\\FABRIC", false},
    {1900, 1955, "CARPET\\CARPET", false},
    {2000, 2014, "GRAVEL\\GRAVEL", false},
    {2050, 2151, "TILE\\TILE", false},
    {2200, 2245, "WOOD\\WOOD", false},
    {2300, 2344, "DECK\\DECK", false},
    {3000, 3230, "SHRUBS\\SHRUB", false},
    {3300, 3371, "ANNUALS\\ANNUAL", false},
    {3400, 3550, "TREES\\TREE", false},
    {3600, 3609, "BULBS\\BULB", false},
    {3650, 3659, "CACTI\\CACTI", false},
    {3700, 3733, "GROUNDCOVER\\GRDCVR", false},
    {3750, 3759, "HEDGES\\HEDGE", false},
    {3800, 3809, "GRASSES\\ORNAM", false},
    {3850, 3952, "PERENNIALS\\PEREN", false},
    {4000, 4034, "TROPICALS\\TROP", false},
    {4050, 4066, "WILDFLOWERS\\WILDF", false},
    {5000, 5681, "SHRUBS\\SHRUB", false},
    {6000, 6213, "ANNUALS\\ANNUAL", false},
    {7000, 7460, "TREES\\TREE", false},
    {7461, 7474, "TREES\\ZORVO", false},
    {8000, 8082, "BULBS\\BULB", false},
    {9000, 9085, "CACTI\\CACTI", false},
    {10000, 10055, "HEDGES\\HEDGE", false},
    {11000, 11098, "GRASSES\\ORNAM", false},
    {12000, 12504, "PERENNIALS\\PEREN", false},
    {13000, 13022, "EDIBLES\\EDIBLES", false},
};

constexpr int32_t kFirstTextureId = 1;
constexpr int32_t kLastTextureId = 13999;
const char kTextureFolder[] = "\\TEXTURES\\";

bool InTextureRange(int32_t id)
{
    return id >= kFirstTextureId && id <= kLastTextureId;
}

const TextureRange* FindTextureRange(int32_t id)
{
    for (const TextureRange& range : kTextureRanges)
        if (id >= range.first && id <= range.last)
            return &range;
    return nullptr;
}

// The id's file name with the extension after whatever the buffer already holds,
// never past its size; nothing for an id in no row.
void AppendTextureFileName(int32_t id, const char* extension, char* buffer)
{
    const TextureRange* range = FindTextureRange(id);
    if (!range)
        return;
    size_t used = strnlen(buffer, kTextureNameSize - 1);
    if (range->fixed)
        snprintf(buffer + used, kTextureNameSize - used, "%s%s", range->stem, extension);
    else
        snprintf(buffer + used, kTextureNameSize - used, "%s%ld%s", range->stem,
                 (long)(id - range->first + 1), extension);
}

// Program directory and "\TEXTURES\"; false (buffer untouched) when the directory is
// not set.
bool StartLibraryPath(char* buffer)
{
    if (!programDirectory)
        return false;
    snprintf(buffer, kTextureNameSize, "%s%s", programDirectory, kTextureFolder);
    return true;
}

void MakeTextureLibraryPath(int32_t id, const char* extension, char* path)
{
    if (!InTextureRange(id) || !path || !StartLibraryPath(path))
        return;
    AppendTextureFileName(id, extension, path);
}

bool IsMetricPlan()
{
    return activeDocument && activeDocument->settings &&
           activeDocument->settings->unitSystem == kUnitSystemMetric;
}

void MakeTrimLibraryPath(int32_t styleId, const char* extension, char* path)
{
    if (!path || !StartLibraryPath(path))
        return;
    const char* metric = IsMetricPlan() ? "M" : "";
    uint32_t index = static_cast<uint32_t>(styleId) - 100u;
    const char* stem = nullptr;
    long number = 0;
    if (index <= 4) {
        stem = "BASETRIM\\BASETRIM";
        number = styleId - 99;
    } else if (index >= 100 && index <= 104) {
        stem = "LIBPANEL\\LIBPANEL";
        number = styleId - 199;
    }
    if (!stem)
        return;
    size_t used = strnlen(path, kTextureNameSize - 1);
    snprintf(path + used, kTextureNameSize - used, "%s%ld%s%s", stem, number, metric, extension);
}

} // namespace

void MakeTextureImageName(int32_t id, char* name)
{
    if (!InTextureRange(id) || !name)
        return;
    name[0] = '\0';
    AppendTextureFileName(id, ".ZTX", name);
}

void MakeTextureInfoPath(int32_t id, char* path)
{
    MakeTextureLibraryPath(id, ".ZTI", path);
}

void MakeTexturePreviewPath(int32_t id, char* path)
{
    MakeTextureLibraryPath(id, ".ZPV", path);
}

void MakeTrimTextureInfoPath(int32_t styleId, char* path)
{
    MakeTrimLibraryPath(styleId, ".ZTI", path);
}

void MakeTrimTexturePreviewPath(int32_t styleId, char* path)
{
    MakeTrimLibraryPath(styleId, ".ZPV", path);
}
