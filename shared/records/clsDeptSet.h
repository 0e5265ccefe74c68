#pragma once

#include "shared/records/clsCollection.h"
#include "shared/records/clsDept.h"

// All departments, loaded at creation from the session given, keyed by " " + ID.
class clsDeptSet : public clsCollection<clsDept> {
public:
    // Loads every department (unless `load` is false); a failed load leaves
    // the set shorter.
    explicit clsDeptSet(DbSession& session, bool load = true);

    clsDept& Add(qint16 id, const QString& dname, const QString& password,
                 const QString& sKey = QString());

    // The key a loaded department is stored under: " " + decimal ID.
    static QString KeyOf(qint16 id) { return QLatin1Char(' ') + QString::number(id); }

private:
    void load();

    DbSession* m_session;
};
