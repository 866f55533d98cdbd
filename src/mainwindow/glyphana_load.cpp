// The main window's load routine: design geometry, the size list, the counts
// and every option restored from the settings store.
#include "mainwindow/glyphana.h"

#include "app/colors.h"
#include "app/twips.h"
#include "controls/designlayout.h"
#include "controls/sortedcombobox.h"
#include "controls/sortedlistwidget.h"
#include "controls/spinbuttons.h"
#include "mainwindow/layouts.h"
#include "settings/numbertext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {
bool selectEntry(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    box->setCurrentIndex(index);
    return true;
}

std::optional<Qt::CheckState> checkState(const QString &stored)
{
    const std::optional<qint16> value = toInt16(stored);
    if (value == 0)
        return Qt::Unchecked;
    if (value == 1)
        return Qt::Checked;
    return std::nullopt;
}

std::optional<QColor> storedColor(const QString &stored)
{
    const std::optional<qint32> value = toInt32(stored);
    if (!value || *value < 0 || *value > 0x00FFFFFF)
        return std::nullopt;
    return colorFromBgr(quint32(*value));
}
} // namespace

void Glyphana::Form_Load()
{
    setOuterWidth(NarrowLayout.outerWidthTwips);

    SGröße->clear();
    for (int size = 14; size <= 28; ++size)
        SGröße->addItem(QString::number(size));
    SGröße->setCurrentIndex(-1);
    selectEntry(SGröße, m_settings.read(SettingKey::FontSize));

    UpDown->move(twips(NarrowLayout.upDownLeftTwips), UpDown->y());
    ZeigeSchrift->resize(twips(NarrowLayout.sampleWidthTwips), ZeigeSchrift->height());

    selectEntry(Combo_SArt, m_settings.read(SettingKey::Still));

    const std::optional<qint16> kind = toInt16(m_settings.read(SettingKey::Print_Art));
    if (kind && *kind >= 0 && *kind < qint16(Option_Testdruck.size()) && !Option_Testdruck[*kind]->isChecked()) {
        Option_Testdruck[*kind]->setChecked(true);
        Option_Testdruck_Click(*kind);
    }

    if (const auto bold = checkState(m_settings.read(SettingKey::Check_Fett)); bold && *bold != Check_Fett->checkState()) {
        Check_Fett->setCheckState(*bold);
        Check_Fett_Click();
    }

    txt_Schriften[0]->setText(QString::number(List_Fonts->count()) + QStringLiteral(" Schriften gefunden "));
    txt_Schriften[1]->setText(QStringLiteral("0 Schriften in der Druckliste "));

    if (List_Fonts->count() > 0) {
        const QString first = List_Fonts->item(0)->text();
        QFont shown = ZeigeSchrift->font();
        shown.setFamily(first);
        ZeigeSchrift->setFont(shown);
        ZeigeSchrift->setText(first);
    }

    txt_Überschrift->setText(m_settings.read(SettingKey::Titel));

    for (int i = 0; i < 2; ++i) {
        if (const auto color = storedColor(m_settings.read(SettingsStore::colorKey(i))))
            setTextColor(txt_Color[i], *color);
    }

    if (const auto now = checkState(m_settings.read(SettingKey::Check_Now)); now && *now != Check_Now->checkState()) {
        Check_Now->setCheckState(*now);
        Check_Now_Click();
    }

    hideWhatLiesBeyondTheEdge();
    emit loaded();
}
