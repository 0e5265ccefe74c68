#include "shared/db/PgRows.h"

#include "shared/db/PgClient.h"

#include <QDateTime>
#include <QSqlField>
#include <QSqlRecord>
#include <QtNumeric>

namespace {

// The type the driver gives a column of the server's type `oid` (pg_type).
QMetaType typeOf(unsigned int oid) {
    switch (oid) {
    case 16: // bool
        return QMetaType::fromType<bool>();
    case 20: // int8
        return QMetaType::fromType<qlonglong>();
    case 21: // int2
    case 23: // int4
    case 24: // regproc
    case 26: // oid
    case 28: // xid
    case 29: // cid
        return QMetaType::fromType<int>();
    case 700:  // float4
    case 701:  // float8
    case 1700: // numeric
        return QMetaType::fromType<double>();
    case 1082: // date
        return QMetaType::fromType<QDate>();
    case 1083: // time
    case 1266: // timetz
        return QMetaType::fromType<QTime>();
    case 1114: // timestamp
    case 1184: // timestamptz
        return QMetaType::fromType<QDateTime>();
    case 17: // bytea
        return QMetaType::fromType<QByteArray>();
    default:
        return QMetaType::fromType<QString>();
    }
}

} // namespace

PgRows::PgRows(const QSqlDriver* driver, pg_result* result) : QSqlResult(driver), m_result(result) {
    const PgClient::Functions* pq = PgClient::Library();
    m_fields = pq->nfields(result);
    m_rows = pq->ntuples(result);
    setSelect(m_fields > 0);
    setActive(true);
    setAt(QSql::BeforeFirstRow);
}

PgRows::~PgRows() {
    PgClient::Library()->clear(m_result);
}

QVariant PgRows::data(int field) {
    if (field < 0 || field >= m_fields || at() < 0 || at() >= m_rows)
        return {};
    const PgClient::Functions* pq = PgClient::Library();
    const QMetaType type = typeOf(pq->ftype(m_result, field));
    if (pq->getisnull(m_result, at(), field))
        return QVariant(type);
    const char* text = pq->getvalue(m_result, at(), field);
    const int length = pq->getlength(m_result, at(), field);
    const QByteArray value = QByteArray::fromRawData(text, length);
    switch (type.id()) {
    case QMetaType::Bool:
        return QVariant(text[0] == 't');
    case QMetaType::LongLong: // as the driver reads it: unsigned unless negative
        return text[0] == '-' ? QVariant(value.toLongLong()) : QVariant(value.toULongLong());
    case QMetaType::Int:
        return QVariant(value.toInt());
    case QMetaType::Double: {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (ok)
            return number;
        if (value.compare("NaN", Qt::CaseInsensitive) == 0)
            return qQNaN();
        if (value.compare("Infinity", Qt::CaseInsensitive) == 0)
            return qInf();
        if (value.compare("-Infinity", Qt::CaseInsensitive) == 0)
            return -qInf();
        return {};
    }
    case QMetaType::QDate:
        return QDate::fromString(QString::fromLatin1(value), Qt::ISODate);
    case QMetaType::QTime:
        return QTime::fromString(QString::fromLatin1(value), Qt::ISODate);
    case QMetaType::QDateTime:
        return QDateTime::fromString(QString::fromLatin1(value), Qt::ISODate);
    case QMetaType::QByteArray: {
        size_t size = 0;
        unsigned char* bytes =
            pq->unescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
        if (!bytes)
            return QVariant(type);
        QByteArray out(reinterpret_cast<const char*>(bytes), qsizetype(size));
        pq->freemem(bytes);
        return out;
    }
    default:
        return QString::fromUtf8(value);
    }
}

bool PgRows::isNull(int field) {
    return field < 0 || field >= m_fields || at() < 0 || at() >= m_rows ||
           PgClient::Library()->getisnull(m_result, at(), field);
}

bool PgRows::reset(const QString&) {
    return false; // an answer only: it runs nothing
}

bool PgRows::fetch(int row) {
    if (row < 0 || row >= m_rows) {
        setAt(row < 0 ? QSql::BeforeFirstRow : QSql::AfterLastRow);
        return false;
    }
    setAt(row);
    return true;
}

bool PgRows::fetchFirst() {
    return fetch(0);
}

bool PgRows::fetchLast() {
    return fetch(m_rows - 1);
}

int PgRows::size() {
    return isSelect() ? m_rows : -1;
}

int PgRows::numRowsAffected() {
    // As the driver counts: none for a command that reports no count.
    const char* count = PgClient::Library()->cmdTuples(m_result);
    return count ? QByteArray(count).toInt() : 0;
}

QSqlRecord PgRows::record() const {
    QSqlRecord fields;
    const PgClient::Functions* pq = PgClient::Library();
    for (int i = 0; i < m_fields; ++i)
        fields.append(
            QSqlField(QString::fromUtf8(pq->fname(m_result, i)), typeOf(pq->ftype(m_result, i))));
    return fields;
}
