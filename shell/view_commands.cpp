#include "shell/view_commands.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "shell/file_dialogs.h"
#include "shell/frame_window.h"
#include "shell/live_view_commands.h"
#include "shell/message_box.h"
#include "shell/selection_commands.h"
#include "dialogs/common_values.h"
#include "dialogs/grid_elevation_dialogs.h"
#include "dialogs/storey_units_dialogs.h"
#include "files/profile_file.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "model3d/rebuild_driver.h"
#include "palette/category_tabs.h"
#include "palette/symbol_bar.h"
#include "planview/plan_background.h"
#include "planview/plan_mouse_dispatch.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "planview/view_origin.h"
#include "render3d/render_window.h"
#include "render3d/scene_upkeep.h"
#include "render3d/selvith_window.h"
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

const char* const fewColoursMessage =
    "La visualizzazione migliore di Selvith prevede 65.000 o più colori. Per una performance ottimale, "
    "impostare la risoluzione del display a 16 bit High Color (65.000 colori).";

static PlanDocument* DocumentWithSettings()
{
    PlanDocument* document = activeDocument;
    return document && document->settings ? document : nullptr;
}

void PlanZoomCommand(int command)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    PlanSettings* settings = document->settings;
    if (command == 5028) {
        settings->zoom = 1.0f;
        ResetWorkingElevationAndRedraw();
        if (GetCameraPresetCommand() == ViewTop)
            settings->zoomTopView = 1.0f;
        else
            settings->zoomOtherViews = 1.0f;
    } else {
        settings->zoom = 0.6f;
        ResetWorkingElevationAndRedraw();
        settings->zoomTopView = 0.6f;
        InvalidatePlanView();
    }
}

void PlanSizeCommand()
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    PlanSettings* settings = document->settings;
    if (!RunLotSizeDialog(settings) || !activePlanPane)
        return;
    // The plan border's centre in the middle of the pane, at the zoom the plan has now.
    int centreX = static_cast<int>((settings->extentLeft + settings->extentRight) / 2.0f);
    int centreY = static_cast<int>((settings->extentTop + settings->extentBottom) / 2.0f);
    SetZoom(settings, centreX, centreY, 1);
    if (document->horizontalScrollBar && document->verticalScrollBar)
        UpdatePlanScrollBars(document->horizontalScrollBar, document->verticalScrollBar);
    InvalidatePlanView();
}

void CameraPresetCommand(int command)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    PlanSettings* settings = document->settings;
    float pitch = 90.0f, yaw = 0.0f;
    uint8_t alternate = 0;
    switch (command) {
    case ViewTop:
        perspectiveScale = 1.0f;
        break;
    case 5150:
        pitch = 270.0f;
        perspectiveScale = 6.0f;
        break;
    case ViewAerialPreset:
        pitch = 0.0f;
        yaw = 315.0f;
        alternate = 1;
        perspectiveScale = 6.0f;
        viewOrigin.x = settings->cameraX;
        viewOrigin.z = settings->cameraZ;
        break;
    case ViewOther:
        pitch = 20.0f;
        yaw = 330.0f;
        settings->zoom = settings->zoomOtherViews;
        break;
    case ViewPerspectivePreset:
        pitch = 20.0f;
        yaw = settings->cameraHeading;
        alternate = 1;
        perspectiveScale = 1.0f;
        settings->zoom = settings->zoomOtherViews;
        break;
    default:
        return;
    }
    viewPitchDegrees = pitch;
    viewYawDegrees = yaw;
    perspectiveOn = alternate;
    ApplyViewAngles(pitch, yaw, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin, perspectiveOn);

    if (command == ViewTop || command == 5150) {
        settings->viewPlane = 2;
        PlanFloor* sheet = FindFloorByNumber(static_cast<uint32_t>(command));
        if (sheet && sheet != document->currentViewSheet) {
            document->currentViewSheet = sheet;
            SelectCurrentFloor(sheet);
            InvalidatePlanView();
        }
        return;
    }
    RevertToSelectTool(0);
    ResetWorkingElevation();
    InvalidatePlanView();
}

// Which storeys exist, which are shown and which is active, by their names.
struct Storeys {
    PlanFloor* floor[3];
    bool shown[3];
    int active; // 1 to 3
};

static Storeys ReadStoreys()
{
    static const char* const names[3] = {"First Floor", "Second Floor", "Third Floor"};
    Storeys storeys = {};
    storeys.active = 1;
    for (int i = 0; i < 3; ++i) {
        storeys.floor[i] = FindFloorByName(names[i]);
        storeys.shown[i] = storeys.floor[i] ? storeys.floor[i]->shown != 0 : i == 0;
        if (storeys.floor[i] && storeys.floor[i]->active)
            storeys.active = i + 1;
    }
    return storeys;
}

static void DeselectObjectsOf(PlanFloor* floor)
{
    for (PlanObject* object = floor->firstObject; object; object = object->next)
        SelectObjectPoints(object, kSelectDeselect, 0);
}

// The shown floors that hold objects, in order: what the live view is built from. (A
// storey's first switch to the top view makes its view sheet, empty.)
static std::vector<const PlanFloor*> ShownFloors(const PlanDocument* document)
{
    std::vector<const PlanFloor*> shown;
    for (const PlanFloor* floor = document->firstFloor; floor; floor = floor->next)
        if (floor->shown && floor->firstObject)
            shown.push_back(floor);
    return shown;
}

void StoreyCommand(int command)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    const std::vector<const PlanFloor*> shownBefore = ShownFloors(document);
    Storeys storeys = ReadStoreys();
    switch (command) {
    case 5275:
    case 5276:
    case 5277:
        storeys.active = command - 5274;
        storeys.shown[storeys.active - 1] = true;
        break;
    case 5278:
        storeys.shown[0] = storeys.shown[1] = storeys.shown[2] = true;
        break;
    case 5279:
        for (int i = 0; i < 3; ++i)
            storeys.shown[i] = i == storeys.active - 1;
        break;
    default:
        return;
    }
    for (int i = 0; i < 3; ++i) {
        PlanFloor* floor = storeys.floor[i];
        if (!floor)
            continue;
        floor->shown = storeys.shown[i] ? 1 : 0;
        if (i == storeys.active - 1) {
            floor->active = 1;
            document->currentFloor = floor;
        } else {
            floor->active = 0;
            DeselectObjectsOf(floor);
        }
    }
    if (document->currentFloor)
        document->currentFloor->shown = 1;

    if (GetCameraPresetCommand() == ViewTop) {
        PlanFloor* sheet = FindFloorByNumber(ViewTop);
        if (sheet) {
            document->currentViewSheet = sheet;
            SelectCurrentFloor(sheet);
        }
        DeactivateDocumentChild();
        ForEachFloorObject(document->firstFloor, 0, SuspendTextEditors, nullptr);
    }
    ResetWorkingElevation();
    RefreshWorkingElevationValue(document);
    InvalidatePlanView();
    // Working on another storey changes nothing the live view shows unless a storey is
    // shown or hidden.
    if (ShownFloors(document) != shownBefore)
        RebuildAll3D();
    if (command <= 5277 && document->measurementStrip)
        InvalidateRect(document->measurementStrip, nullptr, TRUE);
}

void CeilingHeightCommand(int command)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    RunCeilingHeightDialog(document->settings, command - 5155);
    RebuildAll3D();
    InvalidatePlanView();
    RefreshWorkingElevationValue(document);
}

void TracingImageCommand(HWND frame, int command)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    PlanSettings* settings = document->settings;
    bool hasPath = settings->tracingImagePath[0] != 0;
    switch (command) {
    case 5280:
        ChooseImageFileToOpen(frame);
        std::snprintf(fileNameBuffer, FileNameBufferSize, "%s", "*.BMP");
        if (ChooseTracingImageFile(frame, fileNameBuffer, fileTitleBuffer)) {
            settings->tracingScaleX = 1.0f;
            settings->tracingScaleY = 1.0f;
            std::snprintf(settings->tracingImagePath, sizeof settings->tracingImagePath, "%s", fileNameBuffer);
            settings->tracingImageShown = 1;
            if (activePlanPane)
                RedrawWindow(activePlanPane, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        }
        break;
    case 5281:
        if (settings->tracingImageShown)
            settings->tracingImageShown = 0;
        else if (hasPath)
            settings->tracingImageShown = 1;
        else if (frame)
            SendMessageA(frame, WM_COMMAND, 5280, 0);
        break;
    case 5282:
        if (hasPath) {
            RunTracingImageResizeDialog();
            settings->tracingImageShown = 1;
        } else if (frame) {
            SendMessageA(frame, WM_COMMAND, 5280, 0);
        }
        break;
    }
    InvalidatePlanView();
}

void StyleChoiceCommand(int command)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    document->settings->styleChoice = static_cast<uint16_t>(command);
    ApplyStyleChoice5054(document->settings);
    ForEachFloorObject(document->firstFloor, 0, kStyleChoiceNone, document->settings);
    ForEachFloorObject(document->firstFloor, 0, static_cast<uint32_t>(command), document->settings);
    InvalidatePlanView();
}

void DisplayFormatCommand(int command)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    document->settings->displayFormat = static_cast<uint16_t>(command);
    ApplyDisplayFormatChoice(document->settings);
    ForEachFloorObject(document->firstFloor, 0, static_cast<uint32_t>(command), document->settings);
    InvalidatePlanView();
}

void EndMarkCommand(int command)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    document->settings->endMarkChoice = static_cast<uint16_t>(command);
    ApplyEndMarkChoice(document->settings);
    ForEachFloorObject(document->firstFloor, 0, static_cast<uint32_t>(command), document->settings);
    InvalidatePlanView();
}

void DisplayModeCommand(int command)
{
    PlanDocument* document = DocumentWithSettings();
    if (!document)
        return;
    uint16_t mode = static_cast<uint16_t>(command - 5162);
    if (document->settings->view3DMode == mode)
        return;
    document->settings->view3DMode = mode;
    if (toolBarWindow)
        InvalidateRect(toolBarWindow, nullptr, TRUE);
    if (command == 5163 || command == 5167) {
        RebuildAll3D();
        RedrawRenderWindow();
    }
}

void DocumentToolBarCommand()
{
    PlanDocument* document = DocumentWithSettings();
    if (!document || !activePlanPane)
        return;
    document->settings->toolBarFlag = document->settings->toolBarFlag ? 0 : 1;
    HWND window = GetParent(activePlanPane);
    RECT client;
    if (window && GetClientRect(window, &client))
        SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

// The videos are played by a companion that this program does not have.
static void PlayVideosHook(HWND) {}

void VideoFolderCommand(HWND frame)
{
    if (!DocumentWithSettings())
        return;
    if (GetCameraPresetCommand() != ViewTop && frame)
        SendMessageA(frame, WM_COMMAND, ViewTop, 0);
    char preferences[MAX_PATH + 64];
    std::snprintf(preferences, sizeof preferences, "%s%s", programDirectory ? programDirectory : "",
                  preferencesFileName);
    wchar_t folder[MAX_PATH];
    ReadProfileSettings(preferences, [&folder](const wchar_t* from) {
        GetPrivateProfileStringW(L"Paths", L"Videos", L"Done", folder, MAX_PATH, from);
    });
    bool changed = std::wcscmp(folder, L"Done") != 0 && SetCurrentDirectoryW(folder);
    PlayVideosHook(frame);
    if (changed && programDirectory)
        SetCurrentDirectoryA(programDirectory);
}

void ToggleLiveViewCommand(HWND frame)
{
    if (!DocumentWithSettings())
        return;
    // The first use makes the view, which then counts as just shown.
    const bool created = !selvithWindow && CreateLiveView(frame);
    if (!renderWindow || !selvithWindow)
        return;
    static bool coloursChecked = false;
    bool topView = GetCameraPresetCommand() == ViewTop;
    if (!created && IsWindowVisible(selvithWindow)) {
        if (!topView)
            ShowWindow(selvithWindow, SW_HIDE);
    } else {
        if (!coloursChecked) {
            coloursChecked = true;
            HDC dc = activePlanPane ? GetDC(activePlanPane) : nullptr;
            if (dc) {
                int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
                ReleaseDC(activePlanPane, dc);
                if (bits < 9)
                    ShowMessageBox(nullptr, fewColoursMessage, applicationTitle, MB_TASKMODAL);
            }
        }
        if (topView && frame)
            SendMessageA(frame, WM_COMMAND, 5189, 0);
        else
            ShowWindow(selvithWindow, SW_SHOW);
    }
    if (toolBarWindow)
        InvalidateRect(toolBarWindow, nullptr, TRUE);
}

void WorkOnCategoryCommand(int command)
{
    uint16_t previous = activeToolTab;
    activeToolTab = static_cast<uint16_t>(command - 5343);
    LayoutToolPanes(previous, activeToolTab);
}

void SideBarModeCommand(int command)
{
    switch (command) {
    case 5246: symbarMode = 1; break;
    case 5247: symbarMode = 2; break;
    case 5248: symbarMode = 3; break;
    case 5249: symbarMode = 2; break;
    case 5250: symbarMode = 6; break;
    case 5251: symbarMode = 4; break;
    case 5332: symbarMode = 8; break;
    default: return;
    }
    if (command == 5248)
        FillSymbarFromLibraryFolder();
    else if (command == 5250)
        IgnoreSymbarCommand(command);
    else
        LayoutSymbar();
    if (symbolBarWindow)
        InvalidateRect(symbolBarWindow, nullptr, TRUE);
}
