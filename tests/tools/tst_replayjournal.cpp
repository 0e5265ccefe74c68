// attendance-admin replay-journal: the scans of a journal a station kept
// aside (its head overwritten, the last scans still in its -wal) reach the
// database exactly once; a damaged part is skipped and named; the file is
// never changed.
#include "shared/db/DbSession.h"
#include "shared/db/clsDbConn.h"
#include "shared/offline/OfflineStation.h"
#include "tests/tools/helpers/AdminTool.h"
#include "texts/StationProblemText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QtTest>

class tst_ReplayJournal : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    const QDateTime t0{QDate(2026, 3, 2), QTime(8, 0)};

    QString card(int i) const { return QStringLiteral("C%1").arg(i); }
    QString number(int i) const { return QStringLiteral("N%1").arg(i); }
    ToolRun replay(const QString& file) const {
        return AdminTool::Run({"replay-journal", file, "--dir", fx->path()});
    }
    static int lines(const ToolRun& r, const QString& head) {
        return QString::fromUtf8(r.out).split(QLatin1Char('\n')).filter(head).size();
    }
    static QByteArray digest(const QString& path) {
        return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256);
    }
    static void overwriteHead(const QString& path) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QCOMPARE(f.write(QByteArray(16, '\0')), 16);
    }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, "教务处"));
        for (int i = 0; i < 5; ++i)
            QVERIFY(fx->addEmployee(number(i), QStringLiteral("员工%1").arg(i), card(i), 1));
    }
    void cleanup() { fx.reset(); }

    // A station's journal, its head overwritten after the station stopped:
    // the next start keeps it aside; the command applies each scan once,
    // whatever the server had already. The same journal left by a power
    // cut (its scans still in the -wal) is read with its -wal.
    void keptJournalAppliedOnce() {
        QTemporaryDir live, stopped, cut;
        {
            OfflineStation s(live.path());
            QVERIFY(s.IsOpen());
            DbSession server = DbSession::OpenConfigured();
            QVERIFY(s.Cache().Refresh(server, t0.date(), t0));
            // A card the copy does not know yet, which the server does.
            QVERIFY(fx->addEmployee(number(9), "新员工", card(9), 1));
            for (int i = 0; i < 5; ++i)
                QCOMPARE(s.Scan(card(i), t0.addSecs(i)).state, qint16(clsPresence::Arrival));
            for (int i = 0; i < 3; ++i)
                QCOMPARE(s.Scan(card(i), t0.addSecs(9 * 3600 + i)).state,
                         qint16(clsPresence::Departure));
            QCOMPARE(s.Scan(card(3), t0.addSecs(33)).state, qint16(clsPresence::Repeated));
            QCOMPARE(s.Scan(QStringLiteral("NOBODY"), t0.addSecs(40)).found,
                     clsEmployee::Lookup::NotFound);
            QCOMPARE(s.Scan(card(9), t0.addSecs(50)).found, clsEmployee::Lookup::NotFound);
            // The server took card 0's arrival (the journal not marked: a
            // crash between the commits) and card 4's (marked).
            const QVector<ScanJournal::Entry> scans = s.Journal().Pending();
            QCOMPARE(scans.size(), 11);
            for (int k : {0, 4}) {
                clsPresence p;
                p.setENUMBER(scans[k].number);
                QCOMPARE(p.Add(fx->session(), scans[k].at, scans[k].scanId),
                         qint16(clsPresence::Arrival));
            }
            QVERIFY(s.Journal().MarkReplayed(scans[4].scanId, clsPresence::Arrival));
            for (const QString& suffix : {QString(), QStringLiteral("-wal")})
                QVERIFY(QFile::copy(OfflineStation::JournalFile(live.path()) + suffix,
                                    OfflineStation::JournalFile(cut.path()) + suffix));
        }
        QVERIFY(QFile::copy(OfflineStation::JournalFile(live.path()),
                            OfflineStation::JournalFile(stopped.path())));
        overwriteHead(OfflineStation::JournalFile(stopped.path()));
        QString kept;
        {
            OfflineStation s(stopped.path());
            QVERIFY(s.IsOpen());
            kept = s.Journal().File().KeptAs();
            QVERIFY(!kept.isEmpty() && StationProblemTexts(s.Problems()).join(' ').contains(kept));
        }
        clsDbConn::CloseShared();
        const QByteArray before = digest(kept);

        const ToolRun first = replay(kept);
        QVERIFY2(first.code == 0, qPrintable(first.err));
        QVERIFY(first.out.contains("the first 16 bytes were not SQLite's"));
        QCOMPARE(lines(first, QStringLiteral("applied: ")), 8);
        QCOMPARE(lines(first, QStringLiteral("already there: ")), 2);
        QCOMPARE(lines(first, QStringLiteral("unknown card: ")), 1);
        QVERIFY(first.out.contains("applied: 2026-03-02 08:00:50 - (card C9)"));
        QVERIFY(first.out.contains(
            "11 scans read: 8 applied, 2 already there, 1 of unknown cards; 0 could not be read"));
        QCOMPARE(fx->rows("Presence"), 6);
        QCOMPARE(fx->rows("Presence WHERE EXITTIME IS NOT NULL"), 3);
        QCOMPARE(fx->rows("Presence WHERE ENUMBER = 'N9'"), 1);
        QCOMPARE(fx->rows("ScanReplay"), 10);
        clsDbConn::CloseShared();

        const ToolRun second = replay(kept);
        QVERIFY2(second.code == 0, qPrintable(second.err));
        QVERIFY(
            second.out.contains("11 scans read: 0 applied, 10 already there, 1 of unknown cards"));
        QCOMPARE(digest(kept), before);
        QVERIFY(!QFileInfo::exists(kept + QStringLiteral("-shm")));

        // The power cut's journal: the file alone holds no scan yet.
        const QString cutJournal = OfflineStation::JournalFile(cut.path());
        overwriteHead(cutJournal);
        const QByteArray wal = digest(cutJournal + QStringLiteral("-wal"));
        clsDbConn::CloseShared();
        const ToolRun third = replay(cutJournal);
        QVERIFY2(third.code == 0, qPrintable(third.err));
        QVERIFY(
            third.out.contains("11 scans read: 0 applied, 10 already there, 1 of unknown cards"));
        QCOMPARE(digest(cutJournal + QStringLiteral("-wal")), wal);
        QCOMPARE(fx->rows("Presence"), 6);
        QCOMPARE(fx->rows("ScanReplay"), 10);
    }

    // A page of the scans' table destroyed: the scans on it are named, the
    // others applied; the command says it could not read everything.
    void damagedPageSkipped() {
        QTemporaryDir dir;
        const QString path = OfflineStation::JournalFile(dir.path());
        {
            ScanJournal j(path);
            for (int i = 0; i < 200; ++i)
                QVERIFY(!j.Add(QStringLiteral("UNKNOWN-%1-").arg(i) + QString(60, 'X'), QString(),
                               t0.addSecs(i), 0)
                             .isEmpty());
        }
        QByteArray bytes = readFile(path);
        QVERIFY(bytes.size() > 4096 && !QFileInfo::exists(path + QStringLiteral("-wal")));
        const int pageSize = (quint8(bytes[16]) << 8) | quint8(bytes[17]);
        // The first table leaf with more than one cell (sqlite_sequence has one).
        int cells = 0;
        for (qsizetype at = pageSize; at < bytes.size() && cells == 0; at += pageSize) {
            const int count = (quint8(bytes[at + 3]) << 8) | quint8(bytes[at + 4]);
            if (bytes[at] == 0x0D && count > 1) {
                cells = count;
                bytes.replace(at, 8, QByteArray(8, '\xff'));
            }
        }
        QVERIFY(cells > 1 && cells < 200);
        QVERIFY(writeFile(path, bytes));

        const ToolRun r = replay(path);
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains("could not be read"), qPrintable(r.err));
        QCOMPARE(lines(r, QStringLiteral("could not be read: scan ")), cells);
        QCOMPARE(lines(r, QStringLiteral("unknown card: ")), 200 - cells);
        QCOMPARE(readFile(path), bytes);
    }

    // What is no journal is refused before the database is touched.
    void refusals() {
        QTemporaryDir dir;
        QVERIFY(OfflineStation(dir.path()).IsOpen());
        const struct {
            QString file;
            const char* says;
        } cases[] = {
            {dir.filePath("none.db"), "no such file"},
            {dir.path(), "is not a file"},
            {OfflineStation::CacheFile(dir.path()), "no station journal"},
            {fx->writeFile("text.db", "plain text, no database at all"), "no station journal"},
        };
        for (const auto& c : cases)
            QVERIFY(AdminTool::Fails({"replay-journal", c.file, "--dir", fx->path()}, {c.says}));
        QCOMPARE(AdminTool::Run({"replay-journal", "--dir", fx->path()}).code, 2);
    }
};

QTEST_MAIN(tst_ReplayJournal)
#include "tst_replayjournal.moc"
