#include "render3d/high_quality_render.h"

unsigned char finalRenderRequested = 0;
