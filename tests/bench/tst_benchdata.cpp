// The benchmarks' databases: a build that stopped half-way is never reused.
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
        auto build = [&](bool finishes) {
            return [&builds, finishes](const QString& partial) {
                ++builds;
                return writeFile(partial, "rows") && finishes;
            };
        };
        // A failed build and the leftover of a killed one: no database.
        QVERIFY(writeFile(db + QStringLiteral(".building-1"), "half"));
        QVERIFY(!BenchData::BuildFile(db, false, build(false)));
        QVERIFY(!QFileInfo::exists(db));
        // Built once, then reused; nothing else is left in the folder.
        QVERIFY(BenchData::BuildFile(db, false, build(true)));
        QVERIFY(BenchData::BuildFile(db, false, build(true)));
        QCOMPARE(builds, 2);
        QCOMPARE(readFile(db), QByteArray("rows"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"vorerur.dat"});
    }
};

QTEST_MAIN(tst_benchdata)
#include "tst_benchdata.moc"
