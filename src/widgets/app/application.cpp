#include "app/application.h"

#include "app/appinfo.h"
#include "app/installedtypeface.h"
#include "printjob/printscratch.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void setUpApplication(QApplication &app)
{
    QCoreApplication::setApplicationName(AppTitle);
    QCoreApplication::setApplicationVersion(AppVersionText);
    QCoreApplication::setOrganizationName(VendorName);
    QGuiApplication::setDesktopFileName(QStringLiteral("letterloom"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/appicon.png")));

    // A job whose process was killed, or lost its machine, had no chance to
    // remove its parts.
    PrintScratch::removeLeftovers();

    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);

    // The windows were designed in the classic Windows dialog typefaces; use
    // metric-compatible or look-alike fonts where those are not installed.
    QFont::insertSubstitutions(
        QStringLiteral("MS Sans Serif"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});

    // Dialogs and menus use the desktop's font, which may be a generic name
    // ("Sans Serif") that is not installed under that name.
    QFont font = QApplication::font();
    const QString installed = installedTypeface(font.family());
    if (installed != font.family()) {
        font.setFamily(installed);
        QApplication::setFont(font);
    }
}
