#include "reports/summary/SummaryReport.h"

#include "shared/attendance/MonthSummary.h"
#include "shared/base/AppClock.h"

namespace {

const char* const Context = "SummaryReport";

// Widths of the columns in twips: number, name, department, nine counts, the
// corrected days.
constexpr int kColumns = 13;
constexpr int kWidth[kColumns] = {1000, 1100, 1385, 680, 680, 680, 680,
                                  680,  680,  680,  680, 800, 480};
constexpr int kRowHeight = 340;

QString columnName(int c) {
    return QStringLiteral("lblCol%1").arg(c);
}

QStringList countTexts(const SummaryCounts& s) {
    return {QString::number(s.workingDays),
            QString::number(s.present),
            QString::number(s.lateCount),
            QString::number(s.lateMinutes),
            QString::number(s.earlyCount),
            QString::number(s.earlyMinutes),
            QString::number(s.missingDepartures),
            QString::number(s.absent),
            SummaryReport::HoursText(s.workedMinutes)};
}

} // namespace

SummaryReport::SummaryReport(const Translation& language) : m_language(language) {
    setCaption(m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "考勤月汇总")));
    setPrintWidth(10205);
    setMargins(850, 1134, 851, 1134);

    ReportBand& header = PageHeader();
    header.setHeight(1417);
    ReportControl& title = header.AddLabel(QStringLiteral("lblTitle"), {0, 0, 10205, 567});
    title.fontSize = 15;
    title.bold = true;
    title.alignment = Qt::AlignCenter;
    // Narrow columns take a heading on two lines: broken between its words,
    // never inside one ("出勤天 / 数").
    const QStringList headings = {
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "编号")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "姓名")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "部门")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "应出勤\n天数")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "出勤\n天数")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "迟到\n次数")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "迟到\n分钟")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "早退\n次数")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "早退\n分钟")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "未签退\n次数")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "缺勤\n天数")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "工作\n时长")),
        m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "修正\n天数"))};
    ReportBand& detail = Detail();
    detail.setHeight(kRowHeight);
    for (int c = 0, left = 0; c < kColumns; left += kWidth[c], ++c) {
        ReportControl& h = header.AddLabel(QStringLiteral("lblHead%1").arg(c),
                                           {left, 737, kWidth[c], 680}, headings[c]);
        h.fontSize = 8;
        h.bold = true;
        h.wordWrap = true;
        h.border = true;
        h.alignment = Qt::AlignCenter;
        ReportControl& cell = detail.AddLabel(columnName(c), {left, 0, kWidth[c], kRowHeight});
        cell.fontSize = 8;
        cell.border = true;
        cell.lineWidth = 10;
        cell.alignment = c < 3 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;
    }

    ReportBand& footer = PageFooter();
    footer.setHeight(283);
    footer.AddLabel(QStringLiteral("lblPrintLabel"), {7370, 0, 1134, 283},
                    m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "打印日期：")));
    footer.AddLabel(QStringLiteral("lblPrintDate"), {8504, 0, 1701, 283});
}

QStringList SummaryReport::Headings(const Translation& language) {
    return {language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "编号")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "姓名")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "部门")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "应出勤天数")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "出勤天数")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "迟到次数")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "迟到分钟")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "早退次数")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "早退分钟")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "未签退次数")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "缺勤天数")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "工作时长")),
            language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "修正天数"))};
}

QString SummaryReport::HoursText(int minutes) {
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

void SummaryReport::ReportStart() {
    const QString month =
        m_summary ? m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "%1年%2月"))
                        .arg(m_summary->year)
                        .arg(m_summary->month)
                  : QString();
    SetText(QStringLiteral("lblTitle"),
            m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "%1 %2考勤汇总"))
                .arg(m_unitName, month)
                .trimmed());
    SetText(QStringLiteral("lblPrintDate"),
            AppClock::now().date().toString(QStringLiteral("yyyy-M-d")));
    m_employee = 0;
    m_dept = 0;
    m_done = false;
}

void SummaryReport::FetchData(bool& eof) {
    eof = !m_summary || m_done;
    if (eof)
        return;
    const auto& people = m_summary->employees;
    QStringList row;
    // A department's total follows its last employee.
    const bool deptEnds = m_employee > 0 && m_dept < int(m_summary->departments.size()) &&
                          m_summary->departments[m_dept].first == people[m_employee - 1].dept &&
                          (m_employee == int(people.size()) ||
                           people[m_employee].dept != people[m_employee - 1].dept);
    if (deptEnds) {
        const auto& [name, counts] = m_summary->departments[m_dept++];
        row << QString() << m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "部门合计"))
            << (name.isEmpty()
                    ? m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "（无部门）"))
                    : name)
            << countTexts(counts) << QString();
    } else if (m_employee < int(people.size())) {
        const EmployeeSummary& e = people[m_employee++];
        row << e.number << e.name << e.dept << countTexts(e.counts)
            << QString::number(e.corrections);
    } else {
        row << QString() << m_language.Text(Context, QT_TRANSLATE_NOOP("SummaryReport", "单位合计"))
            << QString() << countTexts(m_summary->unit) << QString();
        m_done = true;
    }
    for (int c = 0; c < kColumns; ++c)
        Detail().SetText(columnName(c), row[c]);
}
