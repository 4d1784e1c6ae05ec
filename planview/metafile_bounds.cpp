#include "planview/metafile_bounds.h"
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

namespace {

// The box as it grows; empty until the first point.
struct DrawnBox {
    bool any = false;
    double left = 0, top = 0, right = 0, bottom = 0;

    void Add(double x, double y)
    {
        if (!any) {
            left = right = x;
            top = bottom = y;
            any = true;
            return;
        }
        left = std::fmin(left, x);
        right = std::fmax(right, x);
        top = std::fmin(top, y);
        bottom = std::fmax(bottom, y);
    }
    void Add(const RECTL& r)
    {
        if (r.right < r.left || r.bottom < r.top)
            return;  // a record that drew nothing
        Add(r.left, r.top);
        Add(r.right, r.bottom);
    }
};

// Records that carry the bounds of what they draw right after their header.
bool HasBounds(DWORD type)
{
    switch (type) {
    case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO: case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON: case EMR_POLYDRAW:
    case EMR_FILLPATH: case EMR_STROKEANDFILLPATH: case EMR_STROKEPATH:
    case EMR_FILLRGN: case EMR_FRAMERGN: case EMR_INVERTRGN: case EMR_PAINTRGN:
    case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_MASKBLT: case EMR_PLGBLT:
    case EMR_SETDIBITSTODEVICE: case EMR_STRETCHDIBITS:
    case EMR_POLYBEZIER16: case EMR_POLYGON16: case EMR_POLYLINE16: case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16: case EMR_POLYPOLYLINE16: case EMR_POLYPOLYGON16: case EMR_POLYDRAW16:
    case EMR_POLYTEXTOUTA: case EMR_POLYTEXTOUTW:
    case EMR_ALPHABLEND: case EMR_TRANSPARENTBLT: case EMR_GRADIENTFILL:
        return true;
    }
    return false;
}

// Records whose drawing lies within the box (of an ellipse) they carry.
bool HasShapeBox(DWORD type)
{
    switch (type) {
    case EMR_ELLIPSE: case EMR_RECTANGLE: case EMR_ROUNDRECT: case EMR_ARC: case EMR_CHORD:
    case EMR_PIE:
        return true;
    }
    return false;
}

// Records that move the logical grid: what follows them is no longer in the units the
// walk assumes.
bool MovesTheGrid(DWORD type)
{
    switch (type) {
    case EMR_SETWINDOWEXTEX: case EMR_SETWINDOWORGEX: case EMR_SETVIEWPORTEXTEX:
    case EMR_SETVIEWPORTORGEX: case EMR_SETMAPMODE: case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: case EMR_SETWORLDTRANSFORM: case EMR_MODIFYWORLDTRANSFORM:
    case EMR_RESTOREDC:
        return true;
    }
    return false;
}

// Records that draw nothing: state, objects, clipping, paths in the making, comments.
bool DrawsNothing(DWORD type)
{
    if (type >= EMR_SETBRUSHORGEX && type <= EMR_SELECTOBJECT)
        return true;
    switch (type) {
    case EMR_HEADER: case EMR_EOF: case EMR_CREATEPEN: case EMR_CREATEBRUSHINDIRECT:
    case EMR_DELETEOBJECT: case EMR_SELECTPALETTE: case EMR_CREATEPALETTE:
    case EMR_SETPALETTEENTRIES: case EMR_RESIZEPALETTE: case EMR_REALIZEPALETTE:
    case EMR_BEGINPATH: case EMR_ENDPATH: case EMR_CLOSEFIGURE: case EMR_FLATTENPATH:
    case EMR_WIDENPATH: case EMR_SELECTCLIPPATH: case EMR_ABORTPATH: case EMR_SETMITERLIMIT:
    case EMR_GDICOMMENT: case EMR_EXTSELECTCLIPRGN: case EMR_EXTCREATEFONTINDIRECTW:
    case EMR_CREATEMONOBRUSH: case EMR_CREATEDIBPATTERNBRUSHPT: case EMR_EXTCREATEPEN:
    case EMR_SETICMMODE: case EMR_CREATECOLORSPACE: case EMR_SETCOLORSPACE:
    case EMR_DELETECOLORSPACE: case EMR_SETLAYOUT:
        return true;
    }
    return false;
}

// A text record: where its glyphs can lie. The cell height is taken from the record's
// own bounds, the advance from its spacing array; the reference point is the current
// position when the text was drawn with TA_UPDATECP. The box spans the advance and the
// cell as the alignment places them (from the baseline, a cell either way), grown by a
// quarter of the cell for glyphs that overhang them, and is turned by the font's
// escapement (tenths of a degree, counter-clockwise as the page is seen).
void AddText(const EMREXTTEXTOUTW* text, DWORD size, UINT align, LONG escapement, POINTL* position,
             DrawnBox* box)
{
    const EMRTEXT& run = text->emrtext;
    const double cell = std::fmax(1.0, static_cast<double>(text->rclBounds.bottom - text->rclBounds.top));
    double advance = static_cast<double>(text->rclBounds.right - text->rclBounds.left);
    const DWORD step = (run.fOptions & ETO_PDY) ? 2 : 1;
    if (run.offDx && run.nChars && run.offDx + static_cast<DWORD64>(run.nChars) * step * sizeof(INT) <= size) {
        const INT* dx = reinterpret_cast<const INT*>(reinterpret_cast<const BYTE*>(text) + run.offDx);
        advance = 0;
        for (DWORD i = 0; i < run.nChars; ++i)
            advance += dx[i * step];
    }
    const bool current = (align & TA_UPDATECP) != 0;
    const POINTL origin = current ? *position : run.ptlReference;
    double from = 0, to = advance;
    if ((align & TA_CENTER) == TA_CENTER) {
        from = -advance / 2;
        to = advance / 2;
    } else if ((align & TA_CENTER) == TA_RIGHT) {
        from = -advance;
        to = 0;
    }
    double above = 0, below = cell;
    if ((align & TA_BASELINE) == TA_BASELINE) {
        above = -cell;
    } else if ((align & TA_BASELINE) == TA_BOTTOM) {
        above = -cell;
        below = 0;
    }
    const double overhang = cell / 4;
    from -= overhang;
    to += overhang;
    above -= overhang;
    below += overhang;
    const double angle = escapement * 3.14159265358979323846 / 1800.0;
    const double ax = std::cos(angle), ay = -std::sin(angle);   // along the baseline
    const double dx = -ay, dy = ax;                              // toward the descent
    for (double along : {from, to})
        for (double down : {above, below})
            box->Add(origin.x + along * ax + down * dx, origin.y + along * ay + down * dy);
    if (run.fOptions & ETO_OPAQUE)
        box->Add(run.rcl);
    // The current position moves past the text as the platform moves it.
    if (current) {
        double shift = (align & TA_CENTER) == TA_CENTER ? 0 : (align & TA_CENTER) == TA_RIGHT ? -advance : advance;
        position->x = static_cast<LONG>(std::lround(origin.x + shift * ax));
        position->y = static_cast<LONG>(std::lround(origin.y + shift * ay));
    }
}

// A record that draws on from the current position through its points: it draws from
// there within its bounds, and leaves the position at its last point when its points lie
// whole within the record.
template <typename Run, typename Point>
void AddRunFromPosition(const Run* run, const Point* points, DWORD count, DWORD length, DrawnBox* box,
                        POINTL* position)
{
    box->Add(position->x, position->y);
    box->Add(run->rclBounds);
    const DWORD64 pointsAt = reinterpret_cast<const BYTE*>(points) - reinterpret_cast<const BYTE*>(run);
    if (count && pointsAt + static_cast<DWORD64>(count) * sizeof(Point) <= length)
        *position = POINTL{points[count - 1].x, points[count - 1].y};
}

} // namespace

bool GetMetafileDrawnBox(HENHMETAFILE metafile, RECT* box)
{
    if (!metafile || !box)
        return false;
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    if (size < sizeof(ENHMETAHEADER))
        return false;
    std::vector<BYTE> bits(size);
    if (GetEnhMetaFileBits(metafile, size, bits.data()) != size)
        return false;

    DrawnBox drawn;
    bool unread = false;        // a record this walk cannot place
    POINTL position = {0, 0};   // the current position
    UINT align = TA_LEFT | TA_TOP;
    std::map<DWORD, LONG> fontEscapements;  // by object slot
    LONG escapement = 0;
    for (DWORD at = 0; at + sizeof(EMR) <= size;) {
        const ENHMETARECORD* record = reinterpret_cast<const ENHMETARECORD*>(bits.data() + at);
        const DWORD length = record->nSize;
        if (length < sizeof(EMR) || length % 4 || at + length > size)
            break;
        const DWORD type = record->iType;
        const BYTE* body = bits.data() + at;
        switch (type) {
        case EMR_MOVETOEX:
            position = reinterpret_cast<const EMRMOVETOEX*>(body)->ptl;
            break;
        case EMR_LINETO: {
            const POINTL to = reinterpret_cast<const EMRLINETO*>(body)->ptl;
            drawn.Add(position.x, position.y);
            drawn.Add(to.x, to.y);
            position = to;
            break;
        }
        case EMR_SETPIXELV: {
            const POINTL at = reinterpret_cast<const EMRSETPIXELV*>(body)->ptlPixel;
            drawn.Add(at.x, at.y);
            break;
        }
        case EMR_SETTEXTALIGN:
            align = reinterpret_cast<const EMRSETTEXTALIGN*>(body)->iMode;
            break;
        case EMR_EXTCREATEFONTINDIRECTW:
            if (length >= offsetof(EMREXTCREATEFONTINDIRECTW, elfw) + sizeof(LOGFONTW)) {
                const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(body);
                fontEscapements[font->ihFont] = font->elfw.elfLogFont.lfEscapement;
            }
            break;
        case EMR_SELECTOBJECT: {
            const DWORD slot = reinterpret_cast<const EMRSELECTOBJECT*>(body)->ihObject;
            auto font = fontEscapements.find(slot);
            if (font != fontEscapements.end())
                escapement = font->second;
            else if (slot & ENHMETA_STOCK_OBJECT) {
                const DWORD stock = slot & ~static_cast<DWORD>(ENHMETA_STOCK_OBJECT);
                if (stock >= OEM_FIXED_FONT && stock <= DEFAULT_GUI_FONT && stock != DEFAULT_PALETTE)
                    escapement = 0;  // the stock fonts are upright
            }
            break;
        }
        case EMR_DELETEOBJECT:
            fontEscapements.erase(reinterpret_cast<const EMRDELETEOBJECT*>(body)->ihObject);
            break;
        case EMR_EXTTEXTOUTW:
        case EMR_EXTTEXTOUTA:
            if (length >= sizeof(EMREXTTEXTOUTW))
                AddText(reinterpret_cast<const EMREXTTEXTOUTW*>(body), length, align, escapement, &position,
                        &drawn);
            else
                unread = true;
            break;
        case EMR_POLYLINETO16:
        case EMR_POLYBEZIERTO16: {
            const auto* run = reinterpret_cast<const EMRPOLYLINETO16*>(body);
            AddRunFromPosition(run, run->apts, run->cpts, length, &drawn, &position);
            break;
        }
        case EMR_POLYLINETO:
        case EMR_POLYBEZIERTO: {
            const auto* run = reinterpret_cast<const EMRPOLYLINETO*>(body);
            AddRunFromPosition(run, run->aptl, run->cptl, length, &drawn, &position);
            break;
        }
        default:
            if (HasBounds(type) && length >= sizeof(EMR) + sizeof(RECTL))
                drawn.Add(*reinterpret_cast<const RECTL*>(body + sizeof(EMR)));
            else if (HasShapeBox(type) && length >= sizeof(EMR) + sizeof(RECTL))
                drawn.Add(*reinterpret_cast<const RECTL*>(body + sizeof(EMR)));
            else if (MovesTheGrid(type) || !DrawsNothing(type))
                unread = true;
            break;
        }
        if (type == EMR_EOF)
            break;
        at += length;
    }
    // What the walk cannot place is taken from the header's bounds, which hold it.
    if (unread)
        drawn.Add(reinterpret_cast<const ENHMETAHEADER*>(bits.data())->rclBounds);
    if (!drawn.any)
        return false;
    box->left = static_cast<LONG>(std::floor(drawn.left));
    box->top = static_cast<LONG>(std::floor(drawn.top));
    box->right = static_cast<LONG>(std::ceil(drawn.right));
    box->bottom = static_cast<LONG>(std::ceil(drawn.bottom));
    return true;
}
