#pragma once
// The handlers of one row event of a dataset. The data module installs the
// shared rules first; a screen adds its own beside them, after the rules,
// and they go with the screen (their owner). Nobody replaces a rule.

#include <QObject>
#include <QPointer>
#include <QVector>
#include <functional>
#include <type_traits>

namespace folian {

// R is void, or bool for handlers that may refuse the event: those run in
// order until one returns false, and the list answers whether all agreed.
template <typename R, typename... Args>
class HandlerList
{
public:
    using Fn = std::function<R(Args...)>;

    // Adds a handler; with an owner, it is dropped when the owner is destroyed.
    void add(Fn fn, QObject *owner = nullptr) { entries_.append({owner, owner != nullptr, std::move(fn)}); }
    // Drops the handlers of an owner.
    void remove(const QObject *owner)
    {
        entries_.removeIf([owner](const Entry &e) { return e.owned && e.owner == owner; });
    }
    bool isEmpty() const { return entries_.isEmpty(); }

    R operator()(Args... args)
    {
        entries_.removeIf([](const Entry &e) { return e.owned && !e.owner; });
        const QVector<Entry> now = entries_;  // a handler may add or remove handlers
        if constexpr (std::is_void_v<R>) {
            for (const Entry &e : now)
                e.fn(args...);
        } else {
            for (const Entry &e : now)
                if (!e.fn(args...))
                    return false;
            return true;
        }
    }

private:
    struct Entry {
        QPointer<QObject> owner;
        bool owned = false;
        Fn fn;
    };
    QVector<Entry> entries_;
};

template <typename... Args>
using Handlers = HandlerList<void, Args...>;
template <typename... Args>
using Vetoes = HandlerList<bool, Args...>;

} // namespace folian
