#include <windows.h>
#include "shell/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    return RunVelmora(instance, previous, commandLine, showCommand);
}
