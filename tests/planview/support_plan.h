#pragma once
// A small plan in memory for the plan-view tests: a document with its storeys and
// default settings, a plan pane stand-in, the top view at origin 0, zoom 1 and the
// pointer tool.
#include <gtest/gtest.h>
#include <windows.h>
#include <array>
#include <initializer_list>
#include <stdint.h>
#include "support/plan_fixtures.h"

struct PlanDocument;
struct PlanFloor;
struct PlanObject;
struct PlanVertex;
struct PlanSettings;

namespace vtest {

class PlanViewTest : public PaneDocumentTest {
protected:
    void SetUp() override;
    void TearDown() override;

    PlanFloor* FirstFloor() const;
    PlanFloor* SecondFloor() const;
    PlanSettings* Settings() const;

    // An object of the type on the floor (the first storey by default), one vertex per
    // point (x, height, z), straight segments, category 1 (shown under the default
    // mask), with its stored 3D box around its points.
    PlanObject* AddObject(uint16_t type, std::initializer_list<std::array<float, 3>> points,
                          bool closed = false, PlanFloor* floor = nullptr);
    // The same, as the last child of an owner.
    PlanObject* AddChild(PlanObject* owner, uint16_t type,
                         std::initializer_list<std::array<float, 3>> points);
    static PlanVertex* Vertex(PlanObject* object, int index) { return VertexAt(object, index); }
    static int CountSelected(const PlanObject* object);
};

} // namespace vtest
