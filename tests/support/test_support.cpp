#include "support/test_support.h"
#include "shell/message_box.h"
#include "files/ansi_names.h"
#include "files/whole_reads.h"
#include <io.h>
#include <shellapi.h>
#include <cstdio>
#include <cstdlib>

namespace vtest {

MessageBoxRecorder::MessageBoxRecorder() { SetMessageBoxHook(&MessageBoxRecorder::Hook, this); }
MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHook(nullptr, nullptr); }

int MessageBoxRecorder::Hook(HWND owner, const char* text, const char* caption, UINT flags, void* ctx)
{
    auto* self = static_cast<MessageBoxRecorder*>(ctx);
    self->boxes.push_back(Box{owner, text, caption, flags});
    if (!self->answers.empty()) {
        int a = self->answers.front();
        self->answers.pop_front();
        return a;
    }
    switch (flags & MB_TYPEMASK) {
    case MB_YESNO: case MB_YESNOCANCEL: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDOK;
    }
}

std::vector<unsigned char> ReadFileBytes(const std::string& path)
{
    std::vector<unsigned char> out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    std::fclose(f);
    return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    // The test's own file, which no other program writes: read at once, as the program
    // reads the files it has written itself.
    if (std::fflush(f) == 0)
        RememberFileLeft(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f))));
    return std::fclose(f) == 0 && ok;
}

std::string AnsiPath(std::wstring wide)
{
    if (!wide.empty() && wide[0] == L'/') {
        for (wchar_t& c : wide)
            c = c == L'/' ? L'\\' : c;
        wide = L"Z:" + wide;
    }
    std::string narrow;
    if (AnsiPathOf(wide, narrow) || AnsiPathInFolder(wide, narrow))
        return narrow;
    return NarrowMarked(wide);
}

char** ArgumentsInCodePage(int argc)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    static std::vector<std::string> arguments;
    static std::vector<char*> pointers;
    for (int i = 0; i < count && i < argc; ++i)
        arguments.push_back(AnsiPath(wide[i]));
    for (std::string& argument : arguments)
        pointers.push_back(&argument[0]);
    pointers.push_back(nullptr);
    LocalFree(wide);
    return pointers.data();
}

std::string ProgramFolder()
{
    std::wstring module(MAX_PATH, L'\0');
    module.resize(GetModuleFileNameW(nullptr, &module[0], MAX_PATH));
    return AnsiPath(module.substr(0, module.rfind(L'\\')));
}

std::string CurrentDirectory()
{
    std::wstring directory(GetCurrentDirectoryW(0, nullptr), L'\0');
    directory.resize(GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), &directory[0]));
    return AnsiPath(directory);
}

std::string PathFromEnvironment(const char* name)
{
    const std::wstring variable = WidenName(name);
    std::wstring value(GetEnvironmentVariableW(variable.c_str(), nullptr, 0), L'\0');
    value.resize(GetEnvironmentVariableW(variable.c_str(), &value[0], static_cast<DWORD>(value.size())));
    return value.empty() ? std::string() : AnsiPath(value);
}

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}

std::string SourceDirectory()
{
    return PathFromEnvironment("VELMORA_SOURCE_DIR");
}

std::string SourceFilePath(const std::string& relative)
{
    const std::string folder = SourceDirectory();
    if (folder.empty())
        return folder;
    std::string path = folder + "\\" + relative;
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

DWORD Scaled(DWORD ms)
{
    char text[16] = {};
    const DWORD length = GetEnvironmentVariableA("VELMORA_TEST_TIME_SCALE", text, sizeof text);
    const long percent = length && length < sizeof text ? std::strtol(text, nullptr, 10) : 100;
    return percent > 100 ? DWORD(ms * (percent / 100.0)) : ms;
}

} // namespace vtest
