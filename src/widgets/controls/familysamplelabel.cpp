#include "controls/familysamplelabel.h"

#include "app/familycoverage.h"

#include <QEvent>
#include <QFontMetricsF>

namespace {
// Cut shorter than this, a sample says nothing of the script.
constexpr int FewestSampleCharacters = 4;
} // namespace

FamilySampleLabel::FamilySampleLabel(const QString &caption, QWidget *parent) : ReadableLabel(caption, parent) { }

void FamilySampleLabel::showFamily(const QString &family)
{
    m_family = family;
    FamilyCoverage &coverage = FamilyCoverage::installed();
    m_ownScript = coverage.lacksMostOf(family, family) ? coverage.ownScriptSample(family, SampleKind::Alphabet).toUcs4()
                                                       : QList<uint>();
    QFont shown = font();
    shown.setFamily(family);
    setFont(shown);
    fit();
}

QString FamilySampleLabel::spokenText() const
{
    return m_family;
}

void FamilySampleLabel::changeEvent(QEvent *event)
{
    ReadableLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fit();
}

void FamilySampleLabel::resizeEvent(QResizeEvent *event)
{
    ReadableLabel::resizeEvent(event);
    fit();
}

// The display is centred and one line: a sample wider than the display would
// push the name out of view on the left. It shows as much as fits.
void FamilySampleLabel::fit()
{
    if (m_ownScript.isEmpty()) {
        setText(m_family);
        return;
    }
    const QFontMetricsF metrics(font());
    const qreal room = contentsRect().width() - metrics.horizontalAdvance(QLatin1Char('x'));
    const auto withSample = [this](qsizetype characters) {
        const auto *codes = reinterpret_cast<const char32_t *>(m_ownScript.constData());
        return m_family + QLatin1Char(' ') + QString::fromUcs4(codes, characters);
    };
    qsizetype fits = qMin<qsizetype>(FewestSampleCharacters, m_ownScript.size());
    qsizetype tooMany = m_ownScript.size() + 1;
    while (tooMany - fits > 1) {
        const qsizetype tried = (fits + tooMany) / 2;
        if (metrics.horizontalAdvance(withSample(tried)) <= room)
            fits = tried;
        else
            tooMany = tried;
    }
    setText(withSample(fits));
}
