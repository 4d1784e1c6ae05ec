#include "palette/symbol_bar.h"
#include "files/kept_paths.h"
#include "dialogs/plant_info.h"
#include "files/picture_files.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "palette/tool_variants.h"
#include "palette/tool_windows.h"
#include "palette/variant_list.h"
#include "planview/input_gdi.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "shell/keys_and_menus.h"
#include "shell/status_bar.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

short symbarMode = 2;
int32_t symbarSelection = -1;
int32_t symbarHoverId = -1;
uint32_t symbarEntryCount = 0;
uint32_t symbarTextureFirst = 850;
uint32_t symbarTextureCount = 66;
uint32_t symbarTrimFirst = 100;
uint32_t symbarTrimCount = 5;
uint32_t symbarPlantFirst = 7000;
uint32_t symbarPlantCount = 461;
uint32_t symbarSwatchFirst = 1;
uint32_t symbarCustomColourFirst = 0;
uint32_t symbarFurnitureCategory = 1;

namespace {

const int kEntryStep = 52;
const int kEntrySize = 53;
const int kSwatchCount = 45;
const int kCustomColourCount = 12;
// Right after this plant of the long shrub list one slot stays empty.
const uint32_t kPlantGapAfter = 627;
const uint32_t kMode5First = 0;
const uint32_t kMode5Count = 0;

int32_t barScroll = 0;
// Remembered per mode 1 to 8 (mode 6 remembers nothing).
int32_t storedSelection[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
int32_t storedScroll[9] = {};

struct Category {
    const char* folder;
    const char* menuText;
};

const Category kCategories[36] = {
    {nullptr, nullptr},
    {"\\Kitchen\\Appliances", "Elettrodomestici"},
    {"\\Kitchen\\LtCabinets", "Armadietti cucina (chiaro)"},
    {"\\Kitchen\\DkCabinets", "Armadietti cucina (scuro)"},
    {"\\Kitchen\\Furniture", "Mobili cucina"},
    {"\\Bath\\Fixtures", "Sanitari"},
    {"\\Bath\\Furniture", "Mobili bagno"},
    {"\\Living\\Chairs", "Sedie soggiorno"},
    {"\\Living\\Sofas", "Divani soggiorno"},
    {"\\Living\\Tables", "Tavoli soggiorno"},
    {"\\Living\\Accessories", "Accessori soggiorno"},
    {"\\Dining\\Cupboards", "Credenze sala da pranzo"},
    {"\\Dining\\Chairs", "Sedie sala da pranzo"},
    {"\\Dining\\Tables", "Tavoli sala da pranzo"},
    {"\\Dining\\Sets", "Set sala da pranzo"},
    {"\\Bedroom\\Beds", "Letti"},
    {"\\Bedroom\\Dressers", "Cassettoni camera da letto"},
    {"\\Bedroom\\Childrens", "Mobili camera dei bambini"},
    {"\\Bedroom\\Accessories", "Accessori camera da letto"},
    {"\\Gameroom", "Stanza giochi"},
    {"\\Library", "Mobili studio"},
    {"\\Office\\Equipment", "Attrezzature ufficio"},
    {"\\Office\\Furniture", "Mobili ufficio"},
    {"\\Office\\Accessories", "Accessori ufficio"},
    {"\\Fireplaces", "Caminetti"},
    {"\\FloorRugs", "Tappeti"},
    {"\\Lighting\\Ceiling", "Illuminazione soffitto"},
    {"\\Lighting\\Floor", "Lampade da terra"},
    {"\\Lighting\\Table", "Lampade da tavolo"},
    {"\\Exterior\\Furniture", "Mobili esterni"},
    {"\\Exterior\\Pools", "Piscine e idromassaggi esterni"},
    {"\\Exterior\\Playground", "Giochi giardino"},
    {"\\Exterior\\Buildings", "Strutture per esterni"},
    {"\\Exterior\\Decks", nullptr},
    {"\\Exterior\\Planters", "Vasi e fioriere esterni"},
    {"\\Exterior\\Accessories", "Accessori per esterni"},
};

// A menu item id and its text; id 0 is a separator.
struct MenuItem {
    int id;
    const char* text;
};

const MenuItem kCustomColourMenu[] = {
    {1, "Colori invernali"}, {12, "Colori primaverili"}, {24, "Colori estivi"},
    {36, "Colori autunnali"}, {0, nullptr}, {48, "Attuali"}, {60, "Scala di grigi"},
};
const MenuItem kTextureMenu[] = {
    {850, "Mattoni"}, {1300, "Perline"}, {1350, "Pietre"}, {1400, "Stucchi"}, {800, "Blocchi"},
    {0, nullptr}, {1900, "Moquette"}, {2050, "Piastrelle"}, {1700, "Stoffe"}, {0, nullptr},
    {1600, "Tappezzeria"}, {0, nullptr}, {2200, "Legni"}, {2300, "Parquet"}, {0, nullptr},
    {1100, "Pacciame"}, {2000, "Ghiaia"}, {0, nullptr}, {1200, "Selciato"}, {950, "Cemento"},
    {0, nullptr}, {1150, "Erba"}, {0, nullptr}, {1250, "Tetti"}, {0, nullptr}, {1550, "Cielo"},
};
const int kFurnitureMenuOrder[] = {1, 2, 3, 4, 0, 5, 6, 0, 7, 8, 9, 10, 0, 14, 13, 12, 11, 0,
                                   15, 16, 17, 18, 0, 19, 0, 20, 0, 22, 21, 23, 0, 24, 0, 25,
                                   0, 26, 27, 28, 0, 29, 30, 31, 32, 34, 35};
const MenuItem kPlantMenu[] = {
    {7000, "Alberi"}, {5000, "Cespugli"}, {10000, "Siepi"}, {9000, "Cactus"}, {8000, "Bulbi"},
    {6000, "Piante annue"}, {12000, "Piante perenni"}, {4050, "Fiori selvatici"},
    {3700, "Piante basse"}, {11000, "Prato ornamentale"}, {4000, "Piante tropicali"},
    {13000, "Commestibili"},
};
const MenuItem kTrimMenu[] = {{100, "Finitura base"}, {200, "Pannello libreria"}};

struct RangeCount {
    uint32_t first;
    uint32_t count;
};
const RangeCount kTextureCounts[] = {
    {800, 23}, {850, 66}, {950, 6},   {1100, 30}, {1150, 21}, {1200, 16}, {1250, 36},
    {1300, 48}, {1350, 42}, {1400, 9}, {1550, 1},  {1600, 31}, {1700, 135}, {1900, 56},
    {2000, 15}, {2050, 102}, {2200, 46}, {2300, 45},
};
const RangeCount kPlantCounts[] = {
    {3700, 34}, {4000, 35}, {4050, 17}, {5000, 682}, {6000, 214}, {7000, 461},
    {8000, 83}, {9000, 86}, {10000, 56}, {11000, 99}, {12000, 505}, {13000, 23},
};

uint32_t CountOf(const RangeCount* table, size_t n, uint32_t first)
{
    for (size_t i = 0; i < n; ++i)
        if (table[i].first == first)
            return table[i].count;
    return 0;
}

// The mode a side-bar key shows.
int ModeOfKey(int key)
{
    switch (key) {
    case 5246: return 1;
    case 5247: return 2;
    case 5248: return 3;
    case 5251: return 4;
    case 5328: return 7;
    default: return 0;
    }
}

bool StoresState(int mode)
{
    return mode >= 1 && mode <= 8 && mode != 6;
}

char* CopyPath(const char* path)
{
    if (!path || !*path)
        return nullptr;
    size_t length = std::strlen(path);
    char* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy)
        std::memcpy(copy, path, length + 1);
    return copy;
}

// Hides the bar for a rebuild and empties it; true when it was visible.
bool StartRebuild(HWND bar)
{
    const bool visible = HideForRebuild(bar);
    symbarEntryCount = 0;
    DestroySymbarEntries(bar);
    return visible;
}

void SetScrollMaximum(HWND bar)
{
    RECT client;
    GetClientRect(bar, &client);
    int maximum = (int)symbarEntryCount * kEntryStep - (client.bottom - client.top) - 1;
    if (maximum < 1)
        maximum = 0;
    SetScrollRange(bar, SB_VERT, 0, maximum, FALSE);
}

void ScrollTo(HWND bar, int position)
{
    barScroll = position;
    if (position)
        ScrollWindow(bar, 0, -position, nullptr, nullptr);
    SetScrollPos(bar, SB_VERT, position, TRUE);
}

void FinishRebuild(HWND bar, bool visible)
{
    if (frameWindow) {
        if (HDC dc = GetDC(frameWindow)) {
            DrawToolVariantButton(dc, 0);
            ReleaseDC(frameWindow, dc);
        }
    }
    if (visible)
        ShowWindow(bar, SW_SHOWNA);
}

void ScrollBar(HWND bar, WPARAM request)
{
    int minimum = 0;
    int maximum = 0;
    GetScrollRange(bar, SB_VERT, &minimum, &maximum);
    if (maximum <= 1)
        return;
    RECT client;
    GetClientRect(bar, &client);
    const int page = client.bottom - client.top - kEntryStep;
    const int p = GetScrollPos(bar, SB_VERT);
    int next = p;
    switch (LOWORD(request)) {
    case SB_LINEUP:
        if (p <= minimum)
            return;
        next = p - kEntryStep;
        break;
    case SB_LINEDOWN:
        if (p >= maximum)
            return;
        next = p + kEntryStep;
        break;
    case SB_PAGEUP: next = p - page; break;
    case SB_PAGEDOWN: next = p + page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: next = (short)HIWORD(request); break;
    default: return;
    }
    if (next < minimum)
        next = minimum;
    if (next > maximum)
        next = maximum;
    SetScrollPos(bar, SB_VERT, next, TRUE);
    ScrollWindow(bar, 0, p - next, nullptr, nullptr);
    UpdateWindow(bar);
    barScroll = next;
    if (StoresState(symbarMode))
        storedScroll[symbarMode] = next;
}

void ShowMenuBar()
{
    // The side bar comes back in place of the variant list.
    if (variantListWindow && IsWindowVisible(variantListWindow) && symbolBarWindow) {
        ShowWindow(symbolBarWindow, SW_SHOWNA);
        SetWindowPos(symbolBarWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(variantListWindow, SW_HIDE);
    }
}

void RebuildForKey()
{
    if (variantListTool == 5248)
        FillSymbarFromLibraryFolder();
    else
        LayoutSymbar();
}

void DrawVariantButtonState(int state)
{
    if (!frameWindow)
        return;
    if (HDC dc = GetDC(frameWindow)) {
        DrawToolVariantButton(dc, state);
        ReleaseDC(frameWindow, dc);
    }
}

// Applies a choice of the category menu to the range of the kind.
void ApplyCategoryChoice(int key, int choice)
{
    int mode = ModeOfKey(key);
    bool changed = false;
    switch (key) {
    case 5246: {
        uint32_t first = choice == 1 ? 0 : (uint32_t)choice;
        changed = first != symbarCustomColourFirst;
        symbarCustomColourFirst = first;
        break;
    }
    case 5247:
        changed = (uint32_t)choice != symbarTextureFirst;
        symbarTextureFirst = (uint32_t)choice;
        symbarTextureCount = CountOf(kTextureCounts, sizeof kTextureCounts / sizeof *kTextureCounts, choice);
        break;
    case 5248:
        changed = (uint32_t)choice != symbarFurnitureCategory;
        symbarFurnitureCategory = (uint32_t)choice;
        break;
    case 5251:
        changed = (uint32_t)choice != symbarPlantFirst;
        symbarPlantFirst = (uint32_t)choice;
        symbarPlantCount = CountOf(kPlantCounts, sizeof kPlantCounts / sizeof *kPlantCounts, choice);
        break;
    case 5328:
        changed = (uint32_t)choice != symbarTrimFirst;
        symbarTrimFirst = (uint32_t)choice;
        symbarTrimCount = 5;
        break;
    default:
        break;
    }
    if (changed && StoresState(mode)) {
        storedScroll[mode] = 0;
        storedSelection[mode] = -1;
    }
}

} // namespace

void SelectSymbarMode(int mode)
{
    symbarMode = (short)mode;
    if (StoresState(mode))
        symbarSelection = storedSelection[mode];
}

void RememberSymbarSelection(int mode, int32_t index)
{
    if (StoresState(mode))
        storedSelection[mode] = index;
}

void ResetSymbarScroll()
{
    barScroll = 0;
    for (int mode = 1; mode <= 4; ++mode)
        storedScroll[mode] = 0;
}

void IgnoreSymbarCommand(int) {}

void DestroySymbarEntries(HWND bar)
{
    while (HWND child = bar ? GetWindow(bar, GW_CHILD) : nullptr)
        DestroyWindow(child);
}

bool PlantPassesFilter(uint32_t plantId)
{
    if (!activeDocument || !activeDocument->settings)
        return true;
    const PlanSettings* s = activeDocument->settings;
    const uint32_t water = s->plantSearch[0];
    const uint32_t propagation = s->plantSearch[1];
    const uint32_t sunlight = s->plantSearch[2];
    const uint32_t soil = s->plantSearch[3];
    const uint32_t zones = s->plantSearch[4];
    if (water == 65535 && propagation == 65535 && sunlight == 65535 && soil == 65535 && zones == 65535)
        return true;
    if (!s->plantSearchOn)
        return true;
    PlantInfo* info = LoadPlantInfo(plantId);
    if (!info)
        return true;
    // A value outside its range matches no bit: the mask is never shifted by a file's value.
    auto asked = [](uint32_t mask, int bits, uint32_t value) {
        uint32_t all = (1u << bits) - 1;
        if (!(mask & all))
            return true;
        return value >= 1 && value <= (uint32_t)bits && (mask & (1u << (value - 1)));
    };
    bool zoneOk = !(zones & 0x3FF);
    for (int n = 1; n <= 10 && !zoneOk; ++n)
        zoneOk = (zones & (1u << (n - 1))) && info->zones[n - 1] != 0;
    bool passes = zoneOk && asked(sunlight, 4, info->sunLight) && asked(soil, 8, info->soilType) &&
                  asked(water, 4, info->water) && asked(propagation, 4, info->propagation);
    FreePlantInfo(info);
    return passes;
}

HWND CreateSymbarEntry(HWND bar, uint32_t item, int y, int32_t index, uint16_t kind)
{
    if (!bar)
        return nullptr;
    if (kind == 6 && activeDocument && !PlantPassesFilter(item))
        return nullptr;
    HWND entry = CreateWindowExA(0, "SymEntryClass", "", WS_CHILD | WS_VISIBLE | WS_BORDER, -1, y,
                                 kEntrySize, kEntrySize, bar,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(index)), hInstance,
                                 nullptr);
    if (!entry)
        return nullptr;
    bool threeD = kind == 4 || kind == 5 || kind == 7;
    HCURSOR cursor = namedCursors[threeD ? Finger3DCursorIndex : FingerDragCursorIndex];
    if (cursor)
        SetClassLongPtrA(entry, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    SymEntryRecord* record = static_cast<SymEntryRecord*>(std::calloc(1, sizeof(SymEntryRecord)));
    if (record) {
        record->kind = kind;
        record->index = index;
        if (kind == 4)
            record->colourIndex = item;
        else
            record->itemId = item;
        SetWindowLongPtrA(entry, 0, reinterpret_cast<LONG_PTR>(record));
    }
    return entry;
}

HWND CreateSymbarObjectEntry(HWND bar, const char* previewPath, const char* objectPath,
                             const char* descriptionPath, int y, int32_t index, uint16_t kind)
{
    if (!bar)
        return nullptr;
    HWND entry = CreateWindowExA(0, "SymEntryClass", "", WS_CHILD | WS_VISIBLE | WS_BORDER, -1, y,
                                 kEntrySize, kEntrySize, bar,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(index)), hInstance,
                                 nullptr);
    if (!entry)
        return nullptr;
    if (HCURSOR cursor = namedCursors[FingerDragCursorIndex])
        SetClassLongPtrA(entry, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    SymEntryRecord* record = static_cast<SymEntryRecord*>(std::calloc(1, sizeof(SymEntryRecord)));
    if (record) {
        record->kind = kind;
        record->index = index;
        record->previewPath = CopyPath(previewPath);
        record->objectPath = CopyPath(objectPath);
        record->descriptionPath = CopyPath(descriptionPath);
        SetWindowLongPtrA(entry, 0, reinterpret_cast<LONG_PTR>(record));
    }
    return entry;
}

void LayoutSymbar()
{
    HWND bar = symbolBarWindow;
    if (!bar)
        return;
    const bool visible = StartRebuild(bar);
    int y = -1;
    int32_t index = 1;
    auto add = [&](uint32_t item, uint16_t kind) {
        CreateSymbarEntry(bar, item, y, index, kind);
        y += kEntryStep;
        ++index;
        ++symbarEntryCount;
    };
    switch (symbarMode) {
    case 1:
        for (int i = 0; i < kCustomColourCount; ++i)
            add(symbarCustomColourFirst + i, 4);
        break;
    case 2:
        for (uint32_t i = 0; i < symbarTextureCount; ++i)
            add(symbarTextureFirst + i, 5);
        break;
    case 4: {
        HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        // The plant library is listed afresh: its files may have changed since they were read.
        ForgetPlantInfo();
        for (uint32_t i = 0; i < symbarPlantCount; ++i) {
            uint32_t id = symbarPlantFirst + i;
            // A plant the filter leaves out takes no slot.
            if (!CreateSymbarEntry(bar, id, y, index, 6))
                continue;
            y += kEntryStep;
            ++index;
            ++symbarEntryCount;
            if (id == symbarPlantFirst + kPlantGapAfter) {
                y += kEntryStep;
                ++symbarEntryCount;
            }
        }
        SetCursor(previous);
        break;
    }
    case 5:
        for (uint32_t i = 0; i < kMode5Count; ++i)
            add(kMode5First + i, 5);
        break;
    case 7:
        for (uint32_t i = 0; i < symbarTrimCount; ++i)
            add(symbarTrimFirst + i, 7);
        break;
    case 8:
        for (int i = 0; i < kSwatchCount; ++i)
            add(symbarSwatchFirst + i, 4);
        break;
    default:
        break;
    }
    SetScrollMaximum(bar);
    int position = 0;
    switch (symbarMode) {
    case 1: case 2: case 4: case 5: case 8:
        position = storedScroll[symbarMode];
        break;
    case 7:
        storedScroll[1] = storedScroll[2] = storedScroll[4] = storedScroll[8] = 0;
        position = storedScroll[7];
        break;
    default:
        break;
    }
    ScrollTo(bar, position);
    FinishRebuild(bar, visible);
}

void FillSymbarFromLibraryFolder()
{
    HWND bar = symbolBarWindow;
    if (!bar || !programDirectory)
        return;
    uint32_t category = symbarFurnitureCategory;
    if (category < 1 || category > 35)
        category = 1;
    char folder[MAX_PATH];
    int length = std::snprintf(folder, sizeof folder, "%s\\Objects%s", programDirectory,
                               kCategories[category].folder);
    const bool visible = StartRebuild(bar);
    char pattern[MAX_PATH];
    bool bounded = length > 0 && length < (int)sizeof folder &&
                   std::snprintf(pattern, sizeof pattern, "%s\\*.ZOB", folder) < (int)sizeof pattern;
    if (bounded && activeDocument && activePlanPane) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstMeantFile(pattern, &found);
        int y = -1;
        int32_t index = 1;
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!found.cFileName[0])
                    break;
                char objectPath[MAX_PATH];
                int n = std::snprintf(objectPath, sizeof objectPath, "%s\\%s", folder, found.cFileName);
                // A path the file functions cannot take is skipped.
                if (n < 0 || n >= (int)sizeof objectPath)
                    continue;
                char description[MAX_PATH] = "";
                char preview[MAX_PATH] = "";
                if (n > 4) {
                    char probe[MAX_PATH];
                    std::memcpy(probe, objectPath, (size_t)n + 1);
                    std::memcpy(probe + n - 3, "ZOD", 3);
                    if (MeantFileAttributes(probe) != INVALID_FILE_ATTRIBUTES)
                        std::memcpy(description, probe, (size_t)n + 1);
                    std::memcpy(probe + n - 3, "ZPV", 3);
                    if (MeantFileAttributes(probe) != INVALID_FILE_ATTRIBUTES)
                        std::memcpy(preview, probe, (size_t)n + 1);
                }
                CreateSymbarObjectEntry(bar, preview, objectPath, description, y, index, 2);
                y += kEntryStep;
                ++index;
                ++symbarEntryCount;
            } while (FindNextMeantFile(search, &found));
            FindClose(search);
        }
    }
    SetScrollMaximum(bar);
    ScrollTo(bar, storedScroll[3]);
    InvalidateRect(bar, nullptr, TRUE);
    FinishRebuild(bar, visible);
}

void ShowLibraryCategoryMenu(const RECT* buttonRect)
{
    if (!buttonRect || !activeDocument || !activeDocument->settings)
        return;
    swallowNextToolClick = 1;
    DrawVariantButtonState(2);
    const int key = variantListTool;
    HMENU menu = CreatePopupMenu();
    if (!menu) {
        swallowNextToolClick = 0;
        return;
    }
    auto addItems = [&](const MenuItem* items, size_t n, uint32_t current) {
        for (size_t i = 0; i < n; ++i) {
            if (!items[i].id) {
                AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            UINT flags = MF_STRING | ((uint32_t)items[i].id == current ? MF_CHECKED : 0);
            AppendMenuA(menu, flags, items[i].id, items[i].text);
        }
    };
    switch (key) {
    case 5246:
        addItems(kCustomColourMenu, sizeof kCustomColourMenu / sizeof *kCustomColourMenu,
                 symbarCustomColourFirst ? symbarCustomColourFirst : 1);
        break;
    case 5247:
        addItems(kTextureMenu, sizeof kTextureMenu / sizeof *kTextureMenu, symbarTextureFirst);
        break;
    case 5248:
        for (int category : kFurnitureMenuOrder) {
            if (!category)
                AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            else
                AppendMenuA(menu,
                            MF_STRING | ((uint32_t)category == symbarFurnitureCategory ? MF_CHECKED : 0),
                            category, kCategories[category].menuText);
        }
        break;
    case 5251:
        addItems(kPlantMenu, sizeof kPlantMenu / sizeof *kPlantMenu, symbarPlantFirst);
        break;
    case 5328:
        addItems(kTrimMenu, sizeof kTrimMenu / sizeof *kTrimMenu, symbarTrimFirst);
        break;
    default:
        break;
    }
    POINT at = {buttonRect->right, buttonRect->bottom - 1};
    if (frameWindow)
        ClientToScreen(frameWindow, &at);
    int choice = TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                                at.x, at.y, 0, frameWindow, nullptr);
    DestroyMenu(menu);
    if (!choice) {
        DrawVariantButtonState(0);
    } else {
        ApplyCategoryChoice(key, choice);
        if (int mode = ModeOfKey(key))
            SelectSymbarMode(mode);
        RebuildForKey();
        ShowMenuBar();
    }
    swallowNextToolClick = 0;
}

void StepSwatchHue(const RECT* buttonRect, int up)
{
    if (!buttonRect || !activeDocument || !activeDocument->settings)
        return;
    HDC dc = frameWindow ? GetDC(frameWindow) : nullptr;
    if (dc)
        DrawBevelSunken(frameWindow, dc, buttonRect);
    while (IsMouseButtonDown()) {
    }
    PlanSettings* settings = activeDocument->settings;
    if (variantListTool == 5332) {
        uint32_t hue = settings->swatchColour;
        if (up)
            hue = hue + 10 > 240 ? 240 : hue + 10;
        else
            hue = hue < 10 ? 0 : hue - 10;
        settings->swatchColour = hue;
        SelectSymbarMode(8);
        LayoutSymbar();
        ShowMenuBar();
    }
    if (dc) {
        DrawToolVariantButton(dc, 0);
        DrawBevelRaised(frameWindow, dc, buttonRect);
        ReleaseDC(frameWindow, dc);
    }
}

LRESULT CALLBACK SymbarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        customStatusText[0] = 0;
        symbarStatusText[0] = 0;
        FreeCachedDib();
        return 0;
    case WM_SIZE:
        if (symbolBarWindow == window) {
            if (symbarMode == 3)
                FillSymbarFromLibraryFolder();
            else
                LayoutSymbar();
        }
        return 0;
    case WM_VSCROLL:
        ScrollBar(window, wParam);
        return 0;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        return 0;
    case WM_NCMOUSEMOVE:
        ClearToolButtonHover();
        break;
    case WM_MOUSEMOVE:
        ClearToolButtonHover();
        symbarHoverId = -1;
        if (lastStatusId != StatusDefaultId)
            ShowStatusHelp(StatusDefaultId);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
