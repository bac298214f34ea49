#pragma once
// Operator passwords: stored as salted slow hashes. A password still stored
// the old way (scrambled) is recognised so that it can be accepted once and
// stored again as a hash.

#include <QString>

namespace folian {

// A new salted hash of the password (never empty, even for an empty password).
QString HashPassword(const QString &plain);

// A password nobody guesses: `length` characters drawn at random from
// letters and digits that cannot be mistaken for one another.
QString RandomPassword(int length = 16);

// Is the stored value a hash made by HashPassword?
bool IsPasswordHash(const QString &stored);

enum class PasswordCheck { Wrong, Right, RightButOldForm };

// Compares a typed password with the stored value: a hash, or the old
// scrambled form (NULL or empty stored matches only the empty password).
PasswordCheck CheckPassword(const QString &typed, const QString &stored, bool storedIsNull = false);

} // namespace folian
