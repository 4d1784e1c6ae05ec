#include "files/render_bmp_export.h"

// There is no render window to save yet.
void ExportRenderBmp(const char*) {}
