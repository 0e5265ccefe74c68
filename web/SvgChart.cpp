#include "web/SvgChart.h"

#include "web/HtmlPage.h"

#include <algorithm>

namespace SvgChart {

QString Bars(const QString& title, const std::vector<Bar>& bars, double maxValue,
             const QString& valueSuffix, int decimals) {
    // Wide enough for a two-character label under each of 31 days, or a
    // department name under fewer bars.
    const int slot = bars.size() > 12 ? 28 : 72;
    const int plotHeight = 160, top = 20, bottom = 40, left = 8;
    const int width = std::max(320, left * 2 + slot * int(bars.size()));
    const int height = top + plotHeight + bottom;
    double top_value = maxValue;
    for (const Bar& b : bars)
        if (maxValue <= 0)
            top_value = std::max(top_value, b.value);
    if (top_value <= 0)
        top_value = 1;

    QString svg = QStringLiteral("<svg class=\"chart\" xmlns=\"http://www.w3.org/2000/svg\" "
                                 "width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\" role=\"img\" "
                                 "aria-label=\"%3\"><title>%3</title>"
                                 "<line x1=\"%4\" y1=\"%5\" x2=\"%6\" y2=\"%5\" stroke=\"#888\"/>")
                      .arg(width)
                      .arg(height)
                      .arg(HtmlPage::Escape(title))
                      .arg(left)
                      .arg(top + plotHeight)
                      .arg(width - left);
    for (int i = 0; i < int(bars.size()); ++i) {
        const Bar& b = bars[i];
        const double share = std::clamp(b.value / top_value, 0.0, 1.0);
        const int h = int(share * plotHeight + 0.5);
        const int x = left + i * slot + slot / 6;
        const int w = slot - slot / 3;
        const int cx = left + i * slot + slot / 2;
        svg +=
            QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"#3d7ab8\"/>")
                .arg(x)
                .arg(top + plotHeight - h)
                .arg(w)
                .arg(h);
        svg += QStringLiteral(
                   "<text x=\"%1\" y=\"%2\" font-size=\"10\" text-anchor=\"middle\">%3</text>")
                   .arg(cx)
                   .arg(top + plotHeight - h - 4)
                   .arg(HtmlPage::Escape(QString::number(b.value, 'f', decimals) + valueSuffix));
        svg += QStringLiteral(
                   "<text x=\"%1\" y=\"%2\" font-size=\"11\" text-anchor=\"middle\">%3</text>")
                   .arg(cx)
                   .arg(top + plotHeight + 16)
                   .arg(HtmlPage::Escape(b.label.left(slot > 30 ? 6 : 2)));
    }
    return svg + QStringLiteral("</svg>");
}

} // namespace SvgChart
