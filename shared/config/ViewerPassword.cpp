#include "shared/config/ViewerPassword.h"

#include "shared/config/IniFile.h"
#include "shared/config/clsConfiguration.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

namespace ViewerPassword {

namespace {

const QString kScheme = QStringLiteral("pbkdf2-sha256");
const QString kGroup = QStringLiteral("WEB");
const QString kKey = QStringLiteral("PASSWORD");

QByteArray derive(const QString& password, const QByteArray& salt, int iterations) {
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              iterations, kHashBytes);
}

} // namespace

QString Hash(const QString& password, const QByteArray& salt, int iterations) {
    return QStringList{kScheme, QString::number(iterations), QString::fromLatin1(salt.toBase64()),
                       QString::fromLatin1(derive(password, salt, iterations).toBase64())}
        .join(u':');
}

QString Hash(const QString& password) {
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    return Hash(password, salt, kIterations);
}

bool Matches(const QString& password, const QString& stored) {
    const QStringList parts = stored.split(u':');
    if (parts.size() != 4 || parts[0] != kScheme)
        return false;
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    if (!ok || iterations < 1000 || iterations > 10000000)
        return false;
    const auto salt = QByteArray::fromBase64Encoding(parts[2].toLatin1(),
                                                     QByteArray::AbortOnBase64DecodingErrors);
    const auto hash = QByteArray::fromBase64Encoding(parts[3].toLatin1(),
                                                     QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !hash || (*salt).isEmpty() || (*hash).size() != kHashBytes)
        return false;
    const QByteArray given = derive(password, *salt, iterations);
    // Every byte compared, so the time does not tell how much matched.
    unsigned char differ = 0;
    for (int i = 0; i < kHashBytes; ++i)
        differ |= static_cast<unsigned char>(given[i] ^ (*hash)[i]);
    return differ == 0;
}

QString Stored() {
    return IniFile(clsConfiguration::DefaultFileName()).Read(kGroup, kKey);
}

bool Store(const QString& password, Error* error) {
    IniFile ini(clsConfiguration::DefaultFileName());
    if (ini.Write(kGroup, kKey, Hash(password)))
        return true;
    return Error(QStringLiteral("cannot write %1").arg(ini.fileName())).Report(error);
}

} // namespace ViewerPassword
