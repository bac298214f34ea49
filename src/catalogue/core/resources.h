#pragma once
// Electronic resources of a record: the archive directory of its document
// type, the copy (or move) of a resource's file into it, and what the open
// button opens.

#include <QString>
#include <QVariant>

namespace folian {

class Database;

// The directory where the resources of a document type are kept:
// TYP_REP_ARCHIVAGE, trimmed, else the program's directory (`appDir`);
// always ending with a separator.
QString archiveDirectory(Database &db, const QVariant &typId, const QString &appDir);

// How a resource's file is kept when the resource is saved.
enum class ArchiveMode { Copy = 0, Move = 1, Leave = 2 };

// The copy of one resource file into the archive. prepare() copies; the
// caller then posts the resource with link(), and calls finish() when the
// post succeeded (a move then deletes the source) or undo() when it failed
// (the copy is removed, the source stays).
//
// A file is copied only when the link names an existing file by a full
// path outside the archive; a file already in the archive, an address or a
// bare name is left as it is. The copy never overwrites a file: when the
// archive already holds a file of that name (another record's, say), the
// copy takes a free name ("rapport (2).pdf") and the link says so.
class ResourceArchive
{
public:
    ResourceArchive(const QString &link, const QString &directory, ArchiveMode mode);

    // False when the copy failed: message() says why, nothing was written.
    bool prepare();
    // The link to post: the file name in the archive, or the link as typed.
    QString link() const { return link_; }
    bool copied() const { return !destination_.isEmpty(); }
    // After a successful post. False when a moved source could not be
    // deleted (message() says so; the archived copy is in place).
    bool finish();
    // After a failed post.
    void undo();
    QString message() const { return message_; }

private:
    QString source_;
    QString directory_;
    ArchiveMode mode_;
    QString link_;
    QString destination_;
    QString message_;
};

// What the open button opens: an address as an address ("www." gets
// "http://"), else the file in the archive directory when it exists.
struct ResourceTarget {
    bool address = false;
    QString target;  // URL text or absolute file path; empty when nothing can be opened
};
ResourceTarget resourceTarget(const QVariant &link, const QString &archiveDir);

} // namespace folian
