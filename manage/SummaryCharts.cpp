#include "manage/SummaryCharts.h"

#include "shared/attendance/MonthSummary.h"

#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QValueAxis>

#include <QCoreApplication>

namespace {

// A chart of one bar set over the categories, its value axis from 0 to `top`.
QChart* barChart(const QString& title, const QString& setName, const QStringList& categories,
                 const QList<qreal>& values, qreal top, const QString& valueFormat) {
    auto* chart = new QChart; // the caller hands it to a chart view, which owns it
    chart->setTitle(title);
    chart->legend()->hide();
    auto* set = new QBarSet(setName); // owned by the series
    set->append(values);
    auto* series = new QBarSeries(chart); // owned by the chart
    series->append(set);
    chart->addSeries(series);

    auto* x = new QBarCategoryAxis(chart);
    x->append(categories);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = new QValueAxis(chart);
    y->setRange(0, top);
    y->setLabelFormat(valueFormat);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    return chart;
}

// What a day of the month was for the unit: a working day when anybody had
// to work, else a holiday or a rest day as the employees' days say.
DayKind unitDay(const MonthSummary& summary, size_t day) {
    DayKind kind = DayKind::NotCounted;
    for (const EmployeeSummary& e : summary.employees) {
        const DayKind k = day < e.days.size() ? e.days[day].kind : DayKind::NotCounted;
        if (k == DayKind::Working)
            return k;
        if (k == DayKind::Holiday || (k == DayKind::Rest && kind == DayKind::NotCounted))
            kind = k;
    }
    return kind;
}

} // namespace

namespace SummaryCharts {

QChart* PresenceChart(const MonthSummary& summary) {
    QStringList days;
    QList<qreal> rates;
    for (size_t i = 0; i < summary.presenceRate.size(); ++i) {
        // Rest days and holidays are marked, so that a working day nobody
        // attended (a bar at 0) reads apart from a day nobody had to work.
        const DayKind kind = unitDay(summary, i);
        days << QString::number(i + 1) +
                    (kind == DayKind::Rest ? QCoreApplication::translate("SummaryCharts", "休")
                     : kind == DayKind::Holiday ? QCoreApplication::translate("SummaryCharts", "假")
                                                : QString());
        rates << 100.0 * summary.presenceRate[i];
    }
    QChart* chart = barChart(QCoreApplication::translate("SummaryCharts", "%1年%2月 每日出勤率")
                                 .arg(summary.year)
                                 .arg(summary.month),
                             QCoreApplication::translate("SummaryCharts", "出勤率"), days, rates,
                             100, QStringLiteral("%d%%"));
    // Upright day numbers fit under 31 narrow bars, where level ones are cut to "...".
    if (auto* x = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).value(0)))
        x->setLabelsAngle(-90);
    return chart;
}

QChart* LateChart(const MonthSummary& summary) {
    QStringList depts;
    QList<qreal> counts;
    int most = 0;
    for (const auto& [dept, late] : summary.lateByDepartment) {
        depts << dept;
        counts << late;
        most = std::max(most, late);
    }
    // Whole numbers on the axis: a tick a unit up to ten, else round steps.
    QChart* chart = barChart(QCoreApplication::translate("SummaryCharts", "%1年%2月 各部门迟到次数")
                                 .arg(summary.year)
                                 .arg(summary.month),
                             QCoreApplication::translate("SummaryCharts", "迟到次数"), depts,
                             counts, std::max(most, 1), QStringLiteral("%d"));
    if (auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0))) {
        if (most <= 10)
            y->setTickCount(std::max(most, 1) + 1);
        else
            y->applyNiceNumbers();
    }
    return chart;
}

} // namespace SummaryCharts
