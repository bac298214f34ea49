#!/usr/bin/env bash
# Builds the program and takes the screenshots of the documentation on a
# demonstration database made in a temporary directory: the logon dialog and
# the main window (administration, users; editions with a page previewed; the
# record form on a monograph and on a serial's copies and issues; circulation:
# readers, a new reader, categories, reminders, editions) in French and in
# Arabic.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build_dir=${FOLIAN_BUILD_DIR:-build}

say() { printf 'screenshots: %s\n' "$*"; }

command -v xvfb-run >/dev/null || { say "xvfb-run is missing (run scripts/setup.sh)" >&2; exit 1; }

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j2 --target folian folianctl folian-opac folian_translations folian_sru_fixture

work=$(mktemp -d "${TMPDIR:-/tmp}/folian-shots.XXXXXX")
trap 'rm -rf "$work"' EXIT
ini=$work/Folian.ini

write_ini() {
    cat >"$ini" <<INI
[Application]
Engine=SQLITE
Catalog=Folian.db
Login=1
Language=$1
INI
}

write_ini FR
printf 'admin\n' | "$build_dir/bin/folianctl" --ini "$ini" --admin-login admin init-db --admin-password-stdin
if ! "$build_dir/bin/folianctl" --ini "$ini" demo-db; then
    say "no demonstration data: the database holds the administrator only"
fi

# The pages go to the user's directory of pages: one inside the work directory.
export XDG_DATA_HOME=$work/share
titles_page() {
    "$build_dir/bin/folianctl" --ini "$ini" report titres.html --title "Index titres" \
        --sql "SELECT DOC_ID, DOC_TITRE_PROPRE, TYP_ID, DOC_ANNEE FROM NOTICE ORDER BY DOC_TITRE_PROPRE" >/dev/null
}

# fresh_demo_db LANGUAGE: a new demonstration database, for the shots that change it.
fresh_demo_db() {
    rm -f "$work/Folian.db"
    write_ini "$1"
    printf 'admin\n' | "$build_dir/bin/folianctl" --ini "$ini" --admin-login admin init-db --admin-password-stdin >/dev/null
    "$build_dir/bin/folianctl" --ini "$ini" demo-db >/dev/null
}

mkdir -p docs
# shot LANGUAGE OUTPUT [VAR=VALUE...]: one run of the program, one picture.
shot() {
    local language=$1 out=$2
    shift 2
    write_ini "$language"
    rm -f "$out"
    env "$@" FOLIAN_SCREENSHOT="$root/$out" \
        xvfb-run -a -s "-screen 0 1280x800x24" "$build_dir/bin/folian" --ini "$ini"
    [[ -s $out ]] || { say "$out was not written" >&2; exit 1; }
    say "wrote $out"
}

shot FR docs/logon-fr.png
shot AR docs/logon-ar.png
# An account deleted at another workstation (here the sqlite3 shell) while
# the logon dialog is open: the logon reads it again and says so. Then the
# question of an irreversible step, "Non" by default.
for language in FR AR; do
    lower=${language,,}
    ( sleep 1.5; sqlite3 "$work/Folian.db" "DELETE FROM UTILISATEUR WHERE UTL_LOGIN = 'resp.cat'" ) &
    shot "$language" "docs/logon-user-gone-$lower.png" FOLIAN_LOGON=resp.cat:x FOLIAN_LOGON_DELAY=3500
    wait
    sqlite3 "$work/Folian.db" "INSERT INTO UTILISATEUR (UTL_ID, UTL_LOGIN, UTL_NOM, UTL_PRENOM, UTL_ROLE) VALUES (99, 'resp.cat', 'C', 'R', 3)"
    shot "$language" "docs/question-reset-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Administration/Initialisation"
done
shot FR docs/main-fr.png FOLIAN_AUTOLOGON=admin:admin FOLIAN_OPEN=Administration/Utilisateurs
shot AR docs/main-ar.png FOLIAN_AUTOLOGON=admin:admin FOLIAN_OPEN=Administration/Utilisateurs
# "À propos": the release, the database's schema version, its engine.
shot FR docs/about-fr.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=À propos"
shot AR docs/about-ar.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=À propos"
shot FR docs/record-fr.png FOLIAN_AUTOLOGON=admin:admin FOLIAN_OPEN=Catalogage FOLIAN_RECORD=1 FOLIAN_TAB=0
shot AR docs/record-ar.png FOLIAN_AUTOLOGON=admin:admin FOLIAN_OPEN=Catalogage FOLIAN_RECORD=16 FOLIAN_TAB=0
shot FR docs/record-copies-fr.png FOLIAN_AUTOLOGON=admin:admin FOLIAN_OPEN=Catalogage FOLIAN_RECORD=13 FOLIAN_TAB=3
shot AR docs/record-copies-ar.png FOLIAN_AUTOLOGON=admin:admin FOLIAN_OPEN=Catalogage FOLIAN_RECORD=29 FOLIAN_TAB=3
shot FR docs/record-preview-fr.png FOLIAN_AUTOLOGON=admin:admin FOLIAN_OPEN=Catalogage FOLIAN_RECORD=1 FOLIAN_TAB=4
shot AR docs/record-preview-ar.png FOLIAN_AUTOLOGON=admin:admin FOLIAN_OPEN=Catalogage FOLIAN_RECORD=16 FOLIAN_TAB=4
write_ini FR && titles_page
shot FR docs/editions-fr.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Editions/Index titres"
write_ini AR && titles_page
shot AR docs/editions-ar.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Editions/Index titres"
# The physical inventory: on a fresh demonstration database, a campaign over
# the copies whose numbers begin with 0001 and a scanner's file read (one
# number unknown); the screen with those copies found by the number's
# beginning, then the campaign's pages rendered for a look when a headless
# browser is there.
for language in FR AR; do
    lower=${language,,}
    fresh_demo_db "$language"
    "$build_dir/bin/folianctl" --ini "$ini" inventory start --copy '0001*' >/dev/null 2>&1
    printf '000101\r\n000102\r\n999999\r\n' >"$work/scan.txt"
    "$build_dir/bin/folianctl" --ini "$ini" inventory mark "$work/scan.txt" >/dev/null 2>&1
    operator=Contient
    [[ $language == AR ]] && operator=يبدأ
    shot "$language" "docs/inventory-$lower.png" FOLIAN_AUTOLOGON=admin:admin \
        "FOLIAN_OPEN=Acquisitions/Inventaire/Rechercher" "FOLIAN_SCAN=0001*|$operator"
    "$build_dir/bin/folianctl" --ini "$ini" inventory report "$work/inventory" >/dev/null
    browser=$(command -v chromium || command -v chromium-browser || true)
    if [[ -n $browser ]]; then
        for page in invCampagne invEcarts; do
            "$browser" --headless --no-sandbox --disable-gpu --window-size=1100,500 \
                --screenshot="$root/docs/inventory-${page#inv}-$lower.png" "file://$work/inventory/$page.html" >/dev/null 2>&1
            say "wrote docs/inventory-${page#inv}-$lower.png"
        done
    fi
done
# Acquisitions: the orders found with the lines of the first one; on a fresh
# demonstration database whose order is validated and received with two
# copies generated, the delivery note with its copies and the batch
# generator opened on it with a series typed.
for language in FR AR; do
    lower=${language,,}
    shot "$language" "docs/orders-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Acquisitions/Commandes/Rechercher"
done
for language in FR AR; do
    lower=${language,,}
    fresh_demo_db "$language"
    ctl() { "$build_dir/bin/folianctl" --ini "$ini" "$@"; }
    ctl order-validate 1 >/dev/null
    delivery=$(ctl receive 1 --number "BL 2024/031")
    line=$(ctl order-show 1 | awk -F '\t' 'NR == 1 {print $1}')
    ctl generate-copies "$delivery" "$line" --count 2 --prefix ACQ- --start 1 --shelfmark-prefix "005.74 INT" >/dev/null
    shot "$language" "docs/delivery-note-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Acquisitions/Livraisons/Rechercher/Modifier"
    shot "$language" "docs/generator-$lower.png" FOLIAN_AUTOLOGON=admin:admin \
        "FOLIAN_OPEN=Acquisitions/Livraisons/Rechercher/Modifier/Générer" \
        "FOLIAN_FIELDS=edEXP=ACQ-|edDebutEXP=3|edCote=005.74 INT|edAlternatif=INV-2024-|edDebutAlternatif=98"
done
# An outgoing exchange with two titles and the copies it hands over (two of
# the first title, one of the second); the suggestions, oldest first; the
# copies a newer exchange may still choose.
for language in FR AR; do
    lower=${language,,}
    fresh_demo_db "$language"
    ctl() { "$build_dir/bin/folianctl" --ini "$ini" "$@"; }
    exchange=$(ctl gift-add --kind exchange --number "ECH 2024/05" --partner "Bibliothèque universitaire de Tlemcen" \
        --direction out --date 2024-05-06)
    first=$(ctl gift-line "$exchange" --record 7 --copies 2)
    second=$(ctl gift-line "$exchange" --record 16 --copies 1)
    ctl gift-attach "$first" 000115 && ctl gift-attach "$first" 000116 && ctl gift-attach "$second" 000130
    ctl suggestion-add "L'Étranger" --author "Albert Camus" --publisher Gallimard --price 1250.00 --date 2024-03-02 >/dev/null
    ctl suggestion-add "نجمة" --author "كاتب ياسين" --publisher "دار الغرب" --date 2024-04-10 >/dev/null
    shot "$language" "docs/exchange-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Acquisitions/Echanges/Rechercher"
    shot "$language" "docs/suggestions-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Acquisitions/Suggestions/Rechercher"
    # A newer exchange with room for one more copy: its selection page.
    exchange=$(ctl gift-add --kind exchange --number "ECH 2024/06" --partner "Centre culturel d'Oran" --direction out \
        --date 2024-06-01)
    ctl gift-attach "$(ctl gift-line "$exchange" --record 2 --copies 2)" 000104
    shot "$language" "docs/exchange-selection-$lower.png" FOLIAN_AUTOLOGON=admin:admin \
        "FOLIAN_OPEN=Acquisitions/Echanges/Rechercher/Ajouter"
done
# The budget of this year found, with a commitment on a second chapter, a
# transfer, the order validated and invoiced on the first commitment: its
# chapters, its commitments and its transfers; the order's new invoice with
# its fields typed.
for language in FR AR; do
    lower=${language,,}
    fresh_demo_db "$language"
    ctl() { "$build_dir/bin/folianctl" --ini "$ini" "$@"; }
    year=$(date +%Y)
    read -r first second third _ < <(ctl budget-show "$year" | awk -F '\t' '$1 == "chapter" {printf "%s ", $2} END {print ""}')
    ctl commitment-add "$second" 120000.50 --payment-mode "Chèque" --payment-number "CH-0042" >/dev/null
    ctl transfer "$third" "$first" 50000 >/dev/null
    ctl order-validate 1 >/dev/null
    ctl invoice-add "FA 2024/117" --document 1 --commitment 1 --amount 182350.75 >/dev/null
    page=0
    for tab in chapters commitments transfers; do
        shot "$language" "docs/budget-$tab-$lower.png" FOLIAN_AUTOLOGON=admin:admin \
            "FOLIAN_OPEN=Acquisitions/Gestion de budget/Rechercher" "FOLIAN_TYPE=$year" "FOLIAN_PAGE=$page"
        page=$((page + 1))
    done
    shot "$language" "docs/invoice-$lower.png" FOLIAN_AUTOLOGON=admin:admin \
        "FOLIAN_OPEN=Acquisitions/Commandes/Rechercher/Nouvelle facture" \
        "FOLIAN_FIELDS=EdtNumero=FA 2024/118|EdtMontant=25000,00|EdtEngagement=1"
done
# Serial subscriptions and claims: a subscription of three serials with its
# periodicities, received with one issue come and one awaited; the order
# validated with a title expected two months ago and half received, and a
# second subscription of its supplier with an issue awaited: the
# subscriptions found, the delivery note with its issues, the late
# suppliers with what the first owes, and its claim letter.
for language in FR AR; do
    lower=${language,,}
    fresh_demo_db "$language"
    ctl() { "$build_dir/bin/folianctl" --ini "$ini" "$@"; }
    year=$(date +%Y)
    sub=$(ctl order-add --supplier 2 --number "AB $year/01" --subscription)
    first=$(ctl order-line "$sub" --record 13 --copies 1 --price 4800 --numbering "n° 41 à 52")
    ctl order-line "$sub" --record 14 --copies 2 --price 2500 --numbering "n° 95 à 98" >/dev/null
    ctl order-line "$sub" --record 29 --copies 1 --price 3200 --numbering "العدد 17 إلى 20" >/dev/null
    late=$(ctl order-line 1 --record 2 --copies 2 --price 1850 --expected "$(date -d '-70 days' +%F)")
    ctl order-validate 1 >/dev/null
    ctl order-validate "$sub" >/dev/null
    delivery=$(ctl receive 1 --number "BL $year/031" --date "$(date -d '-60 days' +%F)")
    ctl generate-copies "$delivery" "$late" --count 1 --prefix ACQ- --start 90 >/dev/null
    other=$(ctl order-add --supplier 1 --number "AB $year/02" --subscription)
    line=$(ctl order-line "$other" --record 29 --copies 1 --price 3200)
    ctl order-validate "$other" >/dev/null
    delivery=$(ctl receive "$other" --number "BL $year/012" --date "$(date -d '-30 days' +%F)")
    ctl issue-add "$delivery" "$line" --number 18 --date "$year/06" --title "عدد خاص" --awaited >/dev/null
    delivery=$(ctl receive "$sub" --number "BL $year/044")
    ctl issue-add "$delivery" "$first" --number 41 --date "janvier $year" >/dev/null
    ctl issue-add "$delivery" "$first" --number 42 --date "février $year" --awaited >/dev/null
    shot "$language" "docs/subscriptions-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Acquisitions/Abonnements/Rechercher"
    shot "$language" "docs/subscription-issues-$lower.png" FOLIAN_AUTOLOGON=admin:admin \
        "FOLIAN_OPEN=Acquisitions/Livraisons/Rechercher/Modifier"
    shot "$language" "docs/claims-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Acquisitions/Relances"
    shot "$language" "docs/claim-letter-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Acquisitions/Relances/Imprimer relance"
done
# Circulation: the readers found by "*", a new reader, the categories and their loan rules.
for language in FR AR; do
    lower=${language,,}
    shot "$language" "docs/readers-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Circulation/Recherche/Rechercher" "FOLIAN_TYPE=*"
    shot "$language" "docs/reader-form-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Circulation/Inscription"
    shot "$language" "docs/categories-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Circulation/Catégories et règlements"
done
# Circulation: the late readers with the reminder letter previewed; the
# editions with a list, and that list's page previewed.
for language in FR AR; do
    lower=${language,,}
    shot "$language" "docs/reminders-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Circulation/Relances"
    shot "$language" "docs/reminder-letter-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Circulation/Relances/Imprimer"
    shot "$language" "docs/circulation-editions-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Circulation/Editions/Documents empruntés"
    shot "$language" "docs/circulation-edition-page-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Circulation/Editions/Documents non remis/Imprimer"
done
# The loan desk in each mode, a refusal and a success, on a fresh
# demonstration database for each language (the shots change it).
for language in FR AR; do
    lower=${language,,}
    fresh_demo_db "$language"
    desk() { shot "$language" "docs/desk-$1-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Circulation/$2" "FOLIAN_SCAN=$3"; }
    desk loan-refused "Prêt externe" "F5|L0002|000107"
    desk loan "Prêt externe" "F5|L0001|000102"
    desk return "Prêt externe" "F6|000107"
    desk return-refused "Prêt externe" "F6|000103"
    desk reserve "Prêt externe" "F7|L0004|000101"
    desk reserve-refused "Prêt externe" "F7|L0004|000103"
    desk renew-refused "Prêt externe" "F8|000101"
    desk renew "Prêt externe" "F8|000102"
    desk cancel "Prêt externe" "F9|000101"
    desk cancel-refused "Prêt externe" "F9|000103"
    desk consultation "Consultation sur place" "F5|L0001|000129"
done
# The authorities: the headings found by name (rejected forms in red), the
# publishers, and the detail dialog of a heading.
shot FR docs/headings-fr.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Autorités/Vedettes" "FOLIAN_KEYS=b*"
shot AR docs/headings-ar.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Autorités/Vedettes" "FOLIAN_KEYS=b*"
shot FR docs/publishers-fr.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Autorités/Editeurs" "FOLIAN_KEYS=*"
shot AR docs/publishers-ar.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Autorités/Editeurs" "FOLIAN_KEYS=*"
shot FR docs/heading-detail-fr.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Autorités/Vedettes/Modifier" "FOLIAN_KEYS=Benali, K*"
shot AR docs/heading-detail-ar.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Autorités/Vedettes/Modifier" "FOLIAN_KEYS=Benali, K*"
shot AR docs/publisher-detail-ar.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Autorités/Editeurs/Modifier" "FOLIAN_KEYS=Dar*"
# The record search: every record found by "*", all of them put in the
# basket; the result page, then the basket page.
for language in FR AR; do
    lower=${language,,}
    shot "$language" "docs/search-$lower.png" FOLIAN_AUTOLOGON=admin:admin \
        "FOLIAN_OPEN=Catalogage/Recherche/Rechercher/Tout mettre dans le panier" "FOLIAN_TYPE=*"
    shot "$language" "docs/search-basket-$lower.png" FOLIAN_AUTOLOGON=admin:admin \
        "FOLIAN_OPEN=Catalogage/Recherche/Rechercher/Tout mettre dans le panier" "FOLIAN_TYPE=*" FOLIAN_PAGE=1
done

# The printed catalogue: its dialog, the catalogue page generated and
# previewed in the editions module; the union-catalogue import.
for language in FR AR; do
    lower=${language,,}
    shot "$language" "docs/catalogue-generation-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Editions/Génération..."
    write_ini "$language"
    "$build_dir/bin/folianctl" --ini "$ini" catalogue "$XDG_DATA_HOME/Folian/pages" --analytic >/dev/null
    shot "$language" "docs/catalogue-page-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Editions/Catalogue "
    shot "$language" "docs/union-catalogue-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Administration/Constitution" \
        "FOLIAN_TYPE=/home/partage/bibliotheque-centrale.txt"
done

# Partner libraries and the inter-library loan: the libraries screen with two
# namesakes under different supervising bodies, a correspondent's sheet, a
# registration (refused for a reader late with an inter-library loan, then
# done) and a return (not found at the namesake library, done, done late), on a
# fresh demonstration database for each language (the shots change it).
for language in FR AR; do
    lower=${language,,}
    fresh_demo_db "$language"
    due=$(date -d "+21 days" +%d/%m/%Y)
    shot "$language" "docs/libraries-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Administration/Bibliothèques"
    shot "$language" "docs/libraries-correspondent-$lower.png" FOLIAN_AUTOLOGON=admin:admin \
        "FOLIAN_OPEN=Administration/Bibliothèques/&Modifier"
    ill() { shot "$language" "docs/ill-$1-$lower.png" FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Circulation/$2" "FOLIAN_SCAN=$3"; }
    ill loan-refused Enregistrement "L0004"
    ill loan Enregistrement "L0001|BC-4410|Histoire du Maghreb|Charles-André Julien|Bibliothèque centrale (Université d'Oran 1)|$due"
    ill return-refused Retour "OR-0584|Bibliothèque centrale (Université d'Alger 1)"
    ill return Retour "BC-3108|Bibliothèque centrale (Université d'Alger 1)"
    ill return-late Retour "OR-0584|Bibliothèque centrale (Université d'Oran 1)"
done

# The statistics: loans by reader with its chart, the collection's chart, the
# loans and returns of this month from the loan journal; the acquisition
# statistics of this month (the demonstration order validated and its copies
# received)
# with their chart page, and the new acquisitions.
statistics_shots() {
    local language=$1 lower=${1,,}
    local open=(FOLIAN_AUTOLOGON=admin:admin)
    fresh_demo_db "$language"
    "$build_dir/bin/folianctl" --ini "$ini" order-validate 1 >/dev/null || say "the demonstration order was not validated"
    "$build_dir/bin/folianctl" --ini "$ini" receive 1 --number BL-1 >/dev/null || say "the demonstration order was not received"
    local line
    for line in "1 2 A" "2 2 B" "3 1 C" "4 3 D"; do
        set -- $line
        "$build_dir/bin/folianctl" --ini "$ini" generate-copies 1 "$1" --count "$2" --prefix "NA-$3-" --start 1 >/dev/null ||
            say "no copies received on line $1 of the demonstration order"
    done
    shot "$language" "docs/statistics-readers-$lower.png" "${open[@]}" "FOLIAN_OPEN=Editions/Statistiques de prêt  par lecteur"
    shot "$language" "docs/statistics-readers-chart-$lower.png" "${open[@]}" \
        "FOLIAN_OPEN=Editions/Statistiques de prêt  par lecteur/Graphe"
    shot "$language" "docs/statistics-collection-chart-$lower.png" "${open[@]}" "FOLIAN_OPEN=Editions/Fonds documentaire/Graphe"
    shot "$language" "docs/statistics-period-$lower.png" "${open[@]}" \
        "FOLIAN_OPEN=Editions/Prêts et retours par période/Rechercher"
    shot "$language" "docs/acquisition-statistics-$lower.png" "${open[@]}" \
        "FOLIAN_OPEN=Editions/Statistiques des acquisitions/Rechercher"
    shot "$language" "docs/acquisition-statistics-chart-$lower.png" "${open[@]}" \
        "FOLIAN_OPEN=Editions/Statistiques des acquisitions/Rechercher/Graphe"
    shot "$language" "docs/new-acquisitions-$lower.png" "${open[@]}" "FOLIAN_OPEN=Editions/Nouvelles acquisitions/Rechercher"
}
for language in FR AR; do
    statistics_shots "$language"
done
# Backups: two backups of the demonstration database in the screen's own
# directory (under the user's data directory), listed with what they hold.
write_ini FR
"$build_dir/bin/folianctl" --ini "$ini" backup "$XDG_DATA_HOME/Folian/sauvegardes" >/dev/null
"$build_dir/bin/folianctl" --ini "$ini" backup "$XDG_DATA_HOME/Folian/sauvegardes" --keep 5 >/dev/null
for language in FR AR; do
    shot "$language" "docs/backup-${language,,}.png" FOLIAN_AUTOLOGON=admin:admin FOLIAN_OPEN=Administration/Sauvegarde
done
# The public catalogue: its server on the demonstration database (a free
# port; the OPAC screen sent there through [OPAC] Address), the OPAC screen
# with its embedded view, and the public search and a record page as
# Chromium shows them, in French and in Arabic.
opac_shots() {
    local port=$((20000 + RANDOM % 20000)) browser
    fresh_demo_db FR
    "$build_dir/bin/folian-opac" --ini "$ini" --port "$port" 2>"$work/opac.log" &
    local server=$!
    sleep 1
    for language in FR AR; do
        local lower=${language,,}
        write_ini "$language"
        printf '[OPAC]\nAddress=http://127.0.0.1:%s/opac\n' "$port" >>"$ini"
        rm -f "docs/opac-desktop-$lower.png"
        env QTWEBENGINE_DISABLE_SANDBOX=1 FOLIAN_SCREENSHOT="$root/docs/opac-desktop-$lower.png" \
            FOLIAN_AUTOLOGON=admin:admin FOLIAN_OPEN=OPAC FOLIAN_SHOT_DELAY=6000 \
            xvfb-run -a -s "-screen 0 1280x800x24" "$build_dir/bin/folian" --ini "$ini"
        say "wrote docs/opac-desktop-$lower.png"
    done
    browser=$(command -v chromium || command -v chromium-browser || true)
    if [[ -n $browser ]]; then
        for lower in fr ar; do
            local record=3
            [[ $lower == ar ]] && record=18
            "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1100,900 \
                --user-data-dir="$work/chromium" --screenshot="$root/docs/opac-search-$lower.png" \
                "http://127.0.0.1:$port/opac/search?title=*&lang=$lower" >/dev/null 2>&1
            "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1100,700 \
                --user-data-dir="$work/chromium" --screenshot="$root/docs/opac-record-$lower.png" \
                "http://127.0.0.1:$port/opac/record/$record?lang=$lower" >/dev/null 2>&1
            say "wrote docs/opac-search-$lower.png and docs/opac-record-$lower.png"
        done
    fi
    kill -TERM "$server"
    wait "$server" || true
}
opac_shots

# Copy cataloguing: the tests' SRU service on a port of its own, a target on
# it, a record found by its ISBN with its ISBD card (French, then Arabic).
copy_shots() {
    local fixture port pid
    fixture=$(find "$build_dir" -type f -name folian_sru_fixture -perm -u+x | head -1)
    [[ -n $fixture ]] || { say "no SRU fixture: the copy-cataloguing shots are skipped"; return; }
    "$fixture" >"$work/sru.port" &
    pid=$!
    for _ in $(seq 50); do [[ -s $work/sru.port ]] && break; sleep 0.1; done
    port=$(head -1 "$work/sru.port")
    write_ini FR
    "$build_dir/bin/folianctl" --ini "$ini" target-add "Catalogue collectif" --sru "http://127.0.0.1:$port/sru" >/dev/null
    shot FR docs/copy-cataloguing-fr.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Catalogage/Copie de notices" \
        FOLIAN_KEYS=978-2-07-061275-8
    shot AR docs/copy-cataloguing-ar.png FOLIAN_AUTOLOGON=admin:admin "FOLIAN_OPEN=Catalogage/Copie de notices" \
        FOLIAN_KEYS=9789953686019
    "$build_dir/bin/folianctl" --ini "$ini" target-delete "Catalogue collectif" >/dev/null
    kill "$pid"
}
copy_shots
