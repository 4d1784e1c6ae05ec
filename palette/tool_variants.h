#pragma once
// The predefined variants of the creation tools: what choosing variant n of a tool
// writes into the plan's current defaults, where each variant's preview picture lies
// under "\Tools\", and the picture of the variant button on the frame.
#include <windows.h>
#include <cstdint>

struct PopEntryRecord;

// Room for a preview path; a path that would not fit in MAX_PATH is not built.
constexpr size_t kToolPreviewPathSize = MAX_PATH;

// The variant of an entry of the list, for variantListTool.
void ApplyToolVariant(PopEntryRecord* record, HWND entry, UINT message, LPARAM position);
// Writes the variant's defaults into the active plan's settings (doors and windows then
// open their dialog). Nothing without a plan with settings, for a tool without variants
// or for a variant number outside the tool's range.
void ApplyToolVariantByTool(int tool, uint16_t previewSet, uint32_t variantNumber);
// The preview path of a variant of variantListTool: program directory + "\Tools\" +
// folder + "\" + name + n + ".ZPV"; only up to the folder for n out of range or a door
// or window preview set other than 1 or 2; up to "\Tools\" for a tool without previews.
// Empty when the program directory is not set or the path would not fit.
void BuildToolPreviewPath(uint16_t previewSet, uint32_t variantNumber, char* path);
// The picture of the variant button for variantListTool or the side-bar key, with its
// edge: state 0 normal, 1 hovered, 2 pressed (the last two only for the clickable ones).
void DrawToolVariantButton(HDC frameDC, int state);
// The resource id of that picture.
int VariantButtonPicture(int tool, bool metric, uint32_t swatchHue);
