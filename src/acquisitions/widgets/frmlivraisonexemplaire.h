#pragma once
// "Exemplaire": one copy or one serial issue received on an acquisition
// line, through a delivery (mode 1) or entered directly on the line (mode
// 2, gifts, exchanges and deposits), new or changed; or, for an outgoing
// gift or exchange, the copy or issue of the title chosen to be handed over
// ("Selection exemplaire", "Sélection bulletin"). The page shown is the
// one saved; the copies, issues and gifts services do the work.

#include "acquisitions/core/receivedcopies.h"
#include "data/widgets/formdialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace folian {

class Dataset;
class TFrmData;

class TFrmLivraisonExemplaire : public FormDialog
{
    Q_OBJECT
public:
    enum class Page { Issue, Copy, SelectCopy, SelectIssue };

    // A new row with an empty `copyId` and an `issueId` of 0, else that copy or issue.
    TFrmLivraisonExemplaire(TFrmData &data, Page page, const ReceiptTarget &target, const QString &copyId = QString(),
                            int issueId = 0, QWidget *parent = nullptr);

    Page page() const { return page_; }
    QLineEdit *field(const char *name) const;
    QComboBox *list(const char *name) const;
    QCheckBox *receivedBox() const { return received_; }
    QPushButton *postButton() const { return post_; }
    // The copy saved (its number), for the lists.
    QString savedCopy() const { return savedCopy_; }
    // The list of a selection page.
    QTableView *choices() const { return choiceGrid_; }

public slots:
    void BtnPostClick();

protected:
    void afterLocalise() override;

private:
    QWidget *buildCopyPage();
    QWidget *buildIssuePage();
    QWidget *buildSelectionPage(Page page);
    // A selection page's "Enregistrer": the chosen row handed over.
    AcqResult handOverChosen();
    bool isNew() const { return page_ == Page::Copy ? copyId_.isEmpty() : issueId_ == 0; }

    TFrmData &data_;
    const Page page_;
    const ReceiptTarget target_;
    const QString copyId_;
    const int issueId_;
    QString savedCopy_;
    QTabWidget *pages_;
    QCheckBox *received_;
    QPushButton *post_;
    Dataset *choiceRows_ = nullptr;
    QTableView *choiceGrid_ = nullptr;
};

} // namespace folian
