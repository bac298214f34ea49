#pragma once
// The catalogues records are copied from (CIBLE_COPIE), shared by every
// workstation: added and deleted by the cataloguing managers and the
// administrator, read by everybody who searches them. A target's name is
// unique: the unique index decides between two workstations adding the same
// name at once, and the one refused is told the name is taken.

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

namespace folian {
class Database;
}

namespace folian::copy {

enum class Protocol { Http = 1, Https = 2, Z3950 = 3 };

// The index names an SRU service searches by: the Dublin Core and Bath
// sets (dc.title, dc.creator, bath.isbn, bath.issn) most services know, or
// the "bib" set (bib.title, bib.author, bib.isbn, bib.issn) of the
// national library's service.
enum class IndexSet { DublinCore, Bib };

struct CopyTarget {
    int id = 0;
    QString name;
    Protocol protocol = Protocol::Http;
    QString host;
    int port = 0;
    QString database;                     // SRU: the path; Z39.50: the database
    QString syntax = QStringLiteral("UNIMARC");
    QString charset;                      // for records that declare none; empty: read by their bytes
    int timeout = 30;                     // seconds
    IndexSet indexSet = IndexSet::DublinCore;

    bool isSru() const { return protocol != Protocol::Z3950; }
    // "https://host:port/path" or "host:port/database", as typed to add it.
    QString address() const;
};

constexpr int kDefaultTimeout = 30;
constexpr int kMaxTimeout = 300;

// A target from the address of `target-add`: an SRU service's URL (http or
// https), or HOST:PORT/DATABASE for Z39.50. nullopt with the reason.
std::optional<CopyTarget> parseSruAddress(const QString &url, QString *why);
std::optional<CopyTarget> parseZ3950Address(const QString &address, QString *why);

// The character sets a target may name for records that do not declare
// theirs, by their names (UTF-8, ISO-5426, ISO-646), in capitals; empty
// when not one of them.
QString charsetCode(const QString &typed);
// The record syntaxes: UNIMARC is the one; MARC 21 (USMARC) is refused with why.
bool acceptSyntax(const QString &typed, QString *normalised, QString *why);
std::optional<IndexSet> parseIndexSet(const QString &typed);
QString indexSetName(IndexSet s);
// A time-out typed in seconds, 1 to kMaxTimeout.
std::optional<int> parseTimeout(const QString &typed);

struct TargetResult {
    bool passed = false;
    QString message;
    int key = 0;
};

// Adds the target: its name given and not taken, in one transaction.
TargetResult addTarget(Database &db, const CopyTarget &target);
// Deletes the target of that name.
TargetResult deleteTarget(Database &db, const QString &name);
// Every target, by name. `ok` false when the database failed.
QList<CopyTarget> listTargets(Database &db, bool *ok = nullptr);
std::optional<CopyTarget> findTarget(Database &db, const QString &name);

// Why the session's user may not manage targets, or empty.
QString manageRefusal();

} // namespace folian::copy
