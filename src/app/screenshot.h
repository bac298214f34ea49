#pragma once
// Unattended runs for the documentation's screenshots, driven by the
// environment: FOLIAN_SCREENSHOT=file.png grabs a window and quits;
// FOLIAN_AUTOLOGON=login:password logs on without the dialog (else the
// logon dialog itself is grabbed); FOLIAN_OPEN=Module/Entry opens a module
// and one of its entries before the main window is grabbed (or the modal
// dialog the entry opens); FOLIAN_KEYS=text
// types the text into the screen's field and presses Return (FOLIAN_TYPE
// types it without Return); a third part, Module/Entry/Button, clicks a
// button of the screen and grabs the dialog it opens, or the window.
// FOLIAN_RECORD=DOC_ID (with FOLIAN_OPEN=Catalogage) shows that record in the
// record form, on the page FOLIAN_TAB (0 for the first). FOLIAN_OPEN may
// also name a button of the main window that opens a dialog ("À propos").
// FOLIAN_SCREENSHOT_TEXT=file.txt keeps the texts of what was grabbed too.

namespace folian {

class TFrmData;
class TFrmMain;

// Installs the logon hook when a screenshot is asked for; false otherwise.
bool prepareScreenshot(TFrmData &data);
// Opens what FOLIAN_OPEN names and grabs the shown main window later.
void scheduleMainScreenshot(TFrmMain &window);

} // namespace folian
