#pragma once
// Acquisition documents: their kinds, statuses and directions, the amount of
// a line and the titles shown on lines.

#include "data/core/money.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace folian {

enum class AcqType { PreOrder = 1, Order = 2, Subscription = 3, Gift = 4, Exchange = 5, Deposit = 6 };
namespace AcqStatus {
constexpr int ToValidate = 1;  // "A valider"
constexpr int Validated = 2;   // "En cours"
} // namespace AcqStatus
namespace AcqDirection {
constexpr int Unset = 0;
constexpr int Incoming = 1;   // "Entrant"
constexpr int Outgoing = 2;   // "Sortant"
} // namespace AcqDirection

// Mode of acquisition written into the copies received through a document.
namespace AcquisitionMode {
constexpr int Purchase = 1;
constexpr int Gift = 2;
constexpr int Exchange = 3;
constexpr int Deposit = 4;
constexpr int Catalogued = 5;  // default of copies entered by the cataloguers
} // namespace AcquisitionMode

// The status-bar label of a kind of document ("Commandes", ...).
QString acqTypeLabel(AcqType t);
// Does this kind of document have a supplier (else a partner)?
bool hasSupplier(AcqType t);

// A line's amount: price × copies when both are set, else 0.
Money lineAmount(const QVariant &price, const QVariant &copies);
// A line is fully received when the copies received reach the copies ordered.
bool lineFullyReceived(int ordered, int received);

struct TitleParts {
    QString ensemble, numeroPartie, propre, parallele, complement;
};
// The full title of a line: ensemble. partie, propre = parallèle : complément,
// each part and its separator only when not blank.
QString fullTitle(const TitleParts &t);
// The short title of the grids: propre : complément.
QString shortTitle(const QString &propre, const QString &complement);

} // namespace folian
