#pragma once
// "&Index :" and "&Chercher :" under a circulation list: the column to look
// in, and a field whose text moves the list to the first row of that column
// beginning with it, whatever the case.

#include <QStringList>
#include <QWidget>

class QComboBox;
class QLineEdit;

namespace folian {

class Dataset;

class IndexSearch : public QWidget
{
    Q_OBJECT
public:
    explicit IndexSearch(QWidget *parent = nullptr);

    // The list searched and the columns offered, with their captions in the
    // session's language; the first one is chosen and the field emptied.
    void setList(Dataset *dataset, const QStringList &fields, const QStringList &captions);

    QComboBox *index() const { return index_; }
    QLineEdit *field() const { return field_; }

private:
    void search();

    Dataset *dataset_ = nullptr;
    QStringList fields_;
    QComboBox *index_;
    QLineEdit *field_;
};

} // namespace folian
