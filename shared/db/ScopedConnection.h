#pragma once

#include <QString>

// A named Qt SQL connection of the caller's own, closed and dropped when
// this goes out of scope (an open one of that name is dropped first, too).
// Declare it before every QSqlDatabase handle on it, so the handles are gone
// first.
class ScopedConnection {
public:
    explicit ScopedConnection(const QString& name) : m_name(name) { Drop(name); }
    ~ScopedConnection() { Drop(m_name); }
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    const QString& name() const { return m_name; }

    // Releases the prepared statements kept for the connection `name`, closes
    // it and removes it from Qt's list; nothing when there is none.
    static void Drop(const QString& name);

private:
    QString m_name;
};
