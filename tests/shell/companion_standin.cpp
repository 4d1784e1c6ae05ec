// A stand-in for the companion programs, copied by the tests under their names
// (Z!TOVRL.EXE, Z!KORVAN.EXE, Z!3DEST.EXE) into the test's program directory. It appends
// its command line to STANDIN.LOG beside itself, then keeps a hidden top-level window
// that logs every "UPDATE SPREADSHEET" it receives, until it is closed (WM_CLOSE to the
// window of class "VelmoraCompanionStandIn") or a minute has passed. Told to, it ends
// as the furniture editor does (see companion_standins.h).
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <string>
#include "support/companion_standins.h"

namespace {

const char* const kClassName = "VelmoraCompanionStandIn";
std::string directory;
std::string logPath;
UINT updateMessage = 0;

void Log(const std::string& line)
{
    if (FILE* file = std::fopen(logPath.c_str(), "ab")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0 && message == updateMessage) {
        Log("UPDATE SPREADSHEET");
        return 0;
    }
    switch (message) {
    case vtest::kStandInReply: {
        // The editor's own answer is copied over the exchange file before it says it ends.
        char reply[32];
        std::snprintf(reply, sizeof reply, "\\REPLY%d.TMP", static_cast<int>(wParam));
        CopyFileA((directory + reply).c_str(), (directory + "\\Z!TOVRL.TMP").c_str(), FALSE);
        const char* end = lParam ? "WORKBENCH CLOSING" : "WORKBENCH CLOSING WITH NO UPDATE";
        for (LPARAM sent = 0; sent < (lParam ? lParam : 1); ++sent)
            SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA(end), 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
        Log("REPLIED");
        return 0;
    }
    case WM_TIMER:
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    char module[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, module, sizeof module);
    // Its folder by its short form, which names that very folder whatever its name holds
    // (the ANSI name of "Ωx" would be "Ox").
    wchar_t wide[MAX_PATH] = {0}, shortForm[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, wide, MAX_PATH);
    *wcsrchr(wide, L'\\') = 0;
    GetShortPathNameW(wide, shortForm, MAX_PATH);
    directory.assign(MAX_PATH, '\0');
    directory.resize(WideCharToMultiByte(CP_ACP, 0, shortForm, -1, &directory[0], MAX_PATH, nullptr, nullptr) - 1);
    logPath = directory + "\\STANDIN.LOG";
    updateMessage = RegisterWindowMessageA("UPDATE SPREADSHEET");

    WNDCLASSA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = StandInProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    // Broadcasts reach top-level windows, hidden ones included.
    HWND window = CreateWindowExA(0, kClassName, module, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  instance, nullptr);
    SetTimer(window, 1, 60000, nullptr);
    // Logged once the window is there, so a test that has read this line can broadcast.
    Log(std::string("COMMAND ") + GetCommandLineA());

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
