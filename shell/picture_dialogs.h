#pragma once
#include <windows.h>

// The about box and the picture dialog: one empty dialog template (2002) that shows a
// picture of the program directory at its natural size and closes on a click.
enum { PictureDialogTemplate = 2002, PictureDialogWidth = 506, PictureDialogHeight = 356 };

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PictureDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
