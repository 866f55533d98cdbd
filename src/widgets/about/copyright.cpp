#include "about/copyright.h"

#include "about/abouttexts.h"
#include "about/skiptaskbar.h"
#include "app/appinfo.h"
#include "app/contrast.h"
#include "app/twips.h"
#include "controls/designlayout.h"
#include "controls/flatbutton.h"
#include "controls/gradientbar.h"
#include "controls/linklabel.h"
#include "controls/readabletext.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace {
constexpr int ClientWidthTwips = 3585;
constexpr int ClientHeightTwips = 2190;
constexpr int FrameLineWidth = 2;
constexpr int OwnerIconSize = 32;
// The design keeps two pixels between its widest texts and the frame.
constexpr int RightMargin = 2;

// Numbers in 030 23125 are set aside for films and books, so nobody's line rings.
const QString TelephoneNumber = QStringLiteral("030 23125 000");

// The installed stand-ins for the design's typeface can be wider than it:
// a text takes the room it needs rather than lose its last letters.
void fitWidth(QWidget *control)
{
    control->resize(qMax(control->width(), control->sizeHint().width()), control->height());
}

// Where a text would still run into the window's edge, its letters move a
// little closer, and only if that is not enough does it get smaller: the
// window keeps its designed size.
void keepInside(QWidget *control, int rightEdge)
{
    constexpr qreal TightestSpacing = -1.0;
    constexpr qreal SmallestPointSize = 6.0;
    QFont tighter = control->font();
    while (control->geometry().right() > rightEdge) {
        if (tighter.letterSpacing() > TightestSpacing)
            tighter.setLetterSpacing(QFont::AbsoluteSpacing, tighter.letterSpacing() - 0.25);
        else if (tighter.pointSizeF() > SmallestPointSize)
            tighter.setPointSizeF(tighter.pointSizeF() - 0.25);
        else
            return;
        control->setFont(tighter);
        control->resize(control->sizeHint().width(), control->height());
    }
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, QRect geometry)
{
    QLabel *result = captionLabel(parent, name, text, geometry);
    result->setAccessibleName(text);
    return result;
}

// A caption that is as large as its text, at its designed top left corner.
QLabel *caption(QWidget *parent, const QString &name, const QString &text, QPoint topLeft)
{
    auto *result = label(parent, name, text, QRect(topLeft, QSize()));
    result->adjustSize();
    return result;
}

QPoint twipsPoint(int left, int top)
{
    return QPoint(twips(left), twips(top));
}
} // namespace

Copyright::Copyright(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Copyright"));
    setWindowTitle(QString());
    setAccessibleName(AppTitle);

    const QRect client = twipsRect(0, 0, ClientWidthTwips, ClientHeightTwips);
    m_frame = new QFrame(this);
    m_frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_frame->setLineWidth(FrameLineWidth);
    m_frame->setGeometry(client.adjusted(0, 0, 2 * FrameLineWidth, 2 * FrameLineWidth));
    m_client = new QWidget(m_frame);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setGeometry(client.translated(FrameLineWidth, FrameLineWidth));
    m_client->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));
    setFixedSize(m_frame->size());

    createControls();
}

void Copyright::createControls()
{
    QWidget *w = m_client;

    roLabel = place(new GradientBar(QStringLiteral(" Version 00.00.00"), w), QStringLiteral("roLabel"),
                    twipsRect(0, 0, 375, 2175));
    roLabel->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, true));

    const std::array<QRect, 2> titlePlaces{twipsRect(450, 90, 3135, 555), twipsRect(420, 60, 3135, 555)};
    for (int i = 0; i < 2; ++i) {
        txt_Titel[i] = place(new QLabel(w), indexed("txt_Titel", i), titlePlaces[i]);
        txt_Titel[i]->setTextFormat(Qt::PlainText);
        txt_Titel[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        txt_Titel[i]->setFont(designFont(QStringLiteral("MS Sans Serif"), 18, true));
    }
    // The title, in the window's text colour, lies on its copy, which shows as
    // a shadow: white on a light window, black on a dark one.
    keepTextColor(txt_Titel[0], [](const QWidget &shadow) {
        const QColor window = shadow.palette().color(QPalette::Window);
        return contrastRatio(Qt::white, window) < contrastRatio(Qt::black, window) ? QColor(Qt::white)
                                                                                   : QColor(Qt::black);
    });
    txt_Titel[1]->raise();

    txt_Name = label(w, QStringLiteral("txt_Name"), QString(), twipsRect(1200, 600, 2355, 195));

    ImageLogo = place(new QLabel(w), QStringLiteral("ImageLogo"), twipsRect(480, 600, 555, 615));
    ImageLogo->resize(OwnerIconSize, OwnerIconSize);
    ImageLogo->setAccessibleName(QStringLiteral("Programmsymbol"));

    Label1[1] = caption(w, indexed("Label1", 1), QStringLiteral("Internet"), twipsPoint(1200, 825));
    roLabel1[1] = place(new LinkLabel(QUrl(VendorSiteUrl).host(), QUrl(VendorSiteUrl), w), indexed("roLabel1", 1),
                        twipsRect(1800, 810, 1755, 255));
    Label1[3] = caption(w, indexed("Label1", 3), QStringLiteral("Email"), twipsPoint(1200, 1065));
    roLabel1[2] = place(new LinkLabel(VendorMailAddress, QUrl(QStringLiteral("mailto:") + VendorMailAddress), w),
                        indexed("roLabel1", 2), twipsRect(1800, 1020, 1335, 255));
    for (int i : {1, 2})
        fitWidth(roLabel1[i]);
    Label1[0] = caption(w, indexed("Label1", 0),
                        QStringLiteral("Telefon ") + TelephoneNumber + QStringLiteral(" (Deutschland)"),
                        twipsPoint(540, 1320));

    for (QLabel *text : std::initializer_list<QLabel *>{roLabel1[1], roLabel1[2], Label1[0]})
        keepInside(text, w->width() - 1 - RightMargin);

    Line3D1 = place(new QFrame(w), QStringLiteral("Line3D1"), twipsRect(420, 1560, 3075, 45));
    Line3D1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Line3D1->setAccessibleName(QStringLiteral("Trennlinie"));

    Logo = place(new QLabel(w), QStringLiteral("Logo"), twipsRect(480, 1650, 1110, 450));
    Logo->setPixmap(QIcon(QStringLiteral(":/images/logo.png")).pixmap(Logo->size(), devicePixelRatioF()));
    Logo->setAccessibleName(QStringLiteral("Logo"));

    cmdOK = place(new FlatButton(QStringLiteral("Okay"), 0, w), QStringLiteral("cmdOK"),
                  twipsRect(2220, 1680, 1215, 405));
    connect(cmdOK, &FlatButton::clicked, this, &Copyright::cmdOK_Click);

    setTabOrder(cmdOK, roLabel1[1]);
    setTabOrder(roLabel1[1], roLabel1[2]);
    cmdOK->setFocus();
}

void Copyright::Form_Load()
{
    showVersion();
    showTitle();
    txt_Name->setText(authorLine(QDate::currentDate()));
    txt_Name->setAccessibleName(txt_Name->text());
    fitWidth(txt_Name);
    keepInside(txt_Name, m_client->width() - 1 - RightMargin);
}

// Each step stands alone: one that cannot be done leaves its element as it was.
void Copyright::Form_Activate()
{
    showOwnerIcon();
    showVersion();
    showTitle();
}

void Copyright::showOwnerIcon()
{
    const QIcon icon = parentWidget() ? parentWidget()->window()->windowIcon() : QApplication::windowIcon();
    const QPixmap picture = icon.pixmap(QSize(OwnerIconSize, OwnerIconSize), devicePixelRatioF());
    if (!picture.isNull())
        ImageLogo->setPixmap(picture);
}

void Copyright::showVersion()
{
    roLabel->setCaption(versionLine(AppVersion));
}

void Copyright::showTitle()
{
    txt_Titel[0]->setText(AppTitle);
    txt_Titel[1]->setText(AppTitle);
    for (QLabel *title : txt_Titel)
        title->setAccessibleName(AppTitle);
}

void Copyright::cmdOK_Click()
{
    accept();
}

bool Copyright::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QDialog::event(event);
}

void Copyright::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Form_Load();
    centreOnScreen();
    skipTaskbar(this);
}

void Copyright::centreOnScreen()
{
    QScreen *screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen)
        return;
    QRect placed = frameGeometry();
    placed.moveCenter(screen->availableGeometry().center());
    move(placed.topLeft());
}

// "Okay" is the window's default command: Enter closes it unless a link has
// the focus and takes the key itself.
void Copyright::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        cmdOK->click();
    else
        QDialog::keyPressEvent(event);
}
