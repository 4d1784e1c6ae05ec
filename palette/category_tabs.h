#pragma once
// The category tabs as plan layers: each of the first eight tabs is a ViewCategory bit;
// the plan shows the objects whose bit is in its visible mask, and each tab remembers
// the mask shown with it (in the plan's settings). Only the strip of the active tab's
// tools is shown; tab 8 (drawing shapes) has no bit.
#include <windows.h>
#include <cstdint>

// Tab 7, the garden, is the one beside which the frame shows the planting-age stepper.
enum { ToolTabCount = 9, LayerTabCount = 8, GardenTab = 7, DrawingShapeTab = 8 };

// The active tab, 0 to 8 (0 at start).
extern uint16_t activeToolTab;
// Set while the layer menu is open: the active-tab button is drawn sunken.
extern uint8_t toolTabPressed;

// The tool strip of a tab (null for a tab outside 0 to 8 or before the frame made it).
HWND ToolStripOfTab(uint16_t tab);
// The active-tab picture of a tab: 11061 for tab 0 to 11069 for tab 8.
int ActiveTabPicture(uint16_t tab);

// Makes a tab active; when it differs from activeToolTab, stores it and lays the panes out.
void SetActiveToolTab(uint16_t tab);
// Switches to the new tab: for tabs 0 to 7 the plan's visible mask becomes the tab's
// remembered mask and the active category bit 1 << tab; the active-tab button moves over
// the tab, the old strip is hidden and the new one shown, the select tool becomes
// current and, unless the side bar is up, the variant list is emptied; then the plan's
// objects are refreshed for the new layers. Nothing for a tab of 9 or more, or without
// the active-tab button, the frame or a plan with settings.
void LayoutToolPanes(uint16_t oldTab, uint16_t newTab);
// Re-applies the active tab's remembered mask and category bit to the active plan;
// nothing for tab 8 or without a plan with settings.
void ApplyTabLayerToPlan();
