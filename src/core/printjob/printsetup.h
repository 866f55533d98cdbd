// What every part of a print job is laid out and written with: the page, the
// resolution the catalogue was laid out for on screen, and what the printer
// and the PDF are told.
#pragma once

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QSizeF>
#include <QString>
#include <QTextOption>

struct PrintSetup {
    QPageLayout pageLayout;
    // Logical dots per inch of the preview's document: the copies lay out at
    // the same resolution, so lines and pages break as they would there.
    QSizeF sourceDpi{96, 96};
    // The document's default font, as QFont::toString() describes it: a font
    // shares what it resolves with its copies, on every thread.
    QString defaultFont;
    QTextOption defaultTextOption;
    int resolution = 1200;
    QPagedPaintDevice::PdfVersion pdfVersion = QPagedPaintDevice::PdfVersion_1_4;
    QString title;
    QString creator;
};
