// The menu's web functions and the logo that opens the About window.
#include "mainwindow/glyphana.h"

#include "about/copyright.h"
#include "app/appinfo.h"
#include "controls/clickableimage.h"
#include "web/openvendorsite.h"
#include "web/updatecheck.h"

#include <QAction>

void Glyphana::connectLinkHandlers()
{
    connect(Internet_Version, &QAction::triggered, this, [this] { UpdateCheck(QUrl(UpdateFileUrl), this).run(); });
    connect(Internet_HP, &QAction::triggered, this, [] { OpenVendorSite(); });
    connect(Logo, &ClickableImage::clicked, this, [this] {
        Copyright about(this);
        about.exec();
    });
}
