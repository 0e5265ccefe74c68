#pragma once

#include "shared/records/clsCollection.h"
#include "shared/records/clsEmployee.h"

#include <stdexcept>

// All employees that have a department, keyed by ENUMBER.
class clsEmployeeSet : public clsCollection<clsEmployee> {
public:
    // Fills the set. Database errors and a duplicate ENUMBER are not caught:
    // they leave as std::runtime_error (the windows report them).
    bool LoadSet();

    clsEmployee& Add(std::unique_ptr<clsEmployee> objNewMember);
};
