#include "shell/message_box.h"
#include "files/ansi_names.h"
#include <algorithm>
#include <string>

unsigned long shownMessageBoxCount = 0;
int openMessageBoxCount = 0;

static MessageBoxHook messageBoxHook = nullptr;
static void* messageBoxHookContext = nullptr;
static std::vector<HeldMessageBox>* heldBoxes = nullptr;

void HoldMessageBoxes(std::vector<HeldMessageBox>* held)
{
    heldBoxes = held;
}

void SetMessageBoxHook(MessageBoxHook hook, void* context)
{
    messageBoxHook = hook;
    messageBoxHookContext = context;
}

// A box is also written, as one line of UTF-8, to the program's standard error when it
// has one: a script that runs the program unattended answers its boxes unseen, and can
// tell from there what they said.
static void LogMessageBox(const std::wstring& text, const char* caption)
{
    HANDLE output = GetStdHandle(STD_ERROR_HANDLE);
    if (!output || output == INVALID_HANDLE_VALUE)
        return;
    std::wstring line = L"velmora box: " + WidenName(caption ? caption : "") + L": " + text;
    for (wchar_t& c : line)
        if (c == L'\r' || c == L'\n')
            c = L' ';
    std::string utf8(line.size() * 3 + 1, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), &utf8[0],
                                    static_cast<int>(utf8.size()), nullptr, nullptr));
    utf8 += '\n';
    DWORD written = 0;
    WriteFile(output, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT flags)
{
    if (heldBoxes && (flags & MB_TYPEMASK) == MB_OK) {
        heldBoxes->push_back({owner, text ? text : "", caption ? caption : "", flags});
        return IDOK;
    }
    ++shownMessageBoxCount;
    if (messageBoxHook)
        return messageBoxHook(owner, text ? text : "", caption ? caption : "", flags, messageBoxHookContext);
    LogMessageBox(WidenName(text ? text : ""), caption);
    ++openMessageBoxCount;
    const int answer = MessageBoxA(owner, text, caption, flags);
    --openMessageBoxCount;
    return answer;
}

int ShowMessageBoxNaming(HWND owner, const char* format, const std::wstring& name, const char* caption, UINT flags)
{
    return ShowMessageBoxNaming(owner, format, std::vector<std::wstring>{name}, caption, flags);
}

int ShowMessageBoxNaming(HWND owner, const char* format, const std::vector<std::wstring>& names, const char* caption,
                         UINT flags)
{
    const std::string text = format ? format : "";
    std::string marked;
    std::wstring wide;
    size_t from = 0;
    for (const std::wstring& name : names) {
        const size_t at = std::min(text.find("%s", from), text.size());
        marked += text.substr(from, at - from) + NarrowMarked(name);
        wide += WidenName(text.substr(from, at - from)) + name;
        from = std::min(at + 2, text.size());
    }
    marked += text.substr(from);
    wide += WidenName(text.substr(from));
    if (messageBoxHook)
        return ShowMessageBox(owner, marked.c_str(), caption, flags);
    ++shownMessageBoxCount;
    LogMessageBox(wide, caption);
    ++openMessageBoxCount;
    const int answer = MessageBoxW(owner, wide.c_str(), WidenName(caption ? caption : "").c_str(), flags);
    --openMessageBoxCount;
    return answer;
}
