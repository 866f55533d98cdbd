#include "mainwindow/glyphana.h"

#include "app/appinfo.h"
#include "app/twips.h"
#include "controls/clickableimage.h"
#include "controls/flatbutton.h"
#include "controls/plainmessage.h"
#include "controls/sortedcombobox.h"
#include "controls/sortedlistwidget.h"
#include "controls/spinbuttons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>

#include <limits>

namespace {
constexpr int ClientWidthTwips = 11880;
constexpr int ClientHeightTwips = 4710;
} // namespace

Glyphana::Glyphana(QWidget *parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Glyphana"));
    setWindowTitle(AppTitle);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    createControls(client);
    createMenu();
    setTabOrder();
    connectPrintListHandlers();
    connectOptionHandlers();
    connectCommandHandlers();
    connectLinkHandlers();
    setFixedSize(twips(ClientWidthTwips), menuBar()->sizeHint().height() + twips(ClientHeightTwips));
    // The title is stored and read back whole; the text box's default limit
    // of 32,767 characters would cut a longer one.
    txt_Überschrift->setMaxLength(std::numeric_limits<int>::max());

    connect(&m_settings, &SettingsStore::writeFailed, this, &Glyphana::showSettingsWriteFailure);
}

void Glyphana::createMenu()
{
    Menü = menuBar()->addMenu(QStringLiteral("Typecaddy"));
    Menü->setObjectName(QStringLiteral("Menü"));
    Internet_Version = Menü->addAction(QStringLiteral("aktuelle Version suchen"));
    Internet_Version->setObjectName(QStringLiteral("Internet_Version"));
    Internet_HP = Menü->addAction(QStringLiteral("Homepage besuchen"));
    Internet_HP->setObjectName(QStringLiteral("Internet_HP"));
    strich = Menü->addSeparator();
    strich->setObjectName(QStringLiteral("strich"));
    Ende = Menü->addAction(QStringLiteral("Ende"));
    Ende->setObjectName(QStringLiteral("Ende"));
}

void Glyphana::setTabOrder()
{
    // The order as the window was designed, several controls a line.
    // clang-format off
    const QList<QWidget *> chain{
        List_Fonts, cmd_TeilEinfügen, cmd_AlleEinfügen, cmd_Re, cmd_Clear, List_zuDrucken,
        Option_Testdruck[1], Option_Testdruck[0], Option_Testdruck[2], Option_Testdruck[3], txt_Handvorgabe,
        Check_Fett, SGröße, Combo_SArt, cmd_Drucken, UpDown, cmd_Ende, cmd_More, txt_Überschrift,
        cmd_Color[0], cmd_Color[1], Check_Now, Logo,
    };
    // clang-format on
    for (int i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void Glyphana::setOuterWidth(int widthTwips)
{
    setFixedWidth(twips(widthTwips - FrameWidthTwips));
}

void Glyphana::hideWhatLiesBeyondTheEdge()
{
    // Hidden controls take no focus: the keyboard never moves to a control
    // the user cannot see. The page count is never shown.
    for (QWidget *control : centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        control->setVisible(control != SeitenZahl && control->x() < width());
}

PrintOptions Glyphana::printOptions() const
{
    PrintOptions options;
    options.title = txt_Überschrift->text();
    options.headingTypeface = Combo_SArt->currentText();
    // With no entry chosen the catalogue uses the size a first start chooses.
    options.sampleSize = SGröße->currentIndex() < 0 ? SettingsStore::defaultNumber(SettingKey::FontSize)
                                                    : SGröße->currentData().toInt();
    options.boldSamples = Check_Fett->isChecked();
    options.dateLine = Check_Now->isChecked();
    options.sampleKind = SampleKind(m_sampleKinds->checkedId());
    options.handEnteredSample = txt_Handvorgabe->text();
    options.headingColor = m_colors[0];
    options.sampleColor = m_colors[1];
    return options;
}

QStringList Glyphana::printList() const
{
    return List_zuDrucken->names();
}

void Glyphana::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen *display = screen())
        move(display->availableGeometry().center() - frameGeometry().center() + pos());
}

void Glyphana::closeEvent(QCloseEvent *event)
{
    m_settings.writeText(SettingKey::Titel, txt_Überschrift->text());
    event->accept();
}

void Glyphana::showSettingsWriteFailure(const QString &path)
{
    // Once per run is enough: the user cannot do more about it than fix the
    // folder, and later writes are still tried.
    if (m_writeFailureShown)
        return;
    m_writeFailureShown = true;
    showPlainMessage(
        isVisible() ? this : nullptr,
        {QMessageBox::Warning, QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.\n") + path});
}
