// The print options: each change is stored the moment it is made.
#include "mainwindow/glyphana.h"

#include "app/colors.h"
#include "controls/designlayout.h"
#include "controls/flatbutton.h"
#include "controls/sortedcombobox.h"
#include "controls/spinbuttons.h"
#include "mainwindow/layouts.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {
constexpr quint32 White = 0x00FFFFFF;

QString checkText(const QCheckBox *box)
{
    return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}
} // namespace

void Glyphana::connectOptionHandlers()
{
    for (int i = 0; i < int(Option_Testdruck.size()); ++i)
        connect(Option_Testdruck[i], &QRadioButton::clicked, this, [this, i] { Option_Testdruck_Click(i); });
    connect(Check_Fett, &QCheckBox::clicked, this, &Glyphana::Check_Fett_Click);
    connect(Check_Now, &QCheckBox::clicked, this, &Glyphana::Check_Now_Click);
    connect(Combo_SArt, &QComboBox::activated, this,
            [this] { m_settings.write(SettingKey::Still, Combo_SArt->currentText()); });
    connect(SGröße, &QComboBox::activated, this,
            [this] { m_settings.write(SettingKey::FontSize, SGröße->currentText()); });
    for (int i = 0; i < int(cmd_Color.size()); ++i)
        connect(cmd_Color[i], &FlatButton::clicked, this, [this, i] { cmd_Color_Click(i); });
    connect(UpDown, &SpinButtons::valueChanged, this, &Glyphana::UpDown_Change);
}

void Glyphana::Option_Testdruck_Click(int index)
{
    const bool handEntered = index == int(SampleKind::HandEntered);
    setColor(txt_Handvorgabe, QPalette::Base, colorFromBgr(handEntered ? White : LightGrey));
    txt_Handvorgabe->setEnabled(handEntered);
    m_settings.write(SettingKey::Print_Art, QString::number(index));
}

void Glyphana::Check_Fett_Click()
{
    m_settings.write(SettingKey::Check_Fett, checkText(Check_Fett));
}

void Glyphana::Check_Now_Click()
{
    m_settings.write(SettingKey::Check_Now, checkText(Check_Now));
}

void Glyphana::cmd_Color_Click(int index)
{
    QLabel *shown = txt_Color[index];
    const QColor current = shown->palette().color(QPalette::WindowText);
    const QColor chosen = QColorDialog::getColor(current, this);
    if (!chosen.isValid())
        return;
    setTextColor(shown, chosen);
    m_settings.write(SettingsStore::colorKey(index), QString::number(bgrFromColor(chosen)));
}

void Glyphana::UpDown_Change(int value)
{
    QFont sample = ZeigeSchrift->font();
    sample.setPointSize(value + SampleDisplayBasePoints);
    ZeigeSchrift->setFont(sample);
}
