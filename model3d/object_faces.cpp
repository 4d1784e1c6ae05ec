#include "model3d/object_faces.h"
#include "model3d/face_triangulation.h"
#include "model3d/outline_tessellation.h"
#include "model3d/scene_polygons.h"
#include "model3d/wall_segment_faces.h"
#include "model3d/wall_trims.h"
#include "dialogs/plant_info.h"
#include "model/hermite.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include <math.h>
#include <string.h>
#include <vector>

uint8_t fineTessellation = 0;

namespace {

constexpr uint32_t kFramingStudTexture = 2202;
constexpr uint32_t kFramingBlockTexture = 2203;
constexpr ColourTriple kFoundationGrey = {49344, 49344, 49344};
constexpr ColourTriple kUnsetColour = {65535, 65535, 65535};
constexpr uint16_t kTypeCurvedFrame = 60;
constexpr uint16_t kTypeMeshFaceCode = 7;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// Object types that make faces of their own.
bool MakesFaces(uint16_t type)
{
    switch (type) {
    case 8: case 9: case 10: case 11: case 12: case 13: case 15: case 18: case 19: case 20:
    case 23: case 24: case 25: case 26: case 27: case 28: case 32: case 33: case 34: case 35:
    case 36: case 59: case 60: case 111: case 127: case 128: case 131:
        return true;
    default:
        return type >= 38 && type <= 52;
    }
}

// A generated part's faces belong to the object it was built for. Photo objects keep
// their picture's path where other objects keep the host.
PlanObject* HostOf(PlanObject* object)
{
    if (object->type != ObjImage && object->host)
        return object->host;
    return object;
}

// Faces of a door, window or wall element built for a wall stand at the elevation of
// the segment the opening sits on.
void ApplyOpeningElevation(ScenePolygon* polygon)
{
    if (!buildObject || buildObject->type != ObjWall || !buildChild)
        return;
    uint16_t type = buildChild->type;
    if (type != ObjDoor && type != ObjWindow && type != ObjWallElement)
        return;
    const OpeningRecord* record = static_cast<const OpeningRecord*>(buildChild->link);
    if (record && record->startVertex)
        polygon->elevation = record->startVertex->segmentElevation;
}

// A new polygon in currentMesh with the object's type and colours, standing at its
// opening's segment elevation: every face of an opening's part, its sides, end caps and
// one-row parts alike, is lifted with the wall it sits in.
ScenePolygon* StartPolygon(PlanObject* object)
{
    currentMesh = CreateSceneNode();
    if (currentMesh) {
        currentMesh->sourceType = (int16_t)object->type;
        currentMesh->colourA = object->colourA;
        currentMesh->colourB = object->colourB;
        ApplyOpeningElevation(currentMesh);
    }
    return currentMesh;
}

// Files currentMesh under the host when it received a face, else drops it.
void FinishPolygon(PlanObject* host)
{
    if (currentMesh) {
        if (currentMesh->outlines)
            BuildObjectSceneNode(currentMesh, host);
        else
            FreeSceneNode(currentMesh);
    }
    currentMesh = nullptr;
}

void SetTextureA(ScenePolygon* polygon, uint32_t texture, uint32_t* textureSlot,
                 ColourTriple* colourSlot)
{
    polygon->textureA = texture;
    polygon->textureSlotA = textureSlot;
    polygon->colourSlotA = colourSlot;
}

void SetTextureB(ScenePolygon* polygon, uint32_t texture, uint32_t* textureSlot,
                 ColourTriple* colourSlot)
{
    polygon->textureB = texture;
    polygon->textureSlotB = textureSlot;
    polygon->colourSlotB = colourSlot;
}

// Both faces from one plan field pair.
void SetMaterialPair(ScenePolygon* polygon, uint32_t texture, uint32_t* textureSlot,
                     ColourTriple* colourSlot)
{
    SetTextureA(polygon, texture, textureSlot, colourSlot);
    SetTextureB(polygon, texture, textureSlot, colourSlot);
}

void SetRepeatFactors(ScenePolygon* polygon, float uLength, float vLength)
{
    if (polygon->textureA)
        GetTextureUvScale(polygon->textureA, uLength, vLength, &polygon->uFactorA,
                          &polygon->vFactorA);
    if (polygon->textureB)
        GetTextureUvScale(polygon->textureB, uLength, vLength, &polygon->uFactorB,
                          &polygon->vFactorB);
}

// The spans of the object's projection box, kept in its texture block as [min second,
// min first, max second, max first].
void ProjectionSpans(const PlanObject* object, float* secondSpan, float* firstSpan)
{
    float box[4];
    memcpy(box, object->textureBlock, sizeof(box));
    *secondSpan = box[2] - box[0];
    *firstSpan = box[3] - box[1];
}

// The materials of a quad come from its first corner; the framing view shows bare
// studs.
void SetQuadMaterials(PlanVertex* a, PlanObject* object, float uLength, float vLength)
{
    ScenePolygon* polygon = currentMesh;
    if (Settings()->framingStyle) {
        SetTextureA(polygon, kFramingStudTexture, nullptr, nullptr);
        SetTextureB(polygon, kFramingStudTexture, nullptr, nullptr);
    } else {
        SetTextureA(polygon, a->faceTextureA, &a->faceTextureA, &a->faceColourA);
        SetTextureB(polygon, a->faceTextureB, &a->faceTextureB, &a->faceColourB);
    }
    SetRepeatFactors(polygon, uLength, vLength);
    if (polygon->sourceType == kTypeCurvedFrame)
        polygon->sourceType = kTypeMeshFaceCode;
    if (object->type == ObjImagePart)
        polygon->partKind = kPartImagePanel;
}

bool IsStraight(const PlanVertex* v)
{
    for (int k = 0; k < 3; ++k)
        if (v->inTangent[k] != 0.0f || v->outTangent[k] != 0.0f)
            return false;
    return true;
}

void CurvedQuadFaces(PlanVertex* a, PlanVertex* b, PlanVertex* e, PlanVertex* f, PlanObject* object)
{
    HermiteScratch& h = hermiteScratch;
    FillHermiteBasis(h.basis);
    FillHermiteBasisTransposed(h.basisTransposed);
    // s runs along the rows (A to E), t across them (A to B).
    ComputeHermitePatchCoefficients(h.geometryX, h.geometryY, h.geometryZ, h.basis,
                                    h.basisTransposed, h.product, h.coefficientsX,
                                    h.coefficientsY, h.coefficientsZ, a, b, e, f, 1, 0.0f, 0.0f);
    const int pieces = fineTessellation ? 8 : 3;
    const float ds = 1.0f / (float)pieces;
    float d = a->u;
    float dB = b->u;
    auto at = [&h](float s, float t, float* p) {
        EvaluateHermitePatchPoint(h.coefficientsX, h.coefficientsY, h.coefficientsZ, h.s, h.t, s,
                                  t, &p[0], &p[1], &p[2]);
    };
    for (int k = 0; k < pieces; ++k) {
        float s = (float)k * ds;
        float p1[3], p2[3], p3[3], p4[3];
        at(s, 0.0f, p1);
        at(s + ds, 0.0f, p2);
        at(s + ds, 1.0f, p3);
        at(s, 1.0f, p4);
        if (!currentMesh && !StartPolygon(object))
            return;
        float length = Distance3D(p1[0], p1[1], p1[2], p2[0], p2[1], p2[2]);
        float vSpan = Distance3D(p1[0], p1[1], p1[2], p4[0], p4[1], p4[2]);
        BuildQuadFace(p1, p4, p3, p2, a->v, b->v, object, d, dB, d + length, dB + length);
        SetQuadMaterials(a, object, a->v, vSpan);
        currentMesh->partKind = kPartMeshFace;
        currentMesh->colourA = object->colourA;
        currentMesh->colourB = object->colourB;
        FinishPolygon(object);
        d += length;
        dB += length;
    }
}

// The vertices of a mesh, row after row, as far as the chain goes.
std::vector<PlanVertex*> MeshVertices(PlanObject* object)
{
    std::vector<PlanVertex*> vertices;
    for (PlanVertex* v = object->firstVertex; v && vertices.size() < object->vertexCount; v = v->next)
        vertices.push_back(v);
    return vertices;
}

void BuildEndFace(PlanObject* object, PlanObject* host, PlanVertex* first, int32_t count,
                  uint8_t reversed)
{
    if (!StartPolygon(object))
        return;
    BuildOutlineFace(first, count, reversed, object);
    FinishPolygon(host);
}

void BuildMeshFaces(PlanObject* object, PlanObject* host)
{
    const int32_t rows = object->rows;
    const int32_t total = (int32_t)object->vertexCount;
    // A count the rows do not divide is no mesh.
    if (rows < 2 || total % rows != 0 || total / rows < 2)
        return;
    const int32_t m = total / rows;
    std::vector<PlanVertex*> v = MeshVertices(object);
    const int32_t completeRows = (int32_t)v.size() / m;
    const bool wallHost = host->type == ObjWall;

    for (int32_t r = 0; r + 1 < completeRows; ++r) {
        PlanVertex** row = &v[(size_t)(r * m)];
        PlanVertex** nextRow = &v[(size_t)((r + 1) * m)];
        for (int32_t j = 0; j < m - 1; ++j) {
            if (!StartPolygon(object))
                return;
            BuildQuadFaces(row[j], nextRow[j], row[j + 1], nextRow[j + 1], host);
            if (wallHost) {
                PlanVertex* const corners[4] = {row[j], nextRow[j], row[j + 1], nextRow[j + 1]};
                BuildWallSegmentFaces(object, host, corners, j,
                                      currentMesh ? currentMesh->outlines : nullptr);
            }
            FinishPolygon(host);
        }
        if (!object->closed)
            continue;
        if (!StartPolygon(object))
            return;
        BuildQuadFaces(row[m - 1], nextRow[m - 1], row[0], nextRow[0], host);
        FinishPolygon(host);
        if (host->type != ObjFence && object->buildFlag)
            BuildEndFace(object, host, row[0], m, 1);
    }
    if (object->closed && object->buildFlag && completeRows == rows)
        BuildEndFace(object, host, v[(size_t)((rows - 1) * m)], m, 0);
}

void BuildOutlineObjectFace(PlanObject* object, PlanObject* host)
{
    PlanSettings* settings = Settings();
    if (!object->firstVertex || !object->buildFlag)
        return;
    ScenePolygon* polygon = StartPolygon(object);
    if (!polygon)
        return;
    BuildOutlineFace(object->firstVertex, (int32_t)object->vertexCount, 1, object);
    if (!polygon->outlines) {
        FinishPolygon(host);
        return;
    }
    if (settings->framingStyle) {
        if (object->floor && !(object->category & kCategoryFoundation)) {
            float secondSpan, firstSpan;
            ProjectionSpans(object, &secondSpan, &firstSpan);
            polygon->textureA = kFramingBlockTexture;
            polygon->textureB = kFramingBlockTexture;
            SetRepeatFactors(polygon, secondSpan, firstSpan);
        } else {
            polygon->colourA = kFoundationGrey;
            polygon->colourB = kFoundationGrey;
        }
    }
    if (object->type == ObjPlant) {
        polygon->partKind = kPartPlant;
        ComputePlantBillboard(object, &polygon->billboardHalfWidth, &polygon->billboardHeight);
    }
    FinishPolygon(host);
}

} // namespace

void ComputePlantBillboard(PlanObject* plant, float* halfWidth, float* height)
{
    float width = 0.0f, tall = 0.0f;
    ComputePlantSizeAtAge(plant, &width, &tall, 0);
    if (!(width > 0.0f) || !isfinite(width))
        width = 1.0f;
    if (!(tall > 0.0f) || !isfinite(tall))
        tall = 1.0f;
    *halfWidth = width / 2.0f;
    *height = tall;
}

void BuildObjectFaces(PlanObject* object)
{
    if (!SceneBuildAllowed())
        return;
    PlanSettings* settings = Settings();
    if (!settings || !object)
        return;
    currentMesh = nullptr;
    PlanObject* host = HostOf(object);
    object->needsRebuild = 0;
    bool hiddenDoorPart = settings->hideDoors3D &&
                          (object->type == ObjDoorLeafMember || object->type == ObjLeafPanel);
    if (MakesFaces(object->type) && !hiddenDoorPart) {
        if (object->rows != 1)
            BuildMeshFaces(object, host);
        else
            BuildOutlineObjectFace(object, host);
    }
    currentMesh = nullptr;
    for (PlanObject* child = object->firstChild; child; child = child->next)
        BuildObjectFaces(child);
}

void BuildOutlineFace(PlanVertex* first, int32_t count, uint8_t reversed, PlanObject* object)
{
    PlanSettings* settings = Settings();
    if (!settings || !first || !object)
        return;
    int32_t n = count;
    MeshVertex* vertices = BuildPathVertices(first, &n);
    if (!vertices)
        return;
    if (n < 2) {
        FreeVertexList(vertices);
        return;
    }
    float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;
    if (n >= 3) {
        const MeshVertex& p = vertices[reversed ? 2 : 0];
        const MeshVertex& q = vertices[1];
        const MeshVertex& s = vertices[reversed ? 0 : 2];
        ComputePlaneFromPoints(p.x, p.y, p.z, q.x, q.y, q.z, s.x, s.y, s.z, &a, &b, &c, &d);
    }

    ScenePolygon* polygon = currentMesh;
    if (polygon) {
        polygon->partKind = kPartEndFace;
        // The framing view shows floors and ceilings bare and every other face as a
        // block; a slab's underside keeps its material.
        const bool framing = settings->framingStyle != 0;
        float raise = 0.0f;
        switch (object->type) {
        case 13: case 48: case 50: case 127:
            if (object->type != 127)
                raise = UnitsToPlanLength(object->parameters[2], settings, 0);
            if (framing)
                SetMaterialPair(polygon, 0, nullptr, nullptr);
            else
                SetMaterialPair(polygon, object->imageId1, &object->imageId1, &object->colour3);
            break;
        case 36: case 49:
            raise = UnitsToPlanLength(object->parameters[2], settings, 0);
            if (framing)
                SetMaterialPair(polygon, 0, nullptr, nullptr);
            else
                SetMaterialPair(polygon, object->styleOrTexture, &object->styleOrTexture,
                                &object->colourA);
            break;
        case 46:
            if (framing)
                SetMaterialPair(polygon, 0, nullptr, nullptr);
            else
                SetMaterialPair(polygon, object->imageId1, &object->imageId1, &object->colour3);
            break;
        case 47:
            SetMaterialPair(polygon, object->imageId2, &object->imageId2, &object->colour4);
            break;
        default:
            if (framing) {
                SetMaterialPair(polygon, kFramingBlockTexture, nullptr, nullptr);
            } else if (reversed && object->type == ObjGeneratedPart59) {
                polygon->colourA = kUnsetColour;
                polygon->colourB = kUnsetColour;
            } else {
                SetTextureA(polygon, first->faceTextureA, &first->faceTextureA,
                            &first->faceColourA);
                SetTextureB(polygon, first->faceTextureB, &first->faceTextureB,
                            &first->faceColourB);
            }
            break;
        }
        for (int32_t i = 0; i < n; ++i)
            vertices[i].y -= raise;
        float secondSpan, firstSpan;
        ProjectionSpans(object, &secondSpan, &firstSpan);
        SetRepeatFactors(polygon, secondSpan, firstSpan);
    }
    AppendNodeFace(vertices, n, a, b, c, polygon);
}

void BuildQuadFaces(PlanVertex* a, PlanVertex* b, PlanVertex* e, PlanVertex* f, PlanObject* object)
{
    if (!a || !b || !e || !f || !object || !Settings())
        return;
    if (!IsStraight(a) || !IsStraight(b) || !IsStraight(e) || !IsStraight(f)) {
        CurvedQuadFaces(a, b, e, f, object);
        return;
    }
    float upperB[3] = {b->position[0], b->position[1], b->position[2]};
    float upperF[3] = {f->position[0], f->position[1], f->position[2]};
    if (object->type == ObjWall && object->firstVertex) {
        // The wall's upper edge is laid at its height above A, on top of its slab as the
        // segment faces are.
        float h = GetElementHeightForKind(object->firstVertex, 1) +
                  UnitsToPlanLength(object->parameters[2], Settings(), 0);
        upperB[1] = a->position[1] - h;
        upperF[1] = a->position[1] - h;
        if (currentMesh)
            currentMesh->elevation = object->firstVertex->segmentElevation;
    }
    BuildQuadFace(e->position, upperF, upperB, a->position, a->v, b->v, object, a->u, b->u, e->u,
                  f->u);
    if (!currentMesh)
        return;
    float vSpan = Distance3D(e->position[0], e->position[1], e->position[2], upperF[0], upperF[1],
                             upperF[2]);
    SetQuadMaterials(a, object, a->v, vSpan);
}

void BuildQuadFace(const float* p0, const float* p1, const float* p2, const float* p3,
                   float rowLength, float, PlanObject* object, float d0, float, float d2, float d3)
{
    if (!p0 || !p1 || !p2 || !p3 || !object || !Settings())
        return;
    float divisor = rowLength != 0.0f ? rowLength : 1.0f;
    float u0 = d0 / divisor;
    float u1 = d2 / divisor;
    // A quad that closes back to the row's start measures its own length.
    if (d2 == 0.0f && d3 == 0.0f)
        u1 = (d0 + Distance3D(p3[0], p3[1], p3[2], p0[0], p0[1], p0[2])) / divisor;
    MeshVertex* vertices = NewVertexList();
    int32_t size = 0;
    if (!AppendVertex(&vertices, p0[0], p0[1], p0[2], &size, 1, u0, 1.0f) ||
        !AppendVertex(&vertices, p1[0], p1[1], p1[2], &size, 2, u0, 0.0f) ||
        !AppendVertex(&vertices, p2[0], p2[1], p2[2], &size, 3, u1, 0.0f) ||
        !AppendVertex(&vertices, p3[0], p3[1], p3[2], &size, 4, u1, 1.0f)) {
        FreeVertexList(vertices);
        return;
    }
    float a, b, c, d;
    ComputePlaneFromPoints(p0[0], p0[1], p0[2], p1[0], p1[1], p1[2], p2[0], p2[1], p2[2], &a, &b,
                           &c, &d);
    AppendNodeFace(vertices, 4, a, b, c, currentMesh);
}
