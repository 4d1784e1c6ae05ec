// Opens each plan named through the frame's Open command (answering Yes to a question),
// draws lines on it and saves it with the Save command, or exports it to DRAWING; prints
// for each the objects it opened with, the captions of the messages shown (the text of
// plain ones) and "saved" when the save showed none, for the save tests to check from the
// file system. A plan that did not open is not saved. A tool beside the tests, not a test:
//   plan_resaver [-add LINES] [-stop copy|write|written|hold|pause] [-dxf DRAWING]
//                [-read|-hold|-view FILE] [-wait FILE] PLAN...
// -stop ends the program as a kill would: once the copy is made, half-way through the
// write, or once the new plan is written; hold waits for ever once the copy is made, pause
// half-way through the write, each printing "held" then.
// -read, -hold and -view hold FILE open for reading throughout, as a viewer or a backup
// program does, sharing reading, nothing, or everything. -wait waits, once each plan is
// open, until FILE exists.
#include "files/record_stream.h"
#include "files/safe_save.h"
#include "model/plan_document.h"
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static SaveStage stopStage;
static bool holding;

static void Hold()
{
    std::printf(" held\n");
    std::fflush(stdout);
    Sleep(INFINITE);
}

static UINT WINAPI StopHalfWay(HFILE file, const void* data, UINT count)
{
    _lwrite(file, static_cast<const char*>(data), count / 2);
    holding ? Hold() : ExitProcess(3);
    return 0;
}

int main(int argc, char** argv)
{
    // A crash must end the tool, not open Wine's debugger dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    int lines = 1, i = 1;
    const char *stop = "", *drawing = nullptr, *wait = nullptr;
    for (; i + 1 < argc && argv[i][0] == '-'; i += 2) {
        const std::string option = argv[i];
        const DWORD sharing = option == "-read" ? FILE_SHARE_READ : option == "-hold" ? 0
                              : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        if (option == "-read" || option == "-hold" || option == "-view")   // held to the end
            CreateFileA(argv[i + 1], GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        else if (option == "-add")
            lines = std::atoi(argv[i + 1]);
        else
            *(option == "-dxf" ? &drawing : option == "-wait" ? &wait : &stop) = argv[i + 1];
    }
    holding = !std::strcmp(stop, "hold") || !std::strcmp(stop, "pause");
    stopStage = std::strcmp(stop, "copy") && std::strcmp(stop, "hold") ? SaveStage::ContentWritten
                                                                       : SaveStage::CopyMade;
    HWND frame = shelltest::StartShell();
    for (; frame && i < argc; ++i) {
        shelltest::FileDialogAnswers dialogs;
        vtest::MessageBoxRecorder boxes;
        dialogs.Choose(argv[i]);
        if (drawing)
            dialogs.Choose(drawing);
        shelltest::SendCommand(frame, FrameCommandOpen);
        std::printf("%s: %d objects;", argv[i], shelltest::CountObjects(activeDocument));
        std::fflush(stdout);
        // A plain message (not read, being saved) says the Open opened nothing.
        bool opened = activeDocument != nullptr;
        for (const auto& box : boxes.Boxes())
            opened = opened && box.caption != applicationTitle;
        while (wait && GetFileAttributesA(wait) == INVALID_FILE_ATTRIBUTES)
            Sleep(20);
        for (int line = 0; opened && line < lines; ++line)
            shelltest::AddLine(shelltest::Storey("First Floor"), {{-40, 70.0f + line}, {60, 70}});
        const bool halfWay = !std::strcmp(stop, "write") || !std::strcmp(stop, "pause");
        SetRecordFileWriteFunction(halfWay ? StopHalfWay : nullptr);
        if (*stop && !halfWay)
            SetSaveStageHook([](SaveStage stage) {
                stage != stopStage ? (void)0 : holding ? Hold() : ExitProcess(3);
            });
        size_t before = boxes.Count();
        if (opened)
            shelltest::SendCommand(frame, drawing ? 5095 : FrameCommandSave);
        for (const auto& box : boxes.Boxes())
            std::printf(" %s;", (box.caption == applicationTitle ? box.text : box.caption).c_str());
        std::printf("%s\n", opened && boxes.Count() == before ? " saved" : "");
    }
    shelltest::ForgetDocumentChanges();
    shelltest::StopShell();
    return frame ? 0 : 1;
}
