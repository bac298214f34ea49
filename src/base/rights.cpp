#include "base/rights.h"

#include "base/messages.h"

namespace folian {

int rightGroup(Right r)
{
    const int i = static_cast<int>(r);
    if (i <= static_cast<int>(Right::AcqEdition))
        return 0;
    if (i <= static_cast<int>(Right::CatEdition))
        return 1;
    return 2;
}

bool allowed(Right r, const Session &s)
{
    // The manager roles 2, 3 and 4 follow the order of the groups.
    return s.CurrentUserRole == 1 || s.CurrentUserRole == 2 + rightGroup(r) || s.right(r);
}

bool moduleEnabled(Module m, const Session &s)
{
    const int role = s.CurrentUserRole;
    switch (m) {
    case Module::Acquisition:
        return role == 1 || role == 2 || role == 5 || s.right(Right::AcqAcces);
    case Module::Catalogage:
        return role == 1 || role == 3 || role == 6 || s.right(Right::CatAcces);
    case Module::Autorite:
        return role == 1 || role == 3 || s.right(Right::CatAutorite);
    case Module::Circulation:
        return role == 1 || role == 4 || role == 7 || s.right(Right::CirculAcces);
    case Module::Edition:
        return (role >= 1 && role <= 4) || s.right(Right::AcqEdition) || s.right(Right::CatEdition)
            || s.right(Right::CirculEdition);
    case Module::Administration:
        return role == 1;
    case Module::Opac:
        return true;
    }
    return false;
}

QString rightLabel(Right r)
{
    static const char16_t *groupsFr[] = {u"Acquisition", u"Catalogage", u"Circulation"};
    static const char16_t *groupsAr[] = {u"التزويد", u"الفهرسة", u"الإعارة"};
    static const char16_t *fr[RightCount] = {
        u"Accès", u"Administration", u"Transactions", u"Gestion de budget", u"Edition",
        u"Accès", u"Administration", u"Création de notice", u"Importation", u"Gestion des autorités", u"Edition",
        u"Accès", u"Administration", u"Gestion lecteur", u"Transaction de prêt", u"PEB", u"Edition"};
    static const char16_t *ar[RightCount] = {
        u"الدخول", u"الإدارة", u"المعاملات", u"تسيير الميزانية", u"الطباعة",
        u"الدخول", u"الإدارة", u"إنشاء التسجيلات", u"الاستيراد", u"تسيير الإستنادات", u"الطباعة",
        u"الدخول", u"الإدارة", u"تسيير القراء", u"عمليات الإعارة", u"الإعارة بين المكتبات", u"الطباعة"};
    const int g = rightGroup(r);
    const int i = static_cast<int>(r);
    return tr2(QString::fromUtf16(groupsFr[g]) + QStringLiteral(" : ") + QString::fromUtf16(fr[i]),
               QString::fromUtf16(groupsAr[g]) + QStringLiteral(" : ") + QString::fromUtf16(ar[i]));
}

QString notAllowedMessage(const Session &s, const QString &what)
{
    return tr2(QStringLiteral("L'utilisateur « %1 » n'a pas le droit « %2 » : rien n'a été fait."),
               QStringLiteral("المستخدم « %1 » لا يملك صلاحية « %2 » : لم ينفذ أي شيء."))
        .arg(s.CurrentUserLogin, what);
}

QString rightRefusal(Right r, const Session &s)
{
    return allowed(r, s) ? QString() : notAllowedMessage(s, rightLabel(r));
}

QString administratorRefusal(const Session &s)
{
    return s.CurrentUserRole == static_cast<int>(Role::Administrateur) ? QString()
                                                                       : notAllowedMessage(s, roleName(1, s.ArabicMode));
}

QString roleName(int role, bool arabic)
{
    static const char16_t *fr[] = {u"Agent de Saisie", u"Administrateur", u"Responsable d'Acquisition",
                                   u"Responsable du Catalogage", u"Responsable du Prêt", u"Agent d'Acquisition",
                                   u"Agent de Catalogage", u"Agent de Prêt"};
    static const char16_t *ar[] = {u"عامل إدخال المعلومات", u"الإدارة", u"مسؤول التزويد", u"مسؤول الفهرسة",
                                   u"مسؤول الإعارة", u"عامل التزويد", u"عامل الفهرسة", u"عامل الإعارة"};
    if (role < 0 || role > 7)
        return {};
    return QString::fromUtf16(arabic ? ar[role] : fr[role]);
}

const QList<int> &roleOrder()
{
    static const QList<int> order{1, 2, 3, 4, 5, 6, 7, 0};
    return order;
}

} // namespace folian
