#pragma once
// What the desk-like screens (the loan desk and the consultation, the
// inter-library loan, the reader administration) show of the reader they
// work on: his surname and first name beside the screen's fields, the red
// and blue message area under them and the " Historique lecteur :" lists
// at the bottom.

#include <QDate>
#include <QObject>

class QGridLayout;
class QLabel;
class QLayout;
class QWidget;

namespace folian {

class Dataset;
class MessageArea;
class ReaderHistory;
class TFrmData;
struct ReaderCheck;

class ReaderPanel : public QObject
{
    Q_OBJECT
public:
    // Makes the controls as children of `screen`, which owns the panel too.
    ReaderPanel(TFrmData &data, QWidget *screen);

    MessageArea *messages() const { return messages_; }
    ReaderHistory *history() const { return history_; }
    // "Nom :" and "Prénom :" with the reader's in rows 0 and 1; a screen may
    // add rows of its own below them.
    QGridLayout *nameGrid() const { return names_; }

    // Lays the screen out: `above` first when there is one, then the
    // screen's `form` beside the name grid, the messages and the lists.
    void arrange(QLayout *form, QLayout *above = nullptr);

    // Reads the reader by his number into QLecteurSearch and shows him with
    // his lists as of `today`; nobody with an empty or unknown number.
    void showReader(const QString &readerId, const QDate &today);
    // Shows the reader on the current row of `reader` when `found`, nobody otherwise.
    void showRow(const Dataset *reader, bool found, const QDate &today);
    // A reader check told in blue or red, and the reader it found shown;
    // whether he passed.
    bool showCheck(const ReaderCheck &check, const QDate &today);
    // The surname and first name shown, with a space between.
    QString shownName() const;
    void clearName();

private:
    void showName(const Dataset *reader, bool found);

    TFrmData &data_;
    QWidget *screen_;
    QLabel *nom_, *prenom_;
    QGridLayout *names_;
    MessageArea *messages_;
    ReaderHistory *history_;
};

} // namespace folian
