// Developer tool for the screenshots: opens the preview of a catalogue of Latin
// and script families and saves a picture of it to the file named on the command line.
#include "app/application.h"
#include "preview/vorschau.h"

#include <QApplication>
#include <QFontDatabase>
#include <QTimer>
#include <QWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    if (argc != 2) {
        qWarning("usage: preview_shot FILE.png");
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);

    // In print-list order; those that are not installed are left out.
    const QStringList wanted{QStringLiteral("Liberation Serif"),     QStringLiteral("Noto Sans Cherokee"),
                             QStringLiteral("Noto Sans Devanagari"), QStringLiteral("Noto Sans Hebrew"),
                             QStringLiteral("Noto Sans Oriya"),      QStringLiteral("Noto Sans Symbols2")};
    QStringList families;
    for (const QString &family : wanted) {
        if (QFontDatabase::families().contains(family))
            families.append(family);
    }
    PrintOptions options;
    options.title = QStringLiteral("Schriftenübersicht");
    options.headingTypeface = QStringLiteral("Arial");
    options.sampleSize = 20;
    options.dateLine = false;
    options.sampleKind = SampleKind::SomeOfEach;

    Vorschau preview(options, families);
    preview.resize(preview.width(), preview.height() * 2);
    preview.show();
    int status = 1;
    auto *poll = new QTimer(&preview);
    QObject::connect(poll, &QTimer::timeout, &preview, [&] {
        if (!preview.isCatalogueComplete() || !preview.windowHandle() || !preview.windowHandle()->isExposed())
            return;
        status = preview.grab().save(target) ? 0 : 1;
        app.quit();
    });
    poll->start(200);
    QTimer::singleShot(20000, &app, &QApplication::quit);
    app.exec();
    return status;
}
