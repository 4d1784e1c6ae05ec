#pragma once
#include <stdint.h>

// Set by the final-render command around its repaint of the render window: the repaint
// then runs the multi-pass render with its progress bar.
extern unsigned char finalRenderRequested;
// Set when a mouse press stopped a render or the ground-grid fill.
extern uint8_t renderAborted;
