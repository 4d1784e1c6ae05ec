#include "model/plan_document.h"
#include "files/ansi_names.h"
#include "files/kept_paths.h"
#include "files/profile_file.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "render3d/scene_upkeep.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/message_box.h"
#include <stdio.h>
#include <string.h>
#include <string>

PlanDocument* activeDocument = nullptr;
HWND activePlanPane = nullptr;

PlanDocument* CreatePlanDocument()
{
    PlanDocument* document = AllocateRecordOf<PlanDocument>();
    if (!document)
        return nullptr;
    activeDocument = document;
    PlanFloor* first = CreateFloor("First Floor", 1, 1, nullptr);
    if (first) {
        document->firstFloor = first;
        document->currentFloor = first;
        PlanFloor* previous = first;
        const char* const upperNames[2] = {"Second Floor", "Third Floor"};
        for (const char* name : upperNames) {
            PlanFloor* floor = CreateFloor(name, 1, 0, nullptr);
            if (!floor)
                break;
            floor->previous = previous;
            previous->next = floor;
            previous = floor;
        }
    } else {
        MessageBeep(0);
    }
    document->currentViewSheet = nullptr;
    document->toolBar = toolBarWindow;
    document->settings = CreatePlanSettings();
    document->lastEditKind = -1;
    document->measuringLineEnds[0] = -144.0f;
    document->measuringLineEnds[1] = 0.0f;
    document->measuringLineEnds[2] = 144.0f;
    document->measuringLineEnds[3] = 0.0f;
    return document;
}

void FreePlanDocument(PlanDocument* document)
{
    if (!document)
        return;
    ForgetSceneOfPlan(document);
    PlanFloor* floor = document->firstFloor;
    document->firstFloor = nullptr;
    document->currentFloor = nullptr;
    document->currentViewSheet = nullptr;
    while (floor) {
        PlanFloor* nextFloor = floor->next;
        FreeFloorObjects(floor);
        ReleaseRecord(floor);
        floor = nextFloor;
    }
    if (document->settings) {
        FreePlanSettings(document->settings);
        document->settings = nullptr;
    }
    ReleaseRecord(document->filePath);
    document->filePath = nullptr;
    ReleaseRecord(document->fileLongPath);
    document->fileLongPath = nullptr;
    KeepMeantPath(document, nullptr, std::wstring(), false);
    if (activeDocument == document) {
        activeDocument = nullptr;
        activePlanPane = nullptr;
    }
    ReleaseRecord(document);
}

PlanDocument* GetWindowDocument(HWND documentWindow)
{
    if (!documentWindow || !IsWindow(documentWindow))
        return nullptr;
    HWND pane = reinterpret_cast<HWND>(GetWindowLongPtrA(documentWindow, 0));
    if (!pane || !IsWindow(pane))
        return nullptr;
    return reinterpret_cast<PlanDocument*>(GetWindowLongPtrA(pane, 0));
}

// ---------------------------------------------------------------------------------
// Plan colours in the preferences file.

struct ColourKey {
    const char* section;
    ColourTriple PlanSettings::*field;
    ColourTriple fallback;
};

static const ColourKey kColourKeys[3] = {
    {"ForegroundColor", &PlanSettings::foregroundColour, {0, 16448, 34952}},
    {"BackgroundColor", &PlanSettings::backgroundColour, {63736, 63736, 65535}},
    {"InactiveColor", &PlanSettings::inactiveColour, {53456, 59624, 65535}},
};

// The preferences file of the program directory, or false when there is none.
static bool PreferencesPath(char* path, size_t size)
{
    if (!programDirectory || !programDirectory[0])
        return false;
    const char* name = preferencesFileName[0] ? preferencesFileName : "\\Z!PREFS.INI";
    int written = snprintf(path, size, "%s%s", programDirectory, name);
    return written > 0 && static_cast<size_t>(written) < size;
}

// The active document's settings whose colours the preferences file keeps, with the
// file's path; null when there is no document or no file.
static PlanSettings* ColourPreferences(char* path, size_t size)
{
    if (!activeDocument || !activeDocument->settings)
        return nullptr;
    if (!PreferencesPath(path, size))
        return nullptr;
    return activeDocument->settings;
}

void LoadPlanColours()
{
    char path[MAX_PATH + 64];
    PlanSettings* settings = ColourPreferences(path, sizeof(path));
    if (!settings)
        return;
    ReadProfileSettings(path, [settings](const wchar_t* from) {
        for (const ColourKey& key : kColourKeys) {
            ColourTriple& colour = settings->*key.field;
            const std::wstring section = WidenName(key.section);
            const auto read = [&](const wchar_t* name, uint16_t fallback) {
                return static_cast<uint16_t>(GetPrivateProfileIntW(section.c_str(), name, fallback, from));
            };
            colour.red = read(L"Red", key.fallback.red);
            colour.green = read(L"Green", key.fallback.green);
            colour.blue = read(L"Blue", key.fallback.blue);
        }
    });
}

// Said once in a run: every colour change after a failed write would fail the same way.
static const char* const kPreferencesNotSavedText = "Impossibile salvare le preferenze in %s";
static bool preferencesFailureShown = false;

void SavePlanColours()
{
    char path[MAX_PATH + 64];
    PlanSettings* settings = ColourPreferences(path, sizeof(path));
    if (!settings)
        return;
    ProfileSetting keys[9];
    ProfileSetting* key = keys;
    for (const ColourKey& colour : kColourKeys) {
        const ColourTriple& value = settings->*colour.field;
        *key++ = {colour.section, "Red", std::to_string(value.red)};
        *key++ = {colour.section, "Green", std::to_string(value.green)};
        *key++ = {colour.section, "Blue", std::to_string(value.blue)};
    }
    TakeMisdirectedPath();
    if (WriteProfileSettings(path, keys, 9) || preferencesFailureShown)
        return;
    preferencesFailureShown = true;
    // Named by its long path where the short form reached a neighbour's file instead.
    const std::wstring misdirected = TakeMisdirectedPath();
    if (!misdirected.empty()) {
        ShowMessageBoxNaming(nullptr, kPreferencesNotSavedText, misdirected, applicationTitle,
                             MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
        return;
    }
    char text[sizeof path + 64];
    snprintf(text, sizeof text, kPreferencesNotSavedText, path);
    ShowMessageBox(nullptr, text, applicationTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}
