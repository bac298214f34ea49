#pragma once
// The six satellite sets of a record on the shared queries (QAuteur,
// QMatiere, QIndice, QRessource, QBulletin, QExemplaire): each opened on
// the record's rows, with the names and labels its list shows joined in
// (they are read, never written), authors in order of responsibility.

#include <QVariant>

namespace folian {

class Dataset;
class TFrmData;

enum class Satellite { Authors, Subjects, Indices, Resources, Issues, Copies };
constexpr Satellite kSatellites[] = {Satellite::Authors,   Satellite::Subjects, Satellite::Indices,
                                     Satellite::Resources, Satellite::Issues,   Satellite::Copies};

// The shared query of a satellite.
Dataset *satelliteQuery(TFrmData &data, Satellite s);
// The SQL that opens it on one record (one bound value: the DOC_ID).
QString satelliteSql(Satellite s);
// Opens one set on the record, or closes it when the record has no DOC_ID
// yet. Keeps the current row when it is still there. False on a read error.
bool openSatellite(TFrmData &data, Satellite s, const QVariant &docId);
// All six.
bool openSatellites(TFrmData &data, const QVariant &docId);

} // namespace folian
