#pragma once
// The desktop program's messages: message boxes over the active window,
// with their buttons in the interface language.

#include "base/messages.h"

namespace folian {

class MessageBoxSink : public MessageSink
{
public:
    void show(MessageKind kind, const QString &text) override;
    bool ask(const QString &text, bool yesByDefault) override;
};

} // namespace folian
