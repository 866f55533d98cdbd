#include "web/updatecheck.h"

#include "app/appinfo.h"
#include "controls/plainmessage.h"
#include "web/openvendorsite.h"
#include "web/userinputblock.h"
#include "web/versionreading.h"

UpdateCheck::UpdateCheck(QUrl versionFileUrl, QWidget *parent) : m_url(std::move(versionFileUrl)), m_parent(parent) { }

void UpdateCheck::setTimeout(int milliseconds)
{
    m_timeout = milliseconds;
}

void UpdateCheck::run()
{
    VersionDownload download(m_url, m_timeout);
    UserInputBlock inputBlock([&download] { download.cancel(); });
    // Input is let through again only once the box is on screen and every key
    // typed during the download has been dropped, from inside the box's own
    // loop; otherwise an Enter typed while waiting could answer "Ja" to a
    // question the user never saw.
    const auto showMessage = [this, &inputBlock](const PlainMessage &message) {
        return showPlainMessage(m_parent, message, [&inputBlock] { inputBlock.release(); });
    };
    const QString versionText = download.fetch();
    // A close during the wait ends the check unanswered and then closes the window.
    if (inputBlock.closeRequested()) {
        inputBlock.passOnClose();
        return;
    }
    const VersionReading reading = readVersionText(versionText);
    if (!reading.holdsVersion) {
        showMessage(
            {QMessageBox::Critical,
             QStringLiteral("Konnte auf das Internet nicht zugreifen oder Versionsdatei wurde nicht gefunden.")});
        return;
    }
    if (!reading.newer) {
        showMessage({QMessageBox::Information,
                     QStringLiteral("Es wurde keine neue Version gefunden, Sie sind auf den neusten Stand.")});
        return;
    }
    const QString offer = QStringLiteral("Die Version ") + reading.shownText
        + QStringLiteral(" wurde gefunden und liegt zum Download bereit.\nWollen Sie jetzt auf die Webseite ")
        + VendorSiteUrl + QStringLiteral(" gehen?");
    // The version text comes from the network: the box shows it as plain text.
    if (showMessage({QMessageBox::Information, offer, QStringLiteral("Suche erfolgreich"),
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes})
        == QMessageBox::Yes)
        OpenVendorSite();
}
