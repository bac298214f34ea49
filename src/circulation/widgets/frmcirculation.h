#pragma once
// The circulation module: readers, the loan desk, inter-library loan,
// categories and loan rules, editions. Each entry hosts its screen with its
// title and count line; a reader being typed is not thrown away without
// the question "Sauvegardez les modifications ?".

#include "circulation/core/readerstanding.h"
#include "circulation/core/reminders.h"
#include "data/widgets/frmmodule.h"

#include <QPointer>

namespace folian {

class TFrmLecteurSearch;

class TFrmCirculation : public TFrmModule
{
    Q_OBJECT
public:
    TFrmCirculation(TFrmData &data, QWidget *parent = nullptr);

    // The menu entries.
    void RechercheLecteur();
    void LecteurNew();
    // The reader form on the current row of the reader search, which is
    // kept meanwhile and shown again when the update ends.
    void LecteurUpdate();
    void LblImportation2Click();
    void Relance() { reminders(ReminderKind::Loans); }
    void RelancePeb() { reminders(ReminderKind::InterLibrary); }
    void Categories();
    void Structure();
    void AnnulPenalite() { administration(AdminAction::CancelPenalty); }
    void SuspLecteur() { administration(AdminAction::Suspend); }
    void AnnulSuspension() { administration(AdminAction::LiftSuspension); }
    void Pret();
    void Consultation();
    // The inter-library loan: registration and return.
    void EnregistrementPeb();
    void RetourPeb();
    // The circulation editions.
    void Label1Click();

protected:
    bool screenClosing(QWidget *screen) override;

private:
    void administration(AdminAction action);
    void reminders(ReminderKind kind);
    void countReaders();
    void openLists();
    // Frees a reader search kept during an update.
    void dropKeptSearch();
    void updateEnded();

    QPointer<TFrmLecteurSearch> keptSearch_;
};

} // namespace folian
