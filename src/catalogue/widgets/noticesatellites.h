#pragma once
// The record form's commands on its authors, subject headings and
// classification indices. Each command that adds or changes a row saves the
// record first and stops when that fails; the rows are chosen from the
// heading and classification lists (pickers.h).

#include <QObject>
#include <functional>

class QWidget;

namespace folian {

class TFrmData;
struct Picked;

class NoticeSatellites : public QObject
{
    Q_OBJECT
public:
    NoticeSatellites(TFrmData &data, QWidget *window, std::function<bool()> saveRecord, QObject *parent = nullptr);

    // Each is true when a row was added, changed or deleted.
    bool AddAuthor();
    bool EditAuthor();
    bool DeleteAuthor();
    bool AddSubject();
    bool EditSubject();
    bool DeleteSubject();
    bool AddIndex();
    bool EditIndex();
    bool DeleteIndex();

private:
    // Saves the record, then appends a row to the satellite or puts its
    // current row in edit; false when either fails.
    bool startRow(int which, bool append);
    // The author row is in insert or edit: choose its heading, then its
    // responsibility; "Annuler" in the responsibility returns to the list.
    bool chooseAuthor(const QString &filter);
    // Subject or index row in insert or edit: choose and post at once.
    bool chooseAndPost(int which, const QString &filter);
    bool remove(int which, const QString &question);

    TFrmData &data_;
    QWidget *window_;
    std::function<bool()> save_;
};

} // namespace folian
