#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/printing.h"
#include "shell/startup.h"
#include "files/ansi_names.h"
#include "support/test_support.h"
#include "support_shell.h"
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

class StartupState : public testing::Test {
protected:
    void TearDown() override { shelltest::UnregisterShellClasses(); }
};

TEST_F(StartupState, WithoutCommandLineNothingIsToBePrinted)
{
    ASSERT_TRUE(InitStartupState(Instance(), nullptr));
    EXPECT_EQ(Instance(), hInstance);
    EXPECT_STREQ("", commandLineBuffer);
    EXPECT_EQ(0, startMode);
    EXPECT_STREQ("Fandril Print Manager", applicationTitle);
    EXPECT_STREQ("\\Z!PREFS.INI", preferencesFileName);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), screenWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), screenHeight);
}

TEST_F(StartupState, ProgramDirectoryIsTheCurrentDirectory)
{
    ASSERT_TRUE(InitStartupState(Instance(), nullptr));
    ASSERT_NE(nullptr, programDirectory);
    EXPECT_EQ(vtest::CurrentDirectory(), std::string(programDirectory));
    EXPECT_NE('\\', programDirectory[std::strlen(programDirectory) - 1]);
}

TEST_F(StartupState, DriveRootLosesItsBackslash)
{
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    ASSERT_TRUE(InitStartupState(Instance(), nullptr));
    ASSERT_NE(nullptr, programDirectory);
    EXPECT_STREQ("C:", programDirectory);
    // Every name is appended with its own backslash.
    EXPECT_EQ("C:\\Z!PREFS.INI", std::string(programDirectory) + preferencesFileName);
    char help[HelpFilePathSize] = "";
    BuildHelpFilePath(help);
    EXPECT_STREQ("C:\\Z!ProQW.HLP", help);
}

TEST_F(StartupState, LastByteIsTheModeAndIsCutOff)
{
    ASSERT_TRUE(InitStartupState(Instance(), "Z:\\plans\\house.ZRO\x02"));
    EXPECT_STREQ("Z:\\plans\\house.ZRO", commandLineBuffer);
    EXPECT_EQ(2, startMode);

    ASSERT_TRUE(InitStartupState(Instance(), "house.ZRO\x03"));
    EXPECT_STREQ("house.ZRO", commandLineBuffer);
    EXPECT_EQ(3, startMode);
}

TEST_F(StartupState, LoneModeByteLeavesAnEmptyName)
{
    ASSERT_TRUE(InitStartupState(Instance(), "\x02"));
    EXPECT_STREQ("", commandLineBuffer);
    EXPECT_EQ(2, startMode);
}

TEST_F(StartupState, DigitTwoIsNotModeTwo)
{
    ASSERT_TRUE(InitStartupState(Instance(), "plan2"));
    EXPECT_STREQ("plan", commandLineBuffer);
    EXPECT_EQ(0x32, startMode);
}

TEST_F(StartupState, QuotesStayPartOfTheName)
{
    ASSERT_TRUE(InitStartupState(Instance(), "\"C:\\my plans\\a.ZRO\""));
    EXPECT_STREQ("\"C:\\my plans\\a.ZRO", commandLineBuffer);
    EXPECT_EQ('"', startMode);
}

// A plan to print whose name the code page cannot hold, with no short form that leads
// back to it, is refused, shown with "?" for what the code page lacks; a name that is not
// printed is only kept.
TEST_F(StartupState, NameOutsideTheCodePageWithoutShortFormIsRefused)
{
    vtest::MessageBoxRecorder boxes;
    EXPECT_FALSE(InitStartupState(Instance(), L"\u03A92.ZRO\x02"));
    ASSERT_EQ(1u, boxes.Count());
    char text[512];
    std::snprintf(text, sizeof text, unusablePlanNameMessages[AnsiNameOutsideCodePage], "?2.ZRO");
    EXPECT_EQ(text, boxes.Last().text);
    EXPECT_STREQ("", commandLineBuffer);
    EXPECT_EQ(0, startMode);
    ASSERT_TRUE(InitStartupState(Instance(), L"\u03A92.ZRO"));
    EXPECT_STREQ("?2.ZR", commandLineBuffer);
}

// Makes a file, its name as its text, or, for a name ending in "\", a folder; the text of
// the file a name opens.
void Make(const std::wstring& name)
{
    const std::filesystem::path path(name);
    name.back() == L'\\' ? (void)std::filesystem::create_directory(path) : (void)(std::ofstream(path) << path.u8string());
}
std::string Text(const std::string& path)
{
    std::vector<unsigned char> bytes = vtest::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// A name reaches exactly its file or folder, or is refused with the fault's message: Wine's
// short forms of names outside the code page collide ("____~02O.ZRO", "____~0QA"), and an
// open takes the first entry that answers; a trailing dot or blank is dropped by the system.
TEST_F(StartupState, EachNameReachesItsOwnFileOrIsRefused)
{
    const std::wstring house = L"\u03A9\u03A9\u03A9\u03A9\u0437\u0435\u0444\u0439\u0431.ZRO", literal = L"____~02O.ZRO";
    const std::wstring other = L"\u03A9\u03A9\u03A9\u03A9\u0441\u0432\u0430\u043B\u0437.ZRO";
    const std::wstring folder = L"\u03A9\u03A9\u03A9\u03A9\u0439\u0444\u0432\u0434\u0431\\";
    const std::wstring neighbour = L"\u03A9\u03A9\u03A9\u03A9\u0446\u0432\u0442\u0439\u0432\\";
    const struct { std::vector<std::wstring> made; std::wstring folder, plan; int fault; } rows[] = {
        {{house}, L"", house, -1}, {{house, other}, L"", house, AnsiNameSharedShortForm},
        {{house, other}, L"", other, AnsiNameSharedShortForm}, {{literal, house}, L"", house, AnsiNameSharedShortForm},
        {{literal, house}, L"", literal, -1}, {{house, other}, L"", literal, AnsiNameSharedShortForm},
        {{L"h.ZRO", L"h.ZRO."}, L"", L"h.ZRO.", AnsiNameDroppedEnd}, {{L"x\\", L"x\\h.ZRO"}, L"", L"x.\\h.ZRO", AnsiNameDroppedEnd},
        {{folder, folder + house}, folder, house, -1},
        {{folder, neighbour, folder + house}, folder, house, AnsiNameSharedShortForm},
        {{folder, neighbour, folder + house}, L"", folder + house, AnsiNameFaultCount}};
    const std::string home = vtest::CurrentDirectory();
    for (const auto& row : rows) {
        const std::string case_ = home + "\\" + std::to_string(&row - rows);
        SCOPED_TRACE(case_);
        std::filesystem::remove_all(WidenName(case_));   // an earlier run's, whose names would alias
        ASSERT_TRUE(CreateDirectoryA(case_.c_str(), nullptr) && SetCurrentDirectoryA(case_.c_str()));
        for (const std::wstring& name : row.made)
            Make(name);
        SetCurrentDirectoryW(row.folder.empty() ? L"." : row.folder.c_str());
        vtest::MessageBoxRecorder boxes;
        const bool taken = InitStartupState(Instance(), (row.plan + L"\x02").c_str());
        const std::string reached = Text(commandLineBuffer);
        SetCurrentDirectoryA(home.c_str());
        EXPECT_EQ(row.fault < 0, taken);
        if (row.fault < 0) {
            EXPECT_EQ(std::filesystem::path(row.folder + row.plan).u8string(), reached);
            continue;
        }
        // The folder by the whole current directory, the plan as given.
        // A plan in a folder at fault by the folder's whole path.
        char text[1024];
        const bool inFolder = row.fault == AnsiNameFaultCount;
        std::snprintf(text, sizeof text,
                      inFolder ? sharedPlanFolderMessage
                               : (row.folder.empty() ? unusablePlanNameMessages : unusableProgramFolderMessages)[row.fault],
                      NarrowMarked(row.folder.empty() && !inFolder ? row.plan : WidenName(case_) + L"\\" + folder.substr(0, 9)).c_str());
        EXPECT_TRUE(boxes.Count() == 1 && boxes.Last().text == text) << (boxes.Count() ? boxes.Last().text : "");
    }
}

// A hundred plans named in Cyrillic in one folder, the ordinary case: each reaches its own
// file, or is refused where another's short form is its own; none reaches another's.
TEST_F(StartupState, AFolderOfCyrillicPlansReachesEachOrRefusesIt)
{
    std::vector<std::wstring> names;
    std::map<std::wstring, int> sharing;   // the plans of each short form
    for (int i = 1; i <= 100; ++i)
        Make(names.emplace_back(L"\u041F\u043B\u0430\u043D \u0434\u043E\u043C\u0430 " + std::to_wstring(i) + L".ZRO"));
    for (int pass = 0; pass < 2; ++pass)
        for (const std::wstring& name : names) {
            wchar_t shortForm[MAX_PATH] = L"";
            GetShortPathNameW(name.c_str(), shortForm, MAX_PATH);
            vtest::MessageBoxRecorder boxes;
            const bool own = pass == 1 && sharing[shortForm] == 1;
            sharing[shortForm] += pass == 0;
            if (pass == 1 && own != InitStartupState(Instance(), (name + L"\x02").c_str())) {
                ADD_FAILURE() << NarrowMarked(name) << (own ? " refused" : " taken");
            } else if (own) {
                EXPECT_EQ(std::filesystem::path(name).u8string(), Text(commandLineBuffer));
            }
        }
}

TEST_F(StartupState, ModeByteIsSignExtended)
{
    ASSERT_TRUE(InitStartupState(Instance(), "plan\xE9"));
    EXPECT_EQ(-23, startMode);
}

TEST_F(StartupState, LongestLineThatFitsIsTakenWhole)
{
    std::string line(510, 'a');
    line += '\x02';
    vtest::MessageBoxRecorder boxes;
    ASSERT_TRUE(InitStartupState(Instance(), line.c_str()));
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ(std::string(510, 'a'), std::string(commandLineBuffer));
    EXPECT_EQ(2, startMode);
}

TEST_F(StartupState, TooLongLineIsRefusedWithAMessage)
{
    // A previous start leaves a name behind; the refused line must not mix with it.
    ASSERT_TRUE(InitStartupState(Instance(), "old.ZRO\x02"));
    std::string line(600, 'b');
    line += '\x02';
    vtest::MessageBoxRecorder boxes;
    EXPECT_FALSE(InitStartupState(Instance(), line.c_str()));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(commandLineTooLongMessage, boxes.Last().text);
    EXPECT_EQ("Fandril Print Manager", boxes.Last().caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP | MB_TASKMODAL), boxes.Last().flags);
    EXPECT_STREQ("", commandLineBuffer);
    EXPECT_EQ(0, startMode);
    // 512 bytes, one more than fits, is refused too.
    EXPECT_FALSE(InitStartupState(Instance(), std::string(512, 'c').c_str()));
    EXPECT_EQ(2u, boxes.Count());
}

TEST_F(StartupState, RefusedLineEndsTheProgramBeforeAnyWindow)
{
    std::wstring line(700, L'd');
    vtest::MessageBoxRecorder boxes;
    EXPECT_EQ(StartupFailedExitCode, RunVelmora(Instance(), nullptr, line.c_str(), SW_SHOW));
    EXPECT_EQ(1u, boxes.Count());
    WNDCLASSA wc;
    EXPECT_FALSE(GetClassInfoA(Instance(), "FrameClass", &wc));
}

TEST_F(StartupState, HelpPathWithoutProgramDirectoryIsAppended)
{
    char* saved = programDirectory;
    programDirectory = nullptr;
    char help[HelpFilePathSize] = "X:";
    BuildHelpFilePath(help);
    programDirectory = saved;
    EXPECT_STREQ("X:\\Z!ProQW.HLP", help);
}

TEST_F(StartupState, CustomColoursAndPrintDefaults)
{
    InitCustomColours();
    EXPECT_EQ(RGB(249, 242, 211), customColours[0]);
    EXPECT_EQ(RGB(137, 193, 68), customColours[5]);
    EXPECT_EQ(RGB(255, 255, 255), customColours[9]);
    EXPECT_EQ(RGB(255, 211, 192), customColours[15]);

    InitPrintDefaults();
    EXPECT_EQ(sizeof(PRINTDLGA), printDialog.lStructSize);
    EXPECT_EQ(276u, printDialog.Flags);
    EXPECT_EQ(1, printDialog.nFromPage);
    EXPECT_EQ(1, printDialog.nToPage);
    EXPECT_EQ(1, printDialog.nMinPage);
    EXPECT_EQ(1, printDialog.nMaxPage);
    EXPECT_EQ(1, printDialog.nCopies);
    EXPECT_EQ(nullptr, printDialog.hwndOwner);
    EXPECT_EQ(nullptr, printDialog.hDevMode);
}

TEST_F(StartupState, ClassesAreRegisteredInOrderWithTheirStyles)
{
    ASSERT_TRUE(InitStartupState(Instance(), nullptr));
    ASSERT_TRUE(RegisterWindowClasses(Instance()));

    struct Expected { const char* name; UINT styles; int extra; };
    const UINT hv = CS_HREDRAW | CS_VREDRAW;
    const Expected expected[WindowClassCount] = {
        {"FrameClass", hv, 0},
        {"DocumentClass", hv, 1},
        {"MainClass", hv | CS_DBLCLKS | CS_OWNDC | CS_BYTEALIGNWINDOW, 1},
        {"ToolbarClass", hv | CS_OWNDC, 1},
        {"SymbarClass", hv | CS_OWNDC, 1},
        {"SymEntryClass", CS_DBLCLKS, 1},
        {"MiscClass", hv | CS_OWNDC, 1},
        {"ToolClass", CS_DBLCLKS, 1},
        {"ToolPaneClass", CS_DBLCLKS, 1},
        {"ToolTabClass", CS_DBLCLKS, 1},
        {"RenderClass", hv | CS_DBLCLKS | CS_OWNDC | CS_SAVEBITS | CS_BYTEALIGNWINDOW, 1},
        {"SelvithClass", hv | CS_OWNDC | CS_SAVEBITS | CS_BYTEALIGNWINDOW, 1},
        {"StatusBarClass", hv | CS_OWNDC, 1},
        {"PopListClass", hv | CS_OWNDC, 1},
        {"PopEntryClass", CS_DBLCLKS, 1},
        {"ElevationPaneClass", hv | CS_OWNDC | CS_SAVEBITS, 1},
        {"ElevationArrowClass", hv | CS_OWNDC, 1},
    };
    for (int i = 0; i < WindowClassCount; ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_STREQ(expected[i].name, windowClassNames[i]);
        WNDCLASSA wc;
        ASSERT_TRUE(GetClassInfoA(Instance(), expected[i].name, &wc));
        EXPECT_EQ(expected[i].styles, wc.style);
        // A pointer must fit whole in the window data of a 64-bit build.
        EXPECT_EQ(expected[i].extra ? static_cast<int>(sizeof(LONG_PTR)) : 0, wc.cbWndExtra);
        EXPECT_EQ(0, wc.cbClsExtra);
        EXPECT_NE(nullptr, wc.hbrBackground);
        EXPECT_NE(nullptr, wc.hCursor);
        EXPECT_EQ(nullptr, wc.lpszMenuName);
    }
    WNDCLASSA pane;
    ASSERT_TRUE(GetClassInfoA(Instance(), "ElevationPaneClass", &pane));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_SIZENS), pane.hCursor);

    // The default fonts of the font dialogs are set on the way.
    EXPECT_EQ(-16, dimensionLogFont.lfHeight);
    EXPECT_EQ(-28, textLogFont.lfHeight);
    EXPECT_EQ(1, textLogFont.lfItalic);
    EXPECT_EQ(0, textLogFont.lfWeight);
    EXPECT_EQ(0x34, dimensionLogFont.lfPitchAndFamily);
    EXPECT_STREQ("Arial", dimensionLogFont.lfFaceName);
    // And the help file path.
    EXPECT_EQ(std::string(programDirectory) + "\\Z!ProQW.HLP", std::string(helpFilePath));
}

TEST_F(StartupState, RegistrationStopsAtTheFirstFailure)
{
    ASSERT_TRUE(InitStartupState(Instance(), nullptr));
    WNDCLASSA taken;
    std::memset(&taken, 0, sizeof taken);
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = Instance();
    taken.lpszClassName = "ToolbarClass";
    ASSERT_TRUE(RegisterClassA(&taken));

    EXPECT_FALSE(RegisterWindowClasses(Instance()));
    WNDCLASSA wc;
    EXPECT_TRUE(GetClassInfoA(Instance(), "MainClass", &wc));
    EXPECT_FALSE(GetClassInfoA(Instance(), "SymbarClass", &wc));
    EXPECT_FALSE(GetClassInfoA(Instance(), "ElevationArrowClass", &wc));
}

TEST_F(StartupState, FailedRegistrationEndsWithExitCodeZero)
{
    WNDCLASSA taken;
    std::memset(&taken, 0, sizeof taken);
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = Instance();
    taken.lpszClassName = "FrameClass";
    ASSERT_TRUE(RegisterClassA(&taken));
    EXPECT_EQ(0, RunVelmora(Instance(), nullptr, L"", SW_SHOW));
    EXPECT_EQ(nullptr, frameWindow);
}


// A frame that cannot be made (the hook refuses it) must end the program instead of
// leaving it in a message loop that nothing would ever end.
HHOOK refuseFrameHook = nullptr;

LRESULT CALLBACK RefuseFrame(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDA* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
        const char* name = create->lpcs->lpszClass;
        if (!IS_INTRESOURCE(name) && std::strcmp(name, "FrameClass") == 0)
            return 1;
    }
    return CallNextHookEx(refuseFrameHook, code, wParam, lParam);
}

TEST_F(StartupState, NoFrameEndsTheProgramAtOnce)
{
    refuseFrameHook = SetWindowsHookExA(WH_CBT, RefuseFrame, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, refuseFrameHook);
    DWORD start = GetTickCount();
    int code = RunVelmora(Instance(), nullptr, L"plan.ZRO\x02", SW_SHOW);
    UnhookWindowsHookEx(refuseFrameHook);
    EXPECT_EQ(StartupFailedExitCode, code);
    EXPECT_EQ(nullptr, frameWindow);
    EXPECT_LT(GetTickCount() - start, 5000u);
}

} // namespace
