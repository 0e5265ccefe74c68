#pragma once

#include <QString>

// The unit name (UNIT/UNITNAME), read at creation.
class clsSchoolArea {
public:
    clsSchoolArea() { LoadInfo(); }

    QString SNAME() const { return m_sname; }
    void setSNAME(const QString& v) { m_sname = v; }

    void LoadInfo();
    bool SaveInfo();

private:
    QString m_sname;
};
