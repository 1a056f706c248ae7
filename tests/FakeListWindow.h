#pragma once
// A main window for the list commands: it records what they ask and answers as told.
#include <optional>
#include <vector>

#include "ListCommands.h"
#include "StorageFixture.h"

namespace tenaxo::test {

// What the list commands may change, written out, to prove that something left it alone.
inline std::string StateOf(const Session& s) {
  std::string text;
  for (const std::string& row : Rows(s.table)) text += row + '\n';
  return text + "list '" + s.listName + "' asked " + std::to_string(s.askedCount) + " found " +
         std::to_string(s.foundCount) + " rows " + std::to_string(s.questionRow) + "/" + std::to_string(s.editedRow) +
         (s.unsaved ? " unsaved " : " saved ") + std::to_string(s.lineCount) + " Lignes";
}

struct FakeWindow {
  std::string name;                  // the drop-down's text
  bool answer = true;                // what the user answers
  std::vector<QString> questions;    // every question asked, both kinds
  std::optional<QStringList> items;  // the drop-down's items, once rebuilt

  ListWindow Bind() {
    const auto ask = [this](const QString& question) {
      questions.push_back(question);
      return answer;
    };
    return ListWindow{[this] { return name; },
                      ask,
                      ask,
                      [this](const QStringList& names) { items = names; },
                      [this] { name.clear(); },
                      [this](const QString& text) { name = ToUtf8(text); }};
  }
};

}  // namespace tenaxo::test
