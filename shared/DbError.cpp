#include "DbError.h"

DbError DbError::From(const QSqlError& e) {
    QString text = e.text().trimmed();
    if (text.isEmpty())
        text = e.isValid() ? QStringLiteral("database error %1").arg(e.nativeErrorCode())
                           : QStringLiteral("the database query failed");
    return DbError(text);
}

bool DbError::Report(QString* out) const {
    if (out)
        *out = m_message;
    return false;
}
