#include "shell/help_commands.h"
#include "shell/app_globals.h"
#include "shell/picture_dialogs.h"
#include "dialogs/zone_map_dialog.h"
#include <cstdio>
#include <cstring>

void HelpCommand(HWND frame, int command)
{
    switch (command) {
    case 5111: {
        char path[HelpFilePathSize];
        std::snprintf(path, sizeof path, "%s", helpFilePath);
        size_t length = std::strlen(path);
        if (length < 4) {
            WinHelpA(frame, path, HELP_CONTENTS, 0);
            break;
        }
        // The contents file is the help file with "CNT" for the last three letters.
        char contents[HelpFilePathSize];
        std::snprintf(contents, sizeof contents, "%s", path);
        std::memcpy(contents + length - 3, "CNT", 3);
        WinHelpA(frame, path, HELP_FINDER, reinterpret_cast<ULONG_PTR>(contents));
        break;
    }
    case 5112:
        WinHelpA(frame, "WINHELP.HLP", HELP_CONTENTS, 0);
        break;
    case 5200:
        WinHelpA(frame, helpFilePath, HELP_KEY, reinterpret_cast<ULONG_PTR>("Quick Tips/Design Shortcuts"));
        break;
    case 5201:
        WinHelpA(frame, helpFilePath, HELP_KEY, reinterpret_cast<ULONG_PTR>("Customer Service"));
        break;
    case 5218:
        WinHelpA(frame, helpFilePath, HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(""));
        break;
    }
}

void AboutCommand(HWND frame)
{
    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(2002), frame, AboutDlgProc, 0);
}

void ZoneMapCommand(HWND frame, int command)
{
    static const char* const maps[5] = {
        "\\ZONES\\USA.HZN", "\\ZONES\\AKHI.HZN", "\\ZONES\\EUROPE.HZN", "\\ZONES\\CANADA.HZN",
        "\\ZONES\\AUSTRALIA.HZN",
    };
    if (command < 5356 || command > 5360 || !programDirectory)
        return;
    int length = std::snprintf(zoneMapPicturePath, ZoneMapPathSize, "%s%s", programDirectory,
                               maps[command - 5356]);
    if (length < 0 || length >= ZoneMapPathSize)
        return;
    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(2002), frame, HardinessZoneMapDlgProc, 0);
}
