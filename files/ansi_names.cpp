#include "files/ansi_names.h"
#include <windows.h>
#include <algorithm>

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

static bool SameName(const wchar_t* a, const std::wstring& b)
{
    return CompareStringOrdinal(a, -1, b.c_str(), static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Short forms come from a hash that neighbours share ("____~02O.ZRO" for two names of four
// Greek letters and five Cyrillic ones). A pattern without wildcards finds only the first
// entry that answers, as an open does: a wildcard in place of the last character lists
// them all.
size_t EntriesAnswering(const std::wstring& folder, const std::wstring& name)
{
    std::wstring pattern = folder + name;
    pattern.back() = L'?';
    size_t count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        count += SameName(found.cFileName, name) || SameName(found.cAlternateFileName, name);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return count;
}

// Whether a name of the path ends in a blank or a dot ("." and ".." aside): the system
// drops them, so that "h.ZRO." opens "h.ZRO" and the folder "x." is "x".
static bool DropsAnEnd(const std::wstring& path)
{
    for (size_t begin = 0; begin <= path.size();) {
        const size_t end = std::min(path.find_first_of(L"\\/", begin), path.size());
        const std::wstring name = path.substr(begin, end - begin);
        if (!name.empty() && name != L"." && name != L".." && (name.back() == L'.' || name.back() == L' '))
            return true;
        begin = end + 1;
    }
    return false;
}

// The length of a full path's root: "C:\" or "\\server\share\"; 0 for another form.
static size_t RootLength(const std::wstring& full)
{
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\')
        return 3;
    if (full.compare(0, 2, L"\\\\") != 0)
        return 0;
    const size_t server = full.find(L'\\', 2);
    const size_t share = server == std::wstring::npos ? server : full.find(L'\\', server + 1);
    return share == std::wstring::npos ? 0 : share + 1;
}

// The name by which the ANSI functions open the entry `name` of `folder`: itself where the
// code page holds it and the folder lists it so (or lists nothing of that name: a file to
// come); else the short form that it is or has, where no other entry answers to that form.
static bool AnsiNameIn(const std::wstring& folder, const std::wstring& name, std::string& part, AnsiNameFault& fault)
{
    const bool held = NarrowExactly(name, part);
    if (held && name.find(L'~') == std::wstring::npos)
        return true;   // no entry has it as its short form
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return held;
    FindClose(search);
    if (held && SameName(found.cFileName, name))
        return true;   // an open takes the entry of that very name first
    const std::wstring shortForm = held ? name : found.cAlternateFileName;
    if ((!held && !SameName(found.cFileName, name)) || shortForm.empty() || !NarrowExactly(shortForm, part))
        return false;
    if (EntriesAnswering(folder, shortForm) == 1)
        return true;
    fault = AnsiNameSharedShortForm;
    return false;
}

bool AnsiPathOf(const std::wstring& wide, std::string& narrow, AnsiNameFault* fault, std::wstring* sharedAt)
{
    AnsiNameFault unused;
    fault = fault ? fault : &unused;
    narrow.clear();
    *fault = AnsiNameDroppedEnd;
    if (DropsAnEnd(wide))
        return false;
    *fault = AnsiNameOutsideCodePage;
    // A name the code page holds is its own ANSI name, unless it may be a short form.
    const bool held = NarrowExactly(wide, narrow);
    if (held && wide.find(L'~') == std::wstring::npos)
        return true;
    const std::wstring full =
        PathFrom<wchar_t>([&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(wide.c_str(), size, buffer, nullptr); });
    size_t begin = RootLength(full);
    std::string path;
    if (begin == 0 || !NarrowExactly(full.substr(0, begin), path)) {
        narrow.clear();
        return false;
    }
    // Name by name, each by the name the ANSI functions open its entry by.
    while (begin < full.size()) {
        const size_t end = std::min(full.find(L'\\', begin), full.size());
        std::string part;
        if (!AnsiNameIn(full.substr(0, begin), full.substr(begin, end - begin), part, *fault)) {
            if (sharedAt && *fault == AnsiNameSharedShortForm)
                *sharedAt = full.substr(0, end);
            narrow.clear();
            return false;
        }
        path += part;
        if (end < full.size())
            path += '\\';
        begin = end + 1;
    }
    if (!held)
        narrow = path;
    return true;
}

bool AnsiPathInFolder(const std::wstring& wide, std::string& narrow, AnsiNameFault* fault, std::wstring* sharedAt)
{
    const size_t cut = wide.find_last_of(L"\\/") + 1;
    std::string name;
    if (DropsAnEnd(wide) || !NarrowExactly(wide.substr(cut), name)) {
        narrow.clear();
        if (fault)
            *fault = DropsAnEnd(wide) ? AnsiNameDroppedEnd : AnsiNameOutsideCodePage;
        return false;
    }
    // An existing file as AnsiPathOf takes it; a file to come by its folder's form.
    if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES || cut == 0)
        return AnsiPathOf(wide, narrow, fault, sharedAt);
    if (!AnsiPathOf(wide.substr(0, cut), narrow, fault, sharedAt))
        return false;
    narrow += name;
    return true;
}
