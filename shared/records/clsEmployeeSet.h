#pragma once

#include "shared/records/clsCollection.h"
#include "shared/records/clsEmployee.h"

#include <QStringList>

class DbSession;
class Error;

// All employees that have a department, keyed by ENUMBER, read on the
// session given (which its members keep for their photos).
class clsEmployeeSet : public clsCollection<clsEmployee> {
public:
    explicit clsEmployeeSet(DbSession& session) : m_session(&session) {}

    // Fills the set; false, why in *error, when the records cannot be read
    // or two employees have the same number.
    bool LoadSet(Error* error = nullptr);
    DbSession& Session() const { return *m_session; }

    // The numbers of the employees whose department key names no
    // department (an employee file imported without its department file):
    // they drop out of every list and cannot sign in. Empty on failure too,
    // why in *error.
    static QStringList WithUnknownDepartment(DbSession& session, Error* error = nullptr);

    clsEmployee& Add(std::unique_ptr<clsEmployee> objNewMember);

private:
    DbSession* m_session;
};
