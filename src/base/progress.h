#pragma once
// How a long task (writing a page, an import, a batch of copies) tells the
// operator how far it is, and learns that the operator asked it to stop.
// The task calls step() after each item and ends at the next item once
// stopped() is true. A screen implements it with a progress bar and a stop
// button; batch callers pass nothing or a recorder.

#include <QString>

namespace folian {

class Progress
{
public:
    virtual ~Progress() = default;
    // `done` items of `total` (0 when the total is not known), with a line
    // for the operator.
    virtual void step(int done, int total, const QString &text)
    {
        Q_UNUSED(done);
        Q_UNUSED(total);
        Q_UNUSED(text);
    }
    // True once the operator asked the task to stop.
    virtual bool stopped() const { return false; }
};

} // namespace folian
