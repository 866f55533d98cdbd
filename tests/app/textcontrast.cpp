#include "textcontrast.h"

#include "app/contrast.h"
#include "controls/gradientbar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QTextCursor>
#include <QTextEdit>

#include <functional>
#include <vector>

namespace {
using Restore = std::function<void()>;

// Shows blanks in place of `text` through `set`; returns what shows the text again.
Restore blanked(const QString &text, const std::function<void(const QString &)> &set)
{
    if (text.trimmed().isEmpty())
        return {};
    set(QString(text.size(), QLatin1Char(' ')));
    return [set, text] { set(text); };
}

Restore all(std::vector<Restore> restores)
{
    restores.erase(std::remove(restores.begin(), restores.end(), nullptr), restores.end());
    if (restores.empty())
        return {};
    return [restores] {
        for (const Restore &restore : restores)
            restore();
    };
}

// The catalogue's runs carry colours of their own: made transparent, they keep their place.
Restore blankedDocument(QTextEdit *view)
{
    QTextDocument *document = view->document();
    if (document->isEmpty())
        return {};
    document->setUndoRedoEnabled(true);
    QTextCursor everything(document);
    everything.select(QTextCursor::Document);
    QTextCharFormat invisible;
    invisible.setForeground(Qt::transparent);
    everything.mergeCharFormat(invisible);
    return [document] {
        document->undo();
        document->setUndoRedoEnabled(false);
    };
}

Restore blankTexts(QWidget *control)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        return blanked(label->text(), [label](const QString &text) { label->setText(text); });
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return blanked(button->text(), [button](const QString &text) { button->setText(text); });
    if (auto *field = qobject_cast<QLineEdit *>(control))
        return blanked(field->text(), [field](const QString &text) { field->setText(text); });
    if (auto *box = qobject_cast<QComboBox *>(control)) {
        const int shown = box->currentIndex();
        return blanked(box->currentText(), [box, shown](const QString &text) { box->setItemText(shown, text); });
    }
    if (auto *bar = qobject_cast<GradientBar *>(control))
        return blanked(bar->caption(), [bar](const QString &text) { bar->setCaption(text); });
    if (auto *view = qobject_cast<QTextEdit *>(control))
        return blankedDocument(view);
    std::vector<Restore> restores;
    if (auto *list = qobject_cast<QListWidget *>(control)) {
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem *item = list->item(i);
            restores.push_back(blanked(item->text(), [item](const QString &text) { item->setText(text); }));
        }
    } else if (auto *menus = qobject_cast<QMenuBar *>(control)) {
        for (QAction *menu : menus->actions())
            restores.push_back(blanked(menu->text(), [menu](const QString &text) { menu->setText(text); }));
    }
    return all(restores);
}

QImage drawn(QWidget &window, const QRect &area)
{
    return window.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}
} // namespace

double contrastOfWhatGoes(QWidget &window, const QRect &area, const std::function<void()> &takeAway)
{
    const QImage shown = drawn(window, area);
    takeAway();
    const QImage behind = drawn(window, area);

    // Its colour is that of the pixel that stands out most: one a stroke
    // covers whole, where the edges of antialiased strokes are blended.
    QRgb ink = 0;
    double inkContrast = 1.0;
    QList<QRgb> under;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixel(x, y) == behind.pixel(x, y))
                continue;
            under.append(behind.pixel(x, y));
            const double contrast = contrastRatio(QColor(shown.pixel(x, y)), QColor(under.last()));
            if (contrast > inkContrast) {
                inkContrast = contrast;
                ink = shown.pixel(x, y);
            }
        }
    }
    double worst = inkContrast;
    for (QRgb background : std::as_const(under))
        worst = qMin(worst, contrastRatio(QColor(ink), QColor(background)));
    return worst;
}

QList<TextContrast> textContrasts(QWidget &window, const QStringList &decorations)
{
    // Neither a focus frame nor a cursor may count as text.
    if (QWidget *focused = QApplication::focusWidget())
        focused->clearFocus();
    QList<TextContrast> found;
    for (QWidget *control : window.findChildren<QWidget *>()) {
        const QRect area = QRect(control->mapTo(&window, QPoint()), control->size()).intersected(window.rect());
        if (!control->isVisibleTo(&window) || area.isEmpty() || decorations.contains(control->objectName()))
            continue;
        Restore restore;
        const double ratio = contrastOfWhatGoes(window, area, [&] { restore = blankTexts(control); });
        if (!restore)
            continue;
        restore();
        const QString name = control->objectName().isEmpty() ? QString::fromLatin1(control->metaObject()->className())
                                                             : control->objectName();
        found.append({name, ratio, neededContrast(control->font())});
    }
    return found;
}
