#include "controls/plainmessage.h"

#include <QTimer>

QMessageBox::StandardButton showPlainMessage(QWidget *parent, const PlainMessage &message,
                                             const std::function<void()> &whenShown)
{
    QMessageBox box(message.icon, message.title, message.text, message.buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(message.defaultButton);
    if (whenShown)
        QTimer::singleShot(0, &box, whenShown);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
