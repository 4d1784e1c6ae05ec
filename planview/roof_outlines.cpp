#include "planview/roof_outlines.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "planview/dimension_lines.h"
#include "planview/fixture_symbols.h"
#include "planview/output_routing.h"
#include "planview/symbol_lines.h"
#include <string.h>

namespace {

const float kPi = 3.14159265358979f;

// A roof point: its plan position and its height.
struct RoofPoint {
    PlanPoint at;
    float height;
};

// One outline line in 3D, projected and drawn (never to a DXF file).
void RoofLine(HDC dc, const RoofPoint& a, const RoofPoint& b)
{
    float x1 = a.at.x, y1 = a.height, z1 = a.at.z, x2 = b.at.x, y2 = b.height, z2 = b.at.z;
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
    DrawViewLine(dc, x1, y1, x2, y2);
}

void PitchArrow(HDC dc, PlanObject* roof, PlanPoint base, float direction, float half)
{
    const PlanPoint p = PolarFrom(base, direction, (half - 80.0f) / 2.0f);
    const PlanPoint q = PolarFrom(base, direction, (half - 80.0f) / 2.0f + 80.0f);
    const float from[2] = {p.x, p.z}, to[2] = {q.x, q.z};
    DrawRoofPitchArrow(dc, roof, from, to);
}

} // namespace

void DrawRoofOutline(HDC dc, PlanObject* roof)
{
    PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    if (!dc || !roof || !settings)
        return;
    RoofPoint v[4];
    const PlanVertex* vertex = roof->firstVertex;
    for (int i = 0; i < 4; ++i, vertex = vertex->next) {
        if (!vertex)
            return;
        v[i] = {{vertex->position[0], vertex->position[2]}, vertex->position[1]};
    }
    const uint32_t style = roof->styleOrTexture;
    const float pitch = roof->size;

    // The ridge between the middles of the two ends, shortened by the style.
    RoofPoint c0 = {Midpoint(v[0].at, v[3].at), v[0].height};
    RoofPoint c1 = {Midpoint(v[1].at, v[2].at), v[1].height};
    const PlanPoint middle = Midpoint(c0.at, c1.at);
    float span = 0.0f;
    const float a0 = DirectionTo(v[0].at, v[3].at, &span);
    const float a1 = DirectionTo(v[0].at, v[1].at);
    const float half = span / 2.0f;

    // The ridge's height above the eaves, after the ridge's own length.
    char caption[kDimensionTextSize] = ", Altezza colmo=";
    const size_t used = strlen(caption);
    FormatPlanLengthText(half * pitch / 12.0f, settings, caption + used, sizeof caption - used,
                         true, nullptr, nullptr);

    switch (style) {
    case 1: c0.at = PolarFrom(c0.at, a1, half); c1.at = PolarFrom(c1.at, a1 + kPi, half); break;
    case 3: c0.at = PolarFrom(c0.at, a1, half); break;
    case 4: c0.at = PolarFrom(c0.at, a1 + kPi, half); break;
    case 5: c0.at = PolarFrom(c0.at, a1 + kPi, half); c1.at = PolarFrom(c1.at, a1 + kPi, half); break;
    case 6: c0.at = PolarFrom(c0.at, a1 + kPi, half); c1.at = PolarFrom(c1.at, a1, half); break;
    default: break;
    }

    struct Line {
        const RoofPoint* from;
        const RoofPoint* to;
        bool drawn;
        bool dimensioned;
        uint8_t side;
        const char* suffix;
    } lines[] = {
        {&v[0], &v[1], true, true, 0, nullptr},
        {&v[2], &v[3], true, true, 0, nullptr},
        {&v[0], &v[3], style >= 1 && style <= 3, style == 1 || style == 3, 1, nullptr},
        {&v[1], &v[2], style >= 1 && style <= 5, style == 1 || style == 5, 0, nullptr},
        {&v[0], &c0, true, true, 1, nullptr},
        {&v[3], &c0, true, true, 0, nullptr},
        {&v[1], &c1, true, true, 0, nullptr},
        {&v[2], &c1, true, true, 1, nullptr},
        {&c0, &c1, true, true, 1, caption},
    };
    for (const Line& line : lines) {
        if (!line.drawn)
            continue;
        RoofLine(dc, *line.from, *line.to);
        halfInchToggle = 1;
        if (line.dimensioned && settings->dimensionDrawing) {
            const PlanPoint a = line.from->at, b = line.to->at;
            DrawDimensionLine(dc, a.x, a.z, b.x, b.z, a.x, a.z, b.x, b.z, line.side, 5.0f, 0,
                              nullptr, nullptr, 0, 0, 5.0f, 1, line.suffix);
        }
    }

    if (style < 1 || style > 6)
        return;
    PitchArrow(dc, roof, middle, a0, half);
    PitchArrow(dc, roof, middle, a0 + kPi, half);
    if (style == 1 || style == 3)
        PitchArrow(dc, roof, c0.at, a1 + kPi, half);
    if (style == 1 || style == 5)
        PitchArrow(dc, roof, c1.at, a1, half);
}
