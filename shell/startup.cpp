#include "shell/startup.h"
#include "files/ansi_names.h"
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "shell/elevation_pane.h"
#include "shell/frame_window.h"
#include "shell/measurement_bar.h"
#include "shell/message_box.h"
#include "shell/printing.h"
#include "shell/status_bar.h"
#include "shell/tool_bar.h"
#include "model/plan_document.h"
#include "files/symbol_library.h"
#include "planview/plan_pane.h"
#include "palette/symbol_bar.h"
#include "palette/tool_tab_window.h"
#include "palette/tool_windows.h"
#include "palette/variant_list.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include "files/kept_paths.h"
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

const char* const commandLineTooLongMessage =
    "La riga di comando è troppo lunga (più di 511 caratteri): il programma viene chiuso.";
// By the fault (AnsiNameFault order).
const char* const unusableProgramFolderMessages[AnsiNameFaultCount] = {
    "Il nome della cartella del programma contiene caratteri che Velmora non può usare:\n%s\n\n"
    "Spostare il programma in una cartella con un altro nome. Il programma viene chiuso.",
    "Il nome della cartella del programma contiene caratteri che Velmora non può usare, e il nome breve "
    "che li sostituisce è anche quello di un'altra cartella o di un altro file accanto:\n%s\n\n"
    "Spostare il programma in una cartella con un altro nome. Il programma viene chiuso.",
    "Il percorso della cartella del programma contiene un nome che termina con un punto o uno spazio, "
    "che Windows toglie:\n%s\n\nSpostare il programma in una cartella con un altro nome. "
    "Il programma viene chiuso.",
};
const char* const unusablePlanNameMessages[AnsiNameFaultCount] = {
    "Il nome del file di disegno contiene caratteri che Velmora non può usare:\n%s\n\n"
    "Rinominare il file o spostarlo in una cartella con un altro nome. Il programma viene chiuso.",
    "Il nome del file di disegno contiene caratteri che Velmora non può usare, e il nome breve "
    "che li sostituisce è anche quello di un altro file o di un'altra cartella accanto:\n%s\n\n"
    "Rinominare il file o spostarlo in una cartella con un altro nome. Il programma viene chiuso.",
    "Il percorso del file di disegno contiene un nome che termina con un punto o uno spazio, "
    "che Windows toglie, così che porterebbe a un altro file:\n%s\n\n"
    "Rinominare il file o la cartella. Il programma viene chiuso.",
};
const char* const sharedPlanFolderMessage =
    "Il nome di una cartella del percorso del disegno contiene caratteri che Velmora non può usare, e il nome "
    "breve che li sostituisce è anche quello di un'altra cartella o di un altro file accanto. La cartella è:"
    "\n%s\n\nRinominare la cartella o spostare il disegno in un'altra. Il programma viene chiuso.";
// The plan's name as given, and the form taken of it into commandLineBuffer.
static std::wstring givenPlanName;
static std::string takenPlanName;

std::wstring CommandLinePlanName()
{
    return takenPlanName == commandLineBuffer ? givenPlanName : std::wstring();
}

static const char* const helpFileName = "\\Z!ProQW.HLP";

static void RefuseName(const char* message, const std::wstring& name)
{
    ShowMessageBoxNaming(nullptr, message, name, applicationTitle, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

// False, the user told, when the folder has no name the program can open its files by.
static bool TakeProgramDirectory()
{
    std::free(programDirectory);
    programDirectory = nullptr;
    std::free(programLongDirectory);
    programLongDirectory = nullptr;
    KeepMeantPath(&programDirectory, nullptr, std::wstring(), true);
    std::wstring wide(GetCurrentDirectoryW(0, nullptr), L'\0');
    if (wide.empty())
        return true;
    DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(wide.size()), &wide[0]);
    if (length == 0 || length >= wide.size())
        return true;
    wide.resize(length);
    std::string narrow;
    AnsiNameFault fault;
    if (!AnsiPathOf(wide, narrow, &fault)) {
        RefuseName(unusableProgramFolderMessages[fault], wide);
        return false;
    }
    // The current directory becomes that form too: the ANSI functions resolve a relative
    // name from it, and its long form would give the look-alike's path.
    std::string exact;
    if (!NarrowExactly(wide, exact))
        SetCurrentDirectoryA(narrow.c_str());
    // A drive root (D:\) loses its backslash, so that every name can start with one.
    if (!narrow.empty() && narrow.back() == '\\')
        narrow.pop_back();
    programDirectory = static_cast<char*>(std::calloc(narrow.size() + 1, 1));
    if (programDirectory)
        std::memcpy(programDirectory, narrow.c_str(), narrow.size());
    // Its long form, while its short form names it alone: the files opened through it are
    // proven against it (files/kept_paths.h).
    const std::wstring longPath = programDirectory ? LongPathOf(programDirectory) : std::wstring();
    programLongDirectory = static_cast<wchar_t*>(std::calloc(longPath.size() + 1, sizeof(wchar_t)));
    if (programLongDirectory)
        std::copy(longPath.begin(), longPath.end(), programLongDirectory);
    KeepMeantPath(&programDirectory, programLongDirectory ? programDirectory : nullptr, longPath, true);
    return true;
}

const wchar_t* ArgumentsOfCommandLine(const wchar_t* line)
{
    if (!line)
        return nullptr;
    // As the C runtime cuts WinMain's line: the program's name, quoted or up to a blank
    // or control character, then every such character after it.
    bool quoted = false;
    while (*line > L' ' || (*line && quoted)) {
        if (*line == L'"')
            quoted = !quoted;
        ++line;
    }
    while (*line && *line <= L' ')
        ++line;
    return line;
}

bool InitStartupState(HINSTANCE instance, const char* commandLine)
{
    if (!commandLine)
        return InitStartupState(instance, nullptr);
    std::wstring wide(std::strlen(commandLine), L'\0');
    if (!wide.empty())
        wide.resize(MultiByteToWideChar(CP_ACP, 0, commandLine, static_cast<int>(wide.size()), &wide[0],
                                        static_cast<int>(wide.size())));
    return InitStartupState(instance, wide.c_str());
}

// The plan's name and the mode character of the line into commandLineBuffer and
// startMode. A name the print road would open is taken only in a form that opens that
// very file (its short form when the code page cannot hold it); false, the user told,
// when it has none or the name does not fit.
static bool TakeCommandLine(const std::wstring& line)
{
    std::string mode = NarrowMarked(line.substr(line.empty() ? 0 : line.size() - 1));
    startMode = mode.empty() ? 0 : static_cast<signed char>(mode.back());
    const std::wstring name = line.substr(0, line.empty() ? 0 : line.size() - 1);
    std::string narrow = NarrowMarked(name);
    AnsiNameFault fault;
    std::wstring sharedAt;
    if ((startMode == 2 || startMode == 3) && !AnsiPathOf(name, narrow, &fault, &sharedAt)) {
        startMode = 0;
        // A folder's short form is at fault, not the plan's name: the folder is named.
        const DWORD attributes = sharedAt.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(sharedAt.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            RefuseName(sharedPlanFolderMessage, sharedAt);
        else
            RefuseName(unusablePlanNameMessages[fault], name);
        return false;
    }
    // The mode byte is the last byte: a shortened line would lose it, so a line that
    // does not fit is refused whole.
    if (narrow.size() + mode.size() >= CommandLineBufferSize) {
        startMode = 0;
        ShowMessageBox(nullptr, commandLineTooLongMessage, applicationTitle, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
        return false;
    }
    std::memcpy(commandLineBuffer, narrow.c_str(), narrow.size());
    givenPlanName = name;
    takenPlanName = narrow;
    return true;
}

bool InitStartupState(HINSTANCE instance, const wchar_t* commandLine)
{
    hInstance = instance;
    std::memset(commandLineBuffer, 0, sizeof commandLineBuffer);
    startMode = 0;
    std::snprintf(applicationTitle, sizeof applicationTitle, "%s", "Fandril Print Manager");
    std::snprintf(preferencesFileName, sizeof preferencesFileName, "%s", "\\Z!PREFS.INI");
    if (!TakeProgramDirectory())
        return false;

    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES;
    InitCommonControlsEx(&controls);

    if (commandLine && !TakeCommandLine(commandLine))
        return false;

    screenWidth = static_cast<short>(GetSystemMetrics(SM_CXSCREEN));
    screenHeight = static_cast<short>(GetSystemMetrics(SM_CYSCREEN));
    LoadNamedCursors();
    return true;
}

void LoadNamedCursors()
{
    for (int i = 0; i < NamedCursorCount; ++i)
        namedCursors[i] = LoadCursorA(hInstance, namedCursorNames[i]);
}

void BuildHelpFilePath(char* buffer)
{
    if (!buffer)
        return;
    if (programDirectory) {
        std::snprintf(buffer, HelpFilePathSize, "%s%s", programDirectory, helpFileName);
        return;
    }
    size_t used = strnlen(buffer, HelpFilePathSize - 1);
    buffer[used] = 0;
    std::snprintf(buffer + used, HelpFilePathSize - used, "%s", helpFileName);
}

static void SetDefaultLogFont(LOGFONTA& font, LONG height)
{
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfItalic = 1;
    font.lfPitchAndFamily = 0x34;
    std::strcpy(font.lfFaceName, defaultFontFace);
}

const char* const windowClassNames[WindowClassCount] = {
    "FrameClass", "DocumentClass", "MainClass", "ToolbarClass", "SymbarClass", "SymEntryClass",
    "MiscClass", "ToolClass", "ToolPaneClass", "ToolTabClass", "RenderClass", "SelvithClass",
    "StatusBarClass", "PopListClass", "PopEntryClass", "ElevationPaneClass", "ElevationArrowClass",
};

namespace {
enum ClassCursor { ArrowCursor, FingerCursor, FingerDragCursor, SizeNorthSouthCursor };
enum ClassColour { ButtonFace, ButtonShadow, PlanPaper };

struct WindowClassSpec {
    WNDPROC procedure;
    UINT styles;
    ClassCursor cursor;
    ClassColour background;
    bool hasWindowData;
};

// In the order of windowClassNames. Classes with window data keep a pointer or a handle
// there, so each gets room for a whole pointer.
const WindowClassSpec windowClassSpecs[WindowClassCount] = {
    {FrameWndProc, CS_HREDRAW | CS_VREDRAW, ArrowCursor, ButtonFace, false},
    {DocumentWndProc, CS_HREDRAW | CS_VREDRAW, ArrowCursor, ButtonFace, true},
    {PlanWindowProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC | CS_BYTEALIGNWINDOW, ArrowCursor, PlanPaper, true},
    {ToolbarWndProc, CS_HREDRAW | CS_VREDRAW | CS_OWNDC, ArrowCursor, ButtonFace, true},
    {SymbarWndProc, CS_HREDRAW | CS_VREDRAW | CS_OWNDC, ArrowCursor, ButtonFace, true},
    {SymEntryWndProc, CS_DBLCLKS, FingerDragCursor, ButtonFace, true},
    {MiscBarWndProc, CS_HREDRAW | CS_VREDRAW | CS_OWNDC, ArrowCursor, ButtonFace, true},
    {ToolWndProc, CS_DBLCLKS, FingerCursor, ButtonFace, true},
    {ToolPaneWndProc, CS_DBLCLKS, FingerCursor, ButtonFace, true},
    {ToolTabWndProc, CS_DBLCLKS, ArrowCursor, ButtonFace, true},
    {RenderWndProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC | CS_SAVEBITS | CS_BYTEALIGNWINDOW, ArrowCursor, ButtonShadow, true},
    {SelvithWndProc, CS_HREDRAW | CS_VREDRAW | CS_OWNDC | CS_SAVEBITS | CS_BYTEALIGNWINDOW, ArrowCursor, ButtonFace, true},
    {StatusBarWndProc, CS_HREDRAW | CS_VREDRAW | CS_OWNDC, ArrowCursor, ButtonFace, true},
    {PopListWndProc, CS_HREDRAW | CS_VREDRAW | CS_OWNDC, ArrowCursor, ButtonFace, true},
    {PopEntryWndProc, CS_DBLCLKS, FingerCursor, ButtonFace, true},
    {ElevationPaneWndProc, CS_HREDRAW | CS_VREDRAW | CS_OWNDC | CS_SAVEBITS, SizeNorthSouthCursor, ButtonFace, true},
    {ElevationArrowWndProc, CS_HREDRAW | CS_VREDRAW | CS_OWNDC, FingerCursor, ButtonFace, true},
};

HCURSOR ClassCursorHandle(ClassCursor cursor)
{
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    switch (cursor) {
    case FingerCursor:
        return namedCursors[FingerCursorIndex] ? namedCursors[FingerCursorIndex] : arrow;
    case FingerDragCursor:
        return namedCursors[FingerDragCursorIndex] ? namedCursors[FingerDragCursorIndex] : arrow;
    case SizeNorthSouthCursor:
        return LoadCursorA(nullptr, IDC_SIZENS);
    default:
        return arrow;
    }
}

HBRUSH ClassBackground(ClassColour colour)
{
    switch (colour) {
    case ButtonShadow:
        return CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
    case PlanPaper:
        return CreateSolidBrush(RGB(248, 248, 255));
    default:
        return CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    }
}
} // namespace

bool RegisterWindowClasses(HINSTANCE instance)
{
    BuildHelpFilePath(helpFilePath);
    SetDefaultLogFont(dimensionLogFont, -16);
    SetDefaultLogFont(textLogFont, -28);

    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    // The small icon is loaded once for all classes: without it the system would make
    // one from the resource again for every class.
    HICON smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON),
                                                    GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    for (int i = 0; i < WindowClassCount; ++i) {
        const WindowClassSpec& spec = windowClassSpecs[i];
        WNDCLASSEXA wc;
        std::memset(&wc, 0, sizeof wc);
        wc.cbSize = sizeof wc;
        wc.style = spec.styles;
        wc.lpfnWndProc = spec.procedure;
        wc.cbClsExtra = 0;
        wc.cbWndExtra = spec.hasWindowData ? static_cast<int>(sizeof(LONG_PTR)) : 0;
        wc.hInstance = instance;
        wc.hIcon = icon;
        wc.hCursor = ClassCursorHandle(spec.cursor);
        wc.hbrBackground = ClassBackground(spec.background);
        wc.lpszMenuName = nullptr;
        wc.lpszClassName = windowClassNames[i];
        wc.hIconSm = smallIcon;
        if (!RegisterClassExA(&wc)) {
            if (wc.hbrBackground)
                DeleteObject(wc.hbrBackground);
            return false;
        }
    }
    return true;
}

void InitCustomColours()
{
    static const BYTE rgb[16][3] = {
        {249, 242, 211}, {224, 174, 100}, {176, 124, 30}, {244, 188, 151},
        {255, 255, 162}, {137, 193, 68}, {238, 214, 168}, {193, 255, 224},
        {0, 193, 224}, {255, 255, 255}, {199, 155, 112}, {170, 90, 0},
        {87, 174, 162}, {117, 137, 174}, {199, 139, 79}, {255, 211, 192},
    };
    for (int i = 0; i < 16; ++i)
        customColours[i] = RGB(rgb[i][0], rgb[i][1], rgb[i][2]);
}

void PrepareFrameResources()
{
    InitPrintDefaults();
    InitCustomColours();
    frameMenu = LoadMenuA(hInstance, MAKEINTRESOURCEA(128));
    frameAccelerators = LoadAcceleratorsA(hInstance, "MdiAccel");
    closingSpreadsheetMessage = RegisterWindowMessageA("CLOSING SPREADSHEET");
    updateSpreadsheetMessage = RegisterWindowMessageA("UPDATE SPREADSHEET");
}

HWND CreateFrameWindow()
{
    // Created hidden and never shown: the user sees only the print dialog and messages.
    HWND frame = CreateWindowExA(0, "FrameClass", "Velmora",
                                 WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MAXIMIZE,
                                 1, 1, screenWidth - 2, screenHeight - 72, nullptr, frameMenu, hInstance,
                                 nullptr);
    frameWindow = frame;
    return frame;
}

static void SendFrameCommand(int command)
{
    if (frameWindow)
        SendMessageA(frameWindow, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

void RunStartupCommands()
{
    if (commandLineBuffer[0] && (startMode == 2 || startMode == 3)) {
        SendFrameCommand(FrameCommandStartModeLoad);
        // A page without the fixtures' symbols is never printed: a library out of reach
        // has told the user why.
        if (LoadSymbolLibrary2D() && LoadSymbolLibrary3D())
            SendFrameCommand(startMode == 2 ? FrameCommandPrintFitToPage : FrameCommandPrintToScale);
    }
    SendFrameCommand(FrameCommandQuit);
    // The frame is never shown: if a document refused to close, nothing could ever end
    // the program, so the frame goes now.
    if (frameWindow && IsWindow(frameWindow))
        DestroyWindow(frameWindow);
}

int RunMessageLoop()
{
    MSG msg;
    std::memset(&msg, 0, sizeof msg);
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got < 0)
            return StartupFailedExitCode;
        if (mdiClientWindow && TranslateMDISysAccel(mdiClientWindow, &msg))
            continue;
        if (frameWindow && frameAccelerators && TranslateAcceleratorA(frameWindow, frameAccelerators, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int RunVelmora(HINSTANCE instance, HINSTANCE previous, const wchar_t* commandLine, int)
{
    if (!InitStartupState(instance, commandLine))
        return StartupFailedExitCode;
    if (!previous && !RegisterWindowClasses(instance))
        return 0;
    PrepareFrameResources();
    if (!CreateFrameWindow()) {
        // Without the frame nothing would ever post the quit message.
        if (frameMenu) {
            DestroyMenu(frameMenu);
            frameMenu = nullptr;
        }
        return StartupFailedExitCode;
    }
    RunStartupCommands();
    return RunMessageLoop();
}
