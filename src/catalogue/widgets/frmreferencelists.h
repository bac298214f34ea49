#pragma once
// The authority lists of publishers, collections, sub-collections and
// classification indices: the heading list's family, differing only by
// their table.

#include "catalogue/widgets/authoritylist.h"

#include <QHash>

namespace folian {

class TFrmReferenceList : public TFrmAuthorityList
{
    Q_OBJECT
public:
    AuthorityList list() const { return list_; }

protected:
    TFrmReferenceList(TFrmData &data, AuthorityList list, int mode, QWidget *parent);
    ListQuery searchQuery(const QString &typed) const override;

private:
    const AuthorityList list_;
};

class TFrmEditeur : public TFrmReferenceList
{
    Q_OBJECT
public:
    TFrmEditeur(TFrmData &data, int mode = 0, const QString &text = QString(), QWidget *parent = nullptr);
};

class TFrmCollection : public TFrmReferenceList
{
    Q_OBJECT
public:
    TFrmCollection(TFrmData &data, int mode = 0, const QString &text = QString(), QWidget *parent = nullptr);
};

class TFrmSousCollection : public TFrmReferenceList
{
    Q_OBJECT
public:
    // `collection`: the collection a new sub-collection belongs to, when the caller knows it.
    TFrmSousCollection(TFrmData &data, int mode = 0, const QString &text = QString(),
                       const QVariant &collection = QVariant(), QWidget *parent = nullptr);

protected:
    void prepareNewRow() override;

private:
    QString collectionName(int row);

    const QVariant collection_;
    QHash<QString, QString> names_;  // COL_ID -> title, while the result is shown
};

class TFrmClassification : public TFrmReferenceList
{
    Q_OBJECT
public:
    TFrmClassification(TFrmData &data, int mode = 0, const QString &text = QString(), QWidget *parent = nullptr);
};

} // namespace folian
