#pragma once
// Who may use what: the module buttons of the main window and the gated
// actions of each module, from the session's role and rights.

#include "base/session.h"

#include <functional>

namespace folian {

enum class Role { Saisie = 0, Administrateur = 1, ResponsableAcquisition = 2, ResponsableCatalogage = 3,
                  ResponsablePret = 4, AgentAcquisition = 5, AgentCatalogage = 6, AgentPret = 7 };

enum class Module { Acquisition, Catalogage, Autorite, Circulation, Edition, Administration, Opac };
constexpr int ModuleCount = 7;

// The group of a right: 0 acquisition, 1 cataloguing, 2 circulation.
int rightGroup(Right r);

// Is the module's button enabled for this session?
bool moduleEnabled(Module m, const Session &s);

// A gated action: allowed to role 1, to the manager role of the right's
// module (2 acquisitions, 3 cataloguing, 4 circulation), or with the right.
bool allowed(Right r, const Session &s);

// The rule of a menu entry gated by a right: allowed(r, session).
inline std::function<bool(const Session &)> needs(Right r)
{
    return [r](const Session &s) { return allowed(r, s); };
}

// A right as the user sheet labels it, with its group: "Circulation :
// Transaction de prêt" (in Arabic in an Arabic session).
QString rightLabel(Right r);

// Why the session's user may not do what `r` gates, or empty when he may:
// the rule of allowed(), which also enables the screens' buttons, so that a
// service and its screen never disagree.
QString rightRefusal(Right r, const Session &s);
// Why he may not do what only an administrator (role 1) does, or empty.
QString administratorRefusal(const Session &s);
// The refusal of an action the session's user has no right to, naming him
// and what he lacks.
QString notAllowedMessage(const Session &s, const QString &what);

// Role names as the users screens show them (French or Arabic); empty for an unknown code.
QString roleName(int role, bool arabic);
// The role codes in the order the user sheet lists them: 1..7 then 0.
const QList<int> &roleOrder();

} // namespace folian
