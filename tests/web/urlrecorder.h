// Stands in for the desktop's browser: records every address the program asks
// the desktop to open, and the mouse pointer at that moment.
#pragma once

#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QList>
#include <QObject>
#include <QUrl>

class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }

    QList<QUrl> opened;
    QList<Qt::CursorShape> pointers;

public slots:
    void open(const QUrl &url)
    {
        opened.append(url);
        const QCursor *pointer = QGuiApplication::overrideCursor();
        pointers.append(pointer ? pointer->shape() : Qt::ArrowCursor);
    }
};
