// The station's own files (the copy and the journal): a file that cannot be
// used is kept under a new name and a new one started, never lost; a folder
// that cannot hold them leaves offline mode off; busy is not damaged; the
// files are private whatever the umask; the station's folder without a
// data folder; the worker's marks, not flushed, kept as the scans are.
// Needs no server.
#include "shared/base/AppClock.h"
#include "shared/offline/OfflineStation.h"
#include "tests/common/FileModesBind.h"
#include "tests/common/TestProgramDir.h"
#include "texts/StationProblemText.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t Mode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

bool Chmod(const QString& path, mode_t mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

} // namespace

class TestLocalFiles : public QObject {
    Q_OBJECT

    const QDateTime t0{QDate(2026, 3, 2), QTime(8, 0)};

    // A journal holding `scans` waiting scans, as a station that stopped
    // leaves it: `crashed`, with the last ones still in the -wal.
    static void leaveJournal(const QString& folder, int scans, bool crashed) {
        QTemporaryDir live;
        {
            ScanJournal j(OfflineStation::JournalFile(live.path()));
            QVERIFY(j.IsOpen());
            for (int i = 0; i < scans; ++i)
                QVERIFY(!j.Add(QStringLiteral("C%1").arg(i), QStringLiteral("N%1").arg(i),
                               QDateTime(QDate(2026, 3, 1), QTime(8, 0)).addSecs(i), 1)
                             .isEmpty());
            if (crashed)
                for (const QString& suffix : {QString(), QStringLiteral("-wal")})
                    QVERIFY(QFile::copy(j.File().Path() + suffix,
                                        OfflineStation::JournalFile(folder) + suffix));
        }
        if (!crashed)
            QVERIFY(QFile::copy(OfflineStation::JournalFile(live.path()),
                                OfflineStation::JournalFile(folder)));
    }
    static void overwriteHead(const QString& path) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QCOMPARE(f.write(QByteArray(16, 'x')), 16);
    }
    // A station on the folder records a scan in its (new) journal.
    void journalWorks(OfflineStation& s) {
        QVERIFY(s.IsOpen());
        QCOMPARE(s.Pending(), 0);
        QCOMPARE(s.Scan("C1", t0).found, clsEmployee::Lookup::NotFound);
        QCOMPARE(s.Pending(), 1);
    }

private slots:
    void init() { AppClock::setFixed(t0); }
    void cleanup() { AppClock::reset(); }

    // Overwritten head, read-only file, another program's database, a
    // folder in its place: kept aside with the -wal, a new journal works.
    void unusableJournalKeptAside_data() {
        QTest::addColumn<QString>("damage");
        for (const char* d : {"head", "readonly", "foreign", "folder"})
            QTest::newRow(d) << QString::fromLatin1(d);
    }
    void unusableJournalKeptAside() {
        QFETCH(QString, damage);
        QTemporaryDir dir;
        const QString journal = OfflineStation::JournalFile(dir.path());
        const QString kept = journal + QStringLiteral(".damaged-20260302-080000");
        FileModesBind modes;
        if (damage == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(journal + QStringLiteral("/inside")));
        } else if (damage == QLatin1String("foreign")) {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(journal);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec("CREATE TABLE Scan(X)"));
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase("foreign");
        } else {
            // The overwritten head of a journal whose first page waits in
            // the -wal is mended at the next checkpoint: no damage.
            leaveJournal(dir.path(), 5, damage == QLatin1String("readonly"));
            if (damage == QLatin1String("head"))
                overwriteHead(journal);
            else if (!modes.ok() || !Chmod(journal, 0440))
                QSKIP("file modes do not bind here");
        }
        const QByteArray before = readFile(journal);
        {
            OfflineStation s(dir.path());
            journalWorks(s);
            QCOMPARE(s.Journal().File().KeptAs(), kept);
            QCOMPARE(StationProblemTexts(s.Problems()).size(), 1);
            QVERIFY2(StationProblemTexts(s.Problems())[0].contains(kept) &&
                         StationProblemTexts(s.Problems())[0].contains("replay-journal"),
                     qPrintable(StationProblemTexts(s.Problems())[0]));
            QVERIFY(s.Journal().File().Problem().contains(kept));
            QVERIFY(s.Cache().File().Problem().isEmpty());
        }
        QCOMPARE(readFile(kept), before);
        QCOMPARE(QFileInfo(kept + QStringLiteral("-wal")).isFile(), damage == "readonly");
        // A second station finds everything in order.
        OfflineStation again(dir.path());
        QVERIFY(again.IsOpen() && StationProblemTexts(again.Problems()).isEmpty());
        QCOMPARE(again.Pending(), 1);
    }

    // Each kept file gets a name of its own, also within one second; the
    // copy is kept aside as the journal is.
    void keptNamesUnique() {
        QTemporaryDir dir;
        const QString cache = OfflineStation::CacheFile(dir.path());
        for (int round = 1; round <= 3; ++round) {
            QVERIFY(writeFile(cache, QByteArray(4096, char(round))));
            OfflineStation s(dir.path());
            QVERIFY(s.IsOpen());
            const QString kept = cache + QStringLiteral(".damaged-20260302-080000") +
                                 (round == 1 ? QString() : QStringLiteral("-%1").arg(round));
            QCOMPARE(s.Cache().File().KeptAs(), kept);
            QCOMPARE(
                StationProblemTexts(s.Problems()),
                QStringList{QStringLiteral("离线副本无法使用，已保留为 %1，并已新建").arg(kept)});
            QCOMPARE(readFile(kept), QByteArray(4096, char(round)));
            QVERIFY(!s.Cache().Find("C1"));
        }
    }

    // A folder that cannot hold a file: nothing is moved, offline mode stays
    // off and the status bar names the folder.
    void readOnlyFolder() {
        QTemporaryDir dir;
        FileModesBind modes;
        leaveJournal(dir.path(), 3, true);
        const QString journal = OfflineStation::JournalFile(dir.path());
        overwriteHead(journal);
        const QByteArray before = readFile(journal);
        if (!modes.ok() || !Chmod(dir.path(), 0555))
            QSKIP("file modes do not bind here");
        {
            OfflineStation s(dir.path());
            Chmod(dir.path(), 0755);
            QVERIFY(!s.IsOpen());
            QVERIFY(s.Journal().File().KeptAs().isEmpty());
            QVERIFY(s.Journal().File().FolderUnusable());
            QVERIFY(StationProblemTexts(s.Problems())
                        .join('\n')
                        .contains(QStringLiteral("离线模式未开启：文件夹 %1").arg(dir.path())));
        }
        QCOMPARE(readFile(journal), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
                 QStringList({"station-journal.db", "station-journal.db-wal"}));
        // A data folder that does not exist is said alike.
        OfflineStation missing(dir.filePath("gone"));
        QVERIFY(!missing.IsOpen() && StationProblemTexts(missing.Problems()).size() == 2);
    }

    // A journal another program holds longer than the busy wait is in use,
    // not damaged: it stays where it is, untouched.
    void busyJournalStays() {
        QTemporaryDir dir;
        leaveJournal(dir.path(), 2, false);
        const QString journal = OfflineStation::JournalFile(dir.path());
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
            holder.setDatabaseName(journal);
            QVERIFY(holder.open());
            QSqlQuery q(holder);
            QVERIFY(q.exec("BEGIN EXCLUSIVE"));
            OfflineStation s(dir.path());
            QVERIFY(!s.IsOpen());
            QVERIFY(s.Journal().File().KeptAs().isEmpty());
            QVERIFY(!s.Journal().File().FolderUnusable());
            QCOMPARE(
                StationProblemTexts(s.Problems()),
                QStringList{QStringLiteral("离线模式未开启：离线记录 %1 无法打开").arg(journal)});
            q.exec("ROLLBACK");
        }
        QSqlDatabase::removeDatabase("holder");
        OfflineStation s(dir.path());
        QVERIFY(s.IsOpen() && StationProblemTexts(s.Problems()).isEmpty());
        QCOMPARE(s.Pending(), 2);
    }

    // The worker marks scans on a connection of its own that does not wait
    // for the disk: a station killed right after (its files as they are,
    // with the -wal) still holds every scan and every mark, and a mark on a
    // scan taken meanwhile touches only its own.
    void marksWithoutFlushSurviveKill() {
        QTemporaryDir live, after;
        const QString path = OfflineStation::JournalFile(live.path());
        ScanJournal station(path);
        ScanJournal worker(path);
        QVERIFY(station.IsOpen() && worker.IsOpen());
        QVERIFY(worker.SetFlushOnCommit(false));
        QStringList ids;
        for (int i = 0; i < 3; ++i)
            ids << station.Add(QStringLiteral("C%1").arg(i), QString(), t0.addSecs(i), 0);
        QVERIFY(!ids.contains(QString()));
        QVERIFY(worker.MarkReplayed({{ids[0], 1, QStringLiteral("N0")}}));
        ids << station.Add("C3", QString(), t0.addSecs(3), 0);
        QVERIFY(worker.MarkReplayed({{ids[2], 2, QStringLiteral("N2")}}));
        for (const QString& suffix : {QString(), QStringLiteral("-wal")})
            QVERIFY(QFile::copy(path + suffix, OfflineStation::JournalFile(after.path()) + suffix));

        ScanJournal reopened(OfflineStation::JournalFile(after.path()));
        QVERIFY(reopened.IsOpen());
        const QVector<ScanJournal::Entry> pending = reopened.Pending();
        QCOMPARE(pending.size(), 2);
        QCOMPARE(pending[0].scanId, ids[1]);
        QCOMPARE(pending[1].scanId, ids[3]);
        const QVector<ScanJournal::Entry> day = reopened.Day("N2", t0.date());
        QCOMPARE(day.size(), 1);
        QVERIFY(day[0].replayed && day[0].state == 2);
    }

    // A journal of the earlier layout (full indexes) opens with the partial
    // ones in their place, its scans as they were, and both reads of the
    // scan road (waiting scans, a number's day) search an index.
    void journalOfEarlierLayout() {
        QTemporaryDir dir;
        const QString path = OfflineStation::JournalFile(dir.path());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "old");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            for (const char* sql :
                 {"CREATE TABLE Scan(SEQ INTEGER PRIMARY KEY AUTOINCREMENT, SCANID TEXT NOT NULL "
                  "UNIQUE, BARCODE TEXT, ENUMBER TEXT, SCANTIME TEXT NOT NULL, STATE INTEGER, "
                  "REPLAYED INTEGER NOT NULL DEFAULT 0)",
                  "CREATE INDEX IX_Scan_Pending ON Scan(REPLAYED, SEQ)",
                  "CREATE INDEX IX_Scan_Number ON Scan(ENUMBER, SCANTIME)",
                  "INSERT INTO Scan(SCANID, BARCODE, ENUMBER, SCANTIME, STATE, REPLAYED) VALUES "
                  "('a', 'C1', 'N1', '2026-03-02 07:50:00', 1, 1), ('b', 'C2', 'N2', "
                  "'2026-03-02 07:55:00', 1, 0), ('c', 'C3', NULL, '2026-03-02 07:58:00', 0, 0)"})
                QVERIFY2(q.exec(QLatin1String(sql)), qPrintable(q.lastError().text()));
        }
        QSqlDatabase::removeDatabase("old");
        ScanJournal j(path);
        QVERIFY(j.IsOpen());
        QSqlQuery q(j.File().Session().Connection());
        QVERIFY(q.exec("SELECT name FROM sqlite_master WHERE type = 'index' AND name LIKE "
                       "'IX_Scan%' ORDER BY name"));
        QStringList indexes;
        while (q.next())
            indexes << q.value(0).toString();
        QCOMPARE(indexes, QStringList({"IX_Scan_Numbered", "IX_Scan_Waiting"}));
        const QVector<ScanJournal::Entry> pending = j.Pending();
        QCOMPARE(pending.size(), 2);
        QCOMPARE(pending[0].scanId, QStringLiteral("b"));
        QCOMPARE(j.PendingCount(), 2);
        QCOMPARE(j.Day("N1", t0.date()).size(), 1);
        QVERIFY(j.MarkReplayed({{"c", 2, QStringLiteral("N1")}}));
        QCOMPARE(j.Day("N1", t0.date()).size(), 2);
        QCOMPARE(j.Pending().size(), 1);
        for (const char* read : {"SELECT SEQ FROM Scan WHERE REPLAYED = 0 ORDER BY SEQ LIMIT 20",
                                 "SELECT STATE FROM Scan WHERE ENUMBER = 'N1' AND ENUMBER <> '' "
                                 "AND SCANTIME >= '2026-03-02' AND SCANTIME < '2026-03-03'"}) {
            QVERIFY(q.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + QLatin1String(read)));
            QVERIFY(q.next());
            QVERIFY2(q.value(3).toString().contains(QLatin1String("INDEX IX_Scan_")),
                     qPrintable(q.value(3).toString()));
        }
    }

    // New files and their -wal and -shm for owner and group, under a
    // permissive umask and under one that would shut the group out; an
    // existing file loses the others' rights, nothing more.
    void filesArePrivate_data() {
        QTest::addColumn<int>("mask");
        QTest::newRow("umask 000") << 0;
        QTest::newRow("umask 077") << 077;
    }
    void filesArePrivate() {
        QFETCH(int, mask);
        QTemporaryDir dir;
        const mode_t saved = ::umask(mode_t(mask));
        const QString journal = OfflineStation::JournalFile(dir.path());
        const QString cache = OfflineStation::CacheFile(dir.path());
        {
            OfflineStation s(dir.path());
            QVERIFY(s.IsOpen());
            s.Scan("C1", t0);
            QVERIFY(s.Cache().RefreshedAt().isNull());
            for (const QString& file : {journal, cache})
                for (const char* suffix : {"", "-wal", "-shm"})
                    QCOMPARE(Mode(file + QLatin1String(suffix)), mode_t(0660));
        }
        QVERIFY(Chmod(cache, 0666) && Chmod(journal, 0640));
        OfflineStation s(dir.path());
        ::umask(saved);
        QCOMPARE(Mode(cache), mode_t(0660));
        QCOMPARE(Mode(journal), mode_t(0640));
    }

    // The data folder when the configuration names one, else the user's
    // own, made private.
    void stationFolder() {
        TestProgramDir fx;
        QVERIFY2(fx.init(), qPrintable(fx.lastError));
        QCOMPARE(OfflineStation::Folder(), fx.ini("DATA", "PATH"));
        QVERIFY(fx.setIni("DATA", "PATH", QString()));
        QTemporaryDir state;
        const QByteArray savedState = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.filePath("deep/state")));
        const mode_t saved = ::umask(0);
        const QString folder = OfflineStation::Folder();
        ::umask(saved);
        QCOMPARE(folder, state.filePath("deep/state/attendance"));
        QCOMPARE(Mode(folder), mode_t(0700));
        QVERIFY(OfflineStation(folder).IsOpen());
        // A relative XDG_STATE_HOME is ignored, as the XDG base directory
        // rules ask.
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("XDG_STATE_HOME", "relative/path");
        qputenv("HOME", QFile::encodeName(state.path()));
        QCOMPARE(OfflineStation::Folder(), state.filePath(".local/state/attendance"));
        qputenv("HOME", savedHome);
        if (savedState.isNull())
            qunsetenv("XDG_STATE_HOME");
        else
            qputenv("XDG_STATE_HOME", savedState);
    }
};

QTEST_MAIN(TestLocalFiles)
#include "tst_localfiles.moc"
