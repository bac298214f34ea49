#pragma once
// Requests to a catalogue server from the tests, over plain sockets so that
// anything can be sent (an oversized target, a header of any size) and
// the answer is seen as it came: status, headers, body. The event loop of
// the test runs while it waits, so a server in the same process answers.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace folian::test {

struct HttpReply {
    int status = 0;                        // 0: no answer
    QHash<QByteArray, QByteArray> headers;  // names in lower case
    QByteArray body;
    QString text() const { return QString::fromUtf8(body); }
};

// Sends each raw request (a whole request, or a target for a plain GET) to
// 127.0.0.1:port, all at once, and waits for every answer.
inline QList<HttpReply> exchange(quint16 port, const QList<QByteArray> &requests, int timeoutMs = 60000)
{
    struct Pending {
        std::unique_ptr<QTcpSocket> socket;
        QByteArray received;
        HttpReply reply;
        bool done = false;
    };
    std::vector<std::unique_ptr<Pending>> pending;
    QEventLoop loop;
    int left = int(requests.size());
    auto finish = [&](Pending *p) {
        if (p->done)
            return;
        p->done = true;
        const qsizetype end = p->received.indexOf("\r\n\r\n");
        if (end > 0) {
            const QList<QByteArray> lines = p->received.left(end).split('\n');
            p->reply.status = lines.first().split(' ').value(1).toInt();
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines[i].indexOf(':');
                if (colon > 0)
                    p->reply.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
            }
            p->reply.body = p->received.mid(end + 4);
        }
        if (--left == 0)
            loop.quit();
    };
    for (const QByteArray &r : requests) {
        auto p = std::make_unique<Pending>();
        p->socket = std::make_unique<QTcpSocket>();
        Pending *raw = p.get();
        QObject::connect(raw->socket.get(), &QTcpSocket::readyRead, &loop, [raw, &finish] {
            raw->received += raw->socket->readAll();
            const qsizetype end = raw->received.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            // Done once the body its Content-Length announces is there.
            const QByteArray head = raw->received.left(end).toLower();
            const qsizetype at = head.indexOf("content-length:");
            if (at >= 0) {
                const qsizetype lineEnd = head.indexOf('\r', at);
                const qsizetype length = head.mid(at + 15, lineEnd - at - 15).trimmed().toLongLong();
                if (raw->received.size() - end - 4 >= length)
                    finish(raw);
            }
        });
        QObject::connect(raw->socket.get(), &QTcpSocket::disconnected, &loop, [raw, &finish] {
            raw->received += raw->socket->readAll();
            finish(raw);
        });
        QObject::connect(raw->socket.get(), &QTcpSocket::errorOccurred, &loop, [raw, &finish](QAbstractSocket::SocketError e) {
            if (e != QAbstractSocket::RemoteHostClosedError)
                finish(raw);
        });
        const QByteArray whole = r.startsWith('/') ? "GET " + r + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n" : r;
        QObject::connect(raw->socket.get(), &QTcpSocket::connected, &loop, [raw, whole] { raw->socket->write(whole); });
        raw->socket->connectToHost(QStringLiteral("127.0.0.1"), port);
        pending.push_back(std::move(p));
    }
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (left > 0)
        loop.exec();
    QList<HttpReply> out;
    for (auto &p : pending) {
        p->socket->disconnect();
        out << p->reply;
    }
    return out;
}

inline HttpReply httpGet(quint16 port, const QByteArray &target) { return exchange(port, {target}).first(); }

} // namespace folian::test
