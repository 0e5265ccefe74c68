#include "shared/config/clsConfiguration.h"

#include "shared/base/ProgramDirectory.h"
#include "shared/config/IniFile.h"

QString clsConfiguration::GetItem(const QString& itemName) const {
    return IniFile(m_fileName).Read(m_group, itemName);
}

bool clsConfiguration::SetItem(const QString& itemName, const QString& itemValue) {
    return IniFile(m_fileName).Write(m_group, itemName, itemValue);
}

bool clsConfiguration::WriteKeys(const std::vector<IniFile::Entry>& keys) {
    return IniFile(m_fileName).WriteKeys(keys);
}

QString clsConfiguration::DefaultFileName() {
    return JoinPath(ConfigurationDirectory(), QStringLiteral("attendance.ini"));
}

QString DataPath() {
    clsConfiguration cfg;
    cfg.setFileName(clsConfiguration::DefaultFileName());
    cfg.setGroup(QStringLiteral("DATA"));
    return cfg.GetItem(QStringLiteral("PATH"));
}

QString DatabaseFilePath() {
    return JoinPath(DataPath(), QStringLiteral("vorerur.dat"));
}
