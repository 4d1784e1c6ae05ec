#include "render3d/high_quality_render.h"

unsigned char finalRenderRequested = 0;
uint8_t renderAborted = 0;
