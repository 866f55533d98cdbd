// The program's FcFontMatch, which Qt calls for every font it loads, answers
// exactly as fontconfig's own does, for every kind of font file.
#include "fixtures/coretestmain.h"

#include <QFile>
#include <QProcess>

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {
using FontMatchFunction = FcPattern *(*)(FcConfig *, FcPattern *, FcResult *);

// Qt's pattern for a font it loads: family, file, face index and pixel size.
FcPattern *askedByFile(FcPattern *face)
{
    FcChar8 *family = nullptr;
    FcChar8 *file = nullptr;
    int index = 0;
    FcPatternGetString(face, FC_FAMILY, 0, &family);
    FcPatternGetString(face, FC_FILE, 0, &file);
    FcPatternGetInteger(face, FC_INDEX, 0, &index);
    FcPattern *pattern = FcPatternCreate();
    if (family)
        FcPatternAddString(pattern, FC_FAMILY, family);
    FcPatternAddString(pattern, FC_FILE, file);
    FcPatternAddInteger(pattern, FC_INDEX, index);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, 26.7);
    return pattern;
}

FcPattern *named(const char *family, const char *file, int weight)
{
    FcPattern *pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family));
    if (file)
        FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8 *>(file));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight);
    return pattern;
}

// The result and the matched font's every property, as text.
QByteArray answer(FontMatchFunction match, FcPattern *pattern)
{
    FcResult result = FcResultNoMatch;
    FcPattern *matched = match(nullptr, pattern, &result);
    QByteArray answer = QByteArray::number(int(result));
    if (matched) {
        FcChar8 *text = FcNameUnparse(matched);
        answer += ' ' + QByteArray(reinterpret_cast<const char *>(text));
        FcStrFree(text);
        FcPatternDestroy(matched);
    }
    return answer;
}
} // namespace

class FontMatchTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void qtReachesTheProgramsMatch();
    void answersAsFontconfigDoes();

private:
    FontMatchFunction m_fontconfigMatch = nullptr;
    QList<FcPattern *> m_asked;
};

void FontMatchTest::initTestCase()
{
    const QString fonts = testEnvironment().root() + QStringLiteral("/fonts");
    QCOMPARE(QProcess::execute(QStringLiteral("/usr/bin/python3"), {QStringLiteral(FONT_MAKER), fonts}), 0);
    // The application font lives outside the installed fonts' folder, as the
    // fonts a program adds for itself do.
    const QString application = testEnvironment().root() + QStringLiteral("/MatchApplication.ttf");
    QVERIFY(QFile::rename(fonts + QStringLiteral("/MatchApplication.ttf"), application));
    QVERIFY(FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8 *>(application.toUtf8().constData())));

    m_fontconfigMatch = reinterpret_cast<FontMatchFunction>(dlsym(RTLD_NEXT, "FcFontMatch"));
    QVERIFY(m_fontconfigMatch);

    for (FcSetName set : {FcSetSystem, FcSetApplication}) {
        FcFontSet *faces = FcConfigGetFonts(nullptr, set);
        QVERIFY(faces);
        for (int i = 0; i < faces->nfont; ++i)
            m_asked.append(askedByFile(faces->fonts[i]));
    }
    // Three Liberation faces, two in the collection, four of the variable font, the application's.
    QCOMPARE(m_asked.size(), 10);
    const QByteArray collection = (fonts + QStringLiteral("/MatchCollection.ttc")).toUtf8();
    const QByteArray variable = (fonts + QStringLiteral("/MatchVariable.ttf")).toUtf8();
    m_asked << named("Match Collection", collection.constData(), FC_WEIGHT_BOLD)
            << named("Match Variable", variable.constData(), 150)                // between two named instances
            << named("Liberation Serif", "/nowhere/none.ttf", FC_WEIGHT_REGULAR) // a file that holds no font
            << named("Liberation Mono", nullptr, FC_WEIGHT_BOLD);                // a family alone
    for (FcPattern *pattern : std::as_const(m_asked)) {
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
    }
}

void FontMatchTest::cleanupTestCase()
{
    for (FcPattern *pattern : std::as_const(m_asked))
        FcPatternDestroy(pattern);
}

void FontMatchTest::qtReachesTheProgramsMatch()
{
    Dl_info found{};
    QVERIFY(dladdr(dlsym(RTLD_DEFAULT, "FcFontMatch"), &found));
    QVERIFY2(!QByteArray(found.dli_fname).contains("libfontconfig"), found.dli_fname);
}

// Other libraries in the process may load fonts from threads of their own, so
// the answers are compared from several threads at once.
void FontMatchTest::answersAsFontconfigDoes()
{
    QList<QByteArray> expected;
    for (FcPattern *pattern : std::as_const(m_asked))
        expected.append(answer(m_fontconfigMatch, pattern));
    for (int i = 0; i < m_asked.size(); ++i)
        QCOMPARE(answer(FcFontMatch, m_asked.at(i)), expected.at(i));
    std::atomic<int> differences{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int round = 0; round < 50; ++round) {
                for (int i = 0; i < m_asked.size(); ++i)
                    differences += answer(FcFontMatch, m_asked.at(i)) != expected.at(i);
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    QCOMPARE(differences.load(), 0);
}

LETTERLOOM_CORE_TEST_MAIN(FontMatchTest)
#include "fontmatchtest.moc"
