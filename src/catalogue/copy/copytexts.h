#pragma once
// The messages of copy cataloguing, French or Arabic by the session's
// language. The screen, folianctl and the tests all call these.

#include <QString>

namespace folian::copy {

QString targetNameRequired();
QString targetNameTaken(const QString &name);
QString targetNotFound(const QString &name);
QString noTarget();
QString targetAddressInvalid(const QString &address);
QString targetTimeoutInvalid(const QString &typed);
QString charsetUnknown(const QString &typed);
QString indexSetUnknown(const QString &typed);
QString marc21Refused();
QString syntaxUnknown(const QString &typed);
QString targetAdded(const QString &name);
QString targetDeleted(const QString &name);

QString criterionRequired();
QString limitInvalid(const QString &typed);

// The failures of a search, each naming the target.
QString unreachable(const QString &target, const QString &detail);
QString timedOut(const QString &target, int seconds);
QString diagnostic(const QString &target, int code, const QString &text);
QString protocolFailure(const QString &target, const QString &detail);
QString stopped();

// The failures of one record of a result.
QString marc21Record();
QString malformedRecord(const QString &reason);
QString emptyRecord();
QString untitledRecord();

// What a search found, and what the import did.
QString foundCount(int shown, qint64 hits);
QString recordImported(int key);
QString recordDuplicate(const QString &title, int key);
QString recordNotImported(const QString &why);
QString searching(const QString &target);

} // namespace folian::copy
