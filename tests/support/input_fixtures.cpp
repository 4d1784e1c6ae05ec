#include "support/input_fixtures.h"
#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <thread>
#include "shell/app_globals.h"
#include "tools/tool_framework.h"

namespace vtest {

namespace {
class KeysUpInput : public InputSource {
public:
    SHORT KeyState(int) override { return 0; }
};
} // namespace

InputSource* DefaultTestInput()
{
    static KeysUpInput keysUp;
    return std::getenv("VELMORA_REAL_INPUT") ? nullptr : &keysUp;
}

namespace {

void SendMouse(const POINT& screen, DWORD flags)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65535 / (width - 1);
    input.mi.dy = screen.y * 65535 / (height - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    SendInput(1, &input, sizeof(INPUT));
}

void SendKey(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(INPUT));
}

// Handles what is queued as the program's loop does, then waits 5 ms.
void HandleQueued()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        // Wine's asynchronous key state follows real input up to 50 ms late: a drag
        // loop that polls at once after the press would see the button up.
        if (message.message == WM_LBUTTONDOWN)
            Sleep(60);
        if (!TranslateAcceleratorA(frameWindow, frameAccelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    Sleep(5);
}

std::atomic<bool> pressTaken(false);
ReceivedInput* receiving = nullptr;

} // namespace

void PlayInput(const std::vector<InputStep>& steps)
{
    std::atomic<bool> done(false);
    // A loaded machine may take the press late: the moves wait until the drag loop runs,
    // so that they are not over before it starts polling.
    pressTaken = false;
    auto previousTap = toolEventTap;
    toolEventTap = [](int32_t, int32_t, float, float, float, int16_t event, int16_t) {
        if (event == 1)
            pressTaken = true;
    };
    std::thread driver([&]() {
        Sleep(100);
        for (const InputStep& step : steps) {
            if (step.modifier)
                SendKey(step.modifier, false);
            if (step.key) {
                SendKey(step.key, false);
                SendKey(step.key, true);
            } else {
                SendMouse(step.screen, step.buttonFlags);
            }
            if (step.modifier)
                SendKey(step.modifier, true);
            for (int wait = 0; step.untilPressed && !pressTaken && wait < 500; ++wait)
                Sleep(10);
            Sleep(45);
        }
        Sleep(150);
        done = true;
    });
    while (!done)
        HandleQueued();
    driver.join();
    toolEventTap = previousTap;
    // On a loaded machine the last keys may arrive late.
    for (int i = 0; i < 60; ++i)
        HandleQueued();
}

void ClickAt(POINT screen)
{
    std::atomic<bool> done(false);
    std::thread driver([&]() {
        for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
            SendMouse(screen, flags);
            Sleep(50);
        }
        done = true;
    });
    while (!done)
        HandleQueued();
    driver.join();
    for (int i = 0; i < 12; ++i)
        HandleQueued();
}

Hand::Hand(const std::string& commands)
{
    // Wine starts a Unix program with no handle to it: the shell writes xdotool's exit
    // status into a file of this prefix, which is waited for.
    char folder[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "xdo", 0, mark))
        return;
    typedef char*(CDECL * UnixNameOf)(LPCWSTR);
    auto unixNameOf = reinterpret_cast<UnixNameOf>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name"));
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, mark, -1, wide, MAX_PATH);
    char* unixMark = unixNameOf ? unixNameOf(wide) : nullptr;
    if (!unixMark)
        return;
    // The Unix name is UTF-8 and goes by a wide command line: read in the code page, a
    // folder named outside it (the build folder's) would reach the shell garbled.
    std::string narrow = "sh -c \"/usr/bin/xdotool " + commands + "; echo $? >'" + unixMark + "'\"";
    HeapFree(GetProcessHeap(), 0, unixMark);
    std::wstring line(narrow.size() + 1, L'\0');
    line.resize(MultiByteToWideChar(CP_UTF8, 0, narrow.c_str(), -1, &line[0], static_cast<int>(line.size())));
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    started = !line.empty() &&
              CreateProcessW(L"Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    if (process.hProcess)
        CloseHandle(process.hProcess);
    if (process.hThread)
        CloseHandle(process.hThread);
}

Hand::~Hand()
{
    for (const DWORD start = GetTickCount(); started && !Ended() && GetTickCount() - start < 60000;)
        Sleep(10);
    if (mark[0])
        DeleteFileA(mark);
}

static bool ReadStatus(const char* mark, char* status, DWORD size)
{
    HANDLE file = CreateFileA(mark, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    DWORD read = 0;
    const bool whole = file != INVALID_HANDLE_VALUE && ReadFile(file, status, size - 1, &read, nullptr) && read > 0 &&
                       status[read - 1] == '\n';
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return whole;
}

bool Hand::Ended() const
{
    char status[8] = {};
    return !started || ReadStatus(mark, status, sizeof status);
}

bool Hand::Succeeded() const
{
    char status[8] = {};
    return started && ReadStatus(mark, status, sizeof status) && status[0] == '0';
}

bool Hand::Wait(DWORD settle)
{
    for (const DWORD start = GetTickCount(); !Ended() && GetTickCount() - start < 60000;)
        HandleQueued();
    for (const DWORD start = GetTickCount(); GetTickCount() - start < settle;)
        HandleQueued();
    return Succeeded();
}

bool UserHand(const std::string& commands, DWORD settle)
{
    Hand hand(commands);
    return hand.Wait(settle);
}

int ClickUntilReceived(const std::function<void()>& raise, const std::function<void()>& click)
{
    ReceivedInput taken(WM_LBUTTONDOWN);
    for (int attempt = 0; attempt < 5 && taken.Count() == 0; ++attempt) {
        raise();
        if (taken.Count() > 0)
            break;
        click();
        // On a loaded machine real input can take well over a second to come through.
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 2000 && taken.Count() == 0;)
            HandleQueued();
    }
    return taken.Count();
}

ReceivedInput::ReceivedInput(UINT message, std::initializer_list<WPARAM> keys) : message(message), keys(keys)
{
    receiving = this;
    hook = SetWindowsHookExA(WH_GETMESSAGE, Taken, nullptr, GetCurrentThreadId());
}

ReceivedInput::~ReceivedInput()
{
    if (hook)
        UnhookWindowsHookEx(hook);
    receiving = nullptr;
}

LRESULT CALLBACK ReceivedInput::Taken(int code, WPARAM removal, LPARAM message)
{
    const MSG* taken = reinterpret_cast<const MSG*>(message);
    ReceivedInput* self = receiving;
    if (code == HC_ACTION && removal == PM_REMOVE && self && taken->message == self->message &&
        (self->keys.empty() || std::find(self->keys.begin(), self->keys.end(), taken->wParam) != self->keys.end()))
        ++self->count;
    return CallNextHookEx(nullptr, code, removal, message);
}

} // namespace vtest
