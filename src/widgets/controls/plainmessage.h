// The program's message boxes: modal, with the text shown as plain text, since
// font names, titles, paths and downloaded text reach them from outside and
// must never be read as markup.
#pragma once

#include "app/appinfo.h"

#include <QMessageBox>

#include <functional>

struct PlainMessage {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    QString title = AppTitle;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
};

// Shows the box and returns the button that closed it. `whenShown` runs inside
// the box's own event loop, once the box is up.
QMessageBox::StandardButton showPlainMessage(QWidget *parent, const PlainMessage &message,
                                             const std::function<void()> &whenShown = {});
