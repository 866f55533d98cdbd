// Creates and places the main window's controls as the window was designed.
#include "mainwindow/glyphana.h"

#include "app/designcolors.h"
#include "app/twips.h"
#include "controls/clickableimage.h"
#include "controls/designlayout.h"
#include "controls/familysamplelabel.h"
#include "controls/flatbutton.h"
#include "controls/gradientbar.h"
#include "controls/readabletext.h"
#include "controls/sortedcombobox.h"
#include "controls/sortedlistwidget.h"
#include "controls/spinbuttons.h"
#include "mainwindow/layouts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>

namespace {
constexpr int AddGlyph = 73;

void frameCentred(QLabel *label)
{
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
}

QLabel *borderedLabel(QWidget *parent, const QString &name, QRect geometry)
{
    QLabel *result = captionLabel(parent, name, QString(), geometry);
    frameCentred(result);
    return result;
}

FlatButton *flatButton(QWidget *parent, const QString &name, const QString &caption, int glyph, QRect geometry)
{
    return place(new FlatButton(caption, glyph, parent), name, geometry);
}

// Lists, boxes and text fields are named for screen readers after the caption above them.
void labelFor(QLabel *caption, QWidget *control)
{
    caption->setBuddy(control);
    control->setAccessibleName(caption->text());
}

} // namespace

void Glyphana::createControls(QWidget *w)
{
    w->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));

    roLabel = place(new GradientBar(QStringLiteral("   Letterloom"), w), QStringLiteral("roLabel"),
                    twipsRect(0, 0, 375, 4695));

    Label1[1] = captionLabel(w, indexed("Label1", 1), QStringLiteral("Schriftbeispiel"), twipsRect(450, 30, 975, 195));
    // The sample is read with the family it shows.
    ZeigeSchrift = place(new FamilySampleLabel(Label1[1]->text(), w), QStringLiteral("ZeigeSchrift"),
                         twipsRect(420, 240, 11175, 570));
    frameCentred(ZeigeSchrift);
    setSurface(ZeigeSchrift, DesignColors::SampleDisplay);
    ZeigeSchrift->setFont(designFont(QStringLiteral("MS Sans Serif"), 19.5));
    Label1[1]->setBuddy(ZeigeSchrift);
    UpDown = place(new SpinButtons(-15, 10, w), QStringLiteral("UpDown"), twipsRect(11610, 240, 240, 570));
    UpDown->setAccessibleName(QStringLiteral("Größe des Schriftbeispiels"));
    UpDown->setStepNames(QStringLiteral("Schriftbeispiel vergrößern"), QStringLiteral("Schriftbeispiel verkleinern"));
    // A listener hears the size in points that the sample shows.
    UpDown->setReading({[this] { return ZeigeSchrift->font().pointSizeF(); },
                        double(UpDown->minimum() + SampleDisplayBasePoints),
                        double(UpDown->maximum() + SampleDisplayBasePoints)});

    Label1[0]
        = captionLabel(w, indexed("Label1", 0), QStringLiteral("Verfügbare Schriften"), twipsRect(420, 855, 1455, 195));
    List_Fonts = place(new SortedListWidget(w), QStringLiteral("List_Fonts"), twipsRect(420, 1080, 2295, 3210));
    List_Fonts->setSelectionMode(QAbstractItemView::MultiSelection);
    labelFor(Label1[0], List_Fonts);
    txt_Schriften[0] = borderedLabel(w, indexed("txt_Schriften", 0), twipsRect(420, 4320, 2295, 285));

    cmd_TeilEinfügen = flatButton(w, QStringLiteral("cmd_TeilEinfügen"), QStringLiteral("markierte hinzufügen"),
                                  AddGlyph, twipsRect(2760, 1080, 1410, 570));
    cmd_AlleEinfügen = flatButton(w, QStringLiteral("cmd_AlleEinfügen"), QStringLiteral("alle hinzufügen"), AddGlyph,
                                  twipsRect(2760, 1710, 1410, 570));
    cmd_Re = flatButton(w, QStringLiteral("cmd_Re"), QStringLiteral("Markierung rückgängig"), 10,
                        twipsRect(2760, 2370, 1410, 570));
    cmd_Clear = flatButton(w, QStringLiteral("cmd_Clear"), QStringLiteral("alle löschen"), 20,
                           twipsRect(2760, 3030, 1410, 570));

    Logo = place(new ClickableImage(QIcon(QStringLiteral(":/images/logo.png")).pixmap(74, 30), w),
                 QStringLiteral("Logo"), twipsRect(2940, 4110, 1110, 450));
    Logo->setAccessibleName(QStringLiteral("Info über Letterloom"));
    Logo->setToolTip(Logo->accessibleName());
    Logo->setFocusPolicy(Qt::TabFocus);

    Label2 = captionLabel(w, QStringLiteral("Label2"), QStringLiteral("zu druckende Schriften"),
                          twipsRect(4260, 870, 1650, 195));
    List_zuDrucken
        = place(new SortedListWidget(w), QStringLiteral("List_zuDrucken"), twipsRect(4230, 1110, 2355, 3180));
    setSurface(List_zuDrucken, DesignColors::PrintList, QPalette::Base);
    labelFor(Label2, List_zuDrucken);
    txt_Schriften[1] = borderedLabel(w, indexed("txt_Schriften", 1), twipsRect(4230, 4320, 2355, 285));

    Label4[0] = captionLabel(w, indexed("Label4", 0), QStringLiteral("Schrift-Textbeispiel"),
                             twipsRect(6720, 1140, 1335, 195));
    const std::array<std::pair<const char *, const char *>, 4> kinds{{
        {"Alphabet", "Druckt: ABC abc 123..."},
        {"von jedem etwas", "Druckt ABCDEFGHI..."},
        {"alle Zeichen", "Druckt ABCDEFGHI..."},
        {"Handvorgabe", "Druckt ABCDEFGHI..."},
    }};
    const std::array<int, 4> kindTops{1680, 1410, 1980, 2280};
    m_sampleKinds = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        Option_Testdruck[i] = place(new QRadioButton(QString::fromUtf8(kinds[i].first), w),
                                    indexed("Option_Testdruck", i), twipsRect(6720, kindTops[i], 1815, 255));
        Option_Testdruck[i]->setToolTip(QString::fromUtf8(kinds[i].second));
        m_sampleKinds->addButton(Option_Testdruck[i], i);
    }
    Option_Testdruck[0]->setChecked(true);

    Label4[1] = captionLabel(w, indexed("Label4", 1), QStringLiteral("Handvorgabe"), twipsRect(6720, 2550, 975, 195));
    txt_Handvorgabe = place(new QLineEdit(QStringLiteral("ABC abc 123"), w), QStringLiteral("txt_Handvorgabe"),
                            twipsRect(6750, 2760, 1875, 285));
    txt_Handvorgabe->setEnabled(false);
    setSurface(txt_Handvorgabe, DesignColors::FieldOff, QPalette::Base);
    labelFor(Label4[1], txt_Handvorgabe);

    SeitenZahl = captionLabel(w, QStringLiteral("SeitenZahl"), QStringLiteral("Benötigt 0 A4 Seiten"),
                              twipsRect(6720, 3480, 1935, 255));
    SeitenZahl->setAlignment(Qt::AlignCenter);
    SeitenZahl->setToolTip(QStringLiteral("Anzahl der A4-Seiten im Hochformat"));
    // The count is never made, and its label lies under the preview button:
    // in grey on grey it could not be seen, in a grey that reads only its top
    // edge would show. It stays in the window, out of sight.

    cmd_Drucken = flatButton(w, QStringLiteral("cmd_Drucken"), QStringLiteral("&Druckvorschau"), 30,
                             twipsRect(6720, 3570, 1935, 585));
    cmd_Ende
        = flatButton(w, QStringLiteral("cmd_Ende"), QStringLiteral("&Schließen"), 40, twipsRect(6720, 4230, 1935, 390));
    cmd_More = flatButton(w, QStringLiteral("cmd_More"), QString(), 73, twipsRect(8250, 3090, 375, 390));
    cmd_More->setAccessibleName(QString::fromUtf8(NarrowLayout.moreCommand));
    cmd_More->setToolTip(cmd_More->accessibleName());

    Label6 = captionLabel(w, QStringLiteral("Label6"), QStringLiteral("Schriftart der Schriftnamen"),
                          twipsRect(9000, 1170, 1875, 195));
    Label6->setToolTip(QStringLiteral("Wie soll die Bezeichnung der Schriftnamen aussehen"));
    Combo_SArt = place(new SortedComboBox(w), QStringLiteral("Combo_SArt"), twipsRect(9000, 1410, 1935, 315));
    Combo_SArt->setToolTip(QStringLiteral("Aussehen der Schriftüberschrift"));
    labelFor(Label6, Combo_SArt);

    Label = captionLabel(w, QStringLiteral("Label"), QStringLiteral("Überschrift für Katalog"),
                         twipsRect(9030, 1830, 1575, 195));
    txt_Überschrift = place(new QLineEdit(QStringLiteral("Schriftenübersicht"), w), QStringLiteral("txt_Überschrift"),
                            twipsRect(9030, 2070, 2775, 285));
    labelFor(Label, txt_Überschrift);

    Label3 = captionLabel(w, QStringLiteral("Label3"), QStringLiteral("Beispiel Textgröße"),
                          twipsRect(9060, 2460, 1305, 195));
    SGröße = place(new QComboBox(w), QStringLiteral("SGröße"), twipsRect(9060, 2700, 975, 315));
    labelFor(Label3, SGröße);
    for (QLabel *caption : {Label4[0], Label4[1], Label6, Label, Label3})
        keepReadable(caption, colorFromBgr(DesignColors::HeadingText));

    Check_Fett = place(new QCheckBox(QStringLiteral("Fettdruck Beispieltext"), w), QStringLiteral("Check_Fett"),
                       twipsRect(9090, 3150, 2505, 255));
    Check_Now = place(new QCheckBox(QStringLiteral("Datum + Uhrzeit mit drucken"), w), QStringLiteral("Check_Now"),
                      twipsRect(9120, 3510, 2475, 225));

    const std::array<const char *, 2> colorCaptions{"Schriftname", "Schriftbeispiel"};
    const std::array<int, 2> buttonTops{3810, 4230};
    const std::array<int, 2> labelTops{3870, 4320};
    for (int i = 0; i < 2; ++i) {
        cmd_Color[i] = flatButton(w, indexed("cmd_Color", i), QStringLiteral("Ändern"), 50,
                                  twipsRect(9060, buttonTops[i], 1095, 390));
        txt_Color[i] = borderedLabel(w, indexed("txt_Color", i), twipsRect(10200, labelTops[i], 1365, 255));
        txt_Color[i]->setText(QString::fromUtf8(colorCaptions[i]));
        txt_Color[i]->setFrameStyle(QFrame::Box | QFrame::Plain);
        setSurface(txt_Color[i], DesignColors::ColorLabel);
    }
    cmd_Color[0]->setAccessibleName(QStringLiteral("Farbe der Schriftnamen ändern"));
    cmd_Color[1]->setAccessibleName(QStringLiteral("Farbe des Schriftbeispiels ändern"));
    menuBar()->setAccessibleName(QStringLiteral("Menüleiste"));
}
