#pragma once
// The record form's commands on its copies, serial issues and electronic
// resources, the count of copies ("?") and the opening of a resource. Each
// command that adds or changes a row saves the record first and stops when
// that fails; copies on loan are neither changed nor deleted.

#include <QObject>
#include <functional>

class QPushButton;
class QWidget;

namespace folian {

class Dataset;
class TFrmData;
struct ResourceTarget;

class NoticeHoldings : public QObject
{
    Q_OBJECT
public:
    NoticeHoldings(TFrmData &data, QWidget *window, std::function<bool()> saveRecord, QObject *parent = nullptr);

    bool AddCopy();
    bool EditCopy();
    bool DeleteCopy();
    bool AddIssue();
    bool EditIssue();
    bool DeleteIssue();
    bool AddResource();
    bool EditResource();
    bool DeleteResource();
    // "?": the number of copies becomes the number of the record's copies.
    bool CountCopies();
    // "Générer": the record saved, the batch generator of copies opened on
    // it, proposing the copies still to create (DOC_NBR_EXEMPLAIRE minus
    // those in the list; nothing proposed without a number of copies).
    bool GenerateCopies();
    // Opens the current resource: an address, or its file in the archive.
    bool OpenResource();
    // The open button follows whether the record has a resource.
    void setOpenButton(QPushButton *button);

    // What opens a resource (the desktop's handler); tests install their own.
    using Opener = std::function<bool(const ResourceTarget &)>;
    static void setOpener(Opener opener);
    // What opens the batch generator (the acquisitions' one, installed by the
    // application): on the record, with the count proposed (0: none); true
    // when copies were created. The button stays disabled without one.
    using Generator = std::function<bool(QWidget *parent, TFrmData &data, int record, int proposed)>;
    static void setGenerator(Generator generator);
    static bool hasGenerator();

private:
    // Saves the record, appends or edits the row, shows its sheet; true when posted.
    bool openSheet(int page, bool append, const QString &title);
    bool remove(Dataset *d, int satellite, const QString &question);

    TFrmData &data_;
    QWidget *window_;
    std::function<bool()> save_;
};

} // namespace folian
