#include "controls/readablelabel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {
// A set accessible name would hide the text; this one is built from both
// each time a screen reader asks.
class AccessibleReadableLabel : public QAccessibleWidget
{
public:
    explicit AccessibleReadableLabel(ReadableLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) { }

    QString text(QAccessible::Text type) const override
    {
        const auto *label = static_cast<ReadableLabel *>(widget());
        if (type == QAccessible::Name)
            return label->spokenName();
        if (type == QAccessible::Value)
            return label->text();
        return QAccessibleWidget::text(type);
    }
};

QAccessibleInterface *accessibleReadableLabel(const QString &, QObject *object)
{
    if (auto *label = qobject_cast<ReadableLabel *>(object))
        return new AccessibleReadableLabel(label);
    return nullptr;
}
} // namespace

ReadableLabel::ReadableLabel(const QString &caption, QWidget *parent) : QLabel(parent), m_caption(caption)
{
    static const bool factoryInstalled = (QAccessible::installFactory(accessibleReadableLabel), true);
    Q_UNUSED(factoryInstalled)
    setTextFormat(Qt::PlainText);
}

QString ReadableLabel::spokenName() const
{
    const QString spoken = spokenText();
    return spoken.isEmpty() ? m_caption : m_caption + QStringLiteral(": ") + spoken;
}

QString ReadableLabel::spokenText() const
{
    return text();
}
