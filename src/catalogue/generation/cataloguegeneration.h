#pragma once
// The printed catalogue: the chosen records as numbered ISBD entries
// ("catalogue.html") filed by their main entry, and three indexes that send
// back to the entry numbers: titles ("titres.html"), authors ("auteurs.html")
// and subjects ("matieres.html").
//
// The records are read one at a time; the entries and the indexes are built
// in the scratch report database (CATALOGUE, TITRE, AUTEUR, MATIERE), made
// afresh at every run, and sorted there by the collator of the session's
// language, so a catalogue of any size is never held in memory. A record
// indexed under several matching classification indices gives one entry
// per index. Stopping ends every remaining loop at once; each page is still
// written whole, with its closing tags, so the four pages always belong to
// the same run.

#include <QString>
#include <QStringList>

namespace folian {

class Database;
class Progress;

struct CatalogueOptions {
    // An index or its beginning ("3" takes 305.4 and 320); a trailing "*" is
    // dropped. Empty: every record, one entry each.
    QString classification;
    QString type;        // TYP_ID; empty: every type
    QString language;    // LAN_ID; empty: every language
    bool analytic = false;  // "Catalogue analytique": with subjects and abstracts
    // The catalogue page's title; empty: the form's title in the session's language.
    QString title;
    // Where the pages go; empty: the user's directory of pages.
    QString directory;
    // The scratch database; empty: the user's "Folian.tmp".
    QString scratch;
};

struct CatalogueResult {
    enum class Status { Completed, Stopped, Failed };
    Status status = Status::Failed;
    int records = 0;     // records selected and read
    int entries = 0;     // numbered entries written to the catalogue page
    int titles = 0, authors = 0, subjects = 0;  // lines of the indexes
    QStringList pages;   // the pages written, in order
    QString message;     // the closing message, in the session's language

    bool completed() const { return status == Status::Completed; }
};

// The file names of the four pages, in the order they are written.
const QStringList &cataloguePages();

// Generates the catalogue. After each record, entry and index line
// `progress` is told how far it is and asked whether to stop.
CatalogueResult generateCatalogue(Database &db, const CatalogueOptions &options, Progress *progress = nullptr);

} // namespace folian
