#pragma once

#include "error/Error.h"

#include <QByteArray>
#include <QString>

// The password of the read-only web pages (attendance-web): kept in
// attendance.ini ([WEB] PASSWORD) as a salted PBKDF2-HMAC-SHA256 hash,
// "pbkdf2-sha256:ITERATIONS:SALT:HASH" (salt and hash in base64), never as
// the password itself.
namespace ViewerPassword {

constexpr int kIterations = 60000;
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;
// The shortest password taken.
constexpr int kMinLength = 8;

// The stored form of `password` with a fresh random salt.
QString Hash(const QString& password);
// The same with a given salt and iteration count.
QString Hash(const QString& password, const QByteArray& salt, int iterations);
// Whether `password` gives the stored form `stored`; false for a stored
// form that is not one of Hash (an empty one, another scheme, a damaged
// value, iterations outside 1000-10,000,000). The hashes are compared in
// constant time.
bool Matches(const QString& password, const QString& stored);

// The stored form in the program directory's attendance.ini; empty when none is set.
QString Stored();
// Stores the hash of `password`; false, why in *error, when the file cannot be written.
bool Store(const QString& password, Error* error);

} // namespace ViewerPassword
