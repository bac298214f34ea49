#pragma once
// Operators: the user sheet's rules and saving, deleting users.

#include <QList>
#include <QSet>
#include <QString>
#include <array>

#include "base/rights.h"

namespace folian {

class TFrmData;

// What the user sheet shows for a role: per group (acquisition, cataloguing,
// circulation) whether the boxes are checked and locked by the role, and
// whether the document-type list is usable.
struct RolePreset {
    bool acqLocked = false;
    bool catLocked = false;
    bool circLocked = false;
    bool typesEnabled = true;
};
RolePreset rolePreset(int role);
// Is the right's box locked (checked) by the role?
bool lockedByRole(int role, Right r);

using Rights = std::array<bool, RightCount>;

// The rights a user holds by choice: the stored rights without those his
// stored role grants (they are stored granted). When the role changes, the
// rights the old role locked go back to the new role's preset.
Rights chosenRights(int storedRole, const Rights &stored);
// The boxes of the sheet for a role: checked when locked by the role or chosen.
Rights sheetRights(int role, const Rights &chosen);

// What the sheet holds when it is saved.
struct UserSheet {
    int id = 0;            // 0 for a new user
    QString login, nom, prenom, tel, email, adresse;
    int role = 0;
    std::array<bool, RightCount> rights{};
    // A new password, or empty with `keepPassword` to leave the stored one.
    QString password, confirmation;
    bool keepPassword = false;
    QSet<QString> documentTypes;  // TYP_ID codes checked
};

// The stored sheet of a user (the password is never read back).
UserSheet loadUser(TFrmData &data, int userId);

// Which part of the sheet a refusal is about.
enum class UserField { None, Required, Password, Confirmation, Login, Role };

struct SaveUserResult {
    QString message;                    // empty when saved
    UserField field = UserField::None;  // where the operator corrects it
    bool ok() const { return message.isEmpty(); }
};

// Checks and saves the sheet: only an administrator does; required fields
// (login, name, first name), a password (mandatory for a new user, and
// whenever a new one is given) and its confirmation, unique login, the last
// administrator keeps his role. Saves the user row and its CATALOGAGE rows in one transaction. The
// new user's id in `savedId`.
SaveUserResult saveUser(TFrmData &data, const UserSheet &sheet, int *savedId = nullptr);

// Why the user may not be deleted (by anyone but an administrator; the
// logged-on user, the last administrator), or empty: asked before the confirmation question.
QString deleteUserRefusal(TFrmData &data, int userId);
// Deletes a user and his CATALOGAGE rows in one transaction, unless refused.
// Empty on success, else the message.
QString deleteUser(TFrmData &data, int userId);

// The confirmation question before deleting `login`.
QString deleteUserQuestion(const QString &login);

} // namespace folian
