#include "admin/core/passwords.h"

#include "data/core/helpers.h"

#include <sodium.h>

namespace folian {

namespace {
bool sodiumReady()
{
    static const bool ok = sodium_init() >= 0;
    return ok;
}
// Interactive limits: about a tenth of a second per logon.
constexpr unsigned long long kOps = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t kMem = crypto_pwhash_MEMLIMIT_INTERACTIVE;
} // namespace

QString HashPassword(const QString &plain)
{
    if (!sodiumReady())
        return {};
    const QByteArray utf8 = plain.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()), kOps, kMem) != 0)
        return {};
    return QString::fromLatin1(out);
}

QString RandomPassword(int length)
{
    static const char alphabet[] = "abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    if (!sodiumReady())
        return {};
    QString out;
    for (int i = 0; i < length; ++i)
        out += QLatin1Char(alphabet[randombytes_uniform(sizeof(alphabet) - 1)]);
    return out;
}

bool IsPasswordHash(const QString &stored)
{
    return stored.startsWith(QLatin1String("$argon2"));
}

PasswordCheck CheckPassword(const QString &typed, const QString &stored, bool storedIsNull)
{
    if (IsPasswordHash(stored)) {
        if (!sodiumReady())
            return PasswordCheck::Wrong;
        const QByteArray s = stored.toLatin1();
        const QByteArray t = typed.toUtf8();
        return crypto_pwhash_str_verify(s.constData(), t.constData(),
                                        static_cast<unsigned long long>(t.size())) == 0
            ? PasswordCheck::Right
            : PasswordCheck::Wrong;
    }
    // The old form: the typed password scrambled with the password key.
    const QString old = storedIsNull ? QString() : stored;
    return old == ScrambleText(typed, PasswordKey) ? PasswordCheck::RightButOldForm : PasswordCheck::Wrong;
}

} // namespace folian
