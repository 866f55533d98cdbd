#include "startup/bittewarten.h"

#include "app/appinfo.h"
#include "app/twips.h"
#include "controls/designlayout.h"
#include "controls/sortedcombobox.h"
#include "controls/sortedlistwidget.h"
#include "mainwindow/glyphana.h"
#include "startup/fontsource.h"

#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

namespace {
QString foundText(int count)
{
    return QString::number(count) + QStringLiteral(" Schriften gefunden");
}
} // namespace

BitteWarten::BitteWarten(const FontSource &fonts, QWidget *parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_fonts(fonts)
{
    setObjectName(QStringLiteral("BitteWarten"));
    // A window without a title bar has no caption for a screen reader to read.
    setAccessibleName(AppTitle + QStringLiteral(" wird gestartet"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFixedSize(twips(3360), twips(1230));
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));

    Label1[0] = new QLabel(QStringLiteral("Schriften werden gesucht"), this);
    Label1[0]->setGeometry(twipsRect(630, 60, 2595, 240));
    Label1[0]->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, true));
    Label1[1] = new QLabel(QStringLiteral("...bitte warten"), this);
    Label1[1]->setGeometry(twipsRect(660, 330, 1140, 240));
    Label1[1]->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75));
    for (int i = 0; i < 2; ++i)
        Label1[i]->setObjectName(indexed("Label1", i));

    Logo = new QLabel(this);
    Logo->setObjectName(QStringLiteral("Logo"));
    Logo->setGeometry(twipsRect(60, 30, 480, 480));
    Logo->setPixmap(QIcon(QStringLiteral(":/images/appicon.png")).pixmap(32, 32));
    Logo->setAccessibleName(QStringLiteral("Programmsymbol"));

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(twipsRect(60, 630, 3255, 315));
    ProgressBar->setTextVisible(false);
    ProgressBar->setAccessibleName(Label1[0]->text());

    txt_Info = new QLabel(foundText(0), this);
    txt_Info->setObjectName(QStringLiteral("txt_Info"));
    txt_Info->setGeometry(twipsRect(90, 960, 1485, 195));
    // The installed typeface is wider than the design's: leave room for the
    // longest count this census can reach.
    txt_Info->resize(qMax(txt_Info->width(), txt_Info->fontMetrics().horizontalAdvance(foundText(fonts.count())) + 2),
                     txt_Info->height());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &BitteWarten::Timer1_Timer);

    // The value of the bar is the census cursor; a range of fewer than two
    // fonts would put the bar into its busy animation, so it never goes below
    // 0 to 1.
    Timer1->start();
    ProgressBar->setRange(0, qMax(m_fonts.count() - 1, 1));
    ProgressBar->setValue(0);
}

BitteWarten::~BitteWarten() = default;

Glyphana &BitteWarten::mainWindow()
{
    if (!m_main) {
        m_main = std::make_unique<Glyphana>();
        emit mainWindowCreated(m_main.get());
        m_main->Form_Load();
    }
    return *m_main;
}

void BitteWarten::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    if (const QScreen *display = screen())
        move(display->availableGeometry().center() - rect().center());
}

void BitteWarten::Timer1_Timer()
{
    Timer1->stop();
    const int index = ProgressBar->value();
    Glyphana &main = mainWindow();
    if (index < m_fonts.count()) {
        main.addFont(m_fonts.name(index));
        txt_Info->setText(foundText(index + 1));
    }
    if (index >= m_fonts.count() - 1) {
        handOver();
        return;
    }
    ProgressBar->setValue(index + 1);
    Timer1->start();
}

void BitteWarten::handOver()
{
    Glyphana &main = mainWindow();
    main.Form_Load();
    main.show();
    close();
}
