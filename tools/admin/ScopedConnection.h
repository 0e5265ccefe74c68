#pragma once

#include <QSqlDatabase>
#include <QString>

// A named Qt SQL connection of the tool's own, closed and dropped when this
// goes out of scope. Declare it before every QSqlDatabase handle on it, so
// the handles are gone first.
class ScopedConnection {
public:
    explicit ScopedConnection(const QString& name) : m_name(name) {}
    ~ScopedConnection() {
        if (!QSqlDatabase::contains(m_name))
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    const QString& name() const { return m_name; }

private:
    QString m_name;
};
