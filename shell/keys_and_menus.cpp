#include "shell/keys_and_menus.h"

void HandlePlanKeyDown(WPARAM, LPARAM) {}
void UpdateMenus() {}
