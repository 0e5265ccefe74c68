#include "shared/db/PgStatement.h"

#include "shared/db/PgClient.h"
#include "shared/db/PgRows.h"
#include "shared/db/StatementCache.h"

#include <QDateTime>
#include <QSqlDriver>

#include <libpq-fe.h>

#include <vector>

namespace PgStatement {

namespace {

// What the server said, as the driver would report it: the server's code
// (SQLSTATE) where it answered, a connection error where it did not.
QSqlError failure(const PgClient::Functions& pq, pg_conn* conn, pg_result* result) {
    const char* state = result ? pq.resultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const QString text =
        QString::fromUtf8(result ? pq.resultErrorMessage(result) : pq.errorMessage(conn)).trimmed();
    return QSqlError(QStringLiteral("Unable to run the statement"),
                     text.isEmpty() ? QString::fromUtf8(pq.errorMessage(conn)).trimmed() : text,
                     state ? QSqlError::StatementError : QSqlError::ConnectionError,
                     state ? QString::fromLatin1(state) : QString());
}

bool succeeded(const PgClient::Functions& pq, pg_result* result) {
    if (!result)
        return false;
    const int status = pq.resultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

// Whether the driver binds `v` as null: an empty variant, or a null text,
// bytes, date or time in it.
bool nullValue(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::QString:
        return static_cast<const QString*>(v.constData())->isNull();
    case QMetaType::QByteArray:
        return static_cast<const QByteArray*>(v.constData())->isNull();
    case QMetaType::QDate:
        return v.toDate().isNull();
    case QMetaType::QTime:
        return v.toTime().isNull();
    case QMetaType::QDateTime:
        return v.toDateTime().isNull();
    default:
        return v.isNull();
    }
}

// The values as the server reads them: text, bytes in binary, null.
struct Values {
    explicit Values(const QVariantList& params) {
        data.reserve(size_t(params.size())); // the pointers stay valid
        for (const QVariant& v : params) {
            const bool null = nullValue(v);
            if (null)
                data.emplace_back();
            else if (v.typeId() == QMetaType::QByteArray)
                data.push_back(v.toByteArray());
            else if (v.typeId() == QMetaType::Bool)
                data.emplace_back(v.toBool() ? "t" : "f");
            else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
                data.push_back(QByteArray::number(v.toDouble(), 'g', 17));
            else if (v.typeId() == QMetaType::QDateTime)
                data.push_back(v.toDateTime().toString(Qt::ISODateWithMs).toUtf8());
            else
                data.push_back(v.toString().toUtf8());
            pointers.push_back(null ? nullptr : data.back().constData());
            lengths.push_back(int(data.back().size()));
            formats.push_back(!null && v.typeId() == QMetaType::QByteArray ? 1 : 0);
        }
    }
    std::vector<QByteArray> data;
    std::vector<const char*> pointers;
    std::vector<int> lengths, formats;
};

} // namespace

bool Usable(const QSqlDatabase& db) {
    return db.isValid() && db.driver() && db.driver()->dbmsType() == QSqlDriver::PostgreSQL &&
           PgClient::Connection(db) && PgClient::Library();
}

QString Numbered(const QString& sql) {
    QString out;
    out.reserve(sql.size() + 8);
    QChar quote;
    int n = 0;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar(); // a doubled quote closes and opens again
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'?') {
            out += u'$' + QString::number(++n);
            continue;
        }
        out += c;
    }
    return out;
}

std::optional<QSqlQuery> Run(const QSqlDatabase& db, StatementCache& cache, const QString& sql,
                             const QVariantList& params, QSqlError* error) {
    const PgClient::Functions* pq = PgClient::Library();
    pg_conn* conn = PgClient::Connection(db);
    if (!pq || !conn) {
        *error = QSqlError(QStringLiteral("Unable to run the statement"),
                           QStringLiteral("the database is not open"), QSqlError::ConnectionError);
        return std::nullopt;
    }
    const Values values(params);
    // Twice at most: a name the server no longer knows (its statements
    // released by another client of the connection) is prepared again.
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool prepared = false;
        const QByteArray name = cache.preparedName(conn, sql, &prepared);
        if (!prepared) {
            pg_result* made =
                pq->prepare(conn, name.constData(), Numbered(sql).toUtf8().constData(), 0, nullptr);
            if (!succeeded(*pq, made)) {
                *error = failure(*pq, conn, made);
                if (made)
                    pq->clear(made);
                return std::nullopt;
            }
            pq->clear(made);
            cache.keepPrepared(sql, name);
        }
        pg_result* result = pq->execPrepared(conn, name.constData(), int(values.pointers.size()),
                                             values.pointers.data(), values.lengths.data(),
                                             values.formats.data(), 0);
        if (succeeded(*pq, result))
            return QSqlQuery(new PgRows(db.driver(), result)); // the query owns its result
        *error = failure(*pq, conn, result);
        if (result)
            pq->clear(result);
        if (!prepared || error->nativeErrorCode() != QLatin1String("26000"))
            break;
        cache.forgetPrepared();
    }
    return std::nullopt;
}

} // namespace PgStatement
