#pragma once
// Cuts a file into records at the record terminator, reading it in large
// blocks so that memory stays flat however long the file is. What real files
// hold between records (line ends, filler, NUL bytes) is skipped: a record
// begins at the first decimal digit after the previous terminator.

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <memory>

namespace folian::unimarc {

struct RawRecord {
    QByteArrayView bytes;  // leader to terminator; valid until the next call of next()
    qint64 offset = 0;     // of its first byte in the file
    qint64 ordinal = 0;    // 1 for the first record of the file
    bool terminated = true;  // false: the file ended before its terminator
    bool oversize = false;   // no terminator within the format's 99,999 bytes: only the start is here

    char status() const { return bytes.size() > 5 ? bytes[5] : ' '; }
    bool isDeleted() const { return status() == 'd'; }
};

class RecordSplitter
{
public:
    // Reads from `device`, which must be open for reading (not owned).
    explicit RecordSplitter(QIODevice *device, qsizetype blockSize = 1 << 20);
    // Opens and reads the file itself.
    explicit RecordSplitter(const QString &path, qsizetype blockSize = 1 << 20);
    ~RecordSplitter();

    // False when the file cannot be opened, with the reason in error().
    bool isOpen() const;
    // The next record; false at the end of the file or after a read failure.
    bool next(RawRecord &out);
    // Empty unless opening or reading failed.
    QString error() const { return error_; }
    qint64 bytesRead() const { return consumed_ + qint64(end_); }

private:
    bool fill();           // reads one more block after the kept bytes; false at the end
    void discard(qsizetype upTo);

    std::unique_ptr<QIODevice> owned_;
    QIODevice *dev_ = nullptr;
    qsizetype block_;
    QByteArray buf_;
    qsizetype pos_ = 0;    // next byte to look at
    qsizetype end_ = 0;    // bytes held in buf_
    qint64 consumed_ = 0;  // file offset of buf_[0]
    qint64 ordinal_ = 0;
    bool eof_ = false;
    bool skipToTerminator_ = false;
    QString error_;
};

} // namespace folian::unimarc
