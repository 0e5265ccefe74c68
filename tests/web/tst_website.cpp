// The web pages' logic without sockets: sign-in, sessions and the lock-out,
// what the pages show (the rules' verdicts, every value escaped, the month
// cell by cell as the summary's CSV), the language chosen by the browser's
// Accept-Language, the refusals of bad input, and that nothing is ever
// written to the database.
#include "reports/summary/SummaryCsv.h"
#include "session/MainSession.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/base/AppClock.h"
#include "shared/base/CsvText.h"
#include "shared/config/ViewerPassword.h"
#include "shared/db/clsDbConn.h"
#include "tests/common/EnglishLayout.h"
#include "tests/common/PgTestServer.h"
#include "tests/common/TestProgramDir.h"
#include "web/ReadOnlyDatabase.h"
#include "web/WebLanguage.h"
#include "web/WebSite.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextDocumentFragment>
#include <QtTest>

namespace {

const QString kPassword = QStringLiteral("richtig-geheim");
const QDateTime kNow(QDate(2026, 3, 11), QTime(10, 0)); // a Wednesday

QDateTime at(int day, int h, int m = 0) {
    return QDateTime(QDate(2026, 3, day), QTime(h, m));
}

QByteArray form(const QString& password) {
    return "password=" + QUrl::toPercentEncoding(password);
}

// The text of each cell of each row of the table `id` (tags dropped,
// entities read).
QList<QStringList> tableRows(const QByteArray& page, const QString& id) {
    const QString html = QString::fromUtf8(page);
    const qsizetype start = html.indexOf(QStringLiteral("<table id=\"%1\">").arg(id));
    const qsizetype end = html.indexOf("</table>", start);
    if (start < 0 || end < 0)
        return {};
    static const QRegularExpression row(QStringLiteral("<tr[^>]*>(.*?)</tr>"));
    static const QRegularExpression cell(QStringLiteral("<t[dh][^>]*>(.*?)</t[dh]>"));
    QList<QStringList> rows;
    const QString part = html.mid(start, end - start);
    for (auto r = row.globalMatch(part); r.hasNext();) {
        QStringList cells;
        const QString inner = r.next().captured(1);
        for (auto c = cell.globalMatch(inner); c.hasNext();)
            cells << QTextDocumentFragment::fromHtml(c.next().captured(1)).toPlainText();
        rows << cells;
    }
    return rows;
}

// The rows of the 今日 page's three tables.
QList<QStringList> todayRows(const QByteArray& page) {
    QList<QStringList> rows;
    for (int t = 0; t < 3; ++t)
        rows += tableRows(page, QStringLiteral("today-%1").arg(t));
    return rows;
}

// The fields of CSV text, read as the programs read it back.
QList<QStringList> csvRows(const QByteArray& bytes) {
    QStringList lines;
    QList<QStringList> rows;
    if (CsvText::Lines(bytes, &lines))
        for (const QString& line : lines)
            rows << CsvText::Split(line);
    return rows;
}

} // namespace

class tst_website : public QObject {
    Q_OBJECT

    TestProgramDir m_dir;
    std::unique_ptr<WebSite> m_site;

    WebRequest get(const QString& path, const QByteArray& token = QByteArray()) {
        WebRequest r;
        r.method = "GET";
        const qsizetype q = path.indexOf(u'?');
        r.path = q < 0 ? path : path.left(q);
        if (q >= 0)
            r.query = QUrlQuery(path.mid(q + 1));
        if (!token.isEmpty())
            r.cookies = QByteArray("other=1; ") + WebSite::kCookie + '=' + token;
        r.address = QStringLiteral("192.0.2.7");
        return r;
    }
    // The page at `path` as a browser preferring `language` gets it, from m_site or `site`.
    WebResponse fetch(const QString& path, const QByteArray& token = QByteArray(),
                      const QByteArray& language = QByteArray(), WebSite* site = nullptr) {
        WebRequest r = get(path, token);
        r.acceptLanguage = language;
        return (site ? site : m_site.get())->Handle(r);
    }
    WebRequest post(const QString& path, const QByteArray& body, const QString& address,
                    const QByteArray& token = QByteArray()) {
        WebRequest r = get(path, token);
        r.method = "POST";
        r.body = body;
        r.address = address;
        return r;
    }
    // The sign-in form sent with `password` from `address`.
    WebResponse login(const QString& password, const QString& address) {
        return m_site->Handle(post(QStringLiteral("/login"), form(password), address));
    }
    QByteArray signIn(const QString& address = "192.0.2.1") {
        const WebResponse r = login(kPassword, address);
        const QByteArray cookie = r.Header("Set-Cookie");
        const QByteArray prefix = QByteArray(WebSite::kCookie) + '=';
        return r.status == 303 && cookie.startsWith(prefix)
                   ? cookie.mid(prefix.size(), cookie.indexOf(';') - prefix.size())
                   : QByteArray();
    }
    // Rows written by the test go through a connection of its own, as a station's would.
    bool write(const std::function<bool()>& f) {
        clsDbConn::CloseShared();
        const bool ok = f();
        clsDbConn::CloseShared();
        return ok;
    }

private slots:
    void initTestCase() {
        QVERIFY2(m_dir.init(), qPrintable(m_dir.lastError));
        AppClock::setFixed(kNow);
        QVERIFY(m_dir.addDept(1, "教务处"));
        QVERIFY(m_dir.addDept(2, "<script>alert(1)</script>"));
        QVERIFY(m_dir.addEmployee("1001", "张伟", "11", 1));
        QVERIFY(m_dir.addEmployee("1002", "<b>王芳</b>", "12", 2));
        QVERIFY(m_dir.addEmployee("X'; DROP TABLE Employee;--", QStringLiteral("李娜"), "13", 1));
        QVERIFY(m_dir.addEmployee("1004", "赵六", "14", 1));
        QVERIFY(m_dir.addPresence("1001", at(2, 8), at(2, 17)));
        QVERIFY(m_dir.addPresence("1001", at(3, 8, 20), at(3, 17)));
        QVERIFY(m_dir.addPresence("1001", at(11, 8, 5)));
        QVERIFY(m_dir.addPresence("1002", at(11, 7, 50)));
        QVERIFY(m_dir.addPresence("X'; DROP TABLE Employee;--", at(10, 8), at(10, 16)));
        QVERIFY(m_dir.addPresence("1004", at(9, 8)));
        Error error;
        QVERIFY2(ViewerPassword::Store(kPassword, &error), qPrintable(error.Text()));
        clsDbConn::CloseShared();
        m_site = std::make_unique<WebSite>(WebSite::Options{false});
    }
    void cleanupTestCase() {
        m_site.reset();
        AppClock::reset();
    }

    // On a server the pages need no more than a login that may read the
    // tables they show; a write through their connection is refused.
    void serverLoginThatMayOnlyRead() {
        if (!TestProgramDir::OnServer())
            QSKIP("a server database only");
        const QString role = m_dir.server()->name() + QStringLiteral("_reader");
        const auto login = [&](const QString& name, const QString& secret) {
            return m_dir.setIni("ATTENDANCE", "DBLOGINNAME", name) &&
                   m_dir.setIni("ATTENDANCE", "DBLOGINPWD", secret);
        };
        const QString user = m_dir.ini("ATTENDANCE", "DBLOGINNAME");
        const QString password = m_dir.ini("ATTENDANCE", "DBLOGINPWD");
        QVERIFY(write([&] {
            const QString grants[] = {
                "CREATE ROLE %1 LOGIN PASSWORD 'reader-pw'",
                "GRANT CONNECT ON DATABASE " + m_dir.server()->name() + " TO %1",
                "GRANT USAGE ON SCHEMA public TO %1",
                "GRANT SELECT ON dept, employee, presence, correction, workschedule, "
                "workcalendar TO %1"};
            return std::all_of(std::begin(grants), std::end(grants),
                               [&](const QString& sql) { return m_dir.exec(sql.arg(role)); });
        }));
        QVERIFY(login(role, "reader-pw"));
        const QByteArray token = signIn();
        for (const QString& path :
             QStringList{"/", "/absent", "/missing", "/month?month=2026-03",
                         "/month.xlsx?month=2026-03", "/employee?number=1001&month=2026-03"}) {
            const WebResponse r = fetch(path, token);
            QVERIFY2(r.status == 200, qPrintable(path + QString::fromUtf8(r.body.left(2000))));
        }
        QVERIFY(ReadOnlyDatabase::IsReadOnly());
        QCOMPARE(clsDbConn().GetDbConn().userName(), role);
        {
            // Opened again in place (as after a server restart) it stays read-only.
            QSqlDatabase db = clsDbConn().GetDbConn();
            db.close();
            QVERIFY2(db.open(), qPrintable(db.lastError().text()));
            QSqlQuery q(db);
            QVERIFY(q.exec("SHOW transaction_read_only") && q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("on"));
        }
        QVERIFY(login(user, password));
        QVERIFY(write([&] {
            return m_dir.exec(QStringLiteral("DROP OWNED BY %1").arg(role)) &&
                   m_dir.exec(QStringLiteral("DROP ROLE %1").arg(role));
        }));
        clsDbConn::CloseShared();
    }

    // The stored form's salt and prefix: tst_webpassword; the right and a
    // wrong password: signInSessionAndSignOut.
    void passwordHash() {
        const QString stored = ViewerPassword::Stored();
        QVERIFY(!ViewerPassword::Matches(QString(), stored));
        // Damaged or foreign stored forms match nothing.
        QStringList parts = stored.split(u':');
        for (const QString& bad :
             {QString(), kPassword, QStringLiteral("md5:1:AA==:AA=="),
              QStringList{parts[0], "999", parts[2], parts[3]}.join(u':'),
              QStringList{parts[0], parts[1], parts[2], parts[3].left(8)}.join(u':'),
              QStringList{parts[0], parts[1], "%%%", parts[3]}.join(u':')})
            QVERIFY2(!ViewerPassword::Matches(kPassword, bad), qPrintable(bad));
    }

    void everyPageNeedsASession() {
        for (const QString& path :
             QStringList{"/", "/absent", "/missing", "/month", "/month.csv", "/month.xlsx",
                         "/month.pdf", "/employee?number=1001"}) {
            for (const QByteArray& token : {QByteArray(), QByteArray("made-up-token")}) {
                const WebResponse r = fetch(path, token);
                QCOMPARE(r.status, 303);
                QCOMPARE(r.Header("Location"), QByteArray("/login"));
                QVERIFY(!r.body.contains("1001") && !r.body.contains("张伟"));
            }
        }
        QCOMPARE(fetch("/login").status, 200);
    }

    void signInSessionAndSignOut() {
        const WebResponse wrong = login("nope", "192.0.2.2");
        QCOMPARE(wrong.status, 401);
        QVERIFY(wrong.Header("Set-Cookie").isEmpty());
        QVERIFY(QString::fromUtf8(wrong.body).contains("密码错误"));

        const WebResponse right = login(kPassword, "192.0.2.2");
        QCOMPARE(right.status, 303);
        const QByteArray cookie = right.Header("Set-Cookie");
        QVERIFY(cookie.contains("; HttpOnly") && cookie.contains("; SameSite=Strict") &&
                cookie.contains("; Path=/") && cookie.contains("Max-Age=28800"));
        QVERIFY(!cookie.contains("Secure"));
        WebRequest proxied = post(QStringLiteral("/login"), form(kPassword), "127.0.0.1");
        proxied.forwardedProto = "https";
        QVERIFY(m_site->Handle(proxied).Header("Set-Cookie").contains("; Secure"));
        const QByteArray token = signIn();
        QCOMPARE(token.size(), 43);
        QVERIFY(token != signIn()); // every sign-in its own token
        QCOMPARE(fetch("/", token).status, 200);
        QCOMPARE(fetch("/login", token).status, 303);

        // The session ends after eight hours, not a second before.
        AppClock::advance(SessionStore::kLifetimeMs - 1000);
        QCOMPARE(fetch("/absent", token).status, 200);
        AppClock::advance(1000);
        QCOMPARE(fetch("/absent", token).status, 303);
        AppClock::setFixed(kNow);

        // 退出 ends it at once and clears the cookie.
        const QByteArray other = signIn();
        const WebResponse out =
            m_site->Handle(post(QStringLiteral("/logout"), QByteArray(), "192.0.2.1", other));
        QCOMPARE(out.status, 303);
        QVERIFY(out.Header("Set-Cookie").contains("Max-Age=0"));
        QCOMPARE(fetch("/", other).status, 303);
        // Signing out is a form's POST: a link cannot do it.
        QCOMPARE(fetch("/logout", token).status, 405);
    }

    void fiveWrongPasswordsWaitAMinute() {
        const QString address = QStringLiteral("198.51.100.9");
        const auto attempt = [&](const QString& password) {
            return login(password, address).status;
        };
        for (int i = 0; i < 4; ++i)
            QCOMPARE(attempt(QStringLiteral("wrong")), 401);
        // A right one before the fifth resets the count.
        QCOMPARE(attempt(kPassword), 303);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(attempt(QStringLiteral("wrong")), 401);
        QCOMPARE(attempt(kPassword), 429); // even the right one waits
        // Another address is not held up.
        QVERIFY(!signIn("198.51.100.10").isEmpty());
        AppClock::advance(SessionStore::kLockoutMs - 1000);
        QCOMPARE(attempt(kPassword), 429);
        AppClock::advance(1000);
        QCOMPARE(attempt(kPassword), 303);
        AppClock::setFixed(kNow);
    }

    void todayByTheRules() {
        const QByteArray token = signIn();
        const WebResponse r = fetch("/", token);
        QCOMPARE(r.status, 200);
        const QString page = QString::fromUtf8(r.body);
        QVERIFY(page.contains("<meta http-equiv=\"refresh\" content=\"30\">"));
        QVERIFY(page.contains("已到 2") && page.contains("未到 2") && page.contains("休息 0"));
        // Every value escaped: a name or department holding HTML shows as text.
        QVERIFY(!page.contains("<b>王芳") && !page.contains("<script>"));
        QVERIFY(page.contains("&lt;b&gt;王芳&lt;/b&gt;"));
        // 1001 came five minutes late and has not left yet.
        const QList<QStringList> rows = todayRows(r.body);
        QVERIFY(rows.contains(QStringList{"1001", "张伟", "08:05", "", "迟到5分钟"}));
        QVERIFY(rows.contains(QStringList{"1002", "<b>王芳</b>", "07:50", "", "正常"}));

        // A browser that takes compressed pages gets the same page as a zlib stream.
        WebRequest compressed = get(QStringLiteral("/"), token);
        compressed.acceptEncoding = "gzip, deflate, br";
        const WebResponse small = m_site->Handle(compressed);
        QCOMPARE(small.Header("Content-Encoding"), QByteArray("deflate"));
        QByteArray sized(4, '\0');
        qToBigEndian<quint32>(quint32(r.body.size()), sized.data());
        QCOMPARE(qUncompress(sized + small.body), r.body);

        // A scan written meanwhile shows on the next request.
        QVERIFY(write([&] { return m_dir.addPresence("1004", at(11, 9, 30)); }));
        const QString later = QString::fromUtf8(fetch("/", token).body);
        QVERIFY(later.contains("已到 3") && later.contains("赵六"));
        QVERIFY(write([&] {
            return m_dir.exec(
                "DELETE FROM Presence WHERE ENUMBER = '1004' AND ENTERTIME >= '2026-03-11'");
        }));

        const QString absent = QString::fromUtf8(fetch("/absent", token).body);
        QVERIFY(absent.contains("赵六") && absent.contains("X&#39;; DROP TABLE Employee;--"));
        QVERIFY(!absent.contains("张伟"));
        const QString missing =
            QString::fromUtf8(fetch("/missing?from=2026-03-01&to=2026-03-10", token).body);
        QVERIFY(missing.contains("2026-03-09 08:00"));
        QVERIFY(!missing.contains("2026-03-11"));
        // Without dates: this month up to yesterday.
        const QString month = QString::fromUtf8(fetch("/missing", token).body);
        QVERIFY(month.contains("value=\"2026-03-01\"") && month.contains("value=\"2026-03-10\""));
        QVERIFY(month.contains("2026-03-09 08:00") && !month.contains("2026-03-11 08:05"));
    }

    void monthAsTheSummaryCsv() {
        const QByteArray token = signIn();
        const WebResponse shown = fetch("/month?month=2026-03", token);
        QCOMPARE(shown.status, 200);
        QVERIFY(shown.body.contains("<svg") && !shown.body.contains("<script"));
        MonthSummary summary;
        QVERIFY(MonthSummary::Load(MainSession::Get(), 2026, 3, kNow.date(), &summary));
        clsDbConn::CloseShared();
        const QList<QStringList> csv = csvRows(SummaryCsv::Bytes(summary));
        QList<QStringList> rows = tableRows(shown.body, "summary");
        QCOMPARE(rows.size(), csv.size());
        for (int i = 0; i < rows.size(); ++i) {
            QStringList cells = rows[i].mid(0, 12);
            if (i == 0) // the headings carry the sort links' marks
                for (QString& c : cells)
                    c = c.remove(QStringLiteral(" ▲")).remove(QStringLiteral(" ▼"));
            QCOMPARE(cells, csv[i]);
        }
        // The download is the CSV itself.
        const WebResponse file = fetch("/month.csv?month=2026-03", token);
        QCOMPARE(file.status, 200);
        QCOMPARE(file.body, SummaryCsv::Bytes(summary));
        QVERIFY(file.Header("Content-Disposition").contains("summary-2026-03.csv"));
        QVERIFY(fetch("/month.xlsx?month=2026-03", token).body.startsWith("PK"));
        QVERIFY(fetch("/month.pdf?month=2026-03", token).body.startsWith("%PDF"));

        // Sorted by late minutes, most first: 1001 leads.
        const QList<QStringList> sorted =
            tableRows(fetch("/month?month=2026-03&sort=6&order=desc", token).body, "summary");
        QCOMPARE(sorted.value(1).value(0), QStringLiteral("1001"));

        // One employee's days, the SQL-like number found as a value.
        const WebResponse one =
            fetch("/employee?number=X%27%3B%20DROP%20TABLE%20Employee%3B--&month=2026-03", token);
        QCOMPARE(one.status, 200);
        const QList<QStringList> days = tableRows(one.body, "days");
        QCOMPARE(days.size(), 32);
        QCOMPARE(days[10].mid(1, 3), (QStringList{"08:00", "16:00", "早退60分钟"}));
    }

    // A higher q over order, the first listed of equal ones, q=0 refuses, case
    // ignored; what is neither en nor zh counts for nothing.
    void languageOfTheBrowser() {
        for (const char* english : {"en", "EN-gb", "en-US,en;q=0.9,zh-CN;q=0.8",
                                    "zh;q=0.5, en;q=0.9", "en;q=0.5,zh;q=0.5", "fr-FR, en;q=0.5",
                                    "zh;q=0, en;q=0.1", "en;q=0.001", " , ;q=1, en"})
            QVERIFY2(WebLanguage::Preferred(english) == UiLanguage::English, english);
        for (const char* chinese :
             {"", "zh-CN,zh;q=0.9,en;q=0.8", "en;q=0.8 , zh;q=0.81", "zh-TW,en-US", "fr", "*",
              "en;q=0, *", "zh;q=0, en;q=0", "eng, enx-US", "en;q=1.5", "en;q=abc, de"})
            QVERIFY2(WebLanguage::Preferred(chinese) != UiLanguage::English, chinese);
    }

    // Each request in the language its browser prefers, the 今日 page too
    // while its background thread keeps one page per language.
    void pagesInTheBrowsersLanguage() {
        WebSite background(WebSite::Options{true});
        const QByteArray token = background.sessions().Open();
        for (int round = 0; round < 2; ++round) {
            for (const bool english : {true, false}) {
                const WebResponse r =
                    fetch("/", token, english ? "en-US,en;q=0.9" : "zh-CN", &background);
                QCOMPARE(r.status, 200);
                QCOMPARE(r.Header("Vary"), QByteArray("Accept-Encoding, Accept-Language"));
                const QString page = QString::fromUtf8(r.body);
                QCOMPARE(page.contains("<html lang=\"en\">"), english);
                QCOMPARE(page.contains("<html lang=\"zh-CN\">"), !english);
                QCOMPARE(page.contains("Present 2"), english);
                // The rules' verdicts in the page's language too.
                QVERIFY(todayRows(r.body).contains(QStringList{
                    "1001", "张伟", "08:05", "", english ? "Late 5 min" : "迟到5分钟"}));
                QCOMPARE(page.contains("已到 2"), !english);
            }
            QTest::qWait(int(TodayFeed::kFreshMs) + 100);
        }

        const QByteArray session = signIn();
        const WebResponse month = fetch("/month?month=2026-03", session, "en");
        const QList<QStringList> rows = tableRows(month.body, "summary");
        QVERIFY(!rows.isEmpty());
        QCOMPARE(rows[0].value(3), QStringLiteral("Working days"));
        QVERIFY(month.body.contains("Late arrivals by department") &&
                month.body.contains("Download: "));
        // Every fixed text English: what is left Chinese is the data's.
        const QString text =
            QTextDocumentFragment::fromHtml(QString::fromUtf8(month.body)).toPlainText();
        QVERIFY2(!HasChinese(text, {"张伟", "王芳", "李娜", "赵六", "教务处", "实验中学"}),
                 qPrintable(text));
        const QString days =
            QString::fromUtf8(fetch("/employee?number=1001&month=2026-03", session, "en").body);
        QVERIFY(days.contains("Mon Mar 2") && days.contains("Month total"));

        // The files: the CSV's columns are a format others read, the same in
        // either language; the PDF is the English report.
        QCOMPARE(fetch("/month.csv?month=2026-03", session, "en").body,
                 fetch("/month.csv?month=2026-03", session, "zh").body);
        const QString pdf =
            m_dir.writeFile("en.pdf", fetch("/month.pdf?month=2026-03", session, "en").body);
        QVERIFY(PdfText(pdf).contains("Attendance Summary 3/2026"));

        // Refusals too, escaped as ever (the sign-in form: tst_webserver).
        const WebResponse missing = fetch("/nothing<b>", session, "en;q=0.9");
        QCOMPARE(missing.status, 404);
        QCOMPARE(missing.Header("Vary"), QByteArray("Accept-Language"));
        QVERIFY(missing.body.contains("Page not found") &&
                missing.body.contains("/nothing&lt;b&gt;"));
    }

    void badInputIsRefusedClearly() {
        const QByteArray token = signIn();
        // {status, requests (the method, a space, the path)}: both sides of each limit.
        const QString longPath = "GET /" + QString(WebSite::kMaxPath - 1, u'a');
        const std::pair<int, QStringList> cases[] = {
            {400,
             {"GET /../etc/passwd", "GET /%2e%2e/etc/passwd", "GET /month%2fcsv", "GET //month",
              "GET /..\\month", "GET /month?month=2026-13", "GET /month?month=2026-00",
              "GET /month?month=1899-12", "GET /month?month=2026-3",
              "GET /month.csv?month=2026-03%27%20OR%201=1", "GET /month?sort=13",
              "GET /month?sort=1&order=up", "GET /employee",
              "GET /employee?number=" + QString(WebSite::kMaxValue + 1, u'1'),
              "GET /missing?from=2026-02-30", "GET /missing?from=2026-03-10&to=2026-03-01",
              "GET /missing?from=2025-01-01&to=2026-03-01"}},
            {414, {longPath + u'a'}},
            {404,
             {longPath, "GET /employee?number=%3Cscript%3Ex%3C/script%3E",
              "GET /employee?number=1%27%20OR%20%271%27=%271"}},
            {405, {"PUT /", "BREW /"}},
            {200,
             {"GET /month?month=2026-12", "GET /month?month=2100-12",
              "GET /month?sort=12&order=desc"}}};
        for (const auto& [status, requests] : cases)
            for (const QString& request : requests) {
                WebRequest r = get(request.section(u' ', 1), token);
                r.method = request.section(u' ', 0, 0).toLatin1();
                const WebResponse answer = m_site->Handle(r);
                QVERIFY2(answer.status == status, qPrintable(request.left(80)));
                if (status == 405)
                    QVERIFY(!answer.Header("Allow").isEmpty());
                // Whatever came in is shown as text, never as markup.
                QVERIFY(!answer.body.contains("<script>x"));
                QVERIFY(!answer.body.contains("' OR '1'='1"));
            }
    }

    void oversizedBody() {
        QByteArray body = "password=" + QByteArray(WebSite::kMaxBody, 'a');
        QCOMPARE(m_site->Handle(post(QStringLiteral("/login"), body, "192.0.2.3")).status, 413);
    }

    void databaseAwayThenBack() {
        if (TestProgramDir::OnServer())
            QSKIP("a database file only");
        const QByteArray token = signIn();
        const QString data = m_dir.ini("DATA", "PATH");
        QVERIFY(m_dir.setIni("DATA", "PATH", m_dir.file("gone")));
        clsDbConn::CloseShared();
        for (const QString& path : QStringList{"/absent", "/month", "/month.csv"}) {
            const WebResponse r = fetch(path, token);
            QCOMPARE(r.status, 503);
            QVERIFY(QString::fromUtf8(r.body).contains("无法读取考勤记录"));
        }
        QVERIFY(m_dir.setIni("DATA", "PATH", data));
        QCOMPARE(fetch("/month", token).status, 200);
    }

    void neverWritesTheDatabase() {
        const QByteArray token = signIn();
        QVERIFY(ReadOnlyDatabase::Ensure());
        QVERIFY(ReadOnlyDatabase::IsReadOnly());
        QSqlQuery q(clsDbConn().GetDbConn());
        QVERIFY(!q.exec("DELETE FROM Presence"));
        clsDbConn::CloseShared();
        QVERIFY(m_dir.rows("Presence") > 0);
        clsDbConn::CloseShared();
        if (TestProgramDir::OnServer())
            return;
        const QByteArray before = readFile(m_dir.dbPath);
        const QDateTime modified = QFileInfo(m_dir.dbPath).lastModified();
        for (const QString& path : QStringList{"/", "/absent", "/missing", "/month", "/month.xlsx",
                                               "/employee?number=1001"})
            QCOMPARE(fetch(path, token).status, 200);
        QCOMPARE(readFile(m_dir.dbPath), before);
        QCOMPARE(QFileInfo(m_dir.dbPath).lastModified(), modified);
    }
};

QTEST_MAIN(tst_website)
#include "tst_website.moc"
