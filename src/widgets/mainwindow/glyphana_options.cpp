// The print options: each change is stored the moment it is made.
#include "mainwindow/glyphana.h"

#include "app/designcolors.h"
#include "controls/designlayout.h"
#include "controls/familysamplelabel.h"
#include "controls/flatbutton.h"
#include "controls/readabletext.h"
#include "controls/sortedcombobox.h"
#include "controls/spinbuttons.h"
#include "mainwindow/layouts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

void Glyphana::connectOptionHandlers()
{
    // The handlers follow the state, not the click: a key, a click and an
    // accessibility action (which calls toggle() and emits no clicked) all
    // change the state, and each change runs its handler once.
    connect(m_sampleKinds, &QButtonGroup::idToggled, this, [this](int kind, bool on) {
        if (on)
            Option_Testdruck_Click(kind);
    });
    connect(Check_Fett, &QCheckBox::toggled, this, &Glyphana::Check_Fett_Click);
    connect(Check_Now, &QCheckBox::toggled, this, &Glyphana::Check_Now_Click);
    // The lists change their current entry also when the census inserts
    // names; only a choice is stored.
    connect(Combo_SArt, &QComboBox::activated, this,
            [this] { m_settings.writeText(SettingKey::Still, Combo_SArt->currentText()); });
    connect(SGröße, &QComboBox::activated, this,
            [this] { m_settings.writeNumber(SettingKey::FontSize, SGröße->currentData().toInt()); });
    for (int i = 0; i < int(cmd_Color.size()); ++i)
        connect(cmd_Color[i], &FlatButton::clicked, this, [this, i] { cmd_Color_Click(i); });
    connect(UpDown, &SpinButtons::valueChanged, this, &Glyphana::UpDown_Change);
}

void Glyphana::Option_Testdruck_Click(int index)
{
    const bool handEntered = index == int(SampleKind::HandEntered);
    setSurface(txt_Handvorgabe, handEntered ? DesignColors::FieldOn : DesignColors::FieldOff, QPalette::Base);
    txt_Handvorgabe->setEnabled(handEntered);
    if (!m_loading)
        m_settings.writeNumber(SettingKey::Print_Art, index);
}

void Glyphana::Check_Fett_Click()
{
    if (!m_loading)
        m_settings.writeFlag(SettingKey::Check_Fett, Check_Fett->isChecked());
}

void Glyphana::Check_Now_Click()
{
    if (!m_loading)
        m_settings.writeFlag(SettingKey::Check_Now, Check_Now->isChecked());
}

void Glyphana::cmd_Color_Click(int index)
{
    const QColor chosen = QColorDialog::getColor(m_colors[index], this);
    if (!chosen.isValid())
        return;
    showColor(index, chosen);
    m_settings.writeColor(SettingsStore::colorKey(index), chosen);
}

void Glyphana::showColor(int index, const QColor &color)
{
    m_colors[index] = color;
    setTextColor(txt_Color[index], color);
}

void Glyphana::UpDown_Change(int value)
{
    QFont sample = ZeigeSchrift->font();
    sample.setPointSize(value + SampleDisplayBasePoints);
    ZeigeSchrift->setFont(sample);
}
