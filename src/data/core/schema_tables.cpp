// The tables of the main database and of the scratch report database.
//
// Keys are allocated by the program (largest key plus one) or typed by the
// operator; code-keyed reference tables are keyed by their code. Tables
// that have no natural key get a hidden integer row number (surrogateKey).
// No foreign keys are declared: the program checks references itself and
// deletes dependent rows in its own order.

#include "schema.h"
#include "schema_scratch.h"

#include <QHash>

#include <initializer_list>

namespace folian {

namespace {

using Columns = QVector<ColumnDef>;
using Indexes = QVector<IndexDef>;

ColumnDef column(const char *name, ColType type, int size = 0)
{
    ColumnDef c;
    c.name = QString::fromLatin1(name);
    c.type = type;
    c.size = size;
    return c;
}

ColumnDef intCol(const char *name) { return column(name, ColType::Integer); }
ColumnDef smallCol(const char *name) { return column(name, ColType::SmallInt); }
ColumnDef textCol(const char *name, int size) { return column(name, ColType::Text, size); }
ColumnDef memoCol(const char *name) { return column(name, ColType::Memo); }
ColumnDef dateCol(const char *name) { return column(name, ColType::Date); }
ColumnDef dateTimeCol(const char *name) { return column(name, ColType::DateTime); }
ColumnDef moneyCol(const char *name) { return column(name, ColType::Money); }
ColumnDef blobCol(const char *name) { return column(name, ColType::Blob); }

constexpr int NameSize = 255;   // names, titles, labels, addresses
constexpr int LoginSize = 50;   // logins, also the audit user columns
constexpr int ReaderIdSize = 30;
constexpr int CopyIdSize = 50;

// The creation and last-edit stamps.
Columns audit()
{
    return {textCol("CREATE_USER", LoginSize), dateTimeCol("CREATE_DATE"),
            textCol("UPDATE_USER", LoginSize), dateTimeCol("UPDATE_DATE")};
}

// The folded words and the collation keys the program keeps beside a
// table's keywords (Schema::searchColumns).
Columns searchColumns(const char *prefix)
{
    const QByteArray p(prefix);
    return {memoCol(QByteArray(p + "_MOTS").constData()), blobCol(QByteArray(p + "_CLE_FR").constData()),
            blobCol(QByteArray(p + "_CLE_AR").constData())};
}

// French label and its Arabic counterpart (`<prefix>_LIBELLE`, `..._AR`).
Columns labels(const char *prefix)
{
    const QByteArray base = QByteArray(prefix) + "_LIBELLE";
    return {textCol(base.constData(), NameSize),
            textCol(QByteArray(base + "_AR").constData(), NameSize)};
}

QStringList names(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *n : list)
        out.append(QString::fromLatin1(n));
    return out;
}

IndexDef index(const char *table, const char *what, std::initializer_list<const char *> columns,
               bool unique = false)
{
    IndexDef ix;
    ix.name = QStringLiteral("IX_%1_%2").arg(QLatin1String(table), QLatin1String(what));
    ix.columns = names(columns);
    ix.unique = unique;
    return ix;
}

// An index on one column, named after it.
IndexDef indexOn(const char *table, const char *col, bool unique = false)
{
    return index(table, col, {col}, unique);
}

TableDef makeTable(const char *name, const Columns &columns,
                   std::initializer_list<const char *> key, bool surrogate = false,
                   const Indexes &indexes = {})
{
    TableDef t;
    t.name = QString::fromLatin1(name);
    t.columns = columns;
    t.primaryKey = names(key);
    t.surrogateKey = surrogate;
    t.indexes = indexes;
    for (ColumnDef &c : t.columns) {
        if (t.primaryKey.contains(c.name))
            c.notNull = true;
    }
    return t;
}

// --- Administration -------------------------------------------------------

void addAdministration(QVector<TableDef> &out)
{
    Columns user = {
        intCol("UTL_ID"),
        textCol("UTL_LOGIN", LoginSize),
        textCol("UTL_PASSWORD", 255),   // salted hash
        textCol("UTL_NOM", 100),
        textCol("UTL_PRENOM", 100),
        textCol("UTL_TEL", 50),
        textCol("UTL_EMAIL", 100),
        textCol("UTL_ADRESSE", NameSize),
        smallCol("UTL_ROLE"),
    };
    // The rights, in their fixed order.
    for (const char *right : {"UTL_ACQ_ACCES", "UTL_ACQ_ADMIN", "UTL_ACQ_TRANSACT",
                              "UTL_ACQ_BUDGET", "UTL_ACQ_EDITION", "UTL_CAT_ACCES",
                              "UTL_CAT_ADMIN", "UTL_CAT_NOTICE", "UTL_CAT_IMPORT",
                              "UTL_CAT_AUTORITE", "UTL_CAT_EDITION", "UTL_CIRCUL_ACCES",
                              "UTL_CIRCUL_ADMIN", "UTL_CIRCUL_LECTEUR", "UTL_CIRCUL_TRANSACT",
                              "UTL_CIRCUL_PEB", "UTL_CIRCUL_EDITION"})
        user.append(smallCol(right));
    out << makeTable("UTILISATEUR", user, {"UTL_ID"}, false,
                     {indexOn("UTILISATEUR", "UTL_LOGIN", true)});

    out << makeTable("CATALOGAGE", {intCol("UTL_ID"), textCol("TYP_ID", 1)},
                     {"UTL_ID", "TYP_ID"});

    out << makeTable("PARAMETRE",
                     {intCol("PAR_ID"),
                      textCol("PAY_ID", 2),
                      textCol("AGENCE", 50),
                      intCol("CLASSIFICATION"),
                      memoCol("RELANCE_LECTEUR"),
                      memoCol("QUITUS"),
                      memoCol("RELANCE_FOURNISSEUR"),
                      intCol("WEEKEND1"),
                      intCol("WEEKEND2"),
                      blobCol("ENTETE")},
                     {"PAR_ID"}, true);

    out << makeTable("JOUR_EXCEPTION",
                     {intCol("JEX_ID"), dateCol("DATE_DEBUT"), dateCol("DATE_FIN")},
                     {"JEX_ID"}, true);
}

// --- Catalogue: records and their satellites ------------------------------

void addRecords(QVector<TableDef> &out)
{
    Columns notice = {
        intCol("DOC_ID"),
        textCol("TYP_ID", 1),
        textCol("IND_ID", 1),
        intCol("STA_ID"),
        textCol("LAN_ID", 3),
        textCol("LAN_ID2", 3),
        textCol("PER_ID", 1),
        textCol("DOC_TITRE_PROPRE", 500),
        textCol("DOC_TITRE_PARALLELE", 500),
        textCol("DOC_TITRE_COMPLEMENT", 500),
        textCol("DOC_TITRE_ENSEMBLE", 500),
        textCol("DOC_NUMERO_PARTIE", 100),
        textCol("DOC_ISBN", 40),
        textCol("DOC_ISSN", 30),
        textCol("DOC_NUM", 50),
        textCol("DOC_EDITION", NameSize),
        textCol("DOC_LIEU_EDITION", NameSize),
        textCol("DOC_LIEU_EDITION2", NameSize),
        intCol("EDT_ID"),
        intCol("EDT_ID2"),
        textCol("DOC_ANNEE", 50),
        textCol("DOC_NBR_UNITE", NameSize),
        textCol("DOC_ILLUSTRATION", NameSize),
        textCol("DOC_FORMAT", 100),
        textCol("DOC_MATERIEL", NameSize),
        intCol("COL_ID"),
        textCol("COL_NUMERO", 50),
        intCol("SCL_ID"),
        textCol("SCL_NUMERO", 50),
        memoCol("DOC_NUMEROTATION"),   // imported numberings are appended
        textCol("DOC_MUSIQUE", NameSize),
        textCol("DOC_MATHEMATIQUE", NameSize),
        textCol("DOC_RESSOURCE", NameSize),
        memoCol("DOC_NOTE"),
        memoCol("DOC_RESUME"),
        intCol("DIP_ID"),
        intCol("SPE_ID"),
        textCol("DOC_LIEU_SOUTENANCE", NameSize),
        intCol("REL_ID"),
        textCol("REL_TITRE", 500),
        textCol("REL_VOLUME", 100),
        textCol("REL_DATE_PUB", 50),
        textCol("REL_ISBN", 40),
        textCol("REL_ISSN", 30),
        intCol("DOC_NBR_EXEMPLAIRE"),
        intCol("BIB_ID"),              // the library that brought the record: 0 for ours
        textCol("DOC_IDENTIFIANT_SOURCE", 200),  // its identifier where it was imported from (001, else 035)
        textCol("PAY_ID", 2),
        textCol("DOC_AGENCE", 100),
        intCol("DOC_PRET_INTERNE"),
        intCol("DOC_PRET_EXTERNE"),
        memoCol("DOC_KEYWORDS"),
    };
    notice += audit();
    notice += searchColumns("DOC");
    out << makeTable("NOTICE", notice, {"DOC_ID"}, false,
                     // A record is looked up by its number or its title within its
                     // document type, or by its identifier in the source of the
                     // library that brought it (the duplicate test of the import).
                     // The record search reads its pages by year, by creation date
                     // or by title from their indexes.
                     {indexOn("NOTICE", "TYP_ID"), index("NOTICE", "ISBN_TYP", {"DOC_ISBN", "TYP_ID"}),
                      index("NOTICE", "SOURCE_BIB", {"DOC_IDENTIFIANT_SOURCE", "BIB_ID"}),
                      index("NOTICE", "ISSN_TYP", {"DOC_ISSN", "TYP_ID"}),
                      index("NOTICE", "TITRE_TYP", {"DOC_TITRE_PROPRE", "TYP_ID"}),
                      indexOn("NOTICE", "EDT_ID"), indexOn("NOTICE", "COL_ID"), indexOn("NOTICE", "DOC_ANNEE"),
                      indexOn("NOTICE", "CREATE_DATE"), index("NOTICE", "CLE_FR", {"DOC_CLE_FR", "DOC_ID"}),
                      index("NOTICE", "CLE_AR", {"DOC_CLE_AR", "DOC_ID"})});

    out << makeTable("NOTICE_AUTEUR",
                     {intCol("NAU_ID"), intCol("DOC_ID"), intCol("VED_ID"),
                      textCol("FON_ID", 3), smallCol("AUT_TYPE")},
                     {"NAU_ID"}, true,
                     {indexOn("NOTICE_AUTEUR", "DOC_ID"), indexOn("NOTICE_AUTEUR", "VED_ID")});

    out << makeTable("NOTICE_MATIERE",
                     {intCol("NMA_ID"), intCol("DOC_ID"), intCol("VED_ID")},
                     {"NMA_ID"}, true,
                     {indexOn("NOTICE_MATIERE", "DOC_ID"), indexOn("NOTICE_MATIERE", "VED_ID")});

    out << makeTable("NOTICE_CLASSIFICATION",
                     {intCol("NCL_ID"), intCol("DOC_ID"), textCol("CLA_ID", 100)},
                     {"NCL_ID"}, true,
                     {indexOn("NOTICE_CLASSIFICATION", "DOC_ID"),
                      indexOn("NOTICE_CLASSIFICATION", "CLA_ID")});

    out << makeTable("NOTICE_RESSOURCE",
                     // Addresses of documents on the web run to hundreds of characters.
                     {intCol("RES_ID"), intCol("DOC_ID"), textCol("RES_TYPE", 100), memoCol("RES_LIEN")},
                     {"RES_ID"}, false, {indexOn("NOTICE_RESSOURCE", "DOC_ID")});

    // BUL_DATE is the date of publication as printed on the issue
    // ("1998", "printemps 2003", ...), kept as text like REL_DATE_PUB.
    out << makeTable("NOTICE_BULLETIN",
                     {intCol("BUL_ID"), intCol("DOC_ID"), intCol("BIB_ID"),
                      textCol("BUL_NUMERO", 50), textCol("BUL_DATE", 50),
                      textCol("BUL_TITRE", NameSize), smallCol("BUL_STATUT"),
                      intCol("LIV_ID"), intCol("ACQ_LIGNE_ID"), intCol("ACQ_LIGNE_ID2")},
                     {"BUL_ID"}, false,
                     {indexOn("NOTICE_BULLETIN", "DOC_ID"),
                      index("NOTICE_BULLETIN", "LIGNE_LIV", {"ACQ_LIGNE_ID", "LIV_ID"}),
                      indexOn("NOTICE_BULLETIN", "LIV_ID"),
                      indexOn("NOTICE_BULLETIN", "ACQ_LIGNE_ID2")});

    out << makeTable("NOTICE_EXEMPLAIRE",
                     {textCol("EXP_ID", CopyIdSize),
                      intCol("DOC_ID"),
                      intCol("BIB_ID"),
                      textCol("EXP_COTE", 50),
                      textCol("EXP_INV", 50),
                      textCol("LOC_ID", 30),
                      intCol("SUP_ID"),
                      intCol("STA_EXP_ID"),
                      // The status a copy had before an outgoing gift or exchange gave it 7 or 8.
                      intCol("STA_EXP_ID2"),
                      intCol("MOD_ID"),
                      moneyCol("EXP_PRIX"),
                      dateCol("EXP_DATE_ACQUISITION"),
                      textCol("EXP_OBSERVATION", NameSize),
                      intCol("EXP_INVENTORIE"),
                      textCol("LEC_ID", ReaderIdSize),
                      dateCol("EXP_DATE_PRET"),
                      dateCol("EXP_DATE_RETOUR"),
                      textCol("LEC_ID2", ReaderIdSize),
                      dateCol("EXP_DATE_RESERVATION"),
                      intCol("LIV_ID"),
                      intCol("ACQ_LIGNE_ID"),
                      intCol("ACQ_LIGNE_ID2")},
                     {"EXP_ID"}, false,
                     {indexOn("NOTICE_EXEMPLAIRE", "LEC_ID"),
                      indexOn("NOTICE_EXEMPLAIRE", "LEC_ID2"),
                      indexOn("NOTICE_EXEMPLAIRE", "DOC_ID"),
                      // The copies received on an acquisition line, and with a delivery.
                      index("NOTICE_EXEMPLAIRE", "LIGNE_LIV", {"ACQ_LIGNE_ID", "LIV_ID"}),
                      indexOn("NOTICE_EXEMPLAIRE", "LIV_ID"),
                      // The copies handed over by an outgoing line.
                      indexOn("NOTICE_EXEMPLAIRE", "ACQ_LIGNE_ID2")});
}

// --- Catalogue: authorities and reference tables --------------------------

void addAuthorities(QVector<TableDef> &out)
{
    out << makeTable("VEDETTE",
                     Columns{intCol("VED_ID"), intCol("TYP_VED_ID"), textCol("VED_NOM", NameSize),
                             intCol("VED_ID2"), memoCol("VED_KEYWORDS"), memoCol("VED_NOTES"),
                             textCol("VED_ORIGINE", NameSize)}
                         + searchColumns("VED"),
                     {"VED_ID"}, false,
                     {indexOn("VEDETTE", "VED_ID2"), indexOn("VEDETTE", "VED_NOM"),
                      index("VEDETTE", "CLE_FR", {"VED_CLE_FR", "VED_ID"}),
                      index("VEDETTE", "CLE_AR", {"VED_CLE_AR", "VED_ID"})});

    out << makeTable("TYPE_VEDETTE",
                     Columns{intCol("TYP_VED_ID")} + labels("TYP_VED")
                         + Columns{textCol("TYP_VED_UNIMARC1", 3), textCol("TYP_VED_UNIMARC2", 3)},
                     {"TYP_VED_ID"});

    out << makeTable("EDITEUR",
                     Columns{intCol("EDT_ID"), textCol("EDT_NOM", NameSize),
                      textCol("EDT_NOM_AR", NameSize), intCol("EDT_TYPE"),
                      textCol("EDT_ADRESSE", NameSize), textCol("EDT_TEL", 50),
                      textCol("EDT_FAX", 50), textCol("EDT_EMAIL", 100),
                      textCol("EDT_URL", NameSize), textCol("PAY_ID", 2),
                      memoCol("EDT_KEYWORDS")}
                         + searchColumns("EDT"),
                     {"EDT_ID"}, false,
                     {indexOn("EDITEUR", "EDT_NOM"), index("EDITEUR", "CLE_FR", {"EDT_CLE_FR", "EDT_ID"}),
                      index("EDITEUR", "CLE_AR", {"EDT_CLE_AR", "EDT_ID"})});

    out << makeTable("COLLECTION",
                     {intCol("COL_ID"), textCol("COL_TITRE_PROPRE", NameSize),
                      textCol("COL_TITRE_PARALLELE", NameSize),
                      textCol("COL_TITRE_COMPLEMENT", NameSize),
                      textCol("COL_RESPONSABILITE", NameSize), textCol("COL_ISSN", 30)},
                     {"COL_ID"}, false, {indexOn("COLLECTION", "COL_TITRE_PROPRE")});

    out << makeTable("SOUS_COLLECTION",
                     {intCol("SCL_ID"), intCol("COL_ID"), textCol("SCL_TITRE_PROPRE", NameSize),
                      textCol("SCL_TITRE_PARALLELE", NameSize),
                      textCol("SCL_TITRE_COMPLEMENT", NameSize),
                      textCol("SCL_RESPONSABILITE", NameSize), textCol("SCL_ISSN", 30)},
                     {"SCL_ID"}, false,
                     {indexOn("SOUS_COLLECTION", "COL_ID"), indexOn("SOUS_COLLECTION", "SCL_TITRE_PROPRE")});

    // The classification index itself is the key.
    out << makeTable("CLASSIFICATION", Columns{textCol("CLA_ID", 100)} + labels("CLA"),
                     {"CLA_ID"});
}

void addReferenceTables(QVector<TableDef> &out)
{
    out << makeTable("TYPE_DOCUMENT",
                     Columns{textCol("TYP_ID", 1)} + labels("TYP")
                         + Columns{textCol("TYP_REP_ARCHIVAGE", NameSize)},
                     {"TYP_ID"});
    out << makeTable("INDICATION", Columns{textCol("IND_ID", 1)} + labels("IND"), {"IND_ID"});
    out << makeTable("STATUT_NOTICE", Columns{intCol("STA_ID")} + labels("STA"), {"STA_ID"});
    out << makeTable("STATUT_EXEMPLAIRE", Columns{intCol("STA_EXP_ID")} + labels("STA_EXP"),
                     {"STA_EXP_ID"});
    out << makeTable("LANGUE", Columns{textCol("LAN_ID", 3)} + labels("LAN"), {"LAN_ID"});
    out << makeTable("PAYS", Columns{textCol("PAY_ID", 2)} + labels("PAY"), {"PAY_ID"});
    out << makeTable("PERIODICITE", Columns{textCol("PER_ID", 1)} + labels("PER"), {"PER_ID"});
    out << makeTable("DIPLOME", Columns{intCol("DIP_ID")} + labels("DIP"), {"DIP_ID"});
    out << makeTable("SPECIALITE", Columns{intCol("SPE_ID")} + labels("SPE"), {"SPE_ID"});
    out << makeTable("FONCTION",
                     Columns{textCol("FON_ID", 3)} + labels("FON")
                         + Columns{textCol("FON_ABREVIATION", 50),
                                   textCol("FON_ABREVIATION_AR", 50)},
                     {"FON_ID"});
    out << makeTable("SUPPORT", Columns{intCol("SUP_ID")} + labels("SUP"), {"SUP_ID"});
    out << makeTable("LOCALISATION",
                     {textCol("LOC_ID", 30), textCol("LOC_LIBELLE", NameSize)}, {"LOC_ID"});
    // REL_ID is the UNIMARC linking tag (4xx) as a number.
    out << makeTable("RELATION", Columns{intCol("REL_ID")} + labels("REL"), {"REL_ID"});
    out << makeTable("MODE_ACQUISITION", Columns{intCol("MOD_ID")} + labels("MOD"), {"MOD_ID"});
    // Leading words that the sort keys of the printed catalogue skip.
    out << makeTable("MOT_VIDE", {intCol("MOV_ID"), textCol("MOT", 50)}, {"MOV_ID"}, true);
}

// --- Circulation ----------------------------------------------------------

void addCirculation(QVector<TableDef> &out)
{
    Columns reader = {
        textCol("LEC_ID", ReaderIdSize),
        textCol("LEC_NOM", 100),
        textCol("LEC_PRENOM", 100),
        dateCol("LEC_DATE_NAISSANCE"),
        textCol("LEC_ADRESSE", NameSize),
        textCol("LEC_TEL", 50),
        textCol("LEC_EMAIL", 100),
        textCol("LEC_OBSERVATION", NameSize),
        intCol("STR_ID"),
        intCol("CAT_ID"),
        dateCol("LEC_DATE_ADHESION"),
        intCol("LEC_STATUT"),
        dateCol("LEC_FIN_PENALITE"),
        textCol("LEC_MOTIF", NameSize),
        intCol("LEC_STAT_PRET"),
        textCol("LEC_PASSWORD", 255),   // salted hash
        intCol("BIB_ID"),
    };
    reader += audit();
    out << makeTable("LECTEUR", reader, {"LEC_ID"}, false,
                     {indexOn("LECTEUR", "LEC_NOM"), indexOn("LECTEUR", "CAT_ID")});

    out << makeTable("CATEGORIE",
                     {intCol("CAT_ID"), textCol("CAT_LIBELLE", NameSize), intCol("CAT_ADHESION"),
                      intCol("CAT_PENALITE"), intCol("CAT_PENALITE_PROP")},
                     {"CAT_ID"});

    out << makeTable("REGLEMENT",
                     {intCol("CAT_ID"), textCol("TYP_ID", 1), intCol("REG_DOCUMENT"),
                      intCol("REG_PRET"), intCol("REG_PROLONGATION"), intCol("REG_RESERVATION")},
                     {"CAT_ID", "TYP_ID"});

    out << makeTable("STRUCTURE", {intCol("STR_ID"), textCol("STR_LIBELLE", NameSize)},
                     {"STR_ID"});

    out << makeTable("BIBLIOTHEQUE",
                     {intCol("BIB_ID"), textCol("BIB_NOM", NameSize),
                      textCol("BIB_TUTELLE", NameSize), textCol("BIB_ADRESSE", NameSize),
                      textCol("BIB_PHONE", 50), textCol("BIB_FAX", 50),
                      textCol("BIB_EMAIL", 100), textCol("BIB_SITE", NameSize),
                      textCol("BIB_CONTACT", 100), textCol("BIB_HORAIRES", NameSize),
                      textCol("BIB_CATALOGUE", NameSize)},
                     {"BIB_ID"}, false,
                     {index("BIBLIOTHEQUE", "BIB_NOM_TUTELLE", {"BIB_NOM", "BIB_TUTELLE"}, true)});

    out << makeTable("PEB",
                     {intCol("PEB_ID"), textCol("PEB_EXP_ID", CopyIdSize),
                      textCol("PEB_TITRE", NameSize), textCol("PEB_AUTEUR", NameSize),
                      intCol("BIB_ID"), textCol("LEC_ID", ReaderIdSize), dateCol("BIB_PRET"),
                      dateCol("BIB_RETOUR"), intCol("BIB_REMIS")},
                     {"PEB_ID"}, false, {indexOn("PEB", "LEC_ID")});

    // The loan journal: one row per operation of the loan desk, the in-house
    // consultation and the inter-library loan, written in the operation's
    // transaction. HIS_OPERATION is the operation's number (LoanOperation),
    // HIS_DATE_RETOUR the due date it set (the last day of the hold for a
    // reservation), HIS_USER the login of the operator.
    out << makeTable("HISTORIQUE_PRET",
                     {intCol("HIS_ID"), smallCol("HIS_OPERATION"), textCol("EXP_ID", CopyIdSize),
                      intCol("DOC_ID"), textCol("LEC_ID", ReaderIdSize), dateTimeCol("HIS_DATE"),
                      dateCol("HIS_DATE_RETOUR"), textCol("HIS_USER", LoginSize)},
                     {"HIS_ID"}, false,
                     {indexOn("HISTORIQUE_PRET", "EXP_ID"), indexOn("HISTORIQUE_PRET", "LEC_ID"),
                      // The statistics over a period read the journal by its dates
                      // and operations, never the whole of it.
                      index("HISTORIQUE_PRET", "HIS_DATE", {"HIS_DATE", "HIS_OPERATION"})});
}

// --- Acquisitions ---------------------------------------------------------

void addAcquisitions(QVector<TableDef> &out)
{
    Columns acquisition = {
        intCol("ACQ_ID"),
        smallCol("ACQ_TYP"),
        textCol("ACQ_NUMERO", 50),
        dateCol("ACQ_DATE"),
        smallCol("ACQ_STATUT"),
        intCol("FOU_ID"),
        intCol("MON_ID"),
        textCol("ACQ_PARTENAIRE", NameSize),
        smallCol("ACQ_SENS"),
        moneyCol("ACQ_TOTAL"),
    };
    acquisition += audit();
    // The searches list the documents of a type by date, or of a supplier.
    out << makeTable("ACQUISITION", acquisition, {"ACQ_ID"}, false,
                     {index("ACQUISITION", "TYP_DATE", {"ACQ_TYP", "ACQ_DATE", "ACQ_ID"}),
                      indexOn("ACQUISITION", "FOU_ID")});

    out << makeTable("ACQUISITION_LIGNE",
                     {intCol("ACQ_LIGNE_ID"), intCol("ACQ_ID"), intCol("DOC_ID"),
                      textCol("ACQ_REFERENCE", 50), intCol("ACQ_EXEMPLAIRE"),
                      moneyCol("ACQ_PRIX"), moneyCol("ACQ_MONTANT"), intCol("ACQ_NBR_LIVRE"),
                      dateCol("ACQ_DATE_LIVRAISON"), dateCol("ACQ_DEBUT_ABONNEMENT"),
                      dateCol("ACQ_FIN_ABONNEMENT"), textCol("ACQ_NUMEROTATION", NameSize)},
                     {"ACQ_LIGNE_ID"}, false,
                     {indexOn("ACQUISITION_LIGNE", "ACQ_ID"),
                      indexOn("ACQUISITION_LIGNE", "DOC_ID")});

    out << makeTable("LIVRAISON",
                     {intCol("LIV_ID"), textCol("LIV_NUMERO", 50), dateCol("LIV_DATE"),
                      intCol("ACQ_ID")},
                     {"LIV_ID"}, false, {indexOn("LIVRAISON", "ACQ_ID"), indexOn("LIVRAISON", "LIV_DATE")});

    out << makeTable("LIVRAISON_LIGNE",
                     {intCol("LIV_ID"), intCol("ACQ_LIGNE_ID"), intCol("LIV_EXEMPLAIRE")},
                     {"LIV_ID", "ACQ_LIGNE_ID"}, false, {indexOn("LIVRAISON_LIGNE", "ACQ_LIGNE_ID")});

    out << makeTable("FACTURE",
                     {textCol("FAC_ID", 50), intCol("ACQ_ID"), intCol("ENG_ID"),
                      dateCol("FAC_DATE"), moneyCol("FAC_MONTANT")},
                     {"FAC_ID"}, false, {indexOn("FACTURE", "ACQ_ID"), indexOn("FACTURE", "ENG_ID")});

    // BUD_ID is the budget year.
    Columns budget = {intCol("BUD_ID"), moneyCol("BUD_MONTANT"), moneyCol("BUD_DEBIT")};
    budget += audit();
    out << makeTable("BUDGET", budget, {"BUD_ID"});

    out << makeTable("CHAPITRE",
                     {intCol("CHP_ID"), intCol("BUD_ID"), textCol("CHP_INTITULE", NameSize),
                      moneyCol("CHP_MONTANT"), moneyCol("CHP_DEBIT")},
                     {"CHP_ID"}, false, {indexOn("CHAPITRE", "BUD_ID")});

    Columns commitment = {
        intCol("ENG_ID"),
        intCol("CHP_ID"),
        dateCol("ENG_DATE"),
        textCol("ENG_NUMERO_PAIEMENT", 50),
        textCol("ENG_MODE_PAIEMENT", 100),
        dateCol("ENG_DATE_PAIEMENT"),
        moneyCol("ENG_MONTANT"),
        moneyCol("ENG_DEBIT"),
    };
    commitment += audit();
    out << makeTable("ENGAGEMENT", commitment, {"ENG_ID"}, false,
                     {index("ENGAGEMENT", "CHP_MONTANT", {"CHP_ID", "ENG_MONTANT"})});

    out << makeTable("TRANSFERT",
                     {intCol("TRS_ID"), intCol("CHP_ID"), intCol("CHP_ID2"),
                      moneyCol("TRS_MONTANT")},
                     {"TRS_ID"}, false, {index("TRANSFERT", "CHP_ID", {"CHP_ID", "TRS_MONTANT"}), index("TRANSFERT", "CHP_ID2", {"CHP_ID2", "TRS_MONTANT"})});

    out << makeTable("MONNAIE", Columns{intCol("MON_ID")} + labels("MON"), {"MON_ID"});

    out << makeTable("FOURNISSEUR",
                     {intCol("FOU_ID"), textCol("FOU_LIBELLE", NameSize), smallCol("FOU_TYP"),
                      textCol("FOU_COMPTE", 50), textCol("FOU_CONTACT", 100),
                      textCol("PAY_ID", 2), textCol("FOU_ADRESSE", NameSize),
                      textCol("FOU_TEL", 50), textCol("FOU_FAX", 50),
                      textCol("FOU_EMAIL", 100), textCol("FOU_URL", NameSize)},
                     {"FOU_ID"});

    out << makeTable("SUGGESTION",
                     {intCol("SUG_ID"), textCol("SUG_TITRE", NameSize),
                      textCol("SUG_AUTEUR", NameSize), textCol("SUG_EDITEUR", NameSize),
                      moneyCol("SUG_PRIX"), dateCol("SUG_DATE"), memoCol("SUG_COMMENTAIRE")},
                     {"SUG_ID"});
}

// --- Inventory campaigns ----------------------------------------------------

// A campaign is the selection of copies checked together (one collection, a
// range of shelf marks); its copies, fixed when it starts, are those whose
// flag it resets. A copy scanned outside the selection is kept with
// INV_SELECTION 0 (misplaced); INV_VU counts the times a copy was scanned.
void addInventory(QVector<TableDef> &out)
{
    out << makeTable("INVENTAIRE_CAMPAGNE",
                     Columns{intCol("CAM_ID"), memoCol("CAM_CRITERES"), dateTimeCol("CAM_FIN")} + audit(),
                     {"CAM_ID"});
    out << makeTable("INVENTAIRE_EXEMPLAIRE",
                     {intCol("CAM_ID"), textCol("EXP_ID", CopyIdSize), smallCol("INV_SELECTION"), intCol("INV_VU")},
                     {"CAM_ID", "EXP_ID"}, false,
                     {index("INVENTAIRE_EXEMPLAIRE", "SELECTION", {"CAM_ID", "INV_SELECTION", "EXP_ID"}),
                      indexOn("INVENTAIRE_EXEMPLAIRE", "EXP_ID")});
}

// --- Copy cataloguing -------------------------------------------------------

// The catalogues of other libraries that records are copied from, shared by
// every workstation. CIB_PROTOCOLE: 1 SRU (CIB_HOTE is then the service's
// address, http or https, with its path), 2 Z39.50 (host, port, database).
// CIB_SYNTAXE: the record syntax asked for; CIB_JEU: the character set of
// records that do not declare theirs; CIB_DELAI: the time-out in seconds;
// CIB_INDEX: the names of the service's search indexes (SRU).
void addCopyTargets(QVector<TableDef> &out)
{
    out << makeTable("CIBLE_COPIE",
                     Columns{intCol("CIB_ID"), textCol("CIB_NOM", 100), smallCol("CIB_PROTOCOLE"),
                             textCol("CIB_HOTE", NameSize), intCol("CIB_PORT"), textCol("CIB_BASE", NameSize),
                             textCol("CIB_SYNTAXE", 20), textCol("CIB_JEU", 20), intCol("CIB_DELAI"),
                             textCol("CIB_INDEX", 20)}
                         + audit(),
                     {"CIB_ID"}, false, {indexOn("CIBLE_COPIE", "CIB_NOM", true)});
}

QVector<TableDef> buildTables()
{
    QVector<TableDef> out;
    addAdministration(out);
    addRecords(out);
    addAuthorities(out);
    addReferenceTables(out);
    addCirculation(out);
    addAcquisitions(out);
    addInventory(out);
    addCopyTargets(out);
    return out;
}

QVector<TableDef> buildScratchTables()
{
    QVector<TableDef> out;
    // One entry per record and per matching classification index.
    out << makeTable("CATALOGUE",
                     {intCol("ID"), intCol("OCC"), textCol("INDICE", 100), memoCol("ENTREE"),
                      memoCol("TITRE"), memoCol("ISBD"), intCol("NUMERO")},
                     {"ID", "OCC"});
    out << makeTable("TITRE",
                     {intCol("ID"), memoCol("TITRE"), memoCol("TITRE_TRI"), memoCol("RENVOIS")},
                     {"ID"});
    out << makeTable("AUTEUR",
                     {intCol("ID"), textCol("AUTEUR", NameSize), textCol("AUTEUR_TRI", NameSize),
                      memoCol("RENVOIS")},
                     {"ID"});
    out << makeTable("MATIERE",
                     {intCol("ID"), textCol("MATIERE", NameSize),
                      textCol("MATIERE_TRI", NameSize), memoCol("RENVOIS")},
                     {"ID"});
    return out;
}

} // namespace

const ColumnDef *TableDef::column(const QString &col) const
{
    for (const ColumnDef &c : columns) {
        if (c.name.compare(col, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

const QVector<TableDef> &Schema::tables()
{
    static const QVector<TableDef> all = buildTables();
    return all;
}

const TableDef *Schema::table(const QString &name)
{
    static const QHash<QString, qsizetype> byName = [] {
        QHash<QString, qsizetype> h;
        const QVector<TableDef> &all = tables();
        for (qsizetype i = 0; i < all.size(); ++i)
            h.insert(all.at(i).name.toUpper(), i);
        return h;
    }();
    const auto it = byName.constFind(name.toUpper());
    return it == byName.constEnd() ? nullptr : &tables().at(*it);
}

const QVector<SearchIndexDef> &Schema::searchIndexes()
{
    using Kind = SearchIndexDef::Kind;
    static const QVector<SearchIndexDef> all{
        {QStringLiteral("NOTICE_MOTS"), Kind::Words, QStringLiteral("NOTICE"), QStringLiteral("DOC_ID"),
         QStringLiteral("DOC_KEYWORDS"), QStringLiteral("DOC_MOTS")},
        {QStringLiteral("VEDETTE_MOTS"), Kind::Words, QStringLiteral("VEDETTE"), QStringLiteral("VED_ID"),
         QStringLiteral("VED_KEYWORDS"), QStringLiteral("VED_MOTS")},
        {QStringLiteral("EDITEUR_MOTS"), Kind::Words, QStringLiteral("EDITEUR"), QStringLiteral("EDT_ID"),
         QStringLiteral("EDT_KEYWORDS"), QStringLiteral("EDT_MOTS")},
        {QStringLiteral("IX_NOTICE_RECH_ISBN"), Kind::Folded, QStringLiteral("NOTICE"), {}, QStringLiteral("DOC_ISBN"), {}},
        {QStringLiteral("IX_NOTICE_RECH_ISSN"), Kind::Folded, QStringLiteral("NOTICE"), {}, QStringLiteral("DOC_ISSN"), {}},
        {QStringLiteral("IX_NOTICE_RECH_NUM"), Kind::Folded, QStringLiteral("NOTICE"), {}, QStringLiteral("DOC_NUM"), {}},
    };
    return all;
}

const SearchIndexDef *Schema::wordIndexOf(const QString &column)
{
    for (const SearchIndexDef &ix : searchIndexes())
        if (ix.kind == SearchIndexDef::Kind::Words && ix.column.compare(column, Qt::CaseInsensitive) == 0)
            return &ix;
    return nullptr;
}

const QVector<SearchColumnsDef> &Schema::searchColumns()
{
    static const QVector<SearchColumnsDef> all{
        {QStringLiteral("NOTICE"), QStringLiteral("DOC_ID"),
         names({"DOC_TITRE_PROPRE", "DOC_TITRE_COMPLEMENT", "DOC_TITRE_PARALLELE", "DOC_TITRE_ENSEMBLE"}),
         QStringLiteral("DOC_KEYWORDS"), QStringLiteral("DOC_MOTS"), QStringLiteral("DOC_TITRE_PROPRE"),
         QStringLiteral("DOC_CLE_FR"), QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("DOC_CLE_AR")},
        {QStringLiteral("VEDETTE"), QStringLiteral("VED_ID"), names({"VED_NOM"}), QStringLiteral("VED_KEYWORDS"),
         QStringLiteral("VED_MOTS"), QStringLiteral("VED_NOM"), QStringLiteral("VED_CLE_FR"), QStringLiteral("VED_NOM"),
         QStringLiteral("VED_CLE_AR")},
        // A publisher is listed by its name in French, by its Arabic name in Arabic.
        {QStringLiteral("EDITEUR"), QStringLiteral("EDT_ID"), names({"EDT_NOM", "EDT_NOM_AR"}),
         QStringLiteral("EDT_KEYWORDS"), QStringLiteral("EDT_MOTS"), QStringLiteral("EDT_NOM"),
         QStringLiteral("EDT_CLE_FR"), QStringLiteral("EDT_NOM_AR"), QStringLiteral("EDT_CLE_AR")},
    };
    return all;
}

const SearchColumnsDef *Schema::searchColumnsOf(const QString &table)
{
    for (const SearchColumnsDef &d : searchColumns())
        if (d.table.compare(table, Qt::CaseInsensitive) == 0)
            return &d;
    return nullptr;
}

QString SearchColumnsDef::collationKeyOf(const QString &column, const QString &language) const
{
    const bool arabic = language == QLatin1String("AR");
    const QString &text = arabic ? arabicText : frenchText;
    return text.compare(column, Qt::CaseInsensitive) == 0 ? (arabic ? arabicKey : frenchKey) : QString();
}

QString Schema::collationKeyOf(const QString &table, const QString &column, const QString &language)
{
    const SearchColumnsDef *d = searchColumnsOf(table);
    return d ? d->collationKeyOf(column, language) : QString();
}

const QVector<TableDef> &scratchTables()
{
    static const QVector<TableDef> all = buildScratchTables();
    return all;
}

} // namespace folian
