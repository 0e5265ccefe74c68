#include "tests/common/TestProgramDir.h"

#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbCreator.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbSettings.h"
#include "shared/db/ScopedConnection.h"
#include "shared/db/clsDbConn.h"
#include "tests/common/PgTestServer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

ToolRun RunTool(const QString& program, const QStringList& args, int timeoutMs,
                const std::function<void()>& inChild) {
    ToolRun r;
    QProcess p;
    if (inChild)
        p.setChildProcessModifier(inChild);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

namespace {

// pdftotext's UTF-8 text of `pdf` read with `options`.
QString pdfToText(const QStringList& options, const QString& pdf) {
    const ToolRun r = RunTool(QStringLiteral("pdftotext"),
                              QStringList{"-enc", "UTF-8"} + options + QStringList{pdf, "-"});
    return r.code == 0 ? QString::fromUtf8(r.out) : QStringLiteral("<pdftotext failed>");
}

QStringList onePage(int page) {
    return {"-f", QString::number(page), "-l", QString::number(page)};
}

bool setKey(const QString& iniPath, const QString& group, const QString& key,
            const QString& value) {
    clsConfiguration config;
    config.setFileName(iniPath);
    config.setGroup(group);
    return config.SetItem(key, value);
}

} // namespace

QString PdfText(const QString& pdf, int page) {
    return pdfToText(page > 0 ? onePage(page) : QStringList(), pdf);
}

QString PdfTextIn(const QString& pdf, int page, const QRect& twips) {
    // At 72 dpi one pixel is one point, 20 twips.
    QStringList options = onePage(page) + QStringList{"-r", "72"};
    const int values[] = {twips.left(), twips.top(), twips.width(), twips.height()};
    for (int i = 0; i < 4; ++i)
        options << QStringList{"-x", "-y", "-W", "-H"}[i] << QString::number(values[i] / 20);
    return pdfToText(options, pdf).trimmed();
}

bool PrepareProgramDir(const QString& dir, const QString& unitName, bool createDatabase,
                       Error* error) {
    auto fail = [error](const QString& message) { return Error(message).Report(error); };
    clsDbConn::CloseShared();
    SetProgramDirectory(dir);
    const QString ini = QDir(dir).filePath(QStringLiteral("attendance.ini"));
    if (!setKey(ini, QStringLiteral("DATA"), QStringLiteral("PATH"), dir))
        return fail(QStringLiteral("cannot write DATA/PATH"));
    if (!unitName.isEmpty() &&
        !setKey(ini, QStringLiteral("UNIT"), QStringLiteral("UNITNAME"), unitName))
        return fail(QStringLiteral("cannot write UNIT/UNITNAME"));
    Error why;
    if (createDatabase &&
        !DbCreator::Create(QDir(dir).filePath(QStringLiteral("vorerur.dat")), &why))
        return why.Within(QStringLiteral("database not created")).Report(error);
    return true;
}

TestProgramDir::TestProgramDir() = default;

TestProgramDir::~TestProgramDir() {
    m_session.reset();
    clsDbConn::CloseShared();
    SetProgramDirectory(QString());
    AppClock::reset();
}

DbSession& TestProgramDir::session() {
    if (!m_session || !m_session->IsOpen())
        m_session = std::make_unique<DbSession>(DbSession::OpenConfigured());
    return *m_session;
}

bool TestProgramDir::OnServer() {
    return qEnvironmentVariable("ATTENDANCE_TEST_ENGINE") == QLatin1String("postgresql");
}

bool TestProgramDir::initServer() {
    // Without a server set up the error names the variables to set.
    m_server = std::make_unique<PgTestDatabase>();
    if (!m_server->ok()) {
        lastError = QStringLiteral("no test database: ") + m_server->error();
        return false;
    }
    const DbSettings& settings = m_server->settings();
    if (!setIni(QStringLiteral("DATA"), QStringLiteral("ENGINE"), QStringLiteral("postgresql")) ||
        !setIni(QStringLiteral("ATTENDANCE"), QStringLiteral("DBSERVER"), settings.server) ||
        !setIni(QStringLiteral("ATTENDANCE"), QStringLiteral("DBLOGINNAME"), settings.user) ||
        !setIni(QStringLiteral("ATTENDANCE"), QStringLiteral("DBLOGINPWD"), settings.password) ||
        !setIni(QStringLiteral("ATTENDANCE"), QStringLiteral("DBNAME"), settings.database))
        return false;
    const ScopedConnection name(QStringLiteral("TestProgramDir.create"));
    Error why;
    QSqlDatabase db = clsDbConn::OpenServer(settings, name.name(), &why, false);
    bool ok = db.isValid() && DbCreator::CreateTables(db, &why);
    if (ok && qEnvironmentVariable("ATTENDANCE_TEST_PG_SIGNIN") == QLatin1String("statements")) {
        // An older database: no sign-in functions, and tables the login does
        // not own, so the programs may not create it and use the statements.
        QSqlQuery q(db);
        ok = q.exec(QStringLiteral("DROP FUNCTION attendance_scan_card")) &&
             q.exec(QStringLiteral("DROP FUNCTION attendance_apply_scan")) &&
             q.exec(QStringLiteral("DROP FUNCTION attendance_sign_in")) &&
             q.exec(QStringLiteral("DO $$ BEGIN CREATE ROLE attendance_test_owner; EXCEPTION WHEN "
                                   "duplicate_object OR unique_violation THEN NULL; END $$")) &&
             q.exec(QStringLiteral("ALTER TABLE Presence OWNER TO attendance_test_owner"));
        why = DbErrors::From(q.lastError());
    }
    if (!ok)
        lastError = why.Text();
    return ok;
}

bool TestProgramDir::init(const QString& unitName) {
    if (!dir.isValid()) {
        lastError = QStringLiteral("no temporary directory");
        return false;
    }
    iniPath = dir.filePath(QStringLiteral("attendance.ini"));
    dbPath = dir.filePath(QStringLiteral("vorerur.dat"));
    if (Error why; !PrepareProgramDir(dir.path(), unitName, !OnServer(), &why)) {
        lastError = why.Text();
        return false;
    }
    return !OnServer() || initServer();
}

QString TestProgramDir::writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    ::writeFile(path, bytes);
    return path;
}

bool TestProgramDir::setIni(const QString& group, const QString& key, const QString& value) {
    if (setKey(iniPath, group, key, value))
        return true;
    lastError = QStringLiteral("cannot write %1/%2").arg(group, key);
    return false;
}

QString TestProgramDir::ini(const QString& group, const QString& key) const {
    clsConfiguration config;
    config.setFileName(iniPath);
    config.setGroup(group);
    return config.GetItem(key);
}

bool TestProgramDir::exec(const QString& sql, const QVariantList& params) {
    QSqlQuery q(clsDbConn().GetDbConn());
    // Statements without values run as they are: PostgreSQL prepares no
    // table changes.
    bool ok = params.isEmpty() ? q.exec(sql) : q.prepare(sql);
    if (ok && !params.isEmpty()) {
        for (const QVariant& p : params)
            q.addBindValue(p);
        ok = q.exec();
    }
    if (!ok)
        lastError = q.lastError().text();
    return ok;
}

bool TestProgramDir::addDept(int id, const QString& name) {
    // The keys the database gives next follow the explicit one.
    return exec(QStringLiteral("INSERT INTO Dept (ID, DNAME) VALUES (?, ?)"), {id, name}) &&
           clsDbConn::KeysWritten(clsDbConn().GetDbConn(), DbCatalog::Dept());
}

bool TestProgramDir::addEmployee(const QString& number, const QString& name, const QString& barcode,
                                 int did, const QByteArray& photo) {
    return exec(QStringLiteral("INSERT INTO Employee (DID, ENUMBER, EBARCODE, ENAME, HEADIMG, "
                               "ENTERDATE) VALUES (?, ?, ?, ?, ?, ?)"),
                {did, number, barcode, name,
                 photo.isNull() ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(photo),
                 DbDateTime::ToText(QDateTime(QDate(2007, 1, 1), QTime(0, 0)))});
}

bool TestProgramDir::addPresence(const QString& number, const QDateTime& enter,
                                 const QDateTime& exit) {
    const QVariant exitValue = (!exit.isValid() || DbDateTime::IsZero(exit))
                                   ? QVariant(QMetaType(QMetaType::QString))
                                   : QVariant(DbDateTime::ToText(exit));
    return exec(
        QStringLiteral("INSERT INTO Presence (ENUMBER, ENTERTIME, EXITTIME) VALUES (?, ?, ?)"),
        {number, DbDateTime::ToText(enter), exitValue});
}

int TestProgramDir::count(const QString& sql) {
    QSqlQuery q(clsDbConn().GetDbConn());
    if (!q.exec(sql) || !q.next()) {
        lastError = q.lastError().text();
        return -1;
    }
    return q.value(0).toInt();
}

QByteArray TestProgramDir::jpeg(int seed) {
    QImage img(16, 12, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y,
                         qRgb((x * 16 + seed) & 255, (y * 20 + seed * 3) & 255, (x * y) & 255));
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG", 80);
    return bytes;
}
