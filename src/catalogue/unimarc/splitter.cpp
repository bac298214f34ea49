#include "catalogue/unimarc/splitter.h"

#include "catalogue/unimarc/iso2709.h"

#include <QFile>

#include <cstring>

namespace folian::unimarc {

RecordSplitter::RecordSplitter(QIODevice *device, qsizetype blockSize)
    : dev_(device), block_(qMax<qsizetype>(blockSize, 4096))
{
    if (!dev_ || !dev_->isReadable())
        error_ = QStringLiteral("the device is not open for reading");
}

RecordSplitter::RecordSplitter(const QString &path, qsizetype blockSize)
    : owned_(std::make_unique<QFile>(path)), block_(qMax<qsizetype>(blockSize, 4096))
{
    if (owned_->open(QIODevice::ReadOnly))
        dev_ = owned_.get();
    else
        error_ = owned_->errorString();
}

RecordSplitter::~RecordSplitter() = default;

bool RecordSplitter::isOpen() const
{
    return dev_ && dev_->isReadable();
}

void RecordSplitter::discard(qsizetype upTo)
{
    // Keeps buf_[upTo, end_) at the front.
    const qsizetype keep = end_ - upTo;
    if (keep > 0 && upTo > 0)
        std::memmove(buf_.data(), buf_.constData() + upTo, size_t(keep));
    consumed_ += upTo;
    end_ = keep;
    pos_ -= upTo;
}

bool RecordSplitter::fill()
{
    if (eof_ || !isOpen())
        return false;
    // Room for a whole record of the format's size beside a block.
    const qsizetype want = end_ + block_;
    if (buf_.size() < want)
        buf_.resize(want);
    const qint64 got = dev_->read(buf_.data() + end_, block_);
    if (got < 0) {
        error_ = dev_->errorString();
        eof_ = true;
        return false;
    }
    if (got == 0) {
        eof_ = true;
        return false;
    }
    end_ += qsizetype(got);
    return true;
}

bool RecordSplitter::next(RawRecord &out)
{
    if (!isOpen())
        return false;
    for (;;) {
        // The rest of a record too long for the format.
        if (skipToTerminator_) {
            const void *t = std::memchr(buf_.constData() + pos_, kRecordTerminator, size_t(end_ - pos_));
            if (!t) {
                pos_ = end_;
                discard(end_);
                if (!fill())
                    return false;
                continue;
            }
            pos_ = static_cast<const char *>(t) - buf_.constData() + 1;
            skipToTerminator_ = false;
        }
        // Anything up to the first digit lies between records.
        while (pos_ < end_ && (buf_[pos_] < '0' || buf_[pos_] > '9'))
            ++pos_;
        if (pos_ == end_) {
            discard(end_);
            if (!fill())
                return false;
            continue;
        }
        // The record runs to its terminator, at most the format's length away.
        qsizetype start = pos_;
        qsizetype scanned = start;
        for (;;) {
            const qsizetype limit = qMin(end_, start + kMaxRecordLength);
            const void *t = std::memchr(buf_.constData() + scanned, kRecordTerminator, size_t(limit - scanned));
            if (t) {
                const qsizetype term = static_cast<const char *>(t) - buf_.constData();
                out = RawRecord{QByteArrayView(buf_.constData() + start, term - start + 1), consumed_ + start,
                                ++ordinal_, true, false};
                pos_ = term + 1;
                return true;
            }
            if (limit == start + kMaxRecordLength) {
                out = RawRecord{QByteArrayView(buf_.constData() + start, limit - start), consumed_ + start, ++ordinal_,
                                false, true};
                pos_ = limit;
                skipToTerminator_ = true;
                return true;
            }
            // Keep the record's start at the front of the buffer and read on.
            scanned = limit - start;
            discard(start);
            start = 0;
            if (!fill()) {
                if (!error_.isEmpty() || end_ == 0)
                    return false;
                out = RawRecord{QByteArrayView(buf_.constData(), end_), consumed_, ++ordinal_, false, false};
                pos_ = end_;
                return true;
            }
        }
    }
}

} // namespace folian::unimarc
