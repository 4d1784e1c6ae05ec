#include "shell/message_box.h"
#include <string>

unsigned long shownMessageBoxCount = 0;
int openMessageBoxCount = 0;

static MessageBoxHook messageBoxHook = nullptr;
static void* messageBoxHookContext = nullptr;

void SetMessageBoxHook(MessageBoxHook hook, void* context)
{
    messageBoxHook = hook;
    messageBoxHookContext = context;
}

// A box is also written, as one line of UTF-8, to the program's standard error when it
// has one: a script that runs the program unattended answers its boxes unseen, and can
// tell from there what they said.
static void LogMessageBox(const char* text, const char* caption)
{
    HANDLE output = GetStdHandle(STD_ERROR_HANDLE);
    if (!output || output == INVALID_HANDLE_VALUE)
        return;
    std::string line = std::string("velmora box: ") + (caption ? caption : "") + ": " + (text ? text : "");
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    std::wstring wide(line.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    std::string utf8(wide.size() * 3 + 1, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0],
                                    static_cast<int>(utf8.size()), nullptr, nullptr));
    utf8 += '\n';
    DWORD written = 0;
    WriteFile(output, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT flags)
{
    ++shownMessageBoxCount;
    if (messageBoxHook)
        return messageBoxHook(owner, text ? text : "", caption ? caption : "", flags, messageBoxHookContext);
    LogMessageBox(text, caption);
    ++openMessageBoxCount;
    const int answer = MessageBoxA(owner, text, caption, flags);
    --openMessageBoxCount;
    return answer;
}
