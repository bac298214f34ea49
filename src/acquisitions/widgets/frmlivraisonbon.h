#pragma once
// "Bon de livraison": a delivery's number and date, its delivered titles
// and, for the current title, the copies and the serial issues received
// with it: titles added or removed, copies and issues entered one by one
// or copies generated in a batch, the note printed. The receipt services
// do every change and hold every rule; the screen shows what they say.

#include "data/widgets/formdialog.h"

class QLabel;
class QPushButton;
class QTableView;

namespace folian {

class SatellitePanel;
class TFrmData;

class TFrmLivraisonBon : public FormDialog
{
    Q_OBJECT
public:
    TFrmLivraisonBon(TFrmData &data, int delivery, QWidget *parent = nullptr);

    int delivery() const { return delivery_; }
    QTableView *titles() const { return titles_; }
    SatellitePanel *copies() const { return copies_; }
    SatellitePanel *issues() const { return issues_; }
    QPushButton *button(const char *name) const;
    // The current delivered title's line, 0 when none.
    int currentLine() const;

public slots:
    void BtnModifierClick();
    void BtnImprimerClick();
    void BtnManquantsClick();
    void BtnSupprimerTitreClick();
    void AddCopy();
    void EditCopy();
    void DeleteCopy();
    void GenerateCopies();
    void AddIssue();
    void EditIssue();
    void DeleteIssue();

protected:
    void afterLocalise() override;

private:
    QWidget *buildTitles();
    void showHeader();
    // Reads the titles again, the current one on `line`.
    void showTitles(int line);
    // The copies and issues of the current title.
    void showReceived();
    void updateButtons();
    // Can the current title take one more copy? Else the refusal is told.
    bool receivable(int line);
    // The sheet of a copy or an issue (TFrmLivraisonExemplaire::Page) of the current title.
    void openSheet(int page, const QString &copyId, int issueId);

    TFrmData &data_;
    const int delivery_;
    QLabel *number_, *date_;
    QTableView *titles_;
    SatellitePanel *copies_, *issues_;
};

} // namespace folian
