// Today's list and the month table read from a PostgreSQL server, where the
// presence records' numbers and the employees' compare under different
// collations. Skipped without the test server (test.sh starts one).
#include "AppClock.h"
#include "DatabaseSchema.h"
#include "PgTestServer.h"
#include "TestProgramDir.h"
#include "clsConDbSet.h"
#include "clsDbConn.h"
#include "clsEmployeePresenceSet.h"
#include "clsPresenceSet.h"

#include <QTest>

class TestPresenceServer : public QObject {
    Q_OBJECT

private slots:
    void listsFindTheirEmployeesWhateverTheCase() {
        if (!PgTestServer::Available())
            QSKIP("no PostgreSQL test server (ATTENDANCE_TEST_PG_SERVER)");
        PgTestDatabase pg;
        QVERIFY2(pg.ok(), qPrintable(pg.error()));
        {
            QSqlDatabase db = pg.connect(QStringLiteral("setup"));
            QString error;
            QVERIFY2(DatabaseSchema::CreateTables(db, &error), qPrintable(error));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup"));

        TestProgramDir fx;
        QVERIFY2(fx.init(), qPrintable(fx.lastError));
        QVERIFY(fx.setIni(QStringLiteral("DATA"), QStringLiteral("ENGINE"),
                          QStringLiteral("postgresql")));
        clsConDbSet server;
        server.setServer(pg.server());
        server.setLoginName(pg.user());
        server.setLoginPwd(pg.password());
        server.setdbName(pg.name());
        QVERIFY(server.Save());

        const QDate day(2026, 3, 4);
        QVERIFY(fx.addDept(1, QStringLiteral("D")));
        QVERIFY(fx.addEmployee(QStringLiteral("k3"), QStringLiteral("丙"), QStringLiteral("3"), 1));
        QVERIFY(fx.addEmployee(QStringLiteral("7"), QStringLiteral("丁"), QStringLiteral("7"), 1));
        QVERIFY(fx.addPresence(QStringLiteral("K3"), QDateTime(day, QTime(8, 0))));
        QVERIFY(fx.addPresence(QStringLiteral("7"), QDateTime(day, QTime(8, 10)),
                               QDateTime(day, QTime(17, 0))));

        AppClock::setFixed(QDateTime(day, QTime(12, 0)));
        clsPresenceSet today;
        QVERIFY(today.LoadToday());
        QCOMPARE(today.Count(), 2);
        for (const clsPresence& p : today)
            QCOMPARE(p.ENAME(), p.ENUMBER() == QLatin1String("K3") ? QStringLiteral("丙")
                                                                   : QStringLiteral("丁"));

        clsEmployeePresenceSet month;
        QVERIFY(month.LoadByDate(QDateTime(QDate(2026, 3, 1), QTime(0, 0)),
                                 QDateTime(QDate(2026, 3, 31), QTime(0, 0))));
        QCOMPARE(month.Count(), 2);
        QCOMPARE(month.Item(QStringLiteral("K3")).ENAME(), QStringLiteral("丙"));
    }
};

QTEST_GUILESS_MAIN(TestPresenceServer)
#include "tst_presence_server.moc"
