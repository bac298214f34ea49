#pragma once
// The criteria of the record search (the option panel PnlOption): words of
// the title, of an author, of a subject, of a publisher; a standard number,
// an index, a shelf mark, a copy number; a year with its kind and its
// comparison; the document type, record status, language, diploma and
// speciality; the sort. The buttons beside the heading, publisher,
// classification, shelf-mark and copy-number criteria open their lists and
// write the choice into the criterion.

#include "catalogue/core/recordsearch.h"

#include <QFrame>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace folian {

class TFrmData;
enum class PickList;

class NoticeSearchCriteria : public QFrame
{
    Q_OBJECT
public:
    explicit NoticeSearchCriteria(TFrmData &data, QWidget *parent = nullptr);

    // The criteria as the fields hold them (codes by key).
    RecordCriteria criteria() const;
    // At least one criterion is filled.
    bool filled() const { return !criteria().isEmpty(); }
    RecordSort sort() const;
    // Empties every criterion.
    void clear();
    void focusFirst();
    QWidget *firstCriterion() const;

    QPushButton *searchButton() const { return btnSearch_; }
    QPushButton *clearButton() const { return btnClear_; }
    QLineEdit *yearField() const { return year_; }

signals:
    void changed();          // a criterion was typed or chosen
    void sortChanged();      // TRI
    void searchRequested();  // "Rechercher"
    void clearRequested();   // "Initialiser"

private:
    QLineEdit *line(const char *name);
    QComboBox *list(const char *name);
    // The button "..." of a criterion and what it opens.
    QWidget *withButton(QLineEdit *box, const char *buttonName, std::function<void()> open);
    void pickFrom(QLineEdit *box, PickList list, int mode);
    void pickCopy(QLineEdit *box, bool shelfMark);

    TFrmData &data_;
    QLineEdit *title_, *number_, *author_, *subject_, *publisher_, *classification_, *shelfMark_, *copy_, *year_;
    QComboBox *yearKind_, *yearOperator_, *type_, *status_, *language_, *diploma_, *speciality_, *sort_;
    QPushButton *btnSearch_, *btnClear_;
};

} // namespace folian
