// The web pages' logic without sockets: sign-in, sessions and the lock-out,
// what the pages show (the rules' verdicts, every value escaped, the month
// cell by cell as the summary's CSV), the language chosen by the browser's
// Accept-Language, the refusals of bad input, and that nothing is ever
// written to the database.
#include "reports/summary/SummaryCsv.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/base/AppClock.h"
#include "shared/base/CsvText.h"
#include "shared/config/ViewerPassword.h"
#include "shared/db/clsDbConn.h"
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
    const qsizetype end = html.indexOf(QLatin1String("</table>"), start);
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
    QByteArray signIn(const QString& address = QStringLiteral("192.0.2.1")) {
        const WebResponse r =
            m_site->Handle(post(QStringLiteral("/login"), form(kPassword), address));
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
        QVERIFY(m_dir.addDept(1, QStringLiteral("教务处")));
        QVERIFY(m_dir.addDept(2, QStringLiteral("<script>alert(1)</script>")));
        QVERIFY(m_dir.addEmployee("1001", QStringLiteral("张伟"), "11", 1));
        QVERIFY(m_dir.addEmployee("1002", QStringLiteral("<b>王芳</b>"), "12", 2));
        QVERIFY(m_dir.addEmployee("X'; DROP TABLE Employee;--", QStringLiteral("李娜"), "13", 1));
        QVERIFY(m_dir.addEmployee("1004", QStringLiteral("赵六"), "14", 1));
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
        QVERIFY(login(role, QStringLiteral("reader-pw")));
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
            QSqlQuery q(clsDbConn().GetDbConn());
            QVERIFY(!q.exec(QStringLiteral("SELECT count(*) FROM dept")) || q.next());
            QVERIFY(!q.exec(QStringLiteral("DELETE FROM presence")));
        }
        {
            // Opened again in place (as after a server restart) it stays read-only.
            QSqlDatabase db = clsDbConn().GetDbConn();
            db.close();
            QVERIFY2(db.open(), qPrintable(db.lastError().text()));
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("SHOW transaction_read_only")) && q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("on"));
        }
        QVERIFY(login(user, password));
        QVERIFY(write([&] {
            return m_dir.exec(QStringLiteral("DROP OWNED BY %1").arg(role)) &&
                   m_dir.exec(QStringLiteral("DROP ROLE %1").arg(role));
        }));
        QVERIFY(m_dir.rows(QStringLiteral("Presence")) > 0);
        clsDbConn::CloseShared();
    }

    // The stored form's salt and prefix: tst_webpassword.
    void passwordHash() {
        const QString stored = ViewerPassword::Stored();
        QVERIFY(ViewerPassword::Matches(kPassword, stored));
        QVERIFY(!ViewerPassword::Matches(kPassword + u'x', stored));
        QVERIFY(!ViewerPassword::Matches(QString(), stored));
        // Damaged or foreign stored forms match nothing.
        QStringList parts = stored.split(u':');
        for (const QString& bad :
             {QString(), kPassword, QStringLiteral("md5:1:AA==:AA=="),
              QStringList{parts[0], QStringLiteral("999"), parts[2], parts[3]}.join(u':'),
              QStringList{parts[0], parts[1], parts[2], parts[3].left(8)}.join(u':'),
              QStringList{parts[0], parts[1], QStringLiteral("%%%"), parts[3]}.join(u':')})
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
        const WebResponse wrong = m_site->Handle(
            post(QStringLiteral("/login"), "password=nope", QStringLiteral("192.0.2.2")));
        QCOMPARE(wrong.status, 401);
        QVERIFY(wrong.Header("Set-Cookie").isEmpty());
        QVERIFY(QString::fromUtf8(wrong.body).contains(QStringLiteral("密码错误")));

        const WebResponse right =
            m_site->Handle(post(QStringLiteral("/login"), form(kPassword), "192.0.2.2"));
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
            return m_site->Handle(post(QStringLiteral("/login"), form(password), address)).status;
        };
        for (int i = 0; i < 4; ++i)
            QCOMPARE(attempt(QStringLiteral("wrong")), 401);
        // A right one before the fifth resets the count.
        QCOMPARE(attempt(kPassword), 303);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(attempt(QStringLiteral("wrong")), 401);
        QCOMPARE(attempt(kPassword), 429); // even the right one waits
        // Another address is not held up.
        QVERIFY(!signIn(QStringLiteral("198.51.100.10")).isEmpty());
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
        QVERIFY(page.contains(QLatin1String("<meta http-equiv=\"refresh\" content=\"30\">")));
        QVERIFY(page.contains(QStringLiteral("已到 2")) &&
                page.contains(QStringLiteral("未到 2")) && page.contains(QStringLiteral("休息 0")));
        // Every value escaped: a name or department holding HTML shows as text.
        QVERIFY(!page.contains(QStringLiteral("<b>王芳")) &&
                !page.contains(QLatin1String("<script>")));
        QVERIFY(page.contains(QStringLiteral("&lt;b&gt;王芳&lt;/b&gt;")));
        // 1001 came five minutes late and has not left yet.
        QList<QStringList> rows;
        for (int t = 0; t < 3; ++t)
            rows += tableRows(r.body, QStringLiteral("today-%1").arg(t));
        QVERIFY(rows.contains(QStringList{QStringLiteral("1001"), QStringLiteral("张伟"),
                                          QStringLiteral("08:05"), QString(),
                                          QStringLiteral("迟到5分钟")}));
        QVERIFY(
            rows.contains(QStringList{QStringLiteral("1002"), QStringLiteral("<b>王芳</b>"),
                                      QStringLiteral("07:50"), QString(), QStringLiteral("正常")}));

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
        QVERIFY(later.contains(QStringLiteral("已到 3")) && later.contains(QStringLiteral("赵六")));
        QVERIFY(write([&] {
            return m_dir.exec(
                "DELETE FROM Presence WHERE ENUMBER = '1004' AND ENTERTIME >= '2026-03-11'");
        }));

        const QString absent = QString::fromUtf8(fetch("/absent", token).body);
        QVERIFY(absent.contains(QStringLiteral("赵六")) &&
                absent.contains(QLatin1String("X&#39;; DROP TABLE Employee;--")));
        QVERIFY(!absent.contains(QStringLiteral("张伟")));
        const QString missing =
            QString::fromUtf8(fetch("/missing?from=2026-03-01&to=2026-03-10", token).body);
        QVERIFY(missing.contains(QStringLiteral("2026-03-09 08:00")));
        QVERIFY(!missing.contains(QStringLiteral("2026-03-11")));
        // Without dates: this month up to yesterday.
        const QString month = QString::fromUtf8(fetch("/missing", token).body);
        QVERIFY(month.contains(QLatin1String("value=\"2026-03-01\"")) &&
                month.contains(QLatin1String("value=\"2026-03-10\"")));
        QVERIFY(month.contains(QStringLiteral("2026-03-09 08:00")) &&
                !month.contains(QStringLiteral("2026-03-11 08:05")));
    }

    void monthAsTheSummaryCsv() {
        const QByteArray token = signIn();
        const WebResponse shown = fetch("/month?month=2026-03", token);
        QCOMPARE(shown.status, 200);
        QVERIFY(shown.body.contains("<svg") && !shown.body.contains("<script"));
        MonthSummary summary;
        QVERIFY(MonthSummary::Load(2026, 3, kNow.date(), &summary));
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
        const QList<QStringList> sorted = tableRows(
            fetch("/month?month=2026-03&sort=6&order=desc", token).body, QStringLiteral("summary"));
        QCOMPARE(sorted.value(1).value(0), QStringLiteral("1001"));

        // One employee's days, the SQL-like number found as a value.
        const WebResponse one = m_site->Handle(get(
            QStringLiteral("/employee?number=X%27%3B%20DROP%20TABLE%20Employee%3B--&month=2026-03"),
            token));
        QCOMPARE(one.status, 200);
        const QList<QStringList> days = tableRows(one.body, "days");
        QCOMPARE(days.size(), 32);
        QCOMPARE(days[10].mid(1, 3), (QStringList{QStringLiteral("08:00"), QStringLiteral("16:00"),
                                                  QStringLiteral("早退60分钟")}));
    }

    void languageOfTheBrowser_data() {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<bool>("english");
        QTest::newRow("none") << QByteArray() << false;
        QTest::newRow("en") << QByteArray("en") << true;
        QTest::newRow("en-GB, case ignored") << QByteArray("EN-gb") << true;
        QTest::newRow("Chinese browser") << QByteArray("zh-CN,zh;q=0.9,en;q=0.8") << false;
        QTest::newRow("English browser") << QByteArray("en-US,en;q=0.9,zh-CN;q=0.8") << true;
        QTest::newRow("q over order") << QByteArray("zh;q=0.5, en;q=0.9") << true;
        QTest::newRow("q over order, Chinese") << QByteArray("en;q=0.8 , zh;q=0.81") << false;
        QTest::newRow("equal q: first listed") << QByteArray("en;q=0.5,zh;q=0.5") << true;
        QTest::newRow("equal q: first listed, Chinese") << QByteArray("zh-TW,en-US") << false;
        QTest::newRow("French, then English") << QByteArray("fr-FR, en;q=0.5") << true;
        QTest::newRow("French only") << QByteArray("fr") << false;
        QTest::newRow("any") << QByteArray("*") << false;
        QTest::newRow("English refused") << QByteArray("en;q=0, *") << false;
        QTest::newRow("Chinese refused") << QByteArray("zh;q=0, en;q=0.1") << true;
        QTest::newRow("both refused") << QByteArray("zh;q=0, en;q=0") << false;
        QTest::newRow("q=0.001") << QByteArray("en;q=0.001") << true;
        QTest::newRow("not en") << QByteArray("eng, enx-US") << false;
        QTest::newRow("q out of range") << QByteArray("en;q=1.5") << false;
        QTest::newRow("q not a number") << QByteArray("en;q=abc, de") << false;
        QTest::newRow("empty ranges") << QByteArray(" , ;q=1, en") << true;
    }
    void languageOfTheBrowser() {
        QFETCH(QByteArray, header);
        QFETCH(bool, english);
        QCOMPARE(WebLanguage::Preferred(header) == UiLanguage::English, english);
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
                QCOMPARE(page.contains(QLatin1String("<html lang=\"en\">")), english);
                QCOMPARE(page.contains(QLatin1String("<html lang=\"zh-CN\">")), !english);
                QCOMPARE(page.contains(QLatin1String("Present 2")), english);
                // The rules' verdicts in the page's language too.
                QList<QStringList> rows;
                for (int t = 0; t < 3; ++t)
                    rows += tableRows(r.body, QStringLiteral("today-%1").arg(t));
                QVERIFY(rows.contains(QStringList{QStringLiteral("1001"), QStringLiteral("张伟"),
                                                  QStringLiteral("08:05"), QString(),
                                                  english ? QStringLiteral("Late 5 min")
                                                          : QStringLiteral("迟到5分钟")}));
                QCOMPARE(page.contains(QStringLiteral("已到 2")), !english);
                QVERIFY(page.contains(QStringLiteral("&lt;b&gt;王芳&lt;/b&gt;")));
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
        QString text = QTextDocumentFragment::fromHtml(QString::fromUtf8(month.body)).toPlainText();
        for (const QString& data :
             QStringList{"张伟", "王芳", "李娜", "赵六", "教务处", "实验中学"})
            text.remove(data);
        static const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{303F}"
                                                               "\\x{4E00}-\\x{9FFF}"
                                                               "\\x{FF00}-\\x{FFEF}]"));
        QVERIFY2(!text.contains(chinese), qPrintable(text));
        const QString days =
            QString::fromUtf8(fetch("/employee?number=1001&month=2026-03", session, "en").body);
        QVERIFY(days.contains(QLatin1String("Mon Mar 2")) &&
                days.contains(QLatin1String("Month total")));

        // The files: the CSV's columns are a format others read, the same in
        // either language; the PDF is the English report.
        QCOMPARE(fetch("/month.csv?month=2026-03", session, "en").body,
                 fetch("/month.csv?month=2026-03", session, "zh").body);
        const QString pdf = m_dir.writeFile(QStringLiteral("en.pdf"),
                                            fetch("/month.pdf?month=2026-03", session, "en").body);
        QVERIFY(PdfText(pdf).contains(QLatin1String("Attendance Summary 3/2026")));

        // Refusals and the sign-in form too, escaped as ever.
        const WebResponse missing = fetch("/nothing<b>", session, "en;q=0.9");
        QCOMPARE(missing.status, 404);
        QCOMPARE(missing.Header("Vary"), QByteArray("Accept-Language"));
        QVERIFY(missing.body.contains("Page not found") &&
                missing.body.contains("/nothing&lt;b&gt;"));
        const QByteArray form = fetch("/login", {}, "en").body;
        QVERIFY(form.contains("Password") && form.contains(">Sign in</button>"));
        QVERIFY(QString::fromUtf8(fetch("/login").body).contains(QStringLiteral(">登录</button>")));
    }

    void badInputIsRefusedClearly_data() {
        QTest::addColumn<QString>("request"); // the method, a space, the path
        QTest::addColumn<int>("status");
        QTest::newRow("climbing") << "GET /../etc/passwd" << 400;
        QTest::newRow("encoded climbing") << "GET /%2e%2e/etc/passwd" << 400;
        QTest::newRow("encoded slash") << "GET /month%2fcsv" << 400;
        QTest::newRow("doubled") << "GET //month" << 400;
        QTest::newRow("backslash") << "GET /..\\month" << 400;
        QTest::newRow("long") << "GET /" + QString(WebSite::kMaxPath, u'a') << 414;
        QTest::newRow("longest unknown") << "GET /" + QString(WebSite::kMaxPath - 1, u'a') << 404;
        QTest::newRow("put") << "PUT /" << 405;
        QTest::newRow("unknown method") << "BREW /" << 405;
        QTest::newRow("month 13") << "GET /month?month=2026-13" << 400;
        QTest::newRow("month 0") << "GET /month?month=2026-00" << 400;
        QTest::newRow("month 12") << "GET /month?month=2026-12" << 200;
        QTest::newRow("year 1899") << "GET /month?month=1899-12" << 400;
        QTest::newRow("year 2100") << "GET /month?month=2100-12" << 200;
        QTest::newRow("month short") << "GET /month?month=2026-3" << 400;
        QTest::newRow("month sql") << "GET /month.csv?month=2026-03%27%20OR%201=1" << 400;
        QTest::newRow("sort 13") << "GET /month?sort=13" << 400;
        QTest::newRow("sort 12") << "GET /month?sort=12&order=desc" << 200;
        QTest::newRow("order") << "GET /month?sort=1&order=up" << 400;
        QTest::newRow("html number") << "GET /employee?number=%3Cscript%3Ex%3C/script%3E" << 404;
        QTest::newRow("sql number") << "GET /employee?number=1%27%20OR%20%271%27=%271" << 404;
        QTest::newRow("no number") << "GET /employee" << 400;
        QTest::newRow("long number")
            << "GET /employee?number=" + QString(WebSite::kMaxValue + 1, u'1') << 400;
        QTest::newRow("date 30 Feb") << "GET /missing?from=2026-02-30" << 400;
        QTest::newRow("from after to") << "GET /missing?from=2026-03-10&to=2026-03-01" << 400;
        QTest::newRow("over a year") << "GET /missing?from=2025-01-01&to=2026-03-01" << 400;
    }
    void badInputIsRefusedClearly() {
        QFETCH(QString, request);
        QFETCH(int, status);
        static const QByteArray token = signIn();
        WebRequest r = get(request.section(u' ', 1), token);
        r.method = request.section(u' ', 0, 0).toLatin1();
        const WebResponse answer = m_site->Handle(r);
        QCOMPARE(answer.status, status);
        if (status == 405)
            QVERIFY(!answer.Header("Allow").isEmpty());
        // Whatever came in is shown as text, never as markup.
        QVERIFY(!answer.body.contains("<script>x"));
        QVERIFY(!answer.body.contains("' OR '1'='1"));
    }

    void oversizedBody() {
        QByteArray body = "password=" + QByteArray(WebSite::kMaxBody, 'a');
        QCOMPARE(m_site->Handle(post(QStringLiteral("/login"), body, "192.0.2.3")).status, 413);
    }

    void databaseAwayThenBack() {
        if (TestProgramDir::OnServer())
            QSKIP("a database file only");
        const QByteArray token = signIn();
        const QString data = m_dir.ini(QStringLiteral("DATA"), QStringLiteral("PATH"));
        QVERIFY(m_dir.setIni(QStringLiteral("DATA"), QStringLiteral("PATH"), m_dir.file("gone")));
        clsDbConn::CloseShared();
        for (const QString& path : QStringList{"/absent", "/month", "/month.csv"}) {
            const WebResponse r = fetch(path, token);
            QCOMPARE(r.status, 503);
            QVERIFY(QString::fromUtf8(r.body).contains(QStringLiteral("无法读取考勤记录")));
        }
        QVERIFY(m_dir.setIni(QStringLiteral("DATA"), QStringLiteral("PATH"), data));
        QCOMPARE(fetch("/month", token).status, 200);
    }

    void neverWritesTheDatabase() {
        const QByteArray token = signIn();
        QVERIFY(ReadOnlyDatabase::Ensure());
        QVERIFY(ReadOnlyDatabase::IsReadOnly());
        QSqlQuery q(clsDbConn().GetDbConn());
        QVERIFY(!q.exec(QStringLiteral("DELETE FROM Presence")));
        clsDbConn::CloseShared();
        QVERIFY(m_dir.rows(QStringLiteral("Presence")) > 0);
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
