#include "files/safe_save.h"
#include "files/record_stream.h"
#include "shell/message_box.h"
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

const char* const kKeptCopyCaption = "Errore di salvataggio";
const char* const kKeptCopyText =
    "Il salvataggio di %s non è riuscito e il file è rimasto incompleto.\n\n"
    "Il contenuto precedente è conservato per intero nel file:\n%s";

// A complete copy, and one still being made: names no user would give a file of theirs.
const char* const kCopySuffix = ".salva";
const char* const kPartSuffix = ".salva.tmp";

SaveStageHook saveStageHook = nullptr;

void ReachStage(SaveStage stage)
{
    if (saveStageHook)
        saveStageHook(stage);
}

// Where the copies of `path` go, without their suffix: "~NAME" beside the file, or in
// the user's temporary folder "~NAME.HASH", HASH coming from the file's full path (in
// capitals, as the system compares names), so that same-named files of two folders keep
// copies of their own. Empty when there is no temporary folder.
std::string CopyStem(const char* path, bool inTemporaryFolder)
{
    std::string text(path);
    size_t cut = text.find_last_of("\\/:");
    std::string name = cut == std::string::npos ? text : text.substr(cut + 1);
    if (!inTemporaryFolder)
        return text.substr(0, text.size() - name.size()) + "~" + name;
    char folder[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        return std::string();
    char full[2 * MAX_PATH];
    DWORD fullLength = GetFullPathNameA(path, sizeof full, full, nullptr);
    if (fullLength == 0 || fullLength >= sizeof full)
        fullLength = static_cast<DWORD>(std::snprintf(full, sizeof full, "%s", path));
    CharUpperBuffA(full, fullLength);
    uint32_t hash = 2166136261u;
    for (DWORD i = 0; i < fullLength; ++i)
        hash = (hash ^ static_cast<uint8_t>(full[i])) * 16777619u;
    char tail[16];
    std::snprintf(tail, sizeof tail, ".%08X", static_cast<unsigned>(hash));
    return std::string(folder) + "~" + name + tail;
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

// Every byte of one open file after the other, to its end.
bool CopyBlocks(HANDLE from, HANDLE to)
{
    static char block[64 * 1024];
    for (;;) {
        DWORD got = 0, put = 0;
        if (!ReadFile(from, block, sizeof block, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        if (!WriteFile(to, block, got, &put, nullptr) || put != got)
            return false;
    }
}

// Writes the whole content of `source` into `target`, flushed to the disk. An existing
// target is written in place (TRUNCATE_EXISTING: opened through its links, cut, written,
// so it keeps the permissions and owner the system gave it); a new one (CREATE_NEW) gets
// the given security.
bool CopyContentInto(const char* source, const char* target, DWORD disposition = TRUNCATE_EXISTING,
                     SECURITY_ATTRIBUTES* security = nullptr)
{
    HANDLE from = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (from == INVALID_HANDLE_VALUE)
        return false;
    HANDLE to = CreateFileA(target, GENERIC_WRITE, 0, security, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool copied = false;
    if (to != INVALID_HANDLE_VALUE) {
        copied = CopyBlocks(from, to) && FlushFileBuffers(to);
        copied = CloseHandle(to) && copied;
    }
    CloseHandle(from);
    return copied;
}

// Copies `path` whole under its copy's final name, beside it or else in the temporary
// folder; the name is given only once the copy is complete. Returns the copy, or empty.
std::string MakeCopy(const char* path)
{
    OwnerOnlySecurity owner;
    SECURITY_ATTRIBUTES* security = owner.Build();
    if (!security)
        return std::string();
    for (bool inTemporaryFolder : {false, true}) {
        const std::string stem = CopyStem(path, inTemporaryFolder);
        if (stem.empty())
            continue;
        const std::string part = stem + kPartSuffix, copy = stem + kCopySuffix;
        DeleteFileA(part.c_str());
        if (CopyContentInto(path, part.c_str(), CREATE_NEW, security) &&
            MoveFileExA(part.c_str(), copy.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return copy;
        DeleteFileA(part.c_str());
    }
    return std::string();
}

// Every copy of `path`, whole or partial, in both places.
void RemoveCopies(const char* path)
{
    for (bool inTemporaryFolder : {false, true}) {
        const std::string stem = CopyStem(path, inTemporaryFolder);
        if (stem.empty())
            continue;
        DeleteFileA((stem + kCopySuffix).c_str());
        DeleteFileA((stem + kPartSuffix).c_str());
    }
}

} // namespace

void SetSaveStageHook(SaveStageHook hook)
{
    saveStageHook = hook;
}

std::string FindInterruptedSaveCopy(const char* path)
{
    if (!path || !*path)
        return std::string();
    for (bool inTemporaryFolder : {false, true}) {
        const std::string stem = CopyStem(path, inTemporaryFolder);
        if (stem.empty())
            continue;
        const std::string copy = stem + kCopySuffix;
        DWORD attributes = GetFileAttributesA(copy.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return copy;
    }
    return std::string();
}

bool SaveFileSafely(const char* path, const std::function<void()>& writeContent)
{
    if (!path || !*path)
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

    std::string copy;
    bool copyMadeHere = false;
    if (replacing) {
        copy = FindInterruptedSaveCopy(path);
        if (copy.empty()) {
            copy = MakeCopy(path);
            if (copy.empty())
                return false;
            copyMadeHere = true;
        }
        ReachStage(SaveStage::CopyMade);
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
        ReachStage(SaveStage::ContentWritten);
    if (!replacing) {
        // Nothing was there before: a part of the new file is no file at all.
        if (opened && !written)
            DeleteFileA(path);
        return written;
    }
    if (!opened) {
        // The file is untouched: the copy made for this save goes, but one that an
        // interrupted save left stays, since the file may be the cut one.
        if (copyMadeHere)
            RemoveCopies(path);
        return false;
    }
    if (written || CopyContentInto(copy.c_str(), path)) {
        RemoveCopies(path);
        return written;
    }
    char text[4 * MAX_PATH];
    std::snprintf(text, sizeof text, kKeptCopyText, path, copy.c_str());
    ShowMessageBox(nullptr, text, kKeptCopyCaption, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
    return false;
}
