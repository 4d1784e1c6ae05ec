#include "shell/status_bar.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "render3d/high_quality_render.h"

const char* const statusDefaultText = "Premere F1 per visualizzare la Guida";
int lastStatusId = -1;
char customStatusText[StatusTextSize];
char symbarStatusText[StatusTextSize];
DWORD progressTick = 0;

static HFONT statusBarFont = nullptr;
static HGDIOBJ statusBarOldFont = nullptr;

LRESULT CALLBACK StatusBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        // The class owns its DC, so what is selected here stays for the bar's life.
        statusBarFont = CreateFontA(-11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x34, "Arial");
        if (statusBarFont) {
            HDC dc = GetDC(window);
            if (dc) {
                statusBarOldFont = SelectObject(dc, statusBarFont);
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
                ReleaseDC(window, dc);
            }
        }
        break;
    }
    case WM_PAINT:
        if (GetUpdateRect(window, nullptr, FALSE)) {
            PAINTSTRUCT ps;
            BeginPaint(window, &ps);
            ClearStatusBar();
            SetStatusText(statusDefaultText);
            EndPaint(window, &ps);
        }
        break;
    case WM_NCDESTROY:
        ReleaseOwnDCFont(window, &statusBarFont, &statusBarOldFont);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ClearStatusBar()
{
    if (!statusBarWindow)
        return;
    HDC dc = GetDC(statusBarWindow);
    if (!dc)
        return;
    RECT client;
    GetClientRect(statusBarWindow, &client);
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(dc, &client, brush ? brush : static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    if (brush)
        DeleteObject(brush);
    ReleaseDC(statusBarWindow, dc);
}

void SetStatusText(const char* text)
{
    // The plan drawing reports into the bar; while it draws for a printer or a
    // metafile the text would land on the page instead.
    if (!statusBarWindow || !text || planOutputMode != 0)
        return;
    MoveToInWindow(statusBarWindow, 5, 10);
    DrawTextAt(statusBarWindow, text);
}

void ShowStatusHelp(int id)
{
    if (id == lastStatusId || !frameWindow)
        return;
    lastStatusId = id;
    if (id == StatusDefaultId) {
        ClearStatusBar();
        SetStatusText(statusDefaultText);
        return;
    }
    char buffer[StatusTextSize];
    const char* text = buffer;
    buffer[0] = 0;
    if (id == StatusSymbarTextId)
        text = symbarStatusText;
    else if (id == StatusCustomTextId)
        text = customStatusText;
    else if (id >= 0 && id <= 0xFFFF)
        LoadStringA(hInstance, static_cast<UINT>(id), buffer, sizeof buffer);
    if (!text[0])
        return;
    ClearStatusBar();
    SetStatusText(text);
}

void ResetStatusProgress()
{
    ClearStatusBar();
    progressTick = 0;
}

// One progress message every 100 ms at most: long work calls these on every step.
static void ShowThrottledProgress(const char* message)
{
    DWORD now = GetTickCount();
    if (static_cast<long>(now - progressTick) <= 100)
        return;
    ClearStatusBar();
    SetStatusText(message);
    progressTick = now;
}

void ShowRenderingProgress()
{
    ShowThrottledProgress("Rendering");
}

void ShowPreparing3DViewProgress()
{
    ShowThrottledProgress("Preparazione Selvith");
}

void DrawRenderProgressBar(long done, long total)
{
    if (!statusBarWindow || !activeDocument || !activeDocument->settings)
        return;
    const PlanSettings* settings = activeDocument->settings;
    long long scaled = total;
    if (settings->renderQuality)
        scaled *= 2;
    if (finalRenderRequested) {
        switch (settings->antiAliasPasses) {
        case 4: scaled *= 3; break;
        case 15: scaled *= 14; break;
        case 24: scaled *= 23; break;
        default: scaled *= 7; break;
        }
    }
    if (scaled < 1)
        scaled = 1;
    RECT bar;
    GetClientRect(statusBarWindow, &bar);
    InflateRect(&bar, -2, -2);
    long long width = bar.right - bar.left;
    bar.right = static_cast<LONG>(2 + width * done / scaled);
    HDC dc = GetDC(statusBarWindow);
    if (!dc)
        return;
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
    FillRect(dc, &bar, brush ? brush : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (brush)
        DeleteObject(brush);
    ReleaseDC(statusBarWindow, dc);
}
