#include "shell/message_box.h"

unsigned long shownMessageBoxCount = 0;
int openMessageBoxCount = 0;

static MessageBoxHook messageBoxHook = nullptr;
static void* messageBoxHookContext = nullptr;

void SetMessageBoxHook(MessageBoxHook hook, void* context)
{
    messageBoxHook = hook;
    messageBoxHookContext = context;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT flags)
{
    ++shownMessageBoxCount;
    if (messageBoxHook)
        return messageBoxHook(owner, text ? text : "", caption ? caption : "", flags, messageBoxHookContext);
    ++openMessageBoxCount;
    const int answer = MessageBoxA(owner, text, caption, flags);
    --openMessageBoxCount;
    return answer;
}
