#include "shell/printing.h"
#include <cstring>

PRINTDLGA printDialog;

void InitPrintDefaults()
{
    std::memset(&printDialog, 0, sizeof printDialog);
    // The record's own size on this build: the dialog refuses any other.
    printDialog.lStructSize = sizeof printDialog;
    printDialog.Flags = PD_RETURNDC | PD_COLLATE | PD_NOSELECTION;
    printDialog.nFromPage = 1;
    printDialog.nToPage = 1;
    printDialog.nMinPage = 1;
    printDialog.nMaxPage = 1;
    printDialog.nCopies = 1;
}

// Printing itself is not there yet: both report that nothing was printed.
int PrintPlanFitToPage(HINSTANCE, HWND)
{
    return 1;
}

int PrintPlanToScale(HINSTANCE, HWND)
{
    return 1;
}
