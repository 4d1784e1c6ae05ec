// Writes, with the program's own export, the drawings that dxf_reader.test.sh reads back
// with a DXF reader of its own: two lines in 2D and in 3D, and an empty plan. A tool
// beside the tests, not a test:
//   dxf_sample_writer DIR
#include "files/dxf_export.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "palette/category_tabs.h"
#include "planview/output_routing.h"
#include "shell/app_globals.h"
#include "support/plan_fixtures.h"
#include "support/test_support.h"
#include <cstdio>
#include <string>

namespace {

void Export(const std::string& path, bool threeD = false)
{
    (threeD ? exportDxf3D : exportDxf2D) = 1;
    ExportDxf(DxfExportKind, path.c_str());
    exportDxf2D = exportDxf3D = 0;
}

void AddLine(PlanFloor* floor, std::initializer_list<vtest::Point3> points)
{
    if (PlanObject* line = vtest::MakePointObject(9, floor, points, 0, 0))
        line->category = kCategoryFloorPlan;
}

} // namespace

int main(int argc, char** argv)
{
    argv = vtest::ArgumentsInCodePage(argc);
    if (argc != 2) {
        std::fprintf(stderr, "usage: dxf_sample_writer DIR\n");
        return 2;
    }
    // A crash must end the tool, not open Wine's debugger dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    static std::string directory = vtest::CurrentDirectory();
    programDirectory = &directory[0];
    PlanDocument* document = CreatePlanDocument();
    if (!document || !document->settings) {
        std::fprintf(stderr, "no plan\n");
        return 1;
    }
    activePlanPane = vtest::CreatePaneStandIn();
    // A plan as loading leaves it, on the floor-plan tab, seen from the top.
    activeToolTab = 1;
    ApplyTabLayerToPlan();
    vtest::ShowTopView();
    viewOrigin = {0.0f, 0.0f, 0.0f};
    PlanFloor* floor = vtest::StoreyAt(document, 0);
    AddLine(floor, {{10, 0, 20}, {30.5f, 0, 40}});
    AddLine(floor, {{0, -12, 0}, {50, -12, 0}, {50, -12, 25}});
    const std::string folder = argv[1];
    Export(folder + "\\lines.dxf");
    Export(folder + "\\lines3d.dxf", true);
    FreeFloorObjects(floor);
    Export(folder + "\\empty.dxf");
    std::printf("written: %s\n", folder.c_str());
    return 0;
}
