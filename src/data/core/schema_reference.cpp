// Reference rows delivered with every new database: the code tables the
// program relies on, in French and Arabic, the reserved reader category,
// the stop words of the catalogue sort keys and the parameter row.
// Languages and countries are in reference_languages.cpp and
// reference_countries.cpp.

#include "schema.h"
#include "reference_data_p.h"

#include <cstddef>
#include <initializer_list>

namespace folian {

namespace {

QString text(const char16_t *s) { return QString::fromUtf16(s); }

QStringList names(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *n : list)
        out.append(QString::fromLatin1(n));
    return out;
}

// Rows keyed by an integer code, with a French and an Arabic label.
struct IdLabel {
    int id;
    const char16_t *fr;
    const char16_t *ar;
};

SeedRows idLabelRows(const char *table, const char *idColumn, const char *labelColumn,
                     const IdLabel *rows, qsizetype count)
{
    const QString label = QString::fromLatin1(labelColumn);
    SeedRows s;
    s.table = QString::fromLatin1(table);
    s.columns = QStringList{QString::fromLatin1(idColumn), label, label + QStringLiteral("_AR")};
    for (qsizetype i = 0; i < count; ++i)
        s.rows.append(QVariantList{rows[i].id, text(rows[i].fr), text(rows[i].ar)});
    return s;
}

template <std::size_t N>
SeedRows idLabelRows(const char *table, const char *idColumn, const char *labelColumn,
                     const IdLabel (&rows)[N])
{
    return idLabelRows(table, idColumn, labelColumn, rows, qsizetype(N));
}

template <std::size_t N>
SeedRows codeRows(const char *table, const char *codeColumn, const char *labelColumn,
                  const CodeLabel (&rows)[N])
{
    return codeLabelRows(table, codeColumn, labelColumn, rows, qsizetype(N));
}

// Document types: the codes a to d, e, f, g and x carry behaviour (import,
// export, record form); the others are ordinary kinds of documents.
SeedRows documentTypes()
{
    static const CodeLabel rows[] = {
        {u"a", u"Monographie", u"كتاب"},
        {u"b", u"Publication en série", u"دورية"},
        {u"c", u"Thèse", u"أطروحة"},
        {u"d", u"Article", u"مقالة"},
        {u"e", u"Document musical et audiovisuel", u"وثيقة موسيقية وسمعية بصرية"},
        {u"f", u"Document cartographique", u"وثيقة خرائطية"},
        {u"g", u"Ressource électronique", u"مصدر إلكتروني"},
        {u"h", u"Manuscrit", u"مخطوط"},
        {u"i", u"Partition", u"مدونة موسيقية"},
        {u"j", u"Enregistrement sonore", u"تسجيل صوتي"},
        {u"k", u"Image fixe", u"صورة ثابتة"},
        {u"l", u"Objet", u"مجسم"},
        {u"m", u"Multimédia", u"وسائط متعددة"},
        {u"n", u"Littérature grise / Rapport", u"أدب رمادي / تقرير"},
        {u"o", u"Actes de congrès", u"أعمال مؤتمر"},
        {u"p", u"Dossier de presse", u"ملف صحفي"},
        {u"q", u"Carte postale", u"بطاقة بريدية"},
        {u"r", u"Microforme", u"مصغرة فيلمية"},
        {u"s", u"Affiche", u"ملصق"},
        {u"t", u"Norme", u"مواصفة قياسية"},
        {u"u", u"Brevet", u"براءة اختراع"},
        {u"v", u"Kit pédagogique", u"حقيبة تعليمية"},
        {u"w", u"Document administratif", u"وثيقة إدارية"},
        {u"x", u"Autre", u"أخرى"},
    };
    SeedRows s = codeRows("TYPE_DOCUMENT", "TYP_ID", "TYP_LIBELLE", rows);
    s.columns.append(QStringLiteral("TYP_REP_ARCHIVAGE"));
    for (QVariantList &r : s.rows)
        r.append(QVariant());
    return s;
}

// General material designations: the UNIMARC record-type letters.
SeedRows materialDesignations()
{
    static const CodeLabel rows[] = {
        {u"a", u"Texte imprimé", u"نص مطبوع"},
        {u"b", u"Texte manuscrit", u"نص مخطوط"},
        {u"c", u"Partition imprimée", u"مدونة موسيقية مطبوعة"},
        {u"d", u"Partition manuscrite", u"مدونة موسيقية مخطوطة"},
        {u"e", u"Document cartographique imprimé", u"وثيقة خرائطية مطبوعة"},
        {u"f", u"Document cartographique manuscrit", u"وثيقة خرائطية مخطوطة"},
        {u"g", u"Document projeté ou vidéo", u"وثيقة مسقطة أو فيديو"},
        {u"i", u"Enregistrement sonore non musical", u"تسجيل صوتي غير موسيقي"},
        {u"j", u"Enregistrement sonore musical", u"تسجيل صوتي موسيقي"},
        {u"k", u"Document graphique en deux dimensions", u"وثيقة مصورة ثنائية الأبعاد"},
        {u"l", u"Ressource électronique", u"مصدر إلكتروني"},
        {u"m", u"Multimédia", u"وسائط متعددة"},
        {u"r", u"Objet en trois dimensions", u"مجسم ثلاثي الأبعاد"},
    };
    return codeRows("INDICATION", "IND_ID", "IND_LIBELLE", rows);
}

SeedRows recordStatuses()
{
    static const IdLabel rows[] = {
        {1, u"Cataloguée", u"مفهرسة"},
        {2, u"Créée par les acquisitions", u"منشأة من طرف التزويد"},
        {3, u"En commande", u"قيد الطلب"},
    };
    return idLabelRows("STATUT_NOTICE", "STA_ID", "STA_LIBELLE", rows);
}

SeedRows copyStatuses()
{
    static const IdLabel rows[] = {
        {1, u"En dépôt", u"في الإيداع"},
        {2, u"Disponible", u"متوفرة"},
        {3, u"Exclu du prêt (consultation sur place)", u"مستثناة من الإعارة (مطالعة داخلية)"},
        {4, u"Réservé au PEB", u"مخصصة للإعارة بين المكتبات"},
        {5, u"Détérioré", u"تالفة"},
        {6, u"Perdu", u"مفقودة"},
        {7, u"Echangé", u"متبادل بها"},
        {8, u"Donné", u"مهداة"},
    };
    return idLabelRows("STATUT_EXEMPLAIRE", "STA_EXP_ID", "STA_EXP_LIBELLE", rows);
}

// Mode 5 is given to every copy catalogued outside the acquisitions.
SeedRows acquisitionModes()
{
    static const IdLabel rows[] = {
        {1, u"Achat", u"شراء"},
        {2, u"Don", u"إهداء"},
        {3, u"Echange", u"تبادل"},
        {4, u"Dépôt", u"إيداع"},
        {5, u"Fonds propre (non précisé)", u"رصيد المكتبة (غير محدد)"},
    };
    return idLabelRows("MODE_ACQUISITION", "MOD_ID", "MOD_LIBELLE", rows);
}

// Heading kinds with the UNIMARC tags used to export a heading as a subject
// and as an author (no author tag: the kind is not an author kind).
SeedRows headingKinds()
{
    struct Kind {
        int id;
        const char16_t *fr;
        const char16_t *ar;
        const char16_t *subjectTag;
        const char16_t *authorTag;
    };
    static const Kind rows[] = {
        {1, u"Nom de personne", u"اسم شخص", u"600", u"700"},
        {2, u"Collectivité", u"هيئة", u"601", u"710"},
        {3, u"Nom de famille", u"اسم عائلة", u"602", u"720"},
        {4, u"Nom - Titre", u"اسم - عنوان", u"604", u"730"},
        {5, u"Titre uniforme", u"عنوان موحد", u"605", nullptr},
        {6, u"Nom commun", u"موضوع", u"606", nullptr},
        {7, u"Nom géographique", u"اسم جغرافي", u"607", nullptr},
        {8, u"Forme, genre", u"شكل، نوع", u"608", nullptr},
        {9, u"Terme non contrôlé", u"مصطلح غير مقنن", u"610", nullptr},
        {10, u"Marque", u"علامة تجارية", u"616", u"716"},
    };
    SeedRows s;
    s.table = QStringLiteral("TYPE_VEDETTE");
    s.columns = names({"TYP_VED_ID", "TYP_VED_LIBELLE", "TYP_VED_LIBELLE_AR",
                       "TYP_VED_UNIMARC1", "TYP_VED_UNIMARC2"});
    for (const Kind &k : rows)
        s.rows.append(QVariantList{k.id, text(k.fr), text(k.ar), text(k.subjectTag),
                                   k.authorTag ? QVariant(text(k.authorTag)) : QVariant()});
    return s;
}

// Links to a parent record: the UNIMARC 4xx linking tags.
SeedRows relations()
{
    static const IdLabel rows[] = {
        {410, u"Collection", u"سلسلة"},
        {411, u"Sous-collection", u"سلسلة فرعية"},
        {421, u"Supplément", u"ملحق"},
        {422, u"Publication mère du supplément", u"المنشور الأصلي للملحق"},
        {423, u"Publié avec", u"نشر مع"},
        {430, u"Suite de", u"تكملة لـ"},
        {431, u"Suite partielle de", u"تكملة جزئية لـ"},
        {432, u"Remplace", u"يحل محل"},
        {433, u"Remplace partiellement", u"يحل جزئيا محل"},
        {434, u"Absorbe", u"يستوعب"},
        {435, u"Absorbe partiellement", u"يستوعب جزئيا"},
        {436, u"Fusion de", u"اندماج"},
        {437, u"Séparé de", u"منفصل عن"},
        {440, u"Devient", u"يصبح"},
        {441, u"Devient partiellement", u"يصبح جزئيا"},
        {442, u"Remplacé par", u"حل محله"},
        {443, u"Remplacé partiellement par", u"حل محله جزئيا"},
        {444, u"Absorbé par", u"استوعب في"},
        {445, u"Absorbé partiellement par", u"استوعب جزئيا في"},
        {446, u"Scindé en", u"انقسم إلى"},
        {447, u"Fusionné avec", u"اندمج مع"},
        {448, u"Redevient", u"عاد إلى"},
        {451, u"Autre édition sur le même support", u"طبعة أخرى على نفس الوعاء"},
        {452, u"Autre édition sur un support différent", u"طبعة أخرى على وعاء مختلف"},
        {453, u"Traduit sous le titre", u"ترجم بعنوان"},
        {454, u"Traduction de", u"ترجمة لـ"},
        {455, u"Reproduction de", u"مستنسخ من"},
        {456, u"Reproduit comme", u"مستنسخ بعنوان"},
        {461, u"Ensemble", u"المجموعة"},
        {462, u"Sous-ensemble", u"مجموعة فرعية"},
        {463, u"Unité physique", u"وحدة مادية"},
        {464, u"Unité analytique", u"وحدة تحليلية"},
        {470, u"Document analysé", u"الوثيقة المحللة"},
        {481, u"Relié aussi dans ce volume", u"مجلد أيضا في هذا المجلد"},
        {482, u"Relié à la suite de", u"مجلد مع"},
        {488, u"Autres oeuvres liées", u"أعمال أخرى ذات صلة"},
    };
    return idLabelRows("RELATION", "REL_ID", "REL_LIBELLE", rows);
}

// Author functions: UNIMARC relator codes with the abbreviation written
// before the author's name in the ISBD display (none for the author).
SeedRows functions()
{
    struct Function {
        const char16_t *code;
        const char16_t *fr;
        const char16_t *ar;
        const char16_t *abbrev;
        const char16_t *abbrevAr;
    };
    static const Function rows[] = {
        {u"005", u"Acteur", u"ممثل", u"", u""},
        {u"010", u"Adaptateur", u"مقتبس", u"adapt.", u"اقتباس"},
        {u"020", u"Annotateur", u"محشي", u"annot.", u"حواشي"},
        {u"030", u"Arrangeur", u"موزع موسيقي", u"arr.", u"توزيع"},
        {u"040", u"Artiste", u"فنان", u"", u""},
        {u"070", u"Auteur", u"مؤلف", u"", u""},
        {u"075", u"Postfacier", u"كاتب الخاتمة", u"postf.", u"خاتمة"},
        {u"080", u"Préfacier", u"مقدم", u"préf.", u"تقديم"},
        {u"090", u"Dialoguiste", u"كاتب الحوار", u"dial.", u"حوار"},
        {u"100", u"Auteur de l'oeuvre adaptée", u"مؤلف العمل الأصلي", u"d'après", u"عن"},
        {u"110", u"Relieur", u"مجلد", u"rel.", u"تجليد"},
        {u"140", u"Illustrateur de couverture", u"مصمم الغلاف", u"couv.", u"الغلاف"},
        {u"170", u"Calligraphe", u"خطاط", u"calligr.", u"خط"},
        {u"180", u"Cartographe", u"خرائطي", u"cartogr.", u"خرائط"},
        {u"200", u"Chorégraphe", u"مصمم الرقصات", u"chorégr.", u"تصميم الرقصات"},
        {u"205", u"Collaborateur", u"متعاون", u"collab.", u"بالتعاون مع"},
        {u"212", u"Commentateur", u"شارح", u"comment.", u"شرح"},
        {u"220", u"Compilateur", u"جامع", u"compil.", u"جمع"},
        {u"230", u"Compositeur", u"ملحن", u"mus.", u"تلحين"},
        {u"245", u"Concepteur", u"مصمم", u"conc.", u"تصميم"},
        {u"250", u"Chef d'orchestre", u"قائد الأوركسترا", u"dir. mus.", u"قيادة"},
        {u"270", u"Correcteur", u"مصحح", u"corr.", u"تصحيح"},
        {u"273", u"Commissaire d'exposition", u"منظم المعرض", u"commiss.", u"تنظيم المعرض"},
        {u"280", u"Dédicataire", u"المهدى إليه", u"", u""},
        {u"295", u"Organisme de soutenance", u"الهيئة المانحة للشهادة", u"", u""},
        {u"305", u"Candidat (thèse)", u"الباحث (أطروحة)", u"", u""},
        {u"340", u"Éditeur scientifique", u"محقق", u"éd. sci.", u"تحقيق"},
        {u"350", u"Graveur", u"حفار", u"grav.", u"حفر"},
        {u"365", u"Expert", u"خبير", u"expert", u"خبرة"},
        {u"370", u"Monteur", u"مركب الأفلام", u"mont.", u"مونتاج"},
        {u"390", u"Ancien possesseur", u"مالك سابق", u"", u""},
        {u"420", u"Personne honorée", u"الشخص المكرم", u"", u""},
        {u"440", u"Illustrateur", u"رسام", u"ill.", u"رسوم"},
        {u"460", u"Interviewé", u"ضيف الحوار", u"", u""},
        {u"470", u"Intervieweur", u"محاور", u"entretien", u"حاوره"},
        {u"475", u"Collectivité éditrice", u"الهيئة المصدرة", u"", u""},
        {u"480", u"Librettiste", u"كاتب النص الغنائي", u"livret", u"نص"},
        {u"520", u"Parolier", u"كاتب الكلمات", u"paroles", u"كلمات"},
        {u"550", u"Narrateur", u"راوي", u"narr.", u"رواية"},
        {u"557", u"Organisateur de congrès", u"منظم المؤتمر", u"org.", u"تنظيم"},
        {u"570", u"Autre", u"أخرى", u"", u""},
        {u"590", u"Interprète", u"مؤدي", u"interpr.", u"أداء"},
        {u"600", u"Photographe", u"مصور", u"photogr.", u"تصوير"},
        {u"605", u"Présentateur", u"مقدم العرض", u"prés.", u"عرض"},
        {u"610", u"Imprimeur", u"طابع", u"impr.", u"طبع"},
        {u"630", u"Producteur", u"منتج", u"prod.", u"إنتاج"},
        {u"635", u"Programmeur", u"مبرمج", u"progr.", u"برمجة"},
        {u"650", u"Éditeur commercial", u"ناشر", u"", u""},
        {u"651", u"Directeur de publication", u"مدير النشر", u"dir. publ.", u"إدارة النشر"},
        {u"673", u"Directeur de recherche", u"مدير البحث", u"dir. rech.", u"إدارة البحث"},
        {u"675", u"Critique", u"ناقد", u"crit.", u"نقد"},
        {u"677", u"Membre d'équipe de recherche", u"عضو فريق البحث", u"", u""},
        {u"690", u"Scénariste", u"كاتب السيناريو", u"scénario", u"سيناريو"},
        {u"695", u"Conseiller scientifique", u"مستشار علمي", u"cons. sci.", u"استشارة علمية"},
        {u"700", u"Copiste", u"ناسخ", u"copiste", u"نسخ"},
        {u"705", u"Sculpteur", u"نحات", u"sculpt.", u"نحت"},
        {u"721", u"Chanteur", u"مغني", u"chant", u"غناء"},
        {u"727", u"Directeur de thèse", u"المشرف على الأطروحة", u"dir.", u"إشراف"},
        {u"730", u"Traducteur", u"مترجم", u"trad.", u"ترجمة"},
        {u"770", u"Auteur du matériel d'accompagnement", u"مؤلف المواد المرافقة", u"", u""},
    };
    SeedRows s;
    s.table = QStringLiteral("FONCTION");
    s.columns = names({"FON_ID", "FON_LIBELLE", "FON_LIBELLE_AR", "FON_ABREVIATION",
                       "FON_ABREVIATION_AR"});
    for (const Function &f : rows) {
        const QString abbrev = text(f.abbrev);
        const QString abbrevAr = text(f.abbrevAr);
        s.rows.append(QVariantList{text(f.code), text(f.fr), text(f.ar),
                                   abbrev.isEmpty() ? QVariant() : QVariant(abbrev),
                                   abbrevAr.isEmpty() ? QVariant() : QVariant(abbrevAr)});
    }
    return s;
}

// Periodicities: the frequency letters of UNIMARC field 110 $b.
SeedRows periodicities()
{
    static const CodeLabel rows[] = {
        {u"a", u"Quotidien", u"يومية"},
        {u"b", u"Bihebdomadaire", u"مرتين في الأسبوع"},
        {u"c", u"Hebdomadaire", u"أسبوعية"},
        {u"d", u"Bimensuel (toutes les deux semaines)", u"كل أسبوعين"},
        {u"e", u"Semi-mensuel (deux fois par mois)", u"نصف شهرية"},
        {u"f", u"Mensuel", u"شهرية"},
        {u"g", u"Bimestriel", u"كل شهرين"},
        {u"h", u"Trimestriel", u"فصلية"},
        {u"i", u"Trois fois par an", u"ثلاث مرات في السنة"},
        {u"j", u"Semestriel", u"نصف سنوية"},
        {u"k", u"Annuel", u"سنوية"},
        {u"l", u"Biennal", u"كل سنتين"},
        {u"m", u"Triennal", u"كل ثلاث سنوات"},
        {u"n", u"Trois fois par semaine", u"ثلاث مرات في الأسبوع"},
        {u"o", u"Trois fois par mois", u"ثلاث مرات في الشهر"},
        {u"p", u"Mise à jour continue", u"تحديث مستمر"},
        {u"u", u"Inconnue", u"غير معروفة"},
        {u"y", u"Sans périodicité", u"غير منتظمة"},
        {u"z", u"Autre", u"أخرى"},
    };
    return codeRows("PERIODICITE", "PER_ID", "PER_LIBELLE", rows);
}

// Category 9 is reserved for the correspondents of partner libraries.
SeedRows readerCategories()
{
    SeedRows s;
    s.table = QStringLiteral("CATEGORIE");
    s.columns = names({"CAT_ID", "CAT_LIBELLE", "CAT_ADHESION", "CAT_PENALITE",
                       "CAT_PENALITE_PROP"});
    s.rows.append(QVariantList{9, QStringLiteral("Responsable de PEB"), 365, 0, 0});
    return s;
}

// Leading words that the sort keys of the printed catalogue skip; the word
// is matched when followed by a blank or an apostrophe.
SeedRows stopWords()
{
    static const char16_t *const words[] = {
        u"le", u"la", u"les", u"l", u"un", u"une", u"des", u"du", u"de",
        u"the", u"a", u"an",
    };
    SeedRows s;
    s.table = QStringLiteral("MOT_VIDE");
    s.columns = names({"MOV_ID", "MOT"});
    int id = 0;
    for (const char16_t *w : words)
        s.rows.append(QVariantList{++id, text(w)});
    return s;
}

// The one parameter row: Friday and Saturday closed, Dewey classification.
SeedRows parameters()
{
    const QString readerReminder = QStringLiteral(
        "Madame, Monsieur,\r\n"
        "\r\n"
        "Sauf erreur de notre part, vous n'avez pas encore rendu le ou les documents "
        "ci-dessous, dont la date de retour est dépassée.\r\n"
        "Nous vous prions de bien vouloir les rapporter à la bibliothèque dans les "
        "meilleurs délais.\r\n"
        "\r\n"
        "Veuillez agréer, Madame, Monsieur, nos salutations distinguées.\r\n"
        "\r\n"
        "La direction de la bibliothèque");
    const QString supplierReminder = QStringLiteral(
        "Madame, Monsieur,\r\n"
        "\r\n"
        "Sauf erreur de notre part, les documents ci-dessous, commandés auprès de vos "
        "services, ne nous sont pas encore parvenus à la date de livraison prévue.\r\n"
        "Nous vous remercions de bien vouloir nous les faire parvenir dans les meilleurs "
        "délais ou de nous informer de leur disponibilité.\r\n"
        "\r\n"
        "Veuillez agréer, Madame, Monsieur, nos salutations distinguées.\r\n"
        "\r\n"
        "Le responsable des acquisitions");
    const QString clearance = QStringLiteral(
        "Le responsable de la bibliothèque certifie que le lecteur désigné ci-dessus "
        "n'est redevable d'aucun document envers la bibliothèque.\r\n"
        "Le présent quitus lui est délivré pour servir et valoir ce que de droit.");

    SeedRows s;
    s.table = QStringLiteral("PARAMETRE");
    s.columns = names({"PAR_ID", "PAY_ID", "AGENCE", "CLASSIFICATION", "WEEKEND1", "WEEKEND2",
                       "RELANCE_LECTEUR", "RELANCE_FOURNISSEUR", "QUITUS"});
    s.rows.append(QVariantList{1, QStringLiteral("DZ"), QVariant(), 2, 6, 7, readerReminder,
                               supplierReminder, clearance});
    return s;
}

QVector<SeedRows> buildReferenceData()
{
    // In insertion order: the parameter row names a country.
    return {
        documentTypes(),
        materialDesignations(),
        recordStatuses(),
        copyStatuses(),
        acquisitionModes(),
        headingKinds(),
        relations(),
        functions(),
        languageRows(),
        countryRows(),
        periodicities(),
        readerCategories(),
        stopWords(),
        parameters(),
    };
}

} // namespace

SeedRows codeLabelRows(const char *table, const char *codeColumn, const char *labelColumn,
                       const CodeLabel *rows, qsizetype count)
{
    const QString label = QString::fromLatin1(labelColumn);
    SeedRows s;
    s.table = QString::fromLatin1(table);
    s.columns = QStringList{QString::fromLatin1(codeColumn), label, label + QStringLiteral("_AR")};
    s.rows.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        s.rows.append(QVariantList{text(rows[i].code), text(rows[i].fr), text(rows[i].ar)});
    return s;
}

const QVector<SeedRows> &Schema::referenceData()
{
    static const QVector<SeedRows> all = buildReferenceData();
    return all;
}

} // namespace folian
