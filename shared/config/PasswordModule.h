#pragma once

#include <QString>

// The administrator password, stored as its digit form in OTHER/ALP.
QString GetStoredPassword();
QString EncodePassword(const QString& p);
// Returns whether the configuration write succeeded.
bool SavePassword(const QString& p);
bool CheckPassword(const QString& p);
