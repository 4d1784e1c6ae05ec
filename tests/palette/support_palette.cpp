#include "support_palette.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "palette/category_tabs.h"
#include "palette/symbol_bar.h"
#include "palette/tool_windows.h"
#include "palette/variant_list.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/startup.h"
#include "tools/tool_state.h"
#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace ptest {

namespace {

HWND FindOwnWindow(const char* className, const std::string& caption)
{
    HWND found = nullptr;
    struct Search {
        const char* className;
        const std::string* caption;
        HWND* found;
    } search = {className, &caption, &found};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            char name[64] = "";
            GetClassNameA(window, name, sizeof name);
            if (process != GetCurrentProcessId() || strcmp(name, s->className) != 0 ||
                !IsWindowVisible(window))
                return TRUE;
            char text[128] = "";
            GetWindowTextA(window, text, sizeof text);
            if (!s->caption->empty() && *s->caption != text)
                return TRUE;
            *s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return found;
}

HWND WaitForWindow(const char* className, const std::string& caption, DWORD timeout = 5000)
{
    for (DWORD waited = 0; waited < timeout; waited += 20) {
        if (HWND window = FindOwnWindow(className, caption))
            return window;
        Sleep(20);
    }
    return nullptr;
}

} // namespace

void PaletteTest::SetUp()
{
    ASSERT_TRUE(InitStartupState(GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(RegisterWindowClasses(GetModuleHandleA(nullptr)));
    PrepareFrameResources();
    frame = CreateFrameWindow();
    ASSERT_NE(nullptr, frame);
    applicationActive = 1;
}

void PaletteTest::TearDown()
{
    SetInputSource(nullptr);
    for (HWND child = mdiClientWindow ? GetWindow(mdiClientWindow, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT))
        if (PlanDocument* document = GetWindowDocument(child))
            if (document->settings)
                document->settings->modified = 0;
    if (frameWindow && IsWindow(frameWindow))
        DestroyWindow(frameWindow);
    frameWindow = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    if (frameMenu) {
        DestroyMenu(frameMenu);
        frameMenu = nullptr;
    }
    for (const char* name : windowClassNames)
        UnregisterClassA(name, GetModuleHandleA(nullptr));
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

Driver Driver::ForDialog(const std::string& caption, std::function<void(HWND)> action,
                         DWORD timeout)
{
    Driver driver;
    auto found = driver.found_;
    driver.thread_ = std::thread([caption, action, found, timeout]() {
        HWND dialog = WaitForWindow("#32770", caption, timeout);
        if (!dialog)
            return;
        *found = true;
        action(dialog);
    });
    return driver;
}

Driver Driver::ChooseMenuItem(const std::string& text)
{
    Driver driver;
    auto found = driver.found_;
    driver.thread_ = std::thread([text, found]() {
        HWND menuWindow = WaitForWindow("#32768", "");
        if (!menuWindow)
            return;
        *found = true;
        Sleep(100);
        if (text.empty()) {
            PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
            return;
        }
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        int downs = 0;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char item[128] = "";
            GetMenuStringA(menu, i, item, sizeof item, MF_BYPOSITION);
            UINT state = GetMenuState(menu, i, MF_BYPOSITION);
            if (state & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED))
                continue;
            ++downs;
            if (text == item)
                break;
        }
        for (int i = 0; i < downs; ++i) {
            PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
            Sleep(30);
        }
        PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
    });
    return driver;
}

Driver::~Driver()
{
    if (thread_.joinable())
        thread_.join();
}

void Driver::join()
{
    if (thread_.joinable())
        thread_.join();
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
    const char* dir = std::getenv("VELMORA_SOURCE_DIR");
    if (!dir)
        return;
    // The host's path as Wine shows it, on drive Z:.
    std::string source = std::string("Z:") + dir;
    std::error_code error;
    std::filesystem::copy(std::filesystem::path(source) / "resources" / "Tools", "Tools",
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::skip_existing,
                          error);
}

COLORREF PixelOf(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

} // namespace ptest
