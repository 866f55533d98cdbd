#include "app/application.h"
#include "app/closeonsignal.h"
#include "startup/bittewarten.h"
#include "startup/fontsource.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    const CloseOnSignal closeOnSignal;
    const SystemFontSource fonts;
    BitteWarten startup(fonts);
    startup.show();
    return app.exec();
}
