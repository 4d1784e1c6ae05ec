#pragma once
#include <stdint.h>
#include "model/plan_settings.h"

// Small services of the interactive view and the high-quality render: RGB pictures
// turned into RGBA textures with black as the transparent colour key, recoloured for
// shadows, the planar shadow matrix, saving and restoring the stencil buffer, the second
// polygon list of the ground cut-away passes, the stencil preparation of the shadow
// passes, and the image panels (photo pictures) of the render with their shadows.
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

// The matrix that flattens geometry onto the plane through the three points along the
// light (x, y, z, w; w = 0 a direction), in OpenGL column order.
void ComputeShadowMatrix(const float points[3][3], const float light[4], float matrix[16]);
// (p0 - p1) x (p1 - p2), normalised.
void ComputePlaneNormal(const float points[3][3], float normal[3]);
// Divides by the length; a zero length divides by 1.0.
void NormaliseVector3(float vector[3]);

// Reads the viewport's stencil values (the inverted opening masks 255 and 254 turned
// back into 0 and 1) and draws them back; each sets its own pixel alignment.
void SaveStencilPicture();
void RestoreStencilPicture();

// Refills the second polygon list (secondaryMeshes) with copies of the exterior walls:
// their floors sliced at the eye height and their faces stretched far above and below
// the ground, which the ground cut-away passes draw. The list of the same scene at the
// same eye height is kept as it is.
void BuildSecondaryPolygonList();
// Counts the fillings of the second list.
extern uint32_t secondaryListGeneration;
// A copy of the polygon with its outlines, appended to the second list; null when memory
// runs out.
ScenePolygon* CopyPolygonToSecondList(const ScenePolygon* polygon);

// The stencil of the ground shadow pass: 0 where the ground receives shadows, 1
// elsewhere; shadowMatrix onto the ground plane (or the terrain's border plane).
void PrepareGroundShadowStencil();
// The same for one raised receiving surface: stencil 0 on its outline, the shadow matrix
// onto its plane.
void PrepareSurfaceShadowStencil(ScenePolygon* polygon);
// An image panel of the render with its photo (black transparent), and its shadow.
void DrawImagePanelNode(ScenePolygon* polygon);
void DrawImagePanelShadow(ScenePolygon* polygon);
