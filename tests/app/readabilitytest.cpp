// Every text of every window reads on what lies behind it, on a light, a dark
// and a high-contrast desktop, and focus frames stand out from the button faces.
#include "about/copyright.h"
#include "app/contrast.h"
#include "controls/flatbutton.h"
#include "controls/gradientbar.h"
#include "controls/plainmessage.h"
#include "fixtures/findcontrol.h"
#include "fixtures/listfontsource.h"
#include "fixtures/testmain.h"
#include "mainwindow/mainwindowfixture.h"
#include "preview/vorschau.h"
#include "startup/bittewarten.h"

#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>

namespace {
using Restore = std::function<void()>;

Restore blanked(const QString &text, const std::function<void(const QString &)> &set)
{
    if (text.trimmed().isEmpty())
        return {};
    set(QString(text.size(), QLatin1Char(' ')));
    return [text, set] { set(text); };
}

// Takes away what `control` writes and leaves all else in place; returns what
// puts it back, or nothing for a control without text.
Restore blankText(QWidget *control)
{
    if (auto *bar = qobject_cast<GradientBar *>(control))
        return blanked(bar->caption(), [bar](const QString &text) { bar->setCaption(text); });
    if (auto *box = qobject_cast<QComboBox *>(control)) {
        const int shown = box->currentIndex();
        return blanked(box->currentText(), [box, shown](const QString &text) { box->setItemText(shown, text); });
    }
    // Entries and the catalogue's runs keep their places written in transparent ink.
    if (auto *list = qobject_cast<QListWidget *>(control); list && list->count() > 0) {
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setForeground(Qt::transparent);
        return [list] {
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setData(Qt::ForegroundRole, QVariant());
        };
    }
    if (auto *view = qobject_cast<QTextEdit *>(control); view && !view->document()->isEmpty()) {
        view->document()->setUndoRedoEnabled(true);
        QTextCursor everything(view->document());
        everything.select(QTextCursor::Document);
        QTextCharFormat transparent;
        transparent.setForeground(Qt::transparent);
        everything.mergeCharFormat(transparent);
        return [view] {
            view->document()->undo();
            view->document()->setUndoRedoEnabled(false);
        };
    }
    // Labels, buttons and text fields; a progress bar's text is its value, and shows none here.
    const QMetaProperty text = control->metaObject()->property(control->metaObject()->indexOfProperty("text"));
    if (!text.isWritable())
        return {};
    return blanked(text.read(control).toString(),
                   [control](const QString &blanks) { control->setProperty("text", blanks); });
}

// How well what `takeAway` removes from `area` of `window` stands out from what
// was behind it, at the worst place: 1 where nothing showed. Its colour is
// that of the pixel that stands out most, one a stroke covers whole.
double contrastOfWhatGoes(QWidget &window, const QRect &area, const std::function<void()> &takeAway)
{
    const QImage shown = window.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    takeAway();
    const QImage behind = window.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    QRgb ink = 0;
    double best = 1.0;
    QList<QRgb> under;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixel(x, y) == behind.pixel(x, y))
                continue;
            under.append(behind.pixel(x, y));
            if (const double contrast = contrastRatio(QColor(shown.pixel(x, y)), QColor(under.last()));
                contrast > best) {
                best = contrast;
                ink = shown.pixel(x, y);
            }
        }
    }
    double worst = best;
    for (QRgb background : std::as_const(under))
        worst = qMin(worst, contrastRatio(QColor(ink), QColor(background)));
    return worst;
}

// The texts of `window` that do not reach the contrast their size needs, but
// those of the controls named in `decorations`.
QStringList unreadableTexts(QWidget &window, const QStringList &decorations = {})
{
    // Neither a focus frame nor a cursor may count as text.
    if (QWidget *focused = QApplication::focusWidget())
        focused->clearFocus();
    QStringList unreadable;
    for (QWidget *control : window.findChildren<QWidget *>()) {
        const QRect area = QRect(control->mapTo(&window, QPoint()), control->size()).intersected(window.rect());
        if (!control->isVisibleTo(&window) || area.isEmpty() || decorations.contains(control->objectName()))
            continue;
        Restore restore;
        const double ratio = contrastOfWhatGoes(window, area, [&] { restore = blankText(control); });
        if (restore)
            restore();
        if (restore && ratio < neededContrast(control->font()))
            unreadable.append(QStringLiteral("%1 %2 %3:1")
                                  .arg(QLatin1String(window.metaObject()->className()), control->objectName())
                                  .arg(ratio, 0, 'f', 2));
    }
    return unreadable;
}

// A palette as a desktop hands it to every program.
QPalette desktopPalette(const char *window, const char *text, const char *base, const char *button,
                        const char *highlight, const char *highlightedText)
{
    QPalette palette{QColor(button), QColor(window)};
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, QColor(text));
    palette.setColor(QPalette::Base, QColor(base));
    palette.setColor(QPalette::Highlight, QColor(highlight));
    palette.setColor(QPalette::HighlightedText, QColor(highlightedText));
    return palette;
}
} // namespace

class ReadabilityTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup() { QApplication::setPalette(m_desktop); }
    void everyTextReads_data();
    void everyTextReads();
    void focusFrameStandsOutFromTheButtonFace_data() { everyTextReads_data(); }
    void focusFrameStandsOutFromTheButtonFace();

private:
    QPalette m_desktop;
};

void ReadabilityTest::initTestCase()
{
    m_desktop = QApplication::palette();
    // Unblended with what lies behind, a text's pixels show its colour as it is.
    QFont unblended = QApplication::font();
    unblended.setStyleStrategy(QFont::NoAntialias);
    QApplication::setFont(unblended);
}

void ReadabilityTest::everyTextReads_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    // The "darker" scheme of qt6ct, as Debian ships it.
    QTest::newRow("dark") << desktopPalette("#222020", "#ffffff", "#3d3d3d", "#424245", "#12608a", "#f9f9f9");
    QTest::newRow("high contrast") << desktopPalette("#000000", "#ffffff", "#000000", "#000000", "#1aebff", "#000000");
}

void ReadabilityTest::everyTextReads()
{
    QFETCH(QPalette, palette);
    // The main window is open when the desktop changes its palette. A running
    // application hands the palette on to open windows; without an event loop
    // the test does.
    const auto main = shownMainWindow();
    control<FlatButton>(*main, "cmd_AlleEinfügen")->click();
    control<FlatButton>(*main, "cmd_More")->click();
    QApplication::setPalette(palette);
    main->setPalette(palette);
    QStringList unreadable = unreadableTexts(*main);
    control<QRadioButton>(*main, "Option_Testdruck", 3)->click();
    unreadable += unreadableTexts(*main);

    const ListFontSource fonts(liberationFonts());
    BitteWarten startUp(fonts);
    control<QTimer>(startUp, "Timer1")->stop();
    startUp.show();
    unreadable += unreadableTexts(startUp);

    Vorschau preview(main->printOptions(), main->printList());
    preview.show();
    QTRY_VERIFY(preview.isCatalogueComplete());
    unreadable += unreadableTexts(preview);

    Copyright about;
    about.show();
    // The white copy of the title is its shadow, not a text of its own.
    unreadable += unreadableTexts(about, {QStringLiteral("txt_Titel(0)")});

    showPlainMessage(nullptr, {QMessageBox::Information, QStringLiteral("Bitte erst Schriften auswählen.")},
                     [&unreadable] {
                         QWidget *box = QApplication::activeModalWidget();
                         unreadable += unreadableTexts(*box);
                         box->close();
                     });
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QStringLiteral(", "))));
}

// A desktop picks its highlight for its own window colour, not for the
// buttons' fixed light faces.
void ReadabilityTest::focusFrameStandsOutFromTheButtonFace()
{
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    const auto main = shownMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    auto *button = control<FlatButton>(*main, "cmd_Drucken");
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), button);
    const QRect area(button->mapTo(main.get(), QPoint()), button->size());
    QVERIFY(contrastOfWhatGoes(*main, area, [button] { button->clearFocus(); }) >= LargeTextContrast);
}

LETTERLOOM_TEST_MAIN(ReadabilityTest)
#include "readabilitytest.moc"
