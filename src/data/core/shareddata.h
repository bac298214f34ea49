#pragma once
// The shared data module: the one connection, the named shared queries that
// every screen reuses, and the rules attached to them that hold whichever
// screen posts a row (keys, keywords, normalised numbers, defaults of new
// rows, audit stamps, the cascade of a record's deletion, the two messages).

#include "data/core/database.h"
#include "data/core/dataset.h"

#include <QObject>

namespace folian {

struct Session;

// name, table
#define FOLIAN_SHARED_QUERIES(X)                                                                  \
    X(QNotice, "NOTICE") X(QAuteur, "NOTICE_AUTEUR") X(QMatiere, "NOTICE_MATIERE")                 \
    X(QIndice, "NOTICE_CLASSIFICATION") X(QRessource, "NOTICE_RESSOURCE")                         \
    X(QBulletin, "NOTICE_BULLETIN") X(QExemplaire, "NOTICE_EXEMPLAIRE")                            \
    X(QTypeDocument, "TYPE_DOCUMENT") X(QSupport, "SUPPORT") X(QIndication, "INDICATION")          \
    X(QLangue, "LANGUE") X(QPays, "PAYS") X(QDiplome, "DIPLOME") X(QSpecialite, "SPECIALITE")      \
    X(QFonction, "FONCTION") X(QMonnaie, "MONNAIE") X(QEditeur, "EDITEUR")                          \
    X(QVedette, "VEDETTE") X(QCollection, "COLLECTION") X(QSousCollection, "SOUS_COLLECTION")      \
    X(QClassification, "CLASSIFICATION") X(QStructure, "STRUCTURE") X(QCategorie, "CATEGORIE")     \
    X(QReglement, "REGLEMENT") X(QLecteur, "LECTEUR") X(QBibliotheque, "BIBLIOTHEQUE")             \
    X(QPEB, "PEB") X(QModeAcquisition, "MODE_ACQUISITION") X(QFournisseur, "FOURNISSEUR")          \
    X(QAcquisition, "ACQUISITION") X(QAcquisitionLigne, "ACQUISITION_LIGNE")                       \
    X(QLivraison, "LIVRAISON") X(QLivraisonLigne, "LIVRAISON_LIGNE") X(QFacture, "FACTURE")        \
    X(QBudget, "BUDGET") X(QChapitre, "CHAPITRE") X(QTransfert, "TRANSFERT")                       \
    X(QEngagement, "ENGAGEMENT") X(QSuggestion, "SUGGESTION") X(QLocalisation, "LOCALISATION")     \
    X(QPeriodicite, "PERIODICITE") X(QTypeVedette, "TYPE_VEDETTE") X(QRelation, "RELATION")        \
    X(QStatutNotice, "STATUT_NOTICE") X(QStatutExemplaire, "STATUT_EXEMPLAIRE")                    \
    X(QUtilisateur, "UTILISATEUR") X(QCatalogage, "CATALOGAGE") X(QParametre, "PARAMETRE")         \
    X(QException, "JOUR_EXCEPTION") X(QPret, "NOTICE_EXEMPLAIRE")                                  \
    X(QReservation, "NOTICE_EXEMPLAIRE") X(QPebHistory, "PEB") X(QLecteurSearch, "LECTEUR")        \
    X(QExemplaireSearch, "NOTICE_EXEMPLAIRE") X(QControle, "") X(QLookup, "") X(QLogOn, "")        \
    X(QFond, "")

class TFrmData : public QObject
{
    Q_OBJECT
public:
    explicit TFrmData(QObject *parent = nullptr);
    ~TFrmData() override;

    // Start: opens the connection and the three tables the start needs,
    // sets AllDocumentTypes and ClassificationScheme. False on any failure
    // (the caller shows ConnectionFailedMessage and ends the program).
    bool DataModuleCreate(const ConnectionParams &params);
    // End: closes the queries and the connection.
    void DataModuleDestroy();

    Database &db() { return db_; }
    bool isConnected() const { return db_.isOpen(); }
    Dataset *query(const QString &name) const;
    QList<Dataset *> queries() const { return queries_; }

    // The path of the scratch report database (opened only by its users).
    QString reportDatabasePath() const;

#define FOLIAN_DECLARE(n, t) Dataset *n = nullptr;
    FOLIAN_SHARED_QUERIES(FOLIAN_DECLARE)
#undef FOLIAN_DECLARE

    static QString ConnectionFailedMessage();
    // Why the last start failed (the engine's own words), for the operator.
    QString connectionError() const { return connectionError_; }
    friend bool OpenSession(TFrmData &data, const QString &iniPath);
    static QString PostErrorMessage();
    static QString DeleteErrorMessage();

private:
    void createQueries();
    void attachHandlers();
    bool openStartTables();
    // Rule handlers
    void noticeBeforePost(Dataset &d);
    void noticeAfterInsert(Dataset &d);
    bool noticeBeforeDelete(Dataset &d);
    bool copyBeforeDelete(Dataset &d);
    void stampCreate(Dataset &d);
    void stampUpdate(Dataset &d);
    QVariant parametre(const QString &column) const;
    QVariant currentDocId() const;

    Database db_;
    QList<Dataset *> queries_;
    QString connectionError_;
};

// The SQL condition on a NOTICE_EXEMPLAIRE row that is neither lent
// (LEC_ID) nor reserved (LEC_ID2): only such a copy may be deleted.
QString CopyIsFreeCondition();

// The connection the session's configuration names.
ConnectionParams sessionConnection(const Session &s);
// Why the configuration read into the session names no database that can
// be opened (the file missing, no engine or catalog it knows), naming the
// file; empty when it does. `read` tells whether the file could be read.
QString ConfigurationRefusal(const Session &s, bool read);

// The program's start and end around a data module: reads the INI file into
// the session and connects; at the end writes the INI back, only when the
// connection was open, then closes it.
bool OpenSession(TFrmData &data, const QString &iniPath);
void CloseSession(TFrmData &data);

// The process-wide data module of the desktop program (null before start).
TFrmData *FrmData();
void setFrmData(TFrmData *d);

} // namespace folian
