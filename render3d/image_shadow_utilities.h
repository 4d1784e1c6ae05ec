#pragma once
#include <stdint.h>
#include "model/plan_settings.h"

// Small services of the interactive view and the high-quality render: RGB pictures
// turned into RGBA textures with black as the transparent colour key, recoloured for
// shadows, the planar shadow matrix, and the second polygon list of the ground
// cut-away passes.
//
// RGB pictures are packed 8-bit rows (DIBImage); RGBA buffers have 4 bytes a pixel in
// the same order. A pixel whose red, green and blue are all 0 is the colour key.

struct ScenePolygon;

// The planar shadow projection shared by the shadow passes (OpenGL column order).
extern float shadowMatrix[16];

// A new RGBA copy of width x height RGB pixels, every alpha = alpha x 255 (truncated);
// null when memory runs out or the size is not positive. The 256 x 256 forms serve
// plant pictures. Free with free().
uint8_t* MakeRgbaImage(const uint8_t* rgb, float alpha, int32_t width, int32_t height);
uint8_t* MakeRgbaImage256(const uint8_t* rgb, float alpha);
// Every pure-black pixel gets alpha x 255.
void SetBlackAlpha(uint8_t* rgba, float alpha, int32_t width, int32_t height);
void SetBlackAlpha256(uint8_t* rgba, float alpha);
// Every pixel that is not pure black takes the colour's 8-bit channels.
void RecolourNonBlack(uint8_t* rgba, ColourTriple colour, int32_t width, int32_t height);
void RecolourNonBlack256(uint8_t* rgba, ColourTriple colour);
// Clears all four bytes of the first and last row and of the first and last pixel of
// every row.
void ClearTexelBorder(uint8_t* rgba, int32_t width, int32_t height);

// Refills the second polygon list (secondaryMeshes) with the copies the ground cut-away
// passes draw.
void BuildSecondaryPolygonList();
