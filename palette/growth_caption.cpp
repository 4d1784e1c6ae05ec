#include "palette/growth_caption.h"
#include "shell/measurement_bar.h"
#include <cstdio>

uint16_t largestGrowthStep = 23;
uint8_t growthCaptionShown = 0;

namespace {
// The growth control area of the frame's top strip (frame client coordinates).
const RECT kGrowthArea = {485, 5, 537, 25};
}

void FormatGrowthPeriod(int step, char* text, size_t size)
{
    if (step == 1)
        std::snprintf(text, size, "3 mesi");
    else if (step == 2)
        std::snprintf(text, size, "6 mesi");
    else if (step == 3)
        std::snprintf(text, size, "9 mesi");
    else if (step == 4)
        std::snprintf(text, size, "%d Anno", step - 3);
    else
        std::snprintf(text, size, "%d Anni", step - 3);
}

void DrawPlantGrowthProgress(HDC dc, int step)
{
    if (!dc)
        return;
    const int largest = largestGrowthStep > 0 ? largestGrowthStep : 1;
    if (step > largest)
        step = largest;
    if (step < 1)
        step = 1;
    RECT bar = {kGrowthArea.left + 4, kGrowthArea.top + 5, kGrowthArea.right - 4,
                kGrowthArea.bottom - 6};
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    HBRUSH lit = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
    if (face && lit) {
        FillRect(dc, &bar, face);
        const int width = kGrowthArea.right - kGrowthArea.left - 8;
        RECT done = bar;
        done.right = bar.left + (int)((float)step / (float)largest * width + 0.5f);
        FillRect(dc, &done, lit);
    }
    if (face)
        DeleteObject(face);
    if (lit)
        DeleteObject(lit);
    if (growthCaptionShown) {
        char period[32];
        FormatGrowthPeriod(step, period, sizeof period);
        char caption[64];
        std::snprintf(caption, sizeof caption, "Crescita pianta a %s", period);
        ShowGrowthReadoutText(caption);
    }
}
