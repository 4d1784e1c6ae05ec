#include "shell/startup.h"

int RunVelmora(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
