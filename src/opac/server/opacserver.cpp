#include "opac/server/opacserver.h"

#include "base/config.h"
#include "base/inifile.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/shareddata.h"
#include "opac/core/opacaddress.h"
#include "opac/core/opacpages.h"
#include "opac/core/opacrole.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QPointer>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <deque>
#include <mutex>
#include <sys/socket.h>
#include <unistd.h>

namespace folian::opac {

// A handful of threads, each with its connection and its catalogue; the
// jobs beyond them wait in order.
class Workers
{
public:
    using Job = std::function<void(Catalogue *catalogue, const QString &connectionFailure)>;

    Workers(const ConnectionParams &params, int count)
    {
        for (int i = 0; i < count; ++i) {
            threads_.emplace_back(QThread::create([this, params] { run(params); }));
            threads_.back()->start();
        }
    }
    ~Workers()
    {
        {
            std::lock_guard lock(mutex_);
            ending_ = true;
        }
        wake_.notify_all();
        for (auto &t : threads_)
            t->wait();
    }
    void submit(Job job)
    {
        {
            std::lock_guard lock(mutex_);
            jobs_.push_back(std::move(job));
        }
        wake_.notify_one();
    }

private:
    void run(const ConnectionParams &params)
    {
        Database db;
        Catalogue catalogue(db);
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
                if (jobs_.empty())
                    return;
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            // The connection is made at the first request, and again after a failure.
            QString why;
            if (!db.isOpen() && !db.open(params, false, &why))
                job(nullptr, why);
            else
                job(&catalogue, QString());
        }
    }

    std::vector<std::unique_ptr<QThread>> threads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool ending_ = false;
};

namespace {

QByteArray methodName(QHttpServerRequest::Method m)
{
    switch (m) {
    case QHttpServerRequest::Method::Get: return "GET";
    case QHttpServerRequest::Method::Head: return "HEAD";
    case QHttpServerRequest::Method::Post: return "POST";
    case QHttpServerRequest::Method::Put: return "PUT";
    case QHttpServerRequest::Method::Delete: return "DELETE";
    case QHttpServerRequest::Method::Options: return "OPTIONS";
    case QHttpServerRequest::Method::Patch: return "PATCH";
    default: return "OTHER";
    }
}

// A target as the log shows it: no control character, a few hundred characters at most.
QString loggable(const QByteArray &target)
{
    QString t = QString::fromLatin1(target.left(300));
    for (QChar &c : t)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u'?';
    return target.size() > 300 ? t + QStringLiteral("...") : t;
}

void write(QHttpServerResponder &responder, const Response &r)
{
    responder.writeStatusLine(QHttpServerResponder::StatusCode(r.status));
    for (const auto &[key, value] : r.headers)
        responder.writeHeader(key, value);
    responder.writeHeader("Content-Length", QByteArray::number(r.body.size()));
    responder.writeBody(r.body);
}

} // namespace

Server::Server(Options options, QObject *parent)
    : QAbstractHttpServer(parent), options_(std::move(options)), base_(opacBasePath(options_.directory))
{
}

Server::~Server() = default;

quint16 Server::start(QString *why)
{
    {
        Database db;
        if (!db.open(options_.connection, false, why))
            return 0;
        if (const QString refusal = readerConnectionRefusal(db); !refusal.isEmpty()) {
            *why = refusal;
            return 0;
        }
    }
    workers_ = std::make_unique<Workers>(options_.connection, qMax(1, options_.workers));
    const quint16 port = listen(options_.address, options_.port);
    if (port == 0)
        *why = QStringLiteral("cannot listen on %1 port %2").arg(options_.address.toString()).arg(options_.port);
    return port;
}

void Server::stop()
{
    if (stopping_)
        return;
    stopping_ = true;
    for (QTcpServer *s : servers())
        s->close();
    if (underWay_ == 0)
        QMetaObject::invokeMethod(this, &Server::stopped, Qt::QueuedConnection);
}

void Server::finished()
{
    if (--underWay_ == 0 && stopping_)
        emit stopped();
}

void Server::log(const QString &line) const
{
    if (options_.log) {
        options_.log(line);
        return;
    }
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

bool Server::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    QElapsedTimer clock;
    clock.start();
    const QByteArray method = methodName(request.method());
    const QUrl url = request.url();
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    qsizetype headerBytes = 0;
    for (const auto &[key, value] : request.headers())
        headerBytes += key.size() + value.size() + 4;
    const Request parsed = parseRequest(method, target, headerBytes, base_, request.value("Accept-Language"));
    const QString peer = request.remoteAddress().toString();
    const QString base = base_;

    auto responder = std::make_shared<QHttpServerResponder>(makeResponder(request, socket));
    QPointer<QTcpSocket> alive(socket);
    auto reply = [this, responder = std::move(responder), alive, clock, method, target, peer](const Response &r,
                                                                                         const QString &failure) {
        if (alive)
            write(*responder, r);
        QString line = QDateTime::currentDateTimeUtc().toString(Qt::ISODate) + u' ' + peer + u' '
            + QString::fromLatin1(method) + u' ' + loggable(target) + u' ' + QString::number(r.status) + u' '
            + QString::number(r.body.size()) + u' ' + QString::number(clock.elapsed()) + QStringLiteral("ms");
        if (!alive)
            line += QStringLiteral(" (the client left)");
        if (!failure.isEmpty())
            line += QStringLiteral(" [") + failure.simplified() + u']';
        log(line);
    };

    // What reads nothing is answered at once; so is everything once the server is stopping.
    if (stopping_ || !readsCatalogue(parsed)) {
        QString failure;
        const Response r = answer(nullptr, parsed, base, &failure);
        reply(r, stopping_ && readsCatalogue(parsed) ? QStringLiteral("stopping") : QString());
        return true;
    }
    ++underWay_;
    // The reply (the responder and its socket) goes back to this thread
    // whole: the worker keeps no copy, so that it is never the last owner.
    workers_->submit([this, parsed, base, reply = std::move(reply)](Catalogue *catalogue,
                                                                    const QString &connectionFailure) mutable {
        QString failure = connectionFailure;
        const Response r = answer(catalogue, parsed, base, &failure);
        QMetaObject::invokeMethod(this, [this, r, failure, reply = std::move(reply)] {
            reply(r, failure);
            finished();
        }, Qt::QueuedConnection);
    });
    return true;
}

void Server::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    Request r;
    r.page = Page::NotFound;
    QHttpServerResponder responder = makeResponder(request, socket);
    write(responder, answer(nullptr, r, base_, nullptr));
}

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

int failed(const QString &message)
{
    std::fprintf(stderr, "folian-opac: %s\n", message.toLocal8Bit().constData());
    return 1;
}

} // namespace

int runServer(const RunOptions &run)
{
    Session &s = session();
    const bool read = readConfig(run.ini, s);
    if (const QString refusal = ConfigurationRefusal(s, read); !refusal.isEmpty())
        return failed(refusal);
    IniFile ini;
    ini.load(s.IniPath);
    Server::Options options;
    options.connection = catalogueConnection(sessionConnection(s), ini.value(QStringLiteral("OPAC"), QStringLiteral("Username")),
                                             ini.value(QStringLiteral("OPAC"), QStringLiteral("Password")));
    options.directory = !run.directory.isEmpty()        ? run.directory
                        : !s.OpacDirectory.trimmed().isEmpty() ? s.OpacDirectory
                                                               : defaultOpacDirectory();
    if (!options.address.setAddress(run.address))
        return failed(QStringLiteral("--listen takes an IP address: %1").arg(run.address));
    bool ok = false;
    const int port = run.port.toInt(&ok);
    if (!ok || port <= 0 || port > 65535)
        return failed(QStringLiteral("--port takes a port number from 1 to 65535: %1").arg(run.port));
    options.port = quint16(port);

    Server server(options);
    QString why;
    if (server.start(&why) == 0)
        return failed(why);
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return failed(QStringLiteral("cannot watch for the signals to stop"));
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &server, [&server] {
        char c = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &c, 1);
        std::fprintf(stderr, "folian-opac: stopping\n");
        server.stop();
    });
    QObject::connect(&server, &Server::stopped, QCoreApplication::instance(), &QCoreApplication::quit);
    std::fprintf(stderr, "folian-opac: the public catalogue is at http://%s:%d%s (database %s)\n",
                 options.address.protocol() == QAbstractSocket::IPv6Protocol
                     ? qPrintable(u'[' + options.address.toString() + u']')
                     : qPrintable(options.address.toString()),
                 port, qPrintable(opacBasePath(options.directory).isEmpty() ? QStringLiteral("/") : opacBasePath(options.directory)),
                 qPrintable(s.DbCatalog));
    std::fflush(stderr);
    const int status = QCoreApplication::exec();
    std::fprintf(stderr, "folian-opac: stopped\n");
    return status;
}

} // namespace folian::opac
