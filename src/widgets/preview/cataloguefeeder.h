// Feeds the catalogue into a view a few font blocks per turn of the event loop,
// so the first screen shows at once and the window answers while the rest is laid out.
#pragma once

#include "preview/cataloguebuilder.h"

#include <QObject>
#include <QTimer>

class FontRelease;
class QTextEdit;
class QWidget;

class CatalogueFeeder : public QObject
{
    Q_OBJECT
public:
    CatalogueFeeder(QTextEdit *view, const PrintOptions &options, const QStringList &fontNames, const QDateTime &now,
                    const QLocale &locale, QObject *parent = nullptr);

    // Writes the header and the blocks that fill a first screen, then goes on
    // in the background.
    void start();
    // Goes on writing at full pace under a progress window until the
    // catalogue is complete; false if the user cancelled the wait.
    bool completeUnderProgress(QWidget *window);
    void stop();
    bool isFinished() const { return m_builder.isFinished(); }

signals:
    void finished();
    void progressed(int fontsWritten);

private:
    void feed();

    QTextEdit *m_view;
    CatalogueBuilder m_builder;
    FontRelease *m_fontRelease;
    QTimer m_timer;
};
