// The main window: font list, print list, print options and the commands that
// open the preview, the About window and the web functions.
#pragma once

#include "app/printoptions.h"
#include "settings/settingsstore.h"

#include <QMainWindow>

#include <array>

class ClickableImage;
class FamilySampleLabel;
class FlatButton;
class GradientBar;
class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class SortedComboBox;
class SortedListWidget;
class SpinButtons;

class Glyphana : public QMainWindow
{
    Q_OBJECT
public:
    explicit Glyphana(QWidget *parent = nullptr);

    // The load routine: runs when the window is loaded and again once the
    // census has filled the font lists. Each step that cannot be applied is
    // skipped and leaves its control as it was.
    void Form_Load();

    // The census adds each installed family to the font list and to the
    // choice of heading typefaces.
    void addFont(const QString &family);

    PrintOptions printOptions() const;
    QStringList printList() const;

signals:
    // Emitted at the end of every run of the load routine.
    void loaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The controls, named as the window was designed; tests and screen
    // readers find them by those names.
    GradientBar *roLabel;
    std::array<QLabel *, 2> Label1;
    FamilySampleLabel *ZeigeSchrift;
    SpinButtons *UpDown;
    SortedListWidget *List_Fonts;
    std::array<QLabel *, 2> txt_Schriften;
    FlatButton *cmd_TeilEinfügen;
    FlatButton *cmd_AlleEinfügen;
    FlatButton *cmd_Re;
    FlatButton *cmd_Clear;
    ClickableImage *Logo;
    QLabel *Label2;
    SortedListWidget *List_zuDrucken;
    std::array<QLabel *, 2> Label4;
    std::array<QRadioButton *, 4> Option_Testdruck;
    // The sample kinds, each button with its kind's number as its id.
    QButtonGroup *m_sampleKinds;
    QLineEdit *txt_Handvorgabe;
    QLabel *SeitenZahl;
    FlatButton *cmd_Drucken;
    FlatButton *cmd_Ende;
    FlatButton *cmd_More;
    QLabel *Label6;
    SortedComboBox *Combo_SArt;
    QLabel *Label;
    QLineEdit *txt_Überschrift;
    QLabel *Label3;
    QComboBox *SGröße;
    QCheckBox *Check_Fett;
    QCheckBox *Check_Now;
    std::array<FlatButton *, 2> cmd_Color;
    std::array<QLabel *, 2> txt_Color;

    QMenu *Menü;
    QAction *Internet_Version;
    QAction *Internet_HP;
    QAction *strich;
    QAction *Ende;

    void createControls(QWidget *client);
    void createMenu();
    void setTabOrder();
    void setOuterWidth(int widthTwips);
    void hideWhatLiesBeyondTheEdge();
    void showSettingsWriteFailure(const QString &path);

    void connectPrintListHandlers();
    void showPrintListCount(int count);
    void cmd_TeilEinfuegen_Click();
    void cmd_AlleEinfuegen_Click();
    void cmd_Clear_Click();
    void List_Fonts_Click();

    void connectLinkHandlers();
    void connectCommandHandlers();
    void cmd_Drucken_Click();
    void openPreview();
    void cmd_More_Click();

    void connectOptionHandlers();
    void Option_Testdruck_Click(int index);
    void Check_Fett_Click();
    void Check_Now_Click();
    void cmd_Color_Click(int index);
    void showColor(int index, const QColor &color);
    void UpDown_Change(int value);

    SettingsStore m_settings;
    bool m_centred = false;
    bool m_writeFailureShown = false;
    // Set while the load routine applies stored values: the handlers it runs
    // must not write those values back.
    bool m_loading = false;
    bool m_wide = false;
    // The colours of the font names and of the samples, shown in txt_Color.
    std::array<QColor, 2> m_colors{QColor(Qt::black), QColor(Qt::black)};
};
