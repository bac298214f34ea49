#pragma once
// "À propos": the release, the database's schema version and its engine.

#include <QDialog>

class QLabel;

namespace folian {

class TFrmData;

class TFrmAPropos : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmAPropos(TFrmData &data, QWidget *parent = nullptr);
    // The lines shown, one per label.
    QStringList lines() const;

private:
    QList<QLabel *> lines_;
};

} // namespace folian
