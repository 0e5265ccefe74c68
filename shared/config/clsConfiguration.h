#pragma once

#include "shared/config/IniFile.h"

#include <QString>

// Reads and writes single keys of an INI file ("attendance.ini"): GBK on
// disk, group and key names matched without regard to case, values cut to
// 254 bytes, absent keys read as empty text. A write rewrites the file
// atomically under a lock and keeps every other line as it was.
class clsConfiguration {
public:
    QString FileName() const { return m_fileName; }
    void setFileName(const QString& fileName) { m_fileName = fileName; }
    QString Group() const { return m_group; }
    void setGroup(const QString& group) { m_group = group; }

    QString GetItem(const QString& itemName) const;
    bool SetItem(const QString& itemName, const QString& itemValue);
    // Several keys, each naming its group, in one atomic rewrite of the
    // file: a reader or a crash sees all of them or none.
    bool WriteKeys(const QList<IniFile::Entry>& keys);

    // "attendance.ini" in the program directory.
    static QString DefaultFileName();

private:
    QString m_fileName;
    QString m_group;
};

// Directory of the database file: PATH of group DATA, unchanged.
QString DataPath();
// DataPath() joined with "vorerur.dat".
QString DatabaseFilePath();
