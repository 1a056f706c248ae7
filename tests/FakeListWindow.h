// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window for the list commands: it records what they ask and answers as told.
#include <optional>
#include <vector>

#include "ListCommands.h"
#include "StorageFixture.h"

namespace tenaxo::test {

struct FakeWindow {
  std::string name;                  // the drop-down's text
  bool answer = true;                // what the user answers
  std::vector<QString> questions;    // every question asked, both kinds
  std::optional<QStringList> items;  // the drop-down's items, once rebuilt

  ListWindow Bind() {
    const auto ask = [this](const QString& question) { return questions.push_back(question), answer; };
    ListWindow window;
    window.ListName = [this] { return name; };
    window.Confirm = window.ConfirmYesNo = ask;
    window.SetListNames = [this](const QStringList& names) { items = names; };
    window.ClearListName = [this] { name.clear(); };
    window.SetListName = [this](const QString& text) { name = ToUtf8(text); };
    return window;
  }
};

// Every field of the session the list commands may change is as it was.
inline void ExpectUnchanged(const Session& now, const Session& before) {
  EXPECT_EQ(Cells(now.table), Cells(before.table));
  EXPECT_EQ(now.table.CurrentRow(), before.table.CurrentRow());
  EXPECT_EQ(now.table.CurrentCol(), before.table.CurrentCol());
  EXPECT_EQ(now.listName, before.listName);
  EXPECT_EQ(now.askedCount, before.askedCount);
  EXPECT_EQ(now.foundCount, before.foundCount);
  EXPECT_EQ(now.unsaved, before.unsaved);
  EXPECT_EQ(now.lineCount, before.lineCount);
  EXPECT_EQ(now.encoding, before.encoding);
}

}  // namespace tenaxo::test
