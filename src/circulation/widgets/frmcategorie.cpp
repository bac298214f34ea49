#include "circulation/widgets/frmcategorie.h"

#include "base/messages.h"
#include "base/rights.h"
#include "circulation/core/categories.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/widgets/frmreglement.h"
#include "data/core/datasetmodel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {
const QString kProportion = QStringLiteral("PROPORTION");
}

TFrmCategorie::TFrmCategorie(TFrmData &frmData, QWidget *parent)
    : ListEditScreen(frmData, frmData.QCategorie, QStringLiteral("CAT_ID"), QStringLiteral("CAT_LIBELLE"), Mode::Manage,
                     allowed(Right::CirculAdmin, session()), parent)
{
    setObjectName(QStringLiteral("FrmCategorie"));
    setWindowTitle(QStringLiteral("Catégories"));
    Dataset *categories = dataset();
    if (!categories->isOpen() || categories->isEditing())
        categories->open(QStringLiteral("SELECT * FROM CATEGORIE"));
    categories->beforePost.add([this](Dataset &d) { return keepReservedLabel(data_.db(), d); }, this);
    for (const auto &c : {std::pair{"CAT_LIBELLE", "Catégorie"}, std::pair{"CAT_ADHESION", "Durée d'adhésion"},
                          std::pair{"CAT_PENALITE", "Durée de pénalité"}})
        categories->setFieldCaption(QLatin1String(c.first), QString::fromUtf8(c.second));
    setColumns({QStringLiteral("CAT_LIBELLE"), QStringLiteral("CAT_ADHESION"), QStringLiteral("CAT_PENALITE"), kProportion},
               {QStringLiteral("Catégorie"), QStringLiteral("Durée d'adhésion"), QStringLiteral("Durée de pénalité"),
                QStringLiteral("Pénalité proportionnelle")});
    model()->setRowDisplay(kProportion, [](int) { return QString(); });
    model()->setStyle([categories](int row, const QString &field, int role) -> QVariant {
        if (field != kProportion || role != Qt::CheckStateRole)
            return {};
        return categories->valueAt(row, QStringLiteral("CAT_PENALITE_PROP")).toInt() == 1 ? Qt::Checked : Qt::Unchecked;
    });
    const int widths[] = {260, 150, 150};
    for (int c = 0; c < int(std::size(widths)); ++c)
        grid()->setColumnWidth(c, widths[c]);
    connect(grid(), &QTableView::clicked, this, [this](const QModelIndex &i) {
        if (model()->fieldOf(i.column()) == kProportion)
            ToggleProportional(i.row());
    });

    auto *group = new QGroupBox(QStringLiteral("Règlements"), this);
    group->setObjectName(QStringLiteral("GrpReglement"));
    auto *rulesModel = new DatasetModel(data_.QReglement, this);
    rulesModel->setColumns({QStringLiteral("TYPE"), QStringLiteral("REG_DOCUMENT"), QStringLiteral("REG_PRET"),
                            QStringLiteral("REG_PROLONGATION"), QStringLiteral("REG_RESERVATION")},
                           {QStringLiteral("Type de document"), QStringLiteral("Nbr de document"),
                            QStringLiteral("Durée de prêt"), QStringLiteral("Durée de prolongation"),
                            QStringLiteral("Durée de réservation")});
    rules_ = new QTableView(group);
    rules_->setObjectName(QStringLiteral("DBGrid2"));
    rules_->setModel(rulesModel);
    ConfigureGrid(rules_);
    rules_->horizontalHeader()->setStretchLastSection(true);
    const int ruleWidths[] = {240, 140, 140, 170};
    for (int c = 0; c < int(std::size(ruleWidths)); ++c)
        rules_->setColumnWidth(c, ruleWidths[c]);
    connect(rules_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &i) {
        if (i.isValid() && !data_.QReglement->isEditing())
            data_.QReglement->moveTo(i.row());
    });
    connect(rules_, &QTableView::doubleClicked, this, &TFrmCategorie::BtnEditRuleClick);
    const auto ruleButton = [group](const char *name, const char *caption) {
        auto *b = new QPushButton(QString::fromUtf8(caption), group);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    btnAppendRule_ = ruleButton("BtnAppendRule", "Nouveau");
    btnEditRule_ = ruleButton("BtnEditRule", "Modifier");
    btnDeleteRule_ = ruleButton("BtnDeleteRule", "Supprimer");
    connect(btnAppendRule_, &QPushButton::clicked, this, &TFrmCategorie::BtnAppendRuleClick);
    connect(btnEditRule_, &QPushButton::clicked, this, &TFrmCategorie::BtnEditRuleClick);
    connect(btnDeleteRule_, &QPushButton::clicked, this, &TFrmCategorie::BtnDeleteRuleClick);
    auto *gl = new QHBoxLayout(group);
    gl->addWidget(rules_, 1);
    auto *bl = new QVBoxLayout;
    bl->addWidget(btnAppendRule_);
    bl->addWidget(btnEditRule_);
    bl->addWidget(btnDeleteRule_);
    bl->addStretch(1);
    gl->addLayout(bl);
    body()->addWidget(group, 1);
    if (auto *main = qobject_cast<QVBoxLayout *>(layout()))
        main->setStretchFactor(body(), 1);

    // The rules follow the category, also a new one once it is saved.
    for (auto signal : {&Dataset::stateChanged, &Dataset::reset})
        connect(categories, signal, this, [this] { openRules(); });
    connect(categories, &Dataset::currentChanged, this, [this] { openRules(); });
    for (auto signal : {&Dataset::stateChanged, &Dataset::reset})
        connect(data_.QReglement, signal, this, [this] { updateButtons(); });
    openRules();
    updateButtons();
}

bool TFrmCategorie::cellEditable(int row, const QString &field) const
{
    if (field == QLatin1String("CAT_LIBELLE"))
        return !isReservedCategory(dataset()->valueAt(row, QStringLiteral("CAT_ID")));
    return field == QLatin1String("CAT_ADHESION") || field == QLatin1String("CAT_PENALITE");
}

QString TFrmCategorie::deleteQuestion() const
{
    return circ::deleteCategoryQuestion(dataset()->value(QStringLiteral("CAT_LIBELLE")).toString());
}

QString TFrmCategorie::deleteRefusal() const
{
    return isReservedCategory(currentKey()) ? circ::categoryNotDeletable() : QString();
}

QString TFrmCategorie::deleteCurrent() { return deleteCategory(data_.db(), currentKey().toInt()); }

void TFrmCategorie::afterChange()
{
    LookupCount(data_.db(), QStringLiteral("CATEGORIE"), tr2(QStringLiteral("Catégories"), QStringLiteral("الفئات")),
                tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

void TFrmCategorie::updateMore()
{
    if (!btnDeleteRule_)
        return;  // still being built
    const bool category = !IsBlank(currentKey()) && dataset()->state() == Dataset::State::Browse;
    const bool browsing = data_.QReglement->state() == Dataset::State::Browse;
    const bool rules = browsing && data_.QReglement->rowCount() > 0;
    btnAppendRule_->setEnabled(mayEdit() && category);
    btnEditRule_->setEnabled(mayEdit() && category && rules);
    btnDeleteRule_->setEnabled(mayEdit() && category && rules);
}

void TFrmCategorie::openRules()
{
    Dataset *rules = data_.QReglement;
    const QVariant cat = currentKey();
    if (rules->isEditing() || (rules->isOpen() && sameValue(cat, rulesOf_)))
        return;
    rulesOf_ = cat;
    const SqlText sql = categoryRulesSql(IsBlank(cat) ? -2147483647 : cat.toInt());
    rules->open(sql.sql, sql.binds);
    updateButtons();
}

void TFrmCategorie::ToggleProportional(int row)
{
    Dataset *categories = dataset();
    if (!mayEdit() || row < 0 || row >= categories->rowCount())
        return;
    // A pending edit of the row is saved first; a failure gives it up.
    if (categories->isEditing()) {
        if (categories->currentRow() != row)
            return;
        if (!categories->post()) {
            categories->cancel();
            return;
        }
    }
    categories->moveTo(row);
    if (categories->state() == Dataset::State::Browse
        && toggleProportionalPenalty(data_.db(), categories->value(QStringLiteral("CAT_ID")).toInt()))
        categories->refreshRow();
}

void TFrmCategorie::openRuleSheet(const QString &title)
{
    TFrmReglement sheet(data_, currentKey(), title, this);
    sheet.exec();
    const QString type = data_.QReglement->isOpen() ? data_.QReglement->value(QStringLiteral("TYP_ID")).toString() : QString();
    rulesOf_ = QVariant();
    openRules();
    if (!type.isEmpty())
        data_.QReglement->locate(QStringLiteral("TYP_ID"), type);
}

void TFrmCategorie::BtnAppendRuleClick()
{
    Dataset *rules = data_.QReglement;
    if (!btnAppendRule_->isEnabled())
        return;
    if (rules->isEditing())
        rules->cancel();
    if (!rules->isOpen())
        openRules();
    if (!rules->append())
        return;
    openRuleSheet(tr2(QStringLiteral("Ajouter règlement"), QStringLiteral("إضافة قانون")));
}

void TFrmCategorie::BtnEditRuleClick()
{
    Dataset *rules = data_.QReglement;
    if (!btnEditRule_->isEnabled() || rules->currentRow() < 0 || !rules->edit())
        return;
    openRuleSheet(tr2(QStringLiteral("Modifier règlement"), QStringLiteral("تعديل قانون")));
}

void TFrmCategorie::BtnDeleteRuleClick()
{
    Dataset *rules = data_.QReglement;
    if (!btnDeleteRule_->isEnabled() || rules->currentRow() < 0 || !confirmIrreversible(circ::deleteRuleQuestion()))
        return;
    const QString refusal = deleteRule(data_.db(), currentKey().toInt(), rules->value(QStringLiteral("TYP_ID")).toString());
    if (!refusal.isEmpty()) {
        inform(refusal);
        return;
    }
    rulesOf_ = QVariant();
    openRules();
}

} // namespace folian
