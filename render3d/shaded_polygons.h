#pragma once
#include <stdint.h>
#include "model/plan_settings.h"

// The drawing of one scene polygon with its texture, a colour shaded by its face
// normal and a vertical darkening gradient (the high-quality render, the ground
// cut-away passes), and of plants as camera-facing picture billboards with their
// shadows. Vertices are stored with y growing downward and drawn at (x, -y, z).

struct PlanObject;
struct PlanSettings;
struct ScenePolygon;

// The source object of the last polygon drawn and its normal-shaded colour: two row
// polygons of one object share the colour along their common edge. A scene rebuild
// forgets them (ForgetDrawnColour), so no object of a freed plan is kept.
extern PlanObject* previousShadedSource;
extern ColourTriple previousShadedColour;
void ForgetDrawnColour();

// The material a polygon is drawn with: end and cap faces (part kind 6) take the
// first pair of the polygon, every other kind the second.
struct PolygonMaterial {
    uint32_t texture;
    float uScale;
    float vScale;
    uint32_t* textureSlot;
    ColourTriple* colourSlot;
};
PolygonMaterial PolygonMaterialOf(const ScenePolygon* polygon);
// A colour that is there and not unset (65535 in all three channels).
bool IsColourSet(const ColourTriple* colour);
// 1..13999, the ids of the texture library.
bool IsLibraryTextureId(uint32_t id);
// The colour with its value shaded by the normal against the sun (the floor of 0.6
// times the value and the brightness factor apply); hue and saturation are kept.
ColourTriple ShadeColourForNormal(ColourTriple colour, const float* normal);
// The view modes that draw line and fill colours instead of shading and textures.
bool IsLineColourMode(uint16_t viewMode);  // 1, 2
bool IsFlatColourMode(uint16_t viewMode);  // 1, 2, 4

// One vertex of a shaded polygon as it is drawn: y up, its colour bytes with the
// transparency alpha, its texture coordinate scaled (0 untextured).
struct ShadedVertex {
    float x, y, z;
    uint8_t rgba[4];
    float u, v;
};
// Where a shaded polygon goes: its texture (0 for none) and face normal, then each
// outline (a GL_POLYGON) vertex by vertex; hiddenEdge marks a vertex whose edge the
// line colour modes leave undrawn.
class ShadedPolygonSink {
public:
    virtual ~ShadedPolygonSink() = default;
    virtual void Begin(uint32_t texture, const float* normal) = 0;
    virtual void BeginOutline(int32_t vertexCount) = 0;
    virtual void Vertex(const ShadedVertex& vertex, bool hiddenEdge) = 0;
    virtual void EndOutline() = 0;
    virtual void End() = 0;
};
// Binds the texture as the render draws textured polygons: linear filtering, the
// texture modulating the colour.
void BindShadedTexture(uint32_t texture);
// Shades one polygon with its texture (loaded when it is not yet), its colour shaded by
// its normal and its gradient, and hands it to the sink; the polygon then becomes the
// previously shaded one. False, with nothing handed over, for a polygon not drawn (no
// build child, a slab in the flat colour modes).
bool ShadeTexturedPolygon(ScenePolygon* node, ShadedPolygonSink& sink);
// What ShadeTexturedPolygon's colours depend on besides the polygon and the one shaded
// before it: shaded colours kept from other inputs are shaded again.
struct ShadingInputs {
    uint16_t viewMode;
    uint16_t alpha;
    ColourTriple line, fill;
    float shade;
    float sun[3];
    float brightness;
    float storeyScale;
};
ShadingInputs CurrentShadingInputs(const PlanSettings* settings);
bool SameShadingInputs(const ShadingInputs& a, const ShadingInputs& b);
// One polygon with its texture, shaded colour and gradient, in GL_POLYGONs.
void DrawTexturedPolygon(ScenePolygon* node);
// A plant as a textured billboard facing the camera, standing on its base point.
void DrawPlantNode(ScenePolygon* node);
// The plant's shadow under shadowMatrix, where the stencil is not 1.
void DrawPlantShadow(ScenePolygon* node);

// The four corners of a plant's billboard under the current matrices (top-left,
// top-right, bottom-right, bottom-left, each x, y, z as drawn); false when the
// polygon is no drawable plant (transparency on, no texture id or build owner, or a
// first outline that is not a quad).
bool ComputePlantBillboardCorners(const ScenePolygon* node, const PlanSettings* settings,
                                  double corners[4][3]);
// Uploads a plant picture under name as 256 x 256 RGBA: black texels transparent,
// every other texel of the given alpha; with darken set every other texel turns black.
// Pictures of another size are scaled to 256 x 256 first. False when the picture
// cannot be had.
bool UploadPlantTexture(uint32_t textureId, uint32_t name, uint8_t alpha, bool darken);
