#pragma once
// Every form of the program, built for the tests that walk their captions.
// A new screen joins by adding one line to registeredForms().

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace folian {
class TFrmData;
namespace test {

struct RegisteredForm {
    QString name;  // the form's objectName, its section in the translation files
    // Builds the form on a connected data module with an administrator logged on.
    std::function<std::unique_ptr<QWidget>(TFrmData &)> create;
};

QList<RegisteredForm> registeredForms();

} // namespace test
} // namespace folian
