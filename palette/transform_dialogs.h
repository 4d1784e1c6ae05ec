#pragma once

// The Move and Rotation dialogs on the selected objects of every floor; 1 after OK,
// 0 after "Annuler". Their arguments are not used.
int RunMoveDialog(int unused1, int unused2);
int RunRotationDialog(int unused);
