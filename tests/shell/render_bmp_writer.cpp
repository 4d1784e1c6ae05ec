// Writes, with the program's own export, a render of a red box saved as render.bmp and
// the pixels of that render (read from the window's back buffer as RGB rows, bottom
// first) as render.rgb, for render_bmp_export.test.sh to compare with a reader of its
// own. A tool beside the tests, not a test:
//   render_bmp_writer DIR
#include "files/render_bmp_export.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model3d/rebuild_driver.h"
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include "support_commands.h"
#include "support_shell.h"
#include <GL/gl.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

bool WriteRender(const std::string& folder)
{
    HWND frame = shelltest::StartShell();
    if (!frame)
        return false;
    shelltest::SetFrameClientSize(frame, 1000, 700);
    // The view counts as shown only in a shown frame.
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    shelltest::SendCommand(frame, FrameCommandNew);
    if (!activeDocument)
        return false;
    shelltest::SendCommand(frame, 5270);
    PlanObject* box = vtest::MakePointObject(8, activeDocument->firstFloor,
                                             {{-60, 0, -60}, {60, 0, -60}, {60, 0, 60}, {-60, 0, 60},
                                              {-60, -120, -60}, {60, -120, -60}, {60, -120, 60}, {-60, -120, 60}},
                                             0, 1);
    box->rows = 2;
    box->colourA = box->colourB = {65535, 0, 0};
    PlanSettings* settings = activeDocument->settings;
    settings->backgroundTextureId = 0;
    settings->paintTextureId = 0;
    settings->cameraX = 0;
    settings->cameraZ = 400;
    settings->cameraHeading = 0;
    RebuildAll3D();
    shelltest::SizeRenderClient(101, 50);
    ExportRenderBmp((folder + "\\render.bmp").c_str());
    std::vector<unsigned char> pixels(101 * 50 * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 101, 50, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    const bool written = vtest::WriteFileBytes(folder + "\\render.rgb", pixels);
    shelltest::ForgetDocumentChanges();
    shelltest::StopShell();
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    argv = vtest::ArgumentsInCodePage(argc);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_bmp_writer DIR\n");
        return 2;
    }
    // A crash must end the tool, not open Wine's debugger dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    if (!WriteRender(argv[1])) {
        std::fprintf(stderr, "not written: %s\n", argv[1]);
        return 1;
    }
    std::printf("written: %s\n", argv[1]);
    return 0;
}
