#pragma once
// What the acquisition commands share: a day option, an operation of the
// services run on the database and told, a command of one key.

#include "ctl.h"

#include "acquisitions/core/acqresult.h"

#include <QDate>
#include <functional>

namespace folian::ctl {

// The day of the option `name`, left as it is when not given; false when it is not a day.
bool dayOption(const Args &a, const char *name, QDate *day);
// Opens the database, sets the operator and runs `body`; its result told:
// the key printed alone when done (and not 0), the refusal on standard error.
int withDatabase(const Args &a, const std::function<AcqResult(Database &)> &body);
// A command of one key: "NAME KEY".
int onKey(const Args &a, const char *what, const std::function<AcqResult(Database &, int)> &operation);

void addBudgetCommands(QVector<Command> &out);
void addGiftCommands(QVector<Command> &out);
// Serial issues and the claims to late suppliers.
void addSerialCommands(QVector<Command> &out);

} // namespace folian::ctl
