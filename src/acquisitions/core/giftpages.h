#pragma once
// The printed form of a gift, an exchange or a deposit: "Don.html",
// "echange.html" or "depot.html", in the layout of the order form, with
// its partner and a table of its titles (reference, title, copies).

#include "reports/core/report.h"

namespace folian {

class Database;

ReportResult writeGiftForm(Database &db, int document);

} // namespace folian
