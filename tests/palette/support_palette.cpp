#include "support/input_fixtures.h"
#include "support_palette.h"
#include "model/plan_document.h"
#include "palette/category_tabs.h"
#include "palette/symbol_bar.h"
#include "palette/tool_windows.h"
#include "palette/variant_list.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "support/frame_fixtures.h"
#include "support/test_support.h"
#include "files/ansi_names.h"
#include "tools/tool_state.h"
#include <cstdlib>
#include <filesystem>

namespace ptest {

void PaletteTest::SetUp()
{
    frame = vtest::StartShell();
    ASSERT_NE(nullptr, frame);
    applicationActive = 1;
}

void PaletteTest::TearDown()
{
    SetInputSource(vtest::DefaultTestInput());
    vtest::ForgetDocumentChanges();
    vtest::StopShell();
    // The palette's state lives for the program's run; each test starts from the start.
    activeToolTab = 0;
    variantListTool = -1;
    currentToolId = -1;
    previousToolId = 0;
    highlightedPane = hoveredToolButton = nullptr;
    swallowNextToolClick = 0;
    symbarMode = 2;
    symbarSelection = -1;
    symbarTextureFirst = 850;
    symbarTextureCount = 66;
    symbarPlantFirst = 7000;
    symbarPlantCount = 461;
    symbarFurnitureCategory = 1;
    ResetSymbarScroll();
    activeDocument = nullptr;
    activePlanPane = nullptr;
}

void PaletteTest::OpenPlan()
{
    SendMessageA(frame, WM_COMMAND, 2, 0);
    ASSERT_NE(nullptr, activeDocument);
    ASSERT_NE(nullptr, activePlanPane);
}

void PaletteTest::ShowFrame()
{
    SetWindowPos(frame, HWND_TOP, 0, 0, 1000, 720, SWP_SHOWWINDOW);
    ShowWindow(frame, SW_SHOWNORMAL);
    SetForegroundWindow(frame);
    UpdateWindow(frame);
    Pump(300);
}

void PaletteTest::Pump(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

SHORT HeldMouse::KeyState(int key)
{
    if (key == VK_LBUTTON || key == VK_RBUTTON) {
        if (key == VK_LBUTTON && polls_ > 0) {
            --polls_;
            return (SHORT)0x8000;
        }
        return 0;
    }
    for (int held : keys_)
        if (held == key)
            return (SHORT)0x8000;
    return 0;
}

BOOL HeldMouse::CursorPos(POINT* point)
{
    *point = at_;
    return TRUE;
}

void InstallToolPreviews()
{
    const std::string source = vtest::SourceDirectory();
    if (source.empty())
        return;
    std::error_code error;
    std::filesystem::copy(std::filesystem::path(WidenName(source)) / "resources" / "Tools", "Tools",
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::skip_existing,
                          error);
}

} // namespace ptest
