#include <windows.h>
#include "shell/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int showCommand)
{
    return RunVelmora(instance, previous, ArgumentsOfCommandLine(GetCommandLineW()), showCommand);
}
