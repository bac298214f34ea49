#pragma once
// The screen of a kind of acquisition documents (orders, pre-orders): the
// criteria and the documents found, the titles of the current document
// and, for orders, its invoices; the commands on documents and titles. The
// searches and every change are the acquisition services'; the screen
// shows their results and messages. TFrmCommandeSearch and TFrmDevisSearch
// are its two kinds.

#include "acquisitions/core/documents.h"
#include "data/widgets/screen.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace folian {

class DatasetModel;
class TFrmData;

class DocumentSearchScreen : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    AcqType type() const { return type_; }
    QTableView *documents() const { return documents_; }
    QTableView *lines() const { return lines_; }
    QPushButton *button(const char *name) const;
    QLineEdit *field(const char *name) const;
    QComboBox *statusList() const { return status_; }
    QLabel *countLabel() const { return count_; }
    QLabel *linesLabel() const { return linesCount_; }
    // The current document's key, 0 when none; the current line's.
    int currentDocument() const;
    int currentLine() const;
    // The keys of the titles selected in the lines' grid.
    QList<int> selectedLines() const;

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void Search();
    void BtnInitialiserClick();
    void BtnFournisseurClick();
    void BtnNouveauClick();
    void BtnModifierClick();
    void BtnSupprimerClick();
    void BtnImprimerClick();
    void BtnNouveauTitreClick();
    void BtnModifierTitreClick();
    void BtnSupprimerTitreClick();
    void BtnValidationClick();
    void BtnReceptionClick();
    void BtnPasserCommandeClick();

protected:
    // `formName` names the form (its section of the translation files).
    DocumentSearchScreen(TFrmData &data, AcqType type, const QString &formName, QWidget *parent);
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildCriteria();
    QWidget *buildLines();
    void showDocument();
    // Reads the documents again, the current one on `id`.
    void reopen(int id);
    // Reads the current document's row and lines again, the current line on `line`.
    void refreshDocument(int line);
    void updateButtons();
    void updateLanguage();
    bool validated() const;
    void openLine(int line);

    TFrmData &data_;
    const AcqType type_;
    DatasetModel *documentModel_, *lineModel_;
    QTableView *documents_, *lines_, *invoices_ = nullptr;
    QTabWidget *tabs_;
    QComboBox *status_ = nullptr;
    QLabel *count_, *linesCount_, *invoicesCount_ = nullptr;
};

} // namespace folian
