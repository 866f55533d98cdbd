// Joins the PDF files a print job wrote in parts into one PDF: every page in
// order, each with the fonts its part embedded, and the first part's document
// information (title, creator).
#pragma once

#include <QStringList>

#include <functional>

class QIODevice;

class PdfJoin
{
public:
    enum Result { Joined, Cancelled, PartUnreadable, WriteFailed };

    // `keepGoing` is asked after each part and each write; once it answers
    // false the join stops. `target` gets nothing more after its first failed write.
    static Result join(const QStringList &parts, QIODevice &target, const std::function<bool()> &keepGoing);
};
