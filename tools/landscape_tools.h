#pragma once
#include <stdint.h>

// The landscape tools: plot 7500, fill zone 7501, path 7502, fill 7503, fence 7504, picket fence 7505, sloped plot 7509, topography 7510/7511 and the gate 7506.
// Dispatched by the tool framework with (window x, window y,) model x, y, z and the
// tool event (1 press, 2 move, 3 release).

void HandleLotTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleFillZoneTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandlePathTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleFillTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleFenceTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandlePicketFenceTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleTopographyTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleSlopedLotTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event);
void HandleGateTool(float x, float y, float z, int16_t event);
