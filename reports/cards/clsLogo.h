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

    // Whether a chosen file may be copied into the program directory as the
    // logo: not when its name is one of the programs' own files there (or of
    // any other file there that is no picture), nor when it is no readable picture.
    enum class Refusal { None, ProgramFile, NotPicture };
    static Refusal Examine(const QString& chosen);

private:
    clsConfiguration m_config;
};
