// libFuzzer target for the ISO 2709 core. The input is read as a file (split
// into records) and each record is scanned, dumped and parsed; a record that
// was read and can be written must read back the same.

#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/splitter.h"
#include "catalogue/unimarc/tagged.h"
#include "catalogue/unimarc/writer.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

using namespace folian::unimarc;

namespace {

QByteArray withoutComputedLeader(QByteArray leader)
{
    for (int i : {0, 1, 2, 3, 4, 10, 11, 12, 13, 14, 15, 16, 20, 21, 22})
        leader[i] = '.';
    return leader;
}

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_unimarc: %s\n", what);
        std::abort();
    }
}

void oneRecord(QByteArrayView bytes)
{
    RecordView view;
    QByteArray scratch;
    const bool scanned = scanRecord(bytes, view, &scratch);
    const ParseResult p = parseRecord(bytes);
    check(scanned == p.ok(), "the scan and the parse disagree");
    if (!p.ok()) {
        check(!p.error.isEmpty(), "a refusal without a reason");
        return;
    }
    QByteArray fromView;
    appendTagged(fromView, view);
    QByteArray fromRecord;
    appendTagged(fromRecord, p.record);
    check(fromView == fromRecord, "the dump of the scan differs from the record's");
    const WriteResult w = writeRecord(p.record);
    if (!w.ok()) {
        check(!w.error.isEmpty() && w.bytes.isEmpty(), "a refusal without a reason, or a cut record");
        return;
    }
    const ParseResult again = parseRecord(w.bytes);
    check(again.ok(), "a written record does not read back");
    check(again.record.fields == p.record.fields, "the fields changed through write and read");
    check(withoutComputedLeader(again.record.leader) == withoutComputedLeader(p.record.leader), "the leader changed");
    check(writeRecord(again.record).bytes == w.bytes, "writing is not stable");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    oneRecord(input);  // the input as one record
    QBuffer buf;
    buf.setData(input);
    buf.open(QIODevice::ReadOnly);
    RecordSplitter splitter(&buf, 4096);
    RawRecord raw;
    qint64 last = -1;
    while (splitter.next(raw)) {
        check(raw.offset > last && raw.offset + raw.bytes.size() <= qint64(size), "a record outside the input");
        check(QByteArrayView(input).sliced(raw.offset, raw.bytes.size()) == raw.bytes, "a record that is not the input's bytes");
        last = raw.offset;
        if (!raw.oversize)
            oneRecord(raw.bytes);
    }
    return 0;
}
