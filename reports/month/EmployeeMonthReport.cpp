#include "reports/month/EmployeeMonthReport.h"

#include "shared/base/AppClock.h"
#include "shared/db/DbDateTime.h"
#include "shared/records/MonthChoice.h"
#include "shared/records/clsEmployeePresenceSet.h"

#include <QCoreApplication>

namespace {

// Left edges of the 16 day columns; the sixth is one twip narrower.
constexpr int kColumnLeft[16] = {1134, 1701, 2268, 2835, 3402, 3969, 4535, 5102,
                                 5669, 6236, 6803, 7370, 7937, 8504, 9071, 9638};

int columnWidth(int c) {
    return c < 15 ? kColumnLeft[c + 1] - kColumnLeft[c] : 567;
}

ReportControl& cell(ReportBand& band, const QString& name, const QRect& rect,
                    const QString& text = QString(), double size = 9) {
    ReportControl& c = band.AddLabel(name, rect, text);
    c.fontSize = size;
    c.alignment = Qt::AlignCenter;
    c.border = true;
    c.lineWidth = 10;
    return c;
}

QString enterName(int d) {
    return QStringLiteral("lblEnter%1").arg(d);
}
QString exitName(int d) {
    return QStringLiteral("lblExit%1").arg(d);
}

} // namespace

EmployeeMonthReport::EmployeeMonthReport() {
    setCaption(QCoreApplication::translate("EmployeeMonthReport", "员工出勤月报表"));
    setPrintWidth(10205);
    setMargins(850, 1134, 851, 1134);

    ReportBand& header = PageHeader();
    header.setHeight(1701);
    ReportControl& school = header.AddLabel(QStringLiteral("lblSchoolName"), {0, 0, 10205, 425});
    school.fontSize = 16;
    school.bold = true;
    school.alignment = Qt::AlignCenter;
    // The month number and the fixed text read as one title line.
    ReportControl& month = header.AddLabel(QStringLiteral("lblMonth"), {3260, 567, 709, 425});
    month.fontSize = 14;
    month.alignment = Qt::AlignRight | Qt::AlignVCenter;
    ReportControl& title =
        header.AddLabel(QStringLiteral("Label1"), {3969, 567, 2976, 425},
                        QCoreApplication::translate("EmployeeMonthReport", "月员工考勤报表"));
    title.fontSize = 14;
    cell(header, QStringLiteral("Label2"), {0, 1134, 1134, 567},
         QCoreApplication::translate("EmployeeMonthReport", "姓名"), 10.5);
    for (int i = 0; i < 32; ++i) {
        const int c = i / 2;
        const bool upper = i % 2 == 0;
        const QRect r(kColumnLeft[c], upper ? 1134 : 1417, columnWidth(c), upper ? 283 : 284);
        cell(header, QStringLiteral("Label%1").arg(30 + i), r,
             i < 31 ? QString::number(i + 1) : QString());
    }

    ReportBand& detail = Detail();
    detail.setHeight(1134);
    ReportControl& name = cell(detail, QStringLiteral("lblName"), {0, 0, 1134, 1134}, {}, 10.5);
    name.wordWrap = true;
    for (int d = 1; d <= 31; ++d) {
        const int c = (d - 1) / 2;
        const int top = d % 2 == 1 ? 0 : 567;
        cell(detail, enterName(d), {kColumnLeft[c], top, columnWidth(c), 283});
        cell(detail, exitName(d), {kColumnLeft[c], top + 283, columnWidth(c), 284});
    }
    cell(detail, QStringLiteral("Label122"), {9638, 567, 567, 283});
    cell(detail, QStringLiteral("Label123"), {9638, 850, 567, 284});

    ReportBand& footer = PageFooter();
    footer.setHeight(283);
    footer.AddLabel(QStringLiteral("Label124"), {7370, 0, 1134, 283},
                    QCoreApplication::translate("EmployeeMonthReport", "打印日期："));
    footer.AddLabel(QStringLiteral("lblPrintDate"), {8504, 0, 1701, 283});
}

void EmployeeMonthReport::ReportStart() {
    SetText(QStringLiteral("lblSchoolName"), m_schoolName);
    // The month before the title: its number in Chinese ("3月..."), its short
    // name in English ("Mar ..."); the C locale's names are the English ones.
    const QDate first(m_year, m_month, 1);
    SetText(QStringLiteral("lblMonth"),
            first.isValid()
                ? QLocale::c().toString(first, QCoreApplication::translate(
                                                   "EmployeeMonthReport", "M",
                                                   "date format of the month before the title"))
                : QString::number(m_month));
    // The date as the station shows it everywhere, whatever the locale.
    SetText(QStringLiteral("lblPrintDate"),
            AppClock::now().date().toString(QStringLiteral("yyyy-M-d")));
    m_row = 0; // every run starts again at the first employee
}

void EmployeeMonthReport::FetchData(bool& eof) {
    ++m_row;
    if (!m_table || m_row > m_table->Count()) {
        eof = true;
        return;
    }
    eof = false;
    const clsSingleEmployeeMonPresence& e = m_table->Item(m_row);
    ReportBand& detail = Detail();
    detail.SetText(QStringLiteral("lblName"), e.ENAME());
    const int last = MonthChoice::LastDay(m_year, m_month);
    for (int d = 1; d <= 31; ++d) {
        // Days the month does not have stay empty (also after a longer month
        // was run with this same report).
        if (d > last) {
            detail.SetText(enterName(d), QString());
            detail.SetText(exitName(d), QString());
            continue;
        }
        const QDateTime day(QDate(m_year, m_month, d), QTime(0, 0));
        detail.SetText(enterName(d), TimeText(e.GetEnterTime(day)));
        detail.SetText(exitName(d), TimeText(e.GetExitTime(day)));
    }
}

bool EmployeeMonthReport::LoadMonthTable(DbSession& session, int year, int month,
                                         clsEmployeePresenceSet& table) {
    const QDate first = MonthChoice::FirstDate(year, month);
    if (!first.isValid())
        return false;
    return table.LoadByDate(session, QDateTime(first, QTime(0, 0)),
                            QDateTime(MonthChoice::LastDate(year, month), QTime(0, 0)));
}

QString EmployeeMonthReport::TimeText(const QDateTime& t) {
    if (!t.isValid() || DbDateTime::IsZero(t))
        return QString();
    return t.toString(QStringLiteral("HH:mm"));
}
