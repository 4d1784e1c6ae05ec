#include "planview/fixture_symbols.h"
#include "files/symbol_library.h"
#include "model/hermite.h"
#include "model/object_extents.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "model3d/stairs.h"
#include "planview/dimension_lines.h"
#include "planview/labels_and_fills.h"
#include "planview/output_routing.h"
#include "planview/symbol_lines.h"
#include <initializer_list>
#include <math.h>
#include <stdio.h>
#include <string.h>

namespace {

const float kPi = 3.14159265358979f;
const float kQuarterTurn = kPi / 2.0f;
const double kRadiansToDegrees = 57.29577951308232;
const uint32_t kCurvedStair = 801;
// A step count beyond any stair, so a damaged riser can never overflow the count.
const double kMostSteps = 100000.0;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

bool Metric(const PlanSettings* settings)
{
    return settings->unitSystem != kUnitSystemFeetInches;
}

PlanPoint At(const PlanVertex* v)
{
    return {v->position[0], v->position[2]};
}

// The first n vertices of the object, or false when it has fewer.
bool FirstVertices(const PlanObject* object, int n, const PlanVertex** out)
{
    const PlanVertex* v = object ? object->firstVertex : nullptr;
    for (int i = 0; i < n; ++i, v = v->next) {
        if (!v)
            return false;
        out[i] = v;
    }
    return true;
}

bool Ready(HDC dc, const PlanObject* object)
{
    return dc && object && Settings();
}

float Degrees(float radians)
{
    return static_cast<float>(radians * kRadiansToDegrees);
}

// Inches and metres of lengths kept in the drawing unit (object parameters) and of
// plan lengths: always through inches, whatever the drawing unit.
double UnitsInches(float value, const PlanSettings* settings)
{
    return ConvertUnitsToInches(value, settings);
}

double PlanInches(float planLength, const PlanSettings* settings)
{
    return ConvertUnitsToInches(PlanLengthToUnits(planLength, settings, 0), settings);
}

double Metres(double inches)
{
    return InchesToMetres(static_cast<float>(inches));
}

void Caption(HDC dc, const char* text, PlanPoint at, float degrees)
{
    DrawCaption(dc, text, at.x, at.z, degrees);
}

// An end mark at M (plan) turned toward O, on the screen and on paper, not in a DXF file.
void EndMark(HDC dc, const PlanObject* owner, PlanPoint m, PlanPoint o, uint32_t style)
{
    if (exportDxf2D || exportDxf3D)
        return;
    float mx = 0.0f, my = 0.0f, ox = 0.0f, oy = 0.0f;
    ProjectPlanPoints(m, o, &mx, &my, &ox, &oy);
    DrawDimensionEndMarks(dc, owner, mx, my, ox, oy, style);
}

// The pitch arrow from P to Q with the pitch above its middle and "12" below.
void DrawPitchArrow(HDC dc, PlanPoint p, PlanPoint q, float pitch)
{
    const float a = DirectionTo(q, p);
    DrawPlanSegment(dc, p, q);
    DrawPlanSegment(dc, PolarFrom(q, a + kPi / 4.0f, 30.0f), q);
    DrawPlanSegment(dc, PolarFrom(q, a - kPi / 4.0f, 30.0f), q);
    const PlanPoint m = Midpoint(p, q);
    char text[64];
    snprintf(text, sizeof text, "%0.0f", static_cast<double>(pitch));
    Caption(dc, text, PolarFrom(m, a + kQuarterTurn, 12.0f), Degrees(a));
    Caption(dc, "12", PolarFrom(m, a + kQuarterTurn, -12.0f), Degrees(a));
}

// An arrow from the tail T to the head H with strokes of the length at 30 degrees.
void DrawArrow(HDC dc, PlanPoint tail, PlanPoint head, float stroke)
{
    const float a = DirectionTo(head, tail);
    DrawPlanSegment(dc, head, tail);
    DrawPlanSegment(dc, head, PolarFrom(head, a + kPi / 6.0f, stroke));
    DrawPlanSegment(dc, head, PolarFrom(head, a - kPi / 6.0f, stroke));
}

bool IsDrawnSymbolCode(uint32_t code)
{
    static const uint16_t drawn[] = {55, 65, 66, 67, 70, 73, 74, 75, 76, 77, 78, 83, 84, 85,
                                     86, 87, 90, 91, 92, 93, 94, 95, 96, 97, 99, 109, 124};
    if (code < 55 || code > 124)
        return false;
    for (uint16_t c : drawn)
        if (c == code)
            return true;
    return false;
}

// The tubs and the shower: their templates' nominal size (display units), to which the
// element's own size stretches them, and the name their plan symbol carries.
struct StretchedFixture {
    uint32_t code;
    float width;
    float depth;
    const char* name;
};

const StretchedFixture* StretchedFixtureOf(uint32_t code)
{
    static const StretchedFixture fixtures[] = {
        {95, 60.0f, 30.0f, "Vasca/Doccia"},
        {96, 60.0f, 42.0f, "Vasca idromassaggio"},
        {97, 48.0f, 36.0f, "Doccia"},
    };
    for (const StretchedFixture& f : fixtures)
        if (f.code == code)
            return &f;
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------
// Templates

void DrawTemplateSegment(HDC dc, const PlanObject*, const PlanVertex* p, const PlanVertex* q,
                         float angle, const float* position, float scaleX, float scaleY)
{
    PlanSettings* settings = Settings();
    if (!dc || !p || !q || !position || !settings)
        return;
    PlanVertex a = *p, b = *q;
    const float turn = AngleDifference(0.0f, angle);
    for (PlanVertex* v : {&a, &b}) {
        TranslatePoint(&v->position[0], &v->position[2], position[0], position[1]);
        if (scaleX != 1.0f || scaleY != 1.0f) {
            ScalePointAbout(&v->inTangent[0], &v->inTangent[2], 0.0f, 0.0f, scaleX, scaleY);
            ScalePointAbout(&v->outTangent[0], &v->outTangent[2], 0.0f, 0.0f, scaleX, scaleY);
            ScalePointAbout(&v->position[0], &v->position[2], position[0], position[1], scaleX, scaleY);
        }
        RotatePointAbout(&v->inTangent[0], &v->inTangent[2], 0.0f, 0.0f, turn);
        RotatePointAbout(&v->outTangent[0], &v->outTangent[2], 0.0f, 0.0f, turn);
        RotatePointAbout(&v->position[0], &v->position[2], position[0], position[1], turn);
    }
    const bool straight = a.outTangent[0] == 0.0f && a.outTangent[1] == 0.0f &&
                          a.outTangent[2] == 0.0f && b.inTangent[0] == 0.0f &&
                          b.inTangent[1] == 0.0f && b.inTangent[2] == 0.0f;
    if (straight) {
        DrawWorldLine(dc, a.position[0], a.position[1], a.position[2], b.position[0],
                      b.position[1], b.position[2], 0);
        return;
    }
    // A third of the curve steps on the screen and in a DXF file, all of them on paper.
    int steps = UsableCurveSteps(settings);
    if (planOutputMode != 1)
        steps = steps / 3 > 0 ? steps / 3 : 1;
    float coefficients[3][4];
    ComputeSegmentCoefficients(a.position, a.outTangent, b.position, b.inTangent, coefficients);
    float previous[3] = {a.position[0], a.position[1], a.position[2]};
    for (int i = 1; static_cast<float>(i) / steps <= 1.01f; ++i) {
        float point[3];
        EvaluateSegmentCoefficients(coefficients, static_cast<float>(i) / steps, point);
        DrawWorldLine(dc, previous[0], previous[1], previous[2], point[0], point[1], point[2], 0);
        memcpy(previous, point, sizeof previous);
    }
}

void DrawTemplatePart(HDC dc, const PlanObject* part, float angle, const float* position,
                      float scaleX, float scaleY)
{
    if (!part || part->rows != 1 || !part->firstVertex)
        return;
    const PlanVertex* v = part->firstVertex;
    for (; v->next; v = v->next)
        DrawTemplateSegment(dc, part, v, v->next, angle, position, scaleX, scaleY);
    if (part->closed && v != part->firstVertex)
        DrawTemplateSegment(dc, part, v, part->firstVertex, angle, position, scaleX, scaleY);
}

void DrawSymbolTemplate(HDC dc, float angle, const float* position, uint32_t code, float scaleX,
                        float scaleY)
{
    if (!dc || !position || !IsDrawnSymbolCode(code))
        return;
    const PlanObject* symbol = FindSymbolTemplate(symbolTemplates2D, code);
    if (!symbol)
        return;
    ForEachSymbolTemplatePart(symbol, [&](const PlanObject* part) {
        DrawTemplatePart(dc, part, angle, position, scaleX, scaleY);
    });
}

float WallElementFacePoint(const float* middle, float wallAngle, uint8_t side, float halfWall,
                           float* face)
{
    // The symbol sits on the wall face of the element's side.
    const float outward = side ? wallAngle + kQuarterTurn : wallAngle - kQuarterTurn;
    const PlanPoint s = PolarFrom({middle[0], middle[1]}, outward, halfWall);
    face[0] = s.x;
    face[1] = s.z;
    return outward;
}

void DrawWallElementTemplate(HDC dc, uint32_t code, const float* middle, float wallAngle,
                             uint8_t side, float halfWall, float width, float depth)
{
    PlanSettings* settings = Settings();
    if (!dc || !middle || !settings)
        return;
    float face[2];
    const float outward = WallElementFacePoint(middle, wallAngle, side, halfWall, face);
    float scaleX = 1.0f, scaleY = 1.0f;
    if (const StretchedFixture* fixture = StretchedFixtureOf(code)) {
        scaleX = width / UnitsToPlanLength(fixture->width, settings, 0);
        scaleY = depth / UnitsToPlanLength(fixture->depth, settings, 0);
    }
    DrawSymbolTemplate(dc, outward + kQuarterTurn, face, code, scaleX, scaleY);
}

// ---------------------------------------------------------------------------------
// Renderers

void DrawWallElementSymbol(HDC dc, PlanObject* object, uint32_t code)
{
    PlanSettings* settings = Settings();
    const PlanVertex* v[2];
    if (!Ready(dc, object) || !object->link || !object->owner || !FirstVertices(object, 2, v))
        return;
    const OpeningRecord* record = static_cast<const OpeningRecord*>(object->link);
    if (!record->startVertex || !record->endVertex)
        return;
    const PlanPoint m = Midpoint(At(v[0]), At(v[1]));
    const float middle[2] = {m.x, m.z};
    const float w = DirectionTo(At(record->startVertex), At(record->endVertex));
    const float h = UnitsToPlanLength(object->owner->size, settings, 0) / 2.0f;
    DrawWallElementTemplate(dc, code, middle, w, record->hingeSide, h, record->width,
                            record->height);
    const StretchedFixture* fixture = StretchedFixtureOf(code);
    if (!fixture)
        return;
    float face[2];
    const float b = WallElementFacePoint(middle, w, record->hingeSide, h, face);
    const PlanPoint s = {face[0], face[1]};
    const double width = PlanInches(record->width, settings);
    const double depth = PlanInches(record->height, settings);
    char size[128];
    if (Metric(settings))
        snprintf(size, sizeof size, "%0.2fm.LUx%0.2fm.LA", Metres(width), Metres(depth));
    else
        snprintf(size, sizeof size, "%0.0f\"LUx%0.0f\"LA", width, depth);
    Caption(dc, size, PolarFrom(s, b, record->height / 2.0f - 8.0f), Degrees(w));
    Caption(dc, fixture->name, PolarFrom(s, b, record->height / 2.0f + 8.0f), Degrees(w));
}

void DrawRoofPitchArrow(HDC dc, PlanObject* roof, const float* p, const float* q)
{
    if (!Ready(dc, roof) || !p || !q)
        return;
    DrawPitchArrow(dc, {p[0], p[1]}, {q[0], q[1]}, roof->size);
}

void DrawPitchSymbol(HDC dc, PlanObject* object)
{
    const PlanVertex* v[2];
    if (!Ready(dc, object) || !FirstVertices(object, 2, v))
        return;
    DrawPitchArrow(dc, At(v[0]), At(v[1]), object->size);
}

void DrawSlopeSymbol(HDC dc, PlanObject* object)
{
    const PlanVertex* v[2];
    if (!Ready(dc, object) || !FirstVertices(object, 2, v))
        return;
    const PlanPoint v1 = At(v[0]), v2 = At(v[1]);
    float length = 0.0f;
    const float a = DirectionTo(v2, v1, &length);
    DrawArrow(dc, v1, v2, 150.0f);
    DrawPlanSegment(dc, PolarFrom(v1, a + kQuarterTurn, -200.0f), PolarFrom(v1, a + kQuarterTurn, 200.0f));
    Caption(dc, "Elevazione=0", PolarFrom(v1, a, 15.0f), Degrees(a + kQuarterTurn));
    char text[64];
    snprintf(text, sizeof text, "Discesa: %0.0fº", static_cast<double>(v[0]->mainHeight));
    Caption(dc, text, PolarFrom(PolarFrom(v2, a, length / 2.0f), a - kQuarterTurn, 15.0f),
            Degrees(DirectionTo(v1, v2)));
}

void DrawPlantSymbol(HDC dc, PlanObject* object)
{
    const PlanVertex* v[3];
    if (!Ready(dc, object) || !FirstVertices(object, 3, v))
        return;
    const PlanPoint centre = {(v[0]->position[0] + v[1]->position[0]) / 2.0f,
                              (v[1]->position[2] + v[2]->position[2]) / 2.0f};
    const float r = (v[1]->position[0] - v[0]->position[0]) / 2.0f;
    for (int i = 0; i < 6; ++i) {
        const float angle = static_cast<float>(i) * kPi / 6.0f;
        const float half = (i % 2) ? 0.9f * r : r;
        DrawPlanSegment(dc, PolarFrom(centre, angle, half), PolarFrom(centre, angle, -half));
    }
    // The circle is a picture of the plan, never a line of a DXF file.
    HDC target = SymbolTargetDC(dc);
    if (exportDxf2D || exportDxf3D || !target)
        return;
    float x = centre.x, y = 0.0f, z = centre.z;
    TransformPointToView(&x, &y, &z, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    double cx = static_cast<long>(x + 0.5f), cy = static_cast<long>(y + 0.5f);
    double radius = static_cast<long>(ZoomFloat(0.8f * r) + 0.5f);
    double box[4] = {cx - radius, cy - radius, cx + radius, cy + radius};
    if (planOutputMode == 1)
        for (double& value : box)
            value = value * printScaleX + 0.5;
    ScopedBrush hollow(dc, NULL_BRUSH);
    Ellipse(target, static_cast<int>(box[0]), static_cast<int>(box[1]), static_cast<int>(box[2]),
            static_cast<int>(box[3]));
}

void DrawBeamSymbol(HDC dc, PlanObject* object)
{
    PlanSettings* settings = Settings();
    const PlanVertex* v[2];
    if (!Ready(dc, object) || !FirstVertices(object, 2, v))
        return;
    const PlanPoint v1 = At(v[0]), v2 = At(v[1]);
    const float h = UnitsToPlanLength(object->parameters[3], settings, 0) / 2.0f;
    const float a = DirectionTo(v1, v2);
    auto plus = [&](PlanPoint p) { return PolarFrom(p, a + kQuarterTurn, h); };
    auto minus = [&](PlanPoint p) { return PolarFrom(p, a + kQuarterTurn, -h); };
    DrawPlanSegment(dc, plus(v1), plus(v2));
    DrawPlanSegment(dc, minus(v1), minus(v2));
    DrawPlanSegment(dc, plus(v1), minus(v1));
    DrawPlanSegment(dc, plus(v2), minus(v2));
    halfInchToggle = 1;
    if (!settings->dimensionDrawing)
        return;
    const double width = UnitsInches(object->parameters[3], settings);
    const double depth = UnitsInches(object->parameters[2], settings);
    char caption[128];
    if (Metric(settings))
        snprintf(caption, sizeof caption, "%0.2f m.LA, %0.2f m.PR", Metres(width), Metres(depth));
    else
        snprintf(caption, sizeof caption, "%0.0f\"LA, %0.0f\"PR", width, depth);
    DrawDimensionLine(dc, v1.x, v1.z, v2.x, v2.z, v1.x, v1.z, v2.x, v2.z, 1, -9.0f, 0, nullptr,
                      nullptr, 0, 0, 0.0f, 1, caption);
}

void DrawCableSymbol(HDC dc, PlanObject* object)
{
    const PlanVertex* v[2];
    if (!Ready(dc, object) || !FirstVertices(object, 2, v))
        return;
    const PlanPoint v1 = At(v[0]), v2 = At(v[1]);
    const float a = DirectionTo(v1, v2);
    DrawPlanSegment(dc, PolarFrom(v1, a + kQuarterTurn, 5.0f), PolarFrom(v1, a + kQuarterTurn, -5.0f));
    DrawPlanSegment(dc, v1, v2);
    EndMark(dc, object, v2, v1, kMarkFilledArrow);
}

void DrawSlopeArrowSymbol(HDC dc, PlanObject* object)
{
    const PlanVertex* v[2];
    if (!Ready(dc, object) || !FirstVertices(object, 2, v))
        return;
    const PlanPoint v1 = At(v[0]), v2 = At(v[1]);
    float length = 0.0f;
    const float a = DirectionTo(v2, v1, &length);
    DrawArrow(dc, v1, v2, 50.0f);
    Caption(dc, "Pendio", PolarFrom(PolarFrom(v2, a, length / 2.0f), a - kQuarterTurn, 15.0f),
            Degrees(DirectionTo(v1, v2)));
}

void DrawPierSymbol(HDC dc, PlanObject* object)
{
    PlanSettings* settings = Settings();
    if (!Ready(dc, object))
        return;
    PlanVertex* v[4];
    PlanVertex* walk = object->firstVertex;
    for (int i = 0; i < 4; ++i, walk = walk->next) {
        if (!walk)
            return;
        v[i] = walk;
    }
    // Squaring the vertices around a diameter that is no length would collapse them for
    // good: such a pier is left as it is and not drawn.
    const float d = object->parameters[0];
    if (!(d > 0.0f) || !isfinite(d))
        return;
    const float r = UnitsToPlanLength(d / 2.0f, settings, 0);
    const float cx = (v[0]->position[0] + v[2]->position[0]) / 2.0f;
    const float cz = (v[0]->position[2] + v[2]->position[2]) / 2.0f;
    if (v[0]->position[0] != cx - r) {
        const float corners[4][2] = {{cx - r, cz - r}, {cx + r, cz - r}, {cx + r, cz + r}, {cx - r, cz + r}};
        for (int i = 0; i < 4; ++i) {
            v[i]->position[0] = corners[i][0];
            v[i]->position[2] = corners[i][1];
        }
        ResetExtentRect(object->box2D);
        GetObjectExtents2D(object, 0, object->box2D, 0, 0);
        ResetExtentBox(object->box3D);
        GetObjectExtents3D(object, 0, object->box3D, 0);
    }
    float x1 = 0.0f, y1 = 0.0f, x2 = 0.0f, y2 = 0.0f;
    ProjectPlanPoints({cx - r, cz - r}, {cx + r, cz + r}, &x1, &y1, &x2, &y2);
    HDC target = SymbolTargetDC(dc);
    if (exportDxf2D) {
        DrawPlanSegment(dc, {cx - r, cz - r}, {cx + r, cz + r});
        DrawPlanSegment(dc, {cx + r, cz - r}, {cx - r, cz + r});
    } else if (target) {
        const double sx = planOutputMode == 1 ? printScaleX : 1.0;
        const double sy = planOutputMode == 1 ? printScaleY : 1.0;
        ScopedBrush hollow(dc, NULL_BRUSH);
        Ellipse(target, static_cast<int>(x1 * sx + 0.5), static_cast<int>(y1 * sy + 0.5),
                static_cast<int>(x2 * sx + 0.5), static_cast<int>(y2 * sy + 0.5));
    }
    char caption[64];
    if (Metric(settings)) {
        snprintf(caption, sizeof caption, "%0.2fm. DIA", Metres(UnitsInches(d, settings)));
        Caption(dc, caption, {cx + r + 48.0f, cz}, 0.0f);
    } else {
        snprintf(caption, sizeof caption, "%0.0f\" DIA", UnitsInches(d, settings));
        Caption(dc, caption, {cx + r + 33.0f, cz}, 0.0f);
    }
}

void DrawStairSymbol(HDC dc, PlanObject* object)
{
    PlanSettings* settings = Settings();
    const PlanVertex* v[2];
    if (!Ready(dc, object) || !FirstVertices(object, 2, v) || !settings->dimensionDrawing)
        return;
    // The risers the stair is built with; one for a riser that is no height, and the
    // count is capped before the cast.
    double steps = StairRiserCount(object->parameters[4], object->parameters[1]);
    if (!(steps >= 1.0))
        steps = 1.0;
    else if (steps > kMostSteps)
        steps = kMostSteps;
    const long n = static_cast<long>(steps);

    const PlanPoint v1 = At(v[0]);
    float a = DirectionTo(At(v[1]), v1);
    if (object->subType == kCurvedStair) {
        float coefficients[3][4], point[3];
        ComputeSegmentCoefficients(v[0]->position, v[0]->outTangent, v[1]->position,
                                   v[1]->inTangent, coefficients);
        EvaluateSegmentCoefficients(coefficients, 1.0f / (6.0f * UsableCurveSteps(settings)), point);
        a = DirectionTo({point[0], point[2]}, v1);
    }
    const float across = Degrees(a + kQuarterTurn);
    const double width = UnitsInches(object->parameters[0], settings);
    const double tread = UnitsInches(object->parameters[2], settings);
    char text[128];
    if (Metric(settings))
        snprintf(text, sizeof text, "%0.2f m.PR", Metres(width));
    else
        snprintf(text, sizeof text, "%ld\"LA", static_cast<long>(fmin(fmax(width + 0.5, -2.0e9), 2.0e9)));
    Caption(dc, text, PolarFrom(v1, a, 10.0f), across);
    if (Metric(settings))
        snprintf(text, sizeof text, "%ldAS x %0.2f m.PS", n, Metres(tread));
    else
        snprintf(text, sizeof text, "%ldAS x %0.2f\"PS", n, tread);
    Caption(dc, text, PolarFrom(v1, a, 27.0f), across);
    Caption(dc, "Su", PolarFrom(v1, a, -0.75f * 27.0f), across);
    // The up arrow behind the first step.
    const PlanPoint tail = PolarFrom(v1, a, -27.0f), head = PolarFrom(v1, a, -54.0f);
    DrawPlanSegment(dc, tail, head);
    EndMark(dc, object, head, tail, kMarkFilledArrow);
}

void DrawDuctSymbol(HDC dc, PlanObject* object)
{
    PlanSettings* settings = Settings();
    const PlanVertex* v[2];
    if (!Ready(dc, object) || !FirstVertices(object, 2, v))
        return;
    const PlanPoint v1 = At(v[0]), v2 = At(v[1]);
    const float h = UnitsToPlanLength(object->parameters[2], settings, 0) / 2.0f;
    const float a = DirectionTo(v1, v2);
    const PlanPoint m = Midpoint(v1, v2);
    const float label = Metric(settings) ? 55.0f : 25.0f;
    auto plus = [&](PlanPoint p) { return PolarFrom(p, a + kQuarterTurn, h); };
    auto minus = [&](PlanPoint p) { return PolarFrom(p, a + kQuarterTurn, -h); };
    DrawPlanSegment(dc, plus(v1), plus(v2));
    DrawPlanSegment(dc, minus(v1), minus(v2));
    DrawPlanSegment(dc, plus(v1), minus(v1));
    DrawPlanSegment(dc, plus(v2), minus(v2));

    // The flow arrow in the storey's line colour (black on paper), as every plan line.
    ScopedPen pen(dc, PS_SOLID, 0, PlanLineColour());
    const PlanPoint tip = PolarFrom(m, a, label / 1.5f);
    DrawPlanSegment(dc, m, tip);
    EndMark(dc, object, tip, m, planOutputMode == 1 ? kMarkFilledArrow : kMarkOpenArrow);
    if (settings->dimensionDrawing) {
        const double width = UnitsInches(object->parameters[2], settings);
        const double depth = UnitsInches(object->parameters[3], settings);
        char caption[128];
        if (Metric(settings))
            snprintf(caption, sizeof caption, "%0.2fm.x%0.2fm.", Metres(width), Metres(depth));
        else
            snprintf(caption, sizeof caption, "%0.0fx%0.0f", width, depth);
        Caption(dc, caption, PolarFrom(m, a, -label), Degrees(a));
    }
    halfInchToggle = 1;
    if (settings->dimensionDrawing)
        DrawDimensionLine(dc, v1.x, v1.z, v2.x, v2.z, v1.x, v1.z, v2.x, v2.z, 1,
                          object->parameters[2] + 5.0f, 0, nullptr, nullptr, 0, 0, 0.0f, 1, nullptr);
}
