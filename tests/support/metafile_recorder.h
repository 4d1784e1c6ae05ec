#pragma once
// An enhanced metafile to draw on, whose records are then listed the way the tests read
// them: lines with the pen they were drawn with, polygons with pen, brush and fill mode,
// texts with font, colour and alignment, ellipses, arcs and the MOVETOEX positions.
#include <windows.h>
#include <map>
#include <string>
#include <vector>

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

} // namespace vtest
