#include "shell/grid_property_sheet.h"

#include <windows.h>
#include <commctrl.h>

#include "dialogs/grid_elevation_dialogs.h"
#include "shell/app_globals.h"
#include "resources/resource_ids.h"

int ShowGridPropertySheet()
{
    PROPSHEETPAGEA pages[2] = {};
    const int templates[2] = {IDD_GRID_SPACING, IDD_GRID_STYLE};
    const DLGPROC procedures[2] = {GridSpacingDlgProc, GridStyleDlgProc};
    for (int k = 0; k < 2; ++k) {
        pages[k].dwSize = sizeof pages[k];
        pages[k].hInstance = hInstance;
        pages[k].pszTemplate = MAKEINTRESOURCEA(templates[k]);
        pages[k].pfnDlgProc = procedures[k];
    }
    PROPSHEETHEADERA sheet = {};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    sheet.hwndParent = frameWindow;
    sheet.hInstance = hInstance;
    sheet.pszCaption = "Proprietà griglia";
    sheet.nPages = 2;
    sheet.ppsp = pages;
    return static_cast<int>(PropertySheetA(&sheet));
}
