// Opens each plan named through the frame's Open command, draws a line on it and saves
// it with the Save command; prints for each "saved" or the caption of the message the
// save showed, for plan_saves.test.sh to check from the file system. A tool beside the
// tests, not a test:
//   plan_resaver PLAN...
#include "shell/command_dispatcher.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <cstdio>

int main(int argc, char** argv)
{
    // A crash must end the tool, not open Wine's debugger dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    HWND frame = shelltest::StartShell();
    for (int i = 1; frame && i < argc; ++i) {
        shelltest::FileDialogAnswers dialogs;
        vtest::MessageBoxRecorder boxes;
        dialogs.Choose(argv[i]);
        shelltest::SendCommand(frame, FrameCommandOpen);
        shelltest::AddLine(shelltest::Storey("First Floor"), {{-40, 70}, {60, 70}});
        shelltest::SendCommand(frame, FrameCommandSave);
        std::printf("%s: %s\n", argv[i], boxes.Count() ? boxes.Last().caption.c_str() : "saved");
    }
    shelltest::ForgetDocumentChanges();
    shelltest::StopShell();
    return frame ? 0 : 1;
}
