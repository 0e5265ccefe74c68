#include "shared/config/PasswordModule.h"

#include "shared/config/IniFile.h"
#include "shared/config/clsConfiguration.h"

#include <cstdint>

namespace {

// The one-byte key of the digit form. Every stored ALP value depends on it:
// it is fixed forever and must never change.
constexpr int kPasswordKey = 0x5A;

clsConfiguration OtherGroup() {
    clsConfiguration cfg;
    cfg.setFileName(clsConfiguration::DefaultFileName());
    cfg.setGroup(QStringLiteral("OTHER"));
    return cfg;
}

// The character's code in the ANSI code page (GBK): a single byte as 0..255,
// a double-byte character as lead * 256 + trail taken as a signed 16-bit
// number. A character without a GBK code (including half of a surrogate
// pair) counts as '?', as the system's conversion would make it.
int AnsiCode(QChar c) {
    bool ok = false;
    const QByteArray b = IniFile::ToAnsi(QString(c), &ok);
    if (ok && b.size() == 1)
        return static_cast<unsigned char>(b[0]);
    if (ok && b.size() == 2)
        return static_cast<int16_t>(static_cast<uint16_t>(static_cast<unsigned char>(b[0]) << 8 |
                                                          static_cast<unsigned char>(b[1])));
    return '?';
}

} // namespace

QString GetStoredPassword() {
    return OtherGroup().GetItem(QStringLiteral("ALP"));
}

QString EncodePassword(const QString& p) {
    QString result;
    result.reserve(p.size());
    for (const QChar c : p) {
        const int x = AnsiCode(c) ^ kPasswordKey;
        const int d = x % 10; // truncates toward zero: -9..0 for double-byte codes
        result += QChar(48 + d);
    }
    return result;
}

bool SavePassword(const QString& p) {
    return OtherGroup().SetItem(QStringLiteral("ALP"), EncodePassword(p));
}

bool CheckPassword(const QString& p) {
    return EncodePassword(p) == GetStoredPassword();
}
