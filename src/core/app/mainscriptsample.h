// Samples of a face's main script, shown where the face cannot draw the
// catalogue's Latin sample: the script with the most letters in the face, or,
// for a face without letters, its own symbols.
#pragma once

#include <QChar>
#include <QList>
#include <QString>

#include <fontconfig/fontconfig.h>

#include <utility>

class MainScriptSample
{
public:
    // `face` is fontconfig's, for the family's regular face, and must outlive the sample.
    explicit MainScriptSample(const FcPattern *face);

    // About as many letters as the Latin alphabet line, in the script's order:
    // capitals, then the same letters small, where the script has case.
    QString alphabet() const;
    // Letters, then digits and a few signs, in the manner of the Latin mix.
    QString someOfEach() const;
    // The script's characters in code-point order, as many as the Latin set has.
    QString allCharacters() const;

private:
    using CasePair = std::pair<char32_t, char32_t>;

    static QList<QChar::Script> laidOutScripts(const FcPattern *face);
    bool drawn(QChar::Script script) const;

    QList<char32_t> letters(qsizetype count) const;
    QList<CasePair> casePairs(qsizetype count) const;
    QList<char32_t> symbols(qsizetype count) const;
    QString digits() const;
    QString signs() const;

    FcCharSet *m_characters = nullptr;
    QList<QChar::Script> m_laidOut;
    // The Unicode script with the most letters in the face that Qt draws in
    // it, Common and Inherited aside; Script_Unknown for a face without letters.
    QChar::Script m_script = QChar::Script_Unknown;
};
