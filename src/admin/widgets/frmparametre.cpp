#include "admin/widgets/frmparametre.h"

#include "data/core/helpers.h"
#include "data/widgets/fieldbinder.h"

#include "admin/widgets/frmexception.h"
#include "base/messages.h"
#include "base/session.h"
#include "data/core/datasetmodel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

const QString kExceptionSql = QStringLiteral("SELECT * FROM JOUR_EXCEPTION ORDER BY DATE_DEBUT, DATE_FIN");
constexpr int kFriday = 5;  // list position of the usual closing day

QLabel *captioned(const char *name, const char *text, QWidget *parent)
{
    auto *l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QPlainTextEdit *memo(const char *name, QWidget *parent)
{
    auto *m = new QPlainTextEdit(parent);
    m->setObjectName(QLatin1String(name));
    m->setTabChangesFocus(true);
    return m;
}

QWidget *page(const char *name, QWidget *parent)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}


} // namespace

TFrmParametre::TFrmParametre(TFrmData &frmData, QWidget *parent) : FormDialog(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmParametre"));
    setWindowTitle(QStringLiteral("Paramètres de l'application"));
    setModal(true);

    // The countries of the cataloguing source (a failure leaves the list empty).
    data_.QPays->open(QStringLiteral("SELECT * FROM PAYS"));

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PgcParametre"));
    tabs->addTab(pageGeneral(), QStringLiteral("Général"));
    tabs->addTab(pageCatalogage(), QStringLiteral("Catalogage"));
    tabs->addTab(pageCirculation(), QStringLiteral("Circulation"));
    tabs->addTab(pageAcquisition(), QStringLiteral("Acquisition"));

    auto *btnPost = new QPushButton(QStringLiteral("Enregistrer"), this);
    btnPost->setObjectName(QStringLiteral("BtnPost"));
    auto *btnCancel = new QPushButton(QStringLiteral("Annuler"), this);
    btnCancel->setObjectName(QStringLiteral("BtnCancel"));
    btnPost->setAutoDefault(false);
    btnCancel->setAutoDefault(false);
    connect(btnPost, &QPushButton::clicked, this, &TFrmParametre::BtnPostClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPost);
    buttons->addWidget(btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);

    // The one row of parameters, edited in place until saved or cancelled.
    Dataset *p = data_.QParametre;
    if (!p->isOpen())
        p->open(QStringLiteral("SELECT * FROM PARAMETRE"));
    if (p->isOpen() && !p->isEditing()) {
        if (!p->first())
            p->append();
        else
            p->edit();
    }
    binder_ = new FieldBinder(p, this);
    binder_->bind(pays_, QStringLiteral("PAY_ID"));
    binder_->bind(agence_, QStringLiteral("AGENCE"));
    binder_->bind(classification_, QStringLiteral("CLASSIFICATION"));
    binder_->bind(relanceLecteur_, QStringLiteral("RELANCE_LECTEUR"));
    binder_->bind(quitus_, QStringLiteral("QUITUS"));
    binder_->bind(relanceFournisseur_, QStringLiteral("RELANCE_FOURNISSEUR"));
    binder_->bind(weekend1_, QStringLiteral("WEEKEND1"));
    binder_->bind(weekend2_, QStringLiteral("WEEKEND2"));
    // A library that never chose its closing days closes on Friday.
    for (const char *day : {"WEEKEND1", "WEEKEND2"})
        if (p->isEditing() && IsBlank(p->value(QLatin1String(day))))
            p->setValue(QLatin1String(day), kFriday + 1);
    showRow();

    openExceptions();
    for (auto signal : {&Dataset::stateChanged, &Dataset::reset})
        connect(data_.QException, signal, this, [this] { updateExceptionButtons(); });
    connect(data_.QException, &Dataset::rowInserted, this, [this] { updateExceptionButtons(); });
    connect(data_.QException, &Dataset::rowRemoved, this, [this] { updateExceptionButtons(); });
    updateExceptionButtons();
    resize(680, 560);
}

QWidget *TFrmParametre::pageGeneral()
{
    QWidget *w = page("TabGeneral", this);
    letterhead_ = new QLabel(w);
    letterhead_->setObjectName(QStringLiteral("ImgEntete"));
    letterhead_->setFrameShape(QFrame::StyledPanel);
    letterhead_->setAlignment(Qt::AlignCenter);
    letterhead_->setMinimumSize(420, 140);
    auto *btnLoad = new QPushButton(QStringLiteral("Charger"), w);
    btnLoad->setObjectName(QStringLiteral("BtnLoad"));
    btnLoad->setAutoDefault(false);
    connect(btnLoad, &QPushButton::clicked, this, &TFrmParametre::BtnLoadClick);

    auto *grid = new QGridLayout(w);
    grid->addWidget(captioned("LblEntete", "Entête :", w), 0, 0, Qt::AlignTop);
    grid->addWidget(letterhead_, 0, 1);
    grid->addWidget(btnLoad, 1, 1, Qt::AlignLeading);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    return w;
}

QWidget *TFrmParametre::pageCatalogage()
{
    QWidget *w = page("TabCatalogage", this);
    pays_ = new QComboBox(w);
    pays_->setObjectName(QStringLiteral("CmbPays"));
    Dataset *pays = data_.QPays;
    if (pays->isOpen()) {
        pays->fetchAll();
        const int id = pays->fieldIndex(QStringLiteral("PAY_ID"));
        const int fr = pays->fieldIndex(QStringLiteral("PAY_LIBELLE"));
        const int label = pays->fieldIndex(QStringLiteral("PAY_LIBELLE") + session().LanguageSuffix);
        for (int r = 0; r < pays->rowCount(); ++r) {
            QString text = pays->valueAt(r, label).toString();
            if (text.trimmed().isEmpty())
                text = pays->valueAt(r, fr).toString();
            pays_->addItem(text, pays->valueAt(r, id));
        }
    }
    agence_ = new QLineEdit(w);
    agence_->setObjectName(QStringLiteral("EdtAgence"));
    agence_->setMaxLength(50);

    auto *schemes = new QHBoxLayout;
    classification_ = new QButtonGroup(this);
    const struct {
        const char *name;
        const char *caption;
        int code;
    } items[] = {{"RbCDU", "CDU", 1}, {"RbCDD", "CDD", 2}, {"RbAutre", "Autre", 3}};
    for (const auto &it : items) {
        auto *rb = new QRadioButton(QLatin1String(it.caption), w);
        rb->setObjectName(QLatin1String(it.name));
        classification_->addButton(rb, it.code);
        schemes->addWidget(rb);
    }
    schemes->addStretch(1);

    auto *form = new QFormLayout(w);
    form->addRow(captioned("LblPays", "Source de catalogage :", w), pays_);
    form->addRow(captioned("LblAgence", "Agence :", w), agence_);
    form->addRow(captioned("LblClassification", "Classification :", w), schemes);
    return w;
}

QComboBox *TFrmParametre::dayList(const char *name)
{
    static const char16_t *fr[7] = {u"Dimanche", u"Lundi", u"Mardi", u"Mercredi", u"Jeudi", u"Vendredi", u"Samedi"};
    static const char16_t *ar[7] = {u"الأحد", u"الإثنين", u"الثلاثاء", u"الأربعاء", u"الخميس", u"الجمعة", u"السبت"};
    auto *c = new QComboBox(this);
    c->setObjectName(QLatin1String(name));
    for (int d = 0; d < 7; ++d)
        c->addItem(QString::fromUtf16(session().ArabicMode ? ar[d] : fr[d]), d + 1);
    c->setCurrentIndex(kFriday);
    return c;
}

QWidget *TFrmParametre::pageCirculation()
{
    QWidget *w = page("TabCirculation", this);
    auto *letters = new QTabWidget(w);
    letters->setObjectName(QStringLiteral("PgcLettres"));
    QWidget *relance = page("TabRelanceLecteur", letters);
    relanceLecteur_ = memo("MemRelanceLecteur", relance);
    (new QVBoxLayout(relance))->addWidget(relanceLecteur_);
    QWidget *quitus = page("TabQuitus", letters);
    quitus_ = memo("MemQuitus", quitus);
    (new QVBoxLayout(quitus))->addWidget(quitus_);
    letters->addTab(relance, QStringLiteral("Lettre de relance"));
    letters->addTab(quitus, QStringLiteral("Quitus"));

    weekend1_ = dayList("CmbWeekend1");
    weekend2_ = dayList("CmbWeekend2");
    auto *days = new QHBoxLayout;
    days->addWidget(captioned("LblWeekend1", "Premier jour :", w));
    days->addWidget(weekend1_);
    days->addSpacing(24);
    days->addWidget(captioned("LblWeekend2", "Deuxième jour :", w));
    days->addWidget(weekend2_);
    days->addStretch(1);

    auto *grp = new QGroupBox(QStringLiteral("Jours d'exceptions :"), w);
    grp->setObjectName(QStringLiteral("GrpExceptions"));
    exceptionModel_ = new DatasetModel(data_.QException, this);
    exceptionModel_->setColumns({QStringLiteral("DATE_DEBUT"), QStringLiteral("DATE_FIN")},
                                {QStringLiteral("Date début"), QStringLiteral("Date fin")});
    exceptions_ = new QTableView(grp);
    exceptions_->setObjectName(QStringLiteral("GrdException"));
    exceptions_->setModel(exceptionModel_);
    ConfigureGrid(exceptions_);
    exceptions_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Dataset *q = data_.QException;
    connect(exceptions_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [q](const QModelIndex &current) {
                if (current.isValid() && current.row() != q->currentRow() && !q->isEditing())
                    q->moveTo(current.row());
            });
    connect(exceptions_, &QTableView::doubleClicked, this, &TFrmParametre::EditException);
    btnAppendException_ = new QPushButton(QStringLiteral("Nouveau"), grp);
    btnAppendException_->setObjectName(QStringLiteral("BtnAppendException"));
    btnEditException_ = new QPushButton(QStringLiteral("Modifier"), grp);
    btnEditException_->setObjectName(QStringLiteral("BtnEditException"));
    btnDeleteException_ = new QPushButton(QStringLiteral("Supprimer"), grp);
    btnDeleteException_->setObjectName(QStringLiteral("BtnDeleteException"));
    for (QPushButton *b : {btnAppendException_, btnEditException_, btnDeleteException_})
        b->setAutoDefault(false);
    connect(btnAppendException_, &QPushButton::clicked, this, &TFrmParametre::AppendException);
    connect(btnEditException_, &QPushButton::clicked, this, &TFrmParametre::EditException);
    connect(btnDeleteException_, &QPushButton::clicked, this, &TFrmParametre::DeleteException);
    auto *side = new QVBoxLayout;
    side->addWidget(btnAppendException_);
    side->addWidget(btnEditException_);
    side->addWidget(btnDeleteException_);
    side->addStretch(1);
    auto *inner = new QHBoxLayout(grp);
    inner->addWidget(exceptions_, 1);
    inner->addLayout(side);

    auto *layout = new QVBoxLayout(w);
    layout->addWidget(letters, 1);
    layout->addLayout(days);
    layout->addWidget(grp, 1);
    return w;
}

QWidget *TFrmParametre::pageAcquisition()
{
    QWidget *w = page("TabAcquisition", this);
    relanceFournisseur_ = memo("MemRelanceFournisseur", w);
    auto *layout = new QVBoxLayout(w);
    layout->addWidget(captioned("LblRelanceFournisseur", "Lettre de relance :", w));
    layout->addWidget(relanceFournisseur_, 1);
    return w;
}

void TFrmParametre::showRow()
{
    binder_->refresh();
    showLetterhead();
}

void TFrmParametre::showLetterhead()
{
    QPixmap pix;
    const QByteArray bytes = data_.QParametre->value(QStringLiteral("ENTETE")).toByteArray();
    if (!bytes.isEmpty() && pix.loadFromData(bytes))
        letterhead_->setPixmap(pix.scaled(letterhead_->minimumSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        letterhead_->clear();
}

bool TFrmParametre::loadLetterhead(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    if (QImage::fromData(bytes).isNull())
        return false;
    Dataset *p = data_.QParametre;
    if (!p->isEditing() || !p->setValue(QStringLiteral("ENTETE"), bytes))
        return false;
    showLetterhead();
    return true;
}

void TFrmParametre::BtnLoadClick()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr2(QStringLiteral("Fichier entête"), QStringLiteral("ملف الترويسة")), QString(),
        tr2(QStringLiteral("Fichiers entête (*.bmp *.jpg *.png);;Tous fichiers (*.*)"),
            QStringLiteral("ملفات الترويسة (*.bmp *.jpg *.png);;كل الملفات (*.*)")));
    if (!path.isEmpty())
        loadLetterhead(path);  // a file that is not a picture is ignored
}

void TFrmParametre::BtnPostClick()
{
    Dataset *p = data_.QParametre;
    // A failed post has shown its message: nothing is lost, the edit stays.
    if (p->isEditing() && !binder_->post())
        return;
    const QVariant cls = p->value(QStringLiteral("CLASSIFICATION"));
    session().ClassificationScheme = cls.isNull() ? 0 : cls.toInt();
    accept();
}

void TFrmParametre::done(int result)
{
    if (result != QDialog::Accepted)
        data_.QParametre->cancel();
    data_.QException->cancel();
    FormDialog::done(result);
}

bool TFrmParametre::openExceptions()
{
    // Read afresh: another workstation may have changed the closed periods.
    Dataset *q = data_.QException;
    q->cancel();
    return q->open(kExceptionSql);
}

void TFrmParametre::updateExceptionButtons()
{
    Dataset *q = data_.QException;
    const bool browsing = q->state() == Dataset::State::Browse;
    btnAppendException_->setEnabled(q->state() != Dataset::State::Insert && q->state() != Dataset::State::Edit);
    btnEditException_->setEnabled(browsing && q->rowCount() > 0);
    btnDeleteException_->setEnabled(browsing && q->rowCount() > 0);
    const int row = q->currentRow();
    if (row >= 0 && row < exceptionModel_->rowCount() && exceptions_->currentIndex().row() != row)
        exceptions_->setCurrentIndex(exceptionModel_->index(row, 0));
}

void TFrmParametre::AppendException()
{
    Dataset *q = data_.QException;
    if (!q->isOpen() && !openExceptions())
        return;
    q->cancel();
    if (!q->append())
        return;
    TFrmException dlg(data_, tr2(QStringLiteral("Nouvelle exception"), QStringLiteral("إستثناء جديد")), this);
    dlg.exec();
    updateExceptionButtons();
}

void TFrmParametre::EditException()
{
    Dataset *q = data_.QException;
    q->cancel();
    if (!q->isOpen() || q->currentRow() < 0 || !q->edit())
        return;
    TFrmException dlg(data_, tr2(QStringLiteral("Mise à jour exception"), QStringLiteral("تعديل الإستثناء")), this);
    dlg.exec();
    updateExceptionButtons();
}

void TFrmParametre::DeleteException()
{
    Dataset *q = data_.QException;
    q->cancel();
    if (!q->isOpen() || q->currentRow() < 0)
        return;
    if (confirmIrreversible(tr2(QStringLiteral("Supprimer cette exception ") + QStringLiteral(" ?"),
                    QStringLiteral("حذف الإستثناء") + QStringLiteral(" ?"))))
        q->remove();
    updateExceptionButtons();
}

} // namespace folian
