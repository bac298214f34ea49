#pragma once
// "Gestion de budget": the budgets found by year with their creation and
// update stamps, and for the current budget its chapters, commitments and
// transfers, each list with its commands. Opened from the launcher to
// manage them, or from the invoice dialog to pick a commitment: the
// chapters come first, and "Choisir" hands the current commitment's number
// to the invoice and closes. The services keep the debits; the screen
// shows their results and messages.

#include "data/widgets/screen.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace folian {

class Dataset;
class TFrmData;

class TFrmBudget : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    enum class Mode { Manage, Pick };

    explicit TFrmBudget(TFrmData &data, Mode mode = Mode::Manage, QWidget *parent = nullptr);

    // Opens the screen as a picker of commitments in a modal dialog; the
    // number of the commitment chosen, 0 when none was.
    static int pickCommitment(TFrmData &data, QWidget *parent);

    Mode mode() const { return mode_; }
    QTabWidget *tabs() const { return tabs_; }
    QTableView *grid(const char *name) const;
    QPushButton *button(const char *name) const;
    QLineEdit *yearField() const { return year_; }
    QLabel *label(const char *name) const;
    // The current rows' keys, 0 when none.
    int currentBudget() const;
    int currentChapter() const;
    int currentCommitment() const;
    int currentTransfer() const;
    int chosenCommitment() const { return chosen_; }

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void Search();
    void BtnNouveauClick();
    void BtnModifierClick();
    void BtnSupprimerClick();
    void BtnNouveauChapitreClick();
    void BtnModifierChapitreClick();
    void BtnSupprimerChapitreClick();
    void BtnNouvelEngagementClick();
    void BtnModifierEngagementClick();
    void BtnSupprimerEngagementClick();
    void BtnChoisirClick();
    void BtnNouveauTransfertClick();
    void BtnModifierTransfertClick();
    void BtnSupprimerTransfertClick();

signals:
    void chosen();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildBudgets();
    QWidget *buildPage(const char *page, const char *gridName, Dataset *rows, const QStringList &fields,
                       const QStringList &titles, std::initializer_list<std::pair<const char *, void (TFrmBudget::*)()>> actions,
                       QLabel **count);
    void showBudget();
    // Reads the budgets again, the current one on `year`.
    void reopen(int year);
    // Reads the current budget's row and lists again, each current row kept.
    void refreshBudget();
    void updateButtons();
    // Opens the sheet of an entry (a commitment or a transfer) and reads again when saved.
    void openEntry(bool transfer, int id);
    int keyOf(Dataset *rows, const char *column) const;

    TFrmData &data_;
    const Mode mode_;
    QLineEdit *year_;
    QTabWidget *tabs_;
    QLabel *count_, *chaptersCount_, *commitmentsCount_, *transfersCount_;
    int chosen_ = 0;
};

} // namespace folian
