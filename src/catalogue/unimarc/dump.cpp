#include "catalogue/unimarc/dump.h"

#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/splitter.h"
#include "catalogue/unimarc/tagged.h"

namespace folian::unimarc {

DumpCounts dumpFile(const QString &path, QIODevice &out, QIODevice &err)
{
    DumpCounts counts;
    RecordSplitter splitter(path);
    if (!splitter.isOpen()) {
        counts.error = splitter.error();
        return counts;
    }
    constexpr qsizetype kFlushAt = 256 * 1024;
    QByteArray text;
    text.reserve(kFlushAt + 64 * 1024);
    RawRecord raw;
    RecordView view;
    QByteArray scratch;
    bool first = true;
    while (splitter.next(raw)) {
        if (!scanRecord(raw, view, &scratch)) {
            ++counts.rejected;
            err.write((rejectionMessage(raw.ordinal, raw.offset, reason(view)) + u'\n').toUtf8());
            continue;
        }
        ++counts.records;
        for (const QString &r : std::as_const(view.remarks))
            err.write((ignoredEntryMessage(raw.ordinal, raw.offset, r) + u'\n').toUtf8());
        if (view.leader[5] == 'd')
            ++counts.deleted;
        if (!first)
            text += '\n';
        first = false;
        appendTagged(text, view);
        if (text.size() >= kFlushAt) {
            out.write(text);
            text.resize(0);  // keeps the capacity
        }
    }
    out.write(text);
    counts.error = splitter.error();
    return counts;
}

} // namespace folian::unimarc
