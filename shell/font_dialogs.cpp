#include "shell/font_dialogs.h"
#include "shell/app_globals.h"
#include "tools/text_layout_font.h"
#include <dlgs.h>
#include <cstring>

COLORREF fontColour = 0;

static FontDialogHook fontDialogHook = nullptr;
static void* fontDialogHookContext = nullptr;

void SetFontDialogHook(FontDialogHook hook, void* context)
{
    fontDialogHook = hook;
    fontDialogHookContext = context;
}

// The system lists the process's private fonts with its own: the copies of the faces that
// the text controls lay their texts out in are taken out of the list of faces.
static UINT_PTR CALLBACK LeaveOutTextLayoutFaces(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return 0;
    HWND faces = GetDlgItem(dialog, cmb1);
    for (LRESULT i = SendMessageA(faces, CB_GETCOUNT, 0, 0) - 1; i >= 0; --i) {
        char face[LF_FACESIZE] = {};
        if (SendMessageA(faces, CB_GETLBTEXTLEN, i, 0) < LF_FACESIZE &&
            SendMessageA(faces, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(face)) > 0 && IsTextLayoutFace(face))
            SendMessageA(faces, CB_DELETESTRING, i, 0);
    }
    return TRUE;
}

// The dialog works on a copy, so a cancel leaves the font record as it was.
static int ChooseFontInto(HWND owner, LOGFONTA* font)
{
    LOGFONTA working = *font;
    CHOOSEFONTA record;
    std::memset(&record, 0, sizeof record);
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpLogFont = &working;
    record.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;
    record.lpfnHook = LeaveOutTextLayoutFaces;
    BOOL chosen = fontDialogHook ? fontDialogHook(&record, fontDialogHookContext) : ChooseFontA(&record);
    if (!chosen)
        return 0;
    working.lfFaceName[LF_FACESIZE - 1] = 0;
    // Should a copy be chosen all the same, its name is never stored: it is the face it
    // copies.
    ReplaceTextLayoutFace(&working, true);
    *font = working;
    fontColour = record.rgbColors;
    return 1;
}

int ChooseDimensionFont(HWND owner)
{
    return ChooseFontInto(owner, &dimensionLogFont);
}

int ChooseTextFont(HWND owner)
{
    return ChooseFontInto(owner, &textLogFont);
}
