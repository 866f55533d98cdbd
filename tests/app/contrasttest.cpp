// Contrast as WCAG 2 measures it, the shades chosen for a palette, and the
// program's fixed colours with the text on them.
#include "app/contrast.h"
#include "app/designcolors.h"
#include "fixtures/coretestmain.h"

#include <QFont>

class ContrastTest : public QObject
{
    Q_OBJECT
private slots:
    void ratio_data();
    void ratio();
    void largeTextNeedsLess_data();
    void largeTextNeedsLess();
    void designColourStaysWhereItReads();
    void shadeKeepsTheHueAndIsTheNearestThatReads_data();
    void shadeKeepsTheHueAndIsTheNearestThatReads();
    void textReadsOnEveryFixedBackground_data();
    void textReadsOnEveryFixedBackground();
};

void ContrastTest::ratio_data()
{
    QTest::addColumn<QColor>("one");
    QTest::addColumn<QColor>("other");
    QTest::addColumn<double>("expected");
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
    QTest::newRow("the same") << QColor(0x12608a) << QColor(0x12608a) << 1.0;
    // The lightest grey that passes on white, as WCAG's own examples give it.
    QTest::newRow("#767676 on white") << QColor(0x767676) << QColor(Qt::white) << 4.54;
    QTest::newRow("pure red on white") << QColor(Qt::red) << QColor(Qt::white) << 4.0;
}

void ContrastTest::ratio()
{
    QFETCH(QColor, one);
    QFETCH(QColor, other);
    QFETCH(double, expected);
    QCOMPARE(qRound(contrastRatio(one, other) * 100) / 100.0, expected);
}

void ContrastTest::largeTextNeedsLess_data()
{
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<double>("needed");
    QTest::newRow("8.25 pt") << 8.25 << false << ReadableContrast;
    QTest::newRow("14 pt") << 14.0 << false << ReadableContrast;
    QTest::newRow("14 pt bold") << 14.0 << true << LargeTextContrast;
    QTest::newRow("18 pt") << 18.0 << false << LargeTextContrast;
}

void ContrastTest::largeTextNeedsLess()
{
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    QFont font;
    font.setPointSizeF(points);
    font.setBold(bold);
    QTEST(neededContrast(font), "needed");
}

void ContrastTest::designColourStaysWhereItReads()
{
    const QColor blue = colorFromBgr(DesignColors::HeadingText);
    QCOMPARE(readableOn(blue, QColor(0xefefef)), blue);
}

void ContrastTest::shadeKeepsTheHueAndIsTheNearestThatReads_data()
{
    QTest::addColumn<quint32>("design");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<double>("ratio");
    QTest::newRow("blue heading on a dark window") << DesignColors::HeadingText << QColor(0x222020) << 4.5;
    QTest::newRow("failure red on black") << DesignColors::FailureText << QColor(Qt::black) << 4.5;
    QTest::newRow("page count grey on a light window") << DesignColors::PageCountText << QColor(0xefefef) << 4.5;
    QTest::newRow("black large text on a dark window") << DesignColors::Black << QColor(0x222020) << 3.0;
}

void ContrastTest::shadeKeepsTheHueAndIsTheNearestThatReads()
{
    QFETCH(quint32, design);
    QFETCH(QColor, background);
    QFETCH(double, ratio);
    const QColor wanted = colorFromBgr(design);
    const QColor shade = readableOn(wanted, background, ratio);
    QVERIFY(contrastRatio(shade, background) >= ratio);
    QCOMPARE(shade.hslHue(), wanted.hslHue());
    const int lighter = shade.lightness() > wanted.lightness() ? 1 : -1;
    const QColor nearer = QColor::fromHsl(shade.hslHue(), shade.hslSaturation(), shade.lightness() - lighter);
    QVERIFY(contrastRatio(nearer, background) < ratio);
}

void ContrastTest::textReadsOnEveryFixedBackground_data()
{
    QTest::addColumn<quint32>("background");
    QTest::addColumn<quint32>("text");
    const auto row
        = [](const char *name, const Surface &surface) { QTest::newRow(name) << surface.background << surface.text; };
    using namespace DesignColors;
    row("sample display", SampleDisplay);
    row("print list", PrintList);
    row("hand entry off", FieldOff);
    row("hand entry on", FieldOn);
    row("colour label", ColorLabel);
    row("button face", ButtonFace);
    row("button pressed", ButtonPressed);
    row("button off", ButtonOff);
    row("paper", Paper);
    // The caption bars' text runs over the whole gradient.
    for (int step = 0; step <= 10; ++step) {
        const QColor top = colorFromBgr(CaptionBarTop.background);
        const QColor bottom = colorFromBgr(CaptionBarBottom.background);
        const auto mix = [step](int from, int to) { return from + (to - from) * step / 10; };
        const QColor shade(mix(top.red(), bottom.red()), mix(top.green(), bottom.green()),
                           mix(top.blue(), bottom.blue()));
        QTest::addRow("caption bar, %d0 %% down", step) << bgrFromColor(shade) << CaptionBarTop.text;
    }
}

void ContrastTest::textReadsOnEveryFixedBackground()
{
    QFETCH(quint32, background);
    QFETCH(quint32, text);
    QVERIFY(contrastRatio(colorFromBgr(text), colorFromBgr(background)) >= ReadableContrast);
}

LETTERLOOM_CORE_TEST_MAIN(ContrastTest)
#include "contrasttest.moc"
