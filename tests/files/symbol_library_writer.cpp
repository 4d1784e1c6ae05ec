// Writes, with the program's own writer, the 2D and 3D symbol libraries the program reads
// at start-up. A tool beside the tests, not a test:
//   symbol_library_writer DIR   DIR\OBJECTS\SYMBOL2D\*.ZTM and DIR\OBJECTS\SYMBOL3D\*.ZTM
//                               (DIR the source folder: the shipped copies)
#include "support_symbol_library.h"
#include "model/plan_document.h"
#include "shell/app_globals.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    argv = vtest::ArgumentsInCodePage(argc);
    if (argc != 2) {
        std::fprintf(stderr, "usage: symbol_library_writer DIR\n");
        return 2;
    }
    const std::string root = vtest::WindowsPath(argv[1]);
    // The writer saves the active document's first storey, as a plan pane would show it.
    HWND pane = vtest::CreatePaneStandIn();
    activePlanPane = pane;
    PlanDocument* document = CreatePlanDocument();
    const bool written = document && ftest::WriteSymbolLibraries(root);
    if (document)
        FreePlanDocument(document);
    activeDocument = nullptr;
    activePlanPane = nullptr;
    if (pane)
        DestroyWindow(pane);
    if (!written) {
        std::fprintf(stderr, "not written: %s\n", root.c_str());
        return 1;
    }
    std::printf("written: %s\\OBJECTS\n", root.c_str());
    return 0;
}
