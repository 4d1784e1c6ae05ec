// Keeps a Wine environment's desktop up for as long as the environment runs.
//
// Wine starts the desktop process (explorer.exe /desktop) for the first program of a session
// that needs a window, waits 10 s for it, and ends it a second after the last program using
// the desktop has gone, so each program of a run that has the desktop to itself starts it
// anew. On a busy machine that start can take longer than the wait: the program's first
// window then fails at once ("The explorer process failed to start"), and so do all its
// others. The environment starts this program as it starts, waits for its word, and leaves
// it running until it stops: no later program waits on the desktop's start.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // A message-only window needs the desktop as any window does, yet no one sees it,
    // enumerates it or reaches it by a broadcast.
    if (!CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr))
        return 1;
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "ready\n", 6, &written, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
