// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tenaxo {

// From now on SIGTERM, SIGHUP and SIGINT (a desktop logout, a closed
// terminal, Ctrl+C) close the windows as the user does: the settings are
// written and a list with unsaved changes is saved. A question or error box
// that is open is closed first, as with "Annuler". Needs the application
// object; call it once.
void CloseOnTerminationSignals();

}  // namespace tenaxo
