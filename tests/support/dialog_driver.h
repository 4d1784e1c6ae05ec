#pragma once
// Answers the modal dialogs that the code under test opens, on the test's own thread.
// Each top-level dialog, once its WM_INITDIALOG has run and its modal loop is waiting,
// gets the next queued step: the step sets fields by control id, clicks buttons and
// reads back what the dialog shows, and ends it with OK or Cancel. A dialog for which no
// step is left is ended at once with 0 and counted as unanswered, so a test never hangs.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace vtest {

class DialogDriver {
public:
    using Step = std::function<void(HWND dialog)>;
    DialogDriver();
    ~DialogDriver();
    void Queue(Step step);
    int Answered() const { return answered; }
    int Unanswered() const { return unanswered; }
    // The caption of the last dialog a step was run on.
    const std::string& LastCaption() const { return lastCaption; }

private:
    static LRESULT CALLBACK AfterCall(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void RunNext(HWND dialog);

    HHOOK hook = nullptr;
    std::vector<Step> steps;
    int answered = 0, unanswered = 0;
    std::string lastCaption;
};

// Control access by id.
void SetText(HWND dialog, int id, const char* text);
std::string Text(HWND dialog, int id);
// BM_CLICK on the control: the button's own press and release, then its notification.
void Click(HWND dialog, int id);
bool Checked(HWND dialog, int id);
bool Shown(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
// The window that has the keyboard focus, and its selection (start, end).
int FocusedId();
std::pair<int, int> FocusedSelection();
// A scroll-bar control's message (WM_HSCROLL or WM_VSCROLL) with the code.
void Scroll(HWND dialog, int id, UINT message, int code, int position = 0);

} // namespace vtest
