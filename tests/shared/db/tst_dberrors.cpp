#include "shared/db/DbErrors.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// The database's failures as Errors: the words and codes of a real SQLite
// failure and of the server's SQLSTATEs, and the file named once at the end.
class TestDbErrors : public QObject {
    Q_OBJECT

private slots:
    void sqliteFailureKeepsItsCode() {
        QTemporaryDir dir;
        const QString file = dir.filePath("x.dat");
        Error error;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "dberrors");
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("CREATE TABLE t(id INTEGER PRIMARY KEY)"));
            QVERIFY(q.exec("INSERT INTO t VALUES(1)"));
            QVERIFY(!q.exec("INSERT INTO t VALUES(1)"));
            error = DbErrors::From(q.lastError(), file);
        }
        QSqlDatabase::removeDatabase("dberrors");
        QCOMPARE(error.Code(), DbErrors::ConstraintCode);
        QVERIFY2(error.Text().endsWith(QStringLiteral(": ") + file), qPrintable(error.Text()));
        // Wrapped, the code still tells a duplicate key and the file stays last, once.
        const Error row = error.Within("row 2 could not be written");
        QCOMPARE(row.Code(), DbErrors::ConstraintCode);
        QCOMPARE(DbErrors::OnDatabase(row, file).Text(), row.Text());
    }

    void serverStatesInWords() {
        const auto from = [](const char* state, const QString& text = QString()) {
            return DbErrors::From(
                QSqlError(QString(), text, QSqlError::StatementError, QString::fromLatin1(state)));
        };
        QCOMPARE(from("55P03").Text(), DbErrors::ServerCause("55P03"));
        // A class of codes, and a duplicate key reading as SQLite's constraint code.
        QCOMPARE(from("08006").Text(),
                 QStringLiteral("the connection to the database server failed or was lost"));
        QCOMPARE(from("23505", "duplicate key").Code(), DbErrors::ConstraintCode);
        QCOMPARE(from("22P02", "bad input").Text(), QStringLiteral("bad input"));
        QCOMPARE(from("22P02").Text(), QStringLiteral("database error 22P02"));
        // SQLite's words by primary code, extended codes included.
        QCOMPARE(DbErrors::Cause(13), QStringLiteral("the disk is full"));
        QCOMPARE(DbErrors::Cause(13 | (1 << 8)), DbErrors::Cause(13));
        QVERIFY(DbErrors::Cause(1).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDbErrors)
#include "tst_dberrors.moc"
