// Every text of every window reads on what lies behind it, under the palette of
// a light, a dark and a high-contrast desktop.
#include "textcontrast.h"

#include "about/copyright.h"
#include "app/contrast.h"
#include "controls/flatbutton.h"
#include "controls/plainmessage.h"
#include "fixtures/findcontrol.h"
#include "fixtures/listfontsource.h"
#include "fixtures/testmain.h"
#include "mainwindow/mainwindowfixture.h"
#include "preview/vorschau.h"
#include "startup/bittewarten.h"

#include <QRadioButton>
#include <QStyle>
#include <QTimer>

namespace {
enum class Window { MainNarrow, MainWide, MainHandEntry, MainSwitched, StartUp, Preview, About, Message };

// A palette as a desktop hands it to every program, from its main colours.
QPalette desktopPalette(const char *window, const char *text, const char *base, const char *button,
                        const char *highlight, const char *highlightedText, const char *disabledText)
{
    QPalette palette{QColor(button), QColor(window)};
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(role, QColor(text));
        palette.setColor(QPalette::Disabled, role, QColor(disabledText));
    }
    palette.setColor(QPalette::Base, QColor(base));
    palette.setColor(QPalette::Highlight, QColor(highlight));
    palette.setColor(QPalette::HighlightedText, QColor(highlightedText));
    return palette;
}

void addPaletteColumn()
{
    QTest::addColumn<QPalette>("palette");
}

// Calls `addRow` with the name and the palette of each desktop.
void forEachDesktop(const std::function<void(const char *, const QPalette &)> &addRow)
{
    addRow("light", QApplication::style()->standardPalette());
    // The "darker" scheme of qt6ct, as Debian ships it.
    addRow("dark", desktopPalette("#222020", "#ffffff", "#3d3d3d", "#424245", "#12608a", "#f9f9f9", "#808080"));
    addRow("high contrast",
           desktopPalette("#000000", "#ffffff", "#000000", "#000000", "#1aebff", "#000000", "#3ff23f"));
}

// `window` opened on a desktop with `palette`, or switched to it while open.
// QTRY_VERIFY returns from the function it fails in: the texts go out through `found`.
void measure(Window window, const QPalette &palette, QList<TextContrast> &found)
{
    if (window != Window::MainSwitched)
        QApplication::setPalette(palette);
    switch (window) {
    case Window::MainNarrow:
    case Window::MainWide:
    case Window::MainHandEntry:
    case Window::MainSwitched: {
        auto main = shownMainWindow();
        control<FlatButton>(*main, "cmd_AlleEinfügen")->click();
        if (window != Window::MainNarrow)
            control<FlatButton>(*main, "cmd_More")->click();
        if (window == Window::MainHandEntry)
            control<QRadioButton>(*main, "Option_Testdruck", 3)->click();
        // A running application hands a new desktop palette on to its open
        // windows; the test has no running event loop and hands it on itself.
        main->setPalette(palette);
        found = textContrasts(*main);
        return;
    }
    case Window::StartUp: {
        const ListFontSource fonts(liberationFonts());
        BitteWarten startUp(fonts);
        control<QTimer>(startUp, "Timer1")->stop();
        startUp.show();
        found = textContrasts(startUp);
        return;
    }
    case Window::Preview: {
        const auto main = loadedMainWindow();
        Vorschau preview(main->printOptions(), liberationFonts());
        preview.show();
        QTRY_VERIFY(preview.isCatalogueComplete());
        found = textContrasts(preview);
        return;
    }
    case Window::About: {
        Copyright about;
        about.show();
        // The white copy of the title is its shadow, not a text of its own.
        found = textContrasts(about, {QStringLiteral("txt_Titel(0)")});
        return;
    }
    case Window::Message:
        showPlainMessage(nullptr, {QMessageBox::Information, QStringLiteral("Bitte erst Schriften auswählen.")},
                         [&found] {
                             QWidget *box = QApplication::activeModalWidget();
                             found = textContrasts(*box);
                             box->close();
                         });
        return;
    }
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
    void focusFrameShowsOnTheButtonFaces_data();
    void focusFrameShowsOnTheButtonFaces();

private:
    QPalette m_desktop;
};

void ReadabilityTest::initTestCase()
{
    m_desktop = QApplication::palette();
    // Unblended, a text's pixels show its colour as it is.
    QFont unblended = QApplication::font();
    unblended.setStyleStrategy(QFont::NoAntialias);
    QApplication::setFont(unblended);
}

void ReadabilityTest::everyTextReads_data()
{
    addPaletteColumn();
    QTest::addColumn<Window>("window");
    const std::array<std::pair<const char *, Window>, 8> windows{{
        {"main window", Window::MainNarrow},
        {"main window, wide", Window::MainWide},
        {"main window, hand-entered sample", Window::MainHandEntry},
        {"main window, desktop switched while open", Window::MainSwitched},
        {"start-up window", Window::StartUp},
        {"preview", Window::Preview},
        {"About window", Window::About},
        {"message box", Window::Message},
    }};
    forEachDesktop([&windows](const char *desktop, const QPalette &palette) {
        for (const auto &[name, window] : windows)
            QTest::addRow("%s, %s", name, desktop) << palette << window;
    });
}

void ReadabilityTest::everyTextReads()
{
    QFETCH(QPalette, palette);
    QFETCH(Window, window);
    QList<TextContrast> texts;
    measure(window, palette, texts);
    QVERIFY(!texts.isEmpty());
    QStringList unreadable;
    for (const TextContrast &text : texts) {
        if (text.ratio < text.needed)
            unreadable.append(QStringLiteral("%1 %2:1").arg(text.control).arg(text.ratio, 0, 'f', 2));
    }
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QStringLiteral(", "))));
}

void ReadabilityTest::focusFrameShowsOnTheButtonFaces_data()
{
    addPaletteColumn();
    forEachDesktop([](const char *desktop, const QPalette &palette) { QTest::newRow(desktop) << palette; });
}

// A desktop picks its highlight for its own window colour; the frame stands out
// from the buttons' fixed light faces as well.
void ReadabilityTest::focusFrameShowsOnTheButtonFaces()
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
    const double frame = contrastOfWhatGoes(*main, QRect(button->mapTo(main.get(), QPoint()), button->size()),
                                            [button] { button->clearFocus(); });
    QVERIFY2(frame >= LargeTextContrast, qPrintable(QString::number(frame)));
}

LETTERLOOM_TEST_MAIN(ReadabilityTest)
#include "readabilitytest.moc"
