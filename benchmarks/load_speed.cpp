// Speed of loading plans whose objects cost more to load than their records: a garden of
// 10,000 plants of 20 kinds with the kinds' information files in the texture library
// and without them (the load should cost about the same: each kind's file read once),
// and plans of 5,000 texts, 5,000 straight stairs and 5,000 post fences. Each plan is
// built with the program's own builders and saved, then loaded as Open loads it (under
// the wait cursor) into a fresh plan, run after run.
//
//   load_speed.exe [--runs N]
//
// Runs in the program directory (the current directory), where it writes its plans and
// the plants' information files. Times are medians in ms.
#include "bench_support.h"
#include "dialogs/plant_info.h"
#include "files/plan_file.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/array_objects.h"
#include "model3d/fences.h"
#include "model3d/stairs.h"
#include "render3d/texture_names.h"
#include "shell/app_globals.h"
#include "tools/cad_builders.h"
#include "tools/text_editing.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

int runs = 3;
const uint32_t kFirstPlant = 3000;   // "SHRUBS\SHRUB1" onward
const int kPlantKinds = 20;
const int kPlants = 10000;
const int kPerPlan = 5000;

// Where the i-th of n objects stands: a square grid 60 units apart.
void GridPoint(int i, int n, float* x, float* z)
{
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    *x = -side * 30.0f + (i % side) * 60.0f;
    *z = -side * 30.0f + (i / side) * 60.0f;
}

// A plant's information file as a library keeps it: its names, codes, zones, growth and
// a note of about 2 KB.
void WritePlantFile(uint32_t id)
{
    char path[kTextureNameSize] = "";
    MakeTextureInfoPath(static_cast<int32_t>(id), path);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream file(path, std::ios::binary);
    file << "[Description]\r\nNote=" << std::string(2000, 'n') << "\r\nCommonName=Arbusto " << id
         << "\r\nBotanicalName=Frutex " << id << "\r\nType=2\r\nPropagation=2\r\nWater=3\r\nSunLight=2\r\n"
         << "MaximumGrowthHeight=" << 60 + id % 7 << "\r\nSoilType=3\r\n";
    for (int zone = 3; zone <= 8; ++zone)
        file << "Zone" << zone << "=1\r\n";
    file << "AnnualGrowthRate=" << 5 + id % 11 << "\r\n";
}

void BuildPlants()
{
    PlanFloor* floor = activeDocument->firstFloor;
    for (int i = 0; i < kPlants; ++i) {
        PlanObject* plant = CreatePlantObject(floor, 0, kFirstPlant + i % kPlantKinds);
        float x, z;
        GridPoint(i, kPlants, &x, &z);
        for (PlanVertex* v = plant->firstVertex; v; v = v->next) {
            v->position[0] += x;
            v->position[2] += z;
        }
    }
}

void BuildTexts()
{
    LOGFONTA font = {};
    font.lfHeight = -20;
    std::strcpy(font.lfFaceName, "Arial");
    for (int i = 0; i < kPerPlan; ++i) {
        HWND control = CreateTextEditWindow(WS_CHILD | ES_MULTILINE, 0, 0, 48, 40, activePlanPane);
        SetTextEditFont(control, font);
        SetWindowTextA(control, ("Vano " + std::to_string(i)).c_str());
        float x, z;
        GridPoint(i, kPerPlan, &x, &z);
        const RECT frame = {(LONG)x, (LONG)z, (LONG)x + 48, (LONG)z + 40};
        BuildTextFrameObject(&frame, control, activeDocument->firstFloor);
    }
}

// Straight stairs with the stair tool's sizes, climbing one storey along x.
void BuildStairs()
{
    const PlanSettings* s = activeDocument->settings;
    for (int i = 0; i < kPerPlan; ++i) {
        float x, z;
        GridPoint(i, kPerPlan, &x, &z);
        PlanObject* stair = AddObject(activeDocument->firstFloor, ObjStair, 800, false, 1.0f, {{x, z}, {x + 50, z}});
        stair->imageId1 = 2206;
        stair->imageId2 = 1700;
        stair->parameters[0] = s->stairWidth;
        stair->parameters[1] = s->stairRiserHeight;
        stair->parameters[2] = s->stairTreadDepth;
        stair->parameters[3] = s->stairRailingHeight;
        stair->parameters[4] = kDefaultFloorHeight;
        RebuildStair(stair);
    }
}

// Post fences of three points, an L 50 by 40.
void BuildFences()
{
    const PlanSettings* s = activeDocument->settings;
    for (int i = 0; i < kPerPlan; ++i) {
        float x, z;
        GridPoint(i, kPerPlan, &x, &z);
        PlanObject* fence =
            AddObject(activeDocument->firstFloor, ObjFence, 0, false, 1.0f, {{x, z}, {x + 50, z}, {x + 50, z + 40}});
        fence->category = kCategoryGarden;
        fence->colourA = fence->colourB = s->fenceColour;
        fence->onTerrain = 1;
        RebuildFence(fence);
    }
}

void WritePlan(const char* path, void (*build)())
{
    BeginDocument();
    ShowTopView();
    build();
    SavePlanFile(path);
    EndDocument();
}

// The load as Open makes it, into a fresh plan each run.
double LoadTime(const char* path)
{
    return Median(runs, [path] {
        HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        LoadPlanFile(path);
        SetCursor(previous);
    }, [] {
        EndDocument();
        BeginDocument();
        ShowTopView();
    });
}

} // namespace

int main(int argc, char** argv)
{
    runs = StartBenchmark(argc, argv, runs);
    benchPane = CreateBenchPane();

    // The garden, with its plants' files and then without them.
    BeginDocument();
    for (int kind = 0; kind < kPlantKinds; ++kind)
        WritePlantFile(kFirstPlant + kind);
    EndDocument();
    WritePlan("plants-10000.ZRO", BuildPlants);
    const double withFiles = LoadTime("plants-10000.ZRO");
    std::filesystem::remove_all(std::string(programDirectory) + "\\TEXTURES");
    ForgetPlantInfo();
    const double withoutFiles = LoadTime("plants-10000.ZRO");
    PrintTime("load of 10000 plants of 20 kinds, with their information files", withFiles, runs);
    PrintTime("load of 10000 plants of 20 kinds, without information files", withoutFiles, runs);
    PrintValue("load of 10000 plants, with files / without", withFiles / std::max(withoutFiles, 0.01), "x");

    const struct {
        const char* name;
        const char* file;
        void (*build)();
    } plans[] = {
        {"load of 5000 texts", "texts-5000.ZRO", BuildTexts},
        {"load of 5000 straight stairs", "stairs-5000.ZRO", BuildStairs},
        {"load of 5000 post fences", "fences-5000.ZRO", BuildFences},
    };
    for (const auto& plan : plans) {
        WritePlan(plan.file, plan.build);
        PrintTime(plan.name, LoadTime(plan.file), runs);
    }
    EndDocument();
    DestroyWindow(benchPane);
    return 0;
}
