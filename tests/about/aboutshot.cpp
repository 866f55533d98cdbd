// Developer tool for the screenshots: opens the About window over a stand-in
// main window and saves a picture of it to the file named on the command line.
#include "about/copyright.h"
#include "app/application.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    if (argc != 2) {
        qWarning("usage: about_shot FILE.png");
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);

    QWidget owner;
    owner.setWindowIcon(QIcon(QStringLiteral(":/images/appicon.png")));
    Copyright about(&owner);
    int status = 1;
    auto *poll = new QTimer(&about);
    QObject::connect(poll, &QTimer::timeout, &about, [&] {
        if (!about.isActiveWindow())
            return;
        status = about.grab().save(target) ? 0 : 1;
        about.accept();
    });
    poll->start(50);
    QTimer::singleShot(10000, &about, &QDialog::reject);
    about.exec();
    return status;
}
