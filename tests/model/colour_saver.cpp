// Saves the plan colours COUNT times into the preferences file of the program directory
// DIR, every channel of save i being FIRST + i, and prints the text of each message shown:
// a tool beside the preferences test, not a test.   colour_saver DIR COUNT FIRST [GO|-stop|-read]
// With GO each save, once it has read the file, prints "held" and waits until GO exists.
// A save that waits for another writer's turn prints "waiting". -stop ends the program as a
// kill would once the old content is kept whole; -read first prints the red of the plan
// colour read from the file ("read N").
#include "files/safe_save.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "shell/app_globals.h"
#include "support/test_support.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    argv = vtest::ArgumentsInCodePage(argc);
    static const char* go = argc == 5 && argv[4][0] != '-' ? argv[4] : nullptr;
    static const bool stop = argc == 5 && !std::strcmp(argv[4], "-stop");
    if (argc < 4 || argc > 5)
        return 2;
    SetSaveStageHook([](SaveStage stage) {
        if (stop && stage == SaveStage::CopyMade)
            ExitProcess(3);
        const bool awaited = stage == SaveStage::TurnAwaited;
        std::fputs(awaited ? "waiting\n" : go ? "held\n" : "", stdout), std::fflush(stdout);
        while (go && !awaited && GetFileAttributesA(go) == INVALID_FILE_ATTRIBUTES)
            Sleep(20);
    });
    vtest::MessageBoxRecorder boxes;
    programDirectory = argv[1];
    std::strcpy(preferencesFileName, "\\Z!PREFS.INI");
    PlanSettings* settings = CreatePlanDocument()->settings;
    if (argc == 5 && !std::strcmp(argv[4], "-read"))
        LoadPlanColours(), std::printf("read %u\n", settings->foregroundColour.red);
    for (int i = 0; i < std::atoi(argv[2]); ++i) {
        const uint16_t channel = static_cast<uint16_t>(std::atoi(argv[3]) + i);
        settings->foregroundColour = settings->backgroundColour = settings->inactiveColour = {channel, channel, channel};
        SavePlanColours();
    }
    for (const auto& box : boxes.Boxes())
        std::printf("%s\n", box.text.c_str());
    return 0;
}
