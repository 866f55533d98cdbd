// Feeds the catalogue into a view a few font blocks per turn of the event loop,
// so the first screen shows at once and the window answers while the rest is laid out.
#pragma once

#include "preview/cataloguebuilder.h"
#include "preview/fontrelease.h"

#include <QObject>
#include <QTimer>

class QTextEdit;

class CatalogueFeeder : public QObject
{
    Q_OBJECT
public:
    CatalogueFeeder(QTextEdit *view, const PrintOptions &options, const QStringList &fontNames, const QDateTime &now,
                    const QLocale &locale, QObject *parent = nullptr);

    // Writes the header and the blocks that fill a first screen, then goes on
    // in the background.
    void start();
    // Writes everything that is still missing, at once.
    void finish();
    void stop();
    bool isFinished() const { return m_builder.isFinished(); }

signals:
    void finished();

private:
    void feed();

    QTextEdit *m_view;
    CatalogueBuilder m_builder;
    FontRelease *m_fontRelease;
    QTimer m_timer;
};
