// A benchmark database whose build stopped half-way is never reused.
#include "bench/BenchData.h"
#include "tests/common/TestProgramDir.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class tst_benchdata : public QObject {
    Q_OBJECT

private slots:
    void onlyAFinishedBuildIsReused() {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("vorerur.dat"));
        int builds = 0;
        QVERIFY(writeFile(db + QStringLiteral(".building-1"), "half")); // a killed build's
        for (const bool finishes : {false, true, true})
            BenchData::BuildFile(db, false, [&](const QString& partial) {
                return ++builds, writeFile(partial, "rows") && finishes;
            });
        QCOMPARE(builds, 2); // failed, built, reused
        QCOMPARE(readFile(db), QByteArray("rows"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"vorerur.dat"});
    }
};

QTEST_MAIN(tst_benchdata)
#include "tst_benchdata.moc"
