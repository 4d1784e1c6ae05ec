// Speed and memory of opening plans: generated plans loaded as Open loads them, into a
// fresh plan run after run, dated an hour back before any is timed, with how many times
// a load reads the file (once); also with their last write just made (which the reader
// may take for a write during its read, and then reads the file twice, and takes once it
// has settled); and, in a process of its own, the peak working set of one load. A load
// that fails ends it with an error.
//
//   plan_load_speed.exe --write PLAN...          writes the plans (PLAN.ZRO) where it runs
//   plan_load_speed.exe [--runs N] PLAN...       times their loads (medians, ms)
//   plan_load_speed.exe --peak PLAN              one load: the process's peak working set,
//                                                and what it adds to the working set before
//                                                the load (MB)
//
// Plans are those of bench_support.h (lines-10000, lines-100000, walls-10000...). Uses only
// what every build of the loader has, so that scripts/benchmark.sh can build it against an
// earlier build and run both in turns on the same files.
#include "bench_support.h"
#include "files/plan_file.h"
#include <psapi.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

double Megabytes(SIZE_T bytes)
{
    return bytes / (1024.0 * 1024.0);
}

PROCESS_MEMORY_COUNTERS Memory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

// A load, as Open makes it; one that fails ends the benchmark with an error, for its time
// (a refused or cut read) is no load's.
void Load(const std::string& path)
{
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const bool loaded = LoadPlanFile(path.c_str());
    SetCursor(previous);
    if (!loaded) {
        std::printf("%s was not loaded\n", path.c_str());
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    int runs = StartBenchmark(argc, argv, 7);
    benchPane = CreateBenchPane();
    AnswerMessageBoxes();
    // The options come first; "--runs" takes a number.
    int first = 1;
    while (first < argc && !std::strncmp(argv[first], "--", 2))
        first += std::strcmp(argv[first], "--runs") ? 1 : 2;
    const std::string mode = argc > 1 ? argv[1] : "";
    // Read as plans saved long before are: dated first, and timed once the clock's tick
    // and the reader's spans for recent changes have passed since (dating a file changes
    // it now, and no call sets its change back).
    if (mode != "--write") {
        for (int i = first; i < argc; ++i)
            DateLastWrite((std::string(argv[i]) + ".ZRO").c_str(), 3600);
        Sleep(kAgedAfter);
    }
    for (int i = first; i < argc; ++i) {
        const std::string name = argv[i], file = name + ".ZRO";
        if (mode == "--write") {
            const GeneratedPlan* plan = FindGeneratedPlan(name);
            if (!plan) {
                std::printf("no generated plan %s\n", name.c_str());
                return 1;
            }
            WriteGeneratedPlan(*plan, file.c_str());
            continue;
        }
        if (mode == "--peak") {
            BeginDocument();
            const PROCESS_MEMORY_COUNTERS before = Memory();
            Load(file);
            const PROCESS_MEMORY_COUNTERS after = Memory();
            PrintValue(name + " load, peak working set", Megabytes(after.PeakWorkingSetSize), "MB");
            PrintValue(name + " load, peak working set added by the load",
                       Megabytes(after.PeakWorkingSetSize - before.WorkingSetSize), "MB");
            EndDocument();
            continue;
        }
        char size[32];
        std::snprintf(size, sizeof size, " (%.1f MB)", FileLength(file.c_str()) / 1e6);
        BeginDocument();
        const auto fresh = [] {
            EndDocument();
            BeginDocument();
        };
        PrintTime(name + size + " load", Median(runs, [&] { Load(file); }, fresh), runs);
        PrintValue(name + size + " load, reads per load", ReadsPerLoad([&] { Load(file); }, fresh), "");
        PrintTime(name + size + " load, written just now", Median(runs, [&] { Load(file); }, [&] {
            fresh();
            DateLastWrite(file.c_str(), 0);
        }), runs);
        EndDocument();
    }
    DestroyWindow(benchPane);
    return 0;
}
