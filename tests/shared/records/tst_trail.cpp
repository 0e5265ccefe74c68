// The day's first record as the one a scan or a correction changes, scans
// replayed into a closed month with their trail rows, and what guards the
// trail and the closed months on the database itself (an older database
// given the guards: tst_schema).
#include "shared/base/AppClock.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"
#include "shared/records/clsCorrection.h"
#include "shared/records/clsMonthClose.h"
#include "shared/records/clsPresence.h"
#include "tests/common/PgTestServer.h"
#include "tests/common/TestProgramDir.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

QDateTime at(const char* when) {
    return QDateTime::fromString(QLatin1String(when), Qt::ISODate);
}

using Result = clsCorrection::Result;
using Action = clsCorrection::Action;

} // namespace

class TestTrail : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    const clsCorrection::Operator who{"clerk", "pc1", "tst_trail"};

    // The day's records of `number` as "arrival-departure" texts in arrival
    // text order, "-" for no departure.
    QStringList day(const QString& number, const char* date) {
        QStringList out;
        Error why;
        auto q = DbQuery::Read("SELECT ENTERTIME, EXITTIME FROM Presence WHERE ENUMBER = ? AND "
                               "ENTERTIME LIKE ? ORDER BY ENTERTIME",
                               {number, QLatin1String(date) + QLatin1Char('%')}, &why);
        while (q && q->next())
            out << q->value(0).toString().mid(11) + QLatin1Char('-') +
                       (q->isNull(1) ? QStringLiteral("-") : q->value(1).toString().mid(11));
        return q ? out : QStringList{why.Text()};
    }
    qint16 replay(const QString& number, const char* when, const QString& scanId) {
        clsPresence p;
        p.setENUMBER(number);
        return p.Add(fx->session(), at(when), scanId);
    }
    qint16 scan(const QString& number, const char* when) {
        AppClock::setFixed(at(when));
        clsPresence p;
        p.setENUMBER(number);
        return p.Add(fx->session());
    }
    Result correct(Action action, const char* date, QTime in, QTime out,
                   const QString& number = QStringLiteral("7")) {
        clsCorrection::Request r;
        r.action = action;
        r.number = number;
        r.date = QDate::fromString(QLatin1String(date), Qt::ISODate);
        r.arrival = in;
        r.departure = out;
        r.reason = QStringLiteral("r");
        return clsCorrection::Apply(fx->session(), r, who);
    }
    // Makes every insert into `table` fail inside its transaction.
    bool refuseInserts(const QString& table) {
        if (!TestProgramDir::OnServer())
            return fx->exec(QStringLiteral("CREATE TRIGGER t_refuse_%1 BEFORE INSERT ON %1 BEGIN "
                                           "SELECT RAISE(ABORT, 'refused'); END")
                                .arg(table));
        return fx->exec("CREATE OR REPLACE FUNCTION t_refuse() RETURNS trigger "
                        "LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'refused'; "
                        "END $$") &&
               fx->exec(QStringLiteral("CREATE TRIGGER t_refuse_%1 BEFORE INSERT ON %1 FOR EACH "
                                       "ROW EXECUTE FUNCTION t_refuse()")
                            .arg(table));
    }
    bool allowInserts(const QString& table) {
        return fx->exec(QStringLiteral("DROP TRIGGER t_refuse_%1%2")
                            .arg(table, TestProgramDir::OnServer() ? QStringLiteral(" ON ") + table
                                                                   : QString()));
    }
    std::vector<clsCorrection::TrailRow> trail() {
        std::vector<clsCorrection::TrailRow> rows;
        clsCorrection::Trail(fx->session(), {}, {}, {}, &rows);
        return rows;
    }
    // The trail's rows from `from` on as "action number old-arrival
    // old-departure new-arrival new-departure reason", times as "dd HH:mm"
    // or "-".
    QStringList trailTexts(size_t from) {
        const auto text = [](const QDateTime& t) {
            return t.isValid() ? t.toString("dd HH:mm") : QStringLiteral("-");
        };
        QStringList out;
        const std::vector<clsCorrection::TrailRow> rows = trail();
        for (size_t i = from; i < rows.size(); ++i)
            out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                       .arg(clsCorrection::ActionKey(rows[i].action), rows[i].number,
                            text(rows[i].oldArrival), text(rows[i].oldDeparture),
                            text(rows[i].newArrival), text(rows[i].newDeparture), rows[i].reason);
        return out;
    }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, "D"));
        for (const char* n : {"7", "8"})
            QVERIFY(fx->addEmployee(QLatin1String(n), "n", QLatin1String(n), 1));
        AppClock::setFixed(at("2026-11-20T18:00:00"));
    }
    void cleanup() { fx.reset(); }

    // A station's departure closes the day's first record by time, also when
    // rows of other tools come first in text or table order; the day's other
    // records stay as they are. Through the server's function and through
    // the statements (a replay, and the _pg_statements run).
    void departureClosesTheFirstRecordOnly() {
        QVERIFY(fx->addPresence("7", at("2026-03-10T19:00:00"), at("2026-03-10T22:00:00")));
        QVERIFY(fx->addPresence("7", at("2026-03-10T08:00:00")));
        QCOMPARE(scan("7", "2026-03-10T12:00:00"), qint16(clsPresence::Departure));
        QCOMPARE(day("7", "2026-03-10"), QStringList({"08:00:00-12:00:00", "19:00:00-22:00:00"}));
        QCOMPARE(scan("7", "2026-03-10T23:00:00"), qint16(clsPresence::AlreadyDeparted));
        // "7:30" sorts after "07:45:00" as text but is the earlier time.
        QVERIFY(fx->exec("INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES "
                         "('8', '2026-03-11 07:45:00'), ('8', '2026-03-11 7:30')"));
        QCOMPARE(replay("8", "2026-03-11T16:00:00", "s1"), qint16(clsPresence::Departure));
        QCOMPARE(day("8", "2026-03-11"), QStringList({"07:45:00--", "7:30-16:00:00"}));
    }

    // A correction changes or removes the day's first record alone and its
    // trail row names that record; the day's other records stay (adding
    // and changing beside another record: tst_corrections).
    void correctionsTouchTheFirstRecordOnly() {
        QVERIFY(fx->addPresence("7", at("2026-11-10T07:58:00"), at("2026-11-10T17:05:00")));
        QVERIFY(fx->addPresence("7", at("2026-11-10T08:20:00"), at("2026-11-10T08:25:00")));
        // The second record is no second arrival: adding one is refused.
        QCOMPARE(correct(Action::Add, "2026-11-10", QTime(7, 0), {}), Result::SecondArrival);
        QCOMPARE(correct(Action::Remove, "2026-11-10", {}, {}), Result::Done);
        QCOMPARE(day("7", "2026-11-10"), QStringList({"08:20:00-08:25:00"}));
        QCOMPARE(trailTexts(0), QStringList({"remove 7 10 07:58 10 17:05 - - r"}));
    }

    // A scan a station kept while the server was away is recorded in a
    // month closed meanwhile, and leaves a trail row of kind replay naming
    // the record; the same scan again, a repeated scan and a scan of an open
    // month leave none.
    void replayIntoAClosedMonth() {
        QCOMPARE(clsMonthClose::Close(fx->session(), 2026, 3, who), Result::Done);
        QCOMPARE(replay("7", "2026-03-10T08:00:00", "a1"), qint16(clsPresence::Arrival));
        QCOMPARE(replay("7", "2026-03-10T08:00:30", "a2"), qint16(clsPresence::Repeated));
        QCOMPARE(replay("7", "2026-03-10T17:00:00", "a3"), qint16(clsPresence::Departure));
        QCOMPARE(replay("7", "2026-03-10T17:00:00", "a3"), qint16(clsPresence::AlreadyReplayed));
        QCOMPARE(replay("7", "2026-04-01T08:00:00", "a4"), qint16(clsPresence::Arrival));
        QCOMPARE(day("7", "2026-03-10"), QStringList({"08:00:00-17:00:00"}));
        // After the closing: the arrival and the departure.
        QCOMPARE(trailTexts(1), QStringList({"replay 7 - - 10 08:00 - a1",
                                             "replay 7 10 08:00 - 10 08:00 10 17:00 a3"}));
        // Corrections of the closed month stay refused.
        QCOMPARE(correct(Action::Remove, "2026-03-10", {}, {}), Result::MonthClosed);
    }

    // A scan recorded at once into a closed month (a station clock far
    // behind) is refused and changes nothing, arrival or departure, through
    // the server's function or the statements; a repeated scan still says
    // so; the same scan replayed from a journal is recorded.
    void scanIntoAClosedMonthIsRefused() {
        QVERIFY(fx->addPresence("8", at("2026-03-11T08:00:00")));
        QCOMPARE(clsMonthClose::Close(fx->session(), 2026, 3, who), Result::Done);
        QCOMPARE(scan("7", "2026-03-10T08:00:00"), qint16(clsPresence::WriteFailed));
        QCOMPARE(replay("7", "2026-03-10T08:00:00", QString()), qint16(clsPresence::WriteFailed));
        QCOMPARE(scan("8", "2026-03-11T08:00:30"), qint16(clsPresence::Repeated));
        QCOMPARE(scan("8", "2026-03-11T17:00:00"), qint16(clsPresence::WriteFailed));
        QCOMPARE(fx->rows("Presence"), 1);
        QCOMPARE(day("8", "2026-03-11"), QStringList({"08:00:00--"}));
        QCOMPARE(trail().size(), size_t(1)); // the closing
        QCOMPARE(replay("7", "2026-03-10T08:00:00", "k1"), qint16(clsPresence::Arrival));
    }

    // A closed month's records are changed by nothing else than a replay
    // whose trail row the same transaction wrote: the statements of another
    // tool (the owner's login too) are refused, an open month's are not.
    void closedMonthRefusesOtherWrites() {
        QVERIFY(fx->addPresence("7", at("2026-03-10T08:00:00")));
        QCOMPARE(clsMonthClose::Close(fx->session(), 2026, 3, who), Result::Done);
        const QStringList refused{
            "UPDATE Presence SET EXITTIME = '2026-03-10 17:00:00'",
            "UPDATE Presence SET ENTERTIME = '2026-04-10 08:00:00'", "DELETE FROM Presence",
            "INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES('8', '2026-03-11 08:00:00')",
            "INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES('8', '2026-03')"};
        for (const QString& sql : refused)
            QVERIFY2(!fx->exec(sql), qPrintable(sql));
        QVERIFY(fx->lastError.contains("closed"));
        QCOMPARE(day("7", "2026-03-10"), QStringList({"08:00:00--"}));
        QVERIFY(fx->exec(
            "INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES('8', '2026-04-01 08:00:00')"));
        QVERIFY(fx->exec("DELETE FROM Presence WHERE ENUMBER = '8'"));
        // A replay's trail row admits its own change once, in its transaction:
        // the replaying connection's next statement is refused.
        QCOMPARE(replay("8", "2026-03-12T08:00:00", "r1"), qint16(clsPresence::Arrival));
        QVERIFY(DbQuery::Exec(fx->session(),
                              "INSERT INTO Presence(ENUMBER, ENTERTIME) VALUES('8', "
                              "'2026-03-12 08:00:00')",
                              {}) < 0);
        QCOMPARE(day("8", "2026-03-12"), QStringList({"08:00:00--"}));
        // Reopened, the month takes changes again.
        QCOMPARE(clsMonthClose::Reopen(fx->session(), 2026, 3, QString(), who), Result::Done);
        QVERIFY(fx->exec("DELETE FROM Presence"));
    }

    // A write failing inside the transaction (the scan id's row, the trail
    // row) leaves the records as they were and the scan or correction refused.
    void failingWriteChangesNothing() {
        QVERIFY(fx->addPresence("7", at("2026-11-09T08:00:00")));
        QCOMPARE(clsMonthClose::Close(fx->session(), 2026, 3, who), Result::Done);
        QVERIFY(refuseInserts("ScanReplay"));
        QCOMPARE(replay("7", "2026-03-10T08:00:00", "f1"), qint16(clsPresence::WriteFailed));
        QCOMPARE(replay("7", "2026-11-09T17:00:00", "f2"), qint16(clsPresence::WriteFailed));
        QVERIFY(allowInserts("ScanReplay"));
        QVERIFY(refuseInserts("Correction"));
        QCOMPARE(replay("7", "2026-03-10T08:00:00", "f1"), qint16(clsPresence::WriteFailed));
        QCOMPARE(correct(Action::Add, "2026-11-09", {}, QTime(17, 0)), Result::Failed);
        QCOMPARE(correct(Action::Remove, "2026-11-09", {}, {}), Result::Failed);
        QCOMPARE(correct(Action::Add, "2026-11-10", QTime(8, 0), {}), Result::Failed);
        QCOMPARE(clsMonthClose::Close(fx->session(), 2026, 4, who), Result::Failed);
        QCOMPARE(fx->rows("Presence"), 1);
        QCOMPARE(day("7", "2026-11-09"), QStringList({"08:00:00--"}));
        QCOMPARE(fx->rows("ScanReplay") + fx->rows("MonthClose"), 1);
        QCOMPARE(trail().size(), size_t(1)); // the closing
        QVERIFY(allowInserts("Correction"));
        QCOMPARE(correct(Action::Add, "2026-11-09", {}, QTime(17, 0)), Result::Done);
    }
    // With the README's grants the stations' login corrects, closes,
    // reopens and replays through the server's functions, named in the trail
    // by the login; it can neither write the trail nor the closed months
    // itself, nor change a closed month's record, nor correct without
    // EXECUTE.
    void stationLoginOnServer() {
        if (!TestProgramDir::OnServer() || qEnvironmentVariableIsSet("ATTENDANCE_TEST_PG_SIGNIN"))
            QSKIP("the rights of logins on a database made with the sign-in function");
        const QString role = QStringLiteral("st_") + fx->server()->name();
        QVERIFY(fx->addPresence("7", at("2026-03-10T08:00:00")));
        QCOMPARE(clsMonthClose::Close(fx->session(), 2026, 3, who), Result::Done);
        for (const char* sql :
             {"CREATE ROLE %1 LOGIN PASSWORD 'x'", "GRANT USAGE ON SCHEMA public TO %1",
              "GRANT SELECT, INSERT, UPDATE, DELETE ON dept, employee, presence TO %1",
              "GRANT USAGE, SELECT, UPDATE ON SEQUENCE dept_id_seq, employee_id_seq TO %1",
              "GRANT EXECUTE ON FUNCTION attendance_sign_in(text, text, text, text, text), "
              "attendance_correct(text, text, text, text, text, text, text, text, text), "
              "attendance_close_month(text, text, text), attendance_reopen_month(text, text, "
              "text), attendance_replay_trail(text, text, text, text, text, text, text, text) TO "
              "%1",
              "GRANT SELECT ON correction, monthclose, workschedule, workcalendar TO %1",
              "GRANT SELECT, INSERT ON scanreplay TO %1"})
            QVERIFY2(fx->exec(QString::fromLatin1(sql).arg(role)), qPrintable(fx->lastError));
        QVERIFY(fx->setIni("ATTENDANCE", "DBLOGINNAME", role) &&
                fx->setIni("ATTENDANCE", "DBLOGINPWD", "x"));
        clsDbConn::CloseShared();
        fx->session().Close(); // opened again with the station's login
        QCOMPARE(correct(Action::Add, "2026-11-09", QTime(8, 0), {}), Result::Done);
        QCOMPARE(clsMonthClose::Close(fx->session(), 2026, 4, who), Result::Done);
        QCOMPARE(clsMonthClose::Reopen(fx->session(), 2026, 4, QString(), who), Result::Done);
        QCOMPARE(replay("8", "2026-03-11T08:00:00", "s1"), qint16(clsPresence::Arrival));
        QCOMPARE(scan("8", "2026-11-20T08:00:00"), qint16(clsPresence::Arrival));
        const std::vector<clsCorrection::TrailRow> rows = trail();
        QCOMPARE(rows.size(), size_t(5));
        for (size_t i = 1; i < rows.size(); ++i) {
            QCOMPARE(rows[i].login, role);
            if (rows[i].action != Action::Replay)
                QCOMPARE(rows[i].host, QStringLiteral("clerk@pc1"));
        }

        DbSettings station = fx->server()->settings();
        station.user = role;
        station.password = QStringLiteral("x");
        {
            QSqlDatabase db = clsDbConn::OpenServer(station, "station");
            QVERIFY(db.isOpen());
            QSqlQuery q(db);
            for (const char* sql :
                 {"INSERT INTO correction(ctime, operator, action, enumber) VALUES "
                  "('2026-11-20 09:00:00', 'boss', 'add', '7')",
                  "INSERT INTO correction(id, ctime, reason) VALUES (30, 'x', 'y'), (31, 'x', "
                  "'y')",
                  "UPDATE correction SET reason = 'x'", "DELETE FROM correction",
                  "DELETE FROM monthclose",
                  "INSERT INTO monthclose VALUES ('2026-05', '2026-11-20 09:00:00', 'boss')",
                  "UPDATE presence SET exittime = '2026-03-10 17:00:00' WHERE enumber = '7'",
                  "DELETE FROM presence WHERE enumber = '7'",
                  "SELECT attendance_replay_trail('7', NULL, NULL, '2026-04-02 08:00:00', NULL, "
                  "'s9', 'h', 'p')"})
                QVERIFY2(!q.exec(QLatin1String(sql)), sql);
            QVERIFY(q.exec("SELECT COUNT(*) FROM correction") && q.next());
            QCOMPARE(q.value(0).toInt(), 5);
            // Nor does a temporary table of its own hide the closed months.
            QVERIFY(q.exec("CREATE TEMP TABLE monthclose(YEARMONTH text)"));
            QVERIFY(!q.exec("UPDATE presence SET exittime = '2026-03-10 17:00:00' "
                            "WHERE enumber = '7'"));
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase("station");
        // Without EXECUTE a correction is refused and changes nothing.
        {
            QSqlDatabase owner = fx->server()->connect("owner");
            QSqlQuery q(owner);
            QVERIFY(q.exec(QStringLiteral("REVOKE EXECUTE ON FUNCTION attendance_correct(text, "
                                          "text, text, text, text, text, text, text, text) FROM %1")
                               .arg(role)));
            QCOMPARE(correct(Action::Add, "2026-11-09", {}, QTime(17, 0)), Result::Failed);
            QCOMPARE(day("7", "2026-11-09"), QStringList({"08:00:00--"}));
            clsDbConn::CloseShared();
            for (const char* sql : {"DROP OWNED BY %1", "DROP ROLE %1"})
                QVERIFY2(q.exec(QString::fromLatin1(sql).arg(role)),
                         qPrintable(q.lastError().text()));
            owner.close();
        }
        QSqlDatabase::removeDatabase("owner");
    }
};

QTEST_GUILESS_MAIN(TestTrail)
#include "tst_trail.moc"
