#pragma once

#include <QRect>
#include <QString>

// Text of a PDF as poppler's pdftotext reads it: a whole page (0: all pages),
// or only the part of one page inside `twips` (page coordinates).
QString PdfText(const QString& pdf, int page = 0);
QString PdfTextIn(const QString& pdf, int page, const QRect& twips);
