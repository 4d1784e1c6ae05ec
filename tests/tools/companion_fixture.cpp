// A stand-in for the furniture editor: writes the command line it was started with into
// "Z!TOVRL.CMD" beside itself, then ends.
#include <windows.h>
#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = std::strrchr(path, '\\');
    if (!slash)
        return 1;
    std::strcpy(slash + 1, "Z!TOVRL.CMD");
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return 1;
    std::fputs(GetCommandLineA(), f);
    std::fclose(f);
    return 0;
}
