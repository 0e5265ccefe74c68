#pragma once

#include <QSqlResult>

struct pg_result;

// The answer of a statement run by PgStatement, read through a QSqlQuery
// like the driver's own: every row is already received, so rows may be
// visited in any order. Each value reads as the driver reads it: of the
// type it gives the column's server type, written as it writes it.
class PgRows : public QSqlResult {
public:
    // Takes `result` (a command's answer, or a select's rows).
    PgRows(const QSqlDriver* driver, pg_result* result);
    ~PgRows() override;
    PgRows(const PgRows&) = delete;
    PgRows& operator=(const PgRows&) = delete;

protected:
    QVariant data(int field) override;
    bool isNull(int field) override;
    bool reset(const QString& sql) override;
    bool fetch(int row) override;
    bool fetchFirst() override;
    bool fetchLast() override;
    int size() override;
    int numRowsAffected() override;
    QSqlRecord record() const override;

private:
    pg_result* m_result;
    int m_rows = 0;
    int m_fields = 0;
};
