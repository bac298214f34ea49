// The exchange over the network, through the ZOOM interface of the YAZ
// toolkit: SRU over HTTP or HTTPS, and Z39.50. Its calls block; each one is
// bounded by ZOOM's own time-out, set from the target's, so that the thread
// that runs a search always gets its answer back.

#include "catalogue/copy/copysearch.h"

#include <yaz/zoom.h>

namespace folian::copy {

namespace {

// The failure a connection reports, or None.
FetchReply connectionFailure(ZOOM_connection c)
{
    FetchReply reply;
    const char *message = nullptr, *addinfo = nullptr, *diagset = nullptr;
    const int code = ZOOM_connection_error_x(c, &message, &addinfo, &diagset);
    if (code == ZOOM_ERROR_NONE)
        return reply;
    QString detail = QString::fromUtf8(message ? message : "");
    if (addinfo && *addinfo)
        detail += QStringLiteral(" (%1)").arg(QString::fromUtf8(addinfo));
    reply.code = code;
    reply.detail = detail;
    const QByteArray set(diagset ? diagset : "");
    switch (code) {
    case ZOOM_ERROR_CONNECT: reply.failure = FetchFailure::Unreachable; break;
    case ZOOM_ERROR_TIMEOUT: reply.failure = FetchFailure::Timeout; break;
    default:
        // The library's own errors are in the ZOOM set; anything else is the target's diagnostic.
        reply.failure = set == "ZOOM" || set.isEmpty() ? FetchFailure::Protocol : FetchFailure::Diagnostic;
        break;
    }
    return reply;
}

struct Zoom {
    ZOOM_options options = ZOOM_options_create();
    ZOOM_connection connection = nullptr;
    ZOOM_resultset results = nullptr;
    ZOOM_query query = ZOOM_query_create();
    ~Zoom()
    {
        if (results)
            ZOOM_resultset_destroy(results);
        ZOOM_query_destroy(query);
        if (connection)
            ZOOM_connection_destroy(connection);
        ZOOM_options_destroy(options);
    }
};

class ZoomTransport : public Transport
{
public:
    FetchReply fetch(const FetchRequest &request, const std::atomic<bool> &stop) override
    {
        const CopyTarget &t = request.target;
        Zoom z;
        ZOOM_options_set_int(z.options, "timeout", qMax(1, t.timeout));
        const QByteArray database = t.database.toUtf8();
        QByteArray host;
        int port = 0;
        if (t.isSru()) {
            ZOOM_options_set(z.options, "sru", "get");
            ZOOM_options_set(z.options, "sru_version", "1.2");
            ZOOM_options_set(z.options, "schema", t.indexSet == IndexSet::Bib ? "unimarcXchange" : "unimarc");
            host = t.address().toUtf8();
        } else {
            ZOOM_options_set(z.options, "databaseName", database.constData());
            ZOOM_options_set(z.options, "preferredRecordSyntax", "Unimarc");
            ZOOM_options_set(z.options, "elementSetName", "F");
            host = (QStringLiteral("tcp:") + t.host).toUtf8();
            port = t.port;
        }
        ZOOM_options_set_int(z.options, "count", request.limit);
        ZOOM_options_set_int(z.options, "presentChunk", request.limit);
        z.connection = ZOOM_connection_create(z.options);
        ZOOM_connection_connect(z.connection, host.constData(), port);
        if (FetchReply failed = connectionFailure(z.connection); failed.failure != FetchFailure::None)
            return failed;
        if (stop)
            return stopped();
        const QByteArray q = request.query.toUtf8();
        const int set = t.isSru() ? ZOOM_query_cql(z.query, q.constData()) : ZOOM_query_prefix(z.query, q.constData());
        if (set != 0) {
            FetchReply reply;
            reply.failure = FetchFailure::Protocol;
            reply.detail = QStringLiteral("the query cannot be written: ") + request.query;
            return reply;
        }
        z.results = ZOOM_connection_search(z.connection, z.query);
        if (FetchReply failed = connectionFailure(z.connection); failed.failure != FetchFailure::None)
            return failed;
        FetchReply reply;
        reply.hits = qint64(ZOOM_resultset_size(z.results));
        const size_t wanted = size_t(qMin<qint64>(reply.hits, request.limit));
        for (size_t i = 0; i < wanted; ++i) {
            if (stop)
                return stopped();
            ZOOM_record rec = ZOOM_resultset_record(z.results, i);
            if (FetchReply failed = connectionFailure(z.connection); failed.failure != FetchFailure::None)
                return failed;
            FetchedRecord fetched;
            if (rec && ZOOM_record_error(rec, nullptr, nullptr, nullptr) == 0) {
                int length = 0;
                if (const char *raw = ZOOM_record_get(rec, "raw", &length); raw && length > 0)
                    fetched.data = QByteArray(raw, length);
                if (const char *syntax = ZOOM_record_get(rec, "syntax", &length); syntax && length > 0)
                    fetched.syntax = QString::fromLatin1(syntax, length);
            }
            reply.records << fetched;
        }
        return reply;
    }

private:
    static FetchReply stopped()
    {
        FetchReply reply;
        reply.failure = FetchFailure::Stopped;
        return reply;
    }
};

} // namespace

std::unique_ptr<Transport> networkTransport() { return std::make_unique<ZoomTransport>(); }

} // namespace folian::copy
