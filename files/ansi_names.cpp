#include "files/ansi_names.h"
#include <windows.h>

std::wstring WidenName(const std::string& narrow)
{
    std::wstring wide(narrow.size(), L'\0');
    if (!narrow.empty())
        wide.resize(MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), &wide[0],
                                        static_cast<int>(wide.size())));
    return wide;
}

static std::string Narrow(const std::wstring& wide, DWORD flags, BOOL* usedDefault)
{
    if (wide.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, usedDefault);
    std::string narrow(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), &narrow[0], size,
                            nullptr, usedDefault);
    return narrow;
}

bool NarrowExactly(const std::wstring& wide, std::string& narrow)
{
    // A UTF-8 code page holds every name, and takes neither the flag nor the report.
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL usedDefault = FALSE;
    narrow = Narrow(wide, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, utf8 ? nullptr : &usedDefault);
    // The way back catches what the flag lets through (a combining accent).
    return !usedDefault && WidenName(narrow) == wide;
}

std::string NarrowMarked(const std::wstring& wide)
{
    return Narrow(wide, GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, nullptr);
}

// What a path function of the system writes for `call(buffer, size)`, taken again in a
// buffer of the size it asks for; empty when it fails.
template <typename Call>
static std::wstring PathFrom(Call call)
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = call(&path[0], static_cast<DWORD>(path.size()));
    if (length >= path.size()) {
        path.assign(length, L'\0');
        length = call(&path[0], static_cast<DWORD>(path.size()));
    }
    if (length == 0 || length >= path.size())
        return std::wstring();
    path.resize(length);
    return path;
}

bool AnsiPathOf(const std::wstring& wide, std::string& narrow)
{
    if (NarrowExactly(wide, narrow))
        return true;
    narrow.clear();
    const std::wstring full =
        PathFrom([&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(wide.c_str(), size, buffer, nullptr); });
    const std::wstring named =
        PathFrom([&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(full.c_str(), buffer, size); });
    const std::wstring shortForm =
        PathFrom([&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(full.c_str(), buffer, size); });
    if (full.empty() || named.empty() || shortForm.empty())
        return false;
    // Short forms are made from a hash of the long name, and two names can share one:
    // the form is used only when it leads back to this very name.
    const std::wstring back =
        PathFrom([&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(shortForm.c_str(), buffer, size); });
    std::string shortNarrow;
    if (back != named || !NarrowExactly(shortForm, shortNarrow))
        return false;
    narrow = shortNarrow;
    return true;
}
