#include "web/updatecheck.h"

#include "app/appinfo.h"
#include "web/openvendorsite.h"
#include "web/versionreading.h"

#include <QMessageBox>

namespace {

QMessageBox::StandardButton showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    // The version text comes from the network and must never be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}

UpdateCheck::UpdateCheck(QUrl versionFileUrl, QWidget *parent) : m_url(std::move(versionFileUrl)), m_parent(parent)
{
}

void UpdateCheck::setTimeout(int milliseconds)
{
    m_timeout = milliseconds;
}

void UpdateCheck::run()
{
    const VersionReading reading = readVersionText(VersionDownload(m_url, m_timeout).fetch());
    if (!reading.received) {
        showMessage(m_parent, QMessageBox::Critical, AppTitle,
                    QStringLiteral("Konnte auf das Internet nicht zugreifen oder Versionsdatei wurde nicht gefunden."),
                    QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    if (!reading.newer) {
        showMessage(m_parent, QMessageBox::Information, AppTitle,
                    QStringLiteral("Es wurde keine neue Version gefunden, Sie sind auf den neusten Stand."),
                    QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    const QString offer = QStringLiteral("Die Version ") + reading.shownText
        + QStringLiteral(" wurde gefunden und liegt zum Download bereit.\nWollen Sie jetzt auf die Webseite ")
        + VendorSiteUrl + QStringLiteral(" gehen?");
    if (showMessage(m_parent, QMessageBox::Information, QStringLiteral("Suche erfolgreich"), offer,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes)
        OpenVendorSite();
}
