// The main window's load routine: design geometry, the size list, the counts
// and every option restored from the settings store.
#include "mainwindow/glyphana.h"

#include "app/twips.h"
#include "controls/designlayout.h"
#include "controls/familysamplelabel.h"
#include "controls/flatbutton.h"
#include "controls/sortedcombobox.h"
#include "controls/sortedlistwidget.h"
#include "controls/spinbuttons.h"
#include "mainwindow/layouts.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {
bool selectEntry(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    box->setCurrentIndex(index);
    return true;
}
} // namespace

void Glyphana::Form_Load()
{
    m_loading = true;
    m_wide = false;
    setOuterWidth(NarrowLayout.outerWidthTwips);
    cmd_More->setGlyph(NarrowLayout.glyph);

    SGröße->clear();
    for (int size = SettingsStore::lowest(SettingKey::FontSize); size <= SettingsStore::highest(SettingKey::FontSize);
         ++size)
        SGröße->addItem(QString::number(size), size);
    SGröße->setCurrentIndex(-1);
    if (const auto size = m_settings.number(SettingKey::FontSize))
        SGröße->setCurrentIndex(SGröße->findData(*size));

    UpDown->move(twips(NarrowLayout.upDownLeftTwips), UpDown->y());
    ZeigeSchrift->resize(twips(NarrowLayout.sampleWidthTwips), ZeigeSchrift->height());

    selectEntry(Combo_SArt, m_settings.text(SettingKey::Still));

    if (const auto kind = m_settings.number(SettingKey::Print_Art))
        m_sampleKinds->button(*kind)->setChecked(true);

    if (const auto bold = m_settings.flag(SettingKey::Check_Fett))
        Check_Fett->setChecked(*bold);

    txt_Schriften[0]->setText(QString::number(List_Fonts->count()) + QStringLiteral(" Schriften gefunden "));
    showPrintListCount(0);

    if (List_Fonts->count() > 0)
        ZeigeSchrift->showFamily(List_Fonts->item(0)->text());

    txt_Überschrift->setText(m_settings.text(SettingKey::Titel));

    for (int i = 0; i < 2; ++i) {
        if (const auto color = m_settings.color(SettingsStore::colorKey(i)))
            showColor(i, *color);
    }

    if (const auto now = m_settings.flag(SettingKey::Check_Now))
        Check_Now->setChecked(*now);

    hideWhatLiesBeyondTheEdge();
    m_loading = false;
    emit loaded();
}
