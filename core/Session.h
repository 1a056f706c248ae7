#pragma once
// Everything the main window holds for one run besides its widgets: the study
// list and the fields the quiz, the list files and the editor share. The
// window owns one Session and mirrors it into its controls.
#include <cstdint>

#include "Utf8.h"
#include "StudyTable.h"

namespace tenaxo {

// How the list in the table was read from its file, so that a save writes it
// back the same way: None for a list that came from no file.
enum class FileEncoding { None, Windows1252, Utf8, Utf8Bom };

struct Session {
  StudyTable SgListe;                               // the study list, created with 5 columns and 5 rows
  std::string FListName;                             // name the list was last loaded or saved under
  int32_t FQuestionRow = 0;                         // row of the pending question; 0 before the first
  int32_t FEditedRow = 0;                           // row of the editor's last edit-text event; 0 = none
  int32_t FSortCol = 0;                             // column of the last header sort; -1 = none
  int32_t FAskedCount = 0;                          // questions asked in the current series
  int32_t FFoundCount = 0;                          // "Oui" answers in the current series
  bool Unsaved = false;                             // the list has changes not yet in its file ("Sauver" in bold)
  std::string LbNbMots;                              // the line-count label, "<n> Lignes", empty until first set
  FileEncoding FListEncoding = FileEncoding::None;  // how the list was read, how it is saved
};

}  // namespace tenaxo
