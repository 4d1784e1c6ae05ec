#pragma once

// Set by the final-render command around its repaint of the render window: the repaint
// then runs the multi-pass render with its progress bar.
extern unsigned char finalRenderRequested;
