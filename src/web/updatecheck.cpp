#include "web/updatecheck.h"

#include "app/appinfo.h"
#include "web/openvendorsite.h"
#include "web/userinputblock.h"
#include "web/versionreading.h"

#include <QMessageBox>
#include <QTimer>

namespace {

// Input is let through again only once the box is on screen and every key
// typed during the download has been dropped, from inside the box's own loop;
// otherwise an Enter typed while waiting could answer "Ja" to a question the
// user never saw.
QMessageBox::StandardButton showMessage(UserInputBlock &inputBlock, QWidget *parent,
                                        QMessageBox::Icon icon, const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    // The version text comes from the network and must never be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    QTimer::singleShot(0, &box, [&inputBlock] { inputBlock.release(); });
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
    UserInputBlock inputBlock;
    const VersionReading reading = readVersionText(VersionDownload(m_url, m_timeout).fetch());
    if (!reading.received) {
        showMessage(inputBlock, m_parent, QMessageBox::Critical, AppTitle,
                    QStringLiteral("Konnte auf das Internet nicht zugreifen oder Versionsdatei wurde nicht gefunden."),
                    QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    if (!reading.newer) {
        showMessage(inputBlock, m_parent, QMessageBox::Information, AppTitle,
                    QStringLiteral("Es wurde keine neue Version gefunden, Sie sind auf den neusten Stand."),
                    QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    const QString offer = QStringLiteral("Die Version ") + reading.shownText
        + QStringLiteral(" wurde gefunden und liegt zum Download bereit.\nWollen Sie jetzt auf die Webseite ")
        + VendorSiteUrl + QStringLiteral(" gehen?");
    if (showMessage(inputBlock, m_parent, QMessageBox::Information, QStringLiteral("Suche erfolgreich"), offer,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes)
        OpenVendorSite();
}
