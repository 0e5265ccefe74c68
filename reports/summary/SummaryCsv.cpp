#include "reports/summary/SummaryCsv.h"

#include "reports/summary/SummaryReport.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/base/AtomicFile.h"
#include "shared/base/CsvText.h"

namespace SummaryCsv {

QByteArray Bytes(const MonthSummary& summary) {
    // The twelve columns of the month's figures; the corrected days are shown
    // in the report and the spreadsheet only, so the file's layout stays fixed.
    QString text =
        CsvText::Line(SummaryReport::Headings(Translation::Of(UiLanguage::Chinese)).mid(0, 12));
    for (const EmployeeSummary& e : summary.employees) {
        const SummaryCounts& s = e.counts;
        text +=
            CsvText::Line({e.number, e.name, e.dept, QString::number(s.workingDays),
                           QString::number(s.present), QString::number(s.lateCount),
                           QString::number(s.lateMinutes), QString::number(s.earlyCount),
                           QString::number(s.earlyMinutes), QString::number(s.missingDepartures),
                           QString::number(s.absent), SummaryReport::HoursText(s.workedMinutes)});
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8(); // the BOM tells spreadsheets it is UTF-8
}

bool Write(const MonthSummary& summary, const QString& path, Error* error) {
    return AtomicFile::WriteWhole(path, Bytes(summary), false, error);
}

} // namespace SummaryCsv
