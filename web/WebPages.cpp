#include "web/WebPages.h"

#include "reports/summary/SummaryReport.h"
#include "texts/DayVerdictText.h"
#include "web/HtmlPage.h"
#include "web/SvgChart.h"

#include <QLocale>
#include <QUrl>

#include <algorithm>
#include <map>
#include <numeric>

namespace WebPages {

using HtmlPage::Escape;

namespace {

const char* const Context = "WebPages";

// The locale of dates in the pages' language.
QLocale localeOf(const Translation& language) {
    return language.Language() == UiLanguage::English
               ? QLocale(QLocale::English, QLocale::UnitedStates)
               : QLocale(QLocale::Chinese, QLocale::China);
}

QString monthText(int year, int month) {
    return QStringLiteral("%1-%2").arg(year).arg(month, 2, 10, QLatin1Char('0'));
}

QString timeText(const QDateTime& t, const QDate& day, const Translation& language) {
    if (!t.isValid())
        return QString();
    if (t.date() != day)
        return localeOf(language).toString(
            t, language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "M月d日 HH:mm")));
    return t.toString(QStringLiteral("HH:mm"));
}

QString cell(const QString& text, bool number = false) {
    return (number ? QStringLiteral("<td class=\"n\">") : QStringLiteral("<td>")) + Escape(text) +
           QStringLiteral("</td>");
}

QString headRow(const QStringList& headings) {
    QString html = QStringLiteral("<tr>");
    for (const QString& h : headings)
        html += QStringLiteral("<th>") + Escape(h) + QStringLiteral("</th>");
    return html + QStringLiteral("</tr>");
}

QString table(const QString& id, const QString& rows) {
    return QStringLiteral("<div class=\"scroll\"><table id=\"%1\">%2</table></div>").arg(id, rows);
}

QString employeeLink(const QString& number, int year, int month) {
    const QString href =
        QStringLiteral("/employee?number=%1&month=%2")
            .arg(QString::fromLatin1(QUrl::toPercentEncoding(number)), monthText(year, month));
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(Escape(href), Escape(number));
}

QString countsRow(const SummaryCounts& s) {
    return cell(QString::number(s.workingDays), true) + cell(QString::number(s.present), true) +
           cell(QString::number(s.lateCount), true) + cell(QString::number(s.lateMinutes), true) +
           cell(QString::number(s.earlyCount), true) + cell(QString::number(s.earlyMinutes), true) +
           cell(QString::number(s.missingDepartures), true) +
           cell(QString::number(s.absent), true) +
           cell(SummaryReport::HoursText(s.workedMinutes), true);
}

} // namespace

QString Today(DbSession& session, const QDateTime& now, const QString& unitName,
              const Translation& language, Error* why) {
    MonthSummary month;
    if (!MonthSummary::Load(session, now.date().year(), now.date().month(), now.date(), &month,
                            why))
        return QString();
    return Today(month, now, unitName, language);
}

QString Today(const MonthSummary& month, const QDateTime& now, const QString& unitName,
              const Translation& language) {
    const QDate today = now.date();
    const int d = today.day() - 1;
    int present = 0, notArrived = 0, resting = 0;
    // By department (the summary's order), the records of those who came.
    QString sections;
    QString dept;
    QString rows;
    int deptPresent = 0, section = 0;
    const auto flush = [&] {
        if (deptPresent > 0)
            sections +=
                QStringLiteral("<h2>%1 <small>%2</small></h2>")
                    .arg(Escape(dept.isEmpty()
                                    ? language.Text(Context,
                                                    QT_TRANSLATE_NOOP("WebPages", "（无部门）"))
                                    : dept),
                         Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "(%1人)"))
                                    .arg(deptPresent))) +
                table(QStringLiteral("today-") + QString::number(section++),
                      headRow({language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "编号")),
                               language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "姓名")),
                               language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "到达")),
                               language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "离开")),
                               language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "情况"))}) +
                          rows);
        rows.clear();
        deptPresent = 0;
    };
    for (const EmployeeSummary& e : month.employees) {
        if (e.dept != dept) {
            flush();
            dept = e.dept;
        }
        const DayVerdict& v = e.days[d];
        const DayRecord& r = e.records[d];
        if (v.present || r.arrival.isValid()) {
            ++present;
            ++deptPresent;
            const bool bad = v.late || v.early;
            rows += QStringLiteral("<tr>") + cell(e.number) + cell(e.name) +
                    cell(timeText(r.arrival, today, language)) +
                    cell(timeText(r.departure, today, language)) +
                    (bad ? QStringLiteral("<td class=\"late\">") +
                               Escape(DayVerdictText(v, language)) + QStringLiteral("</td>")
                         : cell(DayVerdictText(v, language))) +
                    QStringLiteral("</tr>");
        } else if (v.kind == DayKind::Working) {
            ++notArrived;
        } else if (v.kind == DayKind::Rest || v.kind == DayKind::Holiday) {
            ++resting;
        }
    }
    flush();
    const QString body =
        QStringLiteral("<h1>%1</h1><div class=\"counts\"><span id=\"present\">%2</span>"
                       "<span id=\"notarrived\">%3</span><span id=\"resting\">%4</span>"
                       "<span>%5</span></div>")
            .arg(Escape(
                     language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "今日 %1"))
                         .arg(localeOf(language).toString(
                             today, language.Text(Context, QT_TRANSLATE_NOOP(
                                                               "WebPages", "yyyy年M月d日 dddd"))))),
                 Escape(
                     language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "已到 %1")).arg(present)),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "未到 %1"))
                            .arg(notArrived)),
                 Escape(
                     language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "休息 %1")).arg(resting)),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "更新于 %1"))
                            .arg(now.toString(QStringLiteral("HH:mm:ss"))))) +
        (sections.isEmpty() ? QStringLiteral("<p>%1</p>")
                                  .arg(Escape(language.Text(
                                      Context, QT_TRANSLATE_NOOP("WebPages", "今天还没有记录。"))))
                            : sections);
    return HtmlPage::Document({language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "今日")),
                               HtmlPage::Tab::Today, 30, unitName},
                              body, language);
}

QString NotArrived(const std::vector<ListedEmployee>& list, const QDateTime& now,
                   const QString& unitName, const Translation& language) {
    QString rows = headRow({language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "部门")),
                            language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "编号")),
                            language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "姓名"))});
    for (const ListedEmployee& e : list)
        rows += QStringLiteral("<tr>") + cell(e.dept) +
                QStringLiteral("<td>%1</td>")
                    .arg(employeeLink(e.number, now.date().year(), now.date().month())) +
                cell(e.name) + QStringLiteral("</tr>");
    const QString body =
        QStringLiteral("<h1>%1 <small>%2</small></h1>")
            .arg(Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "今日未到"))),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "(%1人, %2)"))
                            .arg(list.size())
                            .arg(now.toString(QStringLiteral("yyyy-MM-dd HH:mm"))))) +
        table(QStringLiteral("notarrived"), rows);
    return HtmlPage::Document({language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "今日未到")),
                               HtmlPage::Tab::NotArrived, 60, unitName},
                              body, language);
}

QString MissingDepartures(const std::vector<ListedEmployee>& list, const QDate& from,
                          const QDate& to, const QString& unitName, const Translation& language) {
    QString rows = headRow({language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "部门")),
                            language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "编号")),
                            language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "姓名")),
                            language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "到达"))});
    for (const ListedEmployee& e : list)
        rows +=
            QStringLiteral("<tr>") + cell(e.dept) +
            QStringLiteral("<td>%1</td>")
                .arg(employeeLink(e.number, e.arrival.date().year(), e.arrival.date().month())) +
            cell(e.name) + cell(e.arrival.toString(QStringLiteral("yyyy-MM-dd HH:mm"))) +
            QStringLiteral("</tr>");
    const QString body =
        QStringLiteral("<h1>%3</h1><form class=\"inline\" method=\"get\" action=\"/missing\">"
                       "<label>%4<input type=\"date\" name=\"from\" value=\"%1\"></label>"
                       "<label>%5<input type=\"date\" name=\"to\" value=\"%2\"></label>"
                       "<button type=\"submit\">%6</button></form><p>%7</p>")
            .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "未签退"))),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "从"))),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "到"))),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "查询"))),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "%1条记录"))
                            .arg(list.size()))) +
        table(QStringLiteral("missing"), rows);
    return HtmlPage::Document({language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "未签退")),
                               HtmlPage::Tab::MissingDepartures, 0, unitName},
                              body, language);
}

QStringList MonthCells(const EmployeeSummary& e) {
    const SummaryCounts& s = e.counts;
    return {e.number,
            e.name,
            e.dept,
            QString::number(s.workingDays),
            QString::number(s.present),
            QString::number(s.lateCount),
            QString::number(s.lateMinutes),
            QString::number(s.earlyCount),
            QString::number(s.earlyMinutes),
            QString::number(s.missingDepartures),
            QString::number(s.absent),
            SummaryReport::HoursText(s.workedMinutes),
            QString::number(e.corrections)};
}

QString Month(const MonthSummary& month, int sortColumn, bool descending, const QString& unitName,
              const Translation& language) {
    const QString ym = monthText(month.year, month.month);
    // Sorted by the column's value: text as text, counts and time as numbers.
    std::vector<const EmployeeSummary*> order;
    order.reserve(month.employees.size());
    for (const EmployeeSummary& e : month.employees)
        order.push_back(&e);
    if (sortColumn >= 0 && sortColumn < kSortColumns) {
        const auto key = [sortColumn](const EmployeeSummary& e) -> qint64 {
            const SummaryCounts& s = e.counts;
            const int values[] = {0,
                                  0,
                                  0,
                                  s.workingDays,
                                  s.present,
                                  s.lateCount,
                                  s.lateMinutes,
                                  s.earlyCount,
                                  s.earlyMinutes,
                                  s.missingDepartures,
                                  s.absent,
                                  s.workedMinutes,
                                  e.corrections};
            return values[sortColumn];
        };
        std::stable_sort(order.begin(), order.end(),
                         [&](const EmployeeSummary* a, const EmployeeSummary* b) {
                             if (sortColumn < 3) {
                                 const QString& x = sortColumn == 0   ? a->number
                                                    : sortColumn == 1 ? a->name
                                                                      : a->dept;
                                 const QString& y = sortColumn == 0   ? b->number
                                                    : sortColumn == 1 ? b->name
                                                                      : b->dept;
                                 return descending ? y < x : x < y;
                             }
                             return descending ? key(*b) < key(*a) : key(*a) < key(*b);
                         });
    }
    const QStringList headings = SummaryReport::Headings(language);
    QString head = QStringLiteral("<tr>");
    for (int c = 0; c < headings.size(); ++c) {
        const bool down = c == sortColumn && !descending;
        head +=
            QStringLiteral("<th><a href=\"/month?month=%1&amp;sort=%2&amp;order=%3\">%4%5</a></th>")
                .arg(ym)
                .arg(c)
                .arg(down ? QStringLiteral("desc") : QStringLiteral("asc"))
                .arg(Escape(headings[c]))
                .arg(c == sortColumn ? (descending ? QStringLiteral(" ▼") : QStringLiteral(" ▲"))
                                     : QString());
    }
    head += QStringLiteral("</tr>");
    QString rows;
    for (const EmployeeSummary* e : order) {
        const QStringList cells = MonthCells(*e);
        rows +=
            QStringLiteral("<tr><td>%1</td>").arg(employeeLink(e->number, month.year, month.month));
        for (int c = 1; c < cells.size(); ++c)
            rows += cell(cells[c], c >= 3);
        rows += QStringLiteral("</tr>");
    }
    QString depts =
        headRow(QStringList{language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "部门"))} +
                headings.mid(3, 9));
    for (const auto& [name, counts] : month.departments)
        depts += QStringLiteral("<tr>") +
                 cell(name.isEmpty()
                          ? language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "（无部门）"))
                          : name) +
                 countsRow(counts) + QStringLiteral("</tr>");
    depts += QStringLiteral("<tr class=\"total\">") +
             cell(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "合计"))) +
             countsRow(month.unit) + QStringLiteral("</tr>");

    std::vector<SvgChart::Bar> rate;
    for (int d = 0; d < int(month.presenceRate.size()); ++d)
        rate.push_back({QString::number(d + 1), month.presenceRate[d] * 100.0});
    std::vector<SvgChart::Bar> late;
    for (const auto& [name, count] : month.lateByDepartment)
        late.push_back({name.isEmpty()
                            ? language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "无部门"))
                            : name,
                        double(count)});

    const QString body =
        QStringLiteral("<h1>%2 %1</h1><form class=\"inline\" method=\"get\" action=\"/month\">"
                       "<label>%3<input type=\"month\" name=\"month\" value=\"%1\"></label>"
                       "<button type=\"submit\">%4</button></form>"
                       "<p class=\"downloads\">%5<a id=\"csv\" href=\"/month.csv?month=%1\">CSV</a>"
                       "<a id=\"xlsx\" href=\"/month.xlsx?month=%1\">XLSX</a>"
                       "<a id=\"pdf\" href=\"/month.pdf?month=%1\">PDF</a></p>")
            .arg(ym, Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "月度统计"))),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "月份"))),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "查看"))),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "下载：")))) +
        table(QStringLiteral("summary"), head + rows) +
        QStringLiteral("<h2>%1</h2>")
            .arg(Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "部门合计")))) +
        table(QStringLiteral("departments"), depts) +
        QStringLiteral("<h2>%1</h2>")
            .arg(Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "每日出勤率")))) +
        SvgChart::Bars(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "每日出勤率")), rate,
                       100, QStringLiteral("%")) +
        QStringLiteral("<h2>%1</h2>")
            .arg(Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "各部门迟到次数")))) +
        SvgChart::Bars(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "各部门迟到次数")),
                       late);
    return HtmlPage::Document({language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "月度统计")) +
                                   QStringLiteral(" ") + ym,
                               HtmlPage::Tab::Month, 0, unitName},
                              body, language);
}

QString Employee(const MonthSummary& month, const EmployeeSummary& e, const QString& unitName,
                 const Translation& language) {
    const QString ym = monthText(month.year, month.month);
    QString rows = headRow({language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "日期")),
                            language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "到达")),
                            language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "离开")),
                            language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "情况")),
                            language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "修正"))});
    const QLocale locale = localeOf(language);
    for (int d = 0; d < int(e.days.size()); ++d) {
        const QDate day(month.year, month.month, d + 1);
        const DayRecord& r = e.records[d];
        rows += QStringLiteral("<tr>") +
                cell(locale.toString(
                    day, language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "M月d日 ddd")))) +
                cell(timeText(r.arrival, day, language)) +
                cell(timeText(r.departure, day, language)) +
                cell(DayVerdictText(e.days[d], language)) +
                cell(d < int(e.marks.size()) ? DayMarkText(e.marks[d], language) : QString()) +
                QStringLiteral("</tr>");
    }
    const QString body =
        QStringLiteral("<h1>%1 %2 <small>%3</small></h1>"
                       "<form class=\"inline\" method=\"get\" action=\"/employee\">"
                       "<input type=\"hidden\" name=\"number\" value=\"%1\">"
                       "<label>%5<input type=\"month\" name=\"month\" value=\"%4\"></label>"
                       "<button type=\"submit\">%6</button></form>")
            .arg(Escape(e.number), Escape(e.name), Escape(e.dept), ym,
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "月份"))),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "查看")))) +
        table(QStringLiteral("days"), rows) +
        QStringLiteral("<h2>%1</h2>")
            .arg(Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "本月合计")))) +
        table(QStringLiteral("totals"), headRow(SummaryReport::Headings(language).mid(3, 9)) +
                                            QStringLiteral("<tr>") + countsRow(e.counts) +
                                            QStringLiteral("</tr>"));
    return HtmlPage::Document(
        {e.name + QStringLiteral(" ") + ym, HtmlPage::Tab::Month, 0, unitName}, body, language);
}

QString SignIn(const QString& message, const Translation& language) {
    QString body =
        QStringLiteral("<form class=\"signin\" method=\"post\" action=\"/login\"><h1>%1</h1>")
            .arg(Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "考勤查看"))));
    if (!message.isEmpty())
        body += QStringLiteral("<p class=\"error\" id=\"message\">%1</p>").arg(Escape(message));
    body += QStringLiteral("<label>%1<input type=\"password\" name=\"password\" id=\"password\" "
                           "autocomplete=\"current-password\" autofocus required></label>"
                           "<button type=\"submit\" id=\"signin\">%2</button></form>")
                .arg(Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "密码"))),
                     Escape(language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "登录"))));
    return HtmlPage::Document({language.Text(Context, QT_TRANSLATE_NOOP("WebPages", "登录")),
                               HtmlPage::Tab::None, 0, QString()},
                              body, language);
}

} // namespace WebPages
