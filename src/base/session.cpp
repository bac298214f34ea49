#include "base/session.h"

namespace folian {

namespace {
constexpr const char *kRightColumns[RightCount] = {
    "UTL_ACQ_ACCES", "UTL_ACQ_ADMIN", "UTL_ACQ_TRANSACT", "UTL_ACQ_BUDGET", "UTL_ACQ_EDITION",
    "UTL_CAT_ACCES", "UTL_CAT_ADMIN", "UTL_CAT_NOTICE", "UTL_CAT_IMPORT", "UTL_CAT_AUTORITE",
    "UTL_CAT_EDITION",
    "UTL_CIRCUL_ACCES", "UTL_CIRCUL_ADMIN", "UTL_CIRCUL_LECTEUR", "UTL_CIRCUL_TRANSACT",
    "UTL_CIRCUL_PEB", "UTL_CIRCUL_EDITION"};
}

const char *rightColumn(Right r) { return kRightColumns[static_cast<int>(r)]; }

const std::array<Right, RightCount> &allRights()
{
    static const std::array<Right, RightCount> all = [] {
        std::array<Right, RightCount> a{};
        for (int i = 0; i < RightCount; ++i)
            a[static_cast<size_t>(i)] = static_cast<Right>(i);
        return a;
    }();
    return all;
}

void Session::setLanguage(const QString &language)
{
    CurrentLanguage = language == QLatin1String("AR") ? QStringLiteral("AR") : QStringLiteral("FR");
    ArabicMode = CurrentLanguage == QLatin1String("AR");
    LanguageSuffix = ArabicMode ? QStringLiteral("_AR") : QString();
}

QString Session::authorRoleName(int autType) const
{
    static const char16_t *fr[3] = {u"Auteur principal", u"Co-auteur", u"Auteur secondaire"};
    static const char16_t *ar[3] = {u"مؤلف رئيسي", u"مؤلف مساعد", u"مؤلف ثانوي"};
    if (autType < 1 || autType > 3)
        return {};
    return QString::fromUtf16(ArabicMode ? ar[autType - 1] : fr[autType - 1]);
}

Session &session()
{
    static Session s;
    return s;
}

} // namespace folian
