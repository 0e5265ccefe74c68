#pragma once

#include <QSqlError>
#include <QString>

// A failed database or file operation with a message that says what went
// wrong: the database's own text where the database failed. Functions that
// report through a `QString* error` fill it with Report().
class DbError {
public:
    DbError() = default;
    explicit DbError(const QString& message) : m_message(message) {}
    // The database's text of `e`; a general text when the driver gave none.
    static DbError From(const QSqlError& e);

    bool IsSet() const { return !m_message.isEmpty(); }
    QString Text() const { return m_message; }

    // Stores the message in *out when out is given; always false, so a
    // failing function can `return DbError(...).Report(error);`.
    bool Report(QString* out) const;
    // DbError(message).Report(out).
    static bool Fail(QString* out, const QString& message) { return DbError(message).Report(out); }

private:
    QString m_message;
};
