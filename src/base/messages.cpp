#include "base/messages.h"

#include "base/session.h"

#include <cstdio>

namespace folian {

namespace {
class StderrSink : public MessageSink
{
public:
    void show(MessageKind, const QString &text) override
    {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
    bool ask(const QString &text, bool) override
    {
        std::fprintf(stderr, "%s [non]\n", text.toLocal8Bit().constData());
        return false;
    }
};

StderrSink g_stderr;
MessageSink *g_sink = nullptr;
} // namespace

void RecordingSink::show(MessageKind kind, const QString &text)
{
    messages << text;
    kinds << kind;
}

bool RecordingSink::ask(const QString &text, bool yes)
{
    questions << text;
    yesByDefault << yes;
    return answer;
}

MessageSink *setMessageSink(MessageSink *sink)
{
    MessageSink *old = g_sink;
    g_sink = sink;
    return old;
}

MessageSink &messages() { return g_sink ? *g_sink : g_stderr; }

QString tr2(const QString &french, const QString &arabic)
{
    return session().ArabicMode ? arabic : french;
}

} // namespace folian
