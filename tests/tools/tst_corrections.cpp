// Corrections with their trail and closed months, through attendance-admin
// and beside a station's scan.
#include "shared/base/AppClock.h"
#include "shared/config/PasswordModule.h"
#include "shared/db/DbErrors.h"
#include "shared/records/clsCorrection.h"
#include "shared/records/clsMonthClose.h"
#include "shared/records/clsPresence.h"
#include "tests/common/PgTestServer.h"
#include "tests/tools/helpers/AdminTool.h"

#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

class tst_Corrections : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;

    // A command line on the test's program directory.
    QStringList on(QStringList args) const { return args << "--dir" << fx->path(); }
    int dayRows(const QString& number, const QDate& d) {
        return fx->rows(QStringLiteral("Presence WHERE ENUMBER = '%1' AND ENTERTIME LIKE '%2%'")
                            .arg(number, d.toString(Qt::ISODate)));
    }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, "办公室") && SavePassword(QStringLiteral("pw")));
        for (const char* n : {"7", "8", "9", "10"})
            QVERIFY(fx->addEmployee(QLatin1String(n), "张三", QLatin1String(n), 1));
    }
    void cleanup() { fx.reset(); }

    // Every refusal exits 1 with its reason and leaves no trail row; every
    // correction, closing and reopening leaves one; a closed month refuses
    // each kind of correction, naming the month.
    void commandsRefusalsAndTrail() {
        const QDate now = QDate::currentDate(), d = QDate(now.year(), now.month(), 2).addMonths(-1);
        const QString day = d.toString(Qt::ISODate);
        const QString closed = QStringLiteral("%1年%2月已月结").arg(d.year()).arg(d.month());
        const QStringList y{QString::number(d.year()), QString::number(d.month())};
        const auto fix = [&](const QString& n, const QStringList& more, const char* reason) {
            return QStringList{"correct", n, day} + more + on({"--reason", reason});
        };
        const QStringList in{"--arrival", "08:00"}, out{"--departure", "17:30"};
        const QStringList change{"--change", "--arrival", "08:30"}, remove{"--remove"};
        const struct {
            QStringList args;
            QString says; // empty: succeeds
        } steps[] = {
            {fix("7", in, " "), "a reason is required"},
            {fix("99", in, "r"), "no employee"},
            {fix("7", out, "r"), "a departure needs an arrival"},
            {fix("7", in + QStringList{"--departure", "07:59"}, "r"), "after the arrival"},
            {fix("7", in + QStringList{"--departure", "08:00"}, "r"), "after the arrival"},
            {fix("7", in, "忘记打卡"), {}},
            {fix("7", in, "r"), "an arrival already"},
            {fix("7", out, "r"), {}},
            {fix("7", change, "r"), {}},
            {on(QStringList{"close-month"} + y), {}},
            {on(QStringList{"close-month"} + y), closed},
            {fix("7", in, "r"), closed},
            {fix("7", change, "r"), closed},
            {fix("7", remove, "r"), closed},
            {on({"close-month", QString::number(now.year()), QString::number(now.month())}),
             "only a past month"},
            {QStringList{"reopen-month"} + y + on({"--admin-password", "no"}),
             "wrong administrator password"},
            {QStringList{"reopen-month"} + y + on({"--admin-password", "pw"}), {}},
            {fix("7", remove, "r"), {}},
        };
        int trail = 0;
        for (const auto& step : steps) {
            if (step.says.isEmpty())
                QVERIFY2(AdminTool::Runs(step.args), qPrintable(step.args.join(' ')));
            else
                QVERIFY2(AdminTool::Fails(step.args, {step.says}), qPrintable(step.args.join(' ')));
            trail += step.says.isEmpty();
            QCOMPARE(fx->rows("Correction"), trail);
            QVERIFY(dayRows(QStringLiteral("7"), d) <= 1);
        }
        QCOMPARE(dayRows(QStringLiteral("7"), d), 0);
        // The month summary marks the corrected days: 7's removed day "改", 8's added one "补".
        QVERIFY(AdminTool::Runs(fix("8", in, "r")));
        const QStringList report{"report-summary", y[0], y[1]};
        QVERIFY(AdminTool::Runs(report + on({fx->file("s.xlsx")})));
        const QString sheet = QString::fromUtf8(
            RunTool("unzip", {"-p", fx->file("s.xlsx"), "xl/worksheets/sheet2.xml"}).out);
        QCOMPARE(sheet.count("<t>补</t>") + sheet.count("<t>改</t>") * 10, 11);
        trail += 1;
        const QString csv = fx->file("trail.csv");
        const QStringList trailCsv = on({"trail", "--employee", "7", "--csv", csv});
        QVERIFY(AdminTool::Runs(trailCsv));
        const QStringList lines = QString::fromUtf8(readFile(csv)).split(QStringLiteral("\r\n"));
        QVERIFY(readFile(csv).startsWith("\xEF\xBB\xBF"));
        QCOMPARE(lines.size(), 6); // the heading, four corrections, the end of the last line
        QVERIFY2(lines[3].contains(QStringLiteral(",change,7,%1 08:00:00,%1 17:30:00,%1 08:30:00,"
                                                  "%1 17:30:00,r")
                                       .arg(day)),
                 qPrintable(lines[3]));
        QVERIFY(AdminTool::Fails(trailCsv, {QStringLiteral("already exists")}));
        const ToolRun all = AdminTool::Run(on({"trail"}));
        QCOMPARE(all.out.count('\n'), trail); // closing and reopening too
    }

    // Dates of 1900-2100 only; any other is wrong usage (exit 2) and
    // writes nothing.
    void dateLimits() {
        const auto fix = [&](const char* date) {
            return on({"correct", "7", QLatin1String(date), "--arrival", "08:00", "--reason", "r"});
        };
        for (const char* date : {"0001-01-01", "1899-12-31", "2101-01-01", "2026-13-01"})
            QVERIFY2(AdminTool::Misuses(fix(date), {QLatin1String(date)}), date);
        QVERIFY(AdminTool::Misuses(on({"trail", "--from", "1899-12-31"})));
        QVERIFY(AdminTool::Misuses(on({"trail", "--to", "2101-01-01"})));
        // close-month's and reopen-month's YEAR MONTH: tst_rulescommands (the same check).
        QCOMPARE(fx->rows("Correction"), 0);
        QVERIFY(AdminTool::Runs(fix("1900-01-01")));
        QVERIFY(AdminTool::Fails(fix("2100-12-31"), {"after now"}));
        const ToolRun all =
            AdminTool::Run(on({"trail", "--from", "1900-01-01", "--to", "2100-12-31"}));
        QCOMPARE(all.code, 0);
        QCOMPARE(all.out.count('\n'), 1);
    }

    // A reason's line break, tab, backslash and terminal escape are printed
    // escaped: one row a line, no control character reaches the terminal.
    void trailPrintsEscaped() {
        const QDate d = QDate::currentDate().addDays(-1);
        QVERIFY(AdminTool::Runs(on({"correct", "7", d.toString(Qt::ISODate), "--arrival", "08:00",
                                    "--reason", QStringLiteral("补卡\n7\t08:00\x1b[2J\\x")})));
        const ToolRun r = AdminTool::Run(on({"trail"}));
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.count('\n'), 1);
        QVERIFY(!r.out.contains('\x1b') && r.out.count('\t') == 10);
        QVERIFY2(r.out.endsWith(QStringLiteral("\t补卡\\n7\\t08:00\\x1b[2J\\\\x\n").toUtf8()),
                 r.out.constData());
        // The CSV keeps the reason as it is.
        QVERIFY(AdminTool::Runs(on({"trail", "--csv", fx->file("t.csv")})));
        QVERIFY(readFile(fx->file("t.csv")).contains("\"补卡\n7\t08:00\x1b[2J\\x\""));
    }

    // A day holding two records (an import, another tool): the correction
    // changes the first by arrival time, the other stays, and the trail
    // names the record changed. A scan replayed into a closed month is
    // printed as "replay".
    void twoRecordsOfADay() {
        QVERIFY(fx->addEmployee("T1", "李四", "T1", 1));
        const auto t = [](const char* s) {
            return QDateTime::fromString(QLatin1String(s), Qt::ISODate);
        };
        for (const auto& [in, out] : {std::pair{"2026-11-09T19:00:00", "2026-11-09T22:00:00"},
                                      {"2026-11-09T08:00:00", ""},
                                      {"2026-11-10T07:58:00", "2026-11-10T17:05:00"},
                                      {"2026-11-10T08:20:00", "2026-11-10T08:25:00"}})
            QVERIFY(fx->addPresence("T1", t(in), t(out)));
        const auto fix = [&](const char* date, const QStringList& more) {
            return QStringList{"correct", "T1", QLatin1String(date)} + more + on({"--reason", "r"});
        };
        QVERIFY(AdminTool::Runs(fix("2026-11-09", {"--departure", "17:00"})));
        QVERIFY(AdminTool::Runs(fix("2026-11-10", {"--change", "--departure", "16:00"})));
        const QString keep = QStringLiteral(
            "Presence WHERE ENUMBER = 'T1' AND ENTERTIME = '%1' AND EXITTIME = '%2'");
        for (const auto& [in, out] : {std::pair{"2026-11-09 08:00:00", "2026-11-09 17:00:00"},
                                      {"2026-11-09 19:00:00", "2026-11-09 22:00:00"},
                                      {"2026-11-10 07:58:00", "2026-11-10 16:00:00"},
                                      {"2026-11-10 08:20:00", "2026-11-10 08:25:00"}})
            QVERIFY2(fx->rows(keep.arg(QLatin1String(in), QLatin1String(out))) == 1, in);
        QCOMPARE(fx->rows("Presence WHERE ENUMBER = 'T1'"), 4);
        AppClock::setFixed(t("2026-11-20T12:00:00"));
        QCOMPARE(clsMonthClose::Close(fx->session(), 2026, 10, clsCorrection::Operator::Current()),
                 clsCorrection::Result::Done);
        clsPresence scan;
        scan.setENUMBER("T1");
        QCOMPARE(scan.Add(fx->session(), t("2026-10-30T08:00:00"), QStringLiteral("j1")),
                 qint16(clsPresence::Arrival));
        const QList<QByteArray> lines = AdminTool::Run(on({"trail"})).out.split('\n');
        QCOMPARE(lines.size(), 5); // two corrections, the closing, the replay, the end
        QVERIFY2(
            lines[0].contains(
                "\tadd\tT1\t2026-11-09 08:00:00\t\t2026-11-09 08:00:00\t2026-11-09 17:00:00\t"),
            lines[0].constData());
        QVERIFY2(lines[1].contains("\tchange\tT1\t2026-11-10 07:58:00\t2026-11-10 "
                                   "17:05:00\t2026-11-10 07:58:00\t2026-11-10 16:00:00\t"),
                 lines[1].constData());
        QVERIFY2(lines[3].contains("\treplay\tT1\t\t\t2026-10-30 08:00:00\t\tj1"),
                 lines[3].constData());
    }

    // A correction of today runs while a station scans the same card: one
    // of them goes first, and the day keeps one record; the correction has
    // its trail row exactly when it succeeded.
    void correctionBesideAScan() {
        const QTime early = QTime::currentTime().addSecs(-3600);
        for (const auto& [n, waitMs] : {std::pair{"7", 0}, {"8", 150}, {"9", 400}, {"10", 800}}) {
            QProcess admin;
            admin.start(AdminTool::Path(),
                        on({"correct", n, QDate::currentDate().toString(Qt::ISODate), "--arrival",
                            early.toString(QStringLiteral("HH:mm")), "--reason", "r"}));
            QVERIFY(admin.waitForStarted());
            QThread::msleep(waitMs);
            clsPresence scan;
            scan.setENUMBER(QLatin1String(n));
            const qint16 state = scan.Add(fx->session());
            QVERIFY(admin.waitForFinished(30000));
            const bool corrected = admin.exitCode() == 0;
            QCOMPARE(dayRows(QLatin1String(n), QDate::currentDate()), 1);
            QCOMPARE(fx->rows(QStringLiteral("Correction WHERE ENUMBER = '%1'").arg(n)),
                     int(corrected));
            // Corrected first: the scan is the departure; else the arrival.
            QCOMPARE(state, corrected ? clsPresence::Departure : clsPresence::Arrival);
        }
    }

    // On the server the stations' login corrects and closes through the
    // server's functions and may read the trail, never write, change or
    // remove a row of it.
    void stationLoginOnlyAddsToTheTrail() {
        if (!TestProgramDir::OnServer())
            QSKIP("the rights of logins are the server's");
        QSqlDatabase admin = fx->server()->connect(QStringLiteral("owner"));
        QSqlQuery q(admin);
        for (const char* sql :
             {"DROP ROLE IF EXISTS corr_station", "CREATE ROLE corr_station LOGIN PASSWORD 'x'",
              "GRANT SELECT, INSERT, UPDATE, DELETE ON dept, employee, presence TO corr_station",
              "GRANT SELECT ON correction, monthclose TO corr_station",
              "GRANT EXECUTE ON FUNCTION attendance_correct(text, text, text, text, text, text, "
              "text, text, text), attendance_close_month(text, text, text) TO corr_station"})
            QVERIFY2(q.exec(QLatin1String(sql)), qPrintable(q.lastError().text()));
        QVERIFY(fx->setIni("ATTENDANCE", "DBLOGINNAME", "corr_station") &&
                fx->setIni("ATTENDANCE", "DBLOGINPWD", "x"));
        QVERIFY(AdminTool::Runs(
            on({"correct", "7", "2020-01-02", "--arrival", "08:00", "--reason", "r"})));
        QVERIFY(AdminTool::Runs(on({"close-month", "2020", "1"})));
        QVERIFY(AdminTool::Runs(on({"check"})));
        QSqlDatabase station = QSqlDatabase::cloneDatabase(admin, QStringLiteral("station"));
        station.setUserName(QStringLiteral("corr_station"));
        station.setPassword(QStringLiteral("x"));
        QVERIFY(station.open());
        QSqlQuery s(station);
        QVERIFY(s.exec("SELECT COUNT(*) FROM correction") && s.next());
        QCOMPARE(s.value(0).toInt(), 2);
        QVERIFY(!s.exec("UPDATE correction SET REASON = 'x'"));
        QVERIFY(!s.exec("DELETE FROM correction"));
        QVERIFY(!s.exec("INSERT INTO correction(CTIME) VALUES('x')"));
        station.close();
        q.exec("REASSIGN OWNED BY corr_station TO CURRENT_USER");
        q.exec("DROP OWNED BY corr_station");
        QVERIFY(q.exec("DROP ROLE corr_station"));
    }
};

QTEST_GUILESS_MAIN(tst_Corrections)
#include "tst_corrections.moc"
