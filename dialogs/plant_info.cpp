#include "dialogs/plant_info.h"
#include "files/profile_file.h"
#include "model/object_extents.h"
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
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

const char kSection[] = "Description";
// What the profile functions return for a key that is absent.
const char kAbsent[] = "Done";
const int kNameBufferSize = 60;
const float kSeedlingHeight = 12.0f;
const float kWidthPerHeight = 0.85f;
const int kMostGrowthYears = 200;
// Plant ids are library texture ids, below this.
const int32_t kPlantIdLimit = 14000;

bool PositiveFinite(float value)
{
    return std::isfinite(value) && value > 0.0f;
}

// The "Description" section of an information file, read once: the side bar reads
// hundreds of these in a row, and one read per key would open each file eighteen times.
// The section is read whole, however long a note or name before the numeric keys: a
// section cut at the buffer's end would lose every key after it.
class DescriptionSection {
public:
    explicit DescriptionSection(const char* path)
    {
        // The profile functions give the buffer's size less 2 when the section does not fit.
        for (DWORD size = kFirstBufferSize; size <= kLargestBufferSize; size *= 2) {
            text_.resize(size);
            const DWORD n = MeantProfileSection(kSection, text_.data(), size, path);
            if (n < size - 2) {
                length_ = n;
                return;
            }
        }
    }
    // The value of the key (case-insensitive, spaces and surrounding quotes taken off, as
    // the profile functions give it), or null when the key is absent.
    const char* Find(const char* key, char* value, size_t size) const
    {
        for (size_t at = 0; at < length_ && text_[at];) {
            const char* line = text_.data() + at;
            size_t lineLength = std::strlen(line);
            at += lineLength + 1;
            const char* equals = std::strchr(line, '=');
            if (!equals)
                continue;
            const char* keyEnd = equals;
            while (keyEnd > line && keyEnd[-1] == ' ')
                --keyEnd;
            const char* keyStart = line;
            while (keyStart < keyEnd && *keyStart == ' ')
                ++keyStart;
            if ((size_t)(keyEnd - keyStart) != std::strlen(key) ||
                _strnicmp(keyStart, key, keyEnd - keyStart) != 0)
                continue;
            const char* v = equals + 1;
            while (*v == ' ')
                ++v;
            size_t n = std::strlen(v);
            while (n && v[n - 1] == ' ')
                --n;
            if (n >= 2 && (v[0] == '"' || v[0] == '\'') && v[n - 1] == v[0]) {
                ++v;
                n -= 2;
            }
            if (n >= size)
                n = size - 1;
            std::memcpy(value, v, n);
            value[n] = 0;
            return value;
        }
        return nullptr;
    }
    // The key's value read as the profile functions read a number (0 when absent).
    UINT Number(const char* key) const
    {
        char value[32];
        const char* text = Find(key, value, sizeof value);
        return text ? (UINT)std::strtol(text, nullptr, 10) : 0;
    }

private:
    static const DWORD kFirstBufferSize = 4096;
    // Far beyond any plant's information file; a larger one reads as empty, as a missing one.
    static const DWORD kLargestBufferSize = 64u << 20;
    std::vector<char> text_;
    DWORD length_ = 0;
};

// False when the key is absent: the field then keeps what it holds.
bool ReadName(const DescriptionSection& section, const char* key, char* field)
{
    char text[kNameBufferSize];
    if (!section.Find(key, text, sizeof text) || std::strcmp(text, kAbsent) == 0)
        return false;
    std::memcpy(field, text, std::strlen(text) + 1);
    return true;
}

// What a plant's information file gave, kept for the run: a garden holds thousands of
// plants of a few kinds, each loaded or placed plant asks for its kind's data, and the
// file is read once. The file's path is kept with it, so that a program directory
// changed meanwhile reads the other library's file.
struct KeptPlantInfo {
    std::string path;
    PlantInfo values;       // read into a zeroed record
    bool commonName;        // the names the file holds; absent ones leave a record's own
    bool botanicalName;
};
std::unordered_map<int32_t, KeptPlantInfo> keptPlantInfo;   // by plant id

const KeptPlantInfo& ReadPlantFile(int32_t id, const char* path)
{
    KeptPlantInfo& kept = keptPlantInfo[id];
    if (kept.path == path)
        return kept;
    kept = KeptPlantInfo{path, {}, false, false};
    PlantInfo& info = kept.values;
    const DescriptionSection section(path);
    kept.commonName = ReadName(section, "CommonName", info.commonName);
    kept.botanicalName = ReadName(section, "BotanicalName", info.botanicalName);
    info.type = (uint16_t)section.Number("Type");
    info.propagation = (uint16_t)section.Number("Propagation");
    info.water = (uint16_t)section.Number("Water");
    info.sunLight = (uint16_t)section.Number("SunLight");
    info.maximumGrowthHeight = (uint16_t)section.Number("MaximumGrowthHeight");
    info.soilType = (uint16_t)section.Number("SoilType");
    for (int n = 0; n < 10; ++n) {
        char key[8];
        std::snprintf(key, sizeof key, "Zone%d", n + 1);
        info.zones[n] = (uint8_t)section.Number(key);
    }
    info.annualGrowthRate = (float)(int16_t)section.Number("AnnualGrowthRate");
    return kept;
}

} // namespace

void ReadPlantInfo(PlantInfo* info, int32_t id)
{
    if (!info || id <= 0 || id >= kPlantIdLimit || !activeDocument || !activeDocument->settings)
        return;
    char path[kTextureNameSize] = "";
    MakeTextureInfoPath(id, path);
    if (!path[0])
        return;
    const KeptPlantInfo& kept = ReadPlantFile(id, path);
    PlantInfo read = kept.values;
    if (!kept.commonName)
        std::memcpy(read.commonName, info->commonName, sizeof read.commonName);
    if (!kept.botanicalName)
        std::memcpy(read.botanicalName, info->botanicalName, sizeof read.botanicalName);
    *info = read;
}

void ForgetPlantInfo()
{
    keptPlantInfo.clear();
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
    // A record with nothing in it comes from a missing information file: such a plant
    // keeps the size it has, rather than taking a growth it has no data for.
    static const PlantInfo kNothingRead = {};
    if (std::memcmp(info, &kNothingRead, sizeof(PlantInfo)) == 0)
        return;
    float age = plant->plantAge;
    const int16_t planted = (int16_t)plant->value2;
    if (planted)
        age += planted + 3;
    float whole = age + 0.5f;
    // A damaged age must not spin the growth loop: more years than any plant lives.
    int years = whole > 0.0f ? (whole < kMostGrowthYears ? (int)whole : kMostGrowthYears) : 0;
    float h = kSeedlingHeight;
    for (int i = 0; i < years; ++i)
        h *= 1.0f + info->annualGrowthRate / 100.0f;
    // A limit of 0 is an absent key: no limit, rather than a plant shrunk to a point that
    // the next rescale would divide by.
    if (info->maximumGrowthHeight != 0) {
        float limit = UnitsToPlanLength((float)info->maximumGrowthHeight, activeDocument->settings, 0);
        if (h > limit)
            h = limit;
    }
    // Growth with no limit of its own (a large rate and no maximum) would pass the plan's
    // limit and, in time, every number: no plant outgrows the plan.
    h = std::fmax(-kPlanLimit, std::fmin(h, kPlanLimit));
    *height = h;
    *width = h * kWidthPerHeight;
    if (!rescale)
        return;
    float extent = plant->box3D[4] - plant->box3D[1];
    float ratio = *width / extent;
    if (!PositiveFinite(*width) || !PositiveFinite(extent) || !PositiveFinite(ratio))
        return;
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
