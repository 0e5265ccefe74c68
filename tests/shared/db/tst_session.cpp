// Sessions: connections of their own, closed with the session; transactions
// nested as savepoints, an inner one that fails rolled back alone; two
// threads reading and writing at once, each on its session. On an SQLite
// file, and as tst_session_pg on a database of the test server.
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbErrors.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/StatementCache.h"
#include "tests/common/TestProgramDir.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <atomic>
#include <latch>
#include <optional>
#include <thread>

namespace {

// A writer as the record classes write: one transaction of its own, which
// commits only when every statement succeeded.
bool addDept(DbSession& session, int id, const QString& name) {
    DbTransaction tx(session, DbTransaction::Mode::Immediate);
    return tx.Exec(QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"), {id, name}) == 1 &&
           tx.Commit();
}

// The departments' names in key order, "?" when they cannot be read.
QString depts(DbSession& session) {
    auto q = DbQuery::Read(session, QStringLiteral("SELECT DNAME FROM Dept ORDER BY ID"));
    if (!q)
        return QStringLiteral("?");
    QStringList names;
    while (q->next())
        names << q->value(0).toString();
    return names.join(QLatin1Char(','));
}

int count(DbSession& session, const QString& sql, const QVariantList& params = {}) {
    auto q = DbQuery::Read(session, sql, params);
    return q && q->next() ? q->value(0).toInt() : -1;
}

} // namespace

class TestSession : public QObject {
    Q_OBJECT

private slots:
    // Writers compose: run alone each commits; inside a caller's transaction
    // each is a savepoint, and one failing (a key taken) leaves the others,
    // the caller's statements and the outer transaction usable, which then
    // commits. An outer transaction rolled back takes released savepoints
    // with it. Nothing shows to another session before the outer commit.
    void savepoints() {
        TestProgramDir dir;
        QVERIFY2(dir.init(), qPrintable(dir.lastError));
        Error why;
        DbSession session = DbSession::OpenConfigured(&why);
        QVERIFY2(session.IsOpen(), qPrintable(why.Text()));
        DbSession other = DbSession::OpenConfigured(&why);
        QVERIFY2(other.IsOpen(), qPrintable(why.Text()));

        QVERIFY(addDept(session, 1, QStringLiteral("办公室")));
        QCOMPARE(session.Depth(), 0);
        QCOMPARE(depts(other), QStringLiteral("办公室"));

        {
            DbTransaction outer(session, DbTransaction::Mode::Immediate);
            QVERIFY(outer.IsActive());
            QVERIFY(!outer.IsNested());
            QCOMPARE(outer.Exec(QStringLiteral("UPDATE Dept SET DNAME = ? WHERE ID = 1"),
                                {QStringLiteral("校长室")}),
                     1);
            QVERIFY(addDept(session, 2, QStringLiteral("教务处")));
            QVERIFY(!addDept(session, 1, QStringLiteral("重复"))); // the key is taken
            {
                DbTransaction inner(session);
                QVERIFY(inner.IsNested());
                QCOMPARE(session.Depth(), 2);
                QVERIFY(addDept(session, 3, QStringLiteral("后勤部"))); // a third level
                QCOMPARE(session.Depth(), 2);
                // Fails after a write of its own: both go, the level below stays.
                QCOMPARE(inner.Exec(QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"),
                                    {4, QStringLiteral("财务部")}),
                         1);
                QCOMPARE(inner.Exec(QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"),
                                    {2, QStringLiteral("重复")}),
                         -1);
            }
            QCOMPARE(session.Depth(), 1);
            // The outer transaction reads and writes on after the failures.
            QCOMPARE(depts(session), QStringLiteral("校长室,教务处"));
            QVERIFY(addDept(session, 5, QStringLiteral("保卫处")));
            QCOMPARE(depts(other), QStringLiteral("办公室"));
            QVERIFY(outer.Commit());
        }
        QCOMPARE(session.Depth(), 0);
        QCOMPARE(depts(other), QStringLiteral("校长室,教务处,保卫处"));

        {
            DbTransaction outer(session);
            QVERIFY(addDept(session, 6, QStringLiteral("图书馆")));
            QCOMPARE(depts(session), QStringLiteral("校长室,教务处,保卫处,图书馆"));
        } // not committed
        QCOMPARE(session.Depth(), 0);
        QCOMPARE(depts(session), QStringLiteral("校长室,教务处,保卫处"));
        QCOMPARE(depts(other), QStringLiteral("校长室,教务处,保卫处"));

        // A commit after the outer one ended has nothing left to commit.
        DbTransaction late(session);
        QVERIFY(late.Commit());
        QVERIFY(!late.Commit());
    }

    // A session owns its connection: moved, the connection goes along; the
    // moved-from session has none; gone, the connection is closed and
    // dropped. Another thread cannot use it. A session keeps its prepared
    // statements, on a server and on a file.
    void ownership() {
        TestProgramDir dir;
        QVERIFY2(dir.init(), qPrintable(dir.lastError));
        QString name;
        {
            DbSession first = DbSession::OpenConfigured();
            QVERIFY(first.IsOpen());
            name = first.Name();
            QVERIFY(QSqlDatabase::contains(name));
            QVERIFY(first.Cache() != nullptr);

            DbSession second(std::move(first));
            QVERIFY(!first.IsOpen()); // NOLINT(bugprone-use-after-move): what a move leaves
            QVERIFY(first.Name().isEmpty());
            QCOMPARE(second.Name(), name);
            QVERIFY(addDept(second, 1, QStringLiteral("办公室")));

            DbSession third;
            QVERIFY(!third.IsOpen());
            QVERIFY(!DbTransaction(third).IsActive());
            QVERIFY(!DbQuery::Read(third, QStringLiteral("SELECT 1")));
            third = std::move(second);
            QCOMPARE(depts(third), QStringLiteral("办公室"));

            bool elsewhere = true;
            std::thread([&] {
                elsewhere = third.OnOwnThread() || third.Connection().isValid();
            }).join();
            QVERIFY(!elsewhere);
            QVERIFY(third.OnOwnThread());
        }
        QVERIFY(!QSqlDatabase::contains(name));

        // A connection opened elsewhere, taken over: adopting it again keeps
        // it; the session going closes it.
        {
            const QString other = QStringLiteral("tst_session.adopted");
            DbSession adopting;
            QVERIFY(!adopting.Adopt(QSqlDatabase()));
            QVERIFY(
                adopting.Adopt(DbOpener::Open(DbSettings::FromConfiguration(), DatabaseFilePath(),
                                              other, DbOpener::Profile::Shared)));
            QVERIFY(adopting.Adopt(QSqlDatabase::database(other, false)));
            QVERIFY(adopting.IsOpen());
            QCOMPARE(adopting.Name(), other);
            QCOMPARE(depts(adopting), QStringLiteral("办公室"));
        }
        QVERIFY(!QSqlDatabase::contains(QStringLiteral("tst_session.adopted")));

        // A session closed at once, and one that fails to open.
        DbSession closed = DbSession::OpenConfigured();
        const QString closedName = closed.Name();
        closed.Close();
        QVERIFY(!closed.IsOpen());
        QVERIFY(!QSqlDatabase::contains(closedName));
        Error why;
        DbSession missing = DbSession::OpenFile(dir.file(QStringLiteral("missing.dat")),
                                                DbOpener::Profile::Shared, &why);
        QVERIFY(!missing.IsOpen());
        QVERIFY(why.IsSet());
    }

    // The statements a session keeps hold nothing between runs: a read
    // left half-read, a failed write and a rolled-back transaction leave no
    // lock or snapshot behind (another session commits and the next read
    // sees it; in a written-ahead file the log can be checkpointed), the
    // kept statements run again, and closed sessions leave no file open. On
    // the records and on a station's own file.
    void keptStatementsHoldNothing() {
        TestProgramDir dir;
        QVERIFY2(dir.init(), qPrintable(dir.lastError));
        const QString local = dir.file(QStringLiteral("local.db"));
        const auto openFiles = [&] {
            int n = 0;
            for (const QFileInfo& fd :
                 QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System))
                n += fd.symLinkTarget().startsWith(dir.path()) ? 1 : 0;
            return n;
        };
        const int filesBefore = openFiles();
        for (const bool records : {true, false}) {
            const auto open = [&] {
                return records ? DbSession::OpenConfigured()
                               : DbSession::OpenFile(local, DbOpener::Profile::Local, nullptr,
                                                     {QStringLiteral("CREATE TABLE IF NOT EXISTS "
                                                                     "Dept(ID INTEGER PRIMARY "
                                                                     "KEY, DNAME TEXT)")});
            };
            DbSession reader = open();
            DbSession writer = open();
            QVERIFY(reader.IsOpen() && writer.IsOpen());
            QVERIFY(addDept(writer, 1, QStringLiteral("办公室")));
            QVERIFY(addDept(writer, 2, QStringLiteral("教务处")));
            {
                auto q =
                    DbQuery::Read(reader, QStringLiteral("SELECT DNAME FROM Dept ORDER BY ID"));
                QVERIFY(q && q->next());
            }
            QVERIFY(!addDept(reader, 1, QStringLiteral("重复"))); // the key is taken
            {
                DbTransaction dropped(reader, DbTransaction::Mode::Immediate);
                QCOMPARE(dropped.Exec(QStringLiteral("DELETE FROM Dept"), {}), 2);
            }
            QVERIFY(addDept(writer, 3, QStringLiteral("总务处")));
            QCOMPARE(depts(reader), QStringLiteral("办公室,教务处,总务处"));
            if (!records) {
                auto checkpoint =
                    DbQuery::Read(writer, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
                QVERIFY(checkpoint && checkpoint->next());
                QCOMPARE(checkpoint->value(0).toInt(), 0); // no reader keeps it busy
            }
            QVERIFY(addDept(reader, 4, QStringLiteral("保卫处")));
            QCOMPARE(depts(writer), QStringLiteral("办公室,教务处,总务处,保卫处"));
        }
        QCOMPARE(openFiles(), filesBefore);
    }

    // On the server a scan's statements (a Quick scope) go by the server's
    // own protocol: each reads exactly as the driver's own statement does
    // (types, nulls, bytes, a ? inside quotes, counts, the server's error
    // code), and keeps working once the server has forgotten its prepared
    // statements and once the connection was ended and opened anew.
    void scanStatementsOnTheServer() {
        TestProgramDir dir;
        QVERIFY2(dir.init(), qPrintable(dir.lastError));
        DbSession session = DbSession::OpenConfigured();
        QVERIFY(session.IsOpen());
        if (session.Engine() != DbDialect::Engine::PostgreSQL)
            QSKIP("the server's protocol is the server's");
        QVERIFY(addDept(session, 1, QStringLiteral("办公室")));
        const QByteArray bytes("\0\x01'?\xff", 5);
        const QString read = QStringLiteral(
            "SELECT ?::int, ?::bigint, ?::boolean, ?::float8, ?::bytea, ?, NULL::int, "
            "'it''s ?' || \"dname\", ?, 1.5::numeric, DATE '2026-12-09', "
            "TIMESTAMP '2026-12-09 07:30:05', 'NaN'::float8, ?::text FROM Dept AS \"dept\" WHERE "
            "ID = ?");
        const QVariantList params{-7,
                                  Q_INT64_C(1) << 40,
                                  true,
                                  0.1,
                                  bytes,
                                  QStringLiteral("签到"),
                                  QVariant(QMetaType::fromType<QString>()),
                                  QString(),
                                  1};
        const auto rowOf = [&](bool quick) {
            std::optional<StatementWatchdog::Quick> scope;
            if (quick)
                scope.emplace();
            QVariantList row;
            auto q = DbQuery::Read(session, read, params);
            if (q && q->next())
                for (int i = 0; i < 14; ++i)
                    row << q->value(i);
            return row;
        };
        const QVariantList driver = rowOf(false);
        QCOMPARE(driver.size(), 14);
        QVERIFY(driver[13].isNull());
        QCOMPARE(driver[4].toByteArray(), bytes);
        for (int round = 0; round < 4; ++round) {
            if (round == 2) { // the server forgets every prepared statement
                QVERIFY(QSqlQuery(session.Connection()).exec(QStringLiteral("DEALLOCATE ALL")));
            } else if (round == 3) { // the connection is ended, and opened anew
                DbSession admin = DbSession::OpenConfigured();
                QCOMPARE(count(admin, QStringLiteral("SELECT COUNT(pg_terminate_backend(pid)) "
                                                     "FROM pg_stat_activity WHERE pid <> "
                                                     "pg_backend_pid() AND datname = "
                                                     "current_database()")),
                         1);
            }
            const QVariantList quick = rowOf(true);
            QCOMPARE(quick.size(), driver.size());
            for (int i = 0; i < driver.size(); ++i) {
                QCOMPARE(quick[i].typeId(), driver[i].typeId());
                QCOMPARE(quick[i].isNull(), driver[i].isNull());
                const bool nan = quick[i].typeId() == QMetaType::Double &&
                                 qIsNaN(quick[i].toDouble()) && qIsNaN(driver[i].toDouble());
                QVERIFY2(nan || quick[i] == driver[i], qPrintable(QString::number(i)));
            }
        }
        const StatementWatchdog::Quick scope;
        QCOMPARE(DbQuery::Exec(session, QStringLiteral("UPDATE Dept SET DNAME = ? WHERE ID >= ?"),
                               {QStringLiteral("教务处"), 0}),
                 1);
        QCOMPARE(DbQuery::Exec(session, QStringLiteral("CREATE TEMP TABLE t(a int)"), {}), 0);
        Error why;
        QVERIFY(DbQuery::Exec(session, QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"),
                              {1, QStringLiteral("x")}, &why) < 0);
        QCOMPARE(why.Code(), DbErrors::ConstraintCode);
    }

    // Two threads, each with its own session, write and read at once: a
    // writer's transaction with a savepoint that fails now and then, a read
    // of the other thread's rows outside it. Every write and read succeeds
    // (the file's busy timeout, the server's row locks) and every committed
    // row is there once.
    void twoThreads() {
        TestProgramDir dir;
        QVERIFY2(dir.init(), qPrintable(dir.lastError));
        const DbSettings settings = DbSettings::FromConfiguration();
        const QString path = DatabaseFilePath();
        constexpr int Rounds = 40;
        std::latch start(2);
        std::atomic<int> failures{0};
        std::atomic<int> emptyReads{0};
        QStringList errors[2];

        auto work = [&](int who) {
            Error why;
            DbSession session(settings, path, DbOpener::Profile::Shared, &why);
            start.arrive_and_wait();
            if (!session.IsOpen()) {
                errors[who] << why.Text();
                ++failures;
                return;
            }
            const QString mine = QStringLiteral("T%1-").arg(who);
            const QString theirs = QStringLiteral("T%1-").arg(1 - who);
            for (int i = 0; i < Rounds; ++i) {
                {
                    DbTransaction tx(session, DbTransaction::Mode::Immediate);
                    const bool wrote = tx.Exec(QStringLiteral("INSERT INTO Dept(DNAME) VALUES(?)"),
                                               {mine + QString::number(i)}) == 1;
                    if (i % 5 == 0) { // a failing savepoint inside
                        DbTransaction inner(session);
                        inner.Exec(QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"),
                                   {-1, QStringLiteral("never")});
                        inner.Exec(QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"),
                                   {-1, QStringLiteral("never")});
                    }
                    const int own = count(session,
                                          QStringLiteral("SELECT COUNT(*) FROM Dept WHERE "
                                                         "DNAME LIKE ?"),
                                          {mine + QLatin1Char('%')});
                    if (!wrote || own != i + 1 || !tx.Commit()) {
                        errors[who] << QStringLiteral("round %1: %2").arg(i).arg(tx.Error().Text());
                        ++failures;
                    }
                }
                const int seen =
                    count(session, QStringLiteral("SELECT COUNT(*) FROM Dept WHERE DNAME LIKE ?"),
                          {theirs + QLatin1Char('%')});
                if (seen < 0) {
                    errors[who] << QStringLiteral("read %1 failed").arg(i);
                    ++failures;
                } else if (seen == 0) {
                    ++emptyReads;
                }
            }
        };
        std::thread a(work, 0);
        std::thread b(work, 1);
        a.join();
        b.join();
        QVERIFY2(failures == 0, qPrintable((errors[0] + errors[1]).join(QLatin1Char('\n'))));
        // Both wrote while the other read: neither saw the other's rows never.
        QVERIFY(emptyReads < 2 * Rounds);

        DbSession check = DbSession::OpenConfigured();
        QCOMPARE(count(check, QStringLiteral("SELECT COUNT(*) FROM Dept")), 2 * Rounds);
        QCOMPARE(count(check, QStringLiteral("SELECT COUNT(DISTINCT DNAME) FROM Dept")),
                 2 * Rounds);
        QCOMPARE(count(check, QStringLiteral("SELECT COUNT(*) FROM Dept WHERE ID = -1")), 0);
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
