#pragma once

#include "shared/records/clsCollection.h"
#include "shared/records/clsEmployee.h"

#include <QStringList>
#include <stdexcept>

class DbError;

// All employees that have a department, keyed by ENUMBER.
class clsEmployeeSet : public clsCollection<clsEmployee> {
public:
    // Fills the set. Database errors and a duplicate ENUMBER are not caught:
    // they leave as std::runtime_error (the windows report them).
    bool LoadSet();

    // The numbers of the employees whose department key names no
    // department (an employee file imported without its department file):
    // they drop out of every list and cannot sign in. Empty on failure too,
    // why in *error.
    static QStringList WithUnknownDepartment(DbError* error = nullptr);

    clsEmployee& Add(std::unique_ptr<clsEmployee> objNewMember);
};
