#include "support/test_support.h"
#include "shell/message_box.h"
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
    return std::fclose(f) == 0 && ok;
}

std::string CurrentDirectory()
{
    char buf[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, buf);
    return std::string(buf, n);
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
    const char* dir = std::getenv("VELMORA_SOURCE_DIR");
    return WindowsPath(dir ? dir : "");
}

std::string SourceFilePath(const std::string& relative)
{
    const char* dir = std::getenv("VELMORA_SOURCE_DIR");
    return dir && *dir ? WindowsPath(std::string(dir) + "/" + relative) : std::string();
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace vtest
