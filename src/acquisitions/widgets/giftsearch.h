#pragma once
// The screen of gifts, exchanges or deposits: the criteria and the
// documents found, the titles of the current document, and for the current
// title its copies ("Exemplaires") and issues ("Bulletins"): received by
// an incoming title (entered one by one or generated), handed over by an
// outgoing one (chosen among the title's). The rules are the gifts and
// documents services'; the screen shows their results and messages.
// TFrmDonSearch, TFrmEchangeSearch and TFrmDepotSearch are its three kinds.

#include "acquisitions/core/documents.h"
#include "data/widgets/screen.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace folian {

class DatasetModel;
class SatellitePanel;
class TFrmData;

class GiftSearchScreen : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    AcqType kind() const { return kind_; }
    QTableView *documents() const { return documents_; }
    QTableView *lines() const { return lines_; }
    SatellitePanel *copies() const { return copies_; }
    SatellitePanel *issues() const { return issues_; }
    QPushButton *button(const char *name) const;
    QLineEdit *field(const char *name) const;
    QComboBox *statusList() const { return status_; }
    QLabel *countLabel() const { return count_; }
    // The current document's key, 0 when none; the current line's.
    int currentDocument() const;
    int currentLine() const;

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void Search();
    void BtnInitialiserClick();
    void BtnNouveauClick();
    void BtnModifierClick();
    void BtnSupprimerClick();
    void BtnImprimerClick();
    void BtnNouveauTitreClick();
    void BtnModifierTitreClick();
    void BtnSupprimerTitreClick();
    void BtnValidationClick();
    void AddCopy();
    void EditCopy();
    void DeleteCopy();
    void GenerateCopies();
    void AddIssue();
    void EditIssue();
    void DeleteIssue();

protected:
    // `formName` names the form (its section of the translation files).
    GiftSearchScreen(TFrmData &data, AcqType kind, const QString &formName, QWidget *parent);
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildCriteria();
    QWidget *buildLines();
    QWidget *buildHeld();
    void showDocument();
    // The copies and issues of the current line.
    void showHeld();
    void reopen(int id);
    void refreshDocument(int line);
    void updateButtons();
    void updateLanguage();
    bool validated() const;
    bool lineIncoming() const;
    void openLine(int line);
    // The copy/issue dialog on `page` for the current line; true when it saved.
    bool openSheet(int page, const QString &copyId, int issueId);

    TFrmData &data_;
    const AcqType kind_;
    QTableView *documents_, *lines_;
    SatellitePanel *copies_, *issues_;
    QComboBox *status_;
    QLabel *count_, *linesCount_;
};

class TFrmDonSearch : public GiftSearchScreen
{
    Q_OBJECT
public:
    explicit TFrmDonSearch(TFrmData &data, QWidget *parent = nullptr);
};

class TFrmEchangeSearch : public GiftSearchScreen
{
    Q_OBJECT
public:
    explicit TFrmEchangeSearch(TFrmData &data, QWidget *parent = nullptr);
};

class TFrmDepotSearch : public GiftSearchScreen
{
    Q_OBJECT
public:
    explicit TFrmDepotSearch(TFrmData &data, QWidget *parent = nullptr);
};

} // namespace folian
