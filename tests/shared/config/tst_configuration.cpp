#include "shared/base/AtomicFile.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/IniFile.h"
#include "shared/config/clsConDbSet.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbSettings.h"
#include "shared/db/clsDbConn.h"
#include "tests/common/TestProgramDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QVERIFY(writeFile(path, bytes));
}

clsConfiguration Config(const QString& group) {
    clsConfiguration cfg;
    cfg.setFileName(clsConfiguration::DefaultFileName());
    cfg.setGroup(group);
    return cfg;
}

// One key of the program directory's configuration file.
QString Get(const QString& group, const QString& key) {
    return Config(group).GetItem(key);
}
bool Set(const QString& group, const QString& key, const QString& value) {
    return Config(group).SetItem(key, value);
}

mode_t Mode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace

class TestConfiguration : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_ini;

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        SetProgramDirectory(m_dir->path());
        m_ini = m_dir->filePath("attendance.ini");
    }
    void cleanup() {
        AtomicFile::SetTestSeams(false, nullptr);
        SetProgramDirectory(QString());
        m_dir.reset();
    }

    // Every reader goes through GetItem: one key stands for them all.
    void missingFileReadsEmpty() {
        QVERIFY(Get("ATTENDANCE", "DBSERVER").isEmpty());
        QVERIFY(DataPath().isEmpty());
        QCOMPARE(DatabaseFilePath(), QStringLiteral("/vorerur.dat"));
        clsConfiguration noFile;
        noFile.setGroup("DATA");
        QVERIFY(noFile.GetItem("PATH").isEmpty());
        QVERIFY(!noFile.SetItem("PATH", "x"));
        QVERIFY(!QFile::exists(m_ini)); // reads never create the file
    }

    void dataPathAndDatabaseFile() {
        WriteBytes(m_ini, "[DATA]\r\nPATH=C:\\Program Files\\att\\\r\n");
        QCOMPARE(DataPath(), QStringLiteral("C:\\Program Files\\att\\"));
        QCOMPARE(DatabaseFilePath(), QStringLiteral("C:/Program Files/att/vorerur.dat"));
        WriteBytes(m_ini, "[data]\npath = /srv/att\n");
        QCOMPARE(DatabaseFilePath(), QStringLiteral("/srv/att/vorerur.dat"));
    }

    // [DATA] ENGINE (Location tells the engine) and the server as host or host:port.
    void databaseSettings() {
        const DbSettings absent = DbSettings::FromConfiguration();
        QCOMPARE(absent.Location(), DatabaseFilePath());
        WriteBytes(m_ini, "[DATA]\nENGINE= PostgreSQL \n[ATTENDANCE]\nDBSERVER=db1:5433\n"
                          "DBLOGINNAME=u\nDBNAME=att\n");
        const DbSettings server = DbSettings::FromConfiguration();
        QVERIFY(server.ServerComplete());
        QCOMPARE(server.Location(), QStringLiteral("server db1:5433, database att"));
        for (const auto& [text, host, port] :
             std::initializer_list<std::tuple<const char*, const char*, int>>{
                 {"db1", "db1", 5432},
                 {"10.0.0.9:6543", "10.0.0.9", 6543},
                 {"[::1]:5433", "::1", 5433},
                 {"::1", "::1", 5432},
                 {"db1:x", "db1", -1}}) {
            DbSettings s;
            s.server = QLatin1String(text);
            QCOMPARE(s.Host(), QLatin1String(host));
            QCOMPARE(s.Port(), port);
        }
    }

    void longValuesAreCutAt254Bytes() {
        const QString ascii(300, QLatin1Char('x'));
        QVERIFY(Set("UNIT", "UNITNAME", ascii));
        QCOMPARE(Get("UNIT", "UNITNAME"), ascii.left(254));
        QVERIFY(readFile(m_ini).contains(ascii.toLatin1())); // stored whole
        // 1 + 2 * 150 bytes: the 127th Chinese character would end at byte
        // 255, so the cut stops before it instead of splitting it.
        const QString odd = QLatin1Char('a') + QString(150, QChar(0x4E2D)), even = odd.mid(1);
        QVERIFY(Set("UNIT", "UNITNAME", odd));
        QCOMPARE(Get("UNIT", "UNITNAME"), odd.left(1 + 126));
        QVERIFY(Set("UNIT", "UNITNAME", even));
        QCOMPARE(Get("UNIT", "UNITNAME"), even.left(127));
    }

    void namesMatchWithoutCase() {
        WriteBytes(m_ini, "[Attendance]\r\nDbServer=srv1\r\n[other]\r\nalp=123\r\n");
        QCOMPARE(Get("ATTENDANCE", "DBSERVER"), QStringLiteral("srv1"));
        QCOMPARE(Get("OTHER", "ALP"), QStringLiteral("123"));
        // The existing line is changed in place, keeping its spelling.
        QVERIFY(Set("attendance", "dbserver", "srv2"));
        QCOMPARE(readFile(m_ini),
                 QByteArray("[Attendance]\r\nDbServer=srv2\r\n[other]\r\nalp=123\r\n"));

        // A GBK name whose trail byte is ']' (0x81 0x5D).
        WriteBytes(m_ini, "[\x81\x5D]\r\nK=v\r\n");
        QCOMPARE(Get(QString(QChar(0x4E5A)), "k"), QStringLiteral("v"));
    }

    // UTF-8 with a byte-order mark stays UTF-8; new lines end as the file's do.
    void encodingAndLineEndingsFollowTheFile() {
        const QByteArray mark = "\xEF\xBB\xBF", name = QStringLiteral("示范学校").toUtf8();
        WriteBytes(m_ini, mark + "[UNIT]\nUNITNAME=" + name + "\n");
        QCOMPARE(Get("UNIT", "UNITNAME"), QStringLiteral("示范学校"));
        // 100 three-byte characters: the cut at 254 bytes keeps whole ones.
        const QString wide(100, QChar(0x4E2D)), smile = QString::fromUtf8("\xF0\x9F\x98\x80");
        QVERIFY(IniFile(m_ini).WriteKeys({{"UNIT", "DSPNAME", wide}, {"OTHER", "ALP", smile}}));
        QCOMPARE(Get("UNIT", "DSPNAME"), wide.left(84));
        QCOMPARE(Get("OTHER", "ALP"), smile);
        QCOMPARE(readFile(m_ini), mark + "[UNIT]\nUNITNAME=" + name + "\nDSPNAME=" + wide.toUtf8() +
                                      "\n\n[OTHER]\nALP=" + smile.toUtf8() + "\n");
    }

    void readRulesForValues_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blanks") << QByteArray("K =  \t a  b \t ") << "a  b";
        QTest::newRow("double quotes") << QByteArray("K=\"quoted\"") << "quoted";
        QTest::newRow("single quotes") << QByteArray("K= 'single' ") << "single";
        QTest::newRow("one pair only") << QByteArray("K=\"\"x\"\"") << "\"x\"";
        QTest::newRow("unmatched") << QByteArray("K=\"open") << "\"open";
        QTest::newRow("mixed quotes") << QByteArray("K=\"x'") << "\"x'";
        QTest::newRow("empty") << QByteArray("K=") << QString();
        QTest::newRow("equals in value") << QByteArray("K=a=b") << "a=b";
        QTest::newRow("gbk bracket byte") << QByteArray("K=\x81\x5D") << QString(QChar(0x4E5A));
    }
    void readRulesForValues() {
        QFETCH(QByteArray, line);
        QFETCH(QString, expected);
        WriteBytes(m_ini, "; comment\r\n[G]\r\n" + line + "\r\n");
        QCOMPARE(Get("G", "K"), expected);
    }

    void valuesReadBackAsWritten() {
        for (const char* v : {" pass word ", "\"q\"", "''", "\t", "'a", "\""}) {
            QVERIFY(Set("ATTENDANCE", "DBLOGINPWD", v));
            QCOMPARE(Get("ATTENDANCE", "DBLOGINPWD"), QLatin1String(v));
        }
    }

    void otherLinesKeptByteForByte() {
        const QByteArray before = "; \xD7\xA2\xCA\xCD comment\r\n"
                                  "[DATA]\r\n"
                                  "PATH = /srv/att\r\n"
                                  "\r\n"
                                  "[UNIT]\r\n"
                                  "UNITNAME=old\r\n"
                                  "DSPNAME  =  \"Card\"\r\n"
                                  "; trailing comment of UNIT\r\n"
                                  "\r\n"
                                  "[MEMO]\n"
                                  "DSPNAME=\xFF\xFE raw\n"
                                  "orphan line without equals\r\n"
                                  "[LOGO]\r\n"
                                  "FILEPATH=c:\\logo.bmp";
        WriteBytes(m_ini, before);
        QVERIFY(Set("UNIT", "UNITNAME", "新"));
        QByteArray expected = before;
        expected.replace("UNITNAME=old", "UNITNAME=\xD0\xC2");
        QCOMPARE(readFile(m_ini), expected);

        // A new key goes after the group's last key, before its comments. The
        // text is GBK on disk; the euro sign is its single byte 0x80.
        QVERIFY(Set("UNIT", "DSPFONT", "宋体€"));
        expected.replace("\"Card\"\r\n", "\"Card\"\r\nDSPFONT=\xCB\xCE\xCC\xE5\x80\r\n");
        QCOMPARE(readFile(m_ini), expected);
        QCOMPARE(Get("UNIT", "DSPFONT"), QStringLiteral("宋体€"));

        // A new key in the last group terminates its unterminated last line.
        QVERIFY(Set("LOGO", "X", "1"));
        expected += "\r\nX=1\r\n";
        QCOMPARE(readFile(m_ini), expected);

        // A new group is appended after a blank line.
        QVERIFY(Set("OTHER", "ALP", "123"));
        expected += "\r\n[OTHER]\r\nALP=123\r\n";
        QCOMPARE(readFile(m_ini), expected);
        QCOMPARE(Get("DATA", "PATH"), QStringLiteral("/srv/att"));
    }

    // A file cut after the '\r' of its last "\r\n": completing the line ending
    // must not change what its last line reads as (here a GBK lead byte that
    // a following '\r' would turn into another group name).
    void loneCarriageReturnAtTheEnd() {
        WriteBytes(m_ini, "[OTHER]\nALP=1\r");
        QVERIFY(Set("OTHER", "X", "2"));
        QCOMPARE(readFile(m_ini), QByteArray("[OTHER]\nALP=1\r\nX=2\n"));
        QCOMPARE(Get("OTHER", "ALP"), QStringLiteral("1"));

        WriteBytes(m_ini, "\nALP=1\r\n[UNIT\xD0\r");
        QVERIFY(Set("UNIT", "UNITNAME", "北京"));
        QCOMPARE(Get("UNIT", "UNITNAME"), QStringLiteral("北京"));
    }

    void unstorableTextIsRefused() {
        WriteBytes(m_ini, "[UNIT]\r\nUNITNAME=old\r\n");
        // A line break would plant other keys; a character without a GBK code
        // would be stored as '?'.
        const QString emoji = QString::fromUtf8("笑\xF0\x9F\x98\x80");
        for (const auto& [group, key, value] :
             {std::array<QString, 3>{"UNIT", "UNITNAME", "a\r\n[OTHER]\r\nALP="},
              {"UNIT", "UNITNAME", "a\nb"},
              {"UNIT", "UNITNAME", emoji},
              {"UNIT", "A=B", "1"},
              {"UNIT", "", "1"},
              {"X]Y", "K", "1"},
              {"", "K", "1"}})
            QVERIFY2(!Set(group, key, value), qPrintable(group + '/' + key + '=' + value));
        // Several keys in one rewrite: none is written when one cannot be.
        QVERIFY(!IniFile(m_ini).WriteKeys({{"UNIT", "UNITNAME", "new"}, {"OTHER", "ALP", emoji}}));
        QCOMPARE(readFile(m_ini), QByteArray("[UNIT]\r\nUNITNAME=old\r\n"));
    }

    void writeFailsWhereNothingCanBeWritten() {
        // A directory that is a regular file holds for every user, root too.
        const QString notDir = m_dir->filePath("plain");
        WriteBytes(notDir, "x");
        SetProgramDirectory(notDir);
        QVERIFY(Get("UNIT", "UNITNAME").isEmpty());
        QVERIFY(!Set("UNIT", "UNITNAME", "a")); // the dialogs' refused writes: tst_dialogs
        QCOMPARE(readFile(notDir), QByteArray("x"));
    }

    // Another user's files: a read-only configuration file or program
    // directory refuses writes and stays as it was; no right to read the
    // configuration, to enter the data folder or to read the database file
    // is named as the cause. Root passes every permission, so the checks
    // run as "nobody" then.
    void anotherUsersFiles() {
        const QString secret = m_dir->filePath("secret.ini"), db = m_dir->filePath("vorerur.dat");
        const QString ro = m_dir->filePath("ro"), hidden = m_dir->filePath("hidden");
        QVERIFY(QDir().mkdir(ro) && QDir().mkdir(hidden));
        for (const QString& f :
             {m_ini, m_ini + ".lock", secret, db, JoinPath(hidden, "vorerur.dat")})
            WriteBytes(f, "[ATTENDANCE]\r\nDBSERVER=s\r\n");
        const auto mode = [](const QString& p, mode_t m) {
            return ::chmod(QFile::encodeName(p).constData(), m) == 0;
        };
        QVERIFY(mode(m_dir->path(), 0755) && mode(m_ini, 0444) && mode(m_ini + ".lock", 0666) &&
                mode(ro, 0555) && mode(secret, 0) && mode(hidden, 0) && mode(db, 0));
        int out[2];
        QVERIFY(::pipe(out) == 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(1);
            clsConDbSet server;
            const QString read = server.Server();
            server.setServer("t");
            const bool saved = server.Save();
            SetProgramDirectory(ro);
            Error inHidden, unreadable;
            clsDbConn::OpenFile(JoinPath(hidden, "vorerur.dat"), "a", &inHidden);
            clsDbConn::OpenFile(db, "b", &unreadable);
            const QByteArray text =
                QStringList({read, QString::number(saved || clsConDbSet().Save()),
                             IniFile(secret).ReadProblem(), inHidden.Text(), unreadable.Text()})
                    .join('\n')
                    .toUtf8();
            ::_exit(::write(out[1], text.constData(), size_t(text.size())) == text.size() ? 0 : 1);
        }
        ::close(out[1]);
        QFile pipe;
        QVERIFY(pipe.open(out[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
        const QStringList said = QString::fromUtf8(pipe.readAll()).split('\n');
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        mode(ro, 0755), mode(hidden, 0755); // removable again
        QCOMPARE(said.size(), 5);
        QCOMPARE(said.mid(0, 3), QStringList({"s", "0",
                                              "cannot read " + secret + ": " +
                                                  QString::fromLocal8Bit(strerror(EACCES))}));
        QVERIFY2(said[3].startsWith("cannot open the database file") &&
                     said[3].contains("permission denied"),
                 qPrintable(said[3]));
        QCOMPARE(said[4], "no permission to read the database file: " + db);
        QCOMPARE(readFile(m_ini), QByteArray("[ATTENDANCE]\r\nDBSERVER=s\r\n"));
        QVERIFY(!QFile::exists(JoinPath(ro, "attendance.ini")));
    }

    void saveAttemptsAllFourWrites() {
        clsConDbSet db;
        db.setServer("server\nname"); // refused
        db.setLoginName("sa");
        db.setLoginPwd(" 密码 ");
        db.setdbName("att");
        QVERIFY(!db.Save());
        const clsConDbSet partly;
        QVERIFY(partly.Server().isEmpty());
        QCOMPARE(partly.LoginName(), QStringLiteral("sa"));
        QCOMPARE(partly.LoginPwd(), QStringLiteral(" 密码 "));
        QCOMPARE(partly.dbName(), QStringLiteral("att"));

        db.setServer("10.0.0.1");
        QVERIFY(db.Save());
        QCOMPARE(clsConDbSet().Server(), QStringLiteral("10.0.0.1"));
    }

    // A new file is for its owner and group only; a rewrite keeps the mode
    // whatever the umask, and through a link changes the linked file.
    void newFileModeAndRewrites_data() {
        QTest::addColumn<bool>("named"); // the fallback for file systems without unnamed files
        QTest::newRow("unnamed file") << false;
        QTest::newRow("named file") << true;
    }
    void newFileModeAndRewrites() {
        QFETCH(bool, named);
        AtomicFile::SetTestSeams(named, nullptr);
        const mode_t saved = ::umask(022);
        QVERIFY(Set("UNIT", "UNITNAME", "a"));
        QCOMPARE(Mode(m_ini), mode_t(0660));
        QVERIFY(::chmod(QFile::encodeName(m_ini).constData(), 0640) == 0);
        ::umask(077);
        QVERIFY(Set("UNIT", "UNITNAME", "b"));
        ::umask(saved);
        QCOMPARE(Mode(m_ini), mode_t(0640));

        const QString real = m_dir->filePath("real.ini");
        QVERIFY(QFile::rename(m_ini, real));
        QVERIFY(QFile::link(real, m_ini));
        QVERIFY(Set("UNIT", "UNITNAME", "c"));
        QVERIFY(QFileInfo(m_ini).isSymLink());
        QCOMPARE(readFile(real), QByteArray("[UNIT]\r\nUNITNAME=c\r\n"));

        // Nothing but the file and its lock is left in the directory.
        QCOMPARE(
            QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList({"attendance.ini", "attendance.ini.lock", "real.ini", "real.ini.lock"}));
    }

    void concurrentWritersKeepBothKeys() {
        WriteBytes(m_ini, "[OTHER]\r\nSTABLE=kept\r\n");
        constexpr int rounds = 60;
        pid_t children[2];
        for (int c = 0; c < 2; ++c) {
            children[c] = ::fork();
            QVERIFY(children[c] >= 0);
            if (children[c] == 0) {
                clsConfiguration cfg = Config("UNIT");
                const QString key = c == 0 ? QStringLiteral("A") : QStringLiteral("B");
                bool ok = true;
                for (int i = 1; i <= rounds; ++i)
                    ok = cfg.SetItem(key, QString::number(i)) && ok;
                ::_exit(ok ? 0 : 1);
            }
        }
        // Readers meanwhile always see a whole file.
        clsConfiguration reader = Config("OTHER");
        int torn = 0;
        for (int i = 0; i < 200; ++i)
            if (reader.GetItem("STABLE") != QLatin1String("kept"))
                ++torn;
        for (pid_t child : children) {
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status));
            QCOMPARE(WEXITSTATUS(status), 0);
        }
        QCOMPARE(torn, 0);
        QCOMPARE(Get("UNIT", "A"), QString::number(rounds));
        QCOMPARE(Get("UNIT", "B"), QString::number(rounds));
        QCOMPARE(reader.GetItem("STABLE"), QStringLiteral("kept"));
    }
};

QTEST_GUILESS_MAIN(TestConfiguration)
#include "tst_configuration.moc"
