// Opens each plan named through the frame's Open command (answering Yes to a question),
// draws lines on it and saves it with the Save command, or exports it to DRAWING; prints
// for each the objects it opened with, the captions of the messages shown and "saved" when
// the save showed none, for the save tests to check from the file system. A tool beside
// the tests, not a test:
//   plan_resaver [-add LINES] [-stop copy|write|written|hold] [-dxf DRAWING] [-read FILE] PLAN...
// -stop ends the program as a kill would: once the copy is made, half-way through the
// write, or once the new plan is written; hold waits for ever once the copy is made.
// -read holds FILE open for reading throughout, as a viewer or a backup program does.
#include "files/record_stream.h"
#include "files/safe_save.h"
#include "model/plan_document.h"
#include "shell/command_dispatcher.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

static SaveStage stopStage;
static bool holding;

static UINT WINAPI StopHalfWay(HFILE file, const void* data, UINT count)
{
    _lwrite(file, static_cast<const char*>(data), count / 2);
    ExitProcess(3);
}

int main(int argc, char** argv)
{
    // A crash must end the tool, not open Wine's debugger dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    int lines = 1, i = 1;
    const char *stop = "", *drawing = nullptr, *read = "";
    for (; i + 1 < argc && argv[i][0] == '-'; i += 2)
        std::strcmp(argv[i], "-add") ? (void)(*(!std::strcmp(argv[i], "-dxf") ? &drawing
                                                : !std::strcmp(argv[i], "-read") ? &read : &stop) = argv[i + 1])
                                     : (void)(lines = std::atoi(argv[i + 1]));
    if (*read)   // held to the end
        CreateFileA(read, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    holding = !std::strcmp(stop, "hold");
    stopStage = std::strcmp(stop, "copy") && !holding ? SaveStage::ContentWritten : SaveStage::CopyMade;
    HWND frame = shelltest::StartShell();
    for (; frame && i < argc; ++i) {
        shelltest::FileDialogAnswers dialogs;
        vtest::MessageBoxRecorder boxes;
        dialogs.Choose(argv[i]);
        if (drawing)
            dialogs.Choose(drawing);
        shelltest::SendCommand(frame, FrameCommandOpen);
        std::printf("%s: %d objects;", argv[i], shelltest::CountObjects(activeDocument));
        for (int line = 0; line < lines; ++line)
            shelltest::AddLine(shelltest::Storey("First Floor"), {{-40, 70.0f + line}, {60, 70}});
        SetRecordFileWriteFunction(std::strcmp(stop, "write") ? nullptr : StopHalfWay);
        if (*stop)
            SetSaveStageHook([](SaveStage stage) {
                stage != stopStage ? (void)0 : holding ? Sleep(INFINITE) : ExitProcess(3);
            });
        size_t before = boxes.Count();
        shelltest::SendCommand(frame, drawing ? 5095 : FrameCommandSave);
        for (const auto& box : boxes.Boxes())
            std::printf(" %s;", box.caption.c_str());
        std::printf("%s\n", boxes.Count() == before ? " saved" : "");
    }
    shelltest::ForgetDocumentChanges();
    shelltest::StopShell();
    return frame ? 0 : 1;
}
