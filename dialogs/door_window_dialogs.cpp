#include "dialogs/door_window_dialogs.h"

uint8_t windowMirrorHorizontal = 0;
uint8_t windowMirrorVertical = 0;

// The door and window dialogs are not there yet: both report a cancel.
int RunDoorDialog(PlanSettings*)
{
    return 0;
}

int RunWindowDialog(PlanSettings*)
{
    return 0;
}

// The object editors are not there yet: a cancel.
void EditSelectedDoor(PlanObject*, PlanSettings*) {}
void EditSelectedWindow(PlanObject*, PlanSettings*) {}
