#include "catalogue/widgets/frmvedette.h"

#include "base/session.h"
#include "catalogue/core/headings.h"
#include "catalogue/widgets/listmodel.h"
#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

namespace folian {

namespace {

const QString kId = QStringLiteral("VED_ID");
const QString kAccepted = QStringLiteral("VED_ID2");

bool isRejected(const QVariant &id, const QVariant &accepted)
{
    return !IsBlank(accepted) && !sameValue(id, accepted);
}

} // namespace

TFrmVedette::TFrmVedette(TFrmData &frmData, int mode, const QString &text, QWidget *parent)
    : TFrmAuthorityList(frmData,
                        {"FrmVedette", u"Liste des vedettes", RefTable::Heading, AuthorityPage::Heading,
                         u"Nouvelle vedette", u"إضافة مدخل", u"Mise à jour vedette", u"تعديل مدخل",
                         u"Supprimer la vedette", u"حذف المدخل",
                         {QStringLiteral("VED_NOM"), QStringLiteral("TYP_VED_ID"), kAccepted},
                         {QStringLiteral("Nom de la vedette"), QStringLiteral("Type de vedette"),
                          QStringLiteral("Vedette retenue")}},
                        mode, parent)
{
    const HeadingListMode m = headingListMode(mode);
    auto *lbl = new QLabel(QStringLiteral("Type :"), options()->parentWidget());
    lbl->setObjectName(QStringLiteral("LblTypVed"));
    kinds_ = new QComboBox(options()->parentWidget());
    kinds_->setObjectName(QStringLiteral("TYP_VED"));
    kinds_->setMinimumWidth(200);
    lbl->setBuddy(kinds_);
    options()->addWidget(lbl);
    options()->addWidget(kinds_);
    lbl->setVisible(m.showsKinds);
    kinds_->setVisible(m.showsKinds);
    fillKinds();
    kinds_->setCurrentIndex(qMax(0, kinds_->findData(m.presetKind)));
    // The management list keeps to the kind chosen: another kind searches again.
    connect(kinds_, &QComboBox::activated, this, [this] {
        if (dataset()->isOpen() && headingListMode(this->mode()).byChosenKind)
            Search();
    });

    model()->setRowDisplay(QStringLiteral("TYP_VED_ID"), [this](int row) {
        return kindNames_.value(dataset()->valueAt(row, QStringLiteral("TYP_VED_ID")).toInt());
    });
    model()->setRowDisplay(kAccepted, [this](int row) { return acceptedName(row); });
    model()->setRowColour([this](int row) {
        return isRejected(dataset()->valueAt(row, kId), dataset()->valueAt(row, kAccepted)) ? QColor(Qt::red)
                                                                                              : QColor();
    });
    connect(dataset(), &Dataset::reset, this, [this] { acceptedNames_.clear(); });
    start(text);
}

int TFrmVedette::kind() const
{
    const QVariant k = kinds_->currentData();
    return k.isValid() ? k.toInt() : headingListMode(mode()).presetKind;
}

void TFrmVedette::fillKinds()
{
    Dataset *kinds = data_.QTypeVedette;
    kinds->open(QStringLiteral("SELECT * FROM TYPE_VEDETTE"));
    const QVariant chosen = kinds_->currentData();
    FieldBinder::fillList(kinds_, kinds, QStringLiteral("TYP_VED_ID"),
                          QStringLiteral("TYP_VED_LIBELLE") + session().LanguageSuffix);
    kindNames_.clear();
    for (int i = 0; i < kinds_->count(); ++i)
        kindNames_.insert(kinds_->itemData(i).toInt(), kinds_->itemText(i));
    if (chosen.isValid())
        kinds_->setCurrentIndex(qMax(0, kinds_->findData(chosen)));
}

void TFrmVedette::afterLocalise()
{
    TFrmAuthorityList::afterLocalise();
    fillKinds();
}

QString TFrmVedette::acceptedName(int row)
{
    const QVariant id = dataset()->valueAt(row, kId);
    const QVariant to = dataset()->valueAt(row, kAccepted);
    if (!isRejected(id, to))
        return {};
    const QString key = to.toString();
    if (!acceptedNames_.contains(key))
        acceptedNames_.insert(key, headingName(data_.db(), to));
    return acceptedNames_.value(key);
}

ListQuery TFrmVedette::searchQuery(const QString &typed) const
{
    return headingSearch(data_.db().dialect(), mode(), kind(), typed, session().CurrentLanguage);
}

void TFrmVedette::prepareNewRow()
{
    dataset()->setValue(QStringLiteral("TYP_VED_ID"), kind());
}

Picked TFrmVedette::currentPick() const
{
    Picked p = TFrmAuthorityList::currentPick();
    // Records link to the accepted form.
    p.accepted = acceptedForm(data_.db(), p.key);
    if (!p.accepted.isValid())
        p.accepted = p.key;
    return p;
}

void TFrmVedette::afterSave(const TFrmAutoriteDetail &sheet)
{
    // Other headings followed this one to its new accepted form: show them as they are now.
    if (sheet.repointed() > 0)
        dataset()->reopen();
    acceptedNames_.clear();
}

} // namespace folian
