#pragma once

#include "error/Error.h"

#include "report/ReportDocument.h"

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// Prints a report document, optionally after the printer dialog. The dialog
// is a seam: tests (and callers with their own dialog) replace it.
class ReportPrinter {
public:
    // Shows a printer dialog for `printer`; true to print, false to cancel.
    using Dialog = std::function<bool(QPrinter& printer, QWidget* parent)>;

    ReportPrinter();
    void setDialog(Dialog dialog) { m_dialog = std::move(dialog); }

    enum class Result { Printed, Cancelled, Failed };
    // Prints every page; with `showDialog` the dialog decides first.
    Result Print(const ReportDocument& doc, bool showDialog, QWidget* parent = nullptr,
                 Error* error = nullptr) const;
    // The printer dialog's print to a PDF file: the pages asked for, made in
    // memory and put into place whole by ReportPainter's file writer.
    static bool PrintToFile(const QPrinter& printer, const ReportDocument& doc,
                            Error* error = nullptr);
    // Prints onto a printer set up by the caller, without any dialog.
    static bool PrintTo(QPrinter& printer, const ReportDocument& doc);

private:
    Dialog m_dialog;
};
