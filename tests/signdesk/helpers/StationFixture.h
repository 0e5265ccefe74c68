#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

// The control `name` below w; the test program stops if it is missing.
template <typename T> T* child(QObject* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("missing control %s", name);
    return c;
}

QByteArray readFile(const QString& path); // empty when unreadable
bool writeFile(const QString& path, const QByteArray& bytes);

// A station installation in a temporary program directory: "attendance.ini"
// with DATA/PATH pointing at the directory and a unit name, and a fresh
// database file "vorerur.dat". The destructor closes the shared connection
// and restores the default program directory.
class StationFixture {
public:
    StationFixture() = default;
    ~StationFixture();
    StationFixture(const StationFixture&) = delete;
    StationFixture& operator=(const StationFixture&) = delete;

    // Sets everything up; false (with the reason in lastError) on failure.
    bool init(const QString& unitName = QStringLiteral("实验中学"));

    QString path() const { return dir.path(); }
    QString file(const QString& name) const { return dir.filePath(name); }

    // Writes one key of "attendance.ini".
    bool setIni(const QString& group, const QString& key, const QString& value);

    // Rows straight into the database through the shared connection.
    bool addDept(int id, const QString& name);
    bool addEmployee(const QString& number, const QString& name, const QString& barcode, int did,
                     const QByteArray& photo = QByteArray());
    // An invalid or zero exit time stores NULL (no departure yet).
    bool addPresence(const QString& number, const QDateTime& enter,
                     const QDateTime& exit = QDateTime());
    // Number of rows of a statement such as "SELECT COUNT(*) FROM Dept"; -1 on error.
    int count(const QString& sql);

    QTemporaryDir dir;
    QString dbPath;
    QString iniPath;
    QString lastError;

private:
    bool exec(const QString& sql, const QVariantList& params);
};
