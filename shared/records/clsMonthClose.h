#pragma once

#include "shared/records/clsCorrection.h"

#include <QDate>
#include <QString>
#include <QStringList>

class DbSession;
class Error;

// Closed months (table MonthClose, one row a month): the administrator
// closes a past month, after which no writer corrects, imports or removes a
// presence record of it; reopening takes the administrator password. Both
// are rows of the corrections' trail, written in the same transaction. On the
// session given.
class clsMonthClose {
public:
    using Result = clsCorrection::Result;

    // "yyyy-MM", the key of a month.
    static QString Key(int year, int month);
    // Refused for the current month and later ones (the station writes today).
    static Result Close(DbSession& session, int year, int month, const clsCorrection::Operator& who,
                        Error* error = nullptr);
    static Result Reopen(DbSession& session, int year, int month, const QString& adminPassword,
                         const clsCorrection::Operator& who, Error* error = nullptr);
    // Keeps the month of `day` from being closed or reopened until the
    // outermost transaction open on `session` ends, and says whether it is
    // closed. False (why in *error) when that cannot be told; inside a
    // writer's transaction the writer then fails (on a server the failed
    // statement has ended that transaction's use). Outside one it holds the
    // month for a transaction of its own.
    static bool HoldOpen(DbSession& session, const QDate& day, bool* closed,
                         Error* error = nullptr);
    // The closed months' keys, in order.
    static bool ClosedMonths(DbSession& session, QStringList* out, Error* error = nullptr);
};
