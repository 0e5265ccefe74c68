#include "reports/cards/clsLogo.h"

#include <QFileInfo>

clsLogo::clsLogo() {
    m_config.setFileName(clsConfiguration::DefaultFileName());
    m_config.setGroup(QStringLiteral("LOGO"));
}

bool clsLogo::SetPath(const QString& path) {
    return m_config.SetItem(QStringLiteral("FILEPATH"), path.trimmed());
}

QString clsLogo::GetPath() const {
    return m_config.GetItem(QStringLiteral("FILEPATH"));
}

QString clsLogo::ExistingFile() const {
    const QString path = GetPath().trimmed();
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}
