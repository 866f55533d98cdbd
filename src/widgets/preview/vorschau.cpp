#include "preview/vorschau.h"

#include "app/designcolors.h"
#include "app/installedtypeface.h"
#include "app/twips.h"
#include "controls/designlayout.h"
#include "controls/flatbutton.h"
#include "controls/readabletext.h"
#include "controls/readablelabel.h"
#include "preview/cataloguefeeder.h"
#include "printjob/printjob.h"

#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
constexpr int ClientWidthTwips = 8745;
constexpr int ClientHeightTwips = 6570;
// The window's outer height is its client height plus title bar, menu bar and
// frame as the layout below counts them.
constexpr int PreviewFrameHeightTwips = 760;
constexpr int PrintGlyph = 30;
constexpr int BackGlyph = 10;

// A size that would come out negative cannot be set; the control keeps the one it has.
void setWidthTwips(QWidget *control, int width)
{
    if (width >= 0)
        control->resize(twips(width), control->height());
}

void setHeightTwips(QWidget *control, int height)
{
    if (height >= 0)
        control->resize(control->width(), twips(height));
}

void setTopTwips(QWidget *control, int top)
{
    control->move(control->x(), twips(top));
}

void setLeftTwips(QWidget *control, int left)
{
    control->move(twips(left), control->y());
}
} // namespace

Vorschau::Vorschau(const PrintOptions &options, const QStringList &fontNames, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Vorschau"));
    setWindowTitle(QStringLiteral("Vorschau"));
    setWindowIcon(QIcon(QStringLiteral(":/images/appicon.png")));
    setAccessibleName(windowTitle());

    m_menuBar = new QMenuBar(this);
    m_menuBar->setAccessibleName(QStringLiteral("Menüleiste"));
    Drucken = m_menuBar->addAction(QStringLiteral("Drucken"));
    Drucken->setObjectName(QStringLiteral("Drucken"));

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    frame->setMenuBar(m_menuBar);
    frame->addWidget(m_client);
    // The user may make the window as small as the window system allows.
    frame->setSizeConstraint(QLayout::SetNoConstraint);

    createControls();
    QWidget::setTabOrder(cmd_Ende, cmd_Print);
    QWidget::setTabOrder(cmd_Print, RichTextBox);
    cmd_Ende->setFocus();

    connect(cmd_Print, &FlatButton::clicked, this, &Vorschau::printCatalogue);
    connect(Drucken, &QAction::triggered, this, &Vorschau::printCatalogue);
    connect(cmd_Ende, &FlatButton::clicked, this, &QWidget::close);
    m_client->installEventFilter(this);
    resize(twips(ClientWidthTwips), m_menuBar->sizeHint().height() + twips(ClientHeightTwips));

    m_feeder = new CatalogueFeeder(RichTextBox, options, fontNames, QDateTime::currentDateTime(), QLocale(), this);
    txt_Error->clear();
    m_feeder->start();
}

// The feeder writes into the view's document, so it goes before the view does.
Vorschau::~Vorschau()
{
    delete m_feeder;
}

void Vorschau::createControls()
{
    QWidget *w = m_client;

    RichTextBox = place(new QTextEdit(w), QStringLiteral("RichTextBox"), twipsRect(30, 0, 8655, 6045));
    RichTextBox->setReadOnly(true);
    RichTextBox->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichTextBox->setUndoRedoEnabled(false);
    QFont viewFont(installedTypeface(QStringLiteral("Courier New")));
    viewFont.setPointSizeF(8.25);
    RichTextBox->setFont(viewFont);
    RichTextBox->setAccessibleName(QStringLiteral("Schriftenkatalog"));
    // The catalogue's colours are those it prints in.
    setSurface(RichTextBox, DesignColors::Paper, QPalette::Base);

    cmd_Print = place(new FlatButton(QStringLiteral("&Drucken"), PrintGlyph, w), QStringLiteral("cmd_Print"),
                      twipsRect(3990, 6120, 3225, 390));
    cmd_Ende = place(new FlatButton(QStringLiteral("zurück"), BackGlyph, w), QStringLiteral("cmd_Ende"),
                     twipsRect(7260, 6120, 1425, 390));

    txt_Error = place(new ReadableLabel(QStringLiteral("Status"), w), QStringLiteral("txt_Error"),
                      twipsRect(60, 6150, 3855, 345));
    txt_Error->setText(QStringLiteral("Info über fehler...."));
    keepReadable(txt_Error, colorFromBgr(DesignColors::FailureText));
}

bool Vorschau::isCatalogueComplete() const
{
    return m_feeder->isFinished();
}

void Vorschau::done(int result)
{
    m_feeder->stop();
    QDialog::done(result);
}

bool Vorschau::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        Form_Resize();
    return QDialog::eventFilter(watched, event);
}

// Keeps the view filling the window above a bottom band, with both buttons
// anchored to the bottom-right corner.
void Vorschau::Form_Resize()
{
    const int outerWidth = toTwips(m_client->width()) + FrameWidthTwips;
    const int outerHeight = toTwips(m_client->height()) + PreviewFrameHeightTwips;
    setWidthTwips(RichTextBox, outerWidth - 180);
    setHeightTwips(RichTextBox, outerHeight - 1285);
    setTopTwips(cmd_Ende, outerHeight - 1210);
    setTopTwips(cmd_Print, outerHeight - 1210);
    setLeftTwips(cmd_Ende, outerWidth - 1635);
    setLeftTwips(cmd_Print, outerWidth - 4905);
    setTopTwips(txt_Error, outerHeight - 1110);
    setWidthTwips(txt_Error, outerWidth - 5070);
}

// The printout is always the whole catalogue (or a part of it): whatever the
// background build has not written yet is written first.
void Vorschau::printCatalogue()
{
    if (!m_feeder->completeUnderProgress(this))
        return;
    const auto showOutcome = [this](const PrintOutcome &outcome) {
        if (outcome.kind == PrintOutcome::Done)
            followPalette(txt_Error);
        else
            keepReadable(txt_Error, colorFromBgr(DesignColors::FailureText));
        txt_Error->setTextFormat(Qt::PlainText);
        txt_Error->setText(outcome.text);
    };
    PrintJob job(RichTextBox, this);
    job.setOnDialogClosed(showOutcome);
    showOutcome(job.run());
}
