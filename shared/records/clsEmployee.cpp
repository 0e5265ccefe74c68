#include "shared/records/clsEmployee.h"

#include "shared/db/DbCatalog.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/db/DbTransaction.h"
#include "shared/db/StatementWatchdog.h"
#include "shared/rowset/RowSetXml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSqlRecord>
#include <QTemporaryDir>

namespace {

// Private folder of this process for photo files, removed at exit.
QString photoRoot() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/attendance-photos-XXXXXX"));
    return dir.isValid() ? dir.path() : QString();
}

// A file name made of the employee number; characters that could leave the
// folder or are awkward in names are replaced.
QString photoFileName(const QString& number) {
    QString name;
    for (QChar c : number) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            name += c;
        else
            name += QLatin1Char('_');
    }
    if (name.isEmpty())
        name = QStringLiteral("_");
    return name + QStringLiteral(".jpg");
}

QByteArray readFile(const QString& path, bool* ok) {
    QFile f(path);
    *ok = f.open(QIODevice::ReadOnly);
    if (!*ok)
        return {};
    QByteArray data = f.readAll();
    *ok = f.error() == QFileDevice::NoError;
    return data;
}

QString selectJoined(DbDialect::Engine engine) {
    return QStringLiteral("SELECT Employee.ID, Employee.DID, Employee.ENUMBER, Employee.EBARCODE, "
                          "Employee.ENAME, Employee.ENTERDATE, Dept.DNAME, %1 "
                          "FROM Employee, Dept WHERE Employee.DID = Dept.ID AND ")
        .arg(DbDialect::PhotoColumn(engine, QStringLiteral("Employee.HEADIMG")));
}

} // namespace

clsEmployee::clsEmployee(DbSession& session) : m_session(&session) {}

clsEmployee::~clsEmployee() {
    deletePhotoFile();
}

void clsEmployee::deletePhotoFile() {
    const QString path = m_headImg.trimmed();
    if (!path.isEmpty() && QFileInfo(path).isFile())
        QFile::remove(path);
    if (m_ownsFolder && !path.isEmpty())
        QDir().rmdir(QFileInfo(path).absolutePath());
    m_ownsFolder = false;
}

void clsEmployee::setHeadImg(const QString& path) {
    if (m_ownsFolder)
        deletePhotoFile();
    m_headImg = path;
    m_photo.clear();
    m_photoLoaded = false;
    m_photoDeferred = false;
}

void clsEmployee::setPhotoDeferred() {
    setHeadImg(QString());
    m_photoDeferred = true;
}

QByteArray clsEmployee::HeadImgBytes() const {
    if (m_photoDeferred) {
        const DbDialect::Engine engine = m_session->Engine();
        auto q = DbQuery::Read(*m_session,
                               QStringLiteral("SELECT %1 FROM Employee WHERE ID = ?")
                                   .arg(DbDialect::PhotoColumn(engine, QStringLiteral("HEADIMG"))),
                               {m_id});
        if (q && q->next())
            m_photo = DbDialect::PhotoBytes(engine, q->value(0));
        m_photoDeferred = false;
        m_photoLoaded = true;
    }
    if (m_photoLoaded)
        return m_photo;
    if (m_headImg.trimmed().isEmpty())
        return {};
    bool ok = false;
    return readFile(m_headImg.trimmed(), &ok);
}

QString clsEmployee::HeadImg() const {
    if ((m_photoLoaded || m_photoDeferred) && m_headImg.isEmpty()) {
        // Each record gets its own folder, so two records of one employee
        // never share (and delete) one file.
        static quint64 serial = 0;
        const QString root = photoRoot();
        if (root.isEmpty())
            return {};
        const QString folder = root + QLatin1Char('/') + QString::number(++serial);
        if (!QDir().mkpath(folder))
            return {};
        const QString path = folder + QLatin1Char('/') + photoFileName(m_enumber);
        QSaveFile f(path);
        const QByteArray bytes = HeadImgBytes();
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
            QDir().rmdir(folder);
            return {};
        }
        m_headImg = path;
        m_ownsFolder = true;
    }
    return m_headImg;
}

clsEmployee::Lookup clsEmployee::loadBy(const char* column, const QString& key, bool setNumber) {
    if (key.isEmpty())
        return Lookup::NotFound;
    // Opened once: a server that does not answer costs one attempt. (No
    // handle is kept: a reopen during the read may drop the connection.)
    if (!m_session->Connection().isValid())
        return Lookup::Failed;
    const DbDialect::Engine engine = m_session->Engine();
    auto q = DbQuery::Read(
        *m_session,
        selectJoined(engine) +
            DbDialect::NoCaseEquals(engine, QStringLiteral("Employee.") + QLatin1String(column),
                                    QStringLiteral("?")),
        {key});
    if (!q)
        return Lookup::Failed;
    if (!q->next())
        return Lookup::NotFound;
    return readRow(*q, setNumber);
}

clsEmployee::Lookup clsEmployee::ReadLookupRow(const QSqlQuery& row) {
    return readRow(row, true);
}

clsEmployee::Lookup clsEmployee::readRow(const QSqlQuery& q, bool setNumber) {
    // A missing name, department or barcode makes the record unusable; a
    // missing entry date reads as the zero date.
    for (int i : {1, 3, 4, 6})
        if (q.isNull(i))
            return Lookup::Failed;
    setENAME(q.value(4).toString());
    m_did = static_cast<qint16>(q.value(1).toInt());
    m_enterDate = q.isNull(5) ? DbDateTime::Zero() : DbDateTime::FromText(q.value(5).toString());
    m_dname = q.value(6).toString();
    setEBARCODE(q.value(3).toString());
    if (setNumber)
        m_enumber = q.value(2).toString();
    m_id = q.value(0).toInt();
    setHeadImg(QString());
    m_photo = DbDialect::PhotoBytes(m_session->Engine(), q.value(7));
    m_photoLoaded = true;
    return Lookup::Found;
}

clsEmployee::Lookup clsEmployee::LoadByENUMBER() {
    return loadBy("ENUMBER", m_enumber, false);
}

clsEmployee::Lookup clsEmployee::IsExist() {
    // A scan's look-up: a server that does not answer is left within seconds.
    const StatementWatchdog::Quick quick;
    return loadBy("EBARCODE", EBARCODE(), true);
}

bool clsEmployee::hasPhoto() const {
    return m_photoLoaded || m_photoDeferred || !m_headImg.trimmed().isEmpty();
}

bool clsEmployee::photoForStore(QByteArray* photo) const {
    if (m_photoLoaded || m_photoDeferred) {
        *photo = HeadImgBytes();
        return true;
    }
    bool ok = false;
    *photo = readFile(m_headImg.trimmed(), &ok);
    return ok;
}

bool clsEmployee::StoreRow(DbSession& session, const Row& row, Error* error) {
    // Numbers compare without regard to case; an overwritten row keeps its
    // number's spelling, so its presence records stay its own. The number
    // stays locked until the outermost transaction ends; the department's key
    // is held shared (stores of one department never wait for each other,
    // so no two of them can wait for each other's numbers either), against
    // a department's removal, which locks it.
    DbTransaction tx(session);
    if (!tx.IsActive() || !tx.LockKey(QStringLiteral("Employee"), row.ENUMBER.toString()) ||
        !tx.ShareKey(QStringLiteral("Dept"), row.DID.toString()))
        return tx.Error().Report(error);
    auto found =
        DbQuery::Read(session,
                      QStringLiteral("SELECT ID, ENUMBER FROM Employee WHERE %1 LIMIT 1")
                          .arg(DbDialect::NoCaseEquals(session.Engine(), QStringLiteral("ENUMBER"),
                                                       QStringLiteral("?"))),
                      {row.ENUMBER}, error);
    if (!found)
        return false;
    const bool exists = found->next();
    const QVariant id = exists ? found->value(0) : QVariant();
    const QVariant number = exists ? found->value(1) : row.ENUMBER;
    found->finish();

    // Every column but the key, in table order.
    const std::pair<const char*, QVariant> byName[] = {
        {"DID", row.DID},     {"ENUMBER", number},      {"EBARCODE", row.EBARCODE},
        {"ENAME", row.ENAME}, {"HEADIMG", row.HEADIMG}, {"ENTERDATE", row.ENTERDATE}};
    const DbCatalog::Table& table = DbCatalog::Employee();
    QVariantList values;
    QStringList assignments, marks;
    for (const DbCatalog::Column& c : table.columns)
        for (const auto& [name, value] : byName)
            if (c.name == QLatin1String(name)) {
                values << value;
                assignments << c.name + QStringLiteral(" = ?");
                marks << QStringLiteral("?");
            }
    const int written =
        exists ? tx.Exec(QStringLiteral("UPDATE Employee SET %1 WHERE ID = ?")
                             .arg(assignments.join(QStringLiteral(", "))),
                         values + QVariantList{id})
               : tx.Exec(QStringLiteral("INSERT INTO Employee(%1) VALUES(%2)")
                             .arg(table.ColumnList(false), marks.join(QStringLiteral(", "))),
                         values);
    return (written >= 1 && tx.Commit()) || tx.Error().Report(error);
}

bool clsEmployee::Add() {
    return Store(false) == StoreResult::Stored;
}

clsEmployee::StoreResult clsEmployee::Store(bool numberMustBeNew, Error* error) {
    if (m_ebarcode.isEmpty() || m_ename.isEmpty() || !hasPhoto() || m_enumber.isEmpty() ||
        m_did <= 0)
        return StoreResult::Refused;
    QByteArray photo;
    if (!photoForStore(&photo))
        return StoreResult::Refused;

    // Immediate: the look-ups decide between update, insert and refusal.
    DbTransaction tx(*m_session, DbTransaction::Mode::Immediate);
    if (!tx.IsActive()) {
        tx.Error().Report(error);
        return StoreResult::Failed;
    }
    const QString did = QString::number(m_did);
    if (!tx.LockKey(QStringLiteral("Employee"), m_enumber) ||
        !tx.ShareKey(QStringLiteral("Dept"), did)) {
        tx.Error().Report(error);
        return StoreResult::Failed;
    }
    // Both read while the keys are held, so neither answer changes before
    // the commit.
    const auto found = [&](const QString& sql, const QString& key) {
        auto q = DbQuery::Read(*m_session, sql, {key}, error);
        return !q ? -1 : q->next() ? 1 : 0;
    };
    const int taken =
        !numberMustBeNew
            ? 0
            : found(QStringLiteral("SELECT 1 FROM Employee WHERE ") +
                        DbDialect::NoCaseEquals(m_session->Engine(), QStringLiteral("ENUMBER"),
                                                QStringLiteral("?")),
                    m_enumber);
    const int known =
        taken == 0 ? found(QStringLiteral("SELECT 1 FROM Dept WHERE ID = ?"), did) : 0;
    if (taken < 0 || known < 0)
        return StoreResult::Failed;
    if (taken > 0)
        return StoreResult::NumberTaken;
    if (known == 0)
        return StoreResult::NoDepartment;
    Row row;
    row.ENUMBER = m_enumber;
    row.EBARCODE = m_ebarcode;
    row.ENAME = m_ename;
    row.DID = int(m_did);
    row.HEADIMG = photo;
    // Without an entry date the zero date is stored, as the old engine did.
    row.ENTERDATE = DbDateTime::ToText(m_enterDate.isValid() ? m_enterDate : DbDateTime::Zero());
    if (StoreRow(*m_session, row, error) && tx.Commit())
        return StoreResult::Stored;
    if (tx.Error().IsSet())
        tx.Error().Report(error);
    return StoreResult::Failed;
}

QString clsEmployee::GenerateBarcode() {
    // Appends the decimal text of whole numbers 0..9999 until 15 digits are
    // there, then keeps the last 15.
    QString text;
    while (text.size() < 15)
        text += QString::number(QRandomGenerator::global()->bounded(10000));
    return text.right(15);
}

bool clsEmployee::UpdateEBarCode() {
    // A collision among 10^15 codes is rare; the bound only guards against a
    // database that answers every look-up with a row.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const QString code = GenerateBarcode();
        auto q = DbQuery::Read(*m_session,
                               QStringLiteral("SELECT 1 FROM Employee WHERE EBARCODE = ? LIMIT 1"),
                               {code});
        if (!q)
            return false;
        if (!q->next()) {
            setEBARCODE(code);
            return true;
        }
    }
    return false;
}

bool clsEmployee::savetoXML(const QString& filePath) {
    if (m_ename.isEmpty() || !hasPhoto() || m_did <= 0)
        return false;
    QByteArray photo;
    if (!photoForStore(&photo))
        return false;
    // One new, unwritten row: number, barcode and key stay empty.
    RowSet rs;
    rs.columns = DbCatalog::FileColumns(DbCatalog::Employee().name);
    rs.updatable = true;
    RowSetRow row;
    row.values.resize(rs.columns.size());
    row.pendingInsert = true;
    const auto set = [&](const char* name, const QVariant& v) {
        const int i = rs.columnIndex(QLatin1String(name));
        if (i >= 0)
            row.values[i] = v;
    };
    set("ENAME", m_ename);
    set("DID", int(m_did));
    set("HEADIMG", photo);
    if (m_enterDate.isValid())
        set("ENTERDATE", m_enterDate);
    rs.rows.append(row);
    return RowSetXml::SaveReplacing(rs, filePath);
}

bool clsEmployee::Remove(const QString& eid) {
    if (eid.isEmpty())
        return false;
    DbTransaction tx(*m_session);
    return tx.Exec(QStringLiteral("DELETE FROM Employee WHERE ") +
                       DbDialect::NoCaseEquals(m_session->Engine(), QStringLiteral("ENUMBER"),
                                               QStringLiteral("?")),
                   {eid}) >= 1 &&
           tx.Commit();
}

bool clsEmployee::RemoveMe() {
    return Remove(m_enumber);
}
