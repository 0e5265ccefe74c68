#pragma once

#include "error/Error.h"

#include "report/ReportDocument.h"

#include <QImage>
#include <QString>
#include <functional>

class QIODevice;
class QPainter;
class QPagedPaintDevice;

// Paints the pages of a report document with QPainter: onto any paint
// device, an image, a PDF file (the text stays text) or a printer.
namespace ReportPainter {

// Paints one page with the painter's origin at the paper's top-left corner;
// `highlight` (twips) is marked, e.g. a hit of the find tool.
void PaintPage(QPainter& painter, const ReportDocument& doc, int page,
               const QRect& highlight = QRect());

// One page as a white image at `dpi` dots per inch, `highlight` marked.
QImage PageImage(const ReportDocument& doc, int page, int dpi = 150,
                 const QRect& highlight = QRect());

// All pages onto a paged device (PDF writer, printer with full-page set),
// with the document's paper and no margins; false when painting cannot start.
// `first` and `last` (0-based, -1: the last page) choose a range of pages.
bool PaintAll(QPagedPaintDevice& device, const ReportDocument& doc, int first = 0, int last = -1);

// The whole document as PDF into an open device.
bool WritePdf(const ReportDocument& doc, QIODevice& out, Error* error = nullptr, int first = 0,
              int last = -1);
// The whole document into a PDF file, made in memory and handed whole to
// the file writer. With overwrite false an existing file is refused and left
// alone; a failed write leaves no file behind.
bool WritePdfFile(const ReportDocument& doc, const QString& fileName, bool overwrite,
                  Error* error = nullptr);

// Whether a label's text fits its box in the font it is painted with: on one
// line within the box's width and height, or, word-wrapped, within its
// height with no word wider than the box. For checks of fixed texts (a
// translation must fit the cell the layout gives it).
bool TextFits(const ReportControl& label);

// Puts a finished file's bytes under `fileName`, replacing an existing file
// or refusing it. The engine knows no file system tricks; the programs
// install one that links the file into place only when it is complete, so a
// killed writer leaves nothing. The default writes the file in place.
using FileWriter = std::function<bool(const QString& fileName, const QByteArray& bytes,
                                      bool replace, Error* error)>;
void SetFileWriter(FileWriter writer);
// The bytes through the installed writer.
bool WriteFile(const QString& fileName, const QByteArray& bytes, bool replace, Error* error);

} // namespace ReportPainter
