#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/printing.h"
#include "shell/startup.h"
#include "support/test_support.h"
#include "support_shell.h"
#include <cstdio>
#include <cstring>
#include <string>

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
    std::snprintf(text, sizeof text, unusablePlanNameMessage, "?2.ZRO");
    EXPECT_EQ(text, boxes.Last().text);
    EXPECT_STREQ("", commandLineBuffer);
    EXPECT_EQ(0, startMode);
    ASSERT_TRUE(InitStartupState(Instance(), L"\u03A92.ZRO"));
    EXPECT_STREQ("?2.ZR", commandLineBuffer);
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
