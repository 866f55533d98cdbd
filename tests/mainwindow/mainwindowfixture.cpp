#include "fixtures/findcontrol.h"
#include "mainwindowfixture.h"

#include "controls/sortedcombobox.h"
#include "controls/sortedlistwidget.h"

#include <QLabel>

QStringList liberationFonts()
{
    return {QStringLiteral("Liberation Serif"), QStringLiteral("Liberation Mono"), QStringLiteral("Liberation Sans")};
}

std::unique_ptr<Glyphana> loadedMainWindow(const QStringList &fonts)
{
    auto window = std::make_unique<Glyphana>();
    window->Form_Load();
    for (const QString &name : fonts) {
        control<SortedListWidget>(*window, "List_Fonts")->addSorted(name);
        control<SortedComboBox>(*window, "Combo_SArt")->addSorted(name);
    }
    window->Form_Load();
    return window;
}

std::unique_ptr<Glyphana> shownMainWindow()
{
    auto window = loadedMainWindow();
    window->show();
    return window;
}

QColor textColor(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}
