#pragma once
// The heading and authority lists installed as the pickers of every screen
// (see pickers.h): each opens as a dialog in the caller's mode, and its
// "Choisir" returns the row chosen.

namespace folian {

void installAuthorityPickers();

} // namespace folian
