// Speed of the library side bar's longest list: "Cespugli", 682 plants, with the plant
// filter on, so that every plant's information file is read while the bar is built.
// Builds the hidden frame with one plan, writes one information file per plant in the
// current directory's texture library, and prints each rebuild's time and the best.
//
//   plant_list_speed.exe [runs]
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "palette/symbol_bar.h"
#include "render3d/texture_names.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/startup.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!InitStartupState(instance, nullptr) || !RegisterWindowClasses(instance))
        return 1;
    PrepareFrameResources();
    HWND frame = CreateFrameWindow();
    if (!frame)
        return 1;
    SendMessageA(frame, WM_COMMAND, 2, 0);
    if (!activeDocument || !activeDocument->settings)
        return 1;
    for (uint32_t id = 5000; id < 5682; ++id) {
        char path[kTextureNameSize] = "";
        MakeTextureInfoPath((int32_t)id, path);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WritePrivateProfileStringA("Description", "CommonName", "Arbusto", path);
        WritePrivateProfileStringA("Description", "SunLight", id % 2 ? "1" : "2", path);
        WritePrivateProfileStringA("Description", "Zone5", "1", path);
    }
    PlanSettings* s = activeDocument->settings;
    for (uint32_t& mask : s->plantSearch)
        mask = 0;
    s->plantSearch[2] = 1;  // sunlight 1: half the plants pass
    s->plantSearchOn = 1;
    symbarPlantFirst = 5000;
    symbarPlantCount = 682;
    SelectSymbarMode(4);
    double best = 1e9;
    for (int run = 1; run <= runs; ++run) {
        auto start = std::chrono::steady_clock::now();
        LayoutSymbar();
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        best = ms < best ? ms : best;
        std::printf("Cespugli list, filter on, run %d: %.0f ms, %u entries\n", run, ms, symbarEntryCount);
    }
    std::printf("Cespugli list, filter on: best of %d %.0f ms\n", runs, best);
    s->modified = 0;
    DestroyWindow(frame);
    return 0;
}
