// The catalogue half of the demo: the small reference lists a new database
// lacks (diplomas, specialities, supports, locations), publishers,
// collections, headings, classification indices, thirty records in French
// and Arabic with their authors, subjects, indices, serial issues and copies.

#include "demodata_p.h"

#include "data/core/helpers.h"

#include <QHash>
#include <QRegularExpression>

namespace folian::demo {

namespace {

// --- Definitions ------------------------------------------------------------

struct LabelDef {
    const char16_t *fr;
    const char16_t *ar;
};

const LabelDef kDiplomas[] = {
    {u"Magister", u"ماجستير"},
    {u"Doctorat", u"دكتوراه"},
    {u"Master", u"ماستر"},
};

const LabelDef kSpecialities[] = {
    {u"Hydraulique", u"الري"},
    {u"Histoire contemporaine", u"التاريخ المعاصر"},
    {u"Informatique", u"الإعلام الآلي"},
    {u"Sciences économiques", u"العلوم الاقتصادية"},
};

// Support 1 is the default of every copy written here.
const LabelDef kSupports[] = {
    {u"Imprimé", u"مطبوع"},
    {u"Imprimé avec CD-ROM", u"مطبوع مع قرص مضغوط"},
    {u"Document numérique", u"وثيقة رقمية"},
};

struct LocationDef {
    const char *id;
    const char16_t *label;
};

const LocationDef kLocations[] = {
    {"SCI", u"Salle de lecture Sciences et techniques"},
    {"SHS", u"Salle de lecture Sciences humaines et sociales"},
    {"MAG", u"Magasin"},
    {"PER", u"Salle des périodiques"},
    {"THESES", u"Salle des thèses et mémoires"},
};

struct PublisherDef {
    const char *key;
    const char16_t *name;
    const char16_t *nameAr;
    const char16_t *address;
    const char16_t *phone;
    const char *country;
};

const PublisherDef kPublishers[] = {
    {"tassili", u"Éditions Tassili", u"منشورات طاسيلي", u"8, rue des Frères Bellil, Alger",
     u"021 63 48 12", "DZ"},
    {"cirta", u"Éditions Cirta Sciences", u"منشورات سيرتا للعلوم",
     u"Cité Boussouf, lot 27, Constantine", u"031 92 15 40", "DZ"},
    {"medina", u"Éditions Médina Technique", u"منشورات المدينة التقنية",
     u"Zone d'activités Ben Boulaïd, Blida", u"025 41 77 03", "DZ"},
    {"adab", u"Dar El Adab El Maghribia", u"دار الآداب المغاربية", u"14, boulevard de l'ALN, Oran",
     u"041 33 20 58", "DZ"},
    {"plateaux", u"Éditions des Hauts Plateaux", u"منشورات الهضاب العليا",
     u"Cité des 1014 logements, bât. 6, Sétif", u"036 84 12 90", "DZ"},
    {"nakhil", u"Dar Ennakhil", u"دار النخيل للنشر والتوزيع", u"Rue Hakim Saadane, Biskra",
     u"033 74 61 25", "DZ"},
    {"meridiens", u"Éditions Méridiens universitaires", u"منشورات ميريديان الجامعية",
     u"42, rue des Écoles, Paris", u"+33 1 43 25 61 70", "FR"},
};

struct CollectionDef {
    const char16_t *title;
    const char16_t *parallel;
    const char16_t *complement;
};

const CollectionDef kCollections[] = {
    {u"Sciences et techniques", u"علوم وتقنيات", u"cours et travaux dirigés"},
    {u"Manuels universitaires", u"كتب جامعية", nullptr},
};

struct SubCollectionDef {
    const char16_t *collection;
    const char16_t *title;
    const char16_t *parallel;
};

const SubCollectionDef kSubCollections[] = {
    {u"Sciences et techniques", u"Informatique", u"إعلام آلي"},
    {u"Sciences et techniques", u"Hydraulique et environnement", u"الري والبيئة"},
    {u"Manuels universitaires", u"Licence", u"ليسانس"},
    {u"Manuels universitaires", u"Master", u"ماستر"},
};

// Kinds: 1 person, 2 corporate body, 6 topical subject, 7 geographical name.
// A heading with an accepted form is a rejected form of that heading.
struct HeadingDef {
    int kind;
    const char16_t *name;
    const char16_t *acceptedForm;
};

const HeadingDef kHeadings[] = {
    {1, u"Benali, Karim", nullptr},
    {1, u"Haddad, Nadia", nullptr},
    {1, u"Mansouri, Rachid", nullptr},
    {1, u"Cherif, Yacine", nullptr},
    {1, u"Meziane, Lynda", nullptr},
    {1, u"Kaci, Mourad", nullptr},
    {1, u"Zerrouki, Amel", nullptr},
    {1, u"Boudiaf, Samir", nullptr},
    {1, u"Larbi, Fatiha", nullptr},
    {1, u"Bensalem, Leïla", nullptr},
    {1, u"Dupré, Claire", nullptr},
    {1, u"Ould Ahmed, Sofiane", nullptr},
    {1, u"Amrani, Walid", nullptr},
    {1, u"بوزيد، عبد القادر", nullptr},
    {1, u"حمدي، سعاد", nullptr},
    {1, u"العربي، فاطمة الزهراء", nullptr},
    {1, u"مرابط، عمر", nullptr},
    {1, u"قاسمي، خديجة", nullptr},
    {1, u"زروال، أحمد", nullptr},
    {1, u"بلقاسم، نور الدين", nullptr},
    {1, u"سعدي، أمينة", nullptr},
    {1, u"يحياوي، كمال", nullptr},
    {1, u"بن يوسف، محمد", nullptr},
    {1, u"عيساوي، رشيد", nullptr},
    {1, u"شريفي، ليلى", nullptr},
    {1, u"Ben Youcef, Mohamed", u"بن يوسف، محمد"},
    {1, u"Benali, K.", u"Benali, Karim"},
    {1, u"Haddad, N.", u"Haddad, Nadia"},
    {2, u"Association algérienne des bibliothécaires universitaires", nullptr},
    {2, u"Laboratoire de recherche en informatique appliquée", nullptr},
    {2, u"مخبر الدراسات الاجتماعية والإنسانية", nullptr},
    {6, u"Bases de données", nullptr},
    {6, u"Banques de données", u"Bases de données"},
    {6, u"Données, Bases de", u"Bases de données"},
    {6, u"Informatique", nullptr},
    {6, u"Algorithmes", nullptr},
    {6, u"Réseaux d'ordinateurs", nullptr},
    {6, u"Analyse mathématique", nullptr},
    {6, u"Mathématiques appliquées", nullptr},
    {6, u"Chimie organique", nullptr},
    {6, u"Hydraulique", nullptr},
    {6, u"Ressources en eau", nullptr},
    {6, u"Économie", nullptr},
    {6, u"Management", nullptr},
    {6, u"Droit civil", nullptr},
    {6, u"Obligations (droit)", nullptr},
    {6, u"Sociologie urbaine", nullptr},
    {6, u"Bibliothèques universitaires", nullptr},
    {6, u"Catalogage", nullptr},
    {6, u"التاريخ الحديث", nullptr},
    {6, u"علم الاجتماع", nullptr},
    {6, u"الأدب الجزائري", nullptr},
    {6, u"النقد الأدبي", nullptr},
    {6, u"الاقتصاد الكلي", nullptr},
    {6, u"القانون الإداري", nullptr},
    {6, u"اللسانيات التطبيقية", nullptr},
    {6, u"تعليم اللغة العربية", nullptr},
    {6, u"علم المكتبات", nullptr},
    {6, u"الشعر العربي", nullptr},
    {6, u"الإحصاء", nullptr},
    {6, u"منهجية البحث", nullptr},
    {6, u"العلوم الإنسانية", nullptr},
    {6, u"علم النفس التربوي", nullptr},
    {6, u"إدارة الموارد البشرية", nullptr},
    {6, u"الجغرافيا الطبيعية", nullptr},
    {6, u"الحركة الإصلاحية", nullptr},
    {7, u"Algérie", nullptr},
    {7, u"Sahara", nullptr},
    {7, u"Chéliff, Bassin du (Algérie)", nullptr},
    {7, u"الجزائر", nullptr},
};

struct ClassDef {
    const char *index;
    const char16_t *fr;
    const char16_t *ar;
};

const ClassDef kClasses[] = {
    {"001.42", u"Méthodologie de la recherche", u"منهجية البحث"},
    {"004", u"Informatique", u"الإعلام الآلي"},
    {"004.6", u"Réseaux informatiques", u"شبكات الحاسوب"},
    {"005.1", u"Programmation et algorithmique", u"البرمجة والخوارزميات"},
    {"005.74", u"Bases de données", u"قواعد البيانات"},
    {"020", u"Bibliothéconomie et sciences de l'information", u"علم المكتبات والمعلومات"},
    {"027.7", u"Bibliothèques universitaires", u"المكتبات الجامعية"},
    {"300", u"Sciences sociales", u"العلوم الاجتماعية"},
    {"301", u"Sociologie", u"علم الاجتماع"},
    {"307.76", u"Sociologie urbaine", u"علم الاجتماع الحضري"},
    {"330", u"Économie", u"الاقتصاد"},
    {"330.965", u"Économie de l'Algérie", u"الاقتصاد الجزائري"},
    {"333.91", u"Ressources en eau", u"الموارد المائية"},
    {"339", u"Macroéconomie", u"الاقتصاد الكلي"},
    {"342", u"Droit constitutionnel et administratif", u"القانون الدستوري والإداري"},
    {"346", u"Droit privé", u"القانون الخاص"},
    {"370.15", u"Psychologie de l'éducation", u"علم النفس التربوي"},
    {"418", u"Linguistique appliquée", u"اللسانيات التطبيقية"},
    {"515", u"Analyse mathématique", u"التحليل الرياضي"},
    {"519.5", u"Statistique", u"الإحصاء"},
    {"547", u"Chimie organique", u"الكيمياء العضوية"},
    {"627", u"Génie hydraulique", u"الهندسة الهيدروليكية"},
    {"658", u"Gestion des entreprises", u"إدارة المؤسسات"},
    {"658.3", u"Gestion des ressources humaines", u"إدارة الموارد البشرية"},
    {"892.7", u"Littérature arabe", u"الأدب العربي"},
    {"892.71", u"Poésie arabe", u"الشعر العربي"},
    {"916.5", u"Géographie de l'Algérie", u"جغرافيا الجزائر"},
    {"965", u"Histoire de l'Algérie", u"تاريخ الجزائر"},
};

// One record. Authors, subjects and indices are lists separated by '|';
// an author written "name@code" has the relator code and a secondary
// responsibility, the others are authors (the first principal, the next
// co-authors). `isbn` and `issn` are given without their check digit.
struct RecordDef {
    char type = 'a';
    const char *lang = "fre";
    const char16_t *title = nullptr;
    const char16_t *complement = nullptr;
    const char16_t *parallel = nullptr;
    const char16_t *set = nullptr;
    const char16_t *part = nullptr;
    const char *isbn = nullptr;
    const char *issn = nullptr;
    const char16_t *edition = nullptr;
    const char *publisher = nullptr;
    const char16_t *place = nullptr;
    int year = 0;
    const char16_t *extent = nullptr;
    const char16_t *illustration = nullptr;
    const char16_t *format = nullptr;
    const char16_t *material = nullptr;
    const char16_t *collection = nullptr;
    const char *collectionNumber = nullptr;
    const char *periodicity = nullptr;
    const char16_t *numbering = nullptr;
    const char16_t *authors = nullptr;
    const char16_t *subjects = nullptr;
    const char *classes = nullptr;
    const char16_t *note = nullptr;
    const char16_t *abstract = nullptr;
    const char16_t *diploma = nullptr;
    const char16_t *speciality = nullptr;
    const char16_t *defencePlace = nullptr;
    const char16_t *specialIssue = nullptr;
    // An electronic resource: its kind and its address.
    const char16_t *resourceType = nullptr;
    const char *resource = nullptr;
    int copies = 1;
    int price = 0;           // dinars; 0 = no price
    int mode = 1;            // MODE_ACQUISITION
    const char *location = "SCI";
    int support = 1;
    int copyStatus = 2;
    int lostCopy = 0;        // number of the copy declared lost, 0 = none
    int homeLoans = 0;
    int inHouseLoans = 0;
};

const RecordDef kRecords[] = {
    // --- French -------------------------------------------------------------
    {.title = u"Introduction aux bases de données relationnelles",
     .complement = u"cours et exercices corrigés", .isbn = "978-9947-512-04", .edition = u"2e éd.",
     .publisher = "cirta", .place = u"Constantine", .year = 2019, .extent = u"312 p.",
     .illustration = u"ill.", .format = u"24 cm", .collection = u"Sciences et techniques",
     .collectionNumber = "12", .authors = u"Benali, Karim|Haddad, Nadia",
     .subjects = u"Bases de données|Informatique", .classes = "005.74",
     .abstract = u"Le modèle relationnel, l'algèbre relationnelle, la normalisation et le langage "
                 u"SQL, avec des exercices corrigés à la fin de chaque chapitre.",
     .resourceType = u"Sommaire", .resource = "www.example.org/cirta/bases-de-donnees/sommaire.html",
     .copies = 3, .price = 1850, .homeLoans = 14, .inHouseLoans = 6},
    {.title = u"Algorithmique et structures de données", .complement = u"avec exercices en langage C",
     .isbn = "978-9931-480-17", .publisher = "medina", .place = u"Blida", .year = 2017,
     .extent = u"408 p.", .illustration = u"ill.", .format = u"24 cm",
     .collection = u"Sciences et techniques", .collectionNumber = "9",
     .authors = u"Mansouri, Rachid", .subjects = u"Algorithmes|Informatique", .classes = "005.1",
     .copies = 3, .price = 1600, .lostCopy = 3, .homeLoans = 22, .inHouseLoans = 5},
    {.title = u"Réseaux informatiques", .complement = u"principes, protocoles et administration",
     .isbn = "978-9947-512-31", .publisher = "cirta", .place = u"Constantine", .year = 2021,
     .extent = u"276 p.", .illustration = u"ill.", .format = u"24 cm",
     .authors = u"Cherif, Yacine|Meziane, Lynda", .subjects = u"Réseaux d'ordinateurs",
     .classes = "004.6", .copies = 2, .price = 2100, .homeLoans = 9, .inHouseLoans = 2},
    {.title = u"Fonctions d'une variable réelle", .set = u"Cours d'analyse mathématique",
     .part = u"Tome 1", .isbn = "978-9931-480-45", .publisher = "medina", .place = u"Blida",
     .year = 2016, .extent = u"254 p.", .format = u"21 cm",
     .collection = u"Manuels universitaires", .collectionNumber = "4",
     .authors = u"Kaci, Mourad", .subjects = u"Analyse mathématique", .classes = "515",
     .copies = 2, .price = 950, .mode = 5, .homeLoans = 11, .inHouseLoans = 3},
    {.title = u"Chimie organique", .complement = u"réactions et mécanismes",
     .isbn = "978-9947-512-58", .publisher = "cirta", .place = u"Constantine", .year = 2018,
     .extent = u"336 p.", .illustration = u"ill.", .format = u"27 cm", .material = u"1 CD-ROM",
     .authors = u"Zerrouki, Amel", .subjects = u"Chimie organique", .classes = "547",
     .copies = 2, .price = 2400, .support = 2, .homeLoans = 7, .inHouseLoans = 1},
    {.title = u"Hydraulique générale et appliquée", .isbn = "978-9931-480-62",
     .publisher = "medina", .place = u"Blida", .year = 2015, .extent = u"389 p.",
     .illustration = u"ill.", .format = u"24 cm", .collection = u"Sciences et techniques",
     .collectionNumber = "7", .authors = u"Boudiaf, Samir", .subjects = u"Hydraulique",
     .classes = "627", .copies = 2, .price = 1750, .homeLoans = 5, .inHouseLoans = 2},
    {.title = u"Économie algérienne",
     .complement = u"de l'économie administrée à l'économie de marché", .isbn = "978-9961-903-12",
     .publisher = "tassili", .place = u"Alger", .year = 2020, .extent = u"298 p.",
     .format = u"23 cm", .authors = u"Larbi, Fatiha", .subjects = u"Économie|Algérie",
     .classes = "330.965|330", .copies = 3, .price = 1400, .location = "SHS", .homeLoans = 18,
     .inHouseLoans = 4},
    {.title = u"Management des organisations", .complement = u"concepts, outils et pratiques",
     .isbn = "978-2-7462-0833", .edition = u"3e éd.", .publisher = "meridiens", .place = u"Paris",
     .year = 2014, .extent = u"412 p.", .illustration = u"fig.", .format = u"24 cm",
     .authors = u"Bensalem, Leïla|Dupré, Claire", .subjects = u"Management", .classes = "658",
     .copies = 2, .price = 3200, .location = "SHS", .homeLoans = 10},
    {.title = u"Droit civil algérien", .complement = u"les obligations", .isbn = "978-9961-903-29",
     .publisher = "tassili", .place = u"Alger", .year = 2019, .extent = u"356 p.",
     .format = u"24 cm", .authors = u"Ould Ahmed, Sofiane",
     .subjects = u"Droit civil|Obligations (droit)", .classes = "346", .copies = 3,
     .price = 1300, .location = "SHS", .homeLoans = 16, .inHouseLoans = 8},
    {.title = u"Sociologie urbaine", .complement = u"la ville algérienne en mutation",
     .isbn = "978-9961-903-36", .publisher = "tassili", .place = u"Alger", .year = 2022,
     .extent = u"224 p.", .illustration = u"ill.", .format = u"22 cm",
     .authors = u"Haddad, Nadia", .subjects = u"Sociologie urbaine|Algérie", .classes = "307.76",
     .copies = 1, .price = 1150, .location = "SHS", .homeLoans = 3, .inHouseLoans = 1},
    {.title = u"Mémoires du Sahara", .complement = u"récits, routes et territoires",
     .isbn = "978-9947-633-08", .publisher = "plateaux", .place = u"Sétif", .year = 2013,
     .extent = u"188 p.", .illustration = u"ill., cartes", .format = u"22 cm",
     .authors = u"Meziane, Lynda", .subjects = u"Sahara", .classes = "965", .copies = 1,
     .price = 980, .mode = 5, .location = "SHS", .homeLoans = 2},
    {.title = u"Les bibliothèques universitaires à l'ère du numérique",
     .complement = u"guide pratique", .isbn = "978-9947-633-15", .publisher = "plateaux",
     .place = u"Sétif", .year = 2020, .extent = u"164 p.", .illustration = u"ill.",
     .format = u"21 cm",
     .authors = u"Bensalem, Leïla|Association algérienne des bibliothécaires universitaires@475",
     .subjects = u"Bibliothèques universitaires|Catalogage", .classes = "027.7|020",
     .copies = 2, .price = 900, .mode = 5, .location = "SHS", .homeLoans = 4,
     .inHouseLoans = 3},
    {.type = 'b', .title = u"Revue algérienne d'informatique et de mathématiques appliquées",
     .issn = "1112-463", .publisher = "cirta", .place = u"Constantine", .year = 2012,
     .format = u"27 cm", .periodicity = "j", .numbering = u"N° 1 (juin 2012)-",
     .authors = u"Laboratoire de recherche en informatique appliquée@475",
     .subjects = u"Informatique|Mathématiques appliquées", .classes = "004",
     .specialIssue = u"Numéro spécial : intelligence artificielle et applications",
     .resourceType = u"Texte integral", .resource = "https://revues.example.org/raima/archives",
     .copies = 1, .price = 800, .location = "PER", .inHouseLoans = 12},
    {.type = 'b', .title = u"Cahiers d'économie et de gestion", .issn = "1112-582",
     .publisher = "tassili", .place = u"Alger", .year = 2008, .format = u"24 cm",
     .periodicity = "h", .numbering = u"N° 1 (mars 2008)-", .subjects = u"Économie|Management",
     .classes = "330", .copies = 1, .price = 650, .location = "PER", .homeLoans = 2,
     .inHouseLoans = 9},
    {.type = 'c',
     .title = u"Optimisation de la gestion des ressources en eau dans le bassin du Chéliff",
     .complement = u"approche par modélisation hydrologique", .year = 2021,
     .extent = u"245 f.", .illustration = u"ill., cartes", .format = u"30 cm",
     .authors = u"Amrani, Walid|Boudiaf, Samir@727",
     .subjects = u"Ressources en eau|Chéliff, Bassin du (Algérie)", .classes = "333.91|627",
     .note = u"Thèse de doctorat : Hydraulique : Blida : 2021",
     .diploma = u"Doctorat", .speciality = u"Hydraulique", .defencePlace = u"Blida",
     .copies = 1, .mode = 5, .location = "THESES", .copyStatus = 3, .inHouseLoans = 4},
    // --- Arabic -------------------------------------------------------------
    {.lang = "ara", .title = u"تاريخ الجزائر الحديث",
     .complement = u"من العهد العثماني إلى الاستقلال", .isbn = "978-9947-718-04",
     .publisher = "adab", .place = u"وهران", .year = 2018, .extent = u"432 ص.",
     .illustration = u"خرائط", .format = u"24 سم", .authors = u"بوزيد، عبد القادر",
     .subjects = u"التاريخ الحديث|الجزائر", .classes = "965", .copies = 3, .price = 1200,
     .location = "SHS", .homeLoans = 19, .inHouseLoans = 7},
    {.lang = "ara", .title = u"مدخل إلى علم الاجتماع", .isbn = "978-9931-702-05",
     .edition = u"ط. 2", .publisher = "nakhil", .place = u"بسكرة", .year = 2016,
     .extent = u"268 ص.", .format = u"22 سم", .authors = u"حمدي، سعاد",
     .subjects = u"علم الاجتماع", .classes = "301", .copies = 3, .price = 850, .location = "SHS",
     .homeLoans = 25, .inHouseLoans = 6},
    {.lang = "ara", .title = u"الأدب الجزائري المعاصر", .complement = u"دراسة نقدية",
     .isbn = "978-9947-718-11", .publisher = "adab", .place = u"وهران", .year = 2020,
     .extent = u"296 ص.", .format = u"24 سم", .authors = u"العربي، فاطمة الزهراء",
     .subjects = u"الأدب الجزائري|النقد الأدبي", .classes = "892.7", .copies = 2, .price = 950,
     .location = "SHS", .homeLoans = 12, .inHouseLoans = 2},
    {.lang = "ara", .title = u"مبادئ الاقتصاد الكلي", .isbn = "978-9961-903-43",
     .publisher = "tassili", .place = u"الجزائر", .year = 2017, .extent = u"352 ص.",
     .illustration = u"رسوم بيانية", .format = u"24 سم", .authors = u"مرابط، عمر|قاسمي، خديجة",
     .subjects = u"الاقتصاد الكلي", .classes = "339", .copies = 3, .price = 1100,
     .location = "SHS", .homeLoans = 17, .inHouseLoans = 3},
    {.lang = "ara", .title = u"القانون الإداري", .complement = u"التنظيم الإداري والنشاط الإداري",
     .isbn = "978-9931-702-12", .publisher = "nakhil", .place = u"بسكرة", .year = 2019,
     .extent = u"384 ص.", .format = u"24 سم", .authors = u"زروال، أحمد",
     .subjects = u"القانون الإداري|الجزائر", .classes = "342", .copies = 3, .price = 1350,
     .location = "SHS", .homeLoans = 21, .inHouseLoans = 9},
    {.lang = "ara", .title = u"اللسانيات التطبيقية وتعليم اللغة العربية",
     .isbn = "978-9947-633-22", .publisher = "plateaux", .place = u"سطيف", .year = 2015,
     .extent = u"212 ص.", .format = u"22 سم", .authors = u"بلقاسم، نور الدين",
     .subjects = u"اللسانيات التطبيقية|تعليم اللغة العربية", .classes = "418", .copies = 2,
     .price = 780, .location = "SHS", .homeLoans = 6, .inHouseLoans = 2},
    {.lang = "ara", .title = u"علم المكتبات والمعلومات", .complement = u"المفاهيم والأسس",
     .isbn = "978-9931-702-29", .publisher = "nakhil", .place = u"بسكرة", .year = 2021,
     .extent = u"240 ص.", .illustration = u"رسوم", .format = u"24 سم",
     .authors = u"سعدي، أمينة", .subjects = u"علم المكتبات", .classes = "020", .copies = 2,
     .price = 900, .location = "SHS", .homeLoans = 5, .inHouseLoans = 4},
    {.lang = "ara", .title = u"الشعر الجزائري الحديث", .complement = u"قضايا وظواهر فنية",
     .isbn = "978-9947-718-28", .publisher = "adab", .place = u"وهران", .year = 2014,
     .extent = u"318 ص.", .format = u"22 سم", .authors = u"يحياوي، كمال",
     .subjects = u"الشعر العربي|الأدب الجزائري", .classes = "892.71", .copies = 2, .price = 700,
     .mode = 5, .location = "SHS", .homeLoans = 8, .inHouseLoans = 1},
    {.lang = "ara", .title = u"أسس الإحصاء الوصفي", .complement = u"مع تمارين محلولة",
     .isbn = "978-9931-480-79", .publisher = "medina", .place = u"البليدة", .year = 2018,
     .extent = u"276 ص.", .illustration = u"رسوم بيانية", .format = u"24 سم",
     .authors = u"بن يوسف، محمد", .subjects = u"الإحصاء", .classes = "519.5", .copies = 2,
     .price = 1000, .homeLoans = 13, .inHouseLoans = 2},
    {.lang = "ara", .title = u"منهجية البحث العلمي في العلوم الإنسانية والاجتماعية",
     .isbn = "978-9961-903-50", .edition = u"ط. 3", .publisher = "tassili", .place = u"الجزائر",
     .year = 2022, .extent = u"198 ص.", .format = u"21 سم",
     .authors = u"حمدي، سعاد|بوزيد، عبد القادر", .subjects = u"منهجية البحث|العلوم الإنسانية",
     .classes = "001.42", .copies = 3, .price = 750, .location = "SHS", .homeLoans = 27,
     .inHouseLoans = 10},
    {.lang = "ara", .title = u"علم النفس التربوي", .complement = u"النظريات والتطبيقات",
     .isbn = "978-9931-702-36", .publisher = "nakhil", .place = u"بسكرة", .year = 2017,
     .extent = u"304 ص.", .format = u"24 سم", .authors = u"قاسمي، خديجة",
     .subjects = u"علم النفس التربوي", .classes = "370.15", .copies = 2, .price = 880,
     .location = "SHS", .homeLoans = 9, .inHouseLoans = 1},
    {.lang = "ara", .title = u"تسيير الموارد البشرية", .parallel = u"Gestion des ressources humaines",
     .isbn = "978-9947-512-65", .publisher = "cirta", .place = u"قسنطينة", .year = 2020,
     .extent = u"256 ص.", .format = u"24 سم", .authors = u"مرابط، عمر",
     .subjects = u"إدارة الموارد البشرية", .classes = "658.3", .copies = 2, .price = 1050,
     .location = "SHS", .homeLoans = 11, .inHouseLoans = 2},
    {.lang = "ara", .title = u"الجغرافيا الطبيعية للجزائر", .isbn = "978-9947-633-39",
     .publisher = "plateaux", .place = u"سطيف", .year = 2013, .extent = u"224 ص.",
     .illustration = u"خرائط", .format = u"27 سم", .authors = u"عيساوي، رشيد",
     .subjects = u"الجغرافيا الطبيعية|الجزائر", .classes = "916.5", .copies = 1, .price = 1250,
     .location = "SHS", .homeLoans = 4, .inHouseLoans = 3},
    {.type = 'b', .lang = "ara", .title = u"مجلة العلوم الإنسانية والاجتماعية",
     .issn = "1112-671", .publisher = "plateaux", .place = u"سطيف", .year = 2010,
     .format = u"24 سم", .periodicity = "j", .numbering = u"ع. 1 (جوان 2010)-",
     .authors = u"مخبر الدراسات الاجتماعية والإنسانية@475",
     .subjects = u"العلوم الإنسانية|علم الاجتماع", .classes = "300",
     .specialIssue = u"عدد خاص: الذاكرة الوطنية والكتابة التاريخية", .copies = 1, .price = 600,
     .location = "PER", .inHouseLoans = 7},
    {.type = 'c', .lang = "ara", .title = u"الحركة الإصلاحية في الجزائر",
     .complement = u"1925-1954: دراسة تاريخية", .year = 2019, .extent = u"389 ورقة",
     .format = u"30 سم", .authors = u"شريفي، ليلى|بوزيد، عبد القادر@727",
     .subjects = u"الحركة الإصلاحية|الجزائر", .classes = "965",
     .note = u"أطروحة دكتوراه : التاريخ المعاصر : قسنطينة : 2019", .diploma = u"Doctorat",
     .speciality = u"Histoire contemporaine", .defencePlace = u"قسنطينة", .copies = 2, .mode = 5,
     .location = "THESES", .homeLoans = 3, .inHouseLoans = 5},
};

// --- Small helpers ----------------------------------------------------------

QStringList split(const char16_t *list)
{
    return list ? text(list).split(u'|', Qt::SkipEmptyParts) : QStringList();
}

QStringList split(const char *list)
{
    return list ? QString::fromLatin1(list).split(u'|', Qt::SkipEmptyParts) : QStringList();
}

QVariant latin(const char *s) { return s ? QVariant(QString::fromLatin1(s)) : QVariant(); }

// ISBN-13 from its first twelve digits (hyphens allowed), stored the way the
// record form stores it: without hyphens.
QString isbn13(const char *first12)
{
    const QString digits = NormaliseStandardNumber(QString::fromLatin1(first12)).toString();
    int sum = 0;
    for (int i = 0; i < digits.size(); ++i)
        sum += digits.at(i).digitValue() * (i % 2 == 0 ? 1 : 3);
    return digits + QString::number((10 - sum % 10) % 10);
}

// ISSN from its first seven digits, without the hyphen.
QString issn(const char *first7)
{
    const QString digits = NormaliseStandardNumber(QString::fromLatin1(first7)).toString();
    int sum = 0;
    for (int i = 0; i < digits.size(); ++i)
        sum += digits.at(i).digitValue() * (8 - i);
    const int check = (11 - sum % 11) % 11;
    return digits + (check == 10 ? QStringLiteral("X") : QString::number(check));
}

// The author part of a shelf mark: three letters of the surname (or of the
// title when there is no author), in capitals for Latin script, without the
// Arabic article.
QString authorMark(const QString &heading)
{
    QString surname = heading.section(QRegularExpression(QStringLiteral("[,،]")), 0, 0).trimmed();
    if (surname.startsWith(QStringLiteral("ال")) && surname.size() > 4)
        surname = surname.mid(2);
    surname.remove(u' ');
    return surname.left(3).toUpper();
}

QString monthName(int month, bool arabic)
{
    static const char16_t *fr[] = {u"janvier", u"février", u"mars", u"avril", u"mai", u"juin",
                                   u"juillet", u"août", u"septembre", u"octobre", u"novembre",
                                   u"décembre"};
    static const char16_t *ar[] = {u"جانفي", u"فيفري", u"مارس", u"أفريل", u"ماي", u"جوان",
                                   u"جويلية", u"أوت", u"سبتمبر", u"أكتوبر", u"نوفمبر", u"ديسمبر"};
    return text(arabic ? ar[month - 1] : fr[month - 1]);
}

// --- Writer -----------------------------------------------------------------

class CatalogueWriter
{
public:
    CatalogueWriter(Context &cx, Catalogue *out) : cx_(cx), out_(out) {}

    bool run()
    {
        return writeLabels("DIPLOME", "DIP", kDiplomas, &diplomas_)
            && writeLabels("SPECIALITE", "SPE", kSpecialities, &specialities_)
            && writeLabels("SUPPORT", "SUP", kSupports, &supports_) && writeLocations()
            && writePublishers() && writeCollections() && writeSubCollections() && writeHeadings() && writeClasses()
            && writeRecords();
    }

private:
    template <std::size_t N>
    bool writeLabels(const char *table, const char *prefix, const LabelDef (&defs)[N],
                     QHash<QString, int> *ids)
    {
        const QString p = QString::fromLatin1(prefix);
        const QByteArray idColumn = (p + QStringLiteral("_ID")).toLatin1();
        int id = cx_.nextId(table, idColumn.constData());
        QVector<QVariantList> rows;
        for (const LabelDef &d : defs) {
            ids->insert(text(d.fr), id);
            rows.append({id++, text(d.fr), text(d.ar)});
        }
        return cx_.insert(table, {p + QStringLiteral("_ID"), p + QStringLiteral("_LIBELLE"),
                                  p + QStringLiteral("_LIBELLE_AR")},
                          rows);
    }

    bool writeLocations()
    {
        QVector<QVariantList> rows;
        for (const LocationDef &l : kLocations)
            rows.append({QString::fromLatin1(l.id), text(l.label)});
        return cx_.insert("LOCALISATION", columns({"LOC_ID", "LOC_LIBELLE"}), rows);
    }

    bool writePublishers()
    {
        int id = cx_.nextId("EDITEUR", "EDT_ID");
        QVector<QVariantList> rows;
        for (const PublisherDef &p : kPublishers) {
            publishers_.insert(QString::fromLatin1(p.key), id);
            rows.append({id++, text(p.name), text(p.nameAr), 1, text(p.address), text(p.phone),
                         QString::fromLatin1(p.country)});
        }
        return cx_.insert("EDITEUR",
                          columns({"EDT_ID", "EDT_NOM", "EDT_NOM_AR", "EDT_TYPE", "EDT_ADRESSE",
                                   "EDT_TEL", "PAY_ID"}),
                          rows);
    }

    bool writeCollections()
    {
        int id = cx_.nextId("COLLECTION", "COL_ID");
        QVector<QVariantList> rows;
        for (const CollectionDef &c : kCollections) {
            collections_.insert(text(c.title), id);
            rows.append({id++, text(c.title), optional(c.parallel), optional(c.complement)});
        }
        return cx_.insert("COLLECTION",
                          columns({"COL_ID", "COL_TITRE_PROPRE", "COL_TITRE_PARALLELE",
                                   "COL_TITRE_COMPLEMENT"}),
                          rows);
    }

    bool writeSubCollections()
    {
        int id = cx_.nextId("SOUS_COLLECTION", "SCL_ID");
        QVector<QVariantList> rows;
        for (const SubCollectionDef &c : kSubCollections) {
            QVariant collection;
            if (!lookup(collections_, text(c.collection), "collection", &collection))
                return false;
            rows.append({id++, collection, text(c.title), text(c.parallel)});
        }
        return cx_.insert("SOUS_COLLECTION", columns({"SCL_ID", "COL_ID", "SCL_TITRE_PROPRE", "SCL_TITRE_PARALLELE"}),
                          rows);
    }

    bool writeHeadings()
    {
        int id = cx_.nextId("VEDETTE", "VED_ID");
        for (const HeadingDef &h : kHeadings)
            headings_.insert(text(h.name), id++);
        QVector<QVariantList> rows;
        for (const HeadingDef &h : kHeadings) {
            const QString name = text(h.name);
            const int own = headings_.value(name);
            int accepted = own;
            if (h.acceptedForm) {
                accepted = headings_.value(text(h.acceptedForm));
                if (!accepted)
                    return cx_.fail(QStringLiteral("no accepted heading \"%1\"").arg(text(h.acceptedForm)));
            }
            rows.append({own, h.kind, name, accepted});
        }
        return cx_.insert("VEDETTE", columns({"VED_ID", "TYP_VED_ID", "VED_NOM", "VED_ID2"}),
                          rows);
    }

    bool writeClasses()
    {
        QVector<QVariantList> rows;
        for (const ClassDef &c : kClasses)
            rows.append({QString::fromLatin1(c.index), text(c.fr), text(c.ar)});
        return cx_.insert("CLASSIFICATION", columns({"CLA_ID", "CLA_LIBELLE", "CLA_LIBELLE_AR"}),
                          rows);
    }

    // Looks a name up in one of the tables written above.
    bool lookup(const QHash<QString, int> &ids, const QString &name, const char *what, QVariant *id)
    {
        const auto it = ids.constFind(name);
        if (it == ids.constEnd())
            return cx_.fail(QStringLiteral("unknown %1 \"%2\"").arg(QLatin1String(what), name));
        *id = *it;
        return true;
    }

    bool writeRecords();
    bool writeAuthors(const RecordDef &r, int docId, QString *firstAuthor);
    bool writeSubjectsAndClasses(const RecordDef &r, int docId);
    bool writeIssues(const RecordDef &r, int docId);
    bool writeResource(const RecordDef &r, int docId);
    bool writeCopies(const RecordDef &r, Record *rec, const QDate &acquired, const QString &mark);

    Context &cx_;
    Catalogue *out_;
    QHash<QString, int> diplomas_, specialities_, supports_, publishers_, collections_, headings_;
    int nextAuthorRow_ = 0, nextSubjectRow_ = 0, nextClassRow_ = 0, nextIssue_ = 0, nextResource_ = 0;
    int nextCopy_ = 101;
};

bool CatalogueWriter::writeRecords()
{
    const QStringList cols = columns(
        {"DOC_ID", "TYP_ID", "IND_ID", "STA_ID", "LAN_ID", "PER_ID", "DOC_TITRE_PROPRE",
         "DOC_TITRE_PARALLELE", "DOC_TITRE_COMPLEMENT", "DOC_TITRE_ENSEMBLE", "DOC_NUMERO_PARTIE",
         "DOC_ISBN", "DOC_ISSN", "DOC_EDITION", "DOC_LIEU_EDITION", "EDT_ID", "DOC_ANNEE",
         "DOC_NBR_UNITE", "DOC_ILLUSTRATION", "DOC_FORMAT", "DOC_MATERIEL", "COL_ID", "COL_NUMERO",
         "DOC_NUMEROTATION", "DOC_NOTE", "DOC_RESUME", "DIP_ID", "SPE_ID", "DOC_LIEU_SOUTENANCE",
         "DOC_NBR_EXEMPLAIRE", "PAY_ID", "DOC_PRET_INTERNE", "DOC_PRET_EXTERNE", "CREATE_USER",
         "CREATE_DATE", "BIB_ID"});
    nextAuthorRow_ = cx_.nextId("NOTICE_AUTEUR", "NAU_ID");
    nextSubjectRow_ = cx_.nextId("NOTICE_MATIERE", "NMA_ID");
    nextClassRow_ = cx_.nextId("NOTICE_CLASSIFICATION", "NCL_ID");
    nextIssue_ = cx_.nextId("NOTICE_BULLETIN", "BUL_ID");
    nextResource_ = cx_.nextId("NOTICE_RESSOURCE", "RES_ID");
    int docId = cx_.nextId("NOTICE", "DOC_ID");
    int n = 0;
    for (const RecordDef &r : kRecords) {
        ++n;
        const QString title = text(r.title);
        QVariant publisher, collection, diploma, speciality;
        if ((r.publisher && !lookup(publishers_, QString::fromLatin1(r.publisher), "publisher", &publisher))
            || (r.collection && !lookup(collections_, text(r.collection), "collection", &collection))
            || (r.diploma && !lookup(diplomas_, text(r.diploma), "diploma", &diploma))
            || (r.speciality && !lookup(specialities_, text(r.speciality), "speciality", &speciality)))
            return false;

        Record rec;
        rec.docId = docId++;
        rec.type = QString(QLatin1Char(r.type));
        rec.title = title;
        const QVariant isbn = r.isbn ? QVariant(isbn13(r.isbn)) : QVariant();
        const QVariant issnValue = r.issn ? QVariant(issn(r.issn)) : QVariant();
        rec.reference = r.isbn ? isbn.toString() : issnValue.toString();
        rec.priceCents = qint64(r.price) * 100;

        // Bought the year after publication (a serial: last year), never
        // later than three months ago, so that every loan comes after it.
        const int boughtIn = r.type == 'b' ? cx_.today.year() - 1 : r.year + 1;
        const QDate acquired = cx_.openOnOrBefore(
            qMin(QDate(boughtIn, 1 + (n * 5) % 12, 1 + (n * 7) % 27), cx_.today.addDays(-90 - 3 * n)));
        const QString year = r.type == 'b' ? QString::number(r.year) + u'-' : QString::number(r.year);
        const QVariantList row{
            rec.docId, rec.type, QStringLiteral("a"), 1, QString::fromLatin1(r.lang),
            latin(r.periodicity), title, optional(r.parallel), optional(r.complement),
            optional(r.set), optional(r.part), isbn, issnValue, optional(r.edition),
            optional(r.place), publisher, year, optional(r.extent), optional(r.illustration),
            optional(r.format), optional(r.material), collection, latin(r.collectionNumber),
            optional(r.numbering), optional(r.note), optional(r.abstract), diploma, speciality,
            optional(r.defencePlace), r.copies, QStringLiteral("DZ"), r.inHouseLoans, r.homeLoans,
            QStringLiteral("admin"), QDateTime(acquired, QTime(9, 0).addSecs(n * 420)), 0};
        if (!cx_.insert("NOTICE", cols, {row}))
            return false;

        QString firstAuthor;
        if (!writeAuthors(r, rec.docId, &firstAuthor) || !writeSubjectsAndClasses(r, rec.docId)
            || (r.type == 'b' && !writeIssues(r, rec.docId)) || !writeResource(r, rec.docId))
            return false;
        const QString mark = authorMark(firstAuthor.isEmpty() ? title : firstAuthor);
        if (!writeCopies(r, &rec, acquired, mark))
            return false;
        out_->records.append(rec);
    }
    return true;
}

bool CatalogueWriter::writeAuthors(const RecordDef &r, int docId, QString *firstAuthor)
{
    QVector<QVariantList> rows;
    int authors = 0;
    for (const QString &entry : split(r.authors)) {
        const QString name = entry.section(u'@', 0, 0);
        const QString relator = entry.section(u'@', 1, 1);
        QVariant ved;
        if (!lookup(headings_, name, "heading", &ved))
            return false;
        const bool secondary = !relator.isEmpty();
        const int autType = secondary ? 3 : (authors == 0 ? 1 : 2);
        if (!secondary)
            ++authors;
        if (firstAuthor->isEmpty() && !secondary)
            *firstAuthor = name;
        rows.append({nextAuthorRow_++, docId, ved, secondary ? relator : QStringLiteral("070"), autType});
    }
    return rows.isEmpty()
        || cx_.insert("NOTICE_AUTEUR", columns({"NAU_ID", "DOC_ID", "VED_ID", "FON_ID", "AUT_TYPE"}),
                      rows);
}

bool CatalogueWriter::writeSubjectsAndClasses(const RecordDef &r, int docId)
{
    QVector<QVariantList> subjects;
    for (const QString &name : split(r.subjects)) {
        QVariant ved;
        if (!lookup(headings_, name, "subject", &ved))
            return false;
        subjects.append({nextSubjectRow_++, docId, ved});
    }
    QVector<QVariantList> classes;
    for (const QString &index : split(r.classes))
        classes.append({nextClassRow_++, docId, index});
    return (subjects.isEmpty()
            || cx_.insert("NOTICE_MATIERE", columns({"NMA_ID", "DOC_ID", "VED_ID"}), subjects))
        && (classes.isEmpty()
            || cx_.insert("NOTICE_CLASSIFICATION", columns({"NCL_ID", "DOC_ID", "CLA_ID"}), classes));
}

// The issues of the last three years (semi-annual) or two years (quarterly),
// numbered from the first year of the serial; an issue whose month is not
// over yet is still awaited.
bool CatalogueWriter::writeIssues(const RecordDef &r, int docId)
{
    const bool arabic = QLatin1String(r.lang) == QLatin1String("ara");
    const bool quarterly = QLatin1String(r.periodicity) == QLatin1String("h");
    const QVector<int> months = quarterly ? QVector<int>{3, 6, 9, 12} : QVector<int>{6, 12};
    const int thisYear = cx_.today.year();
    QVector<QVariantList> rows;
    for (int y = thisYear - (quarterly ? 1 : 2); y <= thisYear; ++y) {
        for (int i = 0; i < months.size(); ++i) {
            const int number = (y - r.year) * int(months.size()) + i + 1;
            const bool received = QDate(y, months[i], 1).addMonths(1) <= cx_.today;
            const QVariant special = rows.size() == 2 ? optional(r.specialIssue) : QVariant();
            rows.append({nextIssue_++, docId, 0, QString::number(number),
                         QString(monthName(months[i], arabic) + u' ' + QString::number(y)), special,
                         received ? 1 : 0});
        }
    }
    return cx_.insert("NOTICE_BULLETIN",
                      columns({"BUL_ID", "DOC_ID", "BIB_ID", "BUL_NUMERO", "BUL_DATE", "BUL_TITRE",
                               "BUL_STATUT"}),
                      rows);
}

bool CatalogueWriter::writeResource(const RecordDef &r, int docId)
{
    if (!r.resource)
        return true;
    return cx_.insert("NOTICE_RESSOURCE", columns({"RES_ID", "DOC_ID", "RES_TYPE", "RES_LIEN"}),
                      {{nextResource_++, docId, text(r.resourceType), QString::fromLatin1(r.resource)}});
}

bool CatalogueWriter::writeCopies(const RecordDef &r, Record *rec, const QDate &acquired,
                                  const QString &mark)
{
    const QString prefix = r.type == 'b' ? QStringLiteral("P ") : r.type == 'c' ? QStringLiteral("T ")
                                                                                : QString();
    const QString shelfMark = prefix + split(r.classes).value(0) + u' ' + mark;
    QVariant support;
    if (!lookup(supports_, text(kSupports[r.support - 1].fr), "support", &support))
        return false;
    QVector<QVariantList> rows;
    for (int k = 1; k <= r.copies; ++k) {
        const QString barcode = ZeroPad(nextCopy_, 6);
        const QString inventory = QString::number(acquired.year()) + u'/' + ZeroPad(nextCopy_ - 100, 4);
        ++nextCopy_;
        // A third copy is kept in the stacks.
        const QString location = QString::fromLatin1(k == 3 ? "MAG" : r.location);
        const int status = k == r.lostCopy ? 6 : r.copyStatus;
        rows.append({barcode, rec->docId, 0, shelfMark, inventory, location, support, status,
                     r.mode, r.price > 0 ? QVariant(money(rec->priceCents)) : QVariant(), acquired,
                     status == 6 ? QVariant(QStringLiteral("Non restitué, déclaré perdu"))
                                 : QVariant(),
                     1});
        rec->copies.append(barcode);
    }
    out_->copies += int(rows.size());
    return cx_.insert("NOTICE_EXEMPLAIRE",
                      columns({"EXP_ID", "DOC_ID", "BIB_ID", "EXP_COTE", "EXP_INV", "LOC_ID",
                               "SUP_ID", "STA_EXP_ID", "MOD_ID", "EXP_PRIX",
                               "EXP_DATE_ACQUISITION", "EXP_OBSERVATION", "EXP_INVENTORIE"}),
                      rows);
}

} // namespace

const Record *Catalogue::find(const QString &title) const
{
    for (const Record &r : records) {
        if (r.title == title)
            return &r;
    }
    return nullptr;
}

bool writeCatalogue(Context &cx, Catalogue *out)
{
    CatalogueWriter writer(cx, out);
    return writer.run();
}

} // namespace folian::demo
