#pragma once
#include <stdint.h>

// The paint of the render window: an ordinary repaint draws the scene once; the final
// render (the frame's command 5285) will average jittered passes.

// Set by the final-render command around its repaint of the render window: the repaint
// then runs the multi-pass render with its progress bar.
extern unsigned char finalRenderRequested;
// Set when a mouse press stopped a render or the ground-grid fill.
extern uint8_t renderAborted;
// 1 while RenderHighQuality runs (and while a pick draws).
extern uint8_t renderInProgress;

// Paints the render window with the active plan's scene; nothing without an active
// document with settings.
void RenderHighQuality();
