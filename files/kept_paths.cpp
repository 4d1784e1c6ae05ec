#include "files/kept_paths.h"
#include "files/ansi_names.h"
#include "files/file_marks.h"
#include "files/working_files.h"
#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace {

struct KeptPath {
    const void* owner;
    std::string file, folder;             // full ANSI paths; no file for a kept folder
    std::wstring longFile, longFolder;
};
std::vector<KeptPath> keptPaths;
std::wstring misdirectedPath;

std::string FullPath(const char* path)
{
    return PathFrom<char>([&](char* buffer, DWORD size) { return GetFullPathNameA(path, size, buffer, nullptr); });
}

// Whether `path` is `folder` or lies beneath it, spelt as the program keeps it (but for a
// drive letter's case): the paths it opens through a kept one begin with it as kept, and
// "p.zro" beside "P.ZRO" is another file.
bool Beneath(const std::string& path, const std::string& folder)
{
    const size_t size = folder.size() - (!folder.empty() && folder.back() == '\\');
    if (folder.empty() || path.size() < size || (path.size() > size && path[size] != '\\'))
        return false;
    const size_t drive = size >= 2 && folder[1] == ':' && toupper(path[0]) == toupper(folder[0]);
    return path.compare(drive, size - drive, folder, drive, size - drive) == 0;
}

// The long path that the full ANSI `path` means, by the kept path that holds it most
// closely; empty where none holds it. False where two hold it as closely and differ.
bool MeantPath(const std::string& path, std::wstring& meant)
{
    meant.clear();
    size_t closest = 0;
    bool agreed = true;
    for (const KeptPath& kept : keptPaths) {
        std::wstring candidate;
        size_t closeness;
        if (!kept.file.empty() && path.size() == kept.file.size() && Beneath(path, kept.file)) {
            candidate = kept.longFile, closeness = SIZE_MAX;
        } else if (Beneath(path, kept.folder)) {
            const size_t size = kept.folder.size() - (kept.folder.back() == '\\');
            candidate = kept.longFolder;
            if (path.size() > size) {
                if (candidate.empty() || candidate.back() != L'\\')
                    candidate += L'\\';
                candidate += WidenName(path.substr(size + 1));
            }
            closeness = size;
        } else {
            continue;
        }
        if (closeness > closest)
            closest = closeness, meant = candidate, agreed = true;
        else if (closeness == closest && candidate != meant)
            agreed = false;
    }
    return agreed;
}

// The path the system gives for an open handle, as a full path ("\\?\" taken off).
std::wstring FinalPath(HANDLE file)
{
    std::wstring path = PathFrom<wchar_t>([&](wchar_t* buffer, DWORD size) {
        return GetFinalPathNameByHandleW(file, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    });
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\" + path.substr(7);
    return path.compare(0, 4, L"\\\\?\\") == 0 ? path.substr(4) : path;
}

// Equal as the system spells them, but for a drive letter's case.
bool SamePath(std::wstring a, std::wstring b)
{
    for (std::wstring* path : {&a, &b})
        if (path->size() >= 2 && (*path)[1] == L':')
            (*path)[0] = towupper((*path)[0]);
    return a == b;
}

} // namespace

// What opening the full path `path` reaches (a folder or a file); INVALID_HANDLE_VALUE
// where it reaches nothing.
static HANDLE OpenToName(const std::wstring& path)
{
    return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Whether two open handles reach one file.
static bool SameFile(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION one, other;
    return GetFileInformationByHandle(a, &one) && GetFileInformationByHandle(b, &other) &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber && one.nFileIndexHigh == other.nFileIndexHigh &&
           one.nFileIndexLow == other.nFileIndexLow;
}

// The long name of the last name in the full path `path`, a short form: the name its folder
// lists for it where that is what opening the form reaches, else the name of what it
// reaches (a neighbour that took the form, which GetLongPathNameW may not answer); empty
// where it reaches nothing.
static std::wstring ReachedName(const std::wstring& path)
{
    const HANDLE reached = OpenToName(path);
    if (reached == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring name = PathFrom<wchar_t>([&](wchar_t* buffer, DWORD size) {
        return GetLongPathNameW(path.c_str(), buffer, size);
    });
    const HANDLE listed = name.empty() ? INVALID_HANDLE_VALUE : OpenToName(name);
    if (listed == INVALID_HANDLE_VALUE || !SameFile(reached, listed))
        name = FinalPath(reached);
    if (listed != INVALID_HANDLE_VALUE)
        CloseHandle(listed);
    CloseHandle(reached);
    return name.substr(name.find_last_of(L'\\') + 1);
}

std::wstring LongPathOf(const char* path)
{
    std::wstring full = PathFrom<wchar_t>([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(WidenName(path ? path : "").c_str(), size, buffer, nullptr);
    });
    // Only a name that may be a short form is looked up: a folder lists a name without
    // regard to case, and "p.zro" beside "P.ZRO" would come back as either. Each is judged
    // by what opening it reaches, never by a listing alone.
    for (size_t end = full.find(L'~'); end != std::wstring::npos; end = full.find(L'~', end)) {
        end = std::min(full.find(L'\\', end), full.size());
        const size_t begin = full.find_last_of(L'\\', end - 1) + 1;
        const std::wstring named = ReachedName(full.substr(0, end));
        if (named.empty() && end < full.size())
            return named;
        if (named.empty())
            break;   // a file to come under a name of its own
        full.replace(begin, end - begin, named);
        end = begin + named.size();
    }
    return full;
}

void KeepMeantPath(const void* owner, const char* path, const std::wstring& longPath, bool folder)
{
    for (size_t i = keptPaths.size(); i-- > 0;)
        if (keptPaths[i].owner == owner)
            keptPaths.erase(keptPaths.begin() + i);
    const std::string full = path ? FullPath(path) : std::string();
    if (full.empty() || longPath.empty())
        return;
    KeptPath kept = {owner, folder ? std::string() : full, full, folder ? std::wstring() : longPath, longPath};
    if (!folder) {
        kept.folder.resize(full.find_last_of('\\') + 1);
        kept.longFolder.resize(longPath.find_last_of(L'\\') + 1);
    }
    keptPaths.push_back(kept);
}

bool ReachesMeantFile(HANDLE file, const std::string& path)
{
    if (keptPaths.empty())
        return true;
    std::wstring meant;
    const bool agreed = MeantPath(FullPath(path.c_str()), meant);
    if (agreed && (meant.empty() || SamePath(FinalPath(file), meant) || StillNamed(file, meant.c_str())))
        return true;
    misdirectedPath = meant;
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
}

std::wstring MeantWidePath(const std::string& path)
{
    std::wstring meant;
    if (!keptPaths.empty() && MeantPath(FullPath(path.c_str()), meant) && !meant.empty())
        return meant;
    return WidenName(path);
}

std::wstring TakeMisdirectedPath()
{
    std::wstring path;
    path.swap(misdirectedPath);
    return path;
}

HANDLE OpenMeantFile(const char* path, DWORD access, DWORD share, DWORD flags, DWORD disposition,
                     SECURITY_ATTRIBUTES* security)
{
    HANDLE file = CreateFileW(MeantWidePath(path).c_str(), access, share, security, disposition, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    const bool made = disposition == CREATE_NEW ||
                      ((disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS) && GetLastError() != ERROR_ALREADY_EXISTS);
    if (!ReachesMeantFile(file, path)) {
        // Two kept paths that give it two meanings: a file made there goes again.
        if (made && (access & DELETE))
            RemoveOwnFile(file);
        else
            CloseHandle(file);
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    SetLastError(made || disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING ? ERROR_SUCCESS
                                                                                          : ERROR_ALREADY_EXISTS);
    return file;
}

DWORD MeantFileAttributes(const char* path)
{
    return GetFileAttributesW(MeantWidePath(path).c_str());
}

std::wstring NeighbourNamedBy(const char* folder, const wchar_t* longFolder)
{
    const std::wstring named = folder && longFolder ? LongPathOf(folder) : std::wstring();
    return named.empty() || SamePath(named, longFolder) ? std::wstring() : named;
}

static void NarrowFound(const WIN32_FIND_DATAW& wide, WIN32_FIND_DATAA* found)
{
    std::memset(found, 0, sizeof *found);
    found->dwFileAttributes = wide.dwFileAttributes;
    found->ftCreationTime = wide.ftCreationTime;
    found->ftLastAccessTime = wide.ftLastAccessTime;
    found->ftLastWriteTime = wide.ftLastWriteTime;
    found->nFileSizeHigh = wide.nFileSizeHigh;
    found->nFileSizeLow = wide.nFileSizeLow;
    std::string name, alternate;
    if (!NarrowExactly(wide.cFileName, name) || name.size() >= sizeof found->cFileName)
        NarrowExactly(wide.cAlternateFileName, name);
    NarrowExactly(wide.cAlternateFileName, alternate);
    name.copy(found->cFileName, sizeof found->cFileName - 1);
    alternate.copy(found->cAlternateFileName, sizeof found->cAlternateFileName - 1);
}

HANDLE FindFirstMeantFile(const char* pattern, WIN32_FIND_DATAA* found)
{
    WIN32_FIND_DATAW wide;
    HANDLE search = FindFirstFileW(MeantWidePath(pattern).c_str(), &wide);
    if (search != INVALID_HANDLE_VALUE)
        NarrowFound(wide, found);
    return search;
}

bool FindNextMeantFile(HANDLE search, WIN32_FIND_DATAA* found)
{
    WIN32_FIND_DATAW wide;
    if (!FindNextFileW(search, &wide))
        return false;
    NarrowFound(wide, found);
    return true;
}
