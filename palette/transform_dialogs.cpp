#include "palette/transform_dialogs.h"

// The Move and Rotation dialogs are not there yet: both report "Annuler".
int RunMoveDialog(int, int)
{
    return 0;
}

int RunRotationDialog(int)
{
    return 0;
}
