#pragma once
// Manual pages in the man(7) macros, written from the programs' own tables
// of options and commands, so that a page never says other than --help.

#include <QString>
#include <QStringList>
#include <QVector>

namespace folian {

struct ManPage {
    struct Entry {
        QString term;  // a synopsis: "import FILE [--library N]"
        QString text;  // what it does, one paragraph or several ("\n\n")
    };
    struct Section {
        QString heading;         // "OPTIONS"
        QStringList paragraphs;  // before the entries
        QVector<Entry> entries;
    };

    QString name;      // "folianctl"
    int section = 1;
    QString summary;   // the NAME line after the dash
    QString version;   // "Folian 0.1.0"
    QString date;      // "2026-12-10"
    QStringList synopsis;     // one line each, as synopses are written
    QVector<Section> sections;  // DESCRIPTION, OPTIONS, COMMANDS, ...

    // A page of this release ("Folian 0.1.0" of its date).
    static ManPage ofRelease(const QString &name, int section, const QString &summary);
};

// The page in the man(7) macros, ASCII only: any other character is written
// as a groff escape, a leading dot or quote is protected.
QString manPageText(const ManPage &page);

// Plain text made safe for a line of the page.
QString roffText(const QString &text);
// A synopsis: the program's and commands' words and --options in bold,
// the placeholders (FILE, N, LOGIN) in italic, brackets and bars roman.
QString roffSynopsis(const QString &synopsis);

} // namespace folian
