// Qt asks fontconfig for the best match of every font it loads, to read the
// hinting and smoothing set for it, with a pattern that names the font's file.
// fontconfig's own FcFontMatch compares that pattern with every installed font
// on each call: 1.2 ms with two thousand fonts, 4 ms with fifteen thousand, more
// than all the rest of laying out a catalogue of them. A font's file outranks
// every other property in fontconfig's matching, so the best match is always
// one of that file's faces. This FcFontMatch, which the program's executables
// put in front of fontconfig's, compares only those; every other pattern goes
// to fontconfig's own function, as does every pattern when the environment sets
// LETTERLOOM_FONT_MATCH=fontconfig (to compare the two, or should a fontconfig
// release ever rank something above the file).

#include "app/fontsetsseen.h"

#include <fontconfig/fontconfig.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {
using FontMatchFunction = FcPattern *(*)(FcConfig *, FcPattern *, FcResult *);

struct Face {
    const char *file;
    FcPattern *pattern;
};

// The faces of the current configuration's installed fonts, sorted by file.
// It holds a reference to each face, so none can go and be replaced by another
// at the same address while it is in use. It lives as long as the process: Qt
// may still load a font while it shuts down.
class FacesByFile
{
public:
    // The matched face of `file`'s fonts, or nothing when `file` holds no installed font.
    FcPattern *match(FcConfig *config, const char *file, FcPattern *pattern, FcResult *result)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        FcFontSet *installed = FcConfigGetFonts(config, FcSetSystem);
        if (!installed)
            return nullptr;
        if (m_seen.changed(config))
            rebuild(installed);
        const auto first
            = std::lower_bound(m_faces.begin(), m_faces.end(), file,
                               [](const Face &face, const char *name) { return std::strcmp(face.file, name) < 0; });
        FcFontSet *faces = FcFontSetCreate();
        for (auto face = first; face != m_faces.end() && std::strcmp(face->file, file) == 0; ++face) {
            FcPatternReference(face->pattern);
            FcFontSetAdd(faces, face->pattern);
        }
        FcPattern *matched = nullptr;
        if (faces->nfont > 0)
            matched = FcFontSetMatch(config, &faces, 1, pattern, result);
        FcFontSetDestroy(faces);
        return matched;
    }

private:
    void rebuild(FcFontSet *installed)
    {
        for (const Face &face : m_faces)
            FcPatternDestroy(face.pattern);
        m_faces.clear();
        m_faces.reserve(size_t(installed->nfont));
        for (int i = 0; i < installed->nfont; ++i) {
            FcChar8 *file = nullptr;
            if (FcPatternGetString(installed->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
                continue;
            FcPatternReference(installed->fonts[i]);
            m_faces.push_back({reinterpret_cast<const char *>(file), installed->fonts[i]});
        }
        // Faces of one file keep fontconfig's order, which decides between equal matches.
        std::stable_sort(m_faces.begin(), m_faces.end(),
                         [](const Face &a, const Face &b) { return std::strcmp(a.file, b.file) < 0; });
    }

    std::mutex m_mutex;
    FontSetsSeen m_seen;
    std::vector<Face> m_faces;
};

// Only a pattern naming exactly one file can be narrowed to that file's faces.
const char *onlyFile(FcPattern *pattern)
{
    FcChar8 *file = nullptr;
    FcChar8 *another = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch
        || FcPatternGetString(pattern, FC_FILE, 1, &another) == FcResultMatch)
        return nullptr;
    return reinterpret_cast<const char *>(file);
}

bool narrowingSwitchedOff()
{
    const char *choice = std::getenv("LETTERLOOM_FONT_MATCH");
    return choice && std::strcmp(choice, "fontconfig") == 0;
}
} // namespace

extern "C" FcPattern *FcFontMatch(FcConfig *config, FcPattern *pattern, FcResult *result)
{
    static const auto fontconfigMatch = reinterpret_cast<FontMatchFunction>(dlsym(RTLD_NEXT, "FcFontMatch"));
    static const bool narrowing = !narrowingSwitchedOff();
    static FacesByFile *const facesByFile = new FacesByFile;
    if (narrowing) {
        if (const char *file = onlyFile(pattern)) {
            if (FcConfig *current = FcConfigReference(config)) {
                FcPattern *matched = facesByFile->match(current, file, pattern, result);
                FcConfigDestroy(current);
                if (matched)
                    return matched;
            }
        }
    }
    return fontconfigMatch(config, pattern, result);
}
