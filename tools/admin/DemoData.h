#pragma once

#include "shared/db/DbErrors.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Demo content for a fresh database: departments, employees with generated
// photos and barcodes, and presence records from the first day of the
// previous month up to today. Everything but the dates is the same on every
// run (fixed seed), so the documentation can name the demo cards.
namespace DemoData {

struct Summary {
    int departments = 0;
    int employees = 0;
    int presenceRows = 0;
};

// Fills the empty database of `db` (either engine) inside the transaction
// the caller holds on it, so the caller decides whether all of it stays.
bool Populate(QSqlDatabase db, Summary* summary, Error* error);

// The employee numbers and card barcodes of the demo employees, in order.
QStringList Numbers();
QStringList Barcodes();

// The administrator password and unit name a demo set-up uses by default.
QString DefaultPassword();
QString DefaultUnitName();

} // namespace DemoData
