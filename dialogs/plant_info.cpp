#include "dialogs/plant_info.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <windows.h>

#include "model/object_transforms.h"
#include "model/record_memory.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "planview/selection.h"
#include "render3d/object_polygons.h"
#include "render3d/texture_names.h"

namespace {

const char* const kSection = "Description";
// What the profile read gives for an absent name key.
const char* const kAbsent = "Done";
// More growth years than any plant lives: a file's age of a billion would otherwise
// loop a billion times.
constexpr int kMostGrowthYears = 200;

void ReadName(const char* path, const char* key, char* field)
{
    char text[60];
    GetPrivateProfileStringA(kSection, key, kAbsent, text, sizeof text, path);
    if (std::strcmp(text, kAbsent) != 0) {
        std::strncpy(field, text, 63);
        field[63] = '\0';
    }
}

unsigned ReadInteger(const char* path, const char* key)
{
    return GetPrivateProfileIntA(kSection, key, 0, path);
}

bool PositiveFinite(float value)
{
    return std::isfinite(value) && value > 0.0f;
}

}  // namespace

void ReadPlantInfo(PlantInfo* info, int32_t textureId)
{
    if (!info || textureId <= 0 || textureId >= 14000 || !activeDocument || !activeDocument->settings) return;
    char path[kTextureNameSize] = "";
    MakeTextureInfoPath(textureId, path);
    ReadName(path, "CommonName", info->commonName);
    ReadName(path, "BotanicalName", info->botanicalName);
    info->type = static_cast<uint16_t>(ReadInteger(path, "Type"));
    info->propagation = static_cast<uint16_t>(ReadInteger(path, "Propagation"));
    info->water = static_cast<uint16_t>(ReadInteger(path, "Water"));
    info->sunLight = static_cast<uint16_t>(ReadInteger(path, "SunLight"));
    info->maximumGrowthHeight = static_cast<uint16_t>(ReadInteger(path, "MaximumGrowthHeight"));
    info->soilType = static_cast<uint16_t>(ReadInteger(path, "SoilType"));
    for (int zone = 0; zone < 10; ++zone) {
        char key[8];
        std::snprintf(key, sizeof key, "Zone%d", zone + 1);
        info->zones[zone] = static_cast<uint8_t>(ReadInteger(path, key));
    }
    info->annualGrowthRate = static_cast<float>(static_cast<int16_t>(ReadInteger(path, "AnnualGrowthRate")));
}

PlantInfo* LoadPlantInfo(uint32_t textureId)
{
    PlantInfo* info = AllocateRecordOf<PlantInfo>();
    if (info) ReadPlantInfo(info, static_cast<int32_t>(textureId));
    return info;
}

PlantInfo* CopyPlantInfo(const PlantInfo* info)
{
    if (!info) return nullptr;
    PlantInfo* copy = AllocateRecordOf<PlantInfo>();
    if (copy) std::memcpy(copy, info, sizeof(PlantInfo));
    return copy;
}

void FreePlantInfo(PlantInfo* info)
{
    if (info) ReleaseRecord(info);
}

void ComputePlantSizeAtAge(PlanObject* plant, float* width, float* height, uint8_t rescale)
{
    if (!plant || !width || !height || !activeDocument || !activeDocument->settings) return;
    if (plant->type != ObjPlant || !plant->plantData) return;
    const PlantInfo* info = plant->plantData;
    // A record with nothing in it comes from a missing information file: such a plant
    // keeps the size it has, rather than taking a growth it has no data for.
    static const PlantInfo kNothingRead = {};
    if (std::memcmp(info, &kNothingRead, sizeof(PlantInfo)) == 0) return;
    double age = plant->plantAge;
    const int16_t plantedAt = static_cast<int16_t>(plant->value2);
    if (plantedAt != 0) age += plantedAt + 3;
    double years = std::floor(age + 0.5);
    if (!(years >= 0.0)) years = 0.0;
    if (years > kMostGrowthYears) years = kMostGrowthYears;
    float h = 12.0f;
    const float growth = 1.0f + info->annualGrowthRate / 100.0f;
    for (int year = 0; year < static_cast<int>(years); ++year) h *= growth;
    // A limit of 0 is an absent key or file: such a plant keeps growing, rather than
    // shrinking to a point that the next rescale would divide by.
    if (info->maximumGrowthHeight != 0) {
        const float limit = UnitsToPlanLength(info->maximumGrowthHeight, activeDocument->settings, 0);
        if (h > limit) h = limit;
    }
    *height = h;
    *width = h * 0.85f;
    if (!rescale) return;
    const float extent = plant->box3D[4] - plant->box3D[1];
    const float ratio = *width / extent;
    if (!PositiveFinite(*width) || !PositiveFinite(extent) || !PositiveFinite(ratio)) return;
    SelectObjectAndDrawHandles(plant, 1, 1);
    TransformRecord transform = {};
    transform.scale[0] = ratio;
    transform.scale[1] = 1.0f;
    transform.scale[2] = ratio;
    transform.centre[0] = (plant->box3D[1] + plant->box3D[4]) / 2.0f;
    transform.centre[2] = (plant->box3D[2] + plant->box3D[5]) / 2.0f;
    ScaleObjectTree(plant, &transform);
    RebuildObject3D(plant);
    SelectObjectAndDrawHandles(plant, 2, 1);
}
