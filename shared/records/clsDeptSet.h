#pragma once

#include "shared/records/clsCollection.h"
#include "shared/records/clsDept.h"

// All departments, loaded at creation, keyed by " " + ID.
class clsDeptSet : public clsCollection<clsDept> {
public:
    clsDeptSet(); // loads every department; a failed load leaves the set shorter
    explicit clsDeptSet(bool load);

    clsDept& Add(qint16 id, const QString& dname, const QString& password,
                 const QString& sKey = QString());

    // The key a loaded department is stored under: " " + decimal ID.
    static QString KeyOf(qint16 id) { return QLatin1Char(' ') + QString::number(id); }

private:
    void load();
};
