#pragma once
// The library side bar (SymbarClass): a scrolling column of 53 x 53 entries
// (SymEntryClass, 52 pixels apart) offering one kind of library item at a time:
// textures, colour swatches, the plan's custom colours, trim and panel finishes, plants
// and furniture objects. Textures, trims and colours are dragged onto the 3D render
// window, which paints the surface under the drop; furniture, model files and plants are
// dragged onto the plan pane, where they are inserted at the drop point. The bar is
// rebuilt, never patched: every switch of kind, category or range, every resize and
// every hue step destroys its entries and makes them again.
#include <windows.h>
#include <cstdint>

// What the side bar shows: 1 custom colours, 2 textures, 3 furniture, 4 plants,
// 5 a second texture range, 6 model files, 7 trims and panels, 8 colour swatches.
extern short symbarMode;
// The 1-based index of the highlighted entry, -1 for none.
extern int32_t symbarSelection;
// The item whose name the status bar last showed; -1 lets the next hover show it again.
extern int32_t symbarHoverId;
// The number of entry slots laid out.
extern uint32_t symbarEntryCount;
// Ranges of the library the bar shows (first id and count).
extern uint32_t symbarTextureFirst;     // 850
extern uint32_t symbarTextureCount;     // 66
extern uint32_t symbarTrimFirst;        // 100
extern uint32_t symbarTrimCount;        // 5
extern uint32_t symbarPlantFirst;       // 7000
extern uint32_t symbarPlantCount;       // 461
extern uint32_t symbarSwatchFirst;      // 1: 45 swatches follow
extern uint32_t symbarCustomColourFirst; // 0: 12 colours of the colour table follow
extern uint32_t symbarFurnitureCategory; // 1 to 35

// One entry: its kind (2 furniture, 4 colour, 5 texture, 6 plant, 7 trim or panel), its
// 1-based place in the bar, the colour index (kind 4) or the item id, and for furniture
// the heap copies of its three paths (each may be null).
struct SymEntryRecord {
    uint16_t kind;
    int32_t index;
    uint32_t colourIndex;
    uint32_t itemId;
    char* previewPath;
    char* objectPath;
    char* descriptionPath;
};

LRESULT CALLBACK SymbarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SymEntryWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Makes a mode current with the selection remembered for it.
void SelectSymbarMode(int mode);
// Remembers the highlighted entry of a mode (not of mode 6).
void RememberSymbarSelection(int mode, int32_t index);
// Rebuilds the bar for the current mode (all modes but 3).
void LayoutSymbar();
// Rebuilds the bar in mode 3 from the furniture folder of the current category.
void FillSymbarFromLibraryFolder();
// One entry of kind 4 to 7 at (-1, y); null when it cannot be made or a plant is
// filtered out.
HWND CreateSymbarEntry(HWND bar, uint32_t item, int y, int32_t index, uint16_t kind);
// One furniture entry with copies of its three paths (empty or null: none).
HWND CreateSymbarObjectEntry(HWND bar, const char* previewPath, const char* objectPath,
                             const char* descriptionPath, int y, int32_t index, uint16_t kind);
// Destroys the bar's entries, always the first child, until none is left.
void DestroySymbarEntries(HWND bar);
// True when the plant passes the plan's plant filter (or no filter is set).
bool PlantPassesFilter(uint32_t plantId);
// The filler of mode 6, which has none: takes its argument and does nothing.
void IgnoreSymbarCommand(int value);
// The library category pop-up of the variant button (rectangle in frame client coordinates).
void ShowLibraryCategoryMenu(const RECT* buttonRect);
// The hue arrows of the colour swatches: +10 (up) or -10, within 0 to 240.
void StepSwatchHue(const RECT* buttonRect, int up);
// Puts the bar's scroll position and the stored positions of its modes back to zero.
void ResetSymbarScroll();

// The colour of swatch 1 to 50 from the plan's swatch hue: tints of rising saturation
// for 1 to 25, then shades of falling value; 0 without an active document.
COLORREF GetSwatchColour(int index);
// The three drags of the entries (mouse moves, left presses and releases; the right
// press for the repeated painting).
void DragPaintToView3D(uint32_t value, HWND entry, UINT message, LPARAM position);
void RepeatPaintInView3D(uint32_t value, HWND entry, UINT message, LPARAM position);
void DragInsertObject(SymEntryRecord* record, HWND entry, UINT message, LPARAM position);
