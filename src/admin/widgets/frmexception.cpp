#include "admin/widgets/frmexception.h"

#include "base/dates.h"
#include "data/widgets/fieldbinder.h"

#include "admin/core/duedate.h"
#include "base/messages.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

namespace {

// Stands for "no date" in a date field: shown blank.
const QDate kNoDate(1900, 1, 1);

} // namespace

TFrmException::TFrmException(TFrmData &frmData, const QString &title, QWidget *parent)
    : FormDialog(parent), data_(frmData), title_(title)
{
    setObjectName(QStringLiteral("FrmException"));
    setWindowTitle(QStringLiteral("Exception"));
    setModal(true);

    start_ = dateField("EdtDateDebut");
    end_ = dateField("EdtDateFin");
    auto *form = new QFormLayout;
    const QString hint = u'(' + DateFormat().toLower() + u')';
    const struct {
        const char *name;
        const char *caption;
        QDateEdit *field;
    } rows[] = {{"LblDateDebut", "Date début :", start_}, {"LblDateFin", "Date fin :", end_}};
    for (const auto &r : rows) {
        auto *lbl = new QLabel(QString::fromUtf8(r.caption), this);
        lbl->setObjectName(QLatin1String(r.name));
        lbl->setBuddy(r.field);
        auto *line = new QHBoxLayout;
        line->addWidget(r.field);
        line->addWidget(new QLabel(hint, this));
        line->addStretch(1);
        form->addRow(lbl, line);
    }

    btnPost_ = new QPushButton(QStringLiteral("Enregistrer"), this);
    btnPost_->setObjectName(QStringLiteral("BtnPost"));
    auto *btnCancel = new QPushButton(QStringLiteral("Annuler"), this);
    btnCancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(btnPost_, &QPushButton::clicked, this, &TFrmException::BtnPostClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPost_);
    buttons->addWidget(btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons);

    binder_ = new FieldBinder(data_.QException, this);
    binder_->bind(start_, QStringLiteral("DATE_DEBUT"));
    binder_->bind(end_, QStringLiteral("DATE_FIN"));
    binder_->refresh();
    updateButtons();
    setMinimumWidth(340);
    start_->setFocus();
}

QDateEdit *TFrmException::dateField(const char *name)
{
    auto *f = new QDateEdit(this);
    f->setObjectName(QLatin1String(name));
    ConfigureDateField(f);
    f->setCalendarPopup(true);
    f->setMinimumDate(kNoDate);
    f->setSpecialValueText(QStringLiteral(" "));
    f->calendarWidget()->installEventFilter(this);
    connect(f, &QDateEdit::dateChanged, this, &TFrmException::updateButtons);
    return f;
}

bool TFrmException::isBlank(const QDateEdit *field) { return field->date() <= kNoDate; }

void TFrmException::setDate(QDateEdit *field, const QDate &date)
{
    field->setDate(date.isValid() ? date : kNoDate);
}

bool TFrmException::eventFilter(QObject *watched, QEvent *event)
{
    // The calendar of a blank field opens on the current month, not on the "no date".
    if (event->type() == QEvent::Show)
        if (auto *cal = qobject_cast<QCalendarWidget *>(watched); cal && cal->selectedDate() <= kNoDate) {
            const QDate today = QDate::currentDate();
            cal->setCurrentPage(today.year(), today.month());
        }
    return FormDialog::eventFilter(watched, event);
}

void TFrmException::updateButtons() { btnPost_->setEnabled(!isBlank(start_) && !isBlank(end_)); }

void TFrmException::afterLocalise()
{
    if (!title_.isEmpty())
        setWindowTitle(title_);
}

void TFrmException::BtnPostClick()
{
    if (isBlank(start_) || isBlank(end_))
        return;
    Dataset *q = data_.QException;
    if (!q->isEditing()) {
        accept();
        return;
    }
    const QString refusal = CheckClosedPeriod(start_->date(), end_->date());
    if (!refusal.isEmpty()) {
        inform(refusal);
        end_->setFocus();
        return;
    }
    if (binder_->post())  // a failed post is reported by the data module; the row stays pending
        accept();
}

void TFrmException::done(int result)
{
    // Closing in any other way than a successful save gives up the row.
    if (result != QDialog::Accepted)
        data_.QException->cancel();
    FormDialog::done(result);
}

} // namespace folian
