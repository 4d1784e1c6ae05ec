#include "shell/frame_window.h"
#include "shell/app_globals.h"
#include "shell/command_dispatcher.h"
#include "shell/companions.h"
#include "shell/elevation_pane.h"
#include "shell/keys_and_menus.h"
#include "shell/status_bar.h"
#include "palette/category_tabs.h"
#include "palette/growth_caption.h"
#include "palette/symbol_bar.h"
#include "palette/tool_popups.h"
#include "palette/tool_variants.h"
#include "palette/variant_list.h"
#include "planview/input_gdi.h"
#include "planview/plant_growth_stepping.h"
#include "render3d/render_window.h"
#include "render3d/selvith_window.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/plan_object.h"
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

HWND mdiClientWindow = nullptr;
HWND tooltipWindow = nullptr;
HWND toolBarWindow = nullptr;
HWND statusBarWindow = nullptr;
HWND symbolBarWindow = nullptr;
HWND variantListWindow = nullptr;
HWND categoryTabStrip = nullptr;
HWND paletteTabStrip = nullptr;
HWND elevationPaneWindow = nullptr;

const FrameToolWindowSpec frameToolWindowSpecs[FrameToolWindowCount] = {
    {{1, 200, 7}, 0, 27, 21, 164, 2},
    {{10, 7000, 5}, 21, 0, 176, 28, 100},
    {{11, 7050, 12}, 21, 0, 407, 28, 100},
    {{12, 7100, 18}, 21, 0, 605, 28, 101},
    {{13, 7200, 12}, 21, 0, 407, 28, 102},
    {{14, 7300, 7}, 21, 0, 242, 28, 103},
    {{15, 7400, 8}, 21, 0, 275, 28, 104},
    {{16, 7500, 13}, 21, 0, 440, 28, 105},
    {{17, 7600, 6}, 21, 0, 209, 28, 106},
    {{18, 7700, 8}, 21, 0, 275, 28, 107},
    {{33, 3500, 4}, 21, 10000, 143, 28, 108},
    {{30, 3300, 1}, 0, 197, 21, 32, 5},
};
HWND frameToolWindows[FrameToolWindowCount];

enum { ViewLayoutSpecIndex = 10, FloorButtonSpecIndex = 11 };

HWND FloorButtonToolWindow() { return frameToolWindows[FloorButtonSpecIndex]; }
HWND ViewLayoutToolWindow() { return frameToolWindows[ViewLayoutSpecIndex]; }

HDC offscreenDC = nullptr;
static HBITMAP offscreenBitmap = nullptr;
static HGDIOBJ offscreenOldBitmap = nullptr;

UINT workbenchClosingMessage = 0;
UINT workbenchNoUpdateMessage = 0;
unsigned char workbenchMessagesRegistered = 0;

unsigned char estimateRunning = 0;
unsigned char furnitureEditorRunning = 0;
PlanObject* companionEditObject = nullptr;
unsigned char exchangeImportActive = 0;

unsigned char applicationActive = 0;
unsigned char toolHoverRefresh = 0;
unsigned char variantButtonHot = 0;
unsigned char ageStepperHot = 0;

RECT ageStepperDownRect;
RECT ageStepperUpRect;
RECT ageStepperRect;

int FrameScrollWidth()
{
    int width = GetSystemMetrics(SM_CXVSCROLL);
    if (width < 1)
        width = 15;
    return width + 1;
}

static void BringToTop(HWND window)
{
    if (window)
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND CreateToolWindow(const ToolPaneDescriptor* descriptor, int x, int y, int width, int height,
                      int id, HWND parent)
{
    if (!descriptor)
        return nullptr;
    // The strip keeps its own copy and frees it when it is destroyed.
    ToolPaneDescriptor* copy = static_cast<ToolPaneDescriptor*>(std::calloc(1, sizeof(ToolPaneDescriptor)));
    if (!copy)
        return nullptr;
    *copy = *descriptor;
    HWND strip = CreateWindowExA(0, "ToolClass", nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                 x, y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 hInstance, nullptr);
    if (!strip) {
        std::free(copy);
        return nullptr;
    }
    SetWindowLongPtrA(strip, 0, reinterpret_cast<LONG_PTR>(copy));
    CreateToolPaneButtons(strip, hInstance, copy);
    BringToTop(strip);
    return strip;
}

BOOL CALLBACK CloseChildEnumProc(HWND child, LPARAM)
{
    // The enumeration also reaches the windows inside each document; only the
    // document windows themselves are asked to close.
    if (GetParent(child) != mdiClientWindow)
        return TRUE;
    if (GetWindow(child, GW_OWNER))
        return TRUE;
    SendMessageA(mdiClientWindow, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
    if (!SendMessageA(child, WM_QUERYENDSESSION, 0, 0))
        return TRUE;
    SendMessageA(mdiClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    return TRUE;
}

// ---------------------------------------------------------------------------------
// Creation

static HWND CreateFrameChild(DWORD exStyle, const char* className, DWORD style, int x, int y,
                             int width, int height, HWND frame, int id)
{
    return CreateWindowExA(exStyle, className, nullptr, style, x, y, width, height, frame,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), hInstance, nullptr);
}

static void CreateOffscreenDC(HWND frame)
{
    HDC screen = GetDC(frame);
    if (!screen)
        return;
    offscreenDC = CreateCompatibleDC(screen);
    if (offscreenDC) {
        offscreenBitmap = CreateCompatibleBitmap(screen, 500, 500);
        if (offscreenBitmap)
            offscreenOldBitmap = SelectObject(offscreenDC, offscreenBitmap);
    }
    ReleaseDC(frame, screen);
}

static void DeleteOffscreenDC()
{
    if (offscreenDC) {
        if (offscreenOldBitmap)
            SelectObject(offscreenDC, offscreenOldBitmap);
        DeleteDC(offscreenDC);
    }
    if (offscreenBitmap)
        DeleteObject(offscreenBitmap);
    offscreenDC = nullptr;
    offscreenBitmap = nullptr;
    offscreenOldBitmap = nullptr;
}

static LRESULT CreateFrameChildren(HWND frame)
{
    if (!workbenchMessagesRegistered) {
        workbenchClosingMessage = RegisterWindowMessageA("WORKBENCH CLOSING");
        workbenchNoUpdateMessage = RegisterWindowMessageA("WORKBENCH CLOSING WITH NO UPDATE");
        workbenchMessagesRegistered = 1;
    }

    CreateOffscreenDC(frame);

    CLIENTCREATESTRUCT client;
    client.hWindowMenu = frameMenu ? GetSubMenu(frameMenu, 5) : nullptr;
    client.idFirstChild = FirstMdiChildId;
    mdiClientWindow = CreateWindowExA(0, "MDICLIENT", nullptr,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER,
                                      0, 0, 0, 0, frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(MdiClientId)),
                                      hInstance, &client);
    if (mdiClientWindow)
        SetClassLongPtrA(mdiClientWindow, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(COLOR_BTNSHADOW + 1));

    RECT rect;
    GetClientRect(frame, &rect);
    tooltipWindow = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                    CW_USEDEFAULT, CW_USEDEFAULT, 10, 10, frame, nullptr, hInstance, nullptr);
    toolBarWindow = CreateFrameChild(0, "ToolbarClass", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                     -1, -1, 1, 1, frame, ToolBarId);
    BringToTop(toolBarWindow);

    for (int i = 0; i < FrameToolWindowCount; ++i) {
        const FrameToolWindowSpec& spec = frameToolWindowSpecs[i];
        HWND strip = CreateToolWindow(&spec.descriptor, spec.x, spec.y, spec.width, spec.height, spec.id, frame);
        frameToolWindows[i] = strip;
        bool shown = i < 2 || (i == ViewLayoutSpecIndex && screenWidth > 750);
        if (strip && shown) {
            ShowWindow(strip, SW_SHOW);
            UpdateWindow(strip);
        }
    }

    renderWindow = nullptr;
    selvithWindow = nullptr;

    statusBarWindow = CreateFrameChild(WS_EX_CLIENTEDGE, "StatusBarClass",
                                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                       -1, rect.bottom - 17, rect.right - rect.left + 2, 17, frame, StatusBarId);
    BringToTop(statusBarWindow);
    symbolBarWindow = CreateFrameChild(WS_EX_WINDOWEDGE, "SymbarClass",
                                       WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_VSCROLL,
                                       -1, 5, 5, 5, frame, SymbolBarId);
    BringToTop(symbolBarWindow);
    variantListWindow = CreateFrameChild(WS_EX_WINDOWEDGE, "PopListClass",
                                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_VSCROLL,
                                         -1, 5, 5, 5, frame, VariantListId);
    BringToTop(variantListWindow);

    categoryTabStrip = CreateFrameChild(0, "ToolTabClass", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                        10000, 10000, 5, 5, frame, CategoryTabStripId);
    if (categoryTabStrip) {
        SetWindowLongPtrA(categoryTabStrip, 0, 1);
        BringToTop(categoryTabStrip);
        MoveWindow(categoryTabStrip, rect.left + 39, rect.top + 28, 531, 18, TRUE);
        ShowWindow(categoryTabStrip, SW_SHOW);
    }
    paletteTabStrip = CreateFrameChild(0, "ToolTabClass", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                       10000, 10000, 5, 5, frame, PaletteTabStripId);
    if (paletteTabStrip) {
        SetWindowLongPtrA(paletteTabStrip, 0, 2);
        BringToTop(paletteTabStrip);
        MoveWindow(paletteTabStrip, rect.left + 36, rect.top + 28, 65, 21, TRUE);
        ShowWindow(paletteTabStrip, SW_SHOW);
    }

    elevationPaneWindow = CreateFrameChild(0, "ElevationPaneClass",
                                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                           10000, 10000, 5, 5, frame, ElevationPaneId);
    if (!elevationPaneWindow)
        return 0;
    BringToTop(elevationPaneWindow);
    MoveWindow(elevationPaneWindow, 0, 201, 23, rect.bottom - 218, TRUE);
    ShowWindow(elevationPaneWindow, SW_SHOW);
    UpdateWindow(elevationPaneWindow);
    return 0;
}

// ---------------------------------------------------------------------------------
// Layout

static bool IsSideBarKey(int tool)
{
    return tool == 5246 || tool == 5247 || tool == 5248 || tool == 5251 || tool == 5328 || tool == 5332;
}

// A strip that keeps its size is drawn again whole where it goes: the pixels it had
// before are not carried over, as the frame's surface, new with a new size, may not hold
// them yet (a column of black was left after a restore and a maximise).
static void MoveStrip(HWND strip, int x, int y, int width, int height)
{
    SetWindowPos(strip, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

static void LayoutFrame(HWND frame)
{
    ClearToolButtonHover();
    if (toolBarWindow)
        SetWindowPos(toolBarWindow, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    SetRect(&ageStepperDownRect, 467, 5, 485, 25);
    SetRect(&ageStepperUpRect, 537, 5, 555, 25);
    SetRect(&ageStepperRect, 467, 5, 555, 25);

    RECT r;
    GetClientRect(frame, &r);
    int w = FrameScrollWidth();

    if (statusBarWindow)
        MoveWindow(statusBarWindow, 0, r.bottom - 17, r.right - r.left, 17, TRUE);
    if (variantListWindow && symbolBarWindow) {
        MoveWindow(variantListWindow, r.right - (w + 53), r.top + 42, w + 53, r.bottom - r.top - 188, TRUE);
        MoveWindow(symbolBarWindow, r.right - (w + 53), r.top + 42, w + 53, r.bottom - r.top - 188, TRUE);
    }
    if (mdiClientWindow)
        MoveWindow(mdiClientWindow, r.left + 23, r.top + 28, (r.right - r.left - 23) - (w + 54),
                   r.bottom - r.top - 45, TRUE);
    if (HWND floorButton = FloorButtonToolWindow())
        MoveStrip(floorButton, 0, r.bottom - 146, 21, 32);
    if (HWND viewLayouts = ViewLayoutToolWindow()) {
        MoveStrip(viewLayouts, r.right - 140, 0, 143, 28);
        ShowWindow(viewLayouts, screenWidth < 751 ? SW_HIDE : SW_SHOW);
    }
    if (elevationPaneWindow) {
        MoveWindow(elevationPaneWindow, 0, 192, 23, r.bottom - 209, TRUE);
        ShowWindow(elevationPaneWindow, SW_SHOW);
        if (elevationArrowWindow) {
            RECT pane;
            GetClientRect(elevationPaneWindow, &pane);
            int step = static_cast<int>(elevationArrowIndex * (pane.bottom - pane.top) / 34.0 + 0.5);
            MoveWindow(elevationArrowWindow, 0, pane.top + step - 6, 20, 13, TRUE);
        }
    }

    ResetPopListScroll();
    ResetSymbarScroll();
    if (IsSideBarKey(variantListTool) && symbolBarWindow) {
        if (variantListTool == 5248)
            FillSymbarFromLibraryFolder();
        else
            LayoutSymbar();
    } else if (variantListWindow) {
        ShowPopList(variantListWindow);
    }
}

// ---------------------------------------------------------------------------------
// The frame's own controls: the variant button above the side bar, four command buttons
// at the bottom right and, on the garden tab, the planting-age stepper.

enum FrameCommandButton { EstimateButton, FramingButton, FurnitureButton, ScaleModelButton, CommandButtonCount };
static const int commandButtonOffsets[CommandButtonCount] = {146, 114, 82, 50};
static const int commandButtonCommands[CommandButtonCount] = {5303, 5287, 5231, 5272};

static RECT CommandButtonRect(const RECT& client, int button)
{
    int w = FrameScrollWidth();
    RECT rect;
    SetRect(&rect, client.right - (w + 53), client.bottom - commandButtonOffsets[button], client.right - 1,
            client.bottom - commandButtonOffsets[button] + 31);
    return rect;
}

static RECT VariantButtonRect(const RECT& client)
{
    int w = FrameScrollWidth();
    RECT rect;
    SetRect(&rect, client.right - (w + 55) + 1, client.top + 29, client.right, client.top + 43);
    return rect;
}

// The two hue arrows shown beside the variant button with the colour swatches.
static RECT HueArrowRect(const RECT& client, int up)
{
    int h = FrameScrollWidth() / 2;
    RECT rect;
    if (!up)
        SetRect(&rect, client.right - (h + 55) + 1, client.top + 29, client.right - (h + 55) + 13, client.top + 43);
    else
        SetRect(&rect, client.right - h - 12, client.top + 29, client.right - h, client.top + 43);
    return rect;
}

// Which of the frame's buttons lies under a point: a hue arrow while the colour swatches
// are up, the variant button otherwise, then the command buttons.
enum FrameButtonKind { NoFrameButton, HueArrowFrameButton, VariantFrameButton, CommandFrameButton };
struct FrameButtonHit {
    FrameButtonKind kind;
    int index;   // the arrow (1 up) or the command button
    RECT rect;
};

static FrameButtonHit FrameButtonAt(HWND frame, POINT pt)
{
    RECT r;
    GetClientRect(frame, &r);
    if (variantListTool == 5332) {
        for (int up = 0; up < 2; ++up) {
            RECT rect = HueArrowRect(r, up);
            if (PtInRect(&rect, pt))
                return {HueArrowFrameButton, up, rect};
        }
    } else {
        RECT rect = VariantButtonRect(r);
        if (PtInRect(&rect, pt))
            return {VariantFrameButton, 0, rect};
    }
    for (int button = 0; button < CommandButtonCount; ++button) {
        RECT rect = CommandButtonRect(r, button);
        if (PtInRect(&rect, pt))
            return {CommandFrameButton, button, rect};
    }
    return {NoFrameButton, 0, {}};
}

static bool FramingViewOn()
{
    return activeDocument && activeDocument->settings && activeDocument->settings->framingStyle;
}

static bool FrameIsHovered(HWND frame)
{
    return hoveredBarWindow == frame;
}

static bool IsHoveredRect(HWND frame, const RECT& rect)
{
    return hoveredBarWindow == frame && EqualRect(&hoveredBarRect, &rect);
}

static void RecordHover(HWND frame, const RECT& rect)
{
    hoveredBarWindow = frame;
    hoveredBarRect = rect;
}

static void RedrawNow(HWND window, const RECT* rect)
{
    RedrawWindow(window, rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

static void DrawBevelOnFrame(HWND frame, const RECT& rect, bool sunken)
{
    HDC dc = GetDC(frame);
    if (!dc)
        return;
    if (sunken)
        DrawBevelSunken(frame, dc, &rect);
    else
        DrawBevelRaised(frame, dc, &rect);
    ReleaseDC(frame, dc);
}

static HBITMAP LoadMappedBitmap(int id)
{
    return static_cast<HBITMAP>(LoadImageA(hInstance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

static int PlantingAgeStep()
{
    if (!activeDocument || !activeDocument->settings)
        return 5;
    return static_cast<int>(activeDocument->settings->plantAge + 0.5f);
}

static void PaintFrame(HWND frame)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(frame, &ps);
    if (!dc)
        return;
    RECT r;
    GetClientRect(frame, &r);
    int w = FrameScrollWidth();
    int h = w / 2;

    int state = 0;
    if (swallowNextToolClick)
        state = 2;
    else if (FrameIsHovered(frame) && variantButtonHot)
        state = 1;
    DrawToolVariantButton(dc, state);

    if (HBITMAP buttons = LoadMappedBitmap(FramingViewOn() ? 5201 : 5200)) {
        for (int button = 0; button < CommandButtonCount; ++button) {
            RECT rect = CommandButtonRect(r, button);
            EraseBevel(frame, dc, &rect);
        }
        BlitBitmap(dc, buttons, r.right - (h + 53), r.bottom - 146);
        DeleteObject(buttons);
    }

    if (activeToolTab == GardenTab) {
        HBITMAP stepper = LoadMappedBitmap(FrameIsHovered(frame) && ageStepperHot ? 11001 : 11000);
        if (stepper) {
            if (activeDocument) {
                BlitBitmap(dc, stepper, 467, 5);
                DrawPlantGrowthProgress(dc, PlantingAgeStep());
            }
            DeleteObject(stepper);
        }
    }
    EndPaint(frame, &ps);
}

static const char* CommandButtonHelp(int button, bool fromHighlight)
{
    switch (button) {
    case EstimateButton:
        return fromHighlight
            ? "Esegue le stime dei costi per il progetto (il rendering della Visuale struttura deve essere attivo per visualizzare le stime della struttura)"
            : "Esegue le stime dei costi per il progetto (la Visuale struttura di costruzione deve essere attiva per visualizzare le stime della struttura)";
    case FramingButton:
        return FramingViewOn() ? "Rende il disegno della casa durante la Visuale completa di costruzione"
                               : "Rende il disegno della casa durante la Visuale struttura di costruzione";
    case FurnitureButton:
        return "Apre Tovrel (se un oggetto di arredamento esistente è selezionato, verrà caricato per essere modificato)";
    default:
        return "Apre Korvane per stampare e costruire un modello in scala del disegno corrente";
    }
}

static void HandleFrameMouseMove(HWND frame, POINT pt)
{
    FrameButtonHit hit = FrameButtonAt(frame, pt);
    RECT rect = hit.rect;
    switch (hit.kind) {
    case HueArrowFrameButton:
        if (!IsHoveredRect(frame, rect)) {
            ClearToolButtonHover();
            RecordHover(frame, rect);
            RECT grown = rect;
            InflateRect(&grown, 1, 1);
            RedrawNow(frame, &grown);
            DrawBevelOnFrame(frame, rect, false);
        }
        return;
    case VariantFrameButton:
        if (!IsHoveredRect(frame, rect)) {
            ClearToolButtonHover();
            RecordHover(frame, rect);
            variantButtonHot = 1;
            RedrawNow(frame, &rect);
            variantButtonHot = 0;
        }
        return;
    case CommandFrameButton:
        if (!IsHoveredRect(frame, rect)) {
            bool fromHighlight = hoveredBarWindow != nullptr || hoveredToolButton != nullptr;
            ClearToolButtonHover();
            RecordHover(frame, rect);
            RedrawNow(frame, nullptr);
            DrawBevelOnFrame(frame, rect, false);
            const char* help = CommandButtonHelp(hit.index, fromHighlight);
            std::strncpy(customStatusText, help, StatusTextSize - 1);
            customStatusText[StatusTextSize - 1] = 0;
            lastStatusId = StatusDefaultId;
            ShowStatusHelp(StatusCustomTextId);
        }
        return;
    case NoFrameButton:
        break;
    }

    if (activeToolTab == GardenTab && PtInRect(&ageStepperRect, pt)) {
        if (!IsHoveredRect(frame, ageStepperRect)) {
            ClearToolButtonHover();
            RecordHover(frame, ageStepperRect);
            ageStepperHot = 1;
            RECT grown = ageStepperRect;
            InflateRect(&grown, 1, 1);
            RedrawNow(frame, &grown);
            ageStepperHot = 0;
        }
        return;
    }

    ClearToolButtonHover();
}

static void InvertOnFrame(HWND frame, const RECT& rect)
{
    HDC dc = GetDC(frame);
    if (!dc)
        return;
    InvertRect(dc, &rect);
    ReleaseDC(frame, dc);
}

// True when the press was one of the frame's own controls.
static bool HandleFrameButtonDown(HWND frame, POINT pt)
{
    FrameButtonHit hit = FrameButtonAt(frame, pt);
    RECT rect = hit.rect;
    switch (hit.kind) {
    case HueArrowFrameButton:
        StepSwatchHue(&rect, hit.index);
        return true;
    case VariantFrameButton:
        if (variantListWindow) {
            if (!IsWindowVisible(variantListWindow))
                ShowLibraryCategoryMenu(&rect);
            else
                ShowStainPaintPopup(&rect);
        }
        return true;
    case CommandFrameButton: {
        int button = hit.index;
        RedrawNow(frame, nullptr);
        DrawBevelOnFrame(frame, rect, true);
        while (IsMouseButtonDown()) {
        }
        int command = commandButtonCommands[button];
        if (button == FramingButton) {
            // Show the new state on the button for this one redraw; the command sets it.
            PlanSettings* settings = activeDocument->settings;
            uint8_t framing = settings->framingStyle;
            settings->framingStyle = framing ? 0 : 1;
            RedrawNow(frame, nullptr);
            settings->framingStyle = framing;
            command = framing ? 5288 : 5287;
        } else {
            RedrawNow(frame, nullptr);
        }
        DrawBevelOnFrame(frame, rect, false);
        SendMessageA(frame, WM_COMMAND, static_cast<WPARAM>(command), 0);
        return true;
    }
    case NoFrameButton:
        break;
    }

    if (activeToolTab == GardenTab) {
        const RECT* stepper = nullptr;
        int delta = 0;
        if (PtInRect(&ageStepperDownRect, pt)) {
            stepper = &ageStepperDownRect;
            delta = -1;
        } else if (PtInRect(&ageStepperUpRect, pt)) {
            stepper = &ageStepperUpRect;
            delta = 1;
        }
        if (stepper) {
            InvertOnFrame(frame, *stepper);
            StepPlantGrowthWhileHeld(PlantingAgeStep(), delta);
            InvertOnFrame(frame, *stepper);
            return true;
        }
    }
    return false;
}

static bool DocumentWithSettings()
{
    return activeDocument && activeDocument->settings;
}

// ---------------------------------------------------------------------------------

static LRESULT DefaultFrame(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcA(window, mdiClientWindow, message, wParam, lParam);
}

static void ForgetFrameChildren()
{
    mdiClientWindow = nullptr;
    tooltipWindow = nullptr;
    toolBarWindow = nullptr;
    statusBarWindow = nullptr;
    symbolBarWindow = nullptr;
    variantListWindow = nullptr;
    categoryTabStrip = nullptr;
    paletteTabStrip = nullptr;
    elevationPaneWindow = nullptr;
    for (HWND& strip : frameToolWindows)
        strip = nullptr;
}

LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0) {
        if (message == closingSpreadsheetMessage) {
            estimateRunning = 0;
            ForgetCompanionProcess(estimateProcess);
            return 0;
        }
        if (workbenchMessagesRegistered &&
            (message == workbenchClosingMessage || message == workbenchNoUpdateMessage)) {
            // Taken with no plan open too: the reply of a closed plan is kept and said.
            if (programDirectory) {
                HandleWorkbenchClosing(window, message == workbenchClosingMessage);
                return 0;
            }
            return DefaultFrame(window, message, wParam, lParam);
        }
    }

    switch (message) {
    case WM_CREATE:
        frameWindow = window;
        return CreateFrameChildren(window);

    case WM_SIZE:
        LayoutFrame(window);
        return 0;

    case WM_PAINT:
        if (!GetUpdateRect(window, nullptr, FALSE))
            break;
        PaintFrame(window);
        return 0;

    case WM_MOUSEMOVE:
        if (DocumentWithSettings()) {
            POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            HandleFrameMouseMove(window, pt);
        }
        break;

    case WM_LBUTTONDOWN:
        if (DocumentWithSettings()) {
            POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (HandleFrameButtonDown(window, pt))
                return 0;
        }
        break;

    case WM_MENUSELECT: {
        UINT flags = HIWORD(wParam);
        bool closing = flags == 0xFFFF && lParam == 0;
        if (!closing && !(flags & (MF_POPUP | MF_SYSMENU))) {
            if (!swallowNextToolClick)
                ShowStatusHelp(LOWORD(wParam));
        } else {
            ShowStatusHelp(StatusDefaultId);
        }
        break;
    }

    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        break;

    case WM_COMMAND:
        if (HandleFrameCommand(window, wParam, lParam) & 0xFF) {
            toolHoverRefresh = 1;
            return 0;
        }
        break;

    case WM_INITMENU:
        ClearToolButtonHover();
        UpdateMenus();
        break;

    case WM_CLOSE:
    case WM_QUERYENDSESSION:
        ClearToolButtonHover();
        SendMessageA(window, WM_COMMAND, FrameCommandCloseAll, 0);
        if (mdiClientWindow && GetWindow(mdiClientWindow, GW_CHILD))
            return 0;
        KeepEditorReplyAtClose(window);
        break;

    case WM_ACTIVATEAPP:
        if (wParam) {
            toolHoverRefresh = 1;
            applicationActive = 1;
            swallowNextToolClick = 0;
        } else {
            applicationActive = 0;
            ClearToolButtonHover();
        }
        break;

    case WM_NCMOUSEMOVE:
        ClearToolButtonHover();
        break;

    case WM_TIMER:
        if (wParam == kEditorReplyTimer) {
            TakeDeferredEditorReply(window);
            return 0;
        }
        break;

    case WM_DESTROY:
        PostQuitMessage(0);
        FurnitureEditorEnded();
        ForgetCompanionProcess(estimateProcess);
        for (HCURSOR& cursor : namedCursors) {
            if (cursor)
                DestroyCursor(cursor);
            cursor = nullptr;
        }
        if (frameMenu) {
            // The window's destruction frees the menu still attached to it. Taking it off
            // here would change the client area and lay every bar out again (the side
            // bar's entries made anew) while the frame's children are being destroyed.
            if (GetMenu(window) != frameMenu)
                DestroyMenu(frameMenu);
            frameMenu = nullptr;
        }
        return 0;

    case WM_NCDESTROY:
        DeleteOffscreenDC();
        ForgetFrameChildren();
        if (frameWindow == window)
            frameWindow = nullptr;
        break;
    }
    return DefaultFrame(window, message, wParam, lParam);
}
