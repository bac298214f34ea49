#pragma once
// Private to the reference data: the long code lists live in files of
// their own and are gathered by Schema::referenceData().

#include "schema.h"

namespace folian {

// One row of a code table: code, French label, Arabic label.
struct CodeLabel {
    const char16_t *code;
    const char16_t *fr;
    const char16_t *ar;
};

// Rows (code, label, Arabic label) for the given table and column names.
SeedRows codeLabelRows(const char *table, const char *codeColumn, const char *labelColumn,
                       const CodeLabel *rows, qsizetype count);

SeedRows languageRows();   // LANGUE: ISO 639-2/B codes
SeedRows countryRows();    // PAYS: ISO 3166-1 alpha-2 codes

} // namespace folian
