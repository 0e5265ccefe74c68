#pragma once

#include "shared/config/clsConfiguration.h"

#include <QString>

// The path of the sign-in card's logo picture (LOGO/FILEPATH).
class clsLogo {
public:
    clsLogo();

    // Writes the path without surrounding blanks; false when the write fails.
    bool SetPath(const QString& path);
    QString GetPath() const;
    // The stored path when a file of that path exists, else empty.
    QString ExistingFile() const;

private:
    clsConfiguration m_config;
};
