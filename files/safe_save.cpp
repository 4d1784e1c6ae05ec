#include "files/safe_save.h"
#include "files/ansi_names.h"
#include "files/file_marks.h"
#include "files/kept_paths.h"
#include "files/record_stream.h"
#include "files/whole_reads.h"
#include "files/working_files.h"
#include "shell/message_box.h"
#include <windows.h>
#include <aclapi.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kKeptCopyCaption = "Errore di salvataggio";
const char* const kKeptCopyText =
    "Il salvataggio di %s non è riuscito e il file è rimasto incompleto.\n\n"
    "Il contenuto precedente è conservato per intero nel file:\n%s";

// A copy, and a file of a save not yet named as its copy: names no user would give a
// file of theirs.
const char* const kCopySuffix = ".salva";
const WorkingFileNames kOwnFiles = {"~", ".salva.tmp", true};

SaveStageHook saveStageHook = nullptr;

// The names `folder` lists as `name` without regard to case (or as its short name), the
// one listed exactly so first. A name the code page cannot hold is listed as its short
// name, the only one that reaches it: its ANSI form would be a look-alike's name. A short
// name that several entries answer to reaches whichever comes first: none is listed so.
std::vector<std::string> ListedAlike(const std::string& folder, const std::string& name)
{
    std::vector<std::string> alike;
    const std::wstring wideFolder = WidenName(folder);
    int alone = -1;   // whether `name` answers to one entry alone, once asked
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((wideFolder + L"*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        std::string listed, alternate;
        NarrowExactly(found.cAlternateFileName, alternate);
        const bool own = NarrowExactly(found.cFileName, listed);
        if (!own)
            listed = alternate;
        const bool byShortName = !alternate.empty() && !lstrcmpiA(alternate.c_str(), name.c_str()) &&
                                 (!own || lstrcmpiA(listed.c_str(), name.c_str()));
        if (byShortName && alone < 0)
            alone = EntriesAnswering(wideFolder, WidenName(name)) == 1;
        if (!listed.empty() && (byShortName ? alone == 1 : !lstrcmpiA(listed.c_str(), name.c_str())))
            alike.insert(name == listed ? alike.begin() : alike.end(), listed);
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return alike;
}

// A file's full path as its folders list it, whatever case it was typed in, so that its
// copies have one name: each name as its folder lists it exactly, else its one listing
// without regard to case; as typed where the folder lists none (a file not there yet) or
// several (a disk that tells case apart can hold "P.ZRO" beside "p.zro"), which
// `otherSpelling` then tells. The drive's letter in capitals. A name is looked up first
// as it stands, and its folder listed only when that gives another spelling.
std::string StoredPath(const char* path, bool* otherSpelling = nullptr)
{
    char full[2 * MAX_PATH];
    DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full)
        return path;
    std::string text(full, length);
    size_t begin = 3;
    if (text.compare(0, 2, "\\\\") == 0) {   // past "\\server\share\"
        const size_t server = text.find('\\', 2), share = server == std::string::npos ? server : text.find('\\', server + 1);
        begin = share == std::string::npos ? text.size() : share + 1;
    } else if (text.size() >= 3 && text[1] == ':') {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }
    if (otherSpelling)
        *otherSpelling = false;
    while (begin < text.size()) {
        const size_t end = std::min(text.find('\\', begin), text.size());
        const std::string name = text.substr(begin, end - begin);
        WIN32_FIND_DATAA found;
        HANDLE search = otherSpelling ? INVALID_HANDLE_VALUE : FindFirstFileA(text.substr(0, end).c_str(), &found);
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        std::vector<std::string> alike;
        if (otherSpelling || (search != INVALID_HANDLE_VALUE && name != found.cFileName))
            alike = ListedAlike(text.substr(0, begin), name);
        if (otherSpelling && alike.size() > 1)
            *otherSpelling = true;
        const std::string listed = alike.size() == 1 || (!alike.empty() && alike[0] == name) ? alike[0] : name;
        text.replace(begin, end - begin, listed);
        begin += listed.size() + 1;
    }
    return text;
}

// FNV-1a (64 bits) of a path, so that same-named files of two folders keep copies of
// their own. Earlier versions hashed the path in capitals, which names differing only
// in case share.
std::string PathHash(std::string text, bool capitals)
{
    if (capitals)
        CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    uint64_t hash = 14695981039346656037ull;
    for (char c : text)
        hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    char digits[20];
    std::snprintf(digits, sizeof digits, "%016llX", static_cast<unsigned long long>(hash));
    return digits;
}

// The names a copy of `path` may have, in the order a save tries them: "~NAME.salva"
// beside it; in the user's temporary folder "~NAME.HASH.salva", or the hash alone for a
// name too long for that. Only full paths that fit MAX_PATH. With `earlier`, also the
// name earlier versions gave the copy by the hash alone (the path in capitals), where no
// other spelling of the path exists, so that it can only be this file's: a save removes
// it and Open finds it, but no save makes it. Earlier versions' "~NAME.HASH.salva", with
// a hash of 32 bits that other folders' paths share, is never taken for the file's.
std::vector<std::string> CopyNames(const char* path, bool earlier = true)
{
    const std::string text = StoredPath(path);
    const std::string name = text.substr(FolderOf(text).size());
    std::vector<std::string> names = {FolderOf(text) + "~" + name + kCopySuffix};
    char folder[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length > 0 && length < sizeof folder) {
        names.push_back(std::string(folder) + "~" + name + "." + PathHash(text, false) + kCopySuffix);
        names.push_back(std::string(folder) + "~" + PathHash(text, false) + kCopySuffix);
        const std::string before = std::string(folder) + "~" + PathHash(text, true) + kCopySuffix;
        bool otherSpelling = true;
        if (earlier && before != names.back() && GetFileAttributesA(before.c_str()) != INVALID_FILE_ATTRIBUTES &&
            (StoredPath(path, &otherSpelling), !otherSpelling))
            names.push_back(before);
    }
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::string& copy) { return copy.size() >= MAX_PATH; }),
                names.end());
    return names;
}

// Whether what lies under a copy's name is the file's own: a file (or a link) listed
// under exactly that name, case included. A name the folder lists in another case
// belongs to another file (on a disk that tells case apart), and a folder is no copy:
// both are left alone. `written` gets its last write as the folder lists it, which
// needs no opening: a copy that another program holds unshared is dated too.
bool IsOwnCopy(const std::string& name, ULONGLONG* written = nullptr)
{
    // Listed by the long path meant: a kept folder's short form may reach a neighbour's.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstMeantFile(name.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    if (written)
        *written = Ticks(found.ftLastWriteTime);
    return !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           name.substr(FolderOf(name).size()) == found.cFileName;
}

// The owner of an open file, as its security gives it; empty where it cannot be read.
std::vector<BYTE> FileOwner(HANDLE file)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::vector<BYTE> sid;
    if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) == ERROR_SUCCESS && owner && IsValidSid(owner))
        sid.assign(static_cast<BYTE*>(owner), static_cast<BYTE*>(owner) + GetLengthSid(owner));
    LocalFree(descriptor);
    return sid;
}

// Whether a copy may be offered in the plan's place: one that this user, or the plan's own
// owner, made. Anyone may create a file under the copy's name in a folder open to all: a
// copy of another user of Wine's (the one anonymous owner all other users share), or of
// another owner than the plan's, is no copy of this plan's saves.
bool CopyOfOwnSaves(HANDLE copy, const std::string& plan)
{
    std::vector<BYTE> owner = FileOwner(copy), user(sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE);
    HANDLE token = nullptr;
    DWORD size = 0;
    if (owner.empty() || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    const bool known = GetTokenInformation(token, TokenUser, user.data(), static_cast<DWORD>(user.size()), &size);
    CloseHandle(token);
    if (known && EqualSid(owner.data(), reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid))
        return true;
    if (IsWellKnownSid(owner.data(), WinAnonymousSid))
        return false;
    HANDLE file = OpenMeantFile(plan.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
    const std::vector<BYTE> planOwner = file == INVALID_HANDLE_VALUE ? std::vector<BYTE>() : FileOwner(file);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return planOwner == owner;
}

// Whether the file under a copy's name is one this user may read and Open would never
// offer: no live save's, nor made by this user or the plan's owner (CopyOfOwnSaves).
bool PlantedByAnother(const std::string& copy, const char* plan)
{
    HANDLE file = OpenMeantFile(copy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool planted = !MarkedAsWritten(file) && !CopyOfOwnSaves(file, plan);
    CloseHandle(file);
    return planted;
}

// A security descriptor that lets only the user running the program at a file created
// with it: a copy of a private plan is no less private than the plan.
struct OwnerOnlySecurity {
    SECURITY_ATTRIBUTES attributes = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    SECURITY_DESCRIPTOR descriptor;
    union { TOKEN_USER user; BYTE userBytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE]; };
    union { ACL acl; BYTE aclBytes[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE]; };

    // Null when the descriptor could not be made: then no copy is made either.
    SECURITY_ATTRIBUTES* Build()
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return nullptr;
        DWORD size = 0;
        BOOL known = GetTokenInformation(token, TokenUser, userBytes, sizeof userBytes, &size);
        CloseHandle(token);
        const DWORD rights = FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE;
        if (!known || !InitializeAcl(&acl, sizeof aclBytes, ACL_REVISION) ||
            !AddAccessAllowedAce(&acl, ACL_REVISION, rights, user.User.Sid) ||
            !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
            !SetSecurityDescriptorDacl(&descriptor, TRUE, &acl, FALSE) ||
            !SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
            return nullptr;
        attributes.lpSecurityDescriptor = &descriptor;
        return &attributes;
    }
};

// Opens a file for the access given, by the long path it means; only a disk file: a device
// or a pipe would be read or written for ever.
HANDLE OpenDiskFile(const std::string& path, DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING)
{
    HANDLE file = OpenMeantFile(path.c_str(), access, share, FILE_ATTRIBUTE_NORMAL, disposition);
    if (file != INVALID_HANDLE_VALUE && GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

// A name the system takes for a device wherever it stands (NUL, COM1, "LPT1.zro").
bool IsDeviceName(const char* path)
{
    char full[2 * MAX_PATH];
    DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    return length > 0 && length < sizeof full && std::string(full, length).compare(0, 4, "\\\\.\\") == 0;
}

// Every byte of one open file, from its start, into another.
bool CopyBlocks(HANDLE from, HANDLE to)
{
    static char block[64 * 1024];
    if (SetFilePointer(from, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return false;
    for (;;) {
        DWORD got = 0, put = 0;
        if (!ReadFile(from, block, sizeof block, &got, nullptr))
            return false;
        if (got == 0)
            return FlushFileBuffers(to) != FALSE;
        if (!WriteFile(to, block, got, &put, nullptr) || put != got)
            return false;
    }
}

// Opens a file to read it whole, marked as read: none that another instance writes.
HANDLE OpenToRead(const std::string& path)
{
    // Read by others too (a viewer), written by none.
    return OpenMarked(path.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, false);
}

// Takes the file's own copy out of its folder; false when it stays (another program
// holds it or another instance saves with it, or no file can be made beside it).
bool RemoveCopyName(const std::string& name, SECURITY_ATTRIBUTES* security)
{
    return !IsOwnCopy(name) || RemoveFoundName(name, kOwnFiles, security);
}

// The copy of one save, held open (shared for reading, marked as written) from its making
// until it is removed or kept.
class SaveCopy {
public:
    ~SaveCopy() { Keep(); }
    const std::string& Name() const { return name; }
    // The file that kept the copy from being made, where one other than the file did.
    const std::string& StoppedBy() const { return stoppedBy; }

    // Copies the file, read through `plan` (held open for the save), or what an earlier save
    // left of it (`leftover`), under the first of the copy's names that takes it, and takes
    // the others out of their folders; one that stays is dated before this copy, which Open
    // then offers first. `leave` (another user's copy that a stopped save left, which this
    // user may not open) is neither taken nor replaced. The copy of the file is named before
    // it is filled, so the save shows as one from its start; a leftover is read before it is
    // named.
    bool Make(const char* path, HANDLE plan, const std::string& leftover, const std::string& leave)
    {
        OwnerOnlySecurity owner;
        SECURITY_ATTRIBUTES* security = owner.Build();
        if (!security)
            return false;
        const bool nameFirst = leftover.empty();
        for (const std::string& candidate : CopyNames(path, false)) {
            // A name another file's copy holds is left to it.
            if (candidate == leave ||
                (!IsOwnCopy(candidate) && GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES))
                continue;
            HANDLE own = CreateWorkingFile(FolderOf(candidate), kOwnFiles, security);
            if (own == INVALID_HANDLE_VALUE)
                continue;
            Naming naming = nameFirst ? NameOwnFile(own, candidate) : Naming::Refused;
            HANDLE from = !nameFirst ? OpenToRead(leftover) : naming == Naming::Named ? plan : INVALID_HANDLE_VALUE;
            if (from == INVALID_HANDLE_VALUE && !nameFirst)
                stoppedBy = leftover;
            const bool made = from != INVALID_HANDLE_VALUE && CopyBlocks(from, own);
            if (from != INVALID_HANDLE_VALUE && !nameFirst)
                CloseHandle(from);
            if (made && !nameFirst)
                naming = NameOwnFile(own, candidate);
            if (made && naming == Naming::Named) {
                handle = own;
                name = candidate;
                // An older copy that stays harms nothing once this one is dated after it;
                // where that fails, the save goes no further. A copy of the file, which
                // the save has not touched, goes then; one of a leftover is kept. A file
                // that another owner left under a copy's name, which Open never offers,
                // asks no date: one dated centuries ahead, which no user can date after
                // and this one may not remove (a folder open to all), stops no save.
                ULONGLONG latest = 0;
                for (const std::string& other : CopyNames(path)) {
                    ULONGLONG written = 0;
                    if (other != candidate && (other == leave || !RemoveCopyName(other, security)) &&
                        !PlantedByAnother(other, path))
                        IsOwnCopy(other, &written);
                    if (written > latest)
                        latest = written, stoppedBy = other;
                }
                if (!latest || DateAfter(own, latest))
                    return true;
                if (nameFirst)
                    Remove();
                return false;
            }
            RemoveOwnFile(own);
            // Another instance saves the file with this copy: two saves at once would
            // leave neither whole.
            if (naming == Naming::LiveSave) {
                stoppedBy = candidate;
                return false;
            }
        }
        return false;
    }

    // The old content written back from the copy into the file, held open for the save.
    bool PutBack(HANDLE plan)
    {
        // Marked before it is cut, as every writer does.
        return MarkFile(plan, true) && SetFilePointer(plan, 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(plan) &&
               CopyBlocks(handle, plan);
    }

    void Remove()
    {
        if (handle != INVALID_HANDLE_VALUE)
            RemoveOwnFile(handle);
        handle = INVALID_HANDLE_VALUE;
    }

    // Leaves the copy under its name.
    void Keep()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::string name, stoppedBy;
};

// The file a save writes, held open (and marked as being saved) until the save ends.
struct HeldFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    ~HeldFile()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};

} // namespace

void SetSaveStageHook(SaveStageHook hook)
{
    saveStageHook = hook;
}

void ReachSaveStage(SaveStage stage)
{
    if (saveStageHook)
        saveStageHook(stage);
}

InterruptedSave FindInterruptedSave(const char* path, const WholeFileTest& readsWhole)
{
    InterruptedSave found;
    if (!path || !*path)
        return found;
    // The file's own copies, newest first: a save stopped after another left its copy
    // elsewhere, the older one is never offered in its place.
    std::vector<std::pair<ULONGLONG, std::string>> copies;
    std::vector<std::string> others;   // copies whose owner made no save of the plan
    for (const std::string& copy : CopyNames(path)) {
        ULONGLONG written = 0;
        if (!IsOwnCopy(copy, &written))
            continue;
        // A save holds its copy marked as written for as long as it runs, and lets others
        // open it to see the mark. One that another program holds unshared is an old copy
        // (a backup program's, say), not offered while it cannot be read.
        HANDLE file = OpenDiskFile(copy, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED && found.closed.empty())
            found.closed = copy;
        if (file == INVALID_HANDLE_VALUE)
            continue;
        const bool live = MarkedAsWritten(file), own = live || CopyOfOwnSaves(file, path);
        CloseHandle(file);
        if (!own)
            others.push_back(copy);
        if (live) {
            found.saving = true;
            found.copy = copy;
            return found;
        }
        copies.push_back({written, copy});
    }
    if (copies.empty() || !readsWhole || readsWhole(path))
        return found;
    // A save under way, where marks do not hold, shows no live copy, and its copy reads
    // whole while the plan does not: a plan whose save mark is held, or that was still
    // written lately once the readers' patience was spent, is being saved.
    HANDLE plan = OpenDiskFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    FileState state;
    found.saving = plan != INVALID_HANDLE_VALUE &&
                   (MarkedAsSaving(plan) || (TakeFileState(plan, &state) && WrittenLately(state)));
    if (plan != INVALID_HANDLE_VALUE)
        CloseHandle(plan);
    if (found.saving)
        return found;
    std::stable_sort(copies.begin(), copies.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& copy : copies) {
        if (!readsWhole(copy.second.c_str()))
            continue;
        const bool other = std::find(others.begin(), others.end(), copy.second) != others.end();
        if (!other) {
            found.copy = copy.second;
            break;
        }
        if (found.other.empty())
            found.other = copy.second;
    }
    if (!found.copy.empty())
        found.other.clear();
    return found;
}

bool SaveFileSafely(const char* path, const std::function<void()>& writeContent, const WholeFileTest& readsWhole,
                    std::string* stoppedBy)
{
    if (!path || !*path || IsDeviceName(path))
        return false;
    DWORD attributes = GetFileAttributesA(path);
    DWORD missing = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    // A file that cannot be looked at is not written over blindly.
    if (!replacing && missing != ERROR_FILE_NOT_FOUND && missing != ERROR_PATH_NOT_FOUND)
        return false;
    // Read-only is the file's own mark, honoured here: the write itself is let through
    // on some systems (by a privileged user, for one).
    if (replacing && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;

    // What earlier saves left is looked at first: looking reads the file, which the save
    // then holds open for writing.
    const InterruptedSave found = replacing ? FindInterruptedSave(path, readsWhole) : InterruptedSave();
    // Opened for writing before anything is made, renamed or removed: a user who may not
    // write the file, or a program of this server that keeps others from writing it, stops
    // the save here. The save's mark stays on it to the end, where every user who may write
    // the file sees it, whatever copy this user may open.
    HeldFile plan;
    if (replacing) {
        // A program of this server reading it, letting none write, is waited for as
        // readers wait for a writer.
        for (const DWORD begin = GetTickCount();
             (plan.handle = OpenDiskFile(path, GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) == INVALID_HANDLE_VALUE &&
             GetLastError() == ERROR_SHARING_VIOLATION && GetTickCount() - begin < kRereadPatience;)
            Sleep(50);
        if (plan.handle != INVALID_HANDLE_VALUE && !ReachesMeantFile(plan.handle, path))
            return false;
        const bool shared = plan.handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
        recordFileRead = shared;
        const bool alone = plan.handle != INVALID_HANDLE_VALUE && MarkSaving(plan.handle);
        // Two saves of one file at once would leave neither whole.
        if (!alone || found.saving) {
            if (stoppedBy && (shared || plan.handle != INVALID_HANDLE_VALUE))
                *stoppedBy = found.saving ? found.copy : !found.closed.empty() ? found.closed : std::string(path);
            return false;
        }
    }

    // Working files that stopped saves left, in the folders this one uses.
    RemoveLeftWorkingFiles(FolderOf(StoredPath(path)), kOwnFiles);
    char temporary[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof temporary, temporary);
    if (length > 0 && length < sizeof temporary)
        RemoveLeftWorkingFiles(temporary, kOwnFiles);

    SaveCopy copy;
    const bool fromLeftover = !found.copy.empty();
    if (replacing) {
        // No other save runs: a copy this user may not open is one a stopped save left,
        // which stays where it is, the save's own copy taking another name.
        if (!copy.Make(path, plan.handle, found.copy, found.closed)) {
            if (stoppedBy)
                *stoppedBy = copy.StoppedBy();
            return false;
        }
        ReachSaveStage(SaveStage::CopyMade);
    }
    // A file that could not be opened was not changed.
    bool opened = OpenRecordFileForWriting(path) != HFILE_ERROR;
    bool written = false;
    if (opened) {
        if (writeContent)
            writeContent();
        bool flushed = FlushRecordFile() &&
                       FlushFileBuffers(LongToHandle(planFileHandle)) != FALSE;
        bool closed = CloseRecordFile();
        written = flushed && closed && !streamWriteFailed;
    }
    if (written)
        ReachSaveStage(SaveStage::ContentWritten);
    if (!replacing) {
        // Nothing was there before: a part of the new file is no file at all.
        if (opened && !written)
            DeleteFileA(path);
        return written;
    }
    if (!opened) {
        // The file is untouched: its copy goes, unless it holds what an interrupted save
        // left, the file being the cut one.
        if (!fromLeftover)
            copy.Remove();
        return false;
    }
    if (written || copy.PutBack(plan.handle)) {
        copy.Remove();
        return written;
    }
    char text[4 * MAX_PATH];
    std::snprintf(text, sizeof text, kKeptCopyText, path, copy.Name().c_str());
    ShowMessageBox(nullptr, text, kKeptCopyCaption, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
    return false;
}
