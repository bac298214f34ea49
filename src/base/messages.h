#pragma once
// How core code speaks to the operator. The core never opens a dialog: it
// hands its messages to the installed sink. The desktop program installs a
// sink that shows message boxes; tests install one that records.

#include <QString>
#include <QStringList>
#include <functional>

namespace folian {

enum class MessageKind { Information, Warning, Error };

class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void show(MessageKind kind, const QString &text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const QString &text) = 0;
};

// Records every message; answers questions with `answer`.
class RecordingSink : public MessageSink
{
public:
    void show(MessageKind kind, const QString &text) override;
    bool ask(const QString &text) override;

    QStringList messages;
    QStringList questions;
    QList<MessageKind> kinds;
    bool answer = true;
    void clear() { messages.clear(); questions.clear(); kinds.clear(); }
};

// Installs a sink (not owned) and returns the previous one. With none
// installed, messages go to standard error and questions answer No.
MessageSink *setMessageSink(MessageSink *sink);
MessageSink &messages();

inline void inform(const QString &t) { messages().show(MessageKind::Information, t); }
inline void warn(const QString &t) { messages().show(MessageKind::Warning, t); }
inline void error(const QString &t) { messages().show(MessageKind::Error, t); }
inline bool confirm(const QString &t) { return messages().ask(t); }

// A text in both interface languages, chosen by the session's language.
QString tr2(const QString &french, const QString &arabic);

} // namespace folian
