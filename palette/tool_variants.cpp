#include "palette/tool_variants.h"
#include "dialogs/door_window_dialogs.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "palette/tool_windows.h"
#include "palette/variant_list.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include <cstdio>
#include <cstring>

namespace {

// Stained wood and white paint, as 8-bit channels.
const ColourTriple kStainColour = {176 * 257, 124 * 257, 30 * 257};
const ColourTriple kPaintColour = {192 * 257, 192 * 257, 192 * 257};

const uint16_t kDoorStyles[12] = {500, 504, 505, 501, 506, 507, 508, 509, 510, 511, 502, 503};
const uint16_t kWindowStyles[19] = {600, 600, 601, 609, 604, 605, 602, 624, 603, 607,
                                    613, 611, 614, 618, 616, 619, 620, 622, 623};
const float kStairWidths[8] = {36, 42, 48, 54, 60, 72, 84, 96};
const float kRailingHeights[6] = {30, 36, 42, 48, 54, 60};
const float kSlabThicknesses[8] = {1, 4, 6, 8, 10, 12, 18, 24};
const float kTubs[6][2] = {{60, 30}, {60, 36}, {60, 42}, {60, 48}, {72, 30}, {72, 36}};
const float kSpas[6][2] = {{72, 36}, {72, 42}, {72, 48}, {72, 54}, {72, 60}, {72, 72}};
const float kShowers[3][2] = {{36, 36}, {48, 36}, {48, 48}};
const float kDucts[8][2] = {{10, 20}, {10, 24}, {12, 20}, {12, 24}, {14, 20}, {14, 24}, {18, 18}, {20, 20}};
const float kPathWidths[8] = {36, 48, 60, 72, 96, 120, 144, 168};
const uint16_t kFenceStyles[4] = {703, 700, 701, 702};
const float kGateWidths[6] = {36, 48, 60, 72, 84, 96};
const float kSlopes[5] = {3, 5, 7, 10, 15};
const float kTopographySteps[6] = {-36, -24, -12, 12, 24, 36};
const float kDeckHeights[7] = {12, 18, 24, 30, 36, 42, 48};

struct PreviewRow {
    int first;
    int last;
    const char* folder;
    const char* name;       // set 1 (or the only one)
    const char* paintName;  // set 2 of doors and windows, else null
    int count;
};

const PreviewRow kPreviews[] = {
    {7000, 7000, "Footings", "Footing", nullptr, 9}, {7001, 7001, "Beams", "Beam", nullptr, 9},
    {7002, 7002, "Piers", "Pier", nullptr, 9},       {7050, 7051, "Walls", "Wall", nullptr, 6},
    {7052, 7053, "Doors", "SDoor", "PDoor", 12},     {7054, 7054, "Windows", "SWindow", "PWindow", 19},
    {7055, 7056, "Stairs", "Stair", nullptr, 8},     {7604, 7605, "Stairs", "Stair", nullptr, 8},
    {7057, 7058, "Railing", "Rail", nullptr, 6},     {7602, 7603, "Railing", "Rail", nullptr, 6},
    {7059, 7059, "Floors", "Floor", nullptr, 8},     {7060, 7060, "Cutout", "Cutout", nullptr, 8},
    {7101, 7101, "GFI", "GFI", nullptr, 3},          {7102, 7102, "FlrClg", "FlrClg", nullptr, 2},
    {7104, 7104, "FlrClg", "FlrClg", nullptr, 2},    {7106, 7106, "Multiway", "Multiway", nullptr, 3},
    {7107, 7107, "Switch", "Switch", nullptr, 2},    {7111, 7111, "HVL", "HVL", nullptr, 2},
    {7205, 7205, "StdTub", "StdTub", nullptr, 8},    {7206, 7206, "SpaTub", "SpaTub", nullptr, 6},
    {7207, 7207, "Shower", "Shower", nullptr, 3},    {7300, 7306, "Roofs", "Roofs", nullptr, 5},
    {7400, 7400, "Duct", "Duct", nullptr, 8},        {7502, 7502, "Paths", "Path", nullptr, 8},
    {7505, 7505, "Fences", "Fence", nullptr, 4},     {7506, 7506, "Gates", "Gate", nullptr, 6},
    {7509, 7509, "Slope", "Slope", nullptr, 5},      {7510, 7511, "Topos", "Topo", nullptr, 6},
    {7600, 7601, "Decks", "Deck", nullptr, 7},
};

const PreviewRow* PreviewRowOf(int tool)
{
    for (const PreviewRow& row : kPreviews)
        if (tool >= row.first && tool <= row.last)
            return &row;
    return nullptr;
}

// Metric plans read these values as centimetres.
float Length(float value, bool metric)
{
    return metric ? CentimetresToInches(value) : value;
}

// The side-bar keys whose variant button opens a menu.
bool IsSideBarKey(int tool)
{
    return tool == 5246 || tool == 5247 || tool == 5248 || tool == 5251 || tool == 5328 ||
           tool == 5332;
}

} // namespace

void ApplyToolVariantByTool(int tool, uint16_t previewSet, uint32_t n)
{
    if (!activeDocument || !activeDocument->settings)
        return;
    PlanSettings* s = activeDocument->settings;
    const bool metric = s->unitSystem == kUnitSystemMetric;
    const int count = VariantCount(tool, metric);
    if (n < 1 || (int)n > count)
        return;
    const uint32_t i = n - 1;
    const ColourTriple& finish = previewSet == 2 ? kPaintColour : kStainColour;
    if (tool >= 7000 && tool <= 7002) {
        float size = Length(8.0f + 2.0f * i, metric);
        if (tool == 7000)
            s->floorToolDefaults[0] = size;
        else if (tool == 7001) {
            s->floorToolDefaults[1] = size;
            s->floorToolDefaults[2] = Length(12.0f, metric);
        } else
            s->floorToolDefaults[3] = size;
    } else if (tool == 7050 || tool == 7051) {
        s->wallThickness = Length(2.0f + 2.0f * i, metric);
    } else if (tool == 7052 || tool == 7053) {
        s->doorColour = finish;
        s->doorStyle = kDoorStyles[i];
        if (n == 11 || n == 12) {
            s->doorWidth = 72.0f;
            s->doorHeight = 80.0f;
            s->doorCasingWidth = 3.0f;
        }
        RunDoorDialog(s);
    } else if (tool == 7054) {
        s->windowColour = finish;
        s->windowStyle = kWindowStyles[i];
        if (n == 1) {
            s->windowBarsAcross = 0;
            s->windowBarsDown = 1;
        }
        RunWindowDialog(s);
    } else if (tool == 7055 || tool == 7056 || tool == 7604 || tool == 7605) {
        s->stairWidth = kStairWidths[i];
    } else if (tool == 7057 || tool == 7058 || tool == 7602 || tool == 7603) {
        s->railingHeight = kRailingHeights[i];
    } else if (tool == 7059 || tool == 7060) {
        s->floorToolDefaults[4] = Length(kSlabThicknesses[i], metric);
    } else if (tool == 7101) {
        s->fixtureToolDefaults[0] = 8 + i;
    } else if (tool == 7102 || tool == 7104) {
        s->fixtureToolDefaults[1] = 8 + i;
    } else if (tool == 7106) {
        s->fixtureToolDefaults[2] = 8 + i;
    } else if (tool == 7107) {
        s->fixtureToolDefaults[3] = 8 + i;
    } else if (tool == 7111) {
        s->fixtureToolDefaults[4] = 8 + i;
    } else if (tool == 7205) {
        s->fixtureSizes[0] = kTubs[i][0];
        s->fixtureSizes[1] = kTubs[i][1];
    } else if (tool == 7206) {
        s->fixtureSizes[2] = kSpas[i][0];
        s->fixtureSizes[3] = kSpas[i][1];
    } else if (tool == 7207) {
        s->fixtureSizes[4] = kShowers[i][0];
        s->fixtureSizes[5] = kShowers[i][1];
    } else if (tool >= 7300 && tool <= 7306) {
        s->roofPitch = 4.0f + 2.0f * i;
    } else if (tool == 7400) {
        s->ductWidth = Length(kDucts[i][0], metric);
        s->ductHeight = Length(kDucts[i][1], metric);
    } else if (tool == 7502) {
        s->pathWidth = kPathWidths[i];
    } else if (tool == 7505) {
        s->fenceStyle = kFenceStyles[i];
    } else if (tool == 7506) {
        s->gateWidth = kGateWidths[i];
    } else if (tool == 7509) {
        s->slopeDefault = kSlopes[i];
    } else if (tool == 7510 || tool == 7511) {
        s->topographyStep = UnitsToPlanLength(Length(kTopographySteps[i], metric), s, 0);
    } else if (tool == 7600 || tool == 7601) {
        s->deckHeight = kDeckHeights[i];
    }
}

void ApplyToolVariant(PopEntryRecord* record, HWND entry, UINT, LPARAM)
{
    if (!entry || !record || !activeDocument || !activeDocument->settings ||
        !IsVariantTool(variantListTool))
        return;
    ApplyToolVariantByTool(variantListTool, record->previewSet, record->variantNumber);
}

void BuildToolPreviewPath(uint16_t previewSet, uint32_t n, char* path)
{
    if (!path)
        return;
    path[0] = 0;
    if (!programDirectory)
        return;
    const PreviewRow* row = PreviewRowOf(variantListTool);
    char built[kToolPreviewPathSize + 64];
    int length;
    if (!row) {
        length = std::snprintf(built, sizeof built, "%s\\Tools\\", programDirectory);
    } else {
        const char* name = row->name;
        bool known = true;
        if (row->paintName) {
            if (previewSet == 2)
                name = row->paintName;
            else if (previewSet != 1)
                known = false;
        }
        if (known && n >= 1 && (int)n <= row->count)
            length = std::snprintf(built, sizeof built, "%s\\Tools\\%s\\%s%u.ZPV", programDirectory,
                                   row->folder, name, n);
        else
            length = std::snprintf(built, sizeof built, "%s\\Tools\\%s\\", programDirectory, row->folder);
    }
    // A path the file functions cannot take is not built at all.
    if (length < 0 || length >= (int)kToolPreviewPathSize)
        return;
    std::memcpy(path, built, (size_t)length + 1);
}

int VariantButtonPicture(int tool, bool metric, uint32_t swatchHue)
{
    struct Row {
        int first;
        int last;
        int picture;
        bool metricNone;
    };
    static const Row rows[] = {
        {7000, 7000, 6020, false}, {7001, 7001, 6021, false}, {7002, 7002, 6022, false},
        {7050, 7051, 6000, false}, {7052, 7053, 6001, false}, {7054, 7054, 6002, false},
        {7055, 7056, 6005, true},  {7604, 7605, 6005, true},  {7057, 7058, 6006, true},
        {7602, 7603, 6006, true},  {7059, 7059, 6004, false}, {7060, 7060, 6031, false},
        {7101, 7102, 6024, false}, {7104, 7104, 6024, false}, {7106, 7107, 6026, false},
        {7111, 7111, 6025, false}, {7205, 7205, 6030, true},  {7206, 7206, 6029, true},
        {7207, 7207, 6027, true},  {7300, 7306, 6003, false}, {7400, 7400, 6023, false},
        {7502, 7502, 6007, true},  {7505, 7505, 6010, false}, {7506, 7506, 6011, true},
        {7509, 7509, 6028, false}, {7510, 7511, 6012, false}, {7600, 7601, 6018, false},
        {5246, 5246, 6015, false}, {5247, 5247, 6014, false}, {5248, 5248, 6017, false},
        {5251, 5251, 6016, false}, {5328, 5328, 6019, false},
    };
    if (tool == 5332) {
        uint32_t page = swatchHue / 10;
        return 16000 + (int)(page > 24 ? 24 : page);
    }
    for (const Row& row : rows)
        if (tool >= row.first && tool <= row.last)
            return metric && row.metricNone ? 6999 : row.picture;
    return 6999;
}

void DrawToolVariantButton(HDC dc, int state)
{
    if (!dc || !frameWindow || !activeDocument || !activeDocument->settings)
        return;
    const PlanSettings* s = activeDocument->settings;
    const int tool = variantListTool;
    const bool clickable = tool == 7052 || tool == 7053 || tool == 7054 || IsSideBarKey(tool);
    if (!clickable)
        state = 0;
    int sb = GetSystemMetrics(SM_CXVSCROLL);
    if (sb < 1)
        sb = 15;
    sb += 1;
    const int half = sb / 2;
    RECT client;
    GetClientRect(frameWindow, &client);
    const int pressed = state == 2 ? 1 : 0;
    if (HBITMAP picture = LoadPaletteBitmap(
            VariantButtonPicture(tool, s->unitSystem == kUnitSystemMetric, s->swatchColour))) {
        BlitBitmap(dc, picture, client.right - (half + 53) + pressed, client.top + 28 + pressed);
        DeleteObject(picture);
    }
    RECT edge = {client.right - (sb + 53), client.top + 28, client.right - 1, client.top + 41};
    if (state == 1)
        DrawBevelRaised(frameWindow, dc, &edge);
    else if (state == 2)
        DrawBevelSunken(frameWindow, dc, &edge);
    else if (tool != 5332)
        EraseBevel(frameWindow, dc, &edge);
}
