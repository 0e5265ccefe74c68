#include "web/HtmlPage.h"

#include <QCoreApplication>

namespace HtmlPage {

namespace {

const char* const Context = "HtmlPage";

const char* const kStyle = R"(
*{box-sizing:border-box}
body{margin:0;font-family:"WenQuanYi Zen Hei","Noto Sans CJK SC","PingFang SC","Microsoft YaHei",sans-serif;color:#222;background:#f6f7f9;font-size:15px}
header{background:#24527a;color:#fff;padding:.5em 1em;display:flex;flex-wrap:wrap;align-items:center;gap:.5em 1.2em}
header .unit{font-weight:bold}
nav a{color:#fff;text-decoration:none;padding:.3em .6em;border-radius:4px;display:inline-block}
nav a.on{background:#fff;color:#24527a}
header form{margin-left:auto}
main{padding:1em;max-width:1200px;margin:0 auto}
h1{font-size:1.3em;margin:.2em 0 .6em}
h2{font-size:1.1em;margin:1.2em 0 .4em}
.scroll{overflow-x:auto;-webkit-overflow-scrolling:touch}
table{border-collapse:collapse;background:#fff;min-width:100%}
th,td{border:1px solid #d5d9de;padding:.3em .5em;text-align:left;white-space:nowrap}
th{background:#e9eef3}
th a{color:inherit}
td.n{text-align:right}
tr.total td{font-weight:bold;background:#f1f4f7}
.counts{display:flex;flex-wrap:wrap;gap:.6em;margin:.4em 0 1em}
.counts span{background:#fff;border:1px solid #d5d9de;border-radius:6px;padding:.4em .8em}
.late,.bad{color:#b3261e}
form.inline{display:flex;flex-wrap:wrap;gap:.5em;align-items:end;margin-bottom:1em}
label{display:flex;flex-direction:column;font-size:.9em}
input,button{font-size:1em;padding:.35em .5em}
.downloads a{margin-right:1em}
.chart{max-width:100%;height:auto;background:#fff;border:1px solid #d5d9de;margin:.4em 0}
.error{color:#b3261e;font-weight:bold}
.signin{max-width:22em;margin:3em auto;background:#fff;padding:1.5em;border:1px solid #d5d9de;border-radius:8px}
.signin input{width:100%;margin:.4em 0 1em}
)";

QString navigation(Tab current, const Translation& language) {
    struct Link {
        Tab tab;
        const char* path;
        const char* text;
    };
    static const Link links[] = {
        {Tab::Today, "/", QT_TRANSLATE_NOOP("HtmlPage", "今日")},
        {Tab::NotArrived, "/absent", QT_TRANSLATE_NOOP("HtmlPage", "今日未到")},
        {Tab::MissingDepartures, "/missing", QT_TRANSLATE_NOOP("HtmlPage", "未签退")},
        {Tab::Month, "/month", QT_TRANSLATE_NOOP("HtmlPage", "月度统计")}};
    QString html = QStringLiteral("<nav>");
    for (const Link& l : links)
        html += QStringLiteral("<a href=\"%1\"%2>%3</a>")
                    .arg(QLatin1String(l.path),
                         l.tab == current ? QStringLiteral(" class=\"on\"") : QString(),
                         language.Text(Context, l.text));
    return html + QStringLiteral("</nav>");
}

} // namespace

QString Escape(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += QLatin1String("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString Document(const Frame& frame, const QString& body, const Translation& language) {
    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"%1\"><head><meta charset=\"utf-8\">"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">")
            //: the pages' language tag (BCP 47)
            .arg(Escape(language.Text(Context, QT_TRANSLATE_NOOP("HtmlPage", "zh-CN"))));
    if (frame.refreshSeconds > 0)
        html += QStringLiteral("<meta http-equiv=\"refresh\" content=\"%1\">")
                    .arg(frame.refreshSeconds);
    html += QStringLiteral("<title>%1</title><style>%2</style></head><body>")
                .arg(Escape(frame.title), QLatin1String(kStyle));
    if (frame.tab != Tab::None) {
        html += QStringLiteral("<header><span class=\"unit\">%1</span>%2"
                               "<form method=\"post\" action=\"/logout\">"
                               "<button type=\"submit\" id=\"logout\">%3</button></form></header>")
                    .arg(Escape(frame.unitName.isEmpty()
                                    ? language.Text(Context, QT_TRANSLATE_NOOP("HtmlPage", "考勤"))
                                    : frame.unitName),
                         navigation(frame.tab, language),
                         Escape(language.Text(Context, QT_TRANSLATE_NOOP("HtmlPage", "退出"))));
    }
    return html + QStringLiteral("<main>") + body + QStringLiteral("</main></body></html>\n");
}

QString Message(const QString& title, const QString& message, const Translation& language) {
    return Document(
        {title, Tab::None, 0, QString()},
        QStringLiteral("<h1>%1</h1><p class=\"error\">%2</p><p><a href=\"/\">%3</a></p>")
            .arg(Escape(title), Escape(message),
                 Escape(language.Text(Context, QT_TRANSLATE_NOOP("HtmlPage", "返回")))),
        language);
}

} // namespace HtmlPage
