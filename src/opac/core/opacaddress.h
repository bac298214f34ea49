#pragma once
// Where the public catalogue is found: the address the staff's browser
// opens first, and the directory under which the catalogue server answers.

#include <QString>

namespace folian {

// The port the catalogue server listens on unless told otherwise.
inline constexpr int kOpacPort = 8080;
// The directory it answers under when Folian.ini names none.
QString defaultOpacDirectory();

// The directory as a path: "/" + its words, without a "/" before, after or
// doubled ("opac", "/opac/" and " opac " all give "/opac"; "" gives "").
QString opacBasePath(const QString &directory);

// The start address of the public catalogue browser. `address` ([OPAC]
// Address) when it is set, as given: the catalogue of a library that
// publishes it elsewhere. Otherwise the catalogue server of the database's
// host on its port: "http://" + the host of `server` (a database port
// stripped, an IPv6 address kept between brackets; an empty server, "."
// and "localhost" are the loopback address) + ":" + kOpacPort + the base
// path of `directory`, or "/" when it has none.
QString opacStartAddress(const QString &server, const QString &directory, const QString &address);

} // namespace folian
