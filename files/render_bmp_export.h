#pragma once

// Runs the final render, then writes the render window's picture as a BMP file; nothing
// without a render window, a beep when the file cannot be created.
void ExportRenderBmp(const char* path);
