// The program's stand-ins for two FreeType calls answer as FreeType's own do:
// the glyph of every character of the Basic Multilingual Plane, asked for in
// turn as Qt's PDF writer asks, for every font of the system's Noto and
// Liberation sets, also when the questions switch between fonts or threads;
// and glyph outlines, which only change where they are read in font units.
#include "fixtures/coretestmain.h"

#include <QDir>
#include <QDirIterator>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <dlfcn.h>

#include <thread>

namespace {
using CharIndexFunction = FT_UInt (*)(FT_Face, FT_ULong);
using LoadGlyphFunction = FT_Error (*)(FT_Face, FT_UInt, FT_Int32);
constexpr FT_ULong PlaneSize = 0x10000;

QStringList fontFiles()
{
    QStringList files;
    for (const char *folder : {"/usr/share/fonts/truetype/noto", "/usr/share/fonts/opentype/noto",
                               "/usr/share/fonts/truetype/liberation2"}) {
        QDirIterator it(QString::fromLatin1(folder), {QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files);
        while (it.hasNext())
            files.append(it.next());
    }
    files.sort();
    return files;
}

// FreeType's own function, behind the program's.
FT_UInt freetypeCharIndex(FT_Face face, FT_ULong code)
{
    static const auto freetype = reinterpret_cast<CharIndexFunction>(dlsym(RTLD_NEXT, "FT_Get_Char_Index"));
    return freetype(face, code);
}

// The first character of `file` whose glyph the program answers wrongly, in a
// walk over the plane that `interrupt` interrupts with a question of its own
// now and then; 0 when there is none.
FT_ULong firstWrongAnswer(const QString &file, FT_Face interrupt)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_Init_FreeType(&library);
    FT_ULong wrong = 0;
    if (FT_New_Face(library, QFile::encodeName(file).constData(), 0, &face) == 0) {
        for (FT_ULong code = 0; code < PlaneSize && !wrong; ++code) {
            if (interrupt && code % 4099 == 0)
                FT_Get_Char_Index(interrupt, code);
            if (FT_Get_Char_Index(face, code) != freetypeCharIndex(face, code))
                wrong = code ? code : PlaneSize;
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return wrong;
}
} // namespace

class FreetypeCallsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCharacterGetsFreetypesGlyph_data();
    void everyCharacterGetsFreetypesGlyph();
    void walksOnTwoThreadsKeepApart();
    void outlinesChangeOnlyInFontUnits();
};

void FreetypeCallsTest::everyCharacterGetsFreetypesGlyph_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("interrupted");
    const QStringList files = fontFiles();
    QVERIFY(files.size() > 100);
    for (const QString &file : files)
        QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file << false;
    QTest::newRow("interrupted by another font") << files.first() << true;
}

void FreetypeCallsTest::everyCharacterGetsFreetypesGlyph()
{
    QFETCH(QString, file);
    QFETCH(bool, interrupted);
    FT_Library library = nullptr;
    FT_Face other = nullptr;
    FT_Init_FreeType(&library);
    if (interrupted)
        QCOMPARE(FT_New_Face(library, QFile::encodeName(fontFiles().last()).constData(), 0, &other), 0);
    QCOMPARE(firstWrongAnswer(file, other), FT_ULong(0));
    if (other)
        FT_Done_Face(other);
    FT_Done_FreeType(library);
}

void FreetypeCallsTest::walksOnTwoThreadsKeepApart()
{
    const QStringList files = fontFiles();
    FT_ULong wrong[2] = {1, 1};
    std::thread first([&] { wrong[0] = firstWrongAnswer(files.at(0), nullptr); });
    std::thread second([&] { wrong[1] = firstWrongAnswer(files.at(1), nullptr); });
    first.join();
    second.join();
    QCOMPARE(wrong[0], FT_ULong(0));
    QCOMPARE(wrong[1], FT_ULong(0));
}

// Read at one pixel per font unit, as Qt reads what it embeds, an outline is
// the font's own, unhinted; at a screen's size it is hinted as FreeType hints it.
void FreetypeCallsTest::outlinesChangeOnlyInFontUnits()
{
    static const auto freetypeLoad = reinterpret_cast<LoadGlyphFunction>(dlsym(RTLD_NEXT, "FT_Load_Glyph"));
    const auto points = [](FT_Face face) {
        const FT_Outline &outline = face->glyph->outline;
        return QByteArray(reinterpret_cast<const char *>(outline.points), outline.n_points * int(sizeof(FT_Vector)));
    };
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_Init_FreeType(&library);
    const QString serif = QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf");
    QCOMPARE(FT_New_Face(library, QFile::encodeName(serif).constData(), 0, &face), 0);
    const FT_UInt glyph = FT_Get_Char_Index(face, 'g');

    FT_Set_Char_Size(face, face->units_per_EM << 6, face->units_per_EM << 6, 0, 0);
    QCOMPARE(FT_Load_Glyph(face, glyph, FT_LOAD_NO_BITMAP), 0);
    const QByteArray inFontUnits = points(face);
    QCOMPARE(freetypeLoad(face, glyph, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING), 0);
    QCOMPARE(inFontUnits, points(face));

    FT_Set_Char_Size(face, 20 << 6, 20 << 6, 96, 96);
    QCOMPARE(FT_Load_Glyph(face, glyph, FT_LOAD_NO_BITMAP), 0);
    const QByteArray onScreen = points(face);
    QCOMPARE(freetypeLoad(face, glyph, FT_LOAD_NO_BITMAP), 0);
    QCOMPARE(onScreen, points(face));
    QCOMPARE(freetypeLoad(face, glyph, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING), 0);
    QVERIFY2(onScreen != points(face), "hinting changes nothing on screen: the check cannot tell");
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

LETTERLOOM_CORE_TEST_MAIN(FreetypeCallsTest)
#include "freetypecallstest.moc"
