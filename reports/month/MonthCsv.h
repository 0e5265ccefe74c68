#pragma once

#include "shared/db/DbErrors.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

class DbSession;
class clsEmployeePresenceSet;

// The month table as CSV (UTF-8 with a byte-order mark, CRLF lines, each
// made by CsvText::Line, which keeps formula-like text as text): one line
// per employee and day with number, name, department, date, arrival,
// departure and the time between them, for spreadsheets.
class MonthCsv {
public:
    // "H:mm" between the two times as shown (to the minute); empty when one
    // is missing or the departure lies before the arrival.
    static QString Duration(const QDateTime& enter, const QDateTime& exit);
    // `departments`: department name by employee number.
    static QByteArray Text(int year, int month, const clsEmployeePresenceSet& table,
                           const QHash<QString, QString>& departments);
    // Reads the departments on `session` and writes the file whole or not
    // at all; an existing file is never replaced. False with the reason in
    // `error`.
    static bool WriteFile(DbSession& session, int year, int month,
                          const clsEmployeePresenceSet& table, const QString& fileName,
                          Error* error);
};
