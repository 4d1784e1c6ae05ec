#include "support/metafile_recorder.h"
#include <cstring>

namespace vtest {

MetafileRecorder::MetafileRecorder()
{
    recordingDC = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    currentPen.lopnStyle = 0xFFFFFFFF;
    currentBrush.lbStyle = BS_SOLID;   // the stock white brush of a new DC
    currentBrush.lbColor = RGB(255, 255, 255);
}

MetafileRecorder::~MetafileRecorder()
{
    if (recordingDC)
        DeleteEnhMetaFile(CloseEnhMetaFile(recordingDC));
    if (metafile)
        DeleteEnhMetaFile(metafile);
}

void MetafileRecorder::Finish()
{
    if (!recordingDC)
        return;
    metafile = CloseEnhMetaFile(recordingDC);
    recordingDC = nullptr;
    if (metafile)
        EnumEnhMetaFile(nullptr, metafile, Collect, this, nullptr);
}

int CALLBACK MetafileRecorder::Collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int,
                                       LPARAM selfParam)
{
    MetafileRecorder* self = reinterpret_cast<MetafileRecorder*>(selfParam);
    self->types.push_back(record->iType);
    switch (record->iType) {
    case EMR_CREATEPEN: {
        const EMRCREATEPEN* pen = reinterpret_cast<const EMRCREATEPEN*>(record);
        self->pens[pen->ihPen] = pen->lopn;
        self->brushes.erase(pen->ihPen);   // a table slot freed by a brush is reused
        self->fonts.erase(pen->ihPen);
        break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        const EMRCREATEBRUSHINDIRECT* brush = reinterpret_cast<const EMRCREATEBRUSHINDIRECT*>(record);
        self->brushes[brush->ihBrush] = brush->lb;
        self->pens.erase(brush->ihBrush);
        self->fonts.erase(brush->ihBrush);
        break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
        const EMREXTCREATEFONTINDIRECTW* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        self->fonts[font->ihFont] = font->elfw.elfLogFont;
        self->pens.erase(font->ihFont);
        self->brushes.erase(font->ihFont);
        break;
    }
    case EMR_SETTEXTCOLOR:
        self->textColour = reinterpret_cast<const EMRSETTEXTCOLOR*>(record)->crColor;
        break;
    case EMR_SETTEXTALIGN:
        self->textAlign = reinterpret_cast<const EMRSETTEXTALIGN*>(record)->iMode;
        break;
    case EMR_EXTTEXTOUTW: {
        const EMREXTTEXTOUTW* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const WCHAR* chars = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(record) +
                                                            out->emrtext.offString);
        char narrow[512] = {};
        int n = WideCharToMultiByte(1252, 0, chars, static_cast<int>(out->emrtext.nChars), narrow,
                                    sizeof narrow - 1, nullptr, nullptr);
        RecordedText text;
        text.text.assign(narrow, n > 0 ? n : 0);
        text.at = {out->emrtext.ptlReference.x, out->emrtext.ptlReference.y};
        text.font = self->currentFont;
        text.colour = self->textColour;
        text.align = self->textAlign;
        self->texts.push_back(text);
        break;
    }
    case EMR_EXTTEXTOUTA: {
        const EMREXTTEXTOUTA* out = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
        const char* chars = reinterpret_cast<const char*>(record) + out->emrtext.offString;
        RecordedText text;
        text.text.assign(chars, out->emrtext.nChars);
        text.at = {out->emrtext.ptlReference.x, out->emrtext.ptlReference.y};
        text.font = self->currentFont;
        text.colour = self->textColour;
        text.align = self->textAlign;
        self->texts.push_back(text);
        break;
    }
    case EMR_ELLIPSE: {
        const EMRELLIPSE* ellipse = reinterpret_cast<const EMRELLIPSE*>(record);
        self->ellipses.push_back({{ellipse->rclBox.left, ellipse->rclBox.top, ellipse->rclBox.right,
                                   ellipse->rclBox.bottom},
                                  self->currentBrush});
        break;
    }
    case EMR_DELETEOBJECT: {
        const EMRDELETEOBJECT* del = reinterpret_cast<const EMRDELETEOBJECT*>(record);
        self->pens.erase(del->ihObject);
        self->brushes.erase(del->ihObject);
        self->fonts.erase(del->ihObject);
        break;
    }
    case EMR_SETPOLYFILLMODE: {
        self->fillMode = static_cast<int>(reinterpret_cast<const EMRSETPOLYFILLMODE*>(record)->iMode);
        break;
    }
    case EMR_SELECTOBJECT: {
        const EMRSELECTOBJECT* select = reinterpret_cast<const EMRSELECTOBJECT*>(record);
        auto found = self->pens.find(select->ihObject);
        auto foundBrush = self->brushes.find(select->ihObject);
        auto foundFont = self->fonts.find(select->ihObject);
        if (foundFont != self->fonts.end()) {
            self->currentFont = foundFont->second;
        } else if (found != self->pens.end()) {
            self->currentPen = found->second;
        } else if (foundBrush != self->brushes.end()) {
            self->currentBrush = foundBrush->second;
        } else if (select->ihObject & 0x80000000u) {
            DWORD stock = select->ihObject & 0x7FFFFFFFu;
            if (stock == BLACK_PEN || stock == WHITE_PEN || stock == NULL_PEN || stock == DC_PEN) {
                std::memset(&self->currentPen, 0, sizeof self->currentPen);
                self->currentPen.lopnStyle = 0xFFFFFFFF;
            } else if (stock == NULL_BRUSH) {
                std::memset(&self->currentBrush, 0, sizeof self->currentBrush);
                self->currentBrush.lbStyle = BS_NULL;
            } else if (stock <= BLACK_BRUSH || stock == DC_BRUSH) {
                std::memset(&self->currentBrush, 0, sizeof self->currentBrush);
                self->currentBrush.lbStyle = 0xFFFFFFFF;
                if (stock == WHITE_BRUSH || stock == BLACK_BRUSH) {
                    self->currentBrush.lbStyle = BS_SOLID;
                    self->currentBrush.lbColor = stock == WHITE_BRUSH ? RGB(255, 255, 255) : RGB(0, 0, 0);
                }
            }
        }
        break;
    }
    case EMR_POLYGON16: {
        const EMRPOLYGON16* polygon = reinterpret_cast<const EMRPOLYGON16*>(record);
        RecordedPolygon recorded;
        for (DWORD i = 0; i < polygon->cpts; ++i)
            recorded.points.push_back({polygon->apts[i].x, polygon->apts[i].y});
        recorded.pen = self->currentPen;
        recorded.brush = self->currentBrush;
        recorded.fillMode = self->fillMode;
        self->polygons.push_back(recorded);
        break;
    }
    case EMR_POLYGON: {
        const EMRPOLYGON* polygon = reinterpret_cast<const EMRPOLYGON*>(record);
        RecordedPolygon recorded;
        for (DWORD i = 0; i < polygon->cptl; ++i)
            recorded.points.push_back({polygon->aptl[i].x, polygon->aptl[i].y});
        recorded.pen = self->currentPen;
        recorded.brush = self->currentBrush;
        recorded.fillMode = self->fillMode;
        self->polygons.push_back(recorded);
        break;
    }
    case EMR_MOVETOEX: {
        const EMRMOVETOEX* move = reinterpret_cast<const EMRMOVETOEX*>(record);
        self->position = {move->ptl.x, move->ptl.y};
        self->moves.push_back(self->position);
        break;
    }
    case EMR_LINETO: {
        const EMRLINETO* line = reinterpret_cast<const EMRLINETO*>(record);
        RecordedLine recorded;
        recorded.from = self->position;
        recorded.to = {line->ptl.x, line->ptl.y};
        recorded.pen = self->currentPen;
        self->lines.push_back(recorded);
        self->position = recorded.to;
        break;
    }
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYLINE: {
        // Printed lines travel in batches: each polyline is its chain of lines.
        const EMRPOLYPOLYLINE16* poly = reinterpret_cast<const EMRPOLYPOLYLINE16*>(record);
        const DWORD* counts = poly->aPolyCounts;
        const BYTE* points = reinterpret_cast<const BYTE*>(counts + poly->nPolys);
        const bool small = record->iType == EMR_POLYPOLYLINE16;
        DWORD at = 0;
        for (DWORD p = 0; p < poly->nPolys; ++p) {
            POINT previous = {0, 0};
            for (DWORD i = 0; i < counts[p]; ++i, ++at) {
                POINT point = small ? POINT{reinterpret_cast<const POINTS*>(points)[at].x,
                                            reinterpret_cast<const POINTS*>(points)[at].y}
                                    : reinterpret_cast<const POINT*>(points)[at];
                if (i > 0)
                    self->lines.push_back({previous, point, self->currentPen});
                previous = point;
            }
        }
        break;
    }
    case EMR_ARC: {
        const EMRARC* arc = reinterpret_cast<const EMRARC*>(record);
        RecordedArc recorded;
        recorded.box = {arc->rclBox.left, arc->rclBox.top, arc->rclBox.right, arc->rclBox.bottom};
        recorded.start = {arc->ptlStart.x, arc->ptlStart.y};
        recorded.end = {arc->ptlEnd.x, arc->ptlEnd.y};
        self->arcs.push_back(recorded);
        break;
    }
    default:
        break;
    }
    return 1;
}

const std::vector<DWORD>& MetafileRecorder::Types()
{
    Finish();
    return types;
}

const std::vector<RecordedLine>& MetafileRecorder::Lines()
{
    Finish();
    return lines;
}

const std::vector<RecordedArc>& MetafileRecorder::Arcs()
{
    Finish();
    return arcs;
}

const std::vector<RecordedPolygon>& MetafileRecorder::Polygons()
{
    Finish();
    return polygons;
}

const std::vector<RecordedText>& MetafileRecorder::Texts()
{
    Finish();
    return texts;
}

const std::vector<RecordedEllipse>& MetafileRecorder::Ellipses()
{
    Finish();
    return ellipses;
}

std::vector<std::string> MetafileRecorder::TextStrings()
{
    std::vector<std::string> strings;
    for (const RecordedText& text : Texts())
        strings.push_back(text.text);
    return strings;
}

const std::vector<POINT>& MetafileRecorder::Moves()
{
    Finish();
    return moves;
}

size_t MetafileRecorder::Count(DWORD type)
{
    Finish();
    size_t n = 0;
    for (DWORD t : types)
        n += t == type ? 1 : 0;
    return n;
}

} // namespace vtest
