// Opening the vendor's home page: the address, and the pointer during and after.
#include "app/appinfo.h"
#include "fixtures/testmain.h"
#include "fixtures/urlrecorder.h"
#include "web/openvendorsite.h"

#include <QRegularExpression>

class OpenVendorSiteTest : public QObject
{
    Q_OBJECT

private slots:
    void opensSiteUnderWaitCursor();
    void pointerIsBackWhenOpeningFails();
    void eachCallOpensAgain();
};

void OpenVendorSiteTest::opensSiteUnderWaitCursor()
{
    const UrlRecorder browser;
    OpenVendorSite();
    QCOMPARE(browser.opened, QList<QUrl>{QUrl(VendorSiteUrl)});
    QCOMPARE(browser.pointers, QList<Qt::CursorShape>{Qt::WaitCursor});
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void OpenVendorSiteTest::pointerIsBackWhenOpeningFails()
{
    const QRegularExpression noBrowser(QStringLiteral("does not support QPlatformServices::openUrl"));
    QTest::ignoreMessage(QtWarningMsg, noBrowser);
    QTest::ignoreMessage(QtWarningMsg, noBrowser);
    QVERIFY(!QDesktopServices::openUrl(QUrl(VendorSiteUrl)));
    OpenVendorSite();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void OpenVendorSiteTest::eachCallOpensAgain()
{
    const UrlRecorder browser;
    OpenVendorSite();
    OpenVendorSite();
    QCOMPARE(browser.opened, (QList<QUrl>{QUrl(VendorSiteUrl), QUrl(VendorSiteUrl)}));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

LETTERLOOM_TEST_MAIN(OpenVendorSiteTest)
#include "openvendorsitetest.moc"
