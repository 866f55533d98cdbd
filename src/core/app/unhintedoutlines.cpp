// Qt's PDF writer copies each glyph it embeds from the outline FreeType loads
// at one pixel per font unit, where a font's hinting program has nothing left
// to fit to the pixel grid but runs all the same: a tenth of the time a
// catalogue takes to print went into it. This FT_Load_Glyph, which the
// program's executables put in front of FreeType's, loads such outlines
// unhinted, exactly as the font draws them; every other load goes to
// FreeType's own function unchanged, as does every load when the environment
// sets LETTERLOOM_UNHINTED_OUTLINES=freetype.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

namespace {
using LoadGlyphFunction = FT_Error (*)(FT_Face, FT_UInt, FT_Int32);

// A scalable face set to as many pixels per em as it has font units, asked for
// its outline: Qt's way to read a glyph's shape in font units.
bool loadsAnOutlineInFontUnits(FT_Face face, FT_Int32 flags)
{
    return flags == FT_LOAD_NO_BITMAP && face && FT_IS_SCALABLE(face) && face->size
        && face->size->metrics.x_ppem == face->units_per_EM && face->size->metrics.y_ppem == face->units_per_EM;
}

bool switchedOff()
{
    const char *choice = std::getenv("LETTERLOOM_UNHINTED_OUTLINES");
    return choice && std::strcmp(choice, "freetype") == 0;
}
} // namespace

extern "C" FT_Error FT_Load_Glyph(FT_Face face, FT_UInt glyph, FT_Int32 flags)
{
    static const auto freetype = reinterpret_cast<LoadGlyphFunction>(dlsym(RTLD_NEXT, "FT_Load_Glyph"));
    static const bool unhinted = !switchedOff();
    if (unhinted && loadsAnOutlineInFontUnits(face, flags))
        flags |= FT_LOAD_NO_HINTING;
    return freetype(face, glyph, flags);
}
