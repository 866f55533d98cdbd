// The "aktuelle Version suchen" command: asks the vendor's site for the newest
// version and offers to open the site when it is newer than this program.
#pragma once

#include "web/versiondownload.h"

#include <QUrl>

class QWidget;

class UpdateCheck
{
public:
    UpdateCheck(QUrl versionFileUrl, QWidget *parent);

    void setTimeout(int milliseconds);
    void run();

private:
    QUrl m_url;
    QWidget *m_parent;
    int m_timeout = VersionDownload::DefaultTimeout;
};
