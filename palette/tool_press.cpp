#include "palette/tool_press.h"
#include "dialogs/dimension_colour_dialogs.h"
#include "dialogs/storey_units_dialogs.h"
#include "dialogs/terrain_camera_dialogs.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "model3d/rebuild_driver.h"
#include "model3d/scene_polygons.h"
#include "palette/symbol_bar.h"
#include "palette/tool_popups.h"
#include "palette/tool_windows.h"
#include "palette/transform_dialogs.h"
#include "palette/variant_list.h"
#include "planview/input_gdi.h"
#include "planview/labels_and_fills.h"
#include "planview/plan_background.h"
#include "planview/plan_mouse_dispatch.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include "shell/app_globals.h"
#include "shell/camera_presets.h"
#include "shell/frame_window.h"
#include "shell/message_box.h"
#include "tools/tool_state.h"

namespace {

const int kTextTool = 203;
const int kDimensionTool = 202;
const int kInteriorWallTool = 7051;
const int kFloorButton = 3300;

const char kNoPlanQuestion[] =
    "Non sono aperte finestre di disegno. Per usare questi strumenti occorre aprire un disegno "
    "esistente oppure creare un nuovo disegno. Creare un nuovo disegno?";

// What a momentary button does when it is released over itself: a frame command, or a
// switch of the side bar to a mode under a variant-list key.
struct MomentaryAction {
    int tool;
    int command;
    int sideBarMode;
    int sideBarKey;
};

const MomentaryAction kMomentaryActions[] = {
    {400, 5189, 0, 0},  {401, 5190, 0, 0},  {3300, 0, 0, 0},     {3400, 0, 2, 5247},
    {3401, 0, 8, 5332}, {3402, 0, 1, 5246}, {3403, 0, 7, 5328},  {3430, 5253, 0, 0},
    {3431, 5286, 0, 0}, {3432, 5325, 0, 0}, {3433, 5285, 0, 0},  {3450, 5322, 0, 0},
    {3500, 5257, 0, 0}, {3501, 5258, 0, 0}, {3502, 5259, 0, 0},  {3503, 5260, 0, 0},
    {7061, 0, 3, 5248}, {7512, 0, 4, 5251},
};

const MomentaryAction* MomentaryActionOf(int tool)
{
    for (const MomentaryAction& action : kMomentaryActions)
        if (action.tool == tool)
            return &action;
    return nullptr;
}

struct CursorRow {
    int first;
    int last;
    int cursor;
};

const CursorRow kToolCursors[] = {
    {7051, 7051, WallCursorIndex}, {7052, 7053, DoorCursorIndex}, {7054, 7054, WindowCursorIndex},
    {7059, 7059, FloorCursorIndex}, {7300, 7300, RoofCursorIndex}, {7502, 7502, PathCursorIndex},
    {7503, 7503, FillCursorIndex},  {7504, 7504, EdgingCursorIndex}, {7505, 7505, FenceCursorIndex},
    {7506, 7506, GateCursorIndex},  {7510, 7511, TopoCursorIndex},
};

void SetPaneCursor(HCURSOR cursor)
{
    if (activePlanPane && cursor)
        SetClassLongPtrA(activePlanPane, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
}

void SendFrameCommand(int command)
{
    if (frameWindow)
        SendMessageA(frameWindow, WM_COMMAND, (WPARAM)command, 0);
}

void RepaintNow(HWND window)
{
    if (window)
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// The strip that holds a creation or general tool, or null.
HWND StripOfTool(int tool)
{
    struct Range {
        int first;
        int last;
        int strip;
    };
    static const Range ranges[] = {{200, 206, 0},   {7000, 7004, 1}, {7050, 7061, 2},
                                   {7100, 7117, 3}, {7200, 7211, 4}, {7300, 7306, 5},
                                   {7400, 7407, 6}, {7500, 7512, 7}, {7600, 7605, 8},
                                   {7700, 7707, 9}};
    for (const Range& range : ranges)
        if (tool >= range.first && tool <= range.last)
            return frameToolWindows[range.strip];
    return nullptr;
}

bool IsCreationStrip(HWND strip)
{
    const ToolPaneDescriptor* d = ToolStripDescriptor(strip);
    return d && d->kind >= 10 && d->kind <= 18;
}

// The top view for the text and dimension tools: camera, current view sheet, and the
// sheet made the current floor when the camera was elsewhere. True when the plan needs a
// repaint.
bool SwitchToTopView()
{
    unsigned char changed = 0;
    ResetCameraToTopView(&changed);
    PlanFloor* sheet = FindFloorByNumber(ViewTop);
    activeDocument->currentViewSheet = sheet;
    if (changed && sheet) {
        SelectCurrentFloor(sheet);
        return true;
    }
    return false;
}

// The variant list takes the side bar's place for a creation tool of another group.
void ShowVariantsOf(HWND button, uint16_t tool)
{
    if (!IsCreationStrip(GetParent(button)) || tool == (uint16_t)variantListTool || !variantListWindow)
        return;
    variantListTool = (short)tool;
    ShowPopList(variantListWindow);
    if (symbolBarWindow && IsWindowVisible(symbolBarWindow)) {
        ShowWindow(variantListWindow, SW_SHOWNA);
        SetWindowPos(variantListWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(symbolBarWindow, SW_HIDE);
    }
}

void SwitchSideBarTo(const MomentaryAction& action)
{
    SelectSymbarMode(action.sideBarMode);
    bool viewButton = action.tool >= 3400 && action.tool <= 3403;
    if (viewButton && renderWindow && selvithWindow) {
        if (!IsWindowVisible(selvithWindow)) {
            ShowWindow(selvithWindow, SW_SHOW);
            if (scene3DOutOfDate)
                RebuildAll3D();
            InvalidateRect(renderWindow, nullptr, FALSE);
        }
        SetWindowPos(selvithWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    variantListTool = (short)action.sideBarKey;
    if (action.tool == 7061)
        FillSymbarFromLibraryFolder();
    else
        LayoutSymbar();
    if (variantListWindow && IsWindowVisible(variantListWindow) && symbolBarWindow) {
        ShowWindow(symbolBarWindow, SW_SHOWNA);
        SetWindowPos(symbolBarWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(variantListWindow, SW_HIDE);
    }
}

// Holds a momentary button until the mouse is released; acts when it is released over it.
void TrackMomentaryButton(HWND button, int tool)
{
    const MomentaryAction* action = MomentaryActionOf(tool);
    RECT rect;
    GetClientRect(button, &rect);
    OffsetRect(&rect, 1, 1);
    bool inside = true;
    if (tool != kFloorButton) {
        while (IsMouseButtonDown()) {
            POINT cursor = {0, 0};
            CurrentInput().CursorPos(&cursor);
            ScreenToClient(button, &cursor);
            HDC dc = GetDC(button);
            if (dc) {
                DPtoLP(dc, &cursor, 1);
                ReleaseDC(button, dc);
            }
            inside = PtInRect(&rect, cursor) != 0;
        }
    }
    if (!inside || !action)
        return;
    if (tool == kFloorButton)
        ShowFloorPopup(button);
    else if (action->command)
        SendFrameCommand(action->command);
    else
        SwitchSideBarTo(*action);
}

// The defaults a door, opening or window press resets, kept across SelectToolById.
struct OpeningDefaults {
    uint16_t doorStyle;
    float values[4];
};

} // namespace

void SetToolCursor(int toolId)
{
    if (!activePlanPane)
        return;
    for (const CursorRow& row : kToolCursors)
        if (toolId >= row.first && toolId <= row.last)
            SetPaneCursor(namedCursors[row.cursor]);
}

void HandleToolButtonPress(ToolButtonRecord* record, HWND button, UINT, LPARAM)
{
    if (!record)
        return;
    const uint16_t tool = record->toolId;
    ShowVariantsOf(button, tool);
    if (!activeDocument) {
        if (ShowMessageBox(frameWindow, kNoPlanQuestion, applicationTitle,
                           MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) == IDYES)
            SendFrameCommand(2);
        return;
    }
    PlanSettings* settings = activeDocument->settings;
    if (!settings)
        return;

    const short previous = currentToolId;
    if (tool != (uint16_t)currentToolId) {
        if (renderWindow)
            SetClassLongPtrA(renderWindow, GCLP_HCURSOR,
                             reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
        previousToolId = currentToolId;
        currentToolId = (short)tool;
        HWND old = highlightedPane;
        highlightedPane = button;
        hoveredToolButton = button;
        RepaintNow(old);
        RepaintNow(button);
        if (activePlanPane) {
            if (tool == kTextTool) {
                SetPaneCursor(LoadCursorA(nullptr, IDC_IBEAM));
                SetSelectionAllFloors(activeDocument->firstFloor, 2, 1);
            } else if (tool == 205) {
                SetPaneCursor(namedCursors[ZoomCursorIndex]);
            } else if (tool == 201) {
                SetPaneCursor(namedCursors[RotateCursorIndex]);
            } else if (tool == 204) {
                SetPaneCursor(namedCursors[HandCursorIndex]);
            } else if (tool == 206) {
                SetPaneCursor(LoadCursorA(nullptr, IDC_CROSS));
                SendFrameCommand(5259);
            } else if (tool < kDimensionTool) {
                SetPaneCursor(LoadCursorA(nullptr, IDC_ARROW));
            } else {
                SetPaneCursor(LoadCursorA(nullptr, IDC_CROSS));
                SetToolCursor(tool);
            }
        }
    }

    if (activeDocument->firstFloor) {
        bool repaint = false;
        if (currentToolId == kTextTool) {
            if (!(previous == kTextTool && activeDocument->currentViewSheet)) {
                ForEachFloorObject(activeDocument->firstFloor, 0, ResumeTextEditors, nullptr);
                repaint = SwitchToTopView() || repaint;
            }
            if ((settings->zoom < 0.95f || settings->zoom > 1.05f) && activePlanPane && frameWindow) {
                settings->zoom = 1.0f;
                ResetWorkingElevationAndRedraw();
                if (GetCameraPresetCommand() == ViewTop)
                    settings->zoomTopView = 1.0f;
                else
                    settings->zoomOtherViews = 1.0f;
                viewProjectionScale = 1.0f;
                repaint = true;
            }
        } else {
            DeactivateDocumentChild();
            if (currentToolId != previous && previous == kTextTool) {
                ForEachFloorObject(activeDocument->firstFloor, 0, SuspendTextEditors, nullptr);
                SetSelectionAllFloors(activeDocument->firstFloor, 2, 1);
            }
            switch (currentToolId) {
            case 7052:
            case 7053:
                settings->doorStyle = currentToolId == 7052 ? 500 : 501;
                settings->doorWidth = 30.0f;
                settings->doorHeight = 80.0f;
                settings->doorCasingWidth = 3.0f;
                break;
            case 7054:
                settings->windowWidth = 36.0f;
                settings->windowHeight = 56.0f;
                settings->windowElevation = 24.0f;
                settings->windowCasingWidth = 3.0f;
                break;
            case kDimensionTool:
                repaint = SwitchToTopView() || repaint;
                break;
            default:
                if (MomentaryActionOf(currentToolId)) {
                    TrackMomentaryButton(button, currentToolId);
                    RevertToSelectTool(1);
                }
                break;
            }
        }
        if (repaint)
            InvalidatePlanView();
    }

    if (currentToolId != previous) {
        if (previous == kInteriorWallTool) {
            InvalidatePlanView();
        } else if (currentToolId == kInteriorWallTool && activePlanPane && activeDocument) {
            HDC dc = GetDC(activePlanPane);
            if (dc) {
                HighlightExteriorWallGroups(dc, activeDocument->firstFloor);
                ReleaseDC(activePlanPane, dc);
            }
        }
    }
}

void OpenToolPropertiesDialog(ToolButtonRecord* record, HWND, UINT, LPARAM)
{
    if (!record || !activeDocument)
        return;
    PlanSettings* settings = activeDocument->settings;
    switch (record->toolId) {
    case 200:
        RunMoveDialog(0, 0);
        InvalidatePlanView();
        break;
    case 201:
        RunRotationDialog(0);
        InvalidatePlanView();
        break;
    case 202:
        if (settings)
            RunDimensionDialog(settings);
        break;
    case 203:
        SendFrameCommand(30);
        break;
    case 205:
        if (settings && RunPlanZoomDialog(settings))
            InvalidatePlanView();
        break;
    case 400:
        if (settings && RunViewpointElevationDialog(settings) && renderWindow)
            InvalidateRect(renderWindow, nullptr, FALSE);
        break;
    case 401:
        if (settings && RunAerialAltitudeDialog(settings) && renderWindow)
            InvalidateRect(renderWindow, nullptr, FALSE);
        break;
    default:
        break;
    }
}

void SelectToolById(int toolId)
{
    if (!activeDocument || !activeDocument->settings)
        return;
    HWND strip = StripOfTool(toolId);
    const ToolPaneDescriptor* descriptor = ToolStripDescriptor(strip);
    if (!descriptor)
        return;
    PlanSettings* settings = activeDocument->settings;
    OpeningDefaults kept = {settings->doorStyle,
                            {settings->doorWidth, settings->doorHeight, settings->doorCasingWidth, 0}};
    if (toolId == 7054)
        kept = {0, {settings->windowWidth, settings->windowHeight, settings->windowElevation,
                    settings->windowCasingWidth}};
    // The press runs through the button's window procedure as a real one would.
    if (HWND button = FindToolButton(strip, (uint16_t)toolId))
        SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    if (toolId == 7052 || toolId == 7053) {
        settings->doorStyle = kept.doorStyle;
        settings->doorWidth = kept.values[0];
        settings->doorHeight = kept.values[1];
        settings->doorCasingWidth = kept.values[2];
    } else if (toolId == 7054) {
        settings->windowWidth = kept.values[0];
        settings->windowHeight = kept.values[1];
        settings->windowElevation = kept.values[2];
        settings->windowCasingWidth = kept.values[3];
    }
}
