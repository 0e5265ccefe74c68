#include "error/Error.h"

#include <cerrno>
#include <cstring>

Error::Error(const QString& message, const Error& cause, int code)
    : m_message(message), m_code(code), m_cause(std::make_shared<const Error>(cause)) {}

QString Error::Text() const {
    if (!m_cause)
        return m_message;
    return m_message + QStringLiteral(": ") + m_cause->Text();
}

int Error::Code() const {
    if (m_code != 0 || !m_cause)
        return m_code;
    return m_cause->Code();
}

Error Error::Concerning(const QString& file) const {
    if (file.isEmpty() || Text().contains(file))
        return *this;
    Error result(*this);
    // The file goes at the end of the text: after the innermost cause.
    if (m_cause)
        result.m_cause = std::make_shared<const Error>(m_cause->Concerning(file));
    else
        result.m_message += QStringLiteral(": ") + file;
    return result;
}

bool Error::Report(Error* out) const {
    if (out)
        *out = *this;
    return false;
}

Error Error::FromErrno(int code, const QString& what, const QString& file) {
    return Error(QStringLiteral("%1: %2: %3").arg(what, file, ErrnoCause(code)));
}

QString Error::ErrnoCause(int code) {
    switch (code) {
    case EACCES:
    case EPERM:
        return QStringLiteral("permission denied (the file or its folder is read-only or "
                              "belongs to someone else)");
    case EROFS:
        return QStringLiteral("the file system is read-only");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("the disk is full");
    case ENOENT:
        return QStringLiteral("no such file or folder");
    case EEXIST:
        return QStringLiteral("a file of that name exists already");
    case EISDIR:
        return QStringLiteral("that is a folder");
    case ENOTDIR:
        return QStringLiteral("a part of the path is not a folder");
    case EIO:
        return QStringLiteral("the disk could not be read or written");
    default:
        return QString::fromLocal8Bit(std::strerror(code));
    }
}
