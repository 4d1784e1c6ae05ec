#pragma once
// Answers the program's modal loops that block the test's thread (a tracked pop-up menu,
// a dialog) from a driver thread, once a window of this process that matches appears:
// a dialog by its caption (any dialog for an empty caption) or the pop-up menu. It gives
// up after the timeout; join() waits for the thread; found() says whether the window came.
#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace vtest {

class ModalDriver {
public:
    // Dialog (class #32770) with the caption: the action runs on it.
    static ModalDriver ForDialog(const std::string& caption, std::function<void(HWND)> action,
                                 DWORD timeout = 5000);
    // The open pop-up menu (class #32768): picks the item with the text with the arrow
    // keys and Return, or dismisses the menu when text is empty.
    static ModalDriver ChooseMenuItem(const std::string& text);
    ModalDriver(ModalDriver&&) = default;
    ~ModalDriver();
    void join();
    bool found() const { return *found_; }

private:
    ModalDriver() = default;
    std::thread thread_;
    std::shared_ptr<bool> found_ = std::make_shared<bool>(false);
};

} // namespace vtest
