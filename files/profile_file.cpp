#include "files/profile_file.h"
#include "files/file_marks.h"
#include "files/kept_paths.h"
#include "files/safe_save.h"
#include "files/working_files.h"
#include <windows.h>
#include <aclapi.h>
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace {

// One name for every instance of the program, whatever file it writes: writes are rare
// and short. An instance that holds it longer than this (stuck on a slow share) makes
// the others give up rather than freeze. The mutex is seen within one Wine server only;
// the instances of other servers and machines take turns by the mark of a file beside
// the profile (the profile's own mark would stay on the file that a rename replaces),
// "Z!PREFS.INI.lock" (TakeTurn).
const char kProfileMutexName[] = "Velmora profile files";
const DWORD kProfileMutexWait = 30000;
const char kTurnFileTail[] = ".lock";
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

// Writes the bytes in place of what the open file held, flushed: nothing written after
// them reaches the disk before them.
bool WriteAll(HANDLE file, const std::string& bytes)
{
    DWORD done = 0;
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
           (bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                              done == bytes.size())) &&
           SetEndOfFile(file) && FlushFileBuffers(file);
}

// Empties the turn file once its copy is done with. Not flushed: where a power cut loses
// this, the copy only takes the profile back to what it held before.
bool EmptyTurn(HANDLE turn)
{
    return SetFilePointer(turn, 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(turn);
}

// The turn file holds, while the profile is written, its whole old content followed by
// this line, which names the content's length: a write stopped while the copy was made
// leaves no such line.
std::string CopyEnd(size_t length)
{
    return "\r\n;" + std::to_string(length) + " byte\r\n";
}

// The whole copy in the turn file's bytes, where it holds one.
bool WholeCopy(const std::string& turnBytes, std::string* copy)
{
    const size_t end = turnBytes.rfind("\r\n;");
    if (end == std::string::npos || turnBytes.compare(end, std::string::npos, CopyEnd(end)) != 0)
        return false;
    *copy = turnBytes.substr(0, end);
    return true;
}

// Lets every user read and write a file this user has just made: what a user makes takes
// that user's umask, and a file beside the profile that only its maker may write would
// keep every other user from writing the profile.
bool OpenToEveryone(HANDLE file)
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
        return false;
    union { ACL acl; BYTE bytes[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE]; } list;
    const bool open = InitializeAcl(&list.acl, sizeof list, ACL_REVISION) &&
                      AddAccessAllowedAce(&list.acl, ACL_REVISION, FILE_GENERIC_READ | FILE_GENERIC_WRITE, everyone) &&
                      SetSecurityInfo(file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list.acl,
                                      nullptr) == ERROR_SUCCESS;
    FreeSid(everyone);
    return open;
}

// The working files beside the profile, "Z!PREFS.INI.PROCESS-NUMBER.tmp", and its folder.
WorkingFileNames WorkingNames(const std::string& path, std::string* folder)
{
    const size_t cut = path.find_last_of("\\/:") + 1;
    *folder = path.substr(0, cut);
    return {path.substr(cut) + ".", ".tmp", false};
}

// A new turn file, marked from its making and open to every user, named `lock` unless a
// file is there already (`taken` then says so): held, or INVALID_HANDLE_VALUE.
HANDLE NameNewTurnFile(const std::string& lock, bool* taken)
{
    std::string folder;
    const WorkingFileNames working = WorkingNames(lock.substr(0, lock.size() - std::strlen(kTurnFileTail)), &folder);
    HANDLE own = CreateWorkingFile(folder, working);
    *taken = false;
    if (own == INVALID_HANDLE_VALUE)
        return own;
    // Where no file system keeps modes, the file is named all the same.
    OpenToEveryone(own);
    if (RenameOwnFile(own, lock, false))
        return own;
    RemoveOwnFile(own);
    *taken = GetFileAttributesA(lock.c_str()) != INVALID_FILE_ATTRIBUTES;
    return INVALID_HANDLE_VALUE;
}

// Takes the writers' turn, within `patience` milliseconds: the lock file held marked as
// written, and still the one named. A missing lock file is made, once, open to every user;
// where none can be made (a folder its users may not write) the write is refused at once.
// A lock file that this user may not write (an earlier version made it with its maker's
// umask) is replaced by a new one once no writer holds it: it is held marked as read,
// which a holder's mark excludes, while it is renamed aside and removed, and the new one
// is named in its place unless another writer made one meanwhile. A writer that marks a
// lock file renamed aside meanwhile takes the one named instead.
HANDLE TakeTurn(const char* path, DWORD patience)
{
    const std::string lock = std::string(path) + kTurnFileTail;
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, start = GetTickCount();
    for (bool told = false, taken = false; GetTickCount() - start <= patience;) {
        HANDLE turn = CreateFileA(lock.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        const bool writable = turn != INVALID_HANDLE_VALUE;
        if (!writable && GetLastError() == ERROR_ACCESS_DENIED)
            turn = CreateFileA(lock.c_str(), GENERIC_READ | DELETE, share, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (turn == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
            // Missing, or renamed aside by a writer replacing it.
            turn = NameNewTurnFile(lock, &taken);
            if (turn != INVALID_HANDLE_VALUE || !taken)
                return turn;
            continue;
        }
        if (turn == INVALID_HANDLE_VALUE || !ReachesMeantFile(turn, lock))
            return turn == INVALID_HANDLE_VALUE ? turn : (CloseHandle(turn), INVALID_HANDLE_VALUE);
        // Tried again rather than waited on: a wait on a lock that another server holds is
        // not one its server can end.
        bool marked;
        while (!(marked = MarkFile(turn, writable)) && GetTickCount() - start < patience) {
            if (!told)
                told = true, ReachSaveStage(SaveStage::TurnAwaited);
            Sleep(20);
        }
        if (marked && StillNamed(turn, lock.c_str())) {
            if (writable)
                return turn;
            std::string folder;
            const WorkingFileNames working = WorkingNames(path, &folder);
            if (!RenameOwnFile(turn, WorkingFileName(folder, working), false)) {
                CloseHandle(turn);
                return INVALID_HANDLE_VALUE;
            }
            RemoveOwnFile(turn);
            ReachSaveStage(SaveStage::TurnFileMovedAside);
            turn = NameNewTurnFile(lock, &taken);
            if (turn != INVALID_HANDLE_VALUE || !taken)
                return turn;
            continue;
        }
        CloseHandle(turn);
        if (!marked)
            break;
    }
    return INVALID_HANDLE_VALUE;
}

// The profile, open to be written in place: it keeps its owner and permissions, which a
// file renamed over it would not. A missing one is made open to every user, as its lock
// file is. INVALID_HANDLE_VALUE for a file marked read-only, which no write changes.
HANDLE OpenProfile(const char* path)
{
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    bool made = false;
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
        file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE | WRITE_DAC | DELETE, share, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        made = file != INVALID_HANDLE_VALUE;
    }
    // A neighbour's file that answers the program folder's short form is left as it was.
    if (file != INVALID_HANDLE_VALUE && !ReachesMeantFile(file, path)) {
        made ? RemoveOwnFile(file) : (void)CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    if (made)
        OpenToEveryone(file);
    BY_HANDLE_FILE_INFORMATION about;
    if (file != INVALID_HANDLE_VALUE &&
        (!GetFileInformationByHandle(file, &about) || (about.dwFileAttributes & FILE_ATTRIBUTE_READONLY))) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
    return file;
}

// Sets the keys in the profile open in `file`, in place, during the writer's turn. The
// old content goes whole into the turn file first, and stays there until the new one is
// flushed: a writer stopped meanwhile leaves it for the next writer to put back, and for
// readers to read in the meantime. False, the profile as it was, when a read or a write
// failed.
bool ReplaceProfile(HANDLE file, HANDLE turn, const ProfileSetting* settings, size_t count)
{
    std::string bytes, copy;
    ULONGLONG written = 0;
    // What a stopped write left goes back first.
    if (!ReadAll(turn, bytes) || (WholeCopy(bytes, &copy) && !WriteAll(file, copy)) ||
        (!bytes.empty() && !EmptyTurn(turn)) || !ReadAll(file, bytes, &written))
        return false;
    ReachSaveStage(SaveStage::SettingsRead);
    const std::string content = EditedContent(bytes, settings, count);
    if (content == bytes)
        return true;
    if (!WriteAll(turn, bytes + CopyEnd(bytes.size())))
        return EmptyTurn(turn), false;
    ReachSaveStage(SaveStage::CopyMade);
    const bool whole = WriteAll(file, content);
    // Dated after what it held, where this user may date it (its owner may): the profile
    // functions keep what they read of a file for as long as its date stays the same.
    if (whole)
        DateAfter(file, written);
    // A failed write is undone; the copy stays where even that fails.
    return (whole || WriteAll(file, bytes)) && EmptyTurn(turn) && whole;
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
    // A holder that ended without letting go left the file whole, or its copy.
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        const DWORD spent = GetTickCount() - start;
        HANDLE turn = TakeTurn(path, spent < kProfileMutexWait ? kProfileMutexWait - spent : 0);
        if (turn != INVALID_HANDLE_VALUE) {
            // Working files that stopped writers left beside the file go first.
            std::string folder;
            const WorkingFileNames working = WorkingNames(path, &folder);
            RemoveLeftWorkingFiles(folder, working);
            HANDLE file = OpenProfile(path);
            written = file != INVALID_HANDLE_VALUE && ReplaceProfile(file, turn, settings, count);
            if (file != INVALID_HANDLE_VALUE)
                CloseHandle(file);
            CloseHandle(turn);
        }
        ReleaseMutex(mutex);
    }
    CloseHandle(mutex);
    return written;
}

void ReadProfileSettings(const char* path, const std::function<void(const char* from)>& read)
{
    // The writers' turn, marked as read: no writer is then writing the profile. After a
    // while a reader reads without it, as it would where no lock file can be opened.
    const std::string lock = std::string(path) + kTurnFileTail;
    HANDLE turn = CreateFileA(lock.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool marked = false;
    for (const DWORD start = GetTickCount();
         turn != INVALID_HANDLE_VALUE && !(marked = MarkFile(turn, false)) && GetTickCount() - start < kReadPatience;)
        Sleep(20);
    std::string bytes, copy;
    // A stopped write may have cut the profile: its whole copy is read until a writer puts it back.
    const bool stopped = marked && ReadAll(turn, bytes) && WholeCopy(bytes, &copy);
    read(stopped ? lock.c_str() : path);
    if (turn != INVALID_HANDLE_VALUE)
        CloseHandle(turn);
}
