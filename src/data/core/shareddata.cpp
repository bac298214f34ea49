#include "data/core/shareddata.h"

#include "base/config.h"
#include "base/messages.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "data/core/connectiontexts.h"
#include "data/core/documenttotal.h"
#include "data/core/helpers.h"
#include "data/core/searchcolumns.h"

#include <QFileInfo>

namespace folian {

namespace {

TFrmData *g_data = nullptr;

enum Flag { PostErr = 1, DeleteErr = 2, Both = PostErr | DeleteErr };

struct QueryRules {
    const char *name;
    const char *idColumn;     // MAX + 1 on insert
    const char *sortColumn;   // label column, `LanguageSuffix` added when `bySuffix`
    bool bySuffix;
    int flags;
    bool collated = true;     // the sort column is text sorted alphabetically
};

// Which shared query carries which rule. Queries not listed carry both
// error messages and no other rule.
const QueryRules kRules[] = {
    {"QNotice", "DOC_ID", nullptr, false, Both},
    {"QRessource", "RES_ID", nullptr, false, Both},
    {"QBulletin", "BUL_ID", nullptr, false, Both},
    {"QSupport", "SUP_ID", nullptr, false, Both},
    {"QLangue", nullptr, "LAN_LIBELLE", true, Both},
    {"QPays", nullptr, "PAY_LIBELLE", true, Both},
    {"QDiplome", "DIP_ID", "DIP_LIBELLE", true, Both},
    {"QSpecialite", "SPE_ID", "SPE_LIBELLE", true, Both},
    {"QFonction", nullptr, "FON_LIBELLE", true, Both},
    {"QMonnaie", "MON_ID", "MON_LIBELLE", true, Both},
    {"QEditeur", "EDT_ID", "EDT_NOM", true, Both},
    {"QVedette", "VED_ID", "VED_NOM", false, Both},
    {"QCollection", "COL_ID", "COL_TITRE_PROPRE", false, Both},
    {"QSousCollection", "SCL_ID", "SCL_TITRE_PROPRE", false, Both},
    {"QClassification", nullptr, "CLA_ID", false, Both, false},
    {"QStructure", "STR_ID", nullptr, false, Both},
    {"QCategorie", "CAT_ID", nullptr, false, Both},
    {"QBibliotheque", "BIB_ID", nullptr, false, Both},
    {"QPEB", "PEB_ID", nullptr, false, Both},
    {"QFournisseur", "FOU_ID", nullptr, false, Both},
    {"QAcquisition", "ACQ_ID", nullptr, false, Both},
    {"QAcquisitionLigne", "ACQ_LIGNE_ID", nullptr, false, Both},
    {"QLivraison", "LIV_ID", nullptr, false, Both},
    {"QChapitre", "CHP_ID", nullptr, false, Both},
    {"QTransfert", "TRS_ID", nullptr, false, Both},
    {"QEngagement", "ENG_ID", nullptr, false, Both},
    {"QSuggestion", "SUG_ID", nullptr, false, Both},
    {"QUtilisateur", "UTL_ID", "UTL_LOGIN", false, PostErr},
    {"QCatalogage", nullptr, nullptr, false, PostErr},
    {"QLookup", nullptr, nullptr, false, PostErr},
    {"QParametre", nullptr, nullptr, false, PostErr},
    {"QFond", nullptr, nullptr, false, PostErr},
    {"QPret", nullptr, nullptr, false, 0},
    {"QReservation", nullptr, nullptr, false, 0},
    {"QPebHistory", nullptr, nullptr, false, 0},
    {"QLogOn", nullptr, nullptr, false, 0},
    {"QLecteurSearch", nullptr, nullptr, false, 0},
    {"QExemplaireSearch", nullptr, nullptr, false, 0},
};

const QueryRules *rulesOf(const QString &name)
{
    for (const QueryRules &r : kRules)
        if (name == QLatin1String(r.name))
            return &r;
    return nullptr;
}

void normalise(Dataset &d, const char *column)
{
    const QString c = QLatin1String(column);
    if (d.hasField(c))
        d.setValue(c, NormaliseStandardNumber(d.value(c)));
}

} // namespace

TFrmData *FrmData() { return g_data; }
void setFrmData(TFrmData *d) { g_data = d; }

QString TFrmData::ConnectionFailedMessage()
{
    return tr2(QStringLiteral("Echec de connexion à la base de données."),
               QStringLiteral("فشل الاتصال بقاعدة البيانات."));
}

QString TFrmData::PostErrorMessage() { return tr2(QStringLiteral("Erreur d'enregistrement."), QStringLiteral("خطأ في التسجيل.")); }

QString TFrmData::DeleteErrorMessage() { return tr2(QStringLiteral("Suppression impossible."), QStringLiteral("الحذف غير ممكن.")); }

TFrmData::TFrmData(QObject *parent) : QObject(parent)
{
    createQueries();
    attachHandlers();
}

TFrmData::~TFrmData()
{
    for (Dataset *d : queries_)
        d->close();
    if (g_data == this)
        g_data = nullptr;
}

void TFrmData::createQueries()
{
#define FOLIAN_CREATE(n, t)                                                     \
    n = new Dataset(db_, QStringLiteral(#n), QStringLiteral(t), this);        \
    queries_ << n;
    FOLIAN_SHARED_QUERIES(FOLIAN_CREATE)
#undef FOLIAN_CREATE
}

Dataset *TFrmData::query(const QString &name) const
{
    for (Dataset *d : queries_)
        if (d->name() == name)
            return d;
    return nullptr;
}

QString TFrmData::reportDatabasePath() const { return scratchDatabasePath(); }

QVariant TFrmData::parametre(const QString &column) const
{
    return QParametre->isOpen() ? QParametre->value(column) : QVariant();
}

QVariant TFrmData::currentDocId() const { return QNotice->value(QStringLiteral("DOC_ID")); }

void TFrmData::stampCreate(Dataset &d)
{
    d.setValue(QStringLiteral("CREATE_USER"), session().CurrentUserLogin);
    d.setValue(QStringLiteral("CREATE_DATE"), ServerDate(db_));
}

void TFrmData::stampUpdate(Dataset &d)
{
    d.setValue(QStringLiteral("UPDATE_USER"), session().CurrentUserLogin);
    d.setValue(QStringLiteral("UPDATE_DATE"), ServerDate(db_));
}

void TFrmData::attachHandlers()
{
    for (Dataset *d : queries_) {
        const QueryRules *r = rulesOf(d->name());
        const int flags = r ? r->flags : Both;
        if (r && r->idColumn)
            d->setAutoKey(QLatin1String(r->idColumn));
        if (r && r->sortColumn) {
            const QString col = QLatin1String(r->sortColumn);
            const bool bySuffix = r->bySuffix;
            const bool collated = r->collated;
            // The label column of the current language, chosen at each open,
            // sorted alphabetically in that language: by its collation key
            // where the table keeps one, which an index serves.
            connect(d, &Dataset::aboutToReset, d, [this, d, col, bySuffix, collated] {
                if (!db_.isOpen())
                    return;
                const QString &language = session().CurrentLanguage;
                const QString label = bySuffix ? col + session().LanguageSuffix : col;
                const QString key = Schema::collationKeyOf(d->table(), label, language);
                if (!key.isEmpty())
                    d->setSortField(key);
                else
                    d->setSortField(label, collated ? db_.dialect().collate(language) : QString());
            });
        }
        if (flags & PostErr)
            d->postError.add([](Dataset &ds, const QSqlError &) {
                if (session().SilentMode)
                    return;
                // A refused value says which field to correct.
                error(ds.refusal().isEmpty() ? PostErrorMessage() : PostErrorMessage() + u'\n' + ds.refusal());
            }, this);
        d->readError.add([this](Dataset &ds) {
            // A lost connection has been told already, once.
            if (!session().SilentMode && !db_.connectionLost())
                error(ds.lastError());
        }, this);
        if (flags & DeleteErr)
            d->deleteError.add([](Dataset &, const QSqlError &) {
                if (!session().SilentMode)
                    error(DeleteErrorMessage());
            }, this);
    }

    // Records
    QNotice->beforePost.add([this](Dataset &d) {
        noticeBeforePost(d);
        return true;
    }, this);
    QNotice->afterInsert.add([this](Dataset &d) { noticeAfterInsert(d); }, this);
    QNotice->afterEdit.add([this](Dataset &d) { stampUpdate(d); }, this);
    QNotice->afterPost.add([](Dataset &d, bool inserted) {
        if (inserted && !IsBlank(d.value(QStringLiteral("TYP_ID"))))
            session().DefaultDocumentType = d.value(QStringLiteral("TYP_ID")).toString();
    }, this);
    QNotice->beforeDelete.add([this](Dataset &d) { return noticeBeforeDelete(d); }, this);

    // Satellites of the current record
    QAuteur->afterInsert.add([this](Dataset &d) {
        d.setValue(QStringLiteral("DOC_ID"), currentDocId());
        d.setValue(QStringLiteral("AUT_TYPE"), d.rowsBefore() == 0 ? 1 : 2);
    }, this);
    for (Dataset *d : {QMatiere, QIndice, QRessource})
        d->afterInsert.add([this](Dataset &ds) { ds.setValue(QStringLiteral("DOC_ID"), currentDocId()); }, this);
    QRessource->beforePost.add([](Dataset &d) {
        d.setValue(QStringLiteral("RES_LIEN"), ResourceLinkName(d.value(QStringLiteral("RES_LIEN"))));
        return true;
    }, this);
    QBulletin->afterInsert.add([this](Dataset &d) {
        d.setValue(QStringLiteral("BIB_ID"), 0);
        d.setValue(QStringLiteral("DOC_ID"), currentDocId());
        d.setValue(QStringLiteral("BUL_STATUT"), 1);
    }, this);
    QExemplaire->afterInsert.add([this](Dataset &d) {
        d.setValue(QStringLiteral("BIB_ID"), 0);
        d.setValue(QStringLiteral("DOC_ID"), currentDocId());
        d.setValue(QStringLiteral("STA_EXP_ID"), 2);
        d.setValue(QStringLiteral("MOD_ID"), 5);
        d.setValue(QStringLiteral("EXP_INVENTORIE"), 1);
    }, this);
    // A copy lent or reserved is not deleted, whoever asks.
    QExemplaire->beforeDelete.add([this](Dataset &d) { return copyBeforeDelete(d); }, this);
    QTypeDocument->beforeInsert.add([](Dataset &) { return false; }, this);

    // Authorities
    QEditeur->afterInsert.add([](Dataset &d) { d.setValue(QStringLiteral("EDT_TYPE"), 1); }, this);
    QEditeur->beforePost.add([](Dataset &d) {
        setSearchColumns(d);
        return true;
    }, this);
    QVedette->beforePost.add([](Dataset &d) {
        setSearchColumns(d);
        if (d.state() == Dataset::State::Edit && IsBlank(d.value(QStringLiteral("VED_ID2"))))
            d.setValue(QStringLiteral("VED_ID2"), d.value(QStringLiteral("VED_ID")));
        return true;
    }, this);
    // A heading with no accepted form refers to itself, once its key is known.
    QVedette->keyAllocated.add([](Dataset &d) {
        if (IsBlank(d.value(QStringLiteral("VED_ID2"))))
            d.setValue(QStringLiteral("VED_ID2"), d.value(QStringLiteral("VED_ID")));
    }, this);
    QCollection->beforePost.add([](Dataset &d) {
        normalise(d, "COL_ISSN");
        return true;
    }, this);
    QSousCollection->beforePost.add([](Dataset &d) {
        normalise(d, "SCL_ISSN");
        return true;
    }, this);

    // Readers
    QLecteur->afterInsert.add([this](Dataset &d) {
        d.setValue(QStringLiteral("BIB_ID"), 0);
        if (QCategorie->isOpen() && QCategorie->rowCount() > 0)
            d.setValue(QStringLiteral("CAT_ID"), QCategorie->valueAt(0, QCategorie->fieldIndex(QStringLiteral("CAT_ID"))));
        d.setValue(QStringLiteral("LEC_STATUT"), 0);
        const QVariant now = ServerDate(db_);
        d.setValue(QStringLiteral("LEC_DATE_ADHESION"), now.isNull() ? now : QVariant(now.toDateTime().date()));
        d.setValue(QStringLiteral("LEC_STAT_PRET"), 0);
        stampCreate(d);
    }, this);
    QLecteur->afterEdit.add([this](Dataset &d) { stampUpdate(d); }, this);

    // Acquisitions and budgets
    for (Dataset *d : {QBudget, QEngagement, QAcquisition}) {
        d->afterInsert.add([this](Dataset &ds) { stampCreate(ds); }, this);
        d->afterEdit.add([this](Dataset &ds) { stampUpdate(ds); }, this);
    }

    // Users: no role and no right until the administrator grants them.
    QUtilisateur->afterInsert.add([](Dataset &d) {
        d.setValue(QStringLiteral("UTL_ROLE"), 0);
        for (Right r : allRights())
            d.setValue(QLatin1String(rightColumn(r)), 0);
    }, this);
}

void TFrmData::noticeAfterInsert(Dataset &d)
{
    const Session &s = session();
    d.setValue(QStringLiteral("TYP_ID"), s.DefaultDocumentType.isEmpty() ? QVariant() : QVariant(s.DefaultDocumentType));
    d.setValue(QStringLiteral("IND_ID"), QStringLiteral("a"));
    d.setValue(QStringLiteral("STA_ID"), 1);
    d.setValue(QStringLiteral("LAN_ID"), s.ArabicMode ? QStringLiteral("ara") : QStringLiteral("fre"));
    d.setValue(QStringLiteral("PAY_ID"), parametre(QStringLiteral("PAY_ID")));
    d.setValue(QStringLiteral("DOC_AGENCE"), parametre(QStringLiteral("AGENCE")));
    d.setValue(QStringLiteral("DOC_PRET_INTERNE"), 0);
    d.setValue(QStringLiteral("DOC_PRET_EXTERNE"), 0);
    d.setValue(QStringLiteral("BIB_ID"), 0);
    stampCreate(d);
}

void TFrmData::noticeBeforePost(Dataset &d)
{
    normalise(d, "DOC_ISBN");
    normalise(d, "DOC_ISSN");
    normalise(d, "DOC_NUM");
    if (IsBlank(d.value(QStringLiteral("STA_ID"))))
        d.setValue(QStringLiteral("STA_ID"), 1);
    setSearchColumns(d);
}

bool TFrmData::noticeBeforeDelete(Dataset &d)
{
    // Runs inside the deletion's transaction: all of it goes, or nothing.
    // The free copies go first, in one conditional statement: a copy lent
    // or reserved meanwhile by another workstation stays, and the record
    // with it.
    const QVariant id = d.value(QStringLiteral("DOC_ID"));
    const QString freeCopies = QStringLiteral("DELETE FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = ? AND ") + CopyIsFreeCondition();
    if (!db_.exec(freeCopies, {id}))
        return false;
    bool ok = false;
    const QVariant left = db_.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = ?"), {id}, &ok);
    if (!ok || left.toInt() > 0)
        return false;
    // The documents that order the record lose its lines: their totals are
    // summed again from the lines they keep.
    QList<int> documents;
    if (!lockDocumentsOrdering(db_, id.toInt(), &documents))
        return false;
    static const char *statements[] = {
        "DELETE FROM NOTICE_AUTEUR WHERE DOC_ID = ?",
        "DELETE FROM NOTICE_MATIERE WHERE DOC_ID = ?",
        "DELETE FROM NOTICE_CLASSIFICATION WHERE DOC_ID = ?",
        "DELETE FROM NOTICE_RESSOURCE WHERE DOC_ID = ?",
        "DELETE FROM NOTICE_BULLETIN WHERE DOC_ID = ?",
        "DELETE FROM LIVRAISON_LIGNE WHERE ACQ_LIGNE_ID IN "
        "(SELECT ACQ_LIGNE_ID FROM ACQUISITION_LIGNE WHERE DOC_ID = ?)",
        "DELETE FROM ACQUISITION_LIGNE WHERE DOC_ID = ?",
    };
    for (const char *sql : statements)
        if (!db_.exec(QLatin1String(sql), {id}))
            return false;
    for (int acqId : std::as_const(documents))
        if (storeDocumentTotal(db_, acqId) == TotalStored::Failed)
            return false;
    return true;
}

bool TFrmData::copyBeforeDelete(Dataset &d)
{
    // Inside the deletion's transaction: the statement holds the row until
    // the end, so a loan cannot slip in between this check and the delete.
    SqlRows q = db_.query(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = LEC_ID WHERE EXP_ID = ? AND ")
                              + CopyIsFreeCondition(),
                          {d.value(QStringLiteral("EXP_ID"))});
    return q.isActive() && q.numRowsAffected() == 1;
}

QString CopyIsFreeCondition()
{
    return QStringLiteral("COALESCE(TRIM(LEC_ID), '') = '' AND COALESCE(TRIM(LEC_ID2), '') = ''");
}

ConnectionParams sessionConnection(const Session &s)
{
    return {s.DbEngine, s.DbServer, s.DbCatalog, s.DbUser, s.DbPassword, s.AppDir, s.DbSslMode, s.DbSslRootCert};
}

QString ConfigurationRefusal(const Session &s, bool read)
{
    if (!read)
        return QFileInfo::exists(s.IniPath) ? configFileUnreadableMessage(s.IniPath) : configFileMissingMessage(s.IniPath);
    if (!Dialect::forEngine(s.DbEngine))
        return unknownEngineMessage(s.DbEngine, s.IniPath);
    if (s.DbCatalog.trimmed().isEmpty())
        return noCatalogMessage(s.IniPath);
    return {};
}

bool OpenSession(TFrmData &data, const QString &iniPath)
{
    Session &s = session();
    const bool read = readConfig(iniPath, s);
    data.connectionError_ = ConfigurationRefusal(s, read);
    if (!data.connectionError_.isEmpty())
        return false;
    return data.DataModuleCreate(sessionConnection(s));
}

void CloseSession(TFrmData &data)
{
    if (data.isConnected())
        writeConfig(session());
    data.DataModuleDestroy();
}

bool TFrmData::DataModuleCreate(const ConnectionParams &p)
{
    connectionError_.clear();
    if (!db_.open(p, false, &connectionError_))
        return false;
    if (!openStartTables()) {
        for (Dataset *d : {QParametre, QUtilisateur, QTypeDocument})
            if (!d->lastError().isEmpty())
                connectionError_ = d->lastError();
        db_.close();
        return false;
    }
    return true;
}

bool TFrmData::openStartTables()
{
    Session &s = session();
    if (!QParametre->open(QStringLiteral("SELECT * FROM PARAMETRE"))
        || !QUtilisateur->open(QStringLiteral("SELECT * FROM UTILISATEUR"))
        || !QTypeDocument->open(QStringLiteral("SELECT * FROM TYPE_DOCUMENT")))
        return false;
    s.AllDocumentTypes.clear();
    QTypeDocument->fetchAll();
    for (int r = 0; r < QTypeDocument->rowCount(); ++r)
        s.AllDocumentTypes += QTypeDocument->valueAt(r, QTypeDocument->fieldIndex(QStringLiteral("TYP_ID"))).toString();
    QParametre->fetchAll();
    QParametre->first();
    const QVariant cls = QParametre->value(QStringLiteral("CLASSIFICATION"));
    s.ClassificationScheme = cls.isNull() ? 0 : cls.toInt();
    return true;
}

void TFrmData::DataModuleDestroy()
{
    for (Dataset *d : queries_)
        d->close();
    db_.close();
}

} // namespace folian
