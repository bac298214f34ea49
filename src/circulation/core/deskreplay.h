#pragma once
// The operations of a desk that worked offline, replayed in file order:
// one per line, DATE<TAB>OPERATION<TAB>READER<TAB>COPY, DATE as YYYY-MM-DD
// standing for today in every rule of the line, OPERATION one of loan,
// return, reserve, renew, cancel. A date after today is refused, like a
// line that cannot be read; blank lines are skipped.

#include <QString>
#include <QStringList>

namespace folian {

class Database;
class Progress;

struct ReplayResult {
    int done = 0;
    int refused = 0;
    QStringList lines;   // each line's message, "N: message"
    QString error;       // the file could not be read: nothing was replayed
};

ReplayResult replayDesk(Database &db, const QString &path, Progress *progress = nullptr);
// The same over the file's text.
ReplayResult replayDeskText(Database &db, const QString &text, Progress *progress = nullptr);

} // namespace folian
