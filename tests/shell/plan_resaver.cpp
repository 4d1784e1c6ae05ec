// Opens each plan named through the frame's Open command (answering Yes to a question),
// draws lines on it and saves it with the Save command, or Save As NEW, or exports it to
// DRAWING (a "#" in its name numbered for each plan, from 1); prints
// for each the objects it opened with, the captions of the messages shown (of plain ones the
// text) and "saved" when the save showed none, for the save tests to check from the file
// system. A tool beside the tests, not a test:
//   plan_resaver [-add LINES] [-stop copy|write|written|hold|pause] [-dxf DRAWING] [-as NEW] [-read[0|7] FILE] [-wait GO]
//                [-pause-read GO] [-moving-read FILE] [-hold-copy GO] [-locks ERROR] PLAN...
// -stop ends the program as a kill would: once the copy is made, half-way through the
// write, or once the new plan is written; hold (pause) waits for ever once the copy is made
// (half-way through the write), printing "held". -read holds FILE open for reading throughout,
// as a viewer or a backup program does, sharing reading (0 nothing, 7 all). -wait: each
// plan opened, waits until the file GO exists. -pause-read: before the first plan file is
// opened for reading, and once its first part is read or it is about to be read again,
// prints "paused" and waits until GO exists, which it then removes. -moving-read: another
// program writes FILE during every read of it, which moves its date. -hold-copy: once the
// copy is made, prints "copied" and waits until GO exists. -locks: every byte-range lock fails with the system error
// ERROR, as on a file system that refuses them.
#include "files/file_marks.h"
#include "files/record_stream.h"
#include "files/safe_save.h"
#include "files/whole_reads.h"
#include "model/plan_document.h"
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

static SaveStage stopStage;
static bool holding;
static const char* readGo = "";
static const char* copyGo = "";
static const char* moving = "";

static void Stop()
{
    holding ? std::printf(" held\n"), std::fflush(stdout), Sleep(INFINITE) : ExitProcess(3);
}

static UINT WINAPI StopHalfWay(HFILE file, const void* data, UINT count)
{
    _lwrite(file, static_cast<const char*>(data), count / 2);
    Stop();
    return 0;
}

int main(int argc, char** argv)
{
    argv = vtest::ArgumentsInCodePage(argc);
    // A crash must end the tool, not open Wine's debugger dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    int lines = 1, i = 1;
    const char *stop = "", *drawing = nullptr, *read = "", *wait = "", *sharing = "", *locks = "", *as = nullptr;
    for (; i + 1 < argc && argv[i][0] == '-'; i += 2)
        sharing = std::strncmp(argv[i], "-read", 5) ? sharing : argv[i] + 5,
        std::strcmp(argv[i], "-add") ? (void)(*(!std::strcmp(argv[i], "-dxf") ? &drawing : !std::strcmp(argv[i], "-as") ? &as
                                                : !std::strncmp(argv[i], "-read", 5) ? &read
                                                : !std::strcmp(argv[i], "-wait") ? &wait
                                                : !std::strcmp(argv[i], "-pause-read") ? &readGo
                                                : !std::strcmp(argv[i], "-moving-read") ? &moving
                                                : !std::strcmp(argv[i], "-hold-copy") ? &copyGo
                                                : !std::strcmp(argv[i], "-locks") ? &locks : &stop) = argv[i + 1])
                                     : (void)(lines = std::atoi(argv[i + 1]));
    if (*read)   // held to the end
        CreateFileA(read, GENERIC_READ, *sharing ? *sharing - '0' : FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, 0);
    static DWORD lockError = std::atoi(locks);
    if (lockError)
        SetLockFunction([](HANDLE, DWORD, DWORD, DWORD, DWORD, LPOVERLAPPED) { return SetLastError(lockError), FALSE; });
    holding = !std::strcmp(stop, "hold") || !std::strcmp(stop, "pause");
    stopStage = std::strcmp(stop, "copy") && std::strcmp(stop, "hold") ? SaveStage::ContentWritten : SaveStage::CopyMade;
    if (*readGo)
        SetReadStageHook([](ReadStage stage) {
            static bool paused[2];   // at the opening, then at the first part read or the first read again
            if (paused[stage != ReadStage::Opening])
                return;
            paused[stage != ReadStage::Opening] = true;
            for (std::printf("paused\n"), std::fflush(stdout); !DeleteFileA(readGo);)
                Sleep(20);
        });
    if (*moving)
        SetReadStageHook([](ReadStage stage) {
            static FILETIME date = {0, 0x01D00000};
            HANDLE file = CreateFileA(moving, FILE_WRITE_ATTRIBUTES, 7, nullptr, OPEN_EXISTING, 0, nullptr);
            stage == ReadStage::PartRead && (++date.dwLowDateTime, SetFileTime(file, nullptr, nullptr, &date));
            CloseHandle(file);
        });
    HWND frame = shelltest::StartShell();
    const int count = argc - i;
    for (; frame && i < argc; ++i) {
        shelltest::FileDialogAnswers dialogs;
        vtest::MessageBoxRecorder boxes;
        dialogs.Choose(argv[i]);
        std::string numbered = drawing ? drawing : "";   // "#" in DRAWING: the plan's number, from 1
        if (numbered.find('#') != std::string::npos)
            numbered.replace(numbered.find('#'), 1, std::to_string(i - (argc - 1) + count));
        if (drawing || as)
            dialogs.Choose(drawing ? numbered.c_str() : as);
        shelltest::SendCommand(frame, FrameCommandOpen);
        std::printf("%s: %d objects;", argv[i], shelltest::CountObjects(activeDocument));
        for (std::fflush(stdout); *wait && GetFileAttributesA(wait) == INVALID_FILE_ATTRIBUTES;)
            Sleep(20);
        for (int line = 0; line < lines; ++line)
            shelltest::AddLine(shelltest::Storey("First Floor"), {{-40, 70.0f + line}, {60, 70}});
        SetRecordFileWriteFunction(std::strcmp(stop, "write") && std::strcmp(stop, "pause") ? nullptr : StopHalfWay);
        if (*stop)
            SetSaveStageHook([](SaveStage stage) { stage != stopStage ? (void)0 : Stop(); });
        if (*copyGo)
            SetSaveStageHook([](SaveStage stage) {
                if (stage != SaveStage::CopyMade)
                    return;
                for (std::printf(" copied"), std::fflush(stdout); GetFileAttributesA(copyGo) == INVALID_FILE_ATTRIBUTES;)
                    Sleep(20);
            });
        size_t before = boxes.Count();
        shelltest::SendCommand(frame, drawing ? 5095 : as ? FrameCommandSaveAs : FrameCommandSave);
        for (const auto& box : boxes.Boxes())
            std::printf(" %s;", (box.caption == applicationTitle ? box.text : box.caption).c_str());
        std::printf("%s\n", boxes.Count() == before ? " saved" : "");
    }
    shelltest::ForgetDocumentChanges();
    shelltest::StopShell();
    return frame ? 0 : 1;
}
