#pragma once
// The public catalogue server: the catalogue's pages over HTTP, read-only.
//
// Requests are read on the thread that runs the server; the pages that
// read the database are made by a handful of workers, each with a
// connection of its own, and the requests beyond them wait their turn.
// One line of log per request. stop() stops listening and lets the
// requests under way be answered first.

#include "data/core/dialect.h"

#include <QAbstractHttpServer>
#include <QHostAddress>
#include <functional>
#include <memory>

namespace folian::opac {

class Workers;

class Server : public QAbstractHttpServer
{
    Q_OBJECT
public:
    struct Options {
        ConnectionParams connection;  // read-only (catalogueConnection)
        QString directory = QStringLiteral("opac");
        QHostAddress address = QHostAddress::LocalHost;
        quint16 port = 8080;          // 0: any free port
        int workers = 4;
        std::function<void(const QString &)> log;  // one line per request; standard error when empty
    };

    explicit Server(Options options, QObject *parent = nullptr);
    ~Server() override;

    // Checks the database and the connection's rights on one connection,
    // then listens. The port listened on; 0 with the reason on failure.
    quint16 start(QString *why);
    // Stops listening; stopped() follows once the requests under way are answered.
    void stop();
    bool isStopping() const { return stopping_; }

signals:
    void stopped();

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    void finished();
    void log(const QString &line) const;

    Options options_;
    QString base_;
    std::unique_ptr<Workers> workers_;
    int underWay_ = 0;
    bool stopping_ = false;
};

// Runs the catalogue server until SIGTERM or SIGINT: reads the database
// and [OPAC] of the configuration `ini`, listens on `address`:`port` under
// `directory` (empty: [OPAC] Directory, else "opac"). The exit status.
struct RunOptions {
    QString ini;
    QString address = QStringLiteral("127.0.0.1");
    QString port = QStringLiteral("8080");
    QString directory;
};
int runServer(const RunOptions &options);

} // namespace folian::opac
