// Saves through kept paths named outside the code page: a plan of 100,000 lines saved again
// (File > Save, after Save As chose it) in a folder whose name the code page cannot hold,
// among 2,000 neighbours named so too, and the preferences written in a program folder of
// that kind, each with a colour changed before it.
//
//   kept_path_speed.exe [--runs N]
//
// Runs in the program directory (the current directory), where it makes its folders.
// Times are medians in ms. Uses only what every build has, so that scripts/benchmark.sh
// can build it against an earlier build and run both in turns.
#include "bench_support.h"
#include "files/ansi_names.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "shell/app_globals.h"
#include "shell/document_commands.h"
#include "shell/file_dialogs.h"
#include "shell/startup.h"
#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string chosen;

// The Save As dialog, answered with the plan's path.
BOOL ChoosePlan(OPENFILENAMEA* record, bool, void*)
{
    std::snprintf(record->lpstrFile, record->nMaxFile, "%s", chosen.c_str());
    std::snprintf(record->lpstrFileTitle, record->nMaxFileTitle, "%s", std::strrchr(chosen.c_str(), '\\') + 1);
    return TRUE;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = StartBenchmark(argc, argv, 7);
    benchPane = CreateBenchPane();
    std::wstring here(4 * MAX_PATH, L'\0');
    here.resize(GetCurrentDirectoryW(static_cast<DWORD>(here.size()), &here[0]));
    // Neighbours whose short forms start otherwise than the folder's, so none shares it.
    const std::wstring parent = here + L"\\\u0440\u044F\u0434\\", ours = parent + L"\u043F\u0440\u043E\u0435\u043A\u0442\u03BA\u03B3\u03C9";
    CreateDirectoryW(parent.c_str(), nullptr);
    for (int i = 0; i < 2000; ++i)
        CreateDirectoryW((parent + L"n" + std::to_wstring(i) + L"\u0441\u043E\u0441\u0435\u0434").c_str(), nullptr);
    std::string folder;
    if ((!CreateDirectoryW(ours.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) || !AnsiPathOf(ours, folder)) {
        std::fprintf(stderr, "kept_path_speed: the folder has no short form of its own\n");
        return 1;
    }

    BeginDocument();
    BuildLines(100000);
    chosen = folder + "\\lines-100000.ZRO";
    SetFileDialogHook(ChoosePlan, nullptr);
    SaveDocumentAsCommand(nullptr);
    const long length = FileLength(chosen.c_str());
    const double save = Median(runs, [] { SaveDocumentCommand(nullptr); });
    if (length <= 0 || FileLength(chosen.c_str()) != length || !activeDocument->filePath) {
        std::fprintf(stderr, "kept_path_speed: the plan was not saved\n");
        return 1;
    }
    PrintTime("save of lines-100000 in a folder outside the code page, 2,000 beside", save, runs);

    // The program folder is the current directory at the start.
    SetCurrentDirectoryW(ours.c_str());
    if (!InitStartupState(GetModuleHandleA(nullptr), nullptr) || !programDirectory) {
        std::fprintf(stderr, "kept_path_speed: the program folder was refused\n");
        return 1;
    }
    const std::string preferences = std::string(programDirectory) + "\\Z!PREFS.INI";
    const double colours = Median(runs, [] { SavePlanColours(); }, [] {
        activeDocument->settings->foregroundColour.red = static_cast<uint16_t>(GetTickCount());
    });
    if (FileLength(preferences.c_str()) <= 0) {
        std::fprintf(stderr, "kept_path_speed: the preferences were not saved\n");
        return 1;
    }
    PrintTime("preferences save in a program folder outside the code page", colours, runs);
    EndDocument();
    return 0;
}
