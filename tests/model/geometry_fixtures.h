#pragma once
// Small fixtures of the geometry tests: a saved and reset view state, a document with
// settings on the stack, and objects with hand-placed vertices.
#include <list>
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"

namespace geometrytest {

// Saves the shared view state and the active document, sets the plain top view
// (pitch 90, yaw 0, exact cosines, origin 0, no perspective) and restores it all.
class ViewStateScope {
public:
    ViewStateScope()
        : pitch(viewPitchDegrees), yaw(viewYawDegrees), pitchCos(viewPitchCos),
          pitchSin(viewPitchSin), yawCos(viewYawCos), yawSin(viewYawSin), origin(viewOrigin),
          perspective(perspectiveOn), distance(viewerDistance), scale(perspectiveScale),
          plane(workPlane), document(activeDocument)
    {
        viewPitchDegrees = 90.0f;
        viewYawDegrees = 0.0f;
        viewPitchCos = 0.0f;
        viewPitchSin = 1.0f;
        viewYawCos = 1.0f;
        viewYawSin = 0.0f;
        viewOrigin = {0.0f, 0.0f, 0.0f};
        perspectiveOn = 0;
        viewerDistance = 600.0f;
        perspectiveScale = 6.0f;
        activeDocument = nullptr;
    }
    ~ViewStateScope()
    {
        viewPitchDegrees = pitch;
        viewYawDegrees = yaw;
        viewPitchCos = pitchCos;
        viewPitchSin = pitchSin;
        viewYawCos = yawCos;
        viewYawSin = yawSin;
        viewOrigin = origin;
        perspectiveOn = perspective;
        viewerDistance = distance;
        perspectiveScale = scale;
        workPlane = plane;
        activeDocument = document;
    }
    // Front elevation: screen x = model x, screen y = height.
    static void SetFrontView()
    {
        viewPitchDegrees = 0.0f;
        viewYawDegrees = 0.0f;
        viewPitchCos = 1.0f;
        viewPitchSin = 0.0f;
        viewYawCos = 1.0f;
        viewYawSin = 0.0f;
    }

private:
    float pitch, yaw, pitchCos, pitchSin, yawCos, yawSin;
    ViewPoint origin;
    uint8_t perspective;
    float distance, scale;
    PlaneEquation plane;
    PlanDocument* document;
};

// A document with zeroed settings, the fields the geometry reads set to plain values;
// active while it lives.
class ScopedDocument {
public:
    ScopedDocument()
    {
        settings.zoom = 1.0f;
        settings.curveSteps = 10;
        settings.viewPlane = 2;
        settings.extentTop = -2400.0f;
        settings.extentLeft = -2400.0f;
        settings.extentBottom = 2400.0f;
        settings.extentRight = 2400.0f;
        settings.referenceX = 2400.0f;
        settings.referenceHeight = 0.0f;
        settings.referenceZ = -2400.0f;
        document.settings = &settings;
        activeDocument = &document;
    }
    ~ScopedDocument() { activeDocument = nullptr; }
    PlanDocument document{};
    PlanSettings settings{};
};

// An object whose vertices live in the fixture (not on the program's heap).
class TestObject {
public:
    explicit TestObject(uint16_t type, uint8_t closed = 0)
    {
        object.type = type;
        object.closed = closed;
        object.rows = 1;
    }
    TestObject(const TestObject&) = delete;
    TestObject& operator=(const TestObject&) = delete;

    PlanVertex* Add(float x, float y, float z)
    {
        vertices.emplace_back();
        PlanVertex* v = &vertices.back();
        v->kind = 1;
        v->selectable = 1;
        v->position[0] = x;
        v->position[1] = y;
        v->position[2] = z;
        v->owner = &object;
        PlanVertex* last = object.firstVertex;
        while (last && last->next)
            last = last->next;
        if (last) {
            last->next = v;
            v->previous = last;
        } else {
            object.firstVertex = v;
        }
        ++object.vertexCount;
        return v;
    }
    // Appends a child to the object's child list.
    void AddChild(TestObject& child)
    {
        child.object.owner = &object;
        PlanObject** slot = &object.firstChild;
        PlanObject* previous = nullptr;
        while (*slot) {
            previous = *slot;
            slot = &(*slot)->next;
        }
        *slot = &child.object;
        child.object.previous = previous;
    }

    PlanObject object{};

private:
    std::list<PlanVertex> vertices;
};

inline void SetTangent(float* tangent, float x, float y, float z)
{
    tangent[0] = x;
    tangent[1] = y;
    tangent[2] = z;
}

} // namespace geometrytest
