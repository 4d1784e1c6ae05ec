#include "support/modal_driver.h"
#include <cstring>

namespace vtest {

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

ModalDriver ModalDriver::ForDialog(const std::string& caption, std::function<void(HWND)> action,
                         DWORD timeout)
{
    ModalDriver driver;
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

ModalDriver ModalDriver::ChooseMenuItem(const std::string& text)
{
    ModalDriver driver;
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
        // The arrow keys step past separators only: a grayed item takes a step too.
        int downs = 0;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char item[128] = "";
            GetMenuStringA(menu, i, item, sizeof item, MF_BYPOSITION);
            if (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR)
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

ModalDriver::~ModalDriver()
{
    if (thread_.joinable())
        thread_.join();
}

void ModalDriver::join()
{
    if (thread_.joinable())
        thread_.join();
}

} // namespace vtest
