#include "dialogs/plant_info.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "model/units.h"
#include "planview/selection.h"
#include "render3d/object_polygons.h"
#include "render3d/texture_names.h"
#include <windows.h>
#include <cstdio>
#include <cstring>

namespace {

const char kSection[] = "Description";
// What the profile functions return for a key that is absent.
const char kAbsent[] = "Done";
const int kNameBufferSize = 60;
const float kSeedlingHeight = 12.0f;
const float kWidthPerHeight = 0.85f;

void ReadName(const char* path, const char* key, char* field)
{
    char text[kNameBufferSize];
    GetPrivateProfileStringA(kSection, key, kAbsent, text, sizeof text, path);
    if (std::strcmp(text, kAbsent) != 0) {
        std::memcpy(field, text, std::strlen(text) + 1);
    }
}

UINT ReadNumber(const char* path, const char* key)
{
    return GetPrivateProfileIntA(kSection, key, 0, path);
}

} // namespace

void ReadPlantInfo(PlantInfo* info, int32_t id)
{
    if (!info || id <= 0 || id >= 14000 || !activeDocument || !activeDocument->settings)
        return;
    char path[kTextureNameSize] = "";
    MakeTextureInfoPath(id, path);
    if (!path[0])
        return;
    ReadName(path, "CommonName", info->commonName);
    ReadName(path, "BotanicalName", info->botanicalName);
    info->type = (uint16_t)ReadNumber(path, "Type");
    info->propagation = (uint16_t)ReadNumber(path, "Propagation");
    info->water = (uint16_t)ReadNumber(path, "Water");
    info->sunLight = (uint16_t)ReadNumber(path, "SunLight");
    info->maximumGrowthHeight = (uint16_t)ReadNumber(path, "MaximumGrowthHeight");
    info->soilType = (uint16_t)ReadNumber(path, "SoilType");
    for (int n = 0; n < 10; ++n) {
        char key[8];
        std::snprintf(key, sizeof key, "Zone%d", n + 1);
        info->zones[n] = (uint8_t)ReadNumber(path, key);
    }
    info->annualGrowthRate = (float)(int16_t)ReadNumber(path, "AnnualGrowthRate");
}

PlantInfo* LoadPlantInfo(uint32_t textureId)
{
    PlantInfo* info = AllocateRecordOf<PlantInfo>();
    ReadPlantInfo(info, (int32_t)textureId);
    return info;
}

PlantInfo* CopyPlantInfo(const PlantInfo* info)
{
    if (!info)
        return nullptr;
    PlantInfo* copy = AllocateRecordOf<PlantInfo>();
    if (copy)
        *copy = *info;
    return copy;
}

void FreePlantInfo(PlantInfo* info)
{
    ReleaseRecord(info);
}

void ComputePlantSizeAtAge(PlanObject* plant, float* width, float* height, uint8_t rescale)
{
    if (!plant || !width || !height || !activeDocument || !activeDocument->settings ||
        plant->type != ObjPlant || !plant->plantData)
        return;
    const PlantInfo* info = plant->plantData;
    float age = plant->plantAge;
    const int16_t planted = (int16_t)plant->value2;
    if (planted)
        age += planted + 3;
    float whole = age + 0.5f;
    // A damaged age must not spin the growth loop for ever.
    int years = (whole > 0.0f && whole < 1000.0f) ? (int)whole : 0;
    float h = kSeedlingHeight;
    for (int i = 0; i < years; ++i)
        h *= 1.0f + info->annualGrowthRate / 100.0f;
    float limit = UnitsToPlanLength((float)info->maximumGrowthHeight, activeDocument->settings, 0);
    if (h > limit)
        h = limit;
    *height = h;
    *width = h * kWidthPerHeight;
    if (!rescale)
        return;
    float extent = plant->box3D[4] - plant->box3D[1];
    if (!(extent > 0.0f))
        return;
    float ratio = *width / extent;
    SelectObjectAndDrawHandles(plant, 1, 1);
    TransformRecord scale = {};
    scale.scale[0] = ratio;
    scale.scale[1] = 1.0f;
    scale.scale[2] = ratio;
    scale.centre[0] = (plant->box3D[1] + plant->box3D[4]) / 2.0f;
    scale.centre[2] = (plant->box3D[2] + plant->box3D[5]) / 2.0f;
    ScaleObjectTree(plant, &scale);
    RebuildObject3D(plant);
    SelectObjectAndDrawHandles(plant, 2, 1);
}
