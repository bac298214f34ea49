#pragma once
// "Génération des exemplaires": N copies of a title at once, their copy
// numbers, shelf marks and alternative numbers made of a prefix and a
// running number previewed as they are typed, with a support, a location
// and a status. Opened on a delivered title (context 1), on an
// acquisition line (context 2) or on a record alone (context 3, the record
// form); the batch is the generation service's, all or nothing.

#include "acquisitions/core/copygeneration.h"
#include "data/widgets/formdialog.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace folian {

class TFrmData;

class TFrmGenerate : public FormDialog
{
    Q_OBJECT
public:
    explicit TFrmGenerate(TFrmData &data, QWidget *parent = nullptr);

    // What the copies are generated on: the context, the mode of
    // acquisition of the copies, and the record (context 3), the line
    // (contexts 1 and 2) and the delivery (context 1).
    void Initialize(GenerationContext context, int mode, int record, int line = 0, int delivery = 0);
    // The number of copies proposed (1 to 1000).
    void propose(int count);

    QSpinBox *countField() const { return count_; }
    QLineEdit *field(const char *name) const;
    QListWidget *preview(const char *name) const;
    QComboBox *list(const char *name) const;
    QPushButton *postButton() const { return post_; }
    // The outcome of the last "Enregistrer".
    const GenerationResult &result() const { return result_; }

public slots:
    // Rebuilds the three previews.
    void ShowGeneration();
    // "Enregistrer": generates; closes when done, stays with the message when refused.
    void Generate();

protected:
    void afterLocalise() override;

private:
    GenerationRequest request() const;

    TFrmData &data_;
    GenerationContext context_ = GenerationContext::Record;
    int mode_ = 1, record_ = 0, line_ = 0, delivery_ = 0;
    QSpinBox *count_;
    QProgressBar *progress_;
    QPushButton *post_;
    GenerationResult result_;
};

} // namespace folian
