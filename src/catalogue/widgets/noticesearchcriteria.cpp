#include "catalogue/widgets/noticesearchcriteria.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/widgets/frmexemplaireliste.h"
#include "catalogue/widgets/noticefields.h"
#include "catalogue/widgets/pickers.h"
#include "data/core/shareddata.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

NoticeSearchCriteria::NoticeSearchCriteria(TFrmData &frmData, QWidget *parent) : QFrame(parent), data_(frmData)
{
    setObjectName(QStringLiteral("PnlOption"));
    setFrameShape(QFrame::StyledPanel);

    title_ = line("TIT");
    number_ = line("NUM");
    author_ = line("AUT");
    subject_ = line("MAT");
    publisher_ = line("EDT");
    classification_ = line("CLA");
    shelfMark_ = line("COT");
    copy_ = line("EXP");
    year_ = line("DAT");
    year_->setMaxLength(4);
    year_->setMaximumWidth(60);
    yearKind_ = list("DAT_TYP");
    yearKind_->addItems({tr2(QStringLiteral("Edition"), QStringLiteral("النشر")),
                         tr2(QStringLiteral("Achat"), QStringLiteral("الاقتناء")),
                         tr2(QStringLiteral("Saisie"), QStringLiteral("الإدخال"))});
    yearOperator_ = list("DAT_OPR");
    yearOperator_->addItems({QStringLiteral("="), QStringLiteral(">"), QStringLiteral("<"), QStringLiteral(">="),
                             QStringLiteral("<=")});
    yearOperator_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // The lists of codes: the labels in the interface's language, a blank first.
    const struct {
        QComboBox **box;
        const char *name;
        Dataset *lookup;
        const char *key;
        const char *prefix;
    } codes[] = {{&type_, "TYP", frmData.QTypeDocument, "TYP_ID", "TYP"},
                 {&status_, "STA", frmData.QStatutNotice, "STA_ID", "STA"},
                 {&language_, "LAN", frmData.QLangue, "LAN_ID", "LAN"},
                 {&diploma_, "DIP", frmData.QDiplome, "DIP_ID", "DIP"},
                 {&speciality_, "SPE", frmData.QSpecialite, "SPE_ID", "SPE"}};
    for (const auto &c : codes) {
        *c.box = list(c.name);
        openLookup(c.lookup);
        fillLookupList(*c.box, c.lookup, QLatin1String(c.key), QLatin1String(c.prefix));
    }
    sort_ = new QComboBox(this);
    sort_->setObjectName(QStringLiteral("TRI"));
    sort_->addItems({QString(), tr2(QStringLiteral("Titre"), QStringLiteral("العنوان")),
                     tr2(QStringLiteral("Année"), QStringLiteral("السنة")),
                     tr2(QStringLiteral("Date création"), QStringLiteral("تاريخ الإنشاء"))});
    connect(sort_, &QComboBox::activated, this, &NoticeSearchCriteria::sortChanged);

    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    auto put = [this, grid](int row, int column, const char *label, const QString &caption, QWidget *field,
                            QWidget *buddy) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(label));
        l->setBuddy(buddy);
        grid->addWidget(l, row, column * 2);
        grid->addWidget(field, row, column * 2 + 1);
    };
    auto heading = [this](QLineEdit *box, int mode) { return [this, box, mode] { pickFrom(box, PickList::Heading, mode); }; };
    put(0, 0, "LblTIT", QStringLiteral("Mots du titre :"), title_, title_);
    put(1, 0, "LblAUT", QStringLiteral("Auteur :"), withButton(author_, "BtnAUT", heading(author_, 3)), author_);
    put(2, 0, "LblMAT", QStringLiteral("Mots matière :"), withButton(subject_, "BtnMAT", heading(subject_, 4)), subject_);
    put(3, 0, "LblEDT", QStringLiteral("Editeur :"),
        withButton(publisher_, "BtnEDT", [this] { pickFrom(publisher_, PickList::Publisher, 3); }), publisher_);
    put(4, 0, "LblNUM", QStringLiteral("ISBN, ISSN... :"), number_, number_);
    put(0, 1, "LblCLA", QStringLiteral("Classification :"),
        withButton(classification_, "BtnCLA", [this] { pickFrom(classification_, PickList::Classification, 2); }),
        classification_);
    put(1, 1, "LblCOT", QStringLiteral("Cote :"), withButton(shelfMark_, "BtnCOT", [this] { pickCopy(shelfMark_, true); }),
        shelfMark_);
    put(2, 1, "LblEXP", QStringLiteral("N° exemplaire :"), withButton(copy_, "BtnEXP", [this] { pickCopy(copy_, false); }),
        copy_);
    auto *yearRow = new QWidget(this);
    auto *yl = new QHBoxLayout(yearRow);
    yl->setContentsMargins(0, 0, 0, 0);
    yl->addWidget(yearKind_, 1);
    yl->addWidget(yearOperator_);
    yl->addWidget(year_);
    put(3, 1, "LblDAT", QStringLiteral("Année :"), yearRow, yearKind_);
    put(4, 1, "LblTRI", QStringLiteral("Trier par :"), sort_, sort_);
    put(0, 2, "LblTYP", QStringLiteral("Type de document :"), type_, type_);
    put(1, 2, "LblSTA", QStringLiteral("Statut notice :"), status_, status_);
    put(2, 2, "LblLAN", QStringLiteral("Langue :"), language_, language_);
    put(3, 2, "LblDIP", QStringLiteral("Diplôme :"), diploma_, diploma_);
    put(4, 2, "LblSPE", QStringLiteral("Spécialité :"), speciality_, speciality_);
    for (int c : {1, 3, 5})
        grid->setColumnStretch(c, 1);

    btnSearch_ = namedButton("BtnSearch", QStringLiteral("Rechercher"), this);
    btnClear_ = namedButton("BtnClear", QStringLiteral("Initialiser"), this);
    connect(btnSearch_, &QPushButton::clicked, this, &NoticeSearchCriteria::searchRequested);
    connect(btnClear_, &QPushButton::clicked, this, &NoticeSearchCriteria::clearRequested);
    auto *side = new QVBoxLayout;
    side->addWidget(btnSearch_);
    side->addWidget(btnClear_);
    side->addStretch(1);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 6, 8, 6);
    row->addLayout(grid, 1);
    row->addSpacing(8);
    row->addLayout(side);
}

QLineEdit *NoticeSearchCriteria::line(const char *name)
{
    auto *e = new QLineEdit(this);
    e->setObjectName(QLatin1String(name));
    connect(e, &QLineEdit::textChanged, this, &NoticeSearchCriteria::changed);
    return e;
}

QComboBox *NoticeSearchCriteria::list(const char *name)
{
    auto *c = new QComboBox(this);
    c->setObjectName(QLatin1String(name));
    // As wide as the room gives, not as its longest label: the panel fits a small screen.
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(5);
    connect(c, &QComboBox::currentIndexChanged, this, &NoticeSearchCriteria::changed);
    return c;
}

QWidget *NoticeSearchCriteria::withButton(QLineEdit *box, const char *buttonName, std::function<void()> open)
{
    auto *w = new QWidget(this);
    auto *l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);
    auto *b = namedButton(buttonName, QStringLiteral("..."), w);
    b->setFixedWidth(28);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QPushButton::clicked, this, [open] { open(); });
    box->setParent(w);
    l->addWidget(box, 1);
    l->addWidget(b);
    return w;
}

void NoticeSearchCriteria::pickFrom(QLineEdit *box, PickList list, int mode)
{
    PickRequest r;
    r.list = list;
    r.mode = mode;
    r.text = box->text().trimmed();
    const Picked p = pick(this, data_, r);
    if (!p.ok())
        return;
    // An index is its own name; the others write the name the list shows.
    box->setText(list == PickList::Classification ? p.key.toString() : p.name);
    box->setFocus();
}

void NoticeSearchCriteria::pickCopy(QLineEdit *box, bool shelfMark)
{
    TFrmExemplaireListe copies(data_, shelfMark ? CopyListField::ShelfMark : CopyListField::CopyNumber, box->text(),
                               this);
    if (copies.exec() == QDialog::Accepted && !copies.chosen().isEmpty())
        box->setText(copies.chosen());
    box->setFocus();
}

RecordSort NoticeSearchCriteria::sort() const { return RecordSort(qBound(0, sort_->currentIndex(), 3)); }

RecordCriteria NoticeSearchCriteria::criteria() const
{
    RecordCriteria c;
    c.titleWords = title_->text();
    c.number = number_->text();
    c.author = author_->text();
    c.subject = subject_->text();
    c.publisher = publisher_->text();
    c.classification = classification_->text();
    c.shelfMark = shelfMark_->text();
    c.copy = copy_->text();
    c.yearKind = YearKind(qBound(0, yearKind_->currentIndex(), 2));
    c.yearOperator = yearOperator_->currentText();
    c.year = year_->text();
    c.type = type_->currentData().toString();
    c.status = status_->currentData();
    c.language = language_->currentData().toString();
    c.diploma = diploma_->currentData();
    c.speciality = speciality_->currentData();
    c.sort = sort();
    c.sortLanguage = session().CurrentLanguage;
    return c;
}

void NoticeSearchCriteria::clear()
{
    {
        const QSignalBlocker quiet(this);
        for (QLineEdit *e : findChildren<QLineEdit *>())
            e->clear();
        for (QComboBox *c : findChildren<QComboBox *>())
            c->setCurrentIndex(0);
    }
    emit changed();
}

void NoticeSearchCriteria::focusFirst() { title_->setFocus(); }

QWidget *NoticeSearchCriteria::firstCriterion() const { return title_; }

} // namespace folian
