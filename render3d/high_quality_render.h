#pragma once
#include <stdint.h>

// The paint of the render window. An ordinary repaint draws the scene once; a final
// render (the frame's command 5285, also run before the BMP export) draws it several
// times with sub-pixel jitter and averages the passes in the accumulation buffer, an
// anti-aliased picture. Around the scene it draws a sky backdrop, the ground with holes
// cut where sunken parts of the model pierce it, the earth block under the site, and,
// when shadows are on, planar stencil shadows cast by the sun onto the ground and onto
// raised receivers. A mouse press aborts the render: the frame is not presented and the
// status bar says so.

struct ScenePolygon;

// Set by the final-render command around its repaint of the render window: the repaint
// then runs the multi-pass render with its progress bar.
extern unsigned char finalRenderRequested;
// Set when a mouse press stopped a render or the ground-grid fill.
extern uint8_t renderAborted;
// 1 while RenderHighQuality runs (and while a pick draws).
extern uint8_t renderInProgress;
// 1 during the first pass of a final render, which counts the polygons for the progress.
extern uint8_t firstRenderPass;
// The pass the progress shows (from 1); 0 outside a render.
extern uint32_t renderPassNumber;
// While set the scene walk draws shadows instead of surfaces.
extern uint8_t shadowPassActive;
// Set during the shadow pass onto the ground.
extern uint8_t groundShadowPass;
// The raised receiver of the current receiver pass, or null.
extern ScenePolygon* shadowReceiverNode;
// The height of the current receiving plane (0 for the ground).
extern float shadowReceiverLevel;
// The frames rendered and presented so far (swapped to the window), and the paints that
// showed the kept frame again instead.
extern uint32_t presentedRenderFrames;
extern uint32_t keptFramesShown;

// The last presented frame's pixels, kept when renderCaptureRequested was set: 24-bit
// rows bottom up in blue, green, red order, each padded to 4 bytes, as a BMP holds them.
// They are the frame the screen shows, as read back for it: a copy of the window does not
// see an OpenGL picture on every platform. None when the frame was not presented.
extern uint8_t renderCaptureRequested;
struct CapturedRender {
    int32_t width;
    int32_t height;
    uint8_t* pixels;  // malloc'd, null when nothing was captured
};
extern CapturedRender capturedRender;
void FreeCapturedRender();

// The jitter offsets (x, y pairs in pixels) of the pass count: 4, 8, 15 or 24 pairs;
// any other count takes the 8 of j8. count receives the number of pairs.
const float (*JitterTable(uint32_t passes, uint32_t* count))[2];

void RenderHighQuality();
// Repaints the render window at once as a final render (the command's road).
void RedrawFinalRender();
// Viewport, clear, fixed state, the sky of an ordinary repaint, projection and camera,
// the shadow matrix and the ground.
void PrepareRenderFrame();
// The camera of a pass: the jittered orthographic projection of a parallel view, or the
// walk or fly transform after a jittered frustum; then, in perspective, the ground with
// its holes.
void SetupRenderCamera(double fieldOfView, double aspect, double pixelDx, double pixelDy, double focus);
// The background quad, jittered with the pass's offsets when jittered is set.
void DrawSkyBackdrop(uint8_t jittered, uint32_t pass);
// Shows the frame (unless aborted), keeping its pixels when asked. A frame the screen does
// not take (see SwapRenderBuffers) is not presented, and the capture is then empty. The
// frame of an ordinary repaint is kept, with what it was drawn from (the plan, the scene's
// changes, the settings, the camera, the window's size).
void PresentRenderFrame();
// Shows the kept frame again on the screen, drawing nothing, when nothing it was drawn
// from has changed since; false (nothing shown) otherwise. It does not count as a
// presented frame.
bool PresentKeptFrame();
// Forgets the kept frame (the rendering context goes).
void ForgetKeptFrame();
// A polygon's shadow under shadowMatrix (each pixel darkened once).
void DrawShadowPolygon(ScenePolygon* node);
// The polygon's holes inverted into the stencil, so that light falls through them.
void MaskShadowOpenings(ScenePolygon* node);
