#include "shell/picture_dialogs.h"
#include "shell/app_globals.h"
#include "files/picture_files.h"
#include <cstdio>

static INT_PTR PictureDialog(HWND dialog, UINT message, const char* pictureName)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowPos(dialog, nullptr, (screenWidth - PictureDialogWidth) / 2,
                     (screenHeight - PictureDialogHeight) / 2, PictureDialogWidth, PictureDialogHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        FreeCachedDib();
        return TRUE;
    case WM_PAINT: {
        char path[MAX_PATH + 32];
        std::snprintf(path, sizeof path, "%s%s", programDirectory ? programDirectory : "", pictureName);
        return PaintDibFileWindow(dialog, path) ? TRUE : FALSE;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        FreeCachedDib();
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    return PictureDialog(dialog, message, "\\Z!QW.ZSI");
}

INT_PTR CALLBACK PictureDlgProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    return PictureDialog(dialog, message, "\\Z!.SID");
}
