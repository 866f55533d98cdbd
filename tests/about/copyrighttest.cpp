#include "about/abouttexts.h"
#include "about/copyright.h"
#include "app/appinfo.h"
#include "app/twips.h"
#include "controls/flatbutton.h"
#include "controls/gradientbar.h"
#include "controls/linklabel.h"
#include "app/contrast.h"
#include "fixtures/findcontrol.h"
#include "fixtures/modaldriver.h"
#include "fixtures/shownarea.h"
#include "fixtures/testmain.h"
#include "fixtures/urlrecorder.h"
#include "x11windowstates.h"

#include <QLabel>
#include <QLineEdit>
#include <QAccessible>
#include <QScreen>
#include <QWindow>

namespace {
// The main window as far as the About window sees it: an icon and a text field
// to show that it takes input again.
struct Owner {
    Owner()
    {
        window.setWindowIcon(QIcon(QStringLiteral(":/images/appicon.png")));
        window.resize(400, 300);
        field = new QLineEdit(&window);
        window.show();
        window.activateWindow();
    }
    QWidget window;
    QLineEdit *field;
};

QImage imageOf(const QPixmap &picture)
{
    return picture.toImage().convertToFormat(QImage::Format_ARGB32);
}
} // namespace

class CopyrightTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { m_modal.cleanup(); }
    void versionLine_data();
    void versionLine();
    void authorLine();

    void authorLineIsFilledOnEveryOpening();
    void activationRepeatsItsSteps();
    void activationStepsFailOneByOne();

    void hasNoTitleBarAndStaysOutOfTheTaskbar();
    void staysOutOfTheTaskbarOnX11();
    void isCentredOnTheScreen();
    void everythingShowsInsideTheWindowUncovered();
    void readsInRowsFromTopToBottom();
    void textsAreNotClipped();
    void titleHasAWhiteShadow();

    void closes_data();
    void closes();
    void focusStartsOnOkayAndTabsThroughTheLinks();

    void linksOpenTheirAddress_data();
    void linksOpenTheirAddress();
    void linkTurnsRedUnderTheMouse();

private:
    ModalDriver m_modal{this};
};

void CopyrightTest::versionLine_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("expected");
    QTest::newRow("program version") << 2 << 1 << 2 << " Version 2.01.02";
    QTest::newRow("two-digit minor keeps its zero") << 2 << 12 << 2 << " Version 2.012.02";
    QTest::newRow("two-digit revision keeps its zero") << 10 << 0 << 15 << " Version 10.00.015";
}

void CopyrightTest::versionLine()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, expected);
    QCOMPARE(::versionLine(VersionNumber{qint16(major), qint16(minor), qint16(revision)}), expected);
}

void CopyrightTest::authorLine()
{
    QCOMPARE(::authorLine(QDate(2026, 12, 31)), QStringLiteral("© 2026 Made by Orvik"));
    QCOMPARE(::authorLine(QDate(2031, 1, 1)), QStringLiteral("© 2031 Made by Orvik"));
}

void CopyrightTest::authorLineIsFilledOnEveryOpening()
{
    Owner owner;
    const QString expected = QStringLiteral("© ") + QDate::currentDate().toString(QStringLiteral("yyyy"))
        + QStringLiteral(" Made by Orvik");
    for (int opening = 0; opening < 2; ++opening) {
        Copyright about(&owner.window);
        QString seen;
        whenModal<Copyright>([&seen](Copyright *shown) {
            seen = control<QLabel>(*shown, "txt_Name")->text();
            control<FlatButton>(*shown, "cmdOK")->click();
        });
        about.exec();
        QCOMPARE(seen, expected);
    }

    Copyright reused(&owner.window);
    reused.show();
    control<QLabel>(reused, "txt_Name")->setText(QStringLiteral("stale"));
    reused.hide();
    reused.show();
    QCOMPARE(control<QLabel>(reused, "txt_Name")->text(), expected);
}

// Opening shows the version and the title; each activation shows them afresh.
void CopyrightTest::activationRepeatsItsSteps()
{
    Owner owner;
    Copyright about(&owner.window);
    auto *bar = control<GradientBar>(about, "roLabel");
    auto *logo = control<QLabel>(about, "ImageLogo");
    QCOMPARE(bar->caption(), QStringLiteral(" Version 00.00.00"));
    about.show();
    QCOMPARE(bar->caption(), QStringLiteral(" Version 2.01.02"));
    QCOMPARE(control<QLabel>(about, "txt_Titel", 0)->text(), AppTitle);
    QCOMPARE(control<QLabel>(about, "txt_Titel", 1)->text(), AppTitle);
    QCOMPARE(bar->font().pointSizeF(), 8.25);
    QVERIFY(bar->font().bold());
    QTRY_VERIFY(about.isActiveWindow());
    QCOMPARE(imageOf(logo->pixmap()), imageOf(owner.window.windowIcon().pixmap(32, 32)));

    QPixmap green(32, 32);
    green.fill(Qt::green);
    owner.window.setWindowIcon(QIcon(green));
    bar->setCaption(QStringLiteral("x"));
    control<QLabel>(about, "txt_Titel", 1)->setText(QStringLiteral("x"));

    owner.window.activateWindow();
    QTRY_VERIFY(!about.isActiveWindow());
    about.activateWindow();
    QTRY_VERIFY(about.isActiveWindow());
    QCOMPARE(imageOf(logo->pixmap()), imageOf(green));
    QCOMPARE(bar->caption(), QStringLiteral(" Version 2.01.02"));
    QCOMPARE(control<QLabel>(about, "txt_Titel", 1)->text(), AppTitle);
}

void CopyrightTest::activationStepsFailOneByOne()
{
    const QIcon applicationIcon = QApplication::windowIcon();
    QApplication::setWindowIcon(QIcon());
    Copyright about;
    QPixmap before(32, 32);
    before.fill(Qt::blue);
    control<QLabel>(about, "ImageLogo")->setPixmap(before);
    about.show();
    QTRY_VERIFY(about.isActiveWindow());
    QApplication::setWindowIcon(applicationIcon);

    QCOMPARE(imageOf(control<QLabel>(about, "ImageLogo")->pixmap()), imageOf(before));
    QCOMPARE(control<GradientBar>(about, "roLabel")->caption(), QStringLiteral(" Version 2.01.02"));
    QCOMPARE(control<QLabel>(about, "txt_Titel", 0)->text(), AppTitle);
}

void CopyrightTest::hasNoTitleBarAndStaysOutOfTheTaskbar()
{
    Owner owner;
    Copyright about(&owner.window);
    about.show();
    QVERIFY(about.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(!about.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(about.windowTitle().isEmpty());
    // Taskbars leave out dialogs that belong to another window.
    QCOMPARE(about.windowType(), Qt::Dialog);
    QVERIFY(about.windowHandle());
    QCOMPARE(about.windowHandle()->transientParent(), owner.window.windowHandle());
    QCOMPARE(about.size(), about.minimumSize());
    QCOMPARE(about.size(), about.maximumSize());
}

void CopyrightTest::staysOutOfTheTaskbarOnX11()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display (the about_test_x11 run)");
    Owner owner;
    QTRY_VERIFY(owner.window.isActiveWindow());
    for (int opening = 0; opening < 2; ++opening) {
        Copyright about(&owner.window);
        QStringList states;
        whenModal<Copyright>([&states](Copyright *shown) {
            states = x11WindowStates(shown);
            QTest::keyClick(shown, Qt::Key_Escape);
        });
        about.exec();
        QVERIFY2(states.contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")), qPrintable(states.join(u' ')));
        QVERIFY(states.contains(QStringLiteral("_NET_WM_STATE_SKIP_PAGER")));
        QVERIFY(states.contains(QStringLiteral("_NET_WM_STATE_MODAL")));
    }
}

void CopyrightTest::isCentredOnTheScreen()
{
    Owner owner;
    owner.window.move(0, 0);
    Copyright about(&owner.window);
    about.show();
    const QPoint offset = about.frameGeometry().center() - owner.window.screen()->availableGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
}

void CopyrightTest::everythingShowsInsideTheWindowUncovered()
{
    Copyright about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QWidget *client = control<QWidget>(about, "client");
    QCOMPARE(client->size(), QSize(twips(3585), twips(2190)));
    const QImage shot = client->grab().toImage();
    const QList<QWidget *> elements = client->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(elements.size(), 13);
    for (QWidget *element : elements) {
        QVERIFY2(!isPlain(shot, shownArea(element)), qPrintable(element->objectName()));
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(element);
        QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(), qPrintable(element->objectName()));
    }
    // Only the title lies on its own shadow.
    QCOMPARE(clippedOrOverlapping(*client, {QStringLiteral("txt_Titel(0) overlaps txt_Titel(1)")}).join(u';'),
             QString());
}

void CopyrightTest::readsInRowsFromTopToBottom()
{
    Copyright about;
    about.show();
    // Each caption stands left of its address on the same line.
    const QList<QStringList> rows{
        {QStringLiteral("txt_Titel(1)")},
        {QStringLiteral("txt_Name")},
        {QStringLiteral("Label1(1)"), QStringLiteral("roLabel1(1)")},
        {QStringLiteral("Label1(3)"), QStringLiteral("roLabel1(2)")},
        {QStringLiteral("Label1(0)")},
        {QStringLiteral("Line3D1")},
        {QStringLiteral("Logo"), QStringLiteral("cmdOK")},
    };
    int rowTop = -1;
    for (const QStringList &row : rows) {
        QRect rowArea;
        for (int i = 0; i < row.size(); ++i) {
            const QRect area = shownArea(control<QWidget>(about, qPrintable(row[i])));
            QVERIFY2(area.top() > rowTop, qPrintable(row[i]));
            if (i > 0) {
                QVERIFY2(area.left() > rowArea.right(), qPrintable(row[i]));
                QVERIFY2(qAbs(area.center().y() - rowArea.center().y()) <= area.height() / 2, qPrintable(row[i]));
            }
            rowArea = i == 0 ? area : rowArea.united(area);
        }
        rowTop = rowArea.bottom();
    }
}

void CopyrightTest::textsAreNotClipped()
{
    Copyright about;
    about.show();
    QWidget *client = control<QWidget>(about, "client");
    const QList<QLabel *> labels = client->findChildren<QLabel *>();
    QVERIFY(labels.size() >= 9);
    for (QLabel *label : labels) {
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName()));
        QVERIFY2(label->height() >= label->fontMetrics().height(), qPrintable(label->objectName()));
        QVERIFY2(label->geometry().right() < client->width(), qPrintable(label->objectName()));
        if (!label->text().isEmpty())
            QCOMPARE(label->textFormat(), Qt::PlainText);
    }
}

void CopyrightTest::titleHasAWhiteShadow()
{
    Copyright about;
    about.show();
    QLabel *shadow = control<QLabel>(about, "txt_Titel", 0);
    QLabel *title = control<QLabel>(about, "txt_Titel", 1);
    QCOMPARE(shadow->pos() - title->pos(), QPoint(twips(30), twips(30)));
    QCOMPARE(shadow->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(Qt::black));
    QCOMPARE(title->font().pointSize(), 18);
    QVERIFY(title->font().bold());
    const QObjectList stacking = control<QWidget>(about, "client")->children();
    QVERIFY(stacking.indexOf(title) > stacking.indexOf(shadow));
}

void CopyrightTest::closes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("click on Okay") << 0 << int(QDialog::Accepted);
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(QDialog::Accepted);
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
}

void CopyrightTest::closes()
{
    QFETCH(int, key);
    QFETCH(int, result);
    Owner owner;
    Copyright about(&owner.window);
    whenModal<Copyright>([key](Copyright *shown) {
        if (key == 0)
            QTest::mouseClick(control<FlatButton>(*shown, "cmdOK"), Qt::LeftButton);
        else
            QTest::keyClick(shown, Qt::Key(key));
    });
    QCOMPARE(about.exec(), result);
    QVERIFY(!about.isVisible());
    QVERIFY(!QApplication::activeModalWidget());

    owner.window.activateWindow();
    owner.field->setFocus();
    QTest::keyClicks(owner.field, QStringLiteral("wieder da"));
    QCOMPARE(owner.field->text(), QStringLiteral("wieder da"));
}

void CopyrightTest::focusStartsOnOkayAndTabsThroughTheLinks()
{
    Owner owner;
    Copyright about(&owner.window);
    QList<QWidget *> visited;
    whenModal<Copyright>([&visited](Copyright *shown) {
        for (int step = 0; step < 4; ++step) {
            visited.append(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        shown->reject();
    });
    about.exec();
    QWidget *okay = control<FlatButton>(about, "cmdOK");
    const QList<QWidget *> expected{okay, control<LinkLabel>(about, "roLabel1", 1),
                                    control<LinkLabel>(about, "roLabel1", 2), okay};
    QCOMPARE(visited, expected);
}

void CopyrightTest::linksOpenTheirAddress_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QUrl>("expected");
    const QUrl site(VendorSiteUrl);
    const QUrl mail(QStringLiteral("mailto:") + VendorMailAddress);
    QTest::newRow("web site by click") << 1 << "click" << site;
    QTest::newRow("web site by Enter") << 1 << "Enter" << site;
    QTest::newRow("web site by a screen reader") << 1 << "press action" << site;
    QTest::newRow("mail by click") << 2 << "click" << mail;
    QTest::newRow("mail by Enter") << 2 << "Enter" << mail;
    QTest::newRow("mail by a screen reader") << 2 << "press action" << mail;
}

void CopyrightTest::linksOpenTheirAddress()
{
    QFETCH(int, index);
    QFETCH(QString, how);
    QFETCH(QUrl, expected);
    UrlRecorder desktop;
    Copyright about;
    about.show();
    QTRY_VERIFY(about.isActiveWindow());
    LinkLabel *link = control<LinkLabel>(about, "roLabel1", index);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(link);
    QCOMPARE(accessible->role(), QAccessible::Link);
    if (how == QLatin1String("Enter")) {
        link->setFocus();
        QTest::keyClick(link, Qt::Key_Return);
    } else if (how == QLatin1String("click")) {
        QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    } else {
        accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    QTRY_COMPARE(desktop.opened, QList<QUrl>{expected});
    QVERIFY(about.isVisible());
    QVERIFY(link->font().underline());
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(link->text(), index == 1 ? QUrl(VendorSiteUrl).host() : VendorMailAddress);
}

// The design's pure red does not read on a light window: the link turns the
// nearest red that does.
void CopyrightTest::linkTurnsRedUnderTheMouse()
{
    Copyright about;
    about.show();
    QTRY_VERIFY(about.isActiveWindow());
    LinkLabel *link = control<LinkLabel>(about, "roLabel1", 1);
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::black));
    QTest::mouseMove(link, link->rect().center());
    QTRY_COMPARE(link->palette().color(QPalette::WindowText).hslHue(), 0);
    const QColor red = link->palette().color(QPalette::WindowText);
    QCOMPARE(red.hslSaturation(), 255);
    QVERIFY(contrastRatio(red, about.palette().color(QPalette::Window)) >= ReadableContrast);
    QWidget *okay = control<FlatButton>(about, "cmdOK");
    QTest::mouseMove(okay, okay->rect().center());
    QTRY_COMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::black));
}

LETTERLOOM_TEST_MAIN(CopyrightTest)
#include "copyrighttest.moc"
