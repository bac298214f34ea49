#pragma once
// "Edition": the circulation lists. Three tabs, documents, readers and
// inter-library loans, each with the buttons of its lists; a button fills
// the tab's list under its title, with the count (" Résultat : "), the
// search by a column and "Imprimer", which writes the list's page and
// previews it.

#include "circulation/core/circulationeditions.h"

#include <QHash>
#include <QWidget>
#include <optional>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;

namespace folian {

class Dataset;
class DatasetModel;
class IndexSearch;
class ProgressPanel;
class TFrmData;

class EditionPage : public QWidget
{
    Q_OBJECT
public:
    EditionPage(TFrmData &data, EditionTab tab, QWidget *parent = nullptr);

    EditionTab tab() const { return tab_; }
    // Fills the list; false when it cannot be read (it is then empty).
    bool showList(CirculationList list);
    std::optional<CirculationList> currentList() const { return list_; }
    QPushButton *button(CirculationList list) const { return buttons_.value(int(list)); }
    QPushButton *firstButton() const;

    Dataset *rows() const { return rows_; }
    QTableView *grid() const { return grid_; }
    QString titleText() const;
    QString countText() const;
    IndexSearch *search() const { return search_; }
    QPushButton *printButton() const { return btnPrint_; }
    ProgressPanel *progress() const { return progress_; }

public slots:
    void BtnPrintClick();

private:
    TFrmData &data_;
    EditionTab tab_;
    std::optional<CirculationList> list_;
    QHash<int, QPushButton *> buttons_;
    Dataset *rows_;
    DatasetModel *model_;
    QTableView *grid_;
    QLabel *title_;
    QLabel *count_;
    IndexSearch *search_;
    QPushButton *btnPrint_;
    ProgressPanel *progress_;
};

class TFrmCirculationEdition : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmCirculationEdition(TFrmData &data, QWidget *parent = nullptr);

    EditionPage *page(EditionTab tab) const;
    // Shows the list's tab and fills its list, as its button does.
    bool showList(CirculationList list);
    QPushButton *button(CirculationList list) const;
    QTabWidget *tabs() const { return tabs_; }
    void focusFirstButton();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QTabWidget *tabs_;
    QList<EditionPage *> pages_;
};

} // namespace folian
