#pragma once

// The framing view of walls: in the framing style of the 3D model every plain wall
// segment shows a bottom plate, a top plate and a row of studs at the wall's stud
// spacing; openings get jamb studs, a header, a sill plate and short studs above and
// below; a wall raised on its slab or elevation gets a block underneath. Every face of
// every member is a quad of its own (part kind 37) emitted straight into the scene and
// filed under the wall. The roof framing uses the same emitters.

struct PlanObject;

// Nothing without an active document and its settings.
void BuildWallFraming(PlanObject* wall);

// One quad of a framing member, filed under the owner: textured with the stud texture
// (2202) whose grain runs along P0-P1 (grain 1: vertical), with the block texture
// (2203), or plain grey. Repeated points are left out; fewer than three make nothing.
void EmitTexturedQuad(const float* p0, const float* p1, const float* p2, const float* p3,
                      PlanObject* owner, int grain);
void EmitBlockQuad(const float* p0, const float* p1, const float* p2, const float* p3,
                   PlanObject* owner);
void EmitPlainQuad(const float* p0, const float* p1, const float* p2, const float* p3,
                   PlanObject* owner);
