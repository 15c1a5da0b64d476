#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace brenzola::test {

// The pages of a PDF file as written by Qt's PDF engine, with the texts drawn on each
// page (one entry per text run), decoded through the fonts' ToUnicode maps.
struct PdfContent {
    bool valid = false;
    QString error;
    int declaredPageCount = 0;   // the /Count of the page tree
    QList<QStringList> pages;    // one list of texts per page object, in page order
    QList<QByteArray> contents;  // the content stream of each page, inflated

    bool pageContains(int page, const QString& text) const;
};

PdfContent readPdf(const QString& path);

}  // namespace brenzola::test
