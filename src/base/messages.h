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
    // A Yes/No question; true for Yes. `yesByDefault` false: Return alone
    // (and Escape) answers No.
    virtual bool ask(const QString &text, bool yesByDefault) = 0;
};

// Records every message; answers questions with `answer`.
class RecordingSink : public MessageSink
{
public:
    void show(MessageKind kind, const QString &text) override;
    bool ask(const QString &text, bool yesByDefault) override;

    QStringList messages;
    QStringList questions;
    QList<bool> yesByDefault;  // the default answer of each question
    QList<MessageKind> kinds;
    bool answer = true;
    void clear() { messages.clear(); questions.clear(); yesByDefault.clear(); kinds.clear(); }
};

// Installs a sink (not owned) and returns the previous one. With none
// installed, messages go to standard error and questions answer No.
MessageSink *setMessageSink(MessageSink *sink);
MessageSink &messages();

inline void inform(const QString &t) { messages().show(MessageKind::Information, t); }
inline void warn(const QString &t) { messages().show(MessageKind::Warning, t); }
inline void error(const QString &t) { messages().show(MessageKind::Error, t); }
// A question whose "Oui" keeps the operator's work (a save): "Oui" is the default.
inline bool confirm(const QString &t) { return messages().ask(t, true); }
// A question whose "Oui" deletes or resets something for good: "Non" is the
// default, so that a Return pressed in a hurry never does it.
inline bool confirmIrreversible(const QString &t) { return messages().ask(t, false); }

// A text in both interface languages, chosen by the session's language.
QString tr2(const QString &french, const QString &arabic);

} // namespace folian
