#pragma once
// What the copy-cataloguing tests search: UNIMARC records in XML (French,
// Arabic, one that declares ISO 5426) and in ISO 2709, and a small SRU
// service on 127.0.0.1, run on a thread of its own so that the blocking
// client (in the test or in folianctl) can talk to it.
//
// The service answers by its path: /sru serves the records whose ISBN,
// title or author word the query names; /silent accepts the connection and
// never answers; /diagnostic refuses every search with diagnostic 16
// (unsupported index); /broken sends a record that is not one.

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>
#include <QUrlQuery>

namespace folian::copy::test {

struct XmlRecord {
    QString isbn;
    QString xml;  // the <record> element
};

inline QString escaped(const QString &s) { return s.toHtmlEscaped(); }

// A UNIMARC record in XML: 100 declaring `charset` at 26-29, 101 the language.
inline QString unimarcXml(const QString &isbn, const QString &title, const QString &author, const QString &forename,
                          const QString &publisher, const QString &year, const QString &language,
                          const QString &charset = QStringLiteral("50  "))
{
    const QString a100 = QStringLiteral("20240101d%1    k  y0%2y%3    ba").arg(year, language == QLatin1String("ara") ? QStringLiteral("ara") : QStringLiteral("fre"), charset);
    return QStringLiteral(
               "<record format=\"UNIMARC\" type=\"Bibliographic\" xmlns=\"info:lc/xmlns/marcxchange-v2\">"
               "<leader>00000nam0 2200000   450 </leader>"
               "<controlfield tag=\"001\">%1</controlfield>"
               "<datafield tag=\"010\" ind1=\" \" ind2=\" \"><subfield code=\"a\">%1</subfield></datafield>"
               "<datafield tag=\"100\" ind1=\" \" ind2=\" \"><subfield code=\"a\">%2</subfield></datafield>"
               "<datafield tag=\"101\" ind1=\"0\" ind2=\" \"><subfield code=\"a\">%3</subfield></datafield>"
               "<datafield tag=\"200\" ind1=\"1\" ind2=\" \"><subfield code=\"a\">%4</subfield></datafield>"
               "<datafield tag=\"210\" ind1=\" \" ind2=\" \"><subfield code=\"c\">%5</subfield>"
               "<subfield code=\"d\">%6</subfield></datafield>"
               "<datafield tag=\"700\" ind1=\" \" ind2=\"1\"><subfield code=\"a\">%7</subfield>"
               "<subfield code=\"b\">%8</subfield></datafield>"
               "</record>")
        .arg(escaped(isbn), a100, language, escaped(title), escaped(publisher), year, escaped(author), escaped(forename));
}

inline QList<XmlRecord> sampleXmlRecords()
{
    return {
        {QStringLiteral("9782070612758"),
         unimarcXml(QStringLiteral("9782070612758"), QStringLiteral("L'Étranger : récit d'été"), QStringLiteral("Camus"),
                    QStringLiteral("Albert"), QStringLiteral("Gallimard"), QStringLiteral("1942"), QStringLiteral("fre"))},
        {QStringLiteral("9789953686019"),
         unimarcXml(QStringLiteral("9789953686019"), QStringLiteral("الأيام"), QStringLiteral("حسين"),
                    QStringLiteral("طه"), QStringLiteral("دار المعارف"), QStringLiteral("1929"), QStringLiteral("ara"))},
        // Declares ISO 5426 while XML holds Unicode text: read as the text it is.
        {QStringLiteral("9782253006329"),
         unimarcXml(QStringLiteral("9782253006329"), QStringLiteral("Œuvres complètes de Molière"),
                    QStringLiteral("Molière"), QStringLiteral("Jean-Baptiste"), QStringLiteral("Le Livre de poche"),
                    QStringLiteral("1971"), QStringLiteral("fre"), QStringLiteral("0103"))},
    };
}

class SruService : public QObject
{
public:
    explicit SruService(QList<XmlRecord> records) : records_(std::move(records)) {}

    int listen(int port = 0)
    {
        server_ = new QTcpServer(this);
        connect(server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = server_->nextPendingConnection()) {
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, this, [this, s] { read(s); });
            }
        });
        return server_->listen(QHostAddress::LocalHost, quint16(port)) ? server_->serverPort() : 0;
    }

    int requests() const
    {
        QMutexLocker lock(&mutex_);
        return requests_;
    }
    QString lastQuery() const
    {
        QMutexLocker lock(&mutex_);
        return lastQuery_;
    }

private:
    void read(QTcpSocket *s)
    {
        QByteArray &buffer = buffers_[s];
        buffer += s->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> line = buffer.left(buffer.indexOf("\r\n")).split(' ');
        buffers_.remove(s);
        const QUrl url(QString::fromLatin1(line.value(1)));
        const QUrlQuery params(url.query(QUrl::FullyEncoded).replace(u'+', QStringLiteral("%20")));
        const QString query = params.queryItemValue(QStringLiteral("query"), QUrl::FullyDecoded);
        {
            QMutexLocker lock(&mutex_);
            ++requests_;
            lastQuery_ = query;
        }
        if (url.path() == QLatin1String("/silent"))
            return;  // the connection stays open, unanswered
        const QByteArray body = answer(url.path(), query, params).toUtf8();
        s->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=UTF-8\r\nConnection: close\r\nContent-Length: "
                 + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        s->disconnectFromHost();
    }

    QString answer(const QString &path, const QString &query, const QUrlQuery &params) const
    {
        const QString head = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                            "<zs:searchRetrieveResponse xmlns:zs=\"http://www.loc.gov/zing/srw/\">"
                                            "<zs:version>1.2</zs:version>");
        const QString tail = QStringLiteral("</zs:searchRetrieveResponse>");
        if (path == QLatin1String("/diagnostic"))
            return head
                + QStringLiteral("<zs:numberOfRecords>0</zs:numberOfRecords><zs:diagnostics>"
                                 "<diag:diagnostic xmlns:diag=\"http://www.loc.gov/zing/srw/diagnostic/\">"
                                 "<diag:uri>info:srw/diagnostic/1/16</diag:uri><diag:details>dc.title</diag:details>"
                                 "<diag:message>Unsupported index</diag:message></diag:diagnostic></zs:diagnostics>")
                + tail;
        // Each record with its packing: "xml" (the element), or "string" (text).
        QList<std::pair<QString, QString>> found;
        if (path == QLatin1String("/broken")) {
            found << std::pair{QStringLiteral("xml"), QStringLiteral("<record><leader>bad</leader></record>")}
                  << std::pair{QStringLiteral("string"), QStringLiteral("00123nam  22000xx   450 not a record")};
        } else {
            for (const XmlRecord &r : records_)
                if (query.contains(r.isbn) || (!query.contains(QLatin1String("isbn")) && matchesWords(query, r.xml)))
                    found << std::pair{QStringLiteral("xml"), r.xml};
        }
        const int maximum = params.queryItemValue(QStringLiteral("maximumRecords")).toInt();
        QString out = head + QStringLiteral("<zs:numberOfRecords>%1</zs:numberOfRecords><zs:records>").arg(found.size());
        for (qsizetype i = 0; i < found.size() && (maximum <= 0 || i < maximum); ++i) {
            const auto &[packing, data] = found.at(i);
            out += QStringLiteral("<zs:record><zs:recordSchema>unimarc</zs:recordSchema><zs:recordPacking>%1"
                                  "</zs:recordPacking><zs:recordData>%2</zs:recordData><zs:recordPosition>%3"
                                  "</zs:recordPosition></zs:record>")
                       .arg(packing, packing == QLatin1String("xml") ? data : escaped(data))
                       .arg(i + 1);
        }
        return out + QStringLiteral("</zs:records>") + tail;
    }

    // Every quoted word of the query is in the record.
    static bool matchesWords(const QString &query, const QString &xml)
    {
        const qsizetype open = query.indexOf(u'"'), close = query.lastIndexOf(u'"');
        if (open < 0 || close <= open)
            return false;
        const QStringList words = query.mid(open + 1, close - open - 1).split(u' ', Qt::SkipEmptyParts);
        for (const QString &w : words)
            if (!xml.contains(w, Qt::CaseInsensitive))
                return false;
        return !words.isEmpty();
    }

    QList<XmlRecord> records_;
    QTcpServer *server_ = nullptr;
    QHash<QTcpSocket *, QByteArray> buffers_;
    mutable QMutex mutex_;
    int requests_ = 0;
    QString lastQuery_;
};

// The service on its own thread, stopped with the object.
class SruServer
{
public:
    explicit SruServer(QList<XmlRecord> records = sampleXmlRecords()) : service_(new SruService(std::move(records)))
    {
        service_->moveToThread(&thread_);
        thread_.start();
        QMetaObject::invokeMethod(service_, [this] { port_ = service_->listen(); }, Qt::BlockingQueuedConnection);
    }
    ~SruServer()
    {
        QMetaObject::invokeMethod(service_, [this] { delete service_; }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    int port() const { return port_; }
    QString url(const char *path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(QLatin1String(path)); }
    const SruService &service() const { return *service_; }

private:
    QThread thread_;
    SruService *service_;
    int port_ = 0;
};

} // namespace folian::copy::test
