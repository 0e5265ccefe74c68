#pragma once

#include "report/ReportDefinition.h"
#include "texts/Translation.h"

#include <QString>
#include <QStringList>

class MonthSummary;

// The month's attendance summary: a title with the unit and the month, one
// detail row per employee with the month's counts, each department's total
// after its employees and the unit's total last.
class SummaryReport : public ReportDefinition {
public:
    explicit SummaryReport(const Translation& language = Translation::Current());

    // Inputs, set before each run; the summary is not owned and must outlive the run.
    void setUnitName(const QString& name) { m_unitName = name; }
    void setSummary(const MonthSummary* summary) { m_summary = summary; }

    void ReportStart() override;
    void FetchData(bool& eof) override;

    // The column headings, as in the summary's CSV and spreadsheet (which
    // keep the source texts: Translation::Of(UiLanguage::Chinese)).
    static QStringList Headings(const Translation& language = Translation::Current());
    // "H:mm" of a number of minutes.
    static QString HoursText(int minutes);

private:
    Translation m_language;
    QString m_unitName;
    const MonthSummary* m_summary = nullptr;
    int m_employee = 0; // the next employee to fetch
    int m_dept = 0;     // the next department total
    bool m_done = false;
};
