// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the main window holds for one run besides its widgets: the study
// list and the fields the quiz, the list files and the editor share. The
// window owns one Session and mirrors it into its controls.
#include <cstdint>

#include "StudyTable.h"
#include "Utf8.h"

namespace tenaxo {

// How the list in the table was read from its file, so that a save writes it
// back the same way: None for a list that came from no file. Utf16: read from
// UTF-16 with its mark, either byte order; saved as UTF-8 with the mark.
enum class FileEncoding { None, Windows1252, Utf8, Utf8Bom, Utf16 };

struct Session {
  StudyTable table;                            // the study list, created with 5 columns and 5 rows
  std::string listName;                        // name the list was last loaded or saved under
  int32_t questionRow = 0;                     // row of the pending question; 0 before the first
  int32_t editedRow = 0;                       // row of the editor's last edit-text event; 0 = none
  int32_t sortColumn = 0;                      // column of the last header sort; -1 = none
  int32_t askedCount = 0;                      // questions asked in the current series
  int32_t foundCount = 0;                      // "Oui" answers in the current series
  bool unsaved = false;                        // the list has changes not yet in its file ("Sauver" in bold)
  int32_t lineCount = -1;                      // lines of the list as last loaded or edited; -1 = not yet told
  FileEncoding encoding = FileEncoding::None;  // how the list was read, how it is saved

  // A new series: no question asked, none found.
  void ResetSeries() {
    askedCount = 0;
    foundCount = 0;
  }
  // The study list belongs to no file any more (emptied or deleted): a new
  // series, and a save writes it as a new list.
  void ForgetList() {
    listName.clear();
    encoding = FileEncoding::None;
    ResetSeries();
  }
};

}  // namespace tenaxo
