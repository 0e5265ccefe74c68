#pragma once

#include <QSqlError>
#include <QString>

// A failed database or file operation with a message that says what went
// wrong in words a site administrator understands: the cause (locked by
// another program, read-only, disk full, ...) where the database's result
// code or the system's error number tells it, else the database's own text.
// The convention of the database and records layers: a function that can
// fail returns false (or an invalid handle) and, when given a `DbError*
// error`, says why there; Report() does both in one step.
class DbError {
public:
    DbError() = default;
    explicit DbError(const QString& message) : m_message(message) {}
    // The cause of `e` in words; the database's text for other errors, a
    // general text when the driver gave none.
    static DbError From(const QSqlError& e);
    // Same, naming the database file concerned: "<cause>: <file>".
    static DbError From(const QSqlError& e, const QString& file);
    // A failed file operation (errno `code`) on `file`: "<what>: <file>: <cause>".
    static DbError FromErrno(int code, const QString& what, const QString& file);

    // The words for an SQLite result code (primary or extended); empty when
    // the code has none of its own.
    static QString Cause(int sqliteCode);
    // The words for a PostgreSQL error code (SQLSTATE); empty when the code
    // has none of its own.
    static QString ServerCause(const QString& sqlState);
    // The words for a system error number.
    static QString ErrnoCause(int code);

    // "<context>: <this message>", the code kept.
    DbError Within(const QString& context) const;
    // This message followed by ": <file>" (unless it names the file already).
    DbError Concerning(const QString& file) const;
    // Same for a failure of the database file `file`: a write refused by the
    // file system says whether the file or its folder is the read-only one.
    DbError OnDatabase(const QString& file) const;

    // The primary SQLite result code of a database failure (a duplicate key
    // on the server reads as ConstraintCode too), else 0.
    int Code() const { return m_code; }
    static constexpr int ConstraintCode = 19; // SQLITE_CONSTRAINT (a duplicate key)

    bool IsSet() const { return !m_message.isEmpty(); }
    QString Text() const { return m_message; }

    // Stores the message in *out when out is given; always false, so a
    // failing function can `return DbError(...).Report(error);`.
    bool Report(DbError* out) const;
    bool Report(QString* out) const;
    // DbError(message).Report(out).
    static bool Fail(DbError* out, const QString& message) { return DbError(message).Report(out); }
    static bool Fail(QString* out, const QString& message) { return DbError(message).Report(out); }

private:
    QString m_message;
    int m_code = 0;
};
