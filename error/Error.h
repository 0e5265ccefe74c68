#pragma once

#include <QString>

#include <memory>

// Why an operation failed, in words a site administrator understands, the
// one error type of every layer. An error has its own message, a code (0, or
// a number its maker documents and callers may branch on: the database's are
// in DbErrors) and a cause: the error it failed within, e.g. "cannot export
// the employees" caused by "the disk is full". Text() reads the chain,
// "<message>: <cause's text>".
//
// The convention: a function that can fail returns false (or an invalid
// handle, an empty list, a named result) and, when given an `Error* error`,
// says why there; Report() does both in one step:
//     return Error(QStringLiteral("...")).Report(error);
class Error {
public:
    Error() = default;
    explicit Error(const QString& message, int code = 0) : m_message(message), m_code(code) {}
    // `message`, caused by `cause` (whose code it keeps when it has none).
    Error(const QString& message, const Error& cause, int code = 0);

    bool IsSet() const { return !Text().isEmpty(); }
    // The whole chain: "<message>: <cause's text>", or the message alone.
    QString Text() const;
    // This error's own words, without its cause.
    QString Message() const { return m_message; }
    // This error's code, else its cause's; 0 when none has one.
    int Code() const;
    // The error this one failed within; nullptr when it has none.
    const Error* Cause() const { return m_cause.get(); }

    // "<context>: <this text>": this error becomes the cause, its code kept.
    Error Within(const QString& context) const { return Error(context, *this); }
    // This text followed by ": <file>" (unless it names the file already).
    Error Concerning(const QString& file) const;

    // Stores this error in *out when out is given; always false, so a
    // failing function can `return Error(...).Report(error);`.
    bool Report(Error* out) const;
    // Error(message).Report(out).
    static bool Fail(Error* out, const QString& message) { return Error(message).Report(out); }

    // A failed file operation (errno `code`) on `file`: "<what>: <file>: <cause>".
    static Error FromErrno(int code, const QString& what, const QString& file);
    // The words for a system error number.
    static QString ErrnoCause(int code);

private:
    QString m_message;
    int m_code = 0;
    std::shared_ptr<const Error> m_cause;
};
