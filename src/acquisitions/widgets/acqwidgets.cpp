#include "acquisitions/widgets/acqwidgets.h"

#include "base/session.h"
#include "data/core/database.h"
#include "data/core/datasetmodel.h"
#include "data/widgets/uihelpers.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>

namespace folian {

namespace {
// The earliest day of a date field that may be blank.
const QDate kNoDate(1900, 1, 1);
} // namespace

QTableView *acqGrid(const char *name, DatasetModel *model, QWidget *parent)
{
    auto *v = new QTableView(parent);
    v->setObjectName(QLatin1String(name));
    v->setModel(model);
    ConfigureGrid(v);
    v->horizontalHeader()->setStretchLastSection(true);
    v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 6);
    return v;
}

void setColumnWidths(QTableView *grid, std::initializer_list<int> widths)
{
    int c = 0;
    for (int w : widths)
        grid->setColumnWidth(c++, w);
}

void fillKeyList(QComboBox *list, Database &db, const QString &sql, bool blank)
{
    const QVariant kept = chosenKey(list);
    list->clear();
    if (blank)
        list->addItem(QString());
    QSqlQuery q = db.query(sql);
    while (q.next())
        list->addItem(q.value(1).toString(), q.value(0));
    chooseKey(list, kept);
}

void fillCopyLists(Database &db, QComboBox *location, QComboBox *support, QComboBox *status)
{
    const QString sfx = session().LanguageSuffix;
    fillKeyList(location, db, QStringLiteral("SELECT LOC_ID, LOC_LIBELLE FROM LOCALISATION ORDER BY LOC_ID"), true);
    fillKeyList(support, db, QStringLiteral("SELECT SUP_ID, SUP_LIBELLE%1 FROM SUPPORT ORDER BY SUP_ID").arg(sfx), true);
    const bool chosen = status->currentIndex() >= 0;
    fillKeyList(status, db, QStringLiteral("SELECT STA_EXP_ID, STA_EXP_LIBELLE%1 FROM STATUT_EXEMPLAIRE ORDER BY STA_EXP_ID").arg(sfx),
                false);
    if (!chosen)
        chooseKey(status, 2);  // a new copy is available
}

QVariant chosenKey(const QComboBox *list)
{
    const QVariant v = list->currentData();
    return v.isValid() ? v : QVariant();
}

void chooseKey(QComboBox *list, const QVariant &key)
{
    if (key.isNull() || !key.isValid()) {
        list->setCurrentIndex(list->count() > 0 && !list->itemData(0).isValid() ? 0 : -1);
        return;
    }
    for (int i = 0; i < list->count(); ++i)
        if (list->itemData(i).isValid() && list->itemData(i).toString() == key.toString()) {
            list->setCurrentIndex(i);
            return;
        }
    list->setCurrentIndex(-1);
}

QDateEdit *dateField(const char *name, QWidget *parent, bool blankAllowed)
{
    auto *d = new QDateEdit(parent);
    d->setObjectName(QLatin1String(name));
    d->setDisplayFormat(DateFieldFormat());
    d->setCalendarPopup(true);
    if (blankAllowed) {
        d->setMinimumDate(kNoDate);
        d->setSpecialValueText(QStringLiteral(" "));
        d->setDate(kNoDate);
    }
    return d;
}

QDate dateOf(const QDateEdit *field)
{
    const QDate d = field->date();
    return field->specialValueText().isEmpty() || d > kNoDate ? d : QDate();
}

void showDate(QDateEdit *field, const QDate &date)
{
    field->setDate(date.isValid() ? date : (field->specialValueText().isEmpty() ? QDate::currentDate() : kNoDate));
}

QGroupBox *criteriaBox(QWidget *parent)
{
    auto *box = new QGroupBox(QStringLiteral(" Critères de recherche "), parent);
    box->setObjectName(QStringLiteral("PnlOption"));
    return box;
}

QHBoxLayout *sheetButtons(QDialog *dialog, QPushButton **post)
{
    *post = namedButton("BtnPost", QStringLiteral("Enregistrer"), dialog);
    QPushButton *cancel = namedButton("BtnCancel", QStringLiteral("Annuler"), dialog);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(*post);
    row->addWidget(cancel);
    return row;
}

QLabel *countLabel(const char *name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setProperty("localise", false);
    return l;
}

} // namespace folian
