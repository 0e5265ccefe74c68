#include "web/WebSite.h"

#include "report/ReportDocument.h"
#include "report/ReportPainter.h"
#include "reports/summary/SummaryCsv.h"
#include "reports/summary/SummaryReport.h"
#include "reports/summary/SummaryXlsx.h"
#include "session/MainSession.h"
#include "shared/attendance/AttendanceLists.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/base/AppClock.h"
#include "shared/base/PlainText.h"
#include "shared/config/ViewerPassword.h"
#include "shared/config/clsSchoolArea.h"
#include "web/HtmlPage.h"
#include "web/ReadOnlyDatabase.h"
#include "web/WebPages.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

namespace {

const char* const Context = "WebSite";

WebResponse html(int status, const QString& page) {
    WebResponse r;
    r.status = status;
    r.body = page.toUtf8();
    return r;
}

WebResponse problem(const Translation& language, int status, const QString& title,
                    const QString& message) {
    return html(status, HtmlPage::Message(title, message, language));
}

WebResponse redirect(const Translation& language, const QByteArray& to) {
    WebResponse r = html(
        303, HtmlPage::Message(language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "请登录")),
                               language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "请先登录。")),
                               language));
    r.headers.append({"Location", to});
    return r;
}

WebResponse unreadable(const Translation& language, const Error& why) {
    return problem(language, 503,
                   language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "无法读取考勤记录")),
                   why.Text());
}

QString unitName() {
    return clsSchoolArea().SNAME();
}

// The fields of a form sent as application/x-www-form-urlencoded.
QString formField(const QByteArray& body, const QByteArray& name) {
    for (const QByteArray& pair : body.split('&')) {
        const int eq = pair.indexOf('=');
        if (eq < 0 || pair.left(eq) != name)
            continue;
        QByteArray v = pair.mid(eq + 1);
        v.replace('+', ' ');
        return QString::fromUtf8(QByteArray::fromPercentEncoding(v));
    }
    return QString();
}

// A query value decoded as a form's (a '+' is a blank, as a browser's form
// sends it); `tooLong` set when it exceeds WebSite::kMaxValue.
QString value(const WebRequest& r, const char* name, bool* tooLong) {
    const QString v = formField(r.query.query(QUrl::FullyEncoded).toLatin1(), name);
    if (v.size() > WebSite::kMaxValue)
        *tooLong = true;
    return v;
}

// "YYYY-MM" of 1900-2100 (empty: the month of today).
bool parseMonth(const QString& text, int* year, int* month) {
    if (text.isEmpty()) {
        const QDate today = AppClock::now().date();
        *year = today.year();
        *month = today.month();
        return true;
    }
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    *year = m.captured(1).toInt();
    *month = m.captured(2).toInt();
    return *year >= 1900 && *year <= 2100 && *month >= 1 && *month <= 12;
}

bool parseDate(const QString& text, QDate* out) {
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (!form.match(text).hasMatch())
        return false;
    *out = QDate::fromString(text, Qt::ISODate);
    return out->isValid() && out->year() >= 1900 && out->year() <= 2100;
}

WebResponse badMonth(const Translation& language, const QString& text) {
    return problem(language, 400, language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "月份无效")),
                   language
                       .Text(Context, QT_TRANSLATE_NOOP(
                                          "WebSite", "月份应为 YYYY-MM（1900-2100年，1-12月）：%1"))
                       .arg(PlainText::Echo(text)));
}

WebResponse tooLongValue(const Translation& language) {
    return problem(language, 400, language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "请求无效")),
                   language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "参数过长。")));
}

enum class Need { Session, Nothing };

struct Route {
    const char* path;
    const char* method;
    Need need;
};

const Route kRoutes[] = {
    {"/login", "GET", Need::Nothing},      {"/login", "POST", Need::Nothing},
    {"/logout", "POST", Need::Session},    {"/", "GET", Need::Session},
    {"/absent", "GET", Need::Session},     {"/missing", "GET", Need::Session},
    {"/month", "GET", Need::Session},      {"/month.csv", "GET", Need::Session},
    {"/month.xlsx", "GET", Need::Session}, {"/month.pdf", "GET", Need::Session},
    {"/employee", "GET", Need::Session},
};

} // namespace

WebSite::WebSite(const Options& options, QObject* parent)
    : QObject(parent), m_today(options.backgroundToday, this) {}

QByteArray WebSite::sessionToken(const WebRequest& request) const {
    const QByteArray prefix = QByteArray(kCookie) + '=';
    for (QByteArray part : request.cookies.split(';')) {
        part = part.trimmed();
        if (part.startsWith(prefix))
            return part.mid(prefix.size());
    }
    return {};
}

WebResponse WebSite::Handle(const WebRequest& request) {
    m_choice = WebLanguage::Preferred(request.acceptLanguage);
    m_language = m_languages.Texts(m_choice);
    WebResponse r = answer(request);
    // Every answer, a refusal too, is in the language the request prefers.
    for (auto& [name, value] : r.headers)
        if (name.compare("Vary", Qt::CaseInsensitive) == 0) {
            value += ", Accept-Language";
            return r;
        }
    r.headers.append({QByteArray("Vary"), QByteArray("Accept-Language")});
    return r;
}

WebResponse WebSite::answer(const WebRequest& request) {
    if (request.path.size() > kMaxPath)
        return problem(m_language, 414,
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "请求无效")),
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "路径过长。")));
    // Every page has a plain path: anything encoded, climbing or doubled is refused.
    const QString path = request.path;
    if (!path.startsWith(u'/') || path.contains(u'%') || path.contains(QLatin1String("..")) ||
        path.contains(QLatin1String("//")) || path.contains(u'\\') || PlainText::HasControl(path))
        return problem(m_language, 400,
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "请求无效")),
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "路径无效。")));
    if (request.body.size() > kMaxBody)
        return problem(m_language, 413,
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "请求无效")),
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "请求过大。")));

    const Route* route = nullptr;
    QByteArray allowed;
    for (const Route& r : kRoutes) {
        if (path != QLatin1String(r.path))
            continue;
        allowed += (allowed.isEmpty() ? "" : ", ") + QByteArray(r.method);
        if (request.method == r.method)
            route = &r;
    }
    if (allowed.isEmpty())
        return problem(m_language, 404,
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "找不到页面")),
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "没有这个页面：%1"))
                           .arg(PlainText::Echo(path)));
    if (!route) {
        WebResponse r = problem(
            m_language, 405, m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "请求无效")),
            m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "此页面不接受这种请求。")));
        r.headers.append({"Allow", allowed});
        return r;
    }
    if (route->need == Need::Session && !m_sessions.Valid(sessionToken(request)))
        return redirect(m_language, "/login");

    if (path == QLatin1String("/login"))
        return request.method == "POST" ? signIn(request)
               : m_sessions.Valid(sessionToken(request))
                   ? redirect(m_language, "/")
                   : html(200, WebPages::SignIn(QString(), m_language));
    if (path == QLatin1String("/logout"))
        return signOut(request);
    Error why;
    if (!ReadOnlyDatabase::Ensure(&why))
        return unreadable(m_language, why);
    if (path == QLatin1String("/"))
        return today(request);
    if (path == QLatin1String("/absent"))
        return notArrived();
    if (path == QLatin1String("/missing"))
        return missing(request);
    if (path == QLatin1String("/month"))
        return month(request);
    if (path == QLatin1String("/employee"))
        return employee(request);
    return download(request, path.mid(int(qstrlen("/month."))));
}

WebResponse WebSite::signIn(const WebRequest& request) {
    const qint64 wait = m_sessions.LockedFor(request.address);
    if (wait > 0) {
        WebResponse r = html(
            429,
            WebPages::SignIn(
                m_language
                    .Text(Context, QT_TRANSLATE_NOOP("WebSite", "密码错误次数过多，请%1秒后再试。"))
                    .arg((wait + 999) / 1000),
                m_language));
        r.headers.append({"Retry-After", QByteArray::number((wait + 999) / 1000)});
        return r;
    }
    const QString stored = ViewerPassword::Stored();
    if (stored.isEmpty())
        return html(
            503, WebPages::SignIn(
                     m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "尚未设置查看密码。")),
                     m_language));
    if (!ViewerPassword::Matches(formField(request.body, "password"), stored)) {
        m_sessions.Failed(request.address);
        return html(401, WebPages::SignIn(
                             m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "密码错误。")),
                             m_language));
    }
    m_sessions.Succeeded(request.address);
    WebResponse r = redirect(m_language, "/");
    // Behind a proxy speaking TLS the browser sends the cookie over TLS only.
    const QByteArray secure =
        request.forwardedProto.trimmed().toLower() == "https" ? "; Secure" : "";
    r.headers.append({"Set-Cookie", QByteArray(kCookie) + '=' + m_sessions.Open() +
                                        "; Path=/; HttpOnly; SameSite=Strict; Max-Age=" +
                                        QByteArray::number(SessionStore::kLifetimeMs / 1000) +
                                        secure});
    return r;
}

WebResponse WebSite::signOut(const WebRequest& request) {
    m_sessions.Close(sessionToken(request));
    WebResponse r = redirect(m_language, "/login");
    r.headers.append(
        {"Set-Cookie", QByteArray(kCookie) + "=; Path=/; HttpOnly; SameSite=Strict; Max-Age=0"});
    return r;
}

WebResponse WebSite::today(const WebRequest& request) {
    Error why;
    const TodayFeed::Page page =
        m_today.Get(AppClock::now(), unitName(), m_language, int(m_choice), &why);
    if (page.html.isEmpty())
        return unreadable(m_language, why);
    WebResponse r;
    r.headers.append({QByteArray("Vary"), QByteArray("Accept-Encoding")});
    // The page of thousands of rows goes compressed to every browser that takes it.
    static const QRegularExpression deflate(QStringLiteral("(^|[,\\s])deflate($|[,;\\s])"));
    if (deflate.match(QString::fromLatin1(request.acceptEncoding).toLower()).hasMatch()) {
        r.body = page.deflated;
        r.headers.append({QByteArray("Content-Encoding"), QByteArray("deflate")});
    } else {
        r.body = page.html;
    }
    return r;
}

WebResponse WebSite::notArrived() {
    const QDateTime now = AppClock::now();
    std::vector<ListedEmployee> list;
    Error why;
    if (!AttendanceLists::NotArrivedToday(MainSession::Get(), now, &list, &why))
        return unreadable(m_language, why);
    return html(200, WebPages::NotArrived(list, now, unitName(), m_language));
}

WebResponse WebSite::missing(const WebRequest& request) {
    const QDate today = AppClock::now().date();
    bool tooLong = false;
    const QString fromText = value(request, "from", &tooLong);
    const QString toText = value(request, "to", &tooLong);
    if (tooLong)
        return tooLongValue(m_language);
    // By default the month up to yesterday: today's arrivals are still at work.
    QDate to = today.addDays(-1), from(to.year(), to.month(), 1);
    if ((!fromText.isEmpty() && !parseDate(fromText, &from)) ||
        (!toText.isEmpty() && !parseDate(toText, &to)))
        return problem(
            m_language, 400, m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "日期无效")),
            m_language
                .Text(Context,
                      QT_TRANSLATE_NOOP("WebSite", "日期应为 YYYY-MM-DD（1900-2100年）：%1"))
                .arg(PlainText::Echo(fromText + QLatin1Char(' ') + toText)));
    if (from > to || from.daysTo(to) > 366)
        return problem(
            m_language, 400, m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "日期无效")),
            m_language.Text(
                Context,
                QT_TRANSLATE_NOOP("WebSite", "开始日期须不晚于结束日期，且相隔不超过一年。")));
    std::vector<ListedEmployee> list;
    Error why;
    if (!AttendanceLists::MissingDepartures(MainSession::Get(), from, to, &list, &why))
        return unreadable(m_language, why);
    return html(200, WebPages::MissingDepartures(list, from, to, unitName(), m_language));
}

WebResponse WebSite::month(const WebRequest& request) {
    bool tooLong = false;
    const QString monthText = value(request, "month", &tooLong);
    const QString sortText = value(request, "sort", &tooLong);
    const QString order = value(request, "order", &tooLong);
    if (tooLong)
        return tooLongValue(m_language);
    int year = 0, monthNumber = 0;
    if (!parseMonth(monthText, &year, &monthNumber))
        return badMonth(m_language, monthText);
    bool ok = true;
    const int sort = sortText.isEmpty() ? -1 : sortText.toInt(&ok);
    if (!ok || sort < -1 || sort >= WebPages::kSortColumns ||
        !(order.isEmpty() || order == QLatin1String("asc") || order == QLatin1String("desc")))
        return problem(m_language, 400,
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "请求无效")),
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "排序参数无效。")));
    MonthSummary summary;
    Error why;
    if (!MonthSummary::Load(MainSession::Get(), year, monthNumber, AppClock::now().date(), &summary,
                            &why))
        return unreadable(m_language, why);
    return html(200, WebPages::Month(summary, sort, order == QLatin1String("desc"), unitName(),
                                     m_language));
}

WebResponse WebSite::employee(const WebRequest& request) {
    bool tooLong = false;
    const QString number = value(request, "number", &tooLong);
    const QString monthText = value(request, "month", &tooLong);
    if (tooLong)
        return tooLongValue(m_language);
    int year = 0, monthNumber = 0;
    if (!parseMonth(monthText, &year, &monthNumber))
        return badMonth(m_language, monthText);
    if (number.isEmpty())
        return problem(m_language, 400,
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "请求无效")),
                       m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "缺少员工编号。")));
    MonthSummary summary;
    Error why;
    if (!MonthSummary::Load(MainSession::Get(), year, monthNumber, AppClock::now().date(), &summary,
                            &why))
        return unreadable(m_language, why);
    for (const EmployeeSummary& e : summary.employees)
        if (e.number == number)
            return html(200, WebPages::Employee(summary, e, unitName(), m_language));
    return problem(m_language, 404,
                   m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "找不到员工")),
                   m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "没有编号为 %1 的员工。"))
                       .arg(PlainText::Echo(number)));
}

WebResponse WebSite::download(const WebRequest& request, const QString& kind) {
    bool tooLong = false;
    const QString monthText = value(request, "month", &tooLong);
    if (tooLong)
        return tooLongValue(m_language);
    int year = 0, monthNumber = 0;
    if (!parseMonth(monthText, &year, &monthNumber))
        return badMonth(m_language, monthText);
    MonthSummary summary;
    Error why;
    if (!MonthSummary::Load(MainSession::Get(), year, monthNumber, AppClock::now().date(), &summary,
                            &why))
        return unreadable(m_language, why);
    const QString name = QStringLiteral("summary-%1-%2.%3")
                             .arg(year)
                             .arg(monthNumber, 2, 10, QLatin1Char('0'))
                             .arg(kind);
    WebResponse r;
    Error error;
    if (kind == QLatin1String("csv")) {
        r.contentType = "text/csv; charset=utf-8";
        r.body = SummaryCsv::Bytes(summary);
    } else if (kind == QLatin1String("xlsx")) {
        // The writer puts a whole file in place; it is read back and removed.
        QTemporaryDir dir;
        const QString file = dir.filePath(name);
        if (!dir.isValid() || !SummaryXlsx::Write(summary, unitName(), file, &error))
            return problem(m_language, 500,
                           m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "无法生成文件")),
                           error.Text());
        QFile made(file);
        if (!made.open(QIODevice::ReadOnly))
            return problem(m_language, 500,
                           m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "无法生成文件")),
                           made.errorString());
        r.contentType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
        r.body = made.readAll();
    } else {
        SummaryReport report(m_language);
        report.setUnitName(unitName());
        report.setSummary(&summary);
        const ReportDocument doc = ReportDocument::Run(report);
        QBuffer buffer(&r.body);
        buffer.open(QIODevice::WriteOnly);
        if (!ReportPainter::WritePdf(doc, buffer, &error))
            return problem(m_language, 500,
                           m_language.Text(Context, QT_TRANSLATE_NOOP("WebSite", "无法生成文件")),
                           error.Text());
        r.contentType = "application/pdf";
    }
    r.headers.append({"Content-Disposition", "attachment; filename=\"" + name.toLatin1() + '"'});
    return r;
}
