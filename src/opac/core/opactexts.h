#pragma once
// The public catalogue's words in French and in Arabic. The pages are
// written in the reader's language (lang=fr or lang=ar), whatever the
// language of the session that runs the server.

#include <QDate>
#include <QString>

namespace folian::opac {

struct Words {
    const char16_t *language;    // lang attribute
    const char16_t *direction;   // dir attribute
    const char16_t *catalogue;   // the pages' title
    const char16_t *otherLanguage, *otherLanguageCode;
    const char16_t *search, *newSearch;
    const char16_t *title, *author, *subject, *number, *type, *language_, *anyType, *anyLanguage;
    const char16_t *typeSomething;  // a search without any criterion
    const char16_t *noResult;
    const char16_t *previous, *next;
    const char16_t *year, *availability;
    const char16_t *copies, *copyNumber, *shelfMark, *location, *status, *dueDate;
    const char16_t *noCopy;
    const char16_t *available, *availableOnSite, *inConsultation, *reserved;
    const char16_t *badRequest, *notFound, *unavailable, *backToSearch;
};

const Words &words(bool arabic);
QString text(const char16_t *word);

// "12 notices trouvées" / "page 2 sur 5"; when more were found than
// counted, "plus de 10 000 notices trouvées" / "page 2 des 500 premières".
QString foundCount(qint64 count, bool arabic, bool more = false);
QString pageOf(int page, int pages, bool arabic, bool more = false);
// "en prêt jusqu'au 12/03/2027".
QString onLoanUntil(const QDate &due, bool arabic);
// A date as the pages show it: dd/MM/yyyy.
QString shownDate(const QDate &date);

// The reasons of a refused request, shown on its 400 page.
QString tooLong(bool arabic);
QString tooManyWords(bool arabic);
QString badPage(bool arabic);
QString badCode(bool arabic);
QString badRecord(bool arabic);
QString badMethod(bool arabic);

} // namespace folian::opac
