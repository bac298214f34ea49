#include "acquisitions/core/documents.h"

#include "base/messages.h"
#include "data/core/helpers.h"

namespace folian {

QString acqTypeLabel(AcqType t)
{
    switch (t) {
    case AcqType::PreOrder: return tr2(QStringLiteral("Pré-commandes"), QStringLiteral("الطلبات المسبقة"));
    case AcqType::Order: return tr2(QStringLiteral("Commandes"), QStringLiteral("الطلبيات"));
    case AcqType::Subscription: return tr2(QStringLiteral("Abonnements"), QStringLiteral("الاشتراكات"));
    case AcqType::Gift: return tr2(QStringLiteral("Dons"), QStringLiteral("الهبات"));
    case AcqType::Exchange: return tr2(QStringLiteral("Echanges"), QStringLiteral("التبادلات"));
    case AcqType::Deposit: return tr2(QStringLiteral("Dépôts"), QStringLiteral("الإيداعات"));
    }
    return {};
}

bool hasSupplier(AcqType t)
{
    return t == AcqType::PreOrder || t == AcqType::Order || t == AcqType::Subscription;
}

Money lineAmount(const QVariant &price, const QVariant &copies)
{
    const std::optional<Money> p = Money::fromVariant(price);
    if (!p || IsBlank(copies))
        return Money();
    return *p * copies.toLongLong();
}

bool lineFullyReceived(int ordered, int received) { return received >= ordered; }

QString fullTitle(const TitleParts &t)
{
    QString out;
    auto add = [&out](const QString &sep, const QString &part) {
        if (part.trimmed().isEmpty())
            return;
        if (!out.isEmpty())
            out += sep;
        out += part;
    };
    add(QString(), t.ensemble);
    add(QStringLiteral(". "), t.numeroPartie);
    add(QStringLiteral(", "), t.propre);
    add(QStringLiteral(" = "), t.parallele);
    add(QStringLiteral(" : "), t.complement);
    return out;
}

QString shortTitle(const QString &propre, const QString &complement)
{
    return complement.trimmed().isEmpty() ? propre : propre + QStringLiteral(" : ") + complement;
}

} // namespace folian
