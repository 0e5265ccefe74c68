#include "PgTestServer.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

namespace {

// The first value of `sql` on `db`, or an invalid QVariant when it fails.
QVariant scalar(const QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next())
        return QVariant();
    return q.value(0);
}

} // namespace

class TestPgServer : public QObject {
    Q_OBJECT

private slots:
    void splitServer_data() {
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("host only") << "db.school" << true << "db.school" << 5432;
        QTest::newRow("host and port") << "127.0.0.1:23456" << true << "127.0.0.1" << 23456;
        QTest::newRow("last colon") << "a:b:7" << true << "a:b" << 7;
        QTest::newRow("no host") << ":5432" << false << "" << 0;
        QTest::newRow("port zero") << "h:0" << false << "" << 0;
        QTest::newRow("port too big") << "h:65536" << false << "" << 0;
        QTest::newRow("port not a number") << "h:pg" << false << "" << 0;
    }
    void splitServer() {
        QFETCH(QString, server);
        QFETCH(bool, valid);
        QFETCH(QString, host);
        QFETCH(int, port);
        QString gotHost;
        int gotPort = -1;
        QCOMPARE(PgTestServer::SplitServer(server, &gotHost, &gotPort), valid);
        if (valid) {
            QCOMPARE(gotHost, host);
            QCOMPARE(gotPort, port);
        }
    }

    // Two databases live side by side, hold separate tables, and are gone
    // once their objects are, even with a connection still open to one.
    void databasesAreSeparateAndDropped() {
        if (!PgTestServer::Available())
            QSKIP("no PostgreSQL test server (test.sh starts one)");
        QStringList names;
        {
            auto a = std::make_unique<PgTestDatabase>();
            PgTestDatabase b;
            QVERIFY2(a->ok(), qPrintable(a->error()));
            QVERIFY2(b.ok(), qPrintable(b.error()));
            QVERIFY(a->name() != b.name());
            names << a->name() << b.name();

            QSqlDatabase ca = a->connect(QStringLiteral("pg_a"));
            QSqlDatabase cb = b.connect(QStringLiteral("pg_b"));
            QVERIFY2(ca.isOpen(), qPrintable(ca.lastError().text()));
            QVERIFY2(cb.isOpen(), qPrintable(cb.lastError().text()));
            QCOMPARE(scalar(ca, QStringLiteral("SELECT current_database()")).toString(), a->name());

            QSqlQuery qa(ca);
            QVERIFY(qa.exec(QStringLiteral("CREATE TABLE Dept (Deptname TEXT)")));
            QVERIFY(qa.prepare(QStringLiteral("INSERT INTO Dept VALUES (?)")));
            qa.addBindValue(QStringLiteral("教务处"));
            QVERIFY2(qa.exec(), qPrintable(qa.lastError().text()));
            const QString tables =
                QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE tablename = 'dept'");
            QCOMPARE(scalar(cb, tables).toInt(), 0);
            QSqlQuery qb(cb);
            QVERIFY(qb.exec(QStringLiteral("CREATE TABLE Dept (Deptname TEXT)")));
            QCOMPARE(scalar(cb, QStringLiteral("SELECT COUNT(*) FROM Dept")).toInt(), 0);
            QCOMPARE(scalar(ca, QStringLiteral("SELECT Deptname FROM Dept")).toString(),
                     QStringLiteral("教务处"));

            // `a` goes while "pg_a" is still connected to it.
            qa.clear(); // frees its prepared statement while the server still can
            a.reset();
            qb.finish();
            cb.close();
            ca.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("pg_a"));
        QSqlDatabase::removeDatabase(QStringLiteral("pg_b"));

        PgTestDatabase probe;
        QVERIFY2(probe.ok(), qPrintable(probe.error()));
        {
            QSqlDatabase c = probe.connect(QStringLiteral("pg_probe"));
            QSqlQuery q(c);
            QVERIFY(q.prepare(
                QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname IN (?, ?)")));
            q.addBindValue(names[0]);
            q.addBindValue(names[1]);
            QVERIFY2(q.exec() && q.next(), qPrintable(q.lastError().text()));
            QCOMPARE(q.value(0).toInt(), 0);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("pg_probe"));
    }
};

QTEST_GUILESS_MAIN(TestPgServer)
#include "tst_pgserver.moc"
