// Parse benchmark of the UNIMARC core: splits a file and reads every record
// into the record model (what an import does before touching the database),
// then prints the time, the rate and the peak memory of the process.
//   bench_unimarc FILE

#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/splitter.h"

#include "peakmemory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

using namespace folian;
using namespace folian::unimarc;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: bench_unimarc FILE\n");
        return 2;
    }
    RecordSplitter splitter(args.at(1));
    if (!splitter.isOpen()) {
        std::fprintf(stderr, "bench_unimarc: %s\n", qPrintable(splitter.error()));
        return 1;
    }
    QElapsedTimer t;
    t.start();
    qint64 records = 0, rejected = 0, fields = 0, subfields = 0;
    RawRecord raw;
    while (splitter.next(raw)) {
        const ParseResult p = parseRecord(raw);
        if (!p.ok()) {
            ++rejected;
            continue;
        }
        ++records;
        fields += p.record.fields.size();
        for (const Field &f : p.record.fields)
            subfields += f.subfields.size();
    }
    const double s = double(t.nsecsElapsed()) / 1e9;
    const double mb = double(splitter.bytesRead()) / (1024.0 * 1024.0);
    std::printf("parse into records: %lld records (%lld rejected), %lld fields, %lld subfields, %.1f MiB in %.2f s: "
                "%.0f records/s, %.0f MiB/s; peak memory (VmHWM) %ld KiB\n",
                static_cast<long long>(records), static_cast<long long>(rejected), static_cast<long long>(fields),
                static_cast<long long>(subfields), mb, s, double(records) / s, mb / s, bench::peakKiB());
    return 0;
}
