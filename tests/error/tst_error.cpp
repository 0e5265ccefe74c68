#include "error/Error.h"

#include <QTest>

#include <cerrno>

// The one error type: its chain of causes reads as the messages always
// read, the code of the innermost failure survives the wrapping, and an
// absent out-parameter is no fault.
class TestError : public QObject {
    Q_OBJECT

private slots:
    void chainReadsAsOneText() {
        const Error disk("the disk is full", 13);
        const Error copy = disk.Within("cannot copy table Dept");
        const Error outer = copy.Within("nothing was copied");
        QCOMPARE(outer.Text(),
                 QStringLiteral("nothing was copied: cannot copy table Dept: the disk is full"));
        QCOMPARE(outer.Message(), QStringLiteral("nothing was copied"));
        QVERIFY(outer.Cause() && outer.Cause()->Cause());
        QCOMPARE(outer.Cause()->Cause()->Text(), disk.Text());
        QVERIFY(!disk.Cause());
        // The code of the failure inside, unless the outer one names its own.
        QCOMPARE(outer.Code(), 13);
        QCOMPARE(Error("locked", disk, 5).Code(), 5);
        QCOMPARE(Error("plain").Code(), 0);
    }

    void fileGoesAtTheEndOnce() {
        const QString file = QStringLiteral("/data/vorerur.dat");
        const Error inner("the disk is full");
        // Named at the end of the whole text, after the innermost cause.
        QCOMPARE(inner.Within("row 3 could not be written").Concerning(file).Text(),
                 QStringLiteral("row 3 could not be written: the disk is full: ") + file);
        // A text that names the file already is left as it is, outer or inner.
        const Error named(QStringLiteral("cannot open ") + file);
        QCOMPARE(named.Concerning(file).Text(), named.Text());
        QCOMPARE(named.Within("import").Concerning(file).Text(),
                 QStringLiteral("import: cannot open ") + file);
        QCOMPARE(inner.Concerning(QString()).Text(), inner.Text());
    }

    void reportAndSetState() {
        QVERIFY(!Error().IsSet());
        QVERIFY(Error().Within("context").IsSet());
        // Report stores and always says false; no out-parameter is no fault.
        Error out;
        QVERIFY(!Error("why").Report(&out));
        QCOMPARE(out.Text(), QStringLiteral("why"));
        QVERIFY(!Error("why").Report(nullptr));
        QVERIFY(!Error::Fail(&out, "other"));
        QCOMPARE(out.Text(), QStringLiteral("other"));
        // A copy keeps its chain when the original goes.
        Error kept;
        {
            const Error inner("inner", 8);
            kept = inner.Within("outer");
        }
        QCOMPARE(kept.Text(), QStringLiteral("outer: inner"));
        QCOMPARE(kept.Code(), 8);
    }

    void systemErrorWords() {
        QCOMPARE(Error::FromErrno(ENOSPC, "cannot write", "a.xml").Text(),
                 QStringLiteral("cannot write: a.xml: the disk is full"));
        QCOMPARE(Error::ErrnoCause(EROFS), QStringLiteral("the file system is read-only"));
        // Numbers without words of their own: the system's text.
        QVERIFY(!Error::ErrnoCause(ETIMEDOUT).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestError)
#include "tst_error.moc"
