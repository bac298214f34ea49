#include "catalogue/widgets/frmautoritedetail.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/headings.h"
#include "catalogue/widgets/frmautoriteselect.h"
#include "catalogue/widgets/linkbox.h"
#include "catalogue/widgets/pickers.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace folian {

namespace {

struct PageDef {
    AuthorityPage page;
    RefTable table;
    const char *name;        // the tab's objectName
    const char16_t *caption; // the tab's caption
};

const PageDef kPages[] = {
    {AuthorityPage::Heading, RefTable::Heading, "TabNotice", u"Notice"},
    {AuthorityPage::Publisher, RefTable::Publisher, "TabEditeur", u"Editeur"},
    {AuthorityPage::Collection, RefTable::Collection, "TabCollection", u"Collection"},
    {AuthorityPage::SubCollection, RefTable::SubCollection, "TabSousCollection", u"Sous collection"},
    {AuthorityPage::Classification, RefTable::Classification, "TabClassification", u"Classification"},
};

const PageDef &pageDef(AuthorityPage p)
{
    for (const PageDef &d : kPages)
        if (d.page == p)
            return d;
    return kPages[0];
}

// "Nom de vedette :" names its field "Nom de vedette" in the messages.
QString fieldCaption(const QString &label)
{
    QString c = label.trimmed();
    if (c.endsWith(u':'))
        c.chop(1);
    return c.trimmed();
}

} // namespace

RefTable refTableOf(AuthorityPage page) { return pageDef(page).table; }

TFrmAutoriteDetail::TFrmAutoriteDetail(TFrmData &frmData, AuthorityPage page, const QString &french,
                                       const QString &arabic, QWidget *parent)
    : FormDialog(parent), data_(frmData), page_(page), french_(french), arabic_(arabic)
{
    setObjectName(QStringLiteral("FrmAutoriteDetail"));
    setWindowTitle(french);
    setModal(true);
    dataset_ = data_.query(QLatin1String(refTableDef(refTableOf(page)).query));
    binder_ = new FieldBinder(dataset_, this);

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl"));
    QWidget *sheet = buildPage();
    tabs->addTab(sheet, QString::fromUtf16(pageDef(page).caption));

    auto *btnPost = new QPushButton(QStringLiteral("Enregistrer"), this);
    btnPost->setObjectName(QStringLiteral("BtnPost"));
    auto *btnCancel = new QPushButton(QStringLiteral("Annuler"), this);
    btnCancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(btnPost, &QPushButton::clicked, this, &TFrmAutoriteDetail::BtnPostClick);
    connect(btnCancel, &QPushButton::clicked, this, &TFrmAutoriteDetail::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPost);
    buttons->addWidget(btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    fillLists();
    nameFields();
    binder_->refresh();
    connect(dataset_, &Dataset::rowChanged, this, [this] { showLink(); });
    showLink();
}

QLabel *TFrmAutoriteDetail::addRow(QFormLayout *form, const char *name, const char16_t *label, QWidget *field,
                                   QLayout *row)
{
    auto *lbl = new QLabel(QString::fromUtf16(label), form->parentWidget());
    lbl->setObjectName(QStringLiteral("Lbl") + QLatin1String(name));
    lbl->setBuddy(field);
    if (row)
        form->addRow(lbl, row);
    else
        form->addRow(lbl, field);
    return lbl;
}

template <typename W>
W *TFrmAutoriteDetail::addField(QFormLayout *form, const char *prefix, const char *name, const char16_t *label,
                                const QString &column)
{
    auto *field = new W(form->parentWidget());
    field->setObjectName(QLatin1String(prefix) + QLatin1String(name));
    captions_.append({column, addRow(form, name, label, field)});
    binder_->bind(field, column);
    return field;
}

QLineEdit *TFrmAutoriteDetail::addLine(QFormLayout *form, const char *name, const char16_t *label,
                                       const QString &column)
{
    return addField<QLineEdit>(form, "Edt", name, label, column);
}

QComboBox *TFrmAutoriteDetail::addList(QFormLayout *form, const char *name, const char16_t *label,
                                       const QString &column)
{
    return addField<QComboBox>(form, "Cmb", name, label, column);
}

void TFrmAutoriteDetail::addLink(QFormLayout *form, const char *name, const char16_t *label)
{
    QWidget *parent = form->parentWidget();
    link_ = new LinkBox(parent);
    link_->setObjectName(QStringLiteral("Edt") + QLatin1String(name));
    auto *button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(QStringLiteral("Btn") + QLatin1String(name));
    button->setFixedWidth(32);
    auto *row = new QHBoxLayout;
    row->addWidget(link_, 1);
    row->addWidget(button);
    addRow(form, name, label, link_, row);
    connect(link_, &LinkBox::clearRequested, this, &TFrmAutoriteDetail::ClearLink);
    connect(link_, &LinkBox::pickRequested, this, &TFrmAutoriteDetail::PickLink);
    connect(button, &QPushButton::clicked, this, [this] { PickLink(); });
}

QWidget *TFrmAutoriteDetail::buildPage()
{
    auto *sheet = new QWidget(this);
    sheet->setObjectName(QLatin1String(pageDef(page_).name));
    auto *form = new QFormLayout(sheet);
    switch (page_) {
    case AuthorityPage::Heading: {
        list_ = addList(form, "TypVed", u"Type de vedette :", QStringLiteral("TYP_VED_ID"));
        addLine(form, "VedNom", u"Nom de vedette :", QStringLiteral("VED_NOM"))->setFocus();
        addLink(form, "Retenue", u"Vedette retenue :");
        auto *notes = addField<QPlainTextEdit>(form, "Edt", "VedNotes", u"Notes :", QStringLiteral("VED_NOTES"));
        notes->setTabChangesFocus(true);
        notes->setFixedHeight(90);
        addLine(form, "VedOrigine", u"Origine :", QStringLiteral("VED_ORIGINE"));
        break;
    }
    case AuthorityPage::Publisher:
        addLine(form, "EdtNom", u"Nom editeur :", QStringLiteral("EDT_NOM"))->setFocus();
        addLine(form, "EdtNomAr", u"Nom (AR) :", QStringLiteral("EDT_NOM_AR"));
        list_ = addList(form, "Pays", u"Pays :", QStringLiteral("PAY_ID"));
        type_ = addList(form, "EdtType", u"Type :", QStringLiteral("EDT_TYPE"));
        addLine(form, "EdtAdresse", u"Adresse :", QStringLiteral("EDT_ADRESSE"));
        addLine(form, "EdtTel", u"Téléphone :", QStringLiteral("EDT_TEL"));
        addLine(form, "EdtFax", u"Fax :", QStringLiteral("EDT_FAX"));
        addLine(form, "EdtEmail", u"E-Mail :", QStringLiteral("EDT_EMAIL"));
        addLine(form, "EdtUrl", u"Site Web :", QStringLiteral("EDT_URL"));
        break;
    case AuthorityPage::SubCollection:
        addLink(form, "Collection", u"Collection :");
        [[fallthrough]];
    case AuthorityPage::Collection: {
        const QString p = page_ == AuthorityPage::Collection ? QStringLiteral("COL_") : QStringLiteral("SCL_");
        addLine(form, "TitrePropre", u"Titre propre :", p + QStringLiteral("TITRE_PROPRE"))->setFocus();
        addLine(form, "TitreParallele", u"Titre parallèle :", p + QStringLiteral("TITRE_PARALLELE"));
        addLine(form, "TitreComplement", u"Complément du titre :", p + QStringLiteral("TITRE_COMPLEMENT"));
        addLine(form, "Responsabilite", u"Mention de résponsabilité :", p + QStringLiteral("RESPONSABILITE"));
        addLine(form, "Issn", u"ISSN :", p + QStringLiteral("ISSN"));
        break;
    }
    case AuthorityPage::Classification:
        addLine(form, "ClaId", u"Indice :", QStringLiteral("CLA_ID"))->setFocus();
        addLine(form, "ClaLibelle", u"Libellé :", QStringLiteral("CLA_LIBELLE"));
        addLine(form, "ClaLibelleAr", u"Libellé (AR) :", QStringLiteral("CLA_LIBELLE_AR"));
        break;
    }
    return sheet;
}

void TFrmAutoriteDetail::fillLists()
{
    const QString suffix = session().LanguageSuffix;
    if (page_ == AuthorityPage::Heading) {
        data_.QTypeVedette->open(QStringLiteral("SELECT * FROM TYPE_VEDETTE"));
        FieldBinder::fillList(list_, data_.QTypeVedette, QStringLiteral("TYP_VED_ID"),
                              QStringLiteral("TYP_VED_LIBELLE") + suffix);
    } else if (page_ == AuthorityPage::Publisher) {
        data_.QPays->open(QStringLiteral("SELECT * FROM PAYS"));
        FieldBinder::fillList(list_, data_.QPays, QStringLiteral("PAY_ID"), QStringLiteral("PAY_LIBELLE") + suffix,
                              true);
        const QSignalBlocker block(type_);
        type_->clear();
        type_->addItem(tr2(QStringLiteral("Editeur"), QStringLiteral("ناشر")), 1);
        type_->addItem(tr2(QStringLiteral("Diffuseur"), QStringLiteral("موزع")), 2);
    }
}

void TFrmAutoriteDetail::afterLocalise()
{
    setWindowTitle(tr2(french_, arabic_));
    nameFields();
    // The lists read their labels in the language of the interface.
    fillLists();
    binder_->refresh();
    showLink();
}

void TFrmAutoriteDetail::nameFields()
{
    for (const auto &[column, label] : std::as_const(captions_))
        binder_->setCaption(column, fieldCaption(label->text()));
}

QString TFrmAutoriteDetail::linkColumn() const
{
    return page_ == AuthorityPage::Heading ? QStringLiteral("VED_ID2") : QStringLiteral("COL_ID");
}

void TFrmAutoriteDetail::showLink()
{
    if (!link_)
        return;
    const QVariant to = dataset_->value(linkColumn());
    QString name;
    if (page_ == AuthorityPage::Heading) {
        // A heading that is its own accepted form shows an empty box.
        if (!IsBlank(to) && !sameValue(to, dataset_->value(QStringLiteral("VED_ID"))))
            name = headingName(data_.db(), to);
    } else if (!IsBlank(to)) {
        name = data_.db()
                   .scalar(QStringLiteral("SELECT COL_TITRE_PROPRE FROM COLLECTION WHERE COL_ID = ?"), {to})
                   .toString();
    }
    link_->setText(name);
    link_->setCursorPosition(0);
}

void TFrmAutoriteDetail::PickLink(const QString &typed)
{
    const QString text = !typed.isEmpty() ? typed + u'*'
        : link_->text().trimmed().isEmpty() ? QString()
                                            : link_->text().trimmed() + u'*';
    QVariant chosen;
    if (page_ == AuthorityPage::Heading) {
        const QVariant self = dataset_->state() == Dataset::State::Insert ? QVariant()
                                                                          : dataset_->value(QStringLiteral("VED_ID"));
        TFrmAutoriteSelect select(data_, dataset_->value(QStringLiteral("TYP_VED_ID")).toInt(), self, text, this);
        if (select.exec() != QDialog::Accepted)
            return;
        // A rejected form chosen gives its own accepted form.
        const AcceptedChoice choice = resolveAcceptedForm(data_.db(), self, select.chosenId());
        if (!choice.ok()) {
            error(choice.refusal);
            return;
        }
        chosen = choice.accepted;
    } else {
        const Picked p = pick(this, data_, PickRequest{PickList::Collection, 1, text, {}});
        if (!p.ok())
            return;
        chosen = p.key;
    }
    if (!dataset_->edit() || !dataset_->setValue(linkColumn(), chosen))
        error(postFailure(*dataset_));
    showLink();
}

void TFrmAutoriteDetail::ClearLink()
{
    if (dataset_->edit())
        dataset_->setValue(linkColumn(), QVariant());
    showLink();
}

void TFrmAutoriteDetail::BtnPostClick()
{
    if (!binder_->submit())
        return;
    QString message;
    if (page_ == AuthorityPage::Heading) {
        const HeadingSave saved = postHeading(*dataset_);
        message = saved.message;
        repointed_ = saved.repointed;
    } else {
        message = postReference(*dataset_, refTableOf(page_));
    }
    if (!message.isEmpty()) {
        error(message);
        return;
    }
    accept();
}

void TFrmAutoriteDetail::reject()
{
    if (dataset_->isEditing())
        dataset_->cancel();
    FormDialog::reject();
}

} // namespace folian
