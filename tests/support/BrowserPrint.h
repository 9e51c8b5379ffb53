#pragma once

#include <QByteArray>
#include <QString>

// A page as headless Chromium prints it to PDF, read back with poppler.
struct PrintedPage {
    QString text; // pdftotext's text, every run of blanks as one blank
    QString info; // pdfinfo's report (page size, page count)
    QString error; // empty when the page was printed and read
};

// Empty when chromium, pdftotext and pdfinfo are installed; otherwise what
// is missing.
QString MissingBrowserTools();

// Prints the page at htmlPath. A non-empty printStyle is put into a copy of
// the page's head first (a print setting the user would choose).
PrintedPage PrintInBrowser(const QString& htmlPath, const QByteArray& printStyle = {});
