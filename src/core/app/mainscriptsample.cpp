#include "app/mainscriptsample.h"

#include "app/fontlayouttables.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <initializer_list>

namespace {
// The Latin samples the script samples stand in for: "ABC…Z abc…z", the mix
// "ABCDEFG abcdefg ÄäÜüÖö 12345 @§$%&-+" and the 223 codes 33 to 255.
constexpr qsizetype AlphabetHalf = 26;
constexpr qsizetype MixGroup = 7;
constexpr qsizetype MixMorePairs = 3;
constexpr qsizetype MixLastLetters = 6;
constexpr int MixDigits = 5;
constexpr qsizetype MixSigns = 7;
constexpr qsizetype AllCharactersLength = 223;
// With fewer pairs of capital and small letter than this, a face is taken to
// write its script without case.
constexpr qsizetype LeastCasePairs = 4;
// With fewer letters of any script than this, a face is one of symbols (a
// Thaana face whose Thaana Qt cannot draw, with one Arabic ligature left).
constexpr int LeastLetters = 4;

// The scripts Qt draws, with merging off, only in a font whose glyph
// substitution table names them (or that has Apple's layout tables), with the
// tags HarfBuzz looks for. Elsewhere Qt takes another family that has the
// table, or draws boxes where none has. A face can have the letters without
// the table: Noto Sans Thaana positions its marks and substitutes nothing.
struct ScriptTags {
    QChar::Script script;
    const char *tags;
};
constexpr ScriptTags ScriptsNeedingTables[] = {
    {QChar::Script_Syriac, "syrc"},
    {QChar::Script_Thaana, "thaa"},
    {QChar::Script_Devanagari, "deva dev2 dev3"},
    {QChar::Script_Bengali, "beng bng2 bng3"},
    {QChar::Script_Gurmukhi, "guru gur2 gur3"},
    {QChar::Script_Gujarati, "gujr gjr2 gjr3"},
    {QChar::Script_Oriya, "orya ory2 ory3"},
    {QChar::Script_Tamil, "taml tml2 tml3"},
    {QChar::Script_Telugu, "telu tel2 tel3"},
    {QChar::Script_Kannada, "knda knd2 knd3"},
    {QChar::Script_Malayalam, "mlym mlm2 mlm3"},
    {QChar::Script_Sinhala, "sinh"},
    {QChar::Script_Khmer, "khmr"},
    {QChar::Script_Nko, "nko "},
};

const char *tagsNeeded(QChar::Script script)
{
    for (const ScriptTags &needed : ScriptsNeedingTables) {
        if (needed.script == script)
            return needed.tags;
    }
    return nullptr;
}

// Alone, without a letter to sit on, a mark shows as a dotted circle, and
// spaces and controls show nothing. The dotted circle itself is what fonts
// draw in place of a missing base letter, no sign of their own.
bool printable(char32_t code)
{
    if (code == U'\u25CC')
        return false;
    switch (QChar::category(code)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
        return false;
    case QChar::Other_NotAssigned:
        // Scripts newer than Qt's character tables are still the face's own.
        return !QChar::isNonCharacter(code);
    default:
        return true;
    }
}

// A letter with an accent of its own (Ά, Ё, क़) follows its plain letter in an
// alphabet, as Ä does in German, and ligatures and presentation forms (ﬠ, ﻼ)
// are other shapes of letters; the alphabet line shows the plain ones.
bool plainLetter(char32_t code)
{
    return QChar::decompositionTag(code) == QChar::NoDecomposition;
}

// Calls `take` with the face's characters in code-point order until it returns false.
template <typename Take>
void forEachCharacter(const FcCharSet *characters, Take take)
{
    if (!characters)
        return;
    FcChar32 map[FC_CHARSET_MAP_SIZE];
    FcChar32 next = 0;
    for (FcChar32 page = FcCharSetFirstPage(characters, map, &next); page != FC_CHARSET_DONE;
         page = FcCharSetNextPage(characters, map, &next)) {
        for (FcChar32 word = 0; word < FC_CHARSET_MAP_SIZE; ++word) {
            for (FcChar32 bit = 0; bit < 32; ++bit) {
                if (((map[word] >> bit) & 1u) && !take(char32_t(page + word * 32 + bit)))
                    return;
            }
        }
    }
}

QString text(const QList<char32_t> &codes)
{
    return QString::fromUcs4(codes.constData(), codes.size());
}

// The characters in groups of the given sizes, with a space between groups;
// characters beyond the last group are left out.
QString inGroups(const QList<char32_t> &codes, std::initializer_list<qsizetype> sizes)
{
    QStringList groups;
    qsizetype start = 0;
    for (qsizetype size : sizes) {
        if (start < codes.size())
            groups.append(text(codes.mid(start, size)));
        start += size;
    }
    return groups.join(QLatin1Char(' '));
}
} // namespace

MainScriptSample::MainScriptSample(const FcPattern *face)
{
    FcPatternGetCharSet(face, FC_CHARSET, 0, &m_characters);
    std::array<int, QChar::ScriptCount> letters{};
    bool needsTables = false;
    forEachCharacter(m_characters, [&](char32_t code) {
        const QChar::Script script = QChar::script(code);
        if (QChar::isLetter(code) && script > QChar::Script_Common)
            ++letters[script];
        needsTables = needsTables || tagsNeeded(script);
        return true;
    });
    if (needsTables)
        m_laidOut = laidOutScripts(face);
    for (int script = 0; script < QChar::ScriptCount; ++script) {
        if (letters[script] >= LeastLetters && letters[script] > letters[m_script] && drawn(QChar::Script(script)))
            m_script = QChar::Script(script);
    }
}

// Which of the scripts that need layout tables the face has them for.
QList<QChar::Script> MainScriptSample::laidOutScripts(const FcPattern *face)
{
    FcChar8 *file = nullptr;
    int index = 0;
    if (FcPatternGetString(face, FC_FILE, 0, &file) != FcResultMatch)
        return {};
    FcPatternGetInteger(face, FC_INDEX, 0, &index);
    // The index's upper half numbers the named instances of a variable font.
    const FontLayoutTables tables
        = FontLayoutTables::read(QString::fromUtf8(reinterpret_cast<const char *>(file)), index & 0xFFFF);
    QList<QChar::Script> scripts;
    for (const ScriptTags &needed : ScriptsNeedingTables) {
        const QList<QByteArray> wanted = QByteArray(needed.tags).split(' ');
        if (tables.appleTables || std::any_of(wanted.cbegin(), wanted.cend(), [&tables](const QByteArray &tag) {
                return tables.substitutionScripts.contains(tag.leftJustified(4, ' '));
            }))
            scripts.append(needed.script);
    }
    return scripts;
}

bool MainScriptSample::drawn(QChar::Script script) const
{
    return !tagsNeeded(script) || m_laidOut.contains(script);
}

QString MainScriptSample::alphabet() const
{
    if (m_script == QChar::Script_Unknown)
        return inGroups(symbols(2 * AlphabetHalf), {AlphabetHalf, AlphabetHalf});
    const QList<CasePair> pairs = casePairs(AlphabetHalf);
    if (pairs.size() < LeastCasePairs)
        return inGroups(letters(2 * AlphabetHalf), {AlphabetHalf, AlphabetHalf});
    QList<char32_t> capitals;
    QList<char32_t> small;
    for (const auto &[capital, smallLetter] : pairs) {
        capitals.append(capital);
        small.append(smallLetter);
    }
    return text(capitals) + QLatin1Char(' ') + text(small);
}

QString MainScriptSample::someOfEach() const
{
    // A face of symbols shows symbols only: its digits and punctuation are
    // those of any Latin font.
    if (m_script == QChar::Script_Unknown)
        return inGroups(symbols(3 * MixGroup + MixLastLetters + MixDigits),
                        {MixGroup, MixGroup, MixLastLetters, MixDigits, MixGroup});
    QStringList parts;
    const QList<CasePair> pairs = casePairs(MixGroup + MixMorePairs);
    if (pairs.size() >= LeastCasePairs) {
        QList<char32_t> capitals;
        QList<char32_t> small;
        QList<char32_t> more;
        for (qsizetype i = 0; i < pairs.size(); ++i) {
            if (i < MixGroup) {
                capitals.append(pairs.at(i).first);
                small.append(pairs.at(i).second);
            } else {
                more.append({pairs.at(i).first, pairs.at(i).second});
            }
        }
        parts << text(capitals) << text(small) << text(more);
    } else {
        parts << inGroups(letters(2 * MixGroup + MixLastLetters), {MixGroup, MixGroup, MixLastLetters});
    }
    parts << digits() << signs();
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

QString MainScriptSample::allCharacters() const
{
    if (m_script == QChar::Script_Unknown)
        return text(symbols(AllCharactersLength));
    QList<char32_t> codes;
    forEachCharacter(m_characters, [&](char32_t code) {
        if (printable(code) && QChar::script(code) == m_script)
            codes.append(code);
        return codes.size() < AllCharactersLength;
    });
    return text(codes);
}

QList<char32_t> MainScriptSample::letters(qsizetype count) const
{
    QList<char32_t> codes;
    forEachCharacter(m_characters, [&](char32_t code) {
        if (QChar::isLetter(code) && QChar::category(code) != QChar::Letter_Modifier && QChar::script(code) == m_script
            && plainLetter(code))
            codes.append(code);
        return codes.size() < count;
    });
    return codes;
}

// In the order their case-folded forms take in the code: the small letters
// for most scripts, which keep those in one run where the capitals are spread
// over several (Cyrillic, Greek, Georgian); the capitals for Cherokee, whose
// small letters came later.
QList<MainScriptSample::CasePair> MainScriptSample::casePairs(qsizetype count) const
{
    QList<CasePair> pairs;
    forEachCharacter(m_characters, [&](char32_t code) {
        if (QChar::category(code) == QChar::Letter_Lowercase && QChar::script(code) == m_script && plainLetter(code)) {
            const char32_t capital = QChar::toUpper(code);
            if (capital != code && QChar::toLower(capital) == code && plainLetter(capital)
                && FcCharSetHasChar(m_characters, capital))
                pairs.append({capital, code});
        }
        return true;
    });
    std::stable_sort(pairs.begin(), pairs.end(), [](const CasePair &a, const CasePair &b) {
        return QChar::toCaseFolded(a.second) < QChar::toCaseFolded(b.second);
    });
    return pairs.mid(0, count);
}

// What a face without letters has beyond ASCII; its ASCII digits and
// punctuation only when it has nothing else.
QList<char32_t> MainScriptSample::symbols(qsizetype count) const
{
    QList<char32_t> own;
    QList<char32_t> ascii;
    forEachCharacter(m_characters, [&](char32_t code) {
        if (printable(code) && drawn(QChar::script(code)))
            (code < 0x80 ? ascii : own).append(code);
        return own.size() < count;
    });
    return own.isEmpty() ? ascii.mid(0, count) : own;
}

// One to five: the script's own digits where the face has them, else ASCII
// digits, else the first other digits it has.
QString MainScriptSample::digits() const
{
    QList<char32_t> own;
    QList<char32_t> ascii;
    QList<char32_t> other;
    forEachCharacter(m_characters, [&](char32_t code) {
        const int value = QChar::digitValue(code);
        if (QChar::category(code) != QChar::Number_DecimalDigit || value < 1 || value > MixDigits
            || !drawn(QChar::script(code)))
            return true;
        if (const QChar::Script script = QChar::script(code); script == m_script)
            own.append(code);
        else if (code < 0x80)
            ascii.append(code);
        else if (other.isEmpty() || QChar::script(other.constFirst()) == script)
            other.append(code);
        return own.size() < MixDigits;
    });
    return text(!own.isEmpty() ? own : !ascii.isEmpty() ? ascii : other.mid(0, MixDigits));
}

// Punctuation and symbols of the script itself; where it has none, those
// beyond ASCII that scripts share.
QString MainScriptSample::signs() const
{
    QList<char32_t> own;
    QList<char32_t> shared;
    forEachCharacter(m_characters, [&](char32_t code) {
        if (!printable(code) || QChar::isLetter(code) || QChar::category(code) == QChar::Number_DecimalDigit)
            return true;
        if (const QChar::Script script = QChar::script(code); script == m_script)
            own.append(code);
        else if (script == QChar::Script_Common && code >= 0x80 && shared.size() < MixSigns)
            shared.append(code);
        return own.size() < MixSigns;
    });
    return text(own.isEmpty() ? shared : own);
}
