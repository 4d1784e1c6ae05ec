#include "model3d/face_triangulation.h"
#include "files/profile_file.h"
#include "model3d/scene_polygons.h"
#include "model/plan_document.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "render3d/texture_names.h"
#include <windows.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

constexpr uint16_t kNeverARealEdge = 10000;
constexpr float kProjectionScale = 15.0f;
constexpr int kMaxWrapArounds = 50;
constexpr int16_t kPathPart = 23;
constexpr int32_t kDefaultTextureSize = 100;
// Library texture ids run from 1 to this.
constexpr uint32_t kLastLibraryTexture = 13999;

// A library texture's size once read from its information file.
struct KeptTextureSize {
    int32_t width;
    int32_t height;
    bool read;
};
std::vector<KeptTextureSize> keptTextureSizes;
ProfileIntReader readProfileInt = MeantProfileInt;

PolygonOutline* AppendOutline(PolygonOutline* list, MeshVertex* vertices, int32_t count,
                              const float* vector)
{
    PolygonOutline* outline = CreatePolygonOutline(vertices, count, vector[0], vector[1], vector[2]);
    if (!outline)
        return list;
    if (!list)
        return outline;
    PolygonOutline* tail = list;
    while (tail->next)
        tail = tail->next;
    tail->next = outline;
    outline->previous = tail;
    return list;
}

MeshVertex* CopyVertices(const MeshVertex* source, int32_t count)
{
    MeshVertex* copy = static_cast<MeshVertex*>(malloc(sizeof(MeshVertex) * (size_t)count));
    if (copy)
        memcpy(copy, source, sizeof(MeshVertex) * (size_t)count);
    return copy;
}

// A small outline kept whole: only the marks of never-real edges stay hidden.
PolygonOutline* CopyOutline(const PolygonOutline* outline, PolygonOutline* list)
{
    if (outline->vertexCount < 1 || !outline->vertices)
        return list;
    MeshVertex* copy = CopyVertices(outline->vertices, outline->vertexCount);
    if (!copy)
        return list;
    for (int32_t i = 0; i < outline->vertexCount; ++i)
        copy[i].edgeFlag = copy[i].edgeFlag == kNeverARealEdge ? 1 : 0;
    return AppendOutline(list, copy, outline->vertexCount, outline->vector);
}

// The plane to cut in, from the face vector: across the largest component, (x, y) on
// a tie.
void Project(const PolygonOutline* outline, std::vector<ProjectedPoint>& points)
{
    float a = fabsf(outline->vector[0]);
    float b = fabsf(outline->vector[1]);
    float c = fabsf(outline->vector[2]);
    points.resize((size_t)outline->vertexCount);
    for (int32_t i = 0; i < outline->vertexCount; ++i) {
        const MeshVertex& v = outline->vertices[i];
        if (a > b && a > c)
            points[i] = {v.z * kProjectionScale, v.y * kProjectionScale};
        else if (b > a && b > c)
            points[i] = {v.x * kProjectionScale, v.z * kProjectionScale};
        else
            points[i] = {v.x * kProjectionScale, v.y * kProjectionScale};
    }
}

// The edge between two numbered vertices is real when they are neighbours on the
// outline of n vertices.
uint16_t EdgeFlag(int32_t p, int32_t q, int32_t n)
{
    int32_t d = p > q ? p - q : q - p;
    if (d == 1 || (p == 1 && q == n) || (p == n && q == 1))
        return 0;
    return 1;
}

// The point at the distance from -> towards divided by the divisor, on the way there.
ProjectedPoint PolarFrom(ProjectedPoint from, ProjectedPoint towards, float divisor)
{
    float distance = 0.0f;
    float angle = AngleBetweenPoints(from.x, from.y, towards.x, towards.y, &distance);
    float dx, dy;
    OffsetPointPolar(angle, distance / divisor, &dx, &dy);
    return {from.x + dx, from.y + dy};
}

bool SamePoint(ProjectedPoint a, ProjectedPoint b)
{
    return a.x == b.x && a.y == b.y;
}

} // namespace

void GetSegmentBox(ProjectedPoint a, ProjectedPoint b, float* box)
{
    box[0] = a.x < b.x ? a.x : b.x;
    box[1] = a.y < b.y ? a.y : b.y;
    box[2] = a.x < b.x ? b.x : a.x;
    box[3] = a.y < b.y ? b.y : a.y;
    if (a.x == b.x) {
        box[0] -= 0.5f;
        box[2] += 0.5f;
    }
    if (a.y == b.y) {
        box[1] -= 0.5f;
        box[3] += 0.5f;
    }
}

bool SegmentsCross(ProjectedPoint a, ProjectedPoint b, const ProjectedPoint* t)
{
    if (SamePoint(a, b) || SamePoint(a, t[0]) || SamePoint(a, t[2]) || SamePoint(b, t[0]) ||
        SamePoint(b, t[2]))
        return false;
    float edge[4], diagonal[4];
    GetSegmentBox(a, b, edge);
    GetSegmentBox(t[0], t[2], diagonal);
    if (edge[0] > diagonal[2] || diagonal[0] > edge[2] || edge[1] > diagonal[3] ||
        diagonal[1] > edge[3])
        return false;
    float x, y;
    IntersectLinesExact(a.x, a.y, b.x, b.y, t[0].x, t[0].y, t[2].x, t[2].y, &x, &y);
    return x > edge[0] && x < edge[2] && y > edge[1] && y < edge[3] && x > diagonal[0] &&
           x < diagonal[2] && y > diagonal[1] && y < diagonal[3];
}

bool PointInPolygon(ProjectedPoint point, const ProjectedPoint* v, int32_t n)
{
    int crossings = 0;
    for (int32_t k = 1; k <= n; ++k) {
        ProjectedPoint a = v[k - 1];
        ProjectedPoint b = v[k == n ? 0 : k];
        float lowY = a.y < b.y ? a.y : b.y;
        float highY = a.y < b.y ? b.y : a.y;
        float highX = a.x < b.x ? b.x : a.x;
        if (!(point.y > lowY && point.y <= highY) || point.x > highX || a.y == b.y)
            continue;
        if (a.x == b.x || point.x <= a.x + (point.y - a.y) * (b.x - a.x) / (b.y - a.y))
            ++crossings;
    }
    return (crossings & 1) != 0;
}

bool IsValidEar(const ProjectedPoint* t, const ProjectedPoint* p, int32_t n)
{
    for (int32_t k = 1; k <= n; ++k)
        if (SegmentsCross(p[k - 1], p[k == n ? 0 : k], t))
            return false;
    // A point a third along the diagonal, and one two thirds of the way from the tip to
    // it, must both lie inside the outline.
    ProjectedPoint third = PolarFrom(t[0], t[2], 3.0f);
    if (!PointInPolygon(third, p, n))
        return false;
    ProjectedPoint inner = PolarFrom(t[1], third, 1.5f);
    if (!PointInPolygon(inner, p, n))
        return false;
    for (int32_t k = 0; k < n; ++k) {
        const ProjectedPoint& q = p[k];
        if (q.x == t[0].x || q.x == t[1].x || q.x == t[2].x || q.y == t[0].y ||
            q.y == t[1].y || q.y == t[2].y)
            continue;
        if (PointInPolygon(q, t, 3))
            return false;
    }
    return true;
}

PolygonOutline* SplitOutline(const PolygonOutline* outline, PolygonOutline* list)
{
    if (!outline || !outline->vertices)
        return list;
    int32_t n = outline->vertexCount;
    if (n < 5)
        return CopyOutline(outline, list);

    std::vector<ProjectedPoint> projected;
    Project(outline, projected);
    // 1-based positions; a never-real edge keeps its mark, so it neighbours no one.
    std::vector<int32_t> number((size_t)n);
    std::vector<uint8_t> clipped((size_t)n, 0);
    for (int32_t i = 0; i < n; ++i)
        number[i] = outline->vertices[i].edgeFlag == kNeverARealEdge ? kNeverARealEdge : i + 1;
    auto nextUnclipped = [&](int32_t k) {
        do
            k = (k + 1) % n;
        while (clipped[k]);
        return k;
    };

    int32_t i0 = 0, i1 = 1, i2 = 2;
    int failures = 0;
    for (;;) {
        const ProjectedPoint triangle[3] = {projected[i0], projected[i1], projected[i2]};
        if (IsValidEar(triangle, projected.data(), n)) {
            MeshVertex* piece = static_cast<MeshVertex*>(malloc(sizeof(MeshVertex) * 3));
            if (piece) {
                const int32_t corners[3] = {i0, i1, i2};
                for (int k = 0; k < 3; ++k) {
                    piece[k] = outline->vertices[corners[k]];
                    piece[k].edgeFlag = EdgeFlag(number[corners[k]], number[corners[(k + 1) % 3]], n);
                }
                list = AppendOutline(list, piece, 3, outline->vector);
            }
            clipped[i1] = 1;
            i1 = i2;
            i2 = nextUnclipped(i2);
            if (i2 == i0)
                break;
        } else {
            int32_t previous = i0;
            i0 = i1;
            if (i0 < previous && ++failures >= kMaxWrapArounds)
                break;
            i1 = i2;
            i2 = nextUnclipped(i2);
            if (i2 == i0)
                break;
        }
    }
    return list;
}

PolygonOutline* SplitPathStrip(const PolygonOutline* outline, PolygonOutline* list)
{
    if (!outline || !outline->vertices)
        return list;
    int32_t n = outline->vertexCount;
    if (n < 5)
        return CopyOutline(outline, list);
    const MeshVertex* v = outline->vertices;
    for (int32_t i = 0; i <= n / 2 - 2; ++i) {
        MeshVertex* quad = static_cast<MeshVertex*>(malloc(sizeof(MeshVertex) * 4));
        if (!quad)
            break;
        quad[0] = v[i];
        quad[1] = v[i + 1];
        quad[2] = v[n - 2 - i];
        quad[3] = v[n - 1 - i];
        // Rail edges shown, cross edges hidden.
        quad[0].edgeFlag = 0;
        quad[1].edgeFlag = 1;
        quad[2].edgeFlag = 0;
        quad[3].edgeFlag = 1;
        list = AppendOutline(list, quad, 4, outline->vector);
    }
    return list;
}

void TriangulateSceneNode(ScenePolygon* polygon)
{
    if (!polygon)
        return;
    PolygonOutline* cut = nullptr;
    if (polygon->sourceType == kPathPart)
        cut = SplitPathStrip(polygon->outlines, nullptr);
    else
        for (PolygonOutline* outline = polygon->outlines; outline; outline = outline->next)
            cut = SplitOutline(outline, cut);
    if (!cut)
        return;
    FreeOutlineList(polygon->outlines);
    polygon->outlines = cut;
}

void GetTextureSize(uint32_t textureId, int32_t* width, int32_t* height)
{
    const bool library = textureId >= 1 && textureId <= kLastLibraryTexture;
    if (library && textureId < keptTextureSizes.size() && keptTextureSizes[textureId].read) {
        *width = keptTextureSizes[textureId].width;
        *height = keptTextureSizes[textureId].height;
        return;
    }
    char path[kTextureNameSize] = "";
    MakeTextureInfoPath(static_cast<int32_t>(textureId), path);
    *width = kDefaultTextureSize;
    *height = kDefaultTextureSize;
    if (path[0]) {
        *width = (int32_t)readProfileInt("Size", "Width", kDefaultTextureSize, path);
        *height = (int32_t)readProfileInt("Size", "Height", kDefaultTextureSize, path);
    }
    // Without a program directory no file was read: nothing to keep.
    if (!library || !path[0])
        return;
    if (keptTextureSizes.empty())
        keptTextureSizes.resize(kLastLibraryTexture + 1, KeptTextureSize{0, 0, false});
    keptTextureSizes[textureId] = {*width, *height, true};
}

void ForgetTextureSizes()
{
    keptTextureSizes.clear();
}

void SetTextureSizeReader(ProfileIntReader reader)
{
    readProfileInt = reader ? reader : MeantProfileInt;
}

void GetTextureUvScale(uint32_t textureId, float uLength, float vLength, float* uFactor,
                       float* vFactor)
{
    if (!uFactor || !vFactor || textureId < 1 || textureId >= 14000 || !activeDocument)
        return;
    *uFactor = 1.0f;
    *vFactor = 1.0f;
    const PlanSettings* settings = activeDocument->settings;
    if (!settings)
        return;
    int32_t width = 100, height = 100;
    GetTextureSize(textureId, &width, &height);
    if (width == -1 && height == -1)
        return;
    float planWidth = UnitsToPlanLength((float)width, settings, 0);
    float planHeight = UnitsToPlanLength((float)height, settings, 0);
    if (planWidth != 0.0f)
        *uFactor = uLength / planWidth;
    if (planHeight != 0.0f)
        *vFactor = vLength / -planHeight;
}
