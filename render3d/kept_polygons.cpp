#include "render3d/kept_polygons.h"
#include "model3d/scene_drawing.h"
#include "render3d/texture_loading.h"
#include <windows.h>
#include <GL/gl.h>
#include <algorithm>
#include <string.h>

bool drawKeptPolygons = true;

void KeptPolygons::Clear()
{
    vertices.clear();
    indices.clear();
    steps.clear();
    textures.clear();
    hasLastTexCoord = false;
}

void KeptPolygons::AddStep(KeptStep::Kind kind)
{
    steps.push_back({kind, 0, 0, 0});
}

void KeptPolygons::Begin(uint32_t texture, const float* normal)
{
    memcpy(pendingNormal, normal, sizeof pendingNormal);
    textured = texture != 0;
    if (steps.empty() || steps.back().kind != KeptStep::Draw || steps.back().texture != texture) {
        steps.push_back({KeptStep::Draw, texture, (uint32_t)indices.size(), 0});
        if (texture && std::find(textures.begin(), textures.end(), texture) == textures.end())
            textures.push_back(texture);
    }
}

void KeptPolygons::BeginOutline(int32_t)
{
    outlineStart = (uint32_t)vertices.size();
    memcpy(lastNormal, pendingNormal, sizeof lastNormal);
}

void KeptPolygons::Vertex(const ShadedVertex& vertex, bool)
{
    vertices.push_back({vertex.x, vertex.y, vertex.z,
                        {vertex.rgba[0] / 255.0f, vertex.rgba[1] / 255.0f, vertex.rgba[2] / 255.0f,
                         vertex.rgba[3] / 255.0f},
                        vertex.u, vertex.v});
    lastVertex = vertex;
    if (textured) {
        hasLastTexCoord = true;
        lastTexCoord[0] = vertex.u;
        lastTexCoord[1] = vertex.v;
    }
}

void KeptPolygons::EndOutline()
{
    const uint32_t n = (uint32_t)vertices.size() - outlineStart;
    for (uint32_t k = 0; k + 2 < n; ++k) {
        indices.push_back(outlineStart + k + 1);
        indices.push_back(outlineStart + k + 2);
        indices.push_back(outlineStart);
    }
    steps.back().count = (uint32_t)indices.size() - steps.back().first;
}

void KeptPolygons::End() {}

void KeptPolygons::Draw() const
{
    if (steps.empty())
        return;
    for (uint32_t texture : textures)
        if (!glIsTexture(texture))
            LoadTextureById((int32_t)texture);
    if (!vertices.empty()) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, sizeof(KeptVertex), &vertices[0].x);
        glColorPointer(4, GL_FLOAT, sizeof(KeptVertex), vertices[0].colour);
        glTexCoordPointer(2, GL_FLOAT, sizeof(KeptVertex), &vertices[0].u);
    }
    // Texturing as the polygons drawn one by one leave it: off between them. Redundant
    // enables and binds are left out; a bind sets the texture's filters as theirs do.
    bool known = false, enabled = false;
    uint32_t bound = 0;
    for (const KeptStep& step : steps) {
        switch (step.kind) {
        case KeptStep::Draw:
            if (step.texture) {
                if (!known || !enabled)
                    glEnable(GL_TEXTURE_2D);
                if (!known || bound != step.texture) {
                    BindShadedTexture(step.texture);
                    bound = step.texture;
                }
                enabled = true;
            } else if (!known || enabled) {
                glDisable(GL_TEXTURE_2D);
                enabled = false;
            }
            known = true;
            if (step.count)
                glDrawElements(GL_TRIANGLES, (GLsizei)step.count, GL_UNSIGNED_INT, &indices[step.first]);
            break;
        case KeptStep::HolesBegin:
            BeginStencilHoles(runningStencilValue);
            break;
        case KeptStep::FaceBegin:
            BeginOutsideStencilHoles(runningStencilValue, true);
            break;
        case KeptStep::FaceEnd:
            glDisable(GL_STENCIL_TEST);
            AdvanceRunningStencilValue();
            break;
        }
    }
    if (enabled)
        glDisable(GL_TEXTURE_2D);
    if (vertices.empty())
        return;
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glNormal3f(lastNormal[0], lastNormal[1], lastNormal[2]);
    glColor4ub(lastVertex.rgba[0], lastVertex.rgba[1], lastVertex.rgba[2], lastVertex.rgba[3]);
    if (hasLastTexCoord)
        glTexCoord2f(lastTexCoord[0], lastTexCoord[1]);
}

bool PolygonsFilled()
{
    GLint modes[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return modes[0] == GL_FILL && modes[1] == GL_FILL;
}
