#include "circulation/widgets/readerpanel.h"

#include "circulation/core/readerstanding.h"
#include "circulation/widgets/messagearea.h"
#include "circulation/widgets/readerhistory.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace folian {

ReaderPanel::ReaderPanel(TFrmData &data, QWidget *screen) : QObject(screen), data_(data), screen_(screen)
{
    messages_ = new MessageArea(screen);
    nom_ = valueLabel("LblNomValue", screen);
    prenom_ = valueLabel("LblPrenomValue", screen);
    history_ = new ReaderHistory(data_, screen);
    names_ = new QGridLayout;
    names_->addWidget(namedLabel("LblNom", "Nom :", screen), 0, 0);
    names_->addWidget(nom_, 0, 1);
    names_->addWidget(namedLabel("LblPrenom", "Prénom :", screen), 1, 0);
    names_->addWidget(prenom_, 1, 1);
    names_->setColumnStretch(1, 1);
}

void ReaderPanel::arrange(QLayout *form, QLayout *above)
{
    auto *top = new QHBoxLayout;
    top->addLayout(form, 3);
    top->addSpacing(16);
    top->addLayout(names_, 2);
    auto *layout = new QVBoxLayout(screen_);
    if (above)
        layout->addLayout(above);
    layout->addLayout(top);
    layout->addWidget(messages_);
    layout->addWidget(history_, 1);
}

void ReaderPanel::showReader(const QString &readerId, const QDate &today)
{
    Dataset *q = data_.QLecteurSearch;
    const bool found = !readerId.isEmpty()
        && q->open(QStringLiteral("SELECT * FROM LECTEUR WHERE LEC_ID = ?"), {readerId}) && q->rowCount() > 0;
    if (!found)
        q->close();
    showName(q, found);
    history_->showReader(found ? readerId : QString(), today);
}

void ReaderPanel::showRow(const Dataset *reader, bool found, const QDate &today)
{
    showName(reader, found);
    history_->showReader(found ? reader->value(QStringLiteral("LEC_ID")).toString() : QString(), today);
}

void ReaderPanel::showName(const Dataset *reader, bool found)
{
    nom_->setText(found ? reader->value(QStringLiteral("LEC_NOM")).toString() : QString());
    prenom_->setText(found ? reader->value(QStringLiteral("LEC_PRENOM")).toString() : QString());
}

bool ReaderPanel::showCheck(const ReaderCheck &check, const QDate &today)
{
    messages_->say(check.passed, check.message());
    showReader(check.found ? check.readerId : QString(), today);
    return check.passed;
}

QString ReaderPanel::shownName() const { return nom_->text() + u' ' + prenom_->text(); }

void ReaderPanel::clearName()
{
    nom_->clear();
    prenom_->clear();
}

} // namespace folian
