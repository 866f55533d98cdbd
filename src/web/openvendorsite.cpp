#include "web/openvendorsite.h"

#include "app/appinfo.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace {

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

}

void OpenVendorSite()
{
    const WaitCursor waiting;
    QDesktopServices::openUrl(QUrl(VendorSiteUrl));
}
