#include "shell/colour_commands.h"
#include "shell/app_globals.h"
#include "dialogs/dimension_colour_dialogs.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "planview/plan_redraw.h"
#include <commdlg.h>
#include <cstring>

static ColourTriple* ColourOfCommand(PlanSettings* settings, int command)
{
    switch (command) {
    case 5019: return &settings->foregroundColour;
    case 5030: return &settings->backgroundColour;
    case 5265: return &settings->foregroundColour;
    case 5297: return &settings->inactiveColour;
    case 5298: return &settings->reservedColour1348;
    }
    return nullptr;
}

bool ChooseColour(HWND owner, ColourTriple* colour)
{
    CHOOSECOLORA record;
    std::memset(&record, 0, sizeof record);
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.hInstance = reinterpret_cast<HWND>(hInstance);
    record.rgbResult = RGB(colour->red / 257, colour->green / 257, colour->blue / 257);
    record.lpCustColors = customColours;
    record.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&record))
        return false;
    colour->red = static_cast<uint16_t>(GetRValue(record.rgbResult) * 257);
    colour->green = static_cast<uint16_t>(GetGValue(record.rgbResult) * 257);
    colour->blue = static_cast<uint16_t>(GetBValue(record.rgbResult) * 257);
    return true;
}

void PlanColourCommand(HWND frame, int command)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    PlanSettings* settings = document->settings;
    ColourTriple* colour = ColourOfCommand(settings, command);
    if (!colour)
        return;
    HWND owner = command == 5019 ? activePlanPane : frame;
    if (!ChooseColour(owner, colour))
        return;
    if (command == 5019) {
        settings->commonProperties.colourA = *colour;
        ForEachFloorObject(document->firstFloor, 1, ApplyPenColour, settings);
    }
    InvalidatePlanView();
    if (command != 5019)
        SavePlanColours();
}

void PresetColourCommand(HWND frame)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    PlanSettings* settings = document->settings;
    ColourTriple colour = settings->foregroundColour;
    if (!PickColour(frame, settings, &colour))
        return;
    settings->foregroundColour = colour;
    settings->commonProperties.colourA = colour;
    ForEachFloorObject(document->firstFloor, 0, ApplyPenColour, settings);
    InvalidatePlanView();
}

void ResetColoursCommand()
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    static PlanSettings defaults;
    InitPlanSettings(&defaults);
    PlanSettings* settings = document->settings;
    settings->foregroundColour = defaults.foregroundColour;
    settings->backgroundColour = defaults.backgroundColour;
    settings->inactiveColour = defaults.inactiveColour;
    settings->reservedColour1348 = defaults.reservedColour1348;
    InvalidatePlanView();
    SavePlanColours();
}
