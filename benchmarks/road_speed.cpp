// Speed of the program's start and of its print road, inside one process that links the
// program's code and runs the steps of its start-up and print road in their order:
// - the frame: start-up up to the hidden frame, then its close, against the same windows
//   and tooltip tools made bare (window_replica.h), run after run, and their ratios;
// - the road of <plan><mode byte 2> on generated plans, by phase: frame (start-up up to
//   the frame), load (command 5307), symbol libraries, print dialog (answered with the
//   default printer), page (the redraw into the printer's DC, StartPage to EndPage),
//   spool (EndDoc, which returns once the port has made the PDF), the rest of the print
//   command, close (the quit command and the message loop to its end);
// - the PostScript of each road plan: bytes, texts drawn on the page, bytes per text,
//   fonts made while the page was drawn, and the fonts, glyphs and font settings the
//   PostScript holds.
// The page and spool phases and the counts come from the program's own GDI calls,
// caught in this program's import table.
//
//   road_speed.exe [--runs N] [--no-frame] [--no-road] [--only PLAN]
//   road_speed.exe --describe FILE      the frame's windows, for bare_windows.exe
//   road_speed.exe --write-plans PLAN...
//
// Runs in the program directory (the current directory, with its OBJECTS folder), which
// it uses for its files. One figure a line, times in ms (medians).
#include "bench_support.h"
#include "window_replica.h"
#include "files/symbol_library.h"
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "shell/printing.h"
#include "shell/startup.h"
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------
// The program's GDI calls, caught in the import table of this executable (which holds
// the program's code): the benchmark learns where the page and the spool begin and end
// without a line of the program knowing.

void* PatchImport(const char* dll, const char* name, void* replacement)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), dll))
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk
                                                                                       : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), name))
                continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            void* previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return previous;
        }
    }
    return nullptr;
}

// What one print did, as seen from its GDI calls.
struct PrintTrace {
    double dialog = 0;            // time in the print dialog
    double pageStart = 0, pageEnd = 0;
    double spoolStart = 0, spoolEnd = 0;
    HDC printer = nullptr;        // the DC the page was drawn on
    int texts = 0;                // texts drawn on the page
    int fonts = 0;                // fonts made while the page was drawn
    const char* output = nullptr; // when set, the job goes to this file, not to the port
};
PrintTrace trace;

decltype(&StartDocA) realStartDoc;
decltype(&StartPage) realStartPage;
decltype(&EndPage) realEndPage;
decltype(&EndDoc) realEndDoc;
decltype(&TextOutA) realTextOut;
decltype(&ExtTextOutA) realExtTextOut;
decltype(&CreateFontIndirectA) realCreateFontIndirect;
decltype(&CreateFontA) realCreateFont;

bool InPage()
{
    return trace.pageStart > 0 && trace.pageEnd == 0;
}

int WINAPI TracedStartDoc(HDC dc, const DOCINFOA* info)
{
    if (!trace.output || !info)
        return realStartDoc(dc, info);
    DOCINFOA toFile = *info;
    toFile.lpszOutput = trace.output;
    return realStartDoc(dc, &toFile);
}

int WINAPI TracedStartPage(HDC dc)
{
    if (trace.pageStart == 0) {
        trace.pageStart = Now();
        trace.printer = dc;
    }
    return realStartPage(dc);
}

int WINAPI TracedEndPage(HDC dc)
{
    int result = realEndPage(dc);
    trace.pageEnd = Now();
    return result;
}

int WINAPI TracedEndDoc(HDC dc)
{
    trace.spoolStart = Now();
    int result = realEndDoc(dc);
    trace.spoolEnd = Now();
    return result;
}

BOOL WINAPI TracedTextOut(HDC dc, int x, int y, LPCSTR text, int length)
{
    if (InPage() && dc == trace.printer)
        ++trace.texts;
    return realTextOut(dc, x, y, text, length);
}

BOOL WINAPI TracedExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length,
                             const INT* dx)
{
    if (InPage() && dc == trace.printer)
        ++trace.texts;
    return realExtTextOut(dc, x, y, options, rect, text, length, dx);
}

HFONT WINAPI TracedCreateFontIndirect(const LOGFONTA* font)
{
    if (InPage())
        ++trace.fonts;
    return realCreateFontIndirect(font);
}

HFONT WINAPI TracedCreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                              DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                              DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face)
{
    if (InPage())
        ++trace.fonts;
    return realCreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                          outPrecision, clipPrecision, quality, pitchAndFamily, face);
}

template <typename F>
void Catch(const char* name, F** real, F* traced)
{
    void* previous = PatchImport("gdi32.dll", name, reinterpret_cast<void*>(traced));
    *real = previous ? reinterpret_cast<F*>(previous) : nullptr;
}

void CatchPrinterCalls()
{
    Catch("StartDocA", &realStartDoc, TracedStartDoc);
    Catch("StartPage", &realStartPage, TracedStartPage);
    Catch("EndPage", &realEndPage, TracedEndPage);
    Catch("EndDoc", &realEndDoc, TracedEndDoc);
    Catch("TextOutA", &realTextOut, TracedTextOut);
    Catch("ExtTextOutA", &realExtTextOut, TracedExtTextOut);
    Catch("CreateFontIndirectA", &realCreateFontIndirect, TracedCreateFontIndirect);
    Catch("CreateFontA", &realCreateFont, TracedCreateFont);
}

BOOL WINAPI TimedPrinterDialog(PRINTDLGA* dialog)
{
    double start = Now();
    BOOL chosen = DefaultPrinterDialog(dialog);
    trace.dialog += Now() - start;
    return chosen;
}

// ---------------------------------------------------------------------------------
// The program's start and end, step by step as RunVelmora takes them.

// Start-up up to the hidden frame; null when a step failed. *frameStart, when given,
// gets the time the frame's creation began.
HWND StartProgram(const char* commandLine, double* frameStart = nullptr)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!InitStartupState(instance, commandLine) || !RegisterWindowClasses(instance))
        return nullptr;
    PrepareFrameResources();
    if (frameStart)
        *frameStart = Now();
    return CreateFrameWindow();
}

// The frame commands of the command line's road (those of RunStartupCommands).
void SendFrameCommand(int command)
{
    if (frameWindow)
        SendMessageA(frameWindow, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

// The quit command, then the message loop to its end, as the program ends.
void EndProgram()
{
    SendFrameCommand(FrameCommandQuit);
    if (frameWindow && IsWindow(frameWindow))
        DestroyWindow(frameWindow);
    RunMessageLoop();
}

// Puts the process back as it was before StartProgram, so that the next run starts as
// a new process would (a process ends here instead).
void ForgetProgram()
{
    for (const char* name : windowClassNames)
        UnregisterClassA(name, GetModuleHandleA(nullptr));
}

// ---------------------------------------------------------------------------------
// The frame against the same windows made bare.

void DrainToQuit()
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
}

bool DescribeFrame(ReplicaTree* tree)
{
    std::vector<HWND> before = ThreadTopLevelWindows();
    HWND frame = StartProgram(nullptr);
    if (!frame)
        return false;
    *tree = DescribeWindows(frame, before);
    EndProgram();
    ForgetProgram();
    return true;
}

void MeasureFrame(int runs)
{
    ReplicaTree tree;
    if (!DescribeFrame(&tree)) {
        std::printf("frame: the program's start-up failed\n");
        return;
    }
    std::vector<double> startup, create, destroy, bareCreate, bareDestroy;
    size_t made = 0;
    // Run by run in turn, so that a change in the machine's load touches both alike; the
    // first turn only warms up.
    for (int run = 0; run <= runs; ++run) {
        double t0 = Now(), t1 = 0;
        StartProgram(nullptr, &t1);
        double t2 = Now();
        EndProgram();
        double t3 = Now();
        ForgetProgram();

        double b0 = Now();
        std::vector<HWND> windows = CreateReplica(tree);
        double b1 = Now();
        made = tree.size() - std::count(windows.begin(), windows.end(), nullptr);
        DestroyReplica(tree, windows);
        PostQuitMessage(0);
        DrainToQuit();
        double b2 = Now();
        if (run == 0)
            continue;
        startup.push_back(t1 - t0);
        create.push_back(t2 - t1);
        destroy.push_back(t3 - t2);
        bareCreate.push_back(b1 - b0);
        bareDestroy.push_back(b2 - b1);
    }
    PrintValue("frame windows", static_cast<double>(tree.size()), "windows");
    PrintValue("frame tooltip tools", ReplicaToolCount(tree), "tools");
    PrintValue("bare windows made", static_cast<double>(made), "windows");
    PrintTime("frame start-up before the frame (state, classes, resources)", MedianOf(startup), runs);
    PrintTime("frame creation (CreateFrameWindow)", MedianOf(create), runs);
    PrintTime("frame destruction (quit command, message loop)", MedianOf(destroy), runs);
    PrintTime("bare windows creation", MedianOf(bareCreate), runs);
    PrintTime("bare windows destruction", MedianOf(bareDestroy), runs);
    PrintValue("frame creation / bare windows creation", MedianOf(create) / MedianOf(bareCreate), "x");
    PrintValue("frame destruction / bare windows destruction", MedianOf(destroy) / MedianOf(bareDestroy), "x");
}

// ---------------------------------------------------------------------------------
// The print road.

struct RoadTimes {
    double frame = 0, load = 0, libraries = 0, dialog = 0, page = 0, spool = 0, printRest = 0, close = 0, total = 0;
};

// One road of the plan file with the fit-to-page mode byte, as the program takes it:
// the steps of RunStartupCommands one by one, so that each can be timed.
RoadTimes RunRoad(const std::string& file)
{
    const char* output = trace.output;
    trace = PrintTrace{};
    trace.output = output;
    std::string commandLine = file + '\x02';
    RoadTimes t;
    double t0 = Now();
    StartProgram(commandLine.c_str());
    double t1 = Now();
    SendFrameCommand(FrameCommandStartModeLoad);
    double t2 = Now();
    LoadSymbolLibrary2D();
    LoadSymbolLibrary3D();
    double t3 = Now();
    SendFrameCommand(FrameCommandPrintFitToPage);
    double t4 = Now();
    EndProgram();
    double t5 = Now();
    ForgetProgram();
    t.frame = t1 - t0;
    t.load = t2 - t1;
    t.libraries = t3 - t2;
    t.dialog = trace.dialog;
    t.page = trace.pageEnd - trace.pageStart;
    t.spool = trace.spoolEnd - trace.spoolStart;
    t.printRest = (t4 - t3) - t.dialog - t.page - t.spool;
    t.close = t5 - t4;
    t.total = t5 - t0;
    return t;
}

int CountOccurrences(const std::vector<char>& bytes, const char* key)
{
    const size_t n = std::strlen(key);
    int count = 0;
    for (size_t i = 0; i + n <= bytes.size(); ++i)
        if (!std::memcmp(bytes.data() + i, key, n))
            ++count;
    return count;
}

void MeasureRoad(const std::string& name, int runs)
{
    const std::string file = name + ".ZRO";
    WriteGeneratedPlan(*FindGeneratedPlan(name), file.c_str());
    RunRoad(file);   // warm up: the file in the cache, fonts, the driver
    std::vector<RoadTimes> all;
    for (int run = 0; run < runs; ++run)
        all.push_back(RunRoad(file));
    struct Phase {
        const char* name;
        double RoadTimes::*field;
    } phases[] = {
        {"frame", &RoadTimes::frame},
        {"load (command 5307)", &RoadTimes::load},
        {"symbol libraries", &RoadTimes::libraries},
        {"print dialog (default printer)", &RoadTimes::dialog},
        {"page (StartPage to EndPage)", &RoadTimes::page},
        {"spool (EndDoc, PDF made)", &RoadTimes::spool},
        {"rest of the print command", &RoadTimes::printRest},
        {"close (command 1, message loop)", &RoadTimes::close},
        {"total", &RoadTimes::total},
    };
    for (const Phase& phase : phases) {
        std::vector<double> times;
        for (const RoadTimes& t : all)
            times.push_back(t.*(phase.field));
        PrintTime("road " + name + " " + phase.name, MedianOf(times), runs);
    }

    // Once more with the job written to a file instead of the port: the page's PostScript.
    const char* ps = "road.ps";
    DeleteFileA(ps);
    trace.output = ps;
    RunRoad(file);
    trace.output = nullptr;
    std::vector<char> bytes = RawRead(ps);
    PrintValue("road " + name + " PostScript", static_cast<double>(bytes.size()), "bytes");
    PrintValue("road " + name + " texts on the page", trace.texts, "texts");
    if (trace.texts > 0)
        PrintValue("road " + name + " PostScript per text", static_cast<double>(bytes.size()) / trace.texts,
                   "bytes");
    PrintValue("road " + name + " fonts made while drawing the page", trace.fonts, "fonts");
    // Wine's PostScript driver defines a font once (definefont), sends each glyph once
    // (%%glyph, found through findfont) and sets the font again (findfont ... setfont)
    // for every text drawn with a newly selected font.
    PrintValue("road " + name + " PostScript font definitions", CountOccurrences(bytes, "definefont"), "definefont");
    PrintValue("road " + name + " PostScript glyphs sent", CountOccurrences(bytes, "%%glyph"), "glyphs");
    PrintValue("road " + name + " PostScript font settings", CountOccurrences(bytes, "setfont"), "setfont");
    PrintValue("road " + name + " PostScript findfont", CountOccurrences(bytes, "findfont"), "findfont");
    DeleteFileA(ps);
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 0;
    bool frame = true, road = true;
    std::string only, describe;
    std::vector<std::string> plansToWrite;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--no-frame"))
            frame = false;
        else if (!std::strcmp(argv[i], "--no-road"))
            road = false;
        else if (!std::strcmp(argv[i], "--only") && i + 1 < argc)
            only = argv[++i];
        else if (!std::strcmp(argv[i], "--describe") && i + 1 < argc)
            describe = argv[++i];
        else if (!std::strcmp(argv[i], "--write-plans"))
            while (i + 1 < argc && argv[i + 1][0] != '-')
                plansToWrite.push_back(argv[++i]);
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);

    if (!plansToWrite.empty()) {
        for (const std::string& name : plansToWrite) {
            const GeneratedPlan* plan = FindGeneratedPlan(name);
            if (!plan || (WriteGeneratedPlan(*plan, (name + ".ZRO").c_str()), FileLength((name + ".ZRO").c_str()) <= 0)) {
                std::printf("%s: cannot write this plan\n", name.c_str());
                return 1;
            }
        }
        return 0;
    }
    if (!describe.empty()) {
        ReplicaTree tree;
        if (!DescribeFrame(&tree) || !WriteReplicaTree(tree, describe.c_str())) {
            std::printf("cannot describe the frame's windows into %s\n", describe.c_str());
            return 1;
        }
        return 0;
    }

    CatchPrinterCalls();
    SetPrintDialogFunction(TimedPrinterDialog);
    if (frame)
        MeasureFrame(runs > 0 ? runs : 7);
    if (road) {
        struct RoadPlan {
            const char* name;
            int runs;
        } plans[] = {{"dimlines-1000", 5}, {"dimlines-10000", 3}, {"walls-10000", 3}};
        for (const RoadPlan& plan : plans)
            if (only.empty() || only == plan.name)
                MeasureRoad(plan.name, runs > 0 ? runs : plan.runs);
    }
    return 0;
}
