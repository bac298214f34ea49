#pragma once
// Process-wide session state: the configuration read at start, the user
// logged on, the interface language and the module state. One instance,
// reached through `session()`.

#include <QString>
#include <array>

namespace folian {

// The 17 rights columns of UTILISATEUR, in their fixed order.
enum class Right {
    AcqAcces, AcqAdmin, AcqTransact, AcqBudget, AcqEdition,
    CatAcces, CatAdmin, CatNotice, CatImport, CatAutorite, CatEdition,
    CirculAcces, CirculAdmin, CirculLecteur, CirculTransact, CirculPeb, CirculEdition
};
constexpr int RightCount = 17;

// Column name of a right, e.g. "UTL_CAT_NOTICE".
const char *rightColumn(Right r);
const std::array<Right, RightCount> &allRights();

struct Session
{
    // Configuration (Folian.ini)
    QString AppDir;         // directory holding Folian.ini, ends with '/'
    QString TempDir;
    QString IniPath;        // AppDir + "Folian.ini" unless given on the command line
    QString DbEngine = QStringLiteral("ACCESS");
    QString DbServer;
    QString DbUser;
    QString DbPassword;
    QString DbCatalog;
    QString DbSslMode;      // SSLMode: how a connection to the server is encrypted
    QString DbSslRootCert;  // SSLRootCert: the authority that signed the server's certificate
    QString OpacDirectory;
    QString OpacAddress;    // [OPAC] Address: the public catalogue's address when it lives elsewhere
    int SilentMode = 0;

    // User
    int CurrentUserId = 0;
    QString CurrentUserLogin;
    int CurrentUserRole = 0;
    std::array<bool, RightCount> rights{};

    // Language
    QString CurrentLanguage = QStringLiteral("FR");
    bool ArabicMode = false;
    QString LanguageSuffix;  // "" or "_AR"

    // Catalogue
    QString AllDocumentTypes;
    QString DefaultDocumentType;
    int ClassificationScheme = 0;

    // Module state
    QString CurrentModule;
    QString CurrentScreen;
    bool ClearingDesktop = false;

    bool right(Right r) const { return rights[static_cast<size_t>(r)]; }
    void setRight(Right r, bool v) { rights[static_cast<size_t>(r)] = v; }

    // Sets CurrentLanguage, ArabicMode and LanguageSuffix together.
    void setLanguage(const QString &language);

    // Author responsibility labels: principal, co-author, secondary.
    QString authorRoleName(int autType) const;
};

Session &session();

// Silences the shared error messages of the data module for its scope, for
// callers that report the outcome themselves (batch runs, core services).
class SilentScope
{
public:
    SilentScope() { ++session().SilentMode; }
    ~SilentScope() { --session().SilentMode; }
    SilentScope(const SilentScope &) = delete;
    SilentScope &operator=(const SilentScope &) = delete;
};

} // namespace folian
