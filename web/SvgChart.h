#pragma once

#include <QString>

#include <utility>
#include <vector>

// Bar charts as SVG text, made by the server and put inline into the page,
// so the browser needs no script and no font or picture from elsewhere.
namespace SvgChart {

struct Bar {
    QString label; // plain text, escaped here
    double value = 0;
};

// One bar a value, from 0 up to `maxValue` (the largest value when 0 or
// less), with the value above each bar (`decimals` places, then
// `valueSuffix`) and the label below (cut to fit). `title` names the chart
// for screen readers.
QString Bars(const QString& title, const std::vector<Bar>& bars, double maxValue = 0,
             const QString& valueSuffix = QString(), int decimals = 0);

} // namespace SvgChart
