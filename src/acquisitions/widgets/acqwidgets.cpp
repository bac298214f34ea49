#include "acquisitions/widgets/acqwidgets.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/documents.h"
#include "data/core/dataset.h"

#include "base/session.h"
#include "data/core/database.h"
#include "data/core/datasetmodel.h"
#include "data/core/money.h"
#include "data/widgets/uihelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
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
    SqlRows q = db.query(sql);
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
    ConfigureDateField(d);
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

void searchButtons(QGridLayout *grid, QWidget *box, const std::function<void()> &search, const std::function<void()> &reset)
{
    QPushButton *find = namedButton("BtnRechercher", QStringLiteral("Rechercher"), box);
    QPushButton *clear = namedButton("BtnInitialiser", QStringLiteral("Initialiser"), box);
    QObject::connect(find, &QPushButton::clicked, box, search);
    QObject::connect(clear, &QPushButton::clicked, box, reset);
    grid->addWidget(find, 0, 4);
    grid->addWidget(clear, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
}

QHBoxLayout *dateRangeRow(QWidget *box, const QDate &today)
{
    auto *dates = new QHBoxLayout;
    for (const auto &[check, field, caption] : {std::tuple{"ChkDu", "EdtDu", "Du"}, std::tuple{"ChkAu", "EdtAu", "Au"}}) {
        auto *c = new QCheckBox(QString::fromUtf8(caption), box);
        c->setObjectName(QLatin1String(check));
        QDateEdit *d = dateField(field, box);
        showDate(d, today);
        dates->addWidget(c);
        dates->addWidget(d);
    }
    dates->addStretch(1);
    return dates;
}

void readDateRange(const QWidget *screen, QDate *from, QDate *to)
{
    for (const auto &[check, field, day] : {std::tuple{"ChkDu", "EdtDu", from}, std::tuple{"ChkAu", "EdtAu", to}})
        if (screen->findChild<QCheckBox *>(QLatin1String(check))->isChecked())
            *day = dateOf(screen->findChild<QDateEdit *>(QLatin1String(field)));
}

void clearDateRange(QWidget *screen)
{
    for (const char *check : {"ChkDu", "ChkAu"})
        screen->findChild<QCheckBox *>(QLatin1String(check))->setChecked(false);
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

void formRow(QFormLayout *form, QWidget *parent, const char *label, const char *caption, QWidget *field)
{
    QLabel *l = namedLabel(label, QString::fromUtf8(caption), parent);
    l->setBuddy(field);
    form->addRow(l, field);
}

QLineEdit *formLine(QFormLayout *form, QWidget *parent, const char *name, const char *label, const char *caption)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    formRow(form, parent, label, caption, e);
    return e;
}

QComboBox *formList(QFormLayout *form, QWidget *parent, const char *name, const char *label, const char *caption)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    formRow(form, parent, label, caption, c);
    return c;
}

QString moneyText(const QVariant &v)
{
    const std::optional<Money> m = Money::fromVariant(v);
    return m ? m->toString() : QString();
}

QLabel *countLabel(const char *name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setProperty("localise", false);
    return l;
}

void fillStatusList(QComboBox *list)
{
    const int kept = list->currentIndex();
    list->clear();
    for (int s = 0; s <= AcqStatus::Validated; ++s)
        list->addItem(acq::statusLabel(s), s);
    list->setCurrentIndex(qMax(0, kept));
}

int currentKey(Dataset *rows, const char *column)
{
    return rows->isOpen() && rows->currentRow() >= 0 && rows->rowCount() > 0 ? rows->value(QLatin1String(column)).toInt() : 0;
}

} // namespace folian
