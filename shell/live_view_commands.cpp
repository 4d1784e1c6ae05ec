#include "shell/live_view_commands.h"

// The live 3D view is not there yet: its commands do nothing.
void LiveViewCommand(HWND, int) {}
