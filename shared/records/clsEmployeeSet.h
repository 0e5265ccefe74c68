#pragma once

#include "shared/records/clsCollection.h"
#include "shared/records/clsEmployee.h"

#include <QStringList>

class Error;

// All employees that have a department, keyed by ENUMBER.
class clsEmployeeSet : public clsCollection<clsEmployee> {
public:
    // Fills the set; false, why in *error, when the records cannot be read
    // or two employees have the same number.
    bool LoadSet(Error* error = nullptr);

    // The numbers of the employees whose department key names no
    // department (an employee file imported without its department file):
    // they drop out of every list and cannot sign in. Empty on failure too,
    // why in *error.
    static QStringList WithUnknownDepartment(Error* error = nullptr);

    clsEmployee& Add(std::unique_ptr<clsEmployee> objNewMember);
};
