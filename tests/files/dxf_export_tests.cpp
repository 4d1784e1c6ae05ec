// DXF export: the LINE records of one segment byte for byte at any zoom, the templates
// around them and a door's wall cut.
#include "support_files.h"
#include "files/dxf_export.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/record_memory.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "planview/output_routing.h"
#include "support/test_support.h"
#include <cstdlib>
#include <sstream>
#include <string>

using namespace ftest;

namespace {

std::string Resource(const char* type)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), type);
    const char* bytes = found ? static_cast<const char*>(LockResource(LoadResource(nullptr, found))) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

const char kOneLine[] =
    "0\r\nLINE\r\n8\r\n1\r\n6\r\nCONTINUOUS\r\n62\r\n7\r\n10\r\n10.0000\r\n20\r\n-20.0000\r\n30\r\n0.0000\r\n"
    "11\r\n30.5000\r\n21\r\n-40.0000\r\n31\r\n0.0000\r\n";

struct Line {
    float x1, y1, x2, y2;
};

// The ends of every LINE record of a drawing.
std::vector<Line> Lines(const std::string& drawing)
{
    std::vector<Line> lines;
    std::istringstream in(drawing);
    std::string code, value;
    Line* line = nullptr;
    while (std::getline(in, code) && std::getline(in, value)) {
        const int group = std::atoi(code.c_str());
        if (group == 0) {
            line = value.rfind("LINE", 0) == 0 ? &lines.emplace_back() : nullptr;
        } else if (line) {
            const float v = std::strtof(value.c_str(), nullptr);
            if (group == 10) line->x1 = v;
            if (group == 20) line->y1 = v;
            if (group == 11) line->x2 = v;
            if (group == 21) line->y2 = v;
        }
    }
    return lines;
}

} // namespace

class DxfExport : public PlanFileTest {
protected:
    void SetUp() override
    {
        PlanFileTest::SetUp();
        vtest::ShowTopView();
        viewOrigin = {0.0f, 0.0f, 0.0f};
    }
    std::string Export(const char* path, bool threeD = false)
    {
        (threeD ? exportDxf3D : exportDxf2D) = 1;
        ExportDxf(DxfExportKind, path);
        exportDxf2D = exportDxf3D = 0;
        auto bytes = vtest::ReadFileBytes(path);
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST_F(DxfExport, OneSegmentAtAnyZoomAndAnEmptyPlan)
{
    const std::string header = Resource("HDRS"), trailer = Resource("TLRS");
    ASSERT_EQ(trailer, "0\r\nENDSEC\r\n0\r\nEOF\r\n");
    const std::string opening = "   0\r\nSECTION\r\n   2\r\nENTITIES\r\n";
    ASSERT_GT(header.size(), opening.size());
    EXPECT_EQ(header.substr(header.size() - opening.size()), opening);
    EXPECT_EQ(Export("EMPTY.DXF"), header + trailer);
    Make(9, Storey(0), {At(10, 0, 20), At(30.5f, 0, 40)});
    for (float zoom : {0.6f, 2.0f}) {
        SCOPED_TRACE(zoom);
        Settings()->zoom = zoom;
        EXPECT_EQ(Export("ONE.DXF"), header + kOneLine + trailer);
        EXPECT_FLOAT_EQ(Settings()->zoom, zoom);
    }
}

TEST_F(DxfExport, ADoorCutGivesItsTwoLongEdgesOnly)
{
    // A wall of size 6 (faces 6 off its centre line) from (0, 0) to (200, 0) and a door
    // 30 wide centred at 40: the cut reaches 3 beyond each face.
    PlanObject* wall = Make(12, Storey(0), {At(0, 0, 0), At(200, 0, 0)});
    wall->size = 6.0f;
    PlanObject* door = MakeChild(wall, 16, {At(40, 0, 0), At(70, 0, 0)});
    OpeningRecord* record = AllocateRecordOf<OpeningRecord>();
    record->typeCopy = 16;
    record->style = 500;
    record->startVertex = wall->firstVertex;
    record->endVertex = wall->firstVertex->next;
    record->width = 30.0f;
    record->height = 80.0f;
    record->distanceFromStart = 40.0f;
    record->distanceToEnd = 130.0f;
    door->link = record;
    NormaliseAsPlaced(wall);
    const Line expected[] = {
        {0, -6, 200, -6}, {200, -6, 200, 6}, {200, 6, 0, 6}, {0, 6, 0, -6},  // the wall
        {55, -9, 25, -9}, {25, 9, 55, 9},                                    // the cut's long edges
        {55, -6, 25, -6}, {55, 6, 25, 6},                                    // the door's face lines
    };
    const std::vector<Line> lines = Lines(Export("DOOR.DXF"));
    ASSERT_EQ(lines.size(), std::size(expected));
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].x1, expected[i].x1);
        EXPECT_EQ(lines[i].y1, expected[i].y1);
        EXPECT_EQ(lines[i].x2, expected[i].x2);
        EXPECT_EQ(lines[i].y2, expected[i].y2);
    }
}
