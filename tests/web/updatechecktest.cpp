// The update check against a real HTTP server on this machine: what the user
// is told for every kind of answer, and what Yes and No lead to.
#include "app/appinfo.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testmain.h"
#include "fixtures/urlrecorder.h"
#include "inputwindow.h"
#include "testhttpserver.h"
#include "web/updatecheck.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QTcpServer>
#include <QTimer>

enum class Outcome { Offer, UpToDate, Failure };
Q_DECLARE_METATYPE(Outcome)

namespace {

const QString FailureText
    = QStringLiteral("Konnte auf das Internet nicht zugreifen oder Versionsdatei wurde nicht gefunden.");
const QString UpToDateText = QStringLiteral("Es wurde keine neue Version gefunden, Sie sind auf den neusten Stand.");

QString offerText(const QString &shown)
{
    return QStringLiteral("Die Version ") + shown
        + QStringLiteral(" wurde gefunden und liegt zum Download bereit.\nWollen Sie jetzt auf die Webseite ")
        + VendorSiteUrl + QStringLiteral(" gehen?");
}

} // namespace

class UpdateCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_modal.cleanup(); }
    void initTestCase();
    void reportsTheServersAnswer_data();
    void reportsTheServersAnswer();
    void closedPortGivesFailure();
    void silentServerGivesFailure();
    void hostileServerIsCutOff_data();
    void hostileServerIsCutOff();
    void offerShowsTwoLines();
    void yesOpensTheVendorSite();
    void windowRepaintsButTakesNoInputDuringDownload();
    void closeDuringTheWaitEndsTheProgram_data();
    void closeDuringTheWaitEndsTheProgram();
    void keysTypedWhileWaitingNeverAnswerTheOffer_data();
    void keysTypedWhileWaitingNeverAnswerTheOffer();
    void goesThroughTheProxyOfTheEnvironment();

private:
    void check(const QUrl &url, QMessageBox::StandardButton answer = QMessageBox::Ok, int timeout = 5000,
               QWidget *window = nullptr);
    void verifySeen(Outcome outcome, const QString &shown = {});

    QWidget m_window;
    SeenMessage m_seen;
    ModalDriver m_modal{this};
};

void UpdateCheckTest::initTestCase()
{
    // The server runs on this machine; a proxy set for the whole session must
    // not stand between it and the program.
    for (const char *name : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);
}

void UpdateCheckTest::check(const QUrl &url, QMessageBox::StandardButton answer, int timeout, QWidget *window)
{
    m_seen = SeenMessage();
    answerMessageBox(m_seen, answer);
    UpdateCheck updateCheck(url, window ? window : &m_window);
    updateCheck.setTimeout(timeout);
    updateCheck.run();
}

void UpdateCheckTest::verifySeen(Outcome outcome, const QString &shown)
{
    QVERIFY(m_seen.shown);
    QCOMPARE(m_seen.format, Qt::PlainText);
    if (outcome == Outcome::Offer) {
        QCOMPARE(m_seen.title, QStringLiteral("Suche erfolgreich"));
        QCOMPARE(m_seen.text, offerText(shown));
        QCOMPARE(m_seen.icon, QMessageBox::Information);
        QCOMPARE(m_seen.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(m_seen.defaultButton, QMessageBox::Yes);
        return;
    }
    const bool upToDate = outcome == Outcome::UpToDate;
    QCOMPARE(m_seen.title, AppTitle);
    QCOMPARE(m_seen.text, upToDate ? UpToDateText : FailureText);
    QCOMPARE(m_seen.icon, upToDate ? QMessageBox::Information : QMessageBox::Critical);
    QCOMPARE(m_seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void UpdateCheckTest::reportsTheServersAnswer_data()
{
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<QByteArray>("moved");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("shown");

    const QByteArray none;
    // A byte-order mark, markup and a zero byte, but no version.
    const char portal[] = "\xff\xfe<html>\0Version: zwei..";
    auto ok = &TestHttpServer::ok;
    auto redirect = &TestHttpServer::redirect;
    QTest::newRow("newer revision") << ok("2.01.0003.") << none << Outcome::Offer << "2.01.0003.";
    QTest::newRow("revision without final dot") << ok("2.01.0003") << none << Outcome::UpToDate << "";
    QTest::newRow("own version") << ok("2.01.0002.") << none << Outcome::UpToDate << "";
    QTest::newRow("newer major") << ok("3.0.") << none << Outcome::Offer << "3.0.";
    QTest::newRow("newer revision in short fields") << ok("2.1.5.") << none << Outcome::Offer << "2.1.5.";
    QTest::newRow("line end after version") << ok("2.01.0003.\r\n") << none << Outcome::Offer << "2.01.0003.\r\n";
    QTest::newRow("blanks around version") << ok("  3.0.  ") << none << Outcome::Offer << "3.0.";
    QTest::newRow("first dot at position 6") << ok("00003.2.1.") << none << Outcome::Failure << "";
    QTest::newRow("letters") << ok("a.b.c.") << none << Outcome::Failure << "";
    QTest::newRow("login page of a hotel's network")
        << ok("<html><body>Bitte anmelden.</body></html>") << none << Outcome::Failure << "";
    QTest::newRow("bytes of a portal") << ok(QByteArray(portal, sizeof portal - 1)) << none << Outcome::Failure << "";
    QTest::newRow("markup stays text") << ok("3.0.<b>neu</b>") << none << Outcome::Offer << "3.0.<b>neu</b>";
    QTest::newRow("utf-8 body") << ok("3.0. Gr\xc3\xb6\xc3\x9f"
                                      "e")
                                << none << Outcome::Offer << QStringLiteral("3.0. Größe");
    QTest::newRow("latin-1 body") << ok("3.0. Gr\xf6\xdf"
                                        "e")
                                  << none << Outcome::Offer << QStringLiteral("3.0. Größe");
    QTest::newRow("empty body") << ok("") << none << Outcome::Failure << "";
    QTest::newRow("blanks only") << ok("     ") << none << Outcome::Failure << "";
    QTest::newRow("not found") << TestHttpServer::status(404) << none << Outcome::Failure << "";
    QTest::newRow("server error") << TestHttpServer::status(500) << none << Outcome::Failure << "";
    QTest::newRow("gzip despite asking for none")
        << TestHttpServer::gzipHead() + TestHttpServer::gzipZeros() << none << Outcome::Failure << "";
    QTest::newRow("body of 64 KiB") << ok("3.0." + QByteArray(64 * 1024 - 4, ' ')) << none << Outcome::Offer << "3.0.";
    QTest::newRow("body over 64 KiB") << ok("3.0." + QByteArray(64 * 1024 - 3, ' ')) << none << Outcome::Failure << "";
    QTest::newRow("redirect on the site") << redirect("/moved.txt") << ok("3.0.") << Outcome::Offer << "3.0.";
    QTest::newRow("redirect to missing file") << redirect("/gone.txt") << none << Outcome::Failure << "";
    QTest::newRow("redirect loop") << redirect(TestHttpServer::VersionPath) << none << Outcome::Failure << "";
    QTest::newRow("redirect to ftp") << redirect("ftp://127.0.0.1/version.txt") << none << Outcome::Failure << "";
    QTest::newRow("redirect to file") << redirect("file:///etc/hostname") << none << Outcome::Failure << "";
    QTest::newRow("redirect to data") << redirect("data:text/plain,3.0.") << none << Outcome::Failure << "";
}

void UpdateCheckTest::reportsTheServersAnswer()
{
    QFETCH(QByteArray, response);
    QFETCH(QByteArray, moved);
    QFETCH(Outcome, outcome);
    QFETCH(QString, shown);

    TestHttpServer server;
    server.route(TestHttpServer::VersionPath, response);
    if (!moved.isEmpty())
        server.route("/moved.txt", moved);
    const UrlRecorder browser;
    check(server.url(), outcome == Outcome::Offer ? QMessageBox::No : QMessageBox::Ok);
    verifySeen(outcome, shown);
    QVERIFY(server.requestCount() >= 1);
    QVERIFY(browser.opened.isEmpty());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void UpdateCheckTest::closedPortGivesFailure()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    check(QUrl(QStringLiteral("http://127.0.0.1:%1/update/version_glyphana.txt").arg(port)));
    verifySeen(Outcome::Failure);
}

void UpdateCheckTest::silentServerGivesFailure()
{
    TestHttpServer server;
    server.staySilent();
    check(server.url(), QMessageBox::Ok, 300);
    verifySeen(Outcome::Failure);
    QCOMPARE(server.requestCount(), 1);
}

void UpdateCheckTest::hostileServerIsCutOff_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("endsWithin");

    QTest::newRow("trickling body") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n3.0.")
                                    << QByteArray(" ") << 20 << 300 << 1300;
    QTest::newRow("endless header line") << QByteArray("HTTP/1.1 200 OK\r\nX-Filler: ") << QByteArray(64 * 1024, 'a')
                                         << 0 << 1000 << 2000;
    // The size cap or the refusal of a packed body, not the time limit, must
    // end these.
    QTest::newRow("endless plain body") << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n3.0.")
                                        << QByteArray(64 * 1024, ' ') << 0 << 10000 << 10000;
    QTest::newRow("gzip body of endless zeros")
        << TestHttpServer::gzipHead() << TestHttpServer::gzipZeros() << 0 << 10000 << 10000;
}

void UpdateCheckTest::hostileServerIsCutOff()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, piece);
    QFETCH(int, interval);
    QFETCH(int, limit);
    QFETCH(int, endsWithin);

    // Should the failure come after the modal driver has given up, close it so
    // that the test reports it rather than hanging.
    QTimer rescue;
    connect(&rescue, &QTimer::timeout, this, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->close();
    });
    rescue.start(6000);
    TestHttpServer server;
    server.sendEndlessly(head, piece, interval);
    QElapsedTimer clock;
    clock.start();
    check(server.url(), QMessageBox::Ok, limit);
    const qint64 took = clock.elapsed();
    verifySeen(Outcome::Failure);
    QVERIFY2(took < endsWithin, qPrintable(QStringLiteral("answered after %1 ms").arg(took)));
}

void UpdateCheckTest::offerShowsTwoLines()
{
    TestHttpServer server;
    server.route(TestHttpServer::VersionPath, TestHttpServer::ok("3.0."));
    int lines = 0;
    whenModal<QMessageBox>([&lines](QMessageBox *box) {
        const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        const QFontMetrics metrics(label->font());
        const QRect unwrapped = metrics.boundingRect(QRect(0, 0, 100000, 100000), 0, label->text());
        lines = unwrapped.height() / metrics.lineSpacing();
        box->button(QMessageBox::No)->click();
    });
    UpdateCheck(server.url(), &m_window).run();
    QCOMPARE(lines, 2);
}

void UpdateCheckTest::yesOpensTheVendorSite()
{
    TestHttpServer server;
    server.route(TestHttpServer::VersionPath, TestHttpServer::ok("2.01.0003."));
    const UrlRecorder browser;
    check(server.url(), QMessageBox::Yes);
    verifySeen(Outcome::Offer, QStringLiteral("2.01.0003."));
    QCOMPARE(browser.opened, QList<QUrl>{QUrl(VendorSiteUrl)});
    QCOMPARE(browser.pointers, QList<Qt::CursorShape>{Qt::WaitCursor});
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void UpdateCheckTest::windowRepaintsButTakesNoInputDuringDownload()
{
    InputWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.edit.setFocus();
    window.type(Qt::Key_X, QStringLiteral("x"));
    QTRY_COMPARE(window.edit.text(), QStringLiteral("x"));

    TestHttpServer server;
    server.route(TestHttpServer::VersionPath, TestHttpServer::ok("2.01.0002."));
    int paintsAtRequest = -1;
    bool pointerChanged = true;
    QString textWhileWaiting;
    server.onRequest = [&] {
        paintsAtRequest = window.paints;
        pointerChanged = QGuiApplication::overrideCursor() != nullptr;
        window.type(Qt::Key_Z, QStringLiteral("z"));
        window.update();
    };
    // Two repaints mean several passes of the event loop, long enough for
    // typed keys to arrive if they were let through.
    server.holdUntil([&] {
        if (window.paints == paintsAtRequest + 1)
            window.update();
        textWhileWaiting = window.edit.text();
        return window.paints >= paintsAtRequest + 2;
    });

    check(server.url(), QMessageBox::Ok, 3000, &window);
    verifySeen(Outcome::UpToDate);
    QVERIFY(paintsAtRequest >= 0);
    QCOMPARE(textWhileWaiting, QStringLiteral("x"));
    QCOMPARE(window.edit.text(), QStringLiteral("x"));
    QVERIFY(window.isVisible());
    QVERIFY(!pointerChanged);
}

void UpdateCheckTest::closeDuringTheWaitEndsTheProgram_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<int>("interval");

    QTest::newRow("server that never answers") << QByteArray() << QByteArray() << 0;
    QTest::newRow("one byte a second") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n")
                                       << QByteArray("3") << 1000;
    QTest::newRow("endless header line") << QByteArray("HTTP/1.1 200 OK\r\nX-Filler: ") << QByteArray(64 * 1024, 'a')
                                         << 0;
}

// The window manager's close is the user saying "stop": the check gives up
// and the close goes through, with no message on the way out.
void UpdateCheckTest::closeDuringTheWaitEndsTheProgram()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, piece);
    QFETCH(int, interval);

    InputWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TestHttpServer server;
    if (head.isEmpty())
        server.staySilent();
    else
        server.sendEndlessly(head, piece, interval);
    QElapsedTimer sinceClose;
    server.onRequest = [&] {
        QTimer::singleShot(300, &window, [&] {
            sinceClose.start();
            QWindowSystemInterface::handleCloseEvent(window.windowHandle());
        });
    };
    // A message would wait for an answer; the test answers it and fails.
    check(server.url(), QMessageBox::Ok, 20000, &window);
    QVERIFY(sinceClose.isValid());
    QVERIFY2(sinceClose.elapsed() < 1000, qPrintable(QStringLiteral("closed after %1 ms").arg(sinceClose.elapsed())));
    // The last window of the program closing is what ends it.
    QVERIFY(!window.isVisible());
    QVERIFY(!m_seen.shown);
}

void UpdateCheckTest::keysTypedWhileWaitingNeverAnswerTheOffer_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("onDelivery");

    const Qt::KeyboardModifiers none;
    QTest::newRow("Return") << Qt::Key_Return << "\r" << none << false;
    QTest::newRow("Enter") << Qt::Key_Enter << "\r" << Qt::KeyboardModifiers(Qt::KeypadModifier) << false;
    QTest::newRow("Space") << Qt::Key_Space << " " << none << false;
    QTest::newRow("Alt+J for Ja") << Qt::Key_J << "j" << Qt::KeyboardModifiers(Qt::AltModifier) << false;
    // Some window systems name the window only when the key is handed on.
    QTest::newRow("Return to the window focused on delivery") << Qt::Key_Return << "\r" << none << true;
}

void UpdateCheckTest::keysTypedWhileWaitingNeverAnswerTheOffer()
{
    QFETCH(Qt::Key, key);
    QFETCH(QString, text);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, onDelivery);

    InputWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.edit.setFocus();

    TestHttpServer server;
    server.route(TestHttpServer::VersionPath, TestHttpServer::ok("3.0."));
    int paintsAtRequest = -1;
    server.onRequest = [&] {
        paintsAtRequest = window.paints;
        for (int i = 0; i < 3; ++i)
            InputWindow::type(key, text, modifiers, onDelivery);
        window.update();
    };
    server.holdUntil([&] {
        if (window.paints == paintsAtRequest + 1)
            window.update();
        return window.paints >= paintsAtRequest + 2;
    });

    const UrlRecorder browser;
    bool openAfterQueuedInput = false;
    whenModal<QMessageBox>([&openAfterQueuedInput](QMessageBox *box) {
        QGuiApplication::sync();
        QCoreApplication::processEvents();
        openAfterQueuedInput = box->isVisible();
        box->button(QMessageBox::No)->click();
    });
    UpdateCheck updateCheck(server.url(), &window);
    updateCheck.setTimeout(3000);
    updateCheck.run();
    QVERIFY(paintsAtRequest >= 0);
    QVERIFY(openAfterQueuedInput);
    QVERIFY(browser.opened.isEmpty());
    QCOMPARE(window.edit.text(), QString());
}

void UpdateCheckTest::goesThroughTheProxyOfTheEnvironment()
{
    // The host cannot be resolved, so only the proxy can fetch the file.
    const QByteArray address = "http://version.invalid" + TestHttpServer::VersionPath;
    TestHttpServer proxy;
    proxy.route(address, TestHttpServer::ok("3.0."));
    qputenv("http_proxy", proxy.url("/").toEncoded());
    check(QUrl(QString::fromLatin1(address)), QMessageBox::No);
    qunsetenv("http_proxy");
    verifySeen(Outcome::Offer, QStringLiteral("3.0."));
    QCOMPARE(proxy.requestCount(), 1);
    QCOMPARE(proxy.lastRequestLine(), "GET " + address + " HTTP/1.1");
}

LETTERLOOM_TEST_MAIN(UpdateCheckTest)
#include "updatechecktest.moc"
