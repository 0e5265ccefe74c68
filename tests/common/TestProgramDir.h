#pragma once

#include "shared/db/DbErrors.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <functional>
#include <memory>

class DbSession;
struct PgTestDatabase;

// The control `name` below w; the test program stops if it is missing.
template <typename T> T* child(QObject* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("missing control %s", name);
    return c;
}

QByteArray readFile(const QString& path); // empty when unreadable
bool writeFile(const QString& path, const QByteArray& bytes);

// A program run to its end: exit code (-1 when it did not start, crashed or
// hung), its output and its error output.
struct ToolRun {
    int code = -1;
    QByteArray out;
    QString err;
};
// `inChild` runs in the child before the program starts (limits, signals).
ToolRun RunTool(const QString& program, const QStringList& args, int timeoutMs = 300000,
                const std::function<void()>& inChild = {});

// Text of a PDF as poppler's pdftotext reads it: a whole page (0: all pages),
// or only the part of one page inside `twips` (page coordinates).
QString PdfText(const QString& pdf, int page = 0);
QString PdfTextIn(const QString& pdf, int page, const QRect& twips);

// A program directory as the programs expect it: "attendance.ini" with
// DATA/PATH naming the directory itself (and a unit name unless empty).
// With `createDatabase` also a fresh "vorerur.dat". Makes `dir` the
// process's program directory. Used by the tests and the benchmarks.
bool PrepareProgramDir(const QString& dir, const QString& unitName, bool createDatabase,
                       Error* error);

// A program directory in a temporary folder, with a fresh database: an SQLite
// file, or, when ATTENDANCE_TEST_ENGINE is "postgresql", a new database on the
// test server (PgTestServer) that the destructor drops. The destructor closes
// its session and the shared connection, restores the default program directory and the real
// clock.
class TestProgramDir {
public:
    TestProgramDir();
    ~TestProgramDir();
    TestProgramDir(const TestProgramDir&) = delete;
    TestProgramDir& operator=(const TestProgramDir&) = delete;

    // Sets everything up; false (with the reason in lastError) on failure.
    bool init(const QString& unitName = QStringLiteral("实验中学"));

    // Whether the tests of this process run on the PostgreSQL test server.
    static bool OnServer();
    // The server database of this directory (null on SQLite).
    const PgTestDatabase* server() const { return m_server.get(); }

    QString path() const { return dir.path(); }
    QString file(const QString& name) const { return dir.filePath(name); }
    // Writes a file into the directory and returns its path.
    QString writeFile(const QString& name, const QByteArray& bytes);

    // Writes and reads one key of "attendance.ini".
    bool setIni(const QString& group, const QString& key, const QString& value);
    QString ini(const QString& group, const QString& key) const;

    // A session of its own on the directory's database, for the record
    // classes under test: opened when first asked (again after a failed
    // open), closed before the directory goes.
    DbSession& session();

    // Rows straight into the database through the shared connection.
    bool exec(const QString& sql, const QVariantList& params = {});
    bool addDept(int id, const QString& name);
    bool addEmployee(const QString& number, const QString& name, const QString& barcode, int did,
                     const QByteArray& photo = QByteArray());
    // An invalid or zero exit time stores NULL (no departure yet).
    bool addPresence(const QString& number, const QDateTime& enter,
                     const QDateTime& exit = QDateTime());
    // The first value of a statement such as "SELECT COUNT(*) FROM Dept"; -1 on error.
    int count(const QString& sql);
    // The rows of `from`, such as "Dept WHERE ID = 7"; -1 on error.
    int rows(const QString& from) { return count(QStringLiteral("SELECT COUNT(*) FROM ") + from); }

    // A small JPEG holding every awkward byte value somewhere in its data.
    static QByteArray jpeg(int seed);

    QTemporaryDir dir;
    QString dbPath; // the SQLite file (absent on the server)
    QString iniPath;
    QString lastError;

private:
    bool initServer();

    std::unique_ptr<PgTestDatabase> m_server;
    std::unique_ptr<DbSession> m_session;
};
