#include "shell/font_dialogs.h"
#include "shell/app_globals.h"
#include <cstring>

COLORREF fontColour = 0;

static FontDialogHook fontDialogHook = nullptr;
static void* fontDialogHookContext = nullptr;

void SetFontDialogHook(FontDialogHook hook, void* context)
{
    fontDialogHook = hook;
    fontDialogHookContext = context;
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
    record.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    BOOL chosen = fontDialogHook ? fontDialogHook(&record, fontDialogHookContext) : ChooseFontA(&record);
    if (!chosen)
        return 0;
    working.lfFaceName[LF_FACESIZE - 1] = 0;
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
