#include "dialogs/zone_map_dialog.h"
#include "files/picture_files.h"

char zoneMapPicturePath[ZoneMapPathSize];

INT_PTR CALLBACK HardinessZoneMapDlgProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        FreeCachedDib();
        const int width = 506, height = 356;
        int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
    case WM_PAINT:
        return PaintDibFileWindow(dialog, zoneMapPicturePath) ? TRUE : FALSE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        FreeCachedDib();
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}
