#include "web/openvendorsite.h"

#include "app/appinfo.h"
#include "controls/waitcursor.h"

#include <QDesktopServices>
#include <QUrl>

void OpenVendorSite()
{
    const WaitCursor waiting;
    QDesktopServices::openUrl(QUrl(VendorSiteUrl));
}
