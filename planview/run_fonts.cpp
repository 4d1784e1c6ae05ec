#include "run_fonts.h"
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// A plan with texts at every angle has a look per angle: past this many the run makes
// its fonts per use again rather than hold an unbounded number of GDI objects.
const size_t kRunFontLimit = 256;

// A look as a key: the face name's bytes after its end are not part of it.
struct Look {
    LOGFONTA font;
    bool operator==(const Look& other) const { return std::memcmp(&font, &other.font, sizeof font) == 0; }
};

struct LookHash {
    size_t operator()(const Look& look) const
    {
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&look.font);
        size_t hash = 14695981039346656037ull;
        for (size_t i = 0; i < sizeof look.font; ++i)
            hash = (hash ^ bytes[i]) * 1099511628211ull;
        return hash;
    }
};

int runDepth = 0;
std::unordered_map<Look, HFONT, LookHash> runFonts;
std::unordered_set<HFONT> runHandles;

// A DC holding one of the run's fonts, and its own font to put back.
struct KeptFont {
    HDC dc;
    HGDIOBJ own;
};
std::vector<KeptFont> keptFonts;

bool IsRunFont(HGDIOBJ font)
{
    return font && runHandles.count(static_cast<HFONT>(font)) > 0;
}

// Puts the DC's own font back when one of the run's is selected in it.
void PutOwnFontBack(const KeptFont& kept)
{
    if (IsRunFont(GetCurrentObject(kept.dc, OBJ_FONT)))
        SelectObject(kept.dc, kept.own);
}

Look LookOf(const LOGFONTA& font)
{
    Look look;
    look.font = font;
    const size_t used = strnlen(font.lfFaceName, LF_FACESIZE);
    std::memset(look.font.lfFaceName + used, 0, LF_FACESIZE - used);
    return look;
}

} // namespace

void BeginFontRun()
{
    ++runDepth;
}

void EndFontRun()
{
    if (runDepth == 0 || --runDepth > 0)
        return;
    // No font may be deleted while a DC holds it.
    for (const KeptFont& kept : keptFonts)
        PutOwnFontBack(kept);
    keptFonts.clear();
    for (HFONT font : runHandles)
        DeleteObject(font);
    runFonts.clear();
    runHandles.clear();
}

HFONT AcquireRunFont(const LOGFONTA& look)
{
    if (runDepth == 0)
        return CreateFontIndirectA(&look);
    const Look key = LookOf(look);
    auto found = runFonts.find(key);
    if (found != runFonts.end())
        return found->second;
    HFONT font = CreateFontIndirectA(&key.font);
    if (font && runFonts.size() < kRunFontLimit) {
        runFonts.emplace(key, font);
        runHandles.insert(font);
    }
    return font;
}

void ReleaseRunFont(HFONT font)
{
    if (font && !IsRunFont(font))
        DeleteObject(font);
}

HGDIOBJ SelectTextFont(HDC dc, HFONT font)
{
    if (!dc || !font)
        return nullptr;
    if (!IsRunFont(font))
        return SelectObject(dc, font);
    if (GetCurrentObject(dc, OBJ_FONT) == font)
        return nullptr;
    HGDIOBJ previous = SelectObject(dc, font);
    if (!previous || IsRunFont(previous))
        return nullptr;
    bool known = false;
    for (const KeptFont& kept : keptFonts)
        known = known || kept.dc == dc;
    if (!known)
        keptFonts.push_back({dc, previous});
    return nullptr;
}

void RestoreTextFont(HDC dc, HGDIOBJ previous)
{
    if (dc && previous)
        SelectObject(dc, previous);
}

void RestoreOwnFont(HDC dc)
{
    for (auto kept = keptFonts.begin(); kept != keptFonts.end(); ++kept) {
        if (kept->dc == dc) {
            PutOwnFontBack(*kept);
            keptFonts.erase(kept);
            return;
        }
    }
}
