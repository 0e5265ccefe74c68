#include "StationFixture.h"

#include "DatabaseSchema.h"
#include "DbDateTime.h"
#include "ProgramDirectory.h"
#include "clsConfiguration.h"
#include "clsDbConn.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

StationFixture::~StationFixture() {
    clsDbConn::CloseShared();
    SetProgramDirectory(QString());
}

bool StationFixture::init(const QString& unitName) {
    if (!dir.isValid()) {
        lastError = QStringLiteral("no temporary directory");
        return false;
    }
    SetProgramDirectory(dir.path());
    clsDbConn::CloseShared();
    iniPath = dir.filePath(QStringLiteral("attendance.ini"));
    dbPath = dir.filePath(QStringLiteral("vorerur.dat"));
    if (!setIni(QStringLiteral("DATA"), QStringLiteral("PATH"), dir.path()))
        return false;
    if (!unitName.isEmpty() &&
        !setIni(QStringLiteral("UNIT"), QStringLiteral("UNITNAME"), unitName))
        return false;
    QString error;
    if (!DatabaseSchema::Create(dbPath, &error)) {
        lastError = QStringLiteral("database not created: ") + error;
        return false;
    }
    return true;
}

bool StationFixture::setIni(const QString& group, const QString& key, const QString& value) {
    clsConfiguration config;
    config.setFileName(iniPath);
    config.setGroup(group);
    if (!config.SetItem(key, value)) {
        lastError = QStringLiteral("cannot write %1/%2").arg(group, key);
        return false;
    }
    return true;
}

bool StationFixture::exec(const QString& sql, const QVariantList& params) {
    QSqlDatabase db = clsDbConn().GetDbConn();
    if (!db.isValid() || !db.isOpen()) {
        lastError = QStringLiteral("no database connection");
        return false;
    }
    QSqlQuery q(db);
    if (!q.prepare(sql)) {
        lastError = q.lastError().text();
        return false;
    }
    for (const QVariant& p : params)
        q.addBindValue(p);
    if (!q.exec()) {
        lastError = q.lastError().text();
        return false;
    }
    return true;
}

bool StationFixture::addDept(int id, const QString& name) {
    return exec(QStringLiteral("INSERT INTO Dept (ID, DNAME) VALUES (?, ?)"), {id, name});
}

bool StationFixture::addEmployee(const QString& number, const QString& name, const QString& barcode,
                                 int did, const QByteArray& photo) {
    return exec(QStringLiteral("INSERT INTO Employee (DID, ENUMBER, EBARCODE, ENAME, HEADIMG, "
                               "ENTERDATE) VALUES (?, ?, ?, ?, ?, ?)"),
                {did, number, barcode, name,
                 photo.isNull() ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(photo),
                 DbDateTime::ToText(QDateTime(QDate(2007, 1, 1), QTime(0, 0)))});
}

bool StationFixture::addPresence(const QString& number, const QDateTime& enter,
                                 const QDateTime& exit) {
    const QVariant exitValue = (!exit.isValid() || DbDateTime::IsZero(exit))
                                   ? QVariant(QMetaType(QMetaType::QString))
                                   : QVariant(DbDateTime::ToText(exit));
    return exec(
        QStringLiteral("INSERT INTO Presence (ENUMBER, ENTERTIME, EXITTIME) VALUES (?, ?, ?)"),
        {number, DbDateTime::ToText(enter), exitValue});
}

int StationFixture::count(const QString& sql) {
    QSqlDatabase db = clsDbConn().GetDbConn();
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next()) {
        lastError = q.lastError().text();
        return -1;
    }
    return q.value(0).toInt();
}
