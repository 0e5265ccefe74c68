#include "report/ReportPrinter.h"

#include "report/ReportPainter.h"

#include <QBuffer>
#include <QPrintDialog>
#include <QPrinter>

ReportPrinter::ReportPrinter()
    : m_dialog([](QPrinter& printer, QWidget* parent) {
          QPrintDialog dialog(&printer, parent);
          return dialog.exec() == QDialog::Accepted;
      }) {}

ReportPrinter::Result ReportPrinter::Print(const ReportDocument& doc, bool showDialog,
                                           QWidget* parent, Error* error) const {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(doc.Caption());
    printer.setFromTo(0, 0);
    if (showDialog && !(m_dialog && m_dialog(printer, parent)))
        return Result::Cancelled;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return PrintToFile(printer, doc, error) ? Result::Printed : Result::Failed;
    if (!PrintTo(printer, doc)) {
        Error(QStringLiteral("the printer could not be started")).Report(error);
        return Result::Failed;
    }
    return Result::Printed;
}

bool ReportPrinter::PrintToFile(const QPrinter& printer, const ReportDocument& doc, Error* error) {
    int first = 0;
    int last = -1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = printer.toPage() > 0 ? printer.toPage() - 1 : -1;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // The dialog has asked before replacing an existing file.
    return ReportPainter::WritePdf(doc, buffer, error, first, last) &&
           ReportPainter::WriteFile(printer.outputFileName(), bytes, true, error);
}

bool ReportPrinter::PrintTo(QPrinter& printer, const ReportDocument& doc) {
    printer.setFullPage(true);
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
        return ReportPainter::PaintAll(printer, doc, printer.fromPage() - 1,
                                       printer.toPage() > 0 ? printer.toPage() - 1 : -1);
    return ReportPainter::PaintAll(printer, doc);
}
