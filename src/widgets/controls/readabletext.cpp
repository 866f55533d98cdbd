#include "controls/readabletext.h"

#include "app/contrast.h"
#include "controls/designlayout.h"

#include <QEvent>
#include <QWidget>

namespace {
class TextColorKeeper : public QObject
{
public:
    TextColorKeeper(QWidget *widget, std::function<QColor(const QWidget &)> rule)
        : QObject(widget),
          m_widget(widget),
          m_rule(std::move(rule))
    {
        widget->installEventFilter(this);
    }

    void setRule(std::function<QColor(const QWidget &)> rule)
    {
        m_rule = std::move(rule);
        apply();
    }

    // Setting the colour changes the palette once more; by then it is the wanted one.
    void apply()
    {
        const QColor wanted = m_rule(*m_widget);
        if (m_widget->palette().color(QPalette::WindowText) != wanted)
            setTextColor(m_widget, wanted);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
            apply();
        return false;
    }

private:
    QWidget *m_widget;
    std::function<QColor(const QWidget &)> m_rule;
};

TextColorKeeper *keeperOf(const QWidget *widget)
{
    for (QObject *child : widget->children())
        if (auto *keeper = dynamic_cast<TextColorKeeper *>(child))
            return keeper;
    return nullptr;
}
} // namespace

void setSurface(QWidget *widget, const Surface &surface, QPalette::ColorRole background)
{
    setColor(widget, background, colorFromBgr(surface.background));
    setColor(widget, background == QPalette::Base ? QPalette::Text : QPalette::WindowText, colorFromBgr(surface.text));
}

void keepTextColor(QWidget *widget, std::function<QColor(const QWidget &)> rule)
{
    if (TextColorKeeper *keeper = keeperOf(widget))
        keeper->setRule(std::move(rule));
    else
        (new TextColorKeeper(widget, std::move(rule)))->apply();
}

void keepReadable(QWidget *widget, const QColor &design)
{
    keepTextColor(widget, [design](const QWidget &shown) {
        return readableOn(design, shown.palette().color(QPalette::Window), neededContrast(shown.font()));
    });
}

void followPalette(QWidget *widget)
{
    delete keeperOf(widget);
    widget->setPalette(QPalette());
}
