#include "tools/text_layout_font.h"
#include "shell/app_globals.h"
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

const char kCopyFamily[] = "Velmora Text Layout ";

// What a copy was made of: the family of the face and the weight and slant that selected
// it (the copy's own style name is "Regular", whatever the face's).
struct CopiedFace {
    std::string family;
    LONG weight;
    BYTE italic;
};
std::map<std::string, CopiedFace> copiedFaces;

uint32_t Tag(const char* name)
{
    return (uint32_t(uint8_t(name[0])) << 24) | (uint32_t(uint8_t(name[1])) << 16) |
           (uint32_t(uint8_t(name[2])) << 8) | uint32_t(uint8_t(name[3]));
}

uint32_t Read16(const Bytes& data, size_t at)
{
    return (uint32_t(data[at]) << 8) | data[at + 1];
}

uint32_t Read32(const Bytes& data, size_t at)
{
    return (Read16(data, at) << 16) | Read16(data, at + 2);
}

void Put16(Bytes* out, uint32_t value)
{
    out->push_back(uint8_t(value >> 8));
    out->push_back(uint8_t(value));
}

void Write32(Bytes* out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        (*out)[at + i] = uint8_t(value >> (24 - 8 * i));
}

// The face's own bytes (a single font file's tables) and its full name, as the LOGFONT
// selects it.
bool ReadFace(const LOGFONTA& font, Bytes* data, std::string* fullName)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT made = dc ? CreateFontIndirectA(&font) : nullptr;
    bool read = false;
    if (made) {
        HGDIOBJ previous = SelectObject(dc, made);
        const DWORD size = GetFontData(dc, 0, 0, nullptr, 0);
        const UINT metricsSize = GetOutlineTextMetricsA(dc, 0, nullptr);
        if (size != GDI_ERROR && size >= 12 && metricsSize >= sizeof(OUTLINETEXTMETRICA)) {
            data->resize(size);
            std::vector<char> metrics(metricsSize);
            OUTLINETEXTMETRICA* otm = reinterpret_cast<OUTLINETEXTMETRICA*>(metrics.data());
            if (GetFontData(dc, 0, 0, data->data(), size) == size &&
                GetOutlineTextMetricsA(dc, metricsSize, otm)) {
                const size_t at = reinterpret_cast<size_t>(otm->otmpFullName);
                if (at < metricsSize) {
                    fullName->assign(metrics.data() + at, strnlen(metrics.data() + at, metricsSize - at));
                    read = true;
                }
            }
        }
        SelectObject(dc, previous);
        DeleteObject(made);
    }
    if (dc)
        DeleteDC(dc);
    return read;
}

// A name table that names the copy: family and full name `family`, style "Regular"
// (the style itself stays in the copied OS/2 and head tables).
Bytes NameTable(const std::string& family)
{
    std::string postScript;
    for (char c : family)
        if (c != ' ')
            postScript += c;
    const std::pair<uint32_t, std::string> names[] = {
        {1, family}, {2, "Regular"}, {4, family}, {6, postScript}};
    const uint32_t count = sizeof names / sizeof names[0];
    Bytes table, strings;
    Put16(&table, 0);
    Put16(&table, count);
    Put16(&table, 6 + 12 * count);
    for (const auto& name : names) {
        // Windows platform, Unicode BMP, US English; the strings in UTF-16 big-endian.
        Put16(&table, 3);
        Put16(&table, 1);
        Put16(&table, 0x409);
        Put16(&table, name.first);
        Put16(&table, uint32_t(name.second.size() * 2));
        Put16(&table, uint32_t(strings.size()));
        for (char c : name.second)
            Put16(&strings, uint8_t(c));
    }
    table.insert(table.end(), strings.begin(), strings.end());
    return table;
}

// Switches the mark-attachment features of a GPOS table off by renaming them; false when
// it has none (or cannot be read).
bool SwitchOffMarkPositioning(Bytes* gpos)
{
    if (gpos->size() < 10)
        return false;
    const size_t list = Read16(*gpos, 6);
    if (list + 2 > gpos->size())
        return false;
    const size_t count = Read16(*gpos, list);
    if (list + 2 + 6 * count > gpos->size())
        return false;
    bool renamed = false;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = list + 2 + 6 * i;
        const uint32_t tag = Read32(*gpos, at);
        if (tag == Tag("mark") || tag == Tag("mkmk")) {
            // A tag no shaping asks for; the lookups stay, unreachable.
            (*gpos)[at] = '_';
            renamed = true;
        }
    }
    return renamed;
}

// The face's copy under the family name, without mark positioning; false when the face
// needs none or its tables cannot be read.
bool MakeCopy(const Bytes& face, const std::string& family, Bytes* copy)
{
    const uint32_t version = Read32(face, 0);
    if (version != 0x00010000 && version != Tag("true") && version != Tag("OTTO"))
        return false;   // a collection or no sfnt at all
    const size_t tables = Read16(face, 4);
    if (12 + 16 * tables > face.size())
        return false;
    std::vector<Bytes> bodies;
    bool switchedOff = false;
    for (size_t i = 0; i < tables; ++i) {
        const size_t record = 12 + 16 * i;
        const uint32_t tag = Read32(face, record);
        const size_t offset = Read32(face, record + 8), length = Read32(face, record + 12);
        if (offset > face.size() || length > face.size() - offset)
            return false;
        Bytes body(face.begin() + offset, face.begin() + offset + length);
        if (tag == Tag("GPOS"))
            switchedOff = SwitchOffMarkPositioning(&body);
        else if (tag == Tag("name"))
            body = NameTable(family);
        bodies.push_back(body);
    }
    if (!switchedOff)
        return false;
    copy->assign(face.begin(), face.begin() + 12 + 16 * tables);
    for (size_t i = 0; i < tables; ++i) {
        while (copy->size() % 4)
            copy->push_back(0);
        Write32(copy, 12 + 16 * i + 8, uint32_t(copy->size()));
        Write32(copy, 12 + 16 * i + 12, uint32_t(bodies[i].size()));
        copy->insert(copy->end(), bodies[i].begin(), bodies[i].end());
    }
    return true;
}

// The face name of the LOGFONT when selected (what a registered copy must answer to).
std::string SelectedFace(const LOGFONTA& font)
{
    char face[LF_FACESIZE] = {};
    if (HDC dc = CreateCompatibleDC(nullptr)) {
        if (HFONT made = CreateFontIndirectA(&font)) {
            HGDIOBJ previous = SelectObject(dc, made);
            GetTextFaceA(dc, LF_FACESIZE, face);
            SelectObject(dc, previous);
            DeleteObject(made);
        }
        DeleteDC(dc);
    }
    return face;
}

// The copy's family for the face the LOGFONT selects; empty for none. Faces are told
// apart by their full names, so that LOGFONTs selecting one face share its copy.
std::string CopyFamily(const LOGFONTA& font)
{
    static std::map<std::string, std::string> familyOfFace;
    Bytes face;
    std::string fullName;
    if (!ReadFace(font, &face, &fullName))
        return std::string();
    const auto known = familyOfFace.find(fullName);
    if (known != familyOfFace.end())
        return known->second;
    char family[LF_FACESIZE];
    std::snprintf(family, sizeof family, "%s%u", kCopyFamily, unsigned(familyOfFace.size() + 1));
    Bytes copy;
    DWORD added = 0;
    std::string registered;
    if (MakeCopy(face, family, &copy) &&
        AddFontMemResourceEx(copy.data(), DWORD(copy.size()), nullptr, &added) && added > 0) {
        LOGFONTA check = font;
        std::strcpy(check.lfFaceName, family);
        if (SelectedFace(check) == family) {
            registered = family;
            copiedFaces[registered] = {SelectedFace(font), font.lfWeight, font.lfItalic};
        }
    }
    familyOfFace[fullName] = registered;
    return registered;
}

} // namespace

LOGFONTA TextLayoutLogFont(const LOGFONTA& drawable)
{
    // What selects a face: not the size.
    static std::map<std::string, std::string> familyOfLook;
    if (drawable.lfFaceName[0] == '@')
        return drawable;   // a vertical face keeps its name
    LOGFONTA look = drawable;
    look.lfHeight = 0;
    look.lfWidth = 0;
    char key[LF_FACESIZE + 64];
    std::snprintf(key, sizeof key, "%.*s|%ld|%u|%u|%u|%u", LF_FACESIZE, drawable.lfFaceName,
                  long(drawable.lfWeight), drawable.lfItalic, drawable.lfCharSet,
                  drawable.lfPitchAndFamily, drawable.lfOutPrecision);
    auto known = familyOfLook.find(key);
    if (known == familyOfLook.end())
        known = familyOfLook.emplace(key, CopyFamily(look)).first;
    LOGFONTA layout = drawable;
    if (!known->second.empty())
        std::snprintf(layout.lfFaceName, LF_FACESIZE, "%s", known->second.c_str());
    return layout;
}

bool IsTextLayoutFace(const char* faceName)
{
    return std::strncmp(faceName, kCopyFamily, sizeof kCopyFamily - 1) == 0;
}

void ReplaceTextLayoutFace(LOGFONTA* font, bool thisRun)
{
    font->lfFaceName[LF_FACESIZE - 1] = '\0';
    if (!IsTextLayoutFace(font->lfFaceName))
        return;
    const auto copied = copiedFaces.find(font->lfFaceName);
    if (!thisRun || copied == copiedFaces.end()) {
        std::snprintf(font->lfFaceName, LF_FACESIZE, "%s", defaultFontFace);
        return;
    }
    std::snprintf(font->lfFaceName, LF_FACESIZE, "%s", copied->second.family.c_str());
    if (font->lfWeight < copied->second.weight)
        font->lfWeight = copied->second.weight;
    if (copied->second.italic)
        font->lfItalic = 1;
}
