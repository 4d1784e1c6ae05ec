#include "files/profile_file.h"
#include "files/ansi_names.h"
#include "files/file_marks.h"
#include "files/kept_paths.h"
#include "files/safe_save.h"
#include "files/whole_reads.h"
#include "files/working_files.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace {

// One name for every instance of the program, whatever file it writes: writes are rare
// and short. An instance that holds it longer than this (stuck on a slow share) makes
// the others give up rather than freeze. The mutex is seen within one Wine server only;
// the instances of other servers and machines take turns by the profile's own mark
// (TakeTurn): no file beside it, which users who may not write the profile could write.
const char kProfileMutexName[] = "Velmora profile files";
const DWORD kProfileMutexWait = 30000;
// How long a reader waits for a writer's turn to end.
const DWORD kReadPatience = 3000;

unsigned Code(char unit) { return static_cast<unsigned char>(unit); }
unsigned Code(wchar_t unit) { return static_cast<unsigned>(unit); }

// What the profile functions skip around names and values (with the DOS end-of-file mark).
bool IsProfileSpace(unsigned code)
{
    return code == ' ' || (code >= '\t' && code <= '\r') || code == 0x1A;
}

unsigned Lower(unsigned code)
{
    return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
}

// Whether units [begin, end) of the text, trimmed, are the ASCII name, in any case.
template <typename Unit>
bool IsName(const std::basic_string<Unit>& text, size_t begin, size_t end, const char* name)
{
    while (begin < end && IsProfileSpace(Code(text[begin])))
        ++begin;
    while (end > begin && IsProfileSpace(Code(text[end - 1])))
        --end;
    if (end - begin != std::strlen(name))
        return false;
    for (size_t i = 0; begin + i < end; ++i)
        if (Lower(Code(text[begin + i])) != Lower(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

template <typename Unit>
std::basic_string<Unit> Units(const std::string& ascii)
{
    return std::basic_string<Unit>(ascii.begin(), ascii.end());
}

// Sets the keys in the text, read from `start` (after a byte-order mark), as the profile
// functions find them: the first section of each name, the first key of each name in
// it. A found key's line becomes "Key=value" (its line end kept); a missing key goes
// after the last line of its section, a missing section at the end, with CR LF.
template <typename Unit>
void SetKeys(std::basic_string<Unit>& text, size_t start, const ProfileSetting* settings, size_t count)
{
    typedef std::basic_string<Unit> Text;
    const size_t none = Text::npos;
    enum { NotSeen, Inside, Passed };
    std::vector<int> state(count, NotSeen);
    std::vector<size_t> keyBegin(count, none), keyEnd(count, none), sectionEnd(count, none);
    for (size_t line = start; line < text.size();) {
        size_t end = text.find(Unit('\n'), line);
        const size_t next = end == none ? text.size() : end + 1;
        end = end == none ? text.size() : end;
        if (end > line && text[end - 1] == Unit('\r'))
            --end;
        size_t begin = line;
        while (begin < end && IsProfileSpace(Code(text[begin])))
            ++begin;
        const size_t close = begin < end && text[begin] == Unit('[') ? text.rfind(Unit(']'), end - 1) : none;
        for (size_t i = 0; i < count && begin < end; ++i) {
            if (close != none && close > begin) {
                if (state[i] == Inside)
                    state[i] = Passed;
                else if (state[i] == NotSeen && IsName(text, begin + 1, close, settings[i].section))
                    state[i] = Inside, sectionEnd[i] = next;
            } else if (state[i] == Inside) {
                sectionEnd[i] = next;
                const size_t equals = text.find(Unit('='), begin);
                if (keyBegin[i] == none && IsName(text, begin, std::min(equals, end), settings[i].key))
                    keyBegin[i] = begin, keyEnd[i] = end;
            }
        }
        line = next;
    }
    // Lines added at one offset, in the order of the settings; after a last line that
    // has no line end, one comes first.
    std::map<size_t, Text> added;
    auto add = [&](size_t at, const Text& lines) {
        Text& here = added[at];
        if (here.empty() && at > start && text[at - 1] != Unit('\n'))
            here = Units<Unit>("\r\n");
        here += lines;
    };
    auto assignment = [&](size_t i) { return Units<Unit>(std::string(settings[i].key) + "=" + settings[i].value); };
    auto keyLine = [&](size_t i) { return assignment(i) + Units<Unit>("\r\n"); };
    for (size_t i = 0; i < count; ++i)
        if (state[i] != NotSeen && keyBegin[i] == none)
            add(sectionEnd[i], keyLine(i));
    std::vector<bool> placed(count, false);
    for (size_t i = 0; i < count; ++i) {
        if (state[i] != NotSeen || placed[i])
            continue;
        Text section = Units<Unit>(std::string("[") + settings[i].section + "]\r\n");
        for (size_t j = i; j < count; ++j)
            if (!placed[j] && lstrcmpiA(settings[j].section, settings[i].section) == 0)
                section += keyLine(j), placed[j] = true;
        add(text.size(), section);
    }
    // From the end backwards, so that each offset still holds; lines added at the start
    // of a replaced line go before it.
    struct Edit { size_t at, erase; Text insert; };
    std::vector<Edit> edits;
    for (size_t i = 0; i < count; ++i)
        if (keyBegin[i] != none)
            edits.push_back({keyBegin[i], keyEnd[i] - keyBegin[i], assignment(i)});
    for (const auto& lines : added)
        edits.push_back({lines.first, 0, lines.second});
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        return a.at != b.at ? a.at > b.at : a.erase > b.erase;
    });
    for (const Edit& edit : edits)
        text.replace(edit.at, edit.erase, edit.insert);
}

// The file's bytes with the keys set, in the file's own encoding: UTF-16 when it begins
// with its byte-order mark, bytes otherwise (the code page, or UTF-8 after its mark).
std::string EditedContent(const std::string& bytes, const ProfileSetting* settings, size_t count)
{
    const bool little = bytes.compare(0, 2, "\xFF\xFE") == 0, big = bytes.compare(0, 2, "\xFE\xFF") == 0;
    if (!little && !big) {
        std::string text = bytes;
        SetKeys(text, bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0, settings, count);
        return text;
    }
    const int high = big ? 0 : 1;
    std::wstring text(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(Code(bytes[2 * i + high]) << 8 | Code(bytes[2 * i + 1 - high]));
    SetKeys(text, 1, settings, count);
    std::string out(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        out[2 * i + high] = static_cast<char>(text[i] >> 8);
        out[2 * i + 1 - high] = static_cast<char>(text[i] & 0xFF);
    }
    return out + bytes.substr(bytes.size() & ~size_t(1));
}

// Everything from the start of an open file, and its last write.
bool ReadAll(HANDLE file, std::string& bytes, ULONGLONG* written = nullptr)
{
    BY_HANDLE_FILE_INFORMATION about;
    DWORD read = 0;
    if (!GetFileInformationByHandle(file, &about) || about.nFileSizeHigh || about.nFileSizeLow >= (1u << 30) ||
        SetFilePointer(file, 0, nullptr, FILE_BEGIN) != 0)
        return false;
    bytes.assign(about.nFileSizeLow, '\0');
    if (written)
        *written = Ticks(about.ftLastWriteTime);
    return bytes.empty() || (ReadFile(file, &bytes[0], about.nFileSizeLow, &read, nullptr) && read == bytes.size());
}

// Writes the bytes at `offset` of the open file, past its end too.
bool WriteAt(HANDLE file, size_t offset, const std::string& bytes)
{
    LARGE_INTEGER place;
    place.QuadPart = static_cast<LONGLONG>(offset);
    DWORD done = 0;
    return SetFilePointerEx(file, place, nullptr, FILE_BEGIN) &&
           (bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                              done == bytes.size()));
}

// Ends the open file at `length`, flushed.
bool EndAt(HANDLE file, size_t length)
{
    return WriteAt(file, length, std::string()) && SetEndOfFile(file) && FlushFileBuffers(file);
}

// The line that ends a write's record of the old content: its length and digest.
std::string RecordLine(const std::string& old)
{
    char line[64];
    std::snprintf(line, sizeof line, "\r\n;%zu byte %016llx\r\n", old.size(),
                  static_cast<unsigned long long>(Digest(0, reinterpret_cast<const uint8_t*>(old.data()), old.size())));
    return line;
}

// Where the profile's bytes end with the record that a stopped write left, the content the
// profile held before that write: the record's copy where it came whole, else its first
// bytes, which the write had not yet begun to replace. False for a profile without one.
bool StoppedWrite(const std::string& bytes, std::string* old)
{
    const size_t end = bytes.rfind("\r\n;");
    if (end == std::string::npos)
        return false;
    // The copy lies at or past the old content's end.
    const size_t length = std::strtoull(bytes.c_str() + end + 3, nullptr, 10);
    if (length > end / 2)
        return false;
    const std::string copy = bytes.substr(end - length, length), line = RecordLine(copy);
    const size_t named = line.size() - 18;   // the line up to its digest
    if (bytes.compare(end, std::string::npos, line) == 0)
        *old = copy;
    else if (bytes.size() - end == line.size() && bytes.compare(end, named, line, 0, named) == 0 &&
             bytes.compare(bytes.size() - 2, 2, "\r\n") == 0)
        *old = bytes.substr(0, length);
    else
        return false;
    return true;
}

// The working files beside the profile that earlier versions made, "Z!PREFS.INI.PROCESS-NUMBER.tmp",
// and its folder.
WorkingFileNames WorkingNames(const std::string& path, std::string* folder)
{
    const size_t cut = path.find_last_of("\\/:") + 1;
    *folder = path.substr(0, cut);
    return {path.substr(cut) + ".", ".tmp", false};
}

// The profile, open to be written in place: it keeps its owner and permissions, which a
// file renamed over it would not. A missing one is made as any file of its user, within
// that user's umask. INVALID_HANDLE_VALUE for a file marked read-only, which no write
// changes, or one this user may not write.
HANDLE OpenProfile(const char* path)
{
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = INVALID_HANDLE_VALUE;
    // Opened and made by the long path meant, so that no neighbour folder holding the
    // program folder's short form gets a file, even for a moment. One made meanwhile by
    // another writer is opened as found.
    for (int tries = 0; file == INVALID_HANDLE_VALUE && tries < 2; ++tries) {
        file = OpenMeantFile(path, GENERIC_READ | GENERIC_WRITE, share);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_NOT_FOUND)
            break;
        file = OpenMeantFile(path, GENERIC_READ | GENERIC_WRITE | DELETE, share, FILE_ATTRIBUTE_NORMAL, CREATE_NEW);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    BY_HANDLE_FILE_INFORMATION about;
    if (file != INVALID_HANDLE_VALUE &&
        (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &about) ||
         (about.dwFileAttributes & FILE_ATTRIBUTE_READONLY))) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
    return file;
}

// Takes the writers' turn within `patience` milliseconds: the profile open and marked as
// written (the mark of a handle that may write it, which other servers' marks then
// refuse), and still the file named. INVALID_HANDLE_VALUE at once where this user may not
// write it (nor make it), else once the patience is spent (readers' or a writer's marks
// held it all along).
HANDLE TakeTurn(const char* path, DWORD patience)
{
    const DWORD start = GetTickCount();
    for (bool told = false;;) {
        HANDLE file = OpenProfile(path);
        if (file == INVALID_HANDLE_VALUE)
            return file;
        // Tried again rather than waited on: a wait on a lock that another server holds is
        // not one its server can end.
        bool marked;
        while (!(marked = MarkFile(file, true)) && GetTickCount() - start < patience) {
            if (!told)
                told = true, ReachSaveStage(SaveStage::TurnAwaited);
            Sleep(20);
        }
        if (marked && StillNamed(file, MeantWidePath(path).c_str()))
            return file;
        CloseHandle(file);
        if (!marked)
            return INVALID_HANDLE_VALUE;
    }
}

// Sets the keys in the profile, held in the writers' turn, in place. The old content is
// first kept whole past the end of both, followed by its record line (written before it:
// until the copy is whole, the line says that the start is still the old content), so a
// writer stopped at any moment leaves what the next writer puts back and readers read
// meanwhile; a cut at the new content's end then takes the record away. Only users who may
// write the profile can write the record, and any who may write it can read it. False,
// the profile as it was, when a read or a write failed (a full disk).
bool ReplaceProfile(HANDLE file, const ProfileSetting* settings, size_t count)
{
    std::string bytes, old;
    ULONGLONG written = 0;
    if (!ReadAll(file, bytes, &written))
        return false;
    // What a stopped write left goes back first.
    if (StoppedWrite(bytes, &old)) {
        if (!WriteAt(file, 0, old) || !EndAt(file, old.size()))
            return false;
        bytes = old;
    }
    ReachSaveStage(SaveStage::SettingsRead);
    const std::string content = EditedContent(bytes, settings, count);
    if (content == bytes)
        return true;
    const size_t place = std::max(bytes.size(), content.size());
    if (!WriteAt(file, place + bytes.size(), RecordLine(bytes)) || !WriteAt(file, place, bytes) ||
        !FlushFileBuffers(file))
        return EndAt(file, bytes.size()), false;
    ReachSaveStage(SaveStage::CopyMade);
    const bool whole = WriteAt(file, 0, content) && FlushFileBuffers(file) && EndAt(file, content.size());
    // Dated after what it held, where this user may date it (its owner may): the profile
    // functions keep what they read of a file for as long as its date stays the same.
    if (whole)
        DateAfter(file, written);
    // A failed write is undone; the record stays where even that fails.
    else if (WriteAt(file, 0, bytes) && FlushFileBuffers(file))
        EndAt(file, bytes.size());
    return whole;
}

} // namespace

bool WriteProfileSettings(const char* path, const ProfileSetting* settings, size_t count)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kProfileMutexName);
    if (!mutex)
        return false;
    const DWORD start = GetTickCount();
    const DWORD waited = WaitForSingleObject(mutex, kProfileMutexWait);
    bool written = false;
    // A holder that ended without letting go left the file whole, or its record.
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        const DWORD spent = GetTickCount() - start;
        HANDLE file = TakeTurn(path, spent < kProfileMutexWait ? kProfileMutexWait - spent : 0);
        if (file != INVALID_HANDLE_VALUE) {
            // Working files that earlier versions' stopped writers left beside the file go.
            std::string folder;
            const WorkingFileNames working = WorkingNames(path, &folder);
            RemoveLeftWorkingFiles(folder, working);
            written = ReplaceProfile(file, settings, count);
            CloseHandle(file);
        }
        ReleaseMutex(mutex);
    }
    CloseHandle(mutex);
    return written;
}

void ReadProfileSettings(const char* path, const std::function<void(const wchar_t* from)>& read)
{
    // Opened and read by the long path meant: a neighbour folder that took the program
    // folder's short form is never read. A file not meant is read as a missing one.
    const std::wstring meant = MeantWidePath(path);
    TakeMisdirectedPath();
    HANDLE file = OpenMeantFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    const bool misdirected = !TakeMisdirectedPath().empty();
    // Marked as read: no writer is then writing the profile. After a while a reader reads
    // without the mark, as it does where the profile cannot be opened.
    for (const DWORD start = GetTickCount();
         file != INVALID_HANDLE_VALUE && !MarkFile(file, false) && GetTickCount() - start < kReadPatience;)
        Sleep(20);
    // A stopped write left the old content at the end: it is read from a file of this
    // reader's own, in its temporary folder, until a writer puts it back.
    std::string bytes, old;
    wchar_t folder[MAX_PATH], own[MAX_PATH] = L"";
    if (file != INVALID_HANDLE_VALUE && GetFileType(file) == FILE_TYPE_DISK && ReadAll(file, bytes) &&
        StoppedWrite(bytes, &old) && GetTempPathW(MAX_PATH, folder) && GetTempFileNameW(folder, L"vlp", 0, own)) {
        HANDLE copy = CreateFileW(own, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        const bool made = copy != INVALID_HANDLE_VALUE && WriteAt(copy, 0, old);
        if (copy != INVALID_HANDLE_VALUE)
            CloseHandle(copy);
        if (!made)
            DeleteFileW(own), own[0] = L'\0';
    }
    // A profile not meant reads as missing: every key its default.
    const std::wstring missing = meant + L"\\:";
    read(own[0] ? own : misdirected ? missing.c_str() : meant.c_str());
    if (own[0])
        DeleteFileW(own);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

namespace {

// Held by the caller's full expression, so its c_str() lasts through the call it is made for.
std::wstring WideOf(const char* text)
{
    return WidenName(text ? text : "");
}

// The `count` wide characters of `wide` (NULs among them) as the ANSI functions give them
// in `size` bytes: false where they do not fit, the text cut at the last whole one.
bool NarrowInto(const wchar_t* wide, int count, char* text, unsigned long size)
{
    const int needed = count ? WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr) : 0;
    if (needed < static_cast<int>(size)) {
        if (count)
            WideCharToMultiByte(CP_ACP, 0, wide, count, text, needed, nullptr, nullptr);
        text[needed] = '\0';
        return true;
    }
    int fits = count;
    const auto bytes = [&](int n) { return WideCharToMultiByte(CP_ACP, 0, wide, n, nullptr, 0, nullptr, nullptr); };
    while (fits > 0 && bytes(fits) >= static_cast<int>(size))
        --fits;
    const int written = fits ? WideCharToMultiByte(CP_ACP, 0, wide, fits, text, size - 1, nullptr, nullptr) : 0;
    text[written] = '\0';
    return false;
}

} // namespace

unsigned MeantProfileInt(const char* section, const char* key, int fallback, const char* path)
{
    return GetPrivateProfileIntW(section ? WideOf(section).c_str() : nullptr, key ? WideOf(key).c_str() : nullptr,
                                 fallback, MeantWidePath(path ? path : "").c_str());
}

unsigned long MeantProfileString(const char* section, const char* key, const char* fallback, char* text,
                                 unsigned long size, const char* path)
{
    if (!text || !size)
        return 0;
    std::wstring value(size, L'\0');
    const DWORD n = GetPrivateProfileStringW(section ? WideOf(section).c_str() : nullptr,
                                             key ? WideOf(key).c_str() : nullptr, WideOf(fallback).c_str(),
                                             &value[0], size, MeantWidePath(path ? path : "").c_str());
    NarrowInto(value.data(), static_cast<int>(n), text, size);
    return static_cast<unsigned long>(std::strlen(text));
}

unsigned long MeantProfileSection(const char* section, char* text, unsigned long size, const char* path)
{
    if (!text || size < 2)
        return 0;
    std::wstring list(size, L'\0');
    const DWORD n = GetPrivateProfileSectionW(WideOf(section).c_str(), &list[0], size,
                                              MeantWidePath(path ? path : "").c_str());
    // A list that does not fit reads as the ANSI function gives it: size less 2.
    if (n >= size - 2 || !NarrowInto(list.data(), static_cast<int>(n) + 1, text, size - 1))
        return text[size - 2] = text[size - 1] = '\0', size - 2;
    return static_cast<unsigned long>(WideCharToMultiByte(CP_ACP, 0, list.data(), static_cast<int>(n), nullptr, 0,
                                                          nullptr, nullptr));
}
