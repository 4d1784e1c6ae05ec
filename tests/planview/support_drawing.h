#pragma once
// Surfaces to draw the plan on and read back: an enhanced metafile whose records are
// listed (lines with the pen they were drawn with), a top-down 32-bit DIB section whose
// pixels are read, an input source that tests script, and a plan test that starts and
// ends with the output state of a screen redraw.
#include <windows.h>
#include <map>
#include <string>
#include <vector>
#include "planview/input_gdi.h"
#include "support_plan.h"

namespace vtest {

// One line as the metafile recorded it: MOVETOEX then LINETO (or LINETO from the
// previous end), with the pen selected at the time.
struct RecordedLine {
    POINT from;
    POINT to;
    LOGPEN pen;         // lopnStyle 0xFFFFFFFF when a stock or unknown pen was selected
};

// One polygon as the metafile recorded it, with the pen, the brush and the fill mode
// in force. brush.lbStyle is 0xFFFFFFFF for a stock brush other than the null brush.
struct RecordedPolygon {
    std::vector<POINT> points;
    LOGPEN pen;
    LOGBRUSH32 brush;
    int fillMode;
};

// One text as the metafile recorded it: the reference point, the characters (Windows
// code page), and the font, colour and alignment in force.
struct RecordedText {
    std::string text;
    POINT at;
    LOGFONTW font;      // lfHeight 0 and no face when no font was created in the metafile
    COLORREF colour;
    UINT align;
};

struct RecordedEllipse {
    RECT box;
    LOGBRUSH32 brush;
};

struct RecordedArc {
    RECT box;
    POINT start;
    POINT end;
};

class MetafileRecorder {
public:
    MetafileRecorder();
    ~MetafileRecorder();
    HDC dc() const { return recordingDC; }
    // Ends the recording and reads the records (once).
    void Finish();
    const std::vector<DWORD>& Types();
    const std::vector<RecordedLine>& Lines();
    const std::vector<RecordedArc>& Arcs();
    const std::vector<RecordedPolygon>& Polygons();
    const std::vector<RecordedText>& Texts();
    const std::vector<RecordedEllipse>& Ellipses();
    // The texts alone, in drawing order.
    std::vector<std::string> TextStrings();
    // Positions of the MOVETOEX records.
    const std::vector<POINT>& Moves();
    size_t Count(DWORD type);

private:
    static int CALLBACK Collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM self);
    HDC recordingDC = nullptr;
    HENHMETAFILE metafile = nullptr;
    std::vector<DWORD> types;
    std::vector<RecordedLine> lines;
    std::vector<RecordedArc> arcs;
    std::vector<RecordedPolygon> polygons;
    std::vector<RecordedText> texts;
    std::vector<RecordedEllipse> ellipses;
    std::map<DWORD, LOGFONTW> fonts;
    LOGFONTW currentFont{};
    COLORREF textColour = RGB(0, 0, 0);
    UINT textAlign = 0;
    std::vector<POINT> moves;
    std::map<DWORD, LOGPEN> pens;
    std::map<DWORD, LOGBRUSH32> brushes;
    LOGPEN currentPen{};
    LOGBRUSH32 currentBrush{};
    int fillMode = ALTERNATE;
    POINT position{0, 0};
};

class DibSurface {
public:
    DibSurface(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~DibSurface();
    HDC dc() const { return surfaceDC; }
    COLORREF Pixel(int x, int y) const;   // device coordinates
    // Number of pixels of the colour in row y (device coordinates).
    int CountInRow(int y, COLORREF colour) const;
    int CountAll(COLORREF colour) const;
    // Every pixel, row by row, to compare two states of the surface.
    std::vector<uint32_t> Snapshot() const;
    int width, height;

private:
    HDC surfaceDC = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;
};

// A scripted keyboard, mouse and clock. Keys answer from their script (the last entry
// repeats); calls are counted. The queue is the real one.
class ScriptedInput : public InputSource {
public:
    SHORT KeyState(int virtualKey) override;
    BOOL CursorPos(POINT* screenPoint) override;
    DWORD TickCount() override { return now; }

    std::map<int, std::vector<SHORT>> keys;
    std::map<int, int> calls;
    POINT cursor{0, 0};
    DWORD now = 1000;
};

// Installs an input source for the life of the object.
class InputScope {
public:
    explicit InputScope(InputSource* source) : previous(SetInputSource(source)) {}
    ~InputScope() { SetInputSource(previous); }

private:
    InputSource* previous;
};

// A plan test whose output state (target DC, print scales, DXF export, interactive and
// drag flags) is that of a plain screen redraw before and after each case.
class OutputStateTest : public PlanViewTest {
protected:
    void SetUp() override;
    void TearDown() override;
    static void ResetOutputState();
};

} // namespace vtest
