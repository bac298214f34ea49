// The tests' SRU service as a program of its own, for the screenshots of the
// copy-cataloguing screen: serves the sample records on 127.0.0.1 at the
// port given (or one it chooses), prints the port, runs until stopped.

#include "copyfixture.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    folian::copy::test::SruService service(folian::copy::test::sampleXmlRecords());
    const int port = service.listen(argc > 1 ? QByteArray(argv[1]).toInt() : 0);
    if (port == 0) {
        std::fprintf(stderr, "sruserve: cannot listen\n");
        return 1;
    }
    std::printf("%d\n", port);
    std::fflush(stdout);
    return app.exec();
}
