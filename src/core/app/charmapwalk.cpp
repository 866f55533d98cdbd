// Qt's PDF writer maps the glyphs it drew back to text by asking FreeType for
// the glyph of each of the 65,536 characters of the Basic Multilingual Plane in
// turn, once for every font it embeds: a third of the time a catalogue takes to
// print went into those questions, for fonts that mostly hold a few hundred
// characters. This FT_Get_Char_Index, which the program's executables put in
// front of FreeType's, notices such a run of questions for one character after
// the other and answers them by walking the font's character map alongside:
// each character the map holds is looked up once, every other answer is 0 at
// no cost. Any other question goes to FreeType's own function, as does every
// question when the environment sets LETTERLOOM_CHARMAP_WALK=freetype.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {
using CharIndexFunction = FT_UInt (*)(FT_Face, FT_ULong);

// Questions in a row, one character after the other, before the walk begins:
// fewer cost more than they save.
constexpr int QuestionsBeforeWalking = 64;
constexpr FT_ULong PastTheMap = std::numeric_limits<FT_ULong>::max();

// One walk per thread: Qt keeps its FreeType faces per thread.
class CharmapWalk
{
public:
    FT_UInt glyphIndex(FT_Face face, FT_ULong code, CharIndexFunction freetype)
    {
        // The same face and map, asked for the character after the last one:
        // nothing can have freed the face in between and put another in its place.
        const bool nextInRun = face && face == m_face && face->charmap == m_charmap && code == m_last + 1;
        m_face = face;
        m_charmap = face ? face->charmap : nullptr;
        m_last = code;
        if (!nextInRun) {
            m_run = 0;
            m_walking = false;
            return freetype(face, code);
        }
        if (!m_walking) {
            if (++m_run < QuestionsBeforeWalking)
                return freetype(face, code);
            m_walking = true;
            m_nextGlyph = freetype(face, code);
            m_nextCode = m_nextGlyph ? code : following(face, code);
        }
        if (code < m_nextCode)
            return 0;
        const FT_UInt glyph = m_nextGlyph;
        m_nextCode = following(face, code);
        return glyph;
    }

private:
    // The next character after `code` that the map holds, and its glyph.
    FT_ULong following(FT_Face face, FT_ULong code)
    {
        const FT_ULong next = FT_Get_Next_Char(face, code, &m_nextGlyph);
        return m_nextGlyph ? next : PastTheMap;
    }

    FT_Face m_face = nullptr;
    FT_CharMap m_charmap = nullptr;
    FT_ULong m_last = 0;
    int m_run = 0;
    bool m_walking = false;
    FT_ULong m_nextCode = 0;
    FT_UInt m_nextGlyph = 0;
};

bool walkSwitchedOff()
{
    const char *choice = std::getenv("LETTERLOOM_CHARMAP_WALK");
    return choice && std::strcmp(choice, "freetype") == 0;
}
} // namespace

extern "C" FT_UInt FT_Get_Char_Index(FT_Face face, FT_ULong code)
{
    static const auto freetype = reinterpret_cast<CharIndexFunction>(dlsym(RTLD_NEXT, "FT_Get_Char_Index"));
    static const bool walking = !walkSwitchedOff();
    if (!walking)
        return freetype(face, code);
    thread_local CharmapWalk walk;
    return walk.glyphIndex(face, code, freetype);
}
