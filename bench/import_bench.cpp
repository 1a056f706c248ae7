// SPDX-License-Identifier: GPL-3.0-or-later
// Importing 100,000 notes of an Anki text export with HTML, and a Parley file
// of 100,000 entries with grades in both directions, from the file on disk to
// the rows of the new list; and exporting 100,000 pairs.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <random>

#include "ExportList.h"
#include "FileIo.h"
#include "ImportList.h"
#include "Utf8.h"
#include "Words.h"

namespace tenaxo {
namespace {

std::string Utf8Word(std::mt19937& random) { return ToQString(bench::Word(random)).toStdString(); }

// "Notes in Plain Text" with HTML and media, GUID, note type, deck and tags.
std::string AnkiExport(int notes) {
  std::mt19937 random(7);
  std::string text = "#separator:tab\n#html:true\n#guid column:1\n#notetype column:2\n#deck column:3\n#tags column:6\n";
  for (int k = 0; k < notes; ++k) {
    text += "g" + std::to_string(k * 7919) +
            "x/Q\tBasic\tLangues::Fran\xC3\xA7"
            "ais\t";
    text += "<b>" + Utf8Word(random) + "</b>&nbsp;" + Utf8Word(random) + "\t";
    text += "<div>" + Utf8Word(random) + "</div><div>&#233;t&eacute; &amp; " + Utf8Word(random) + "</div>[sound:mot" +
            std::to_string(k) + ".mp3]\t";
    text += k % 4 == 0 ? "{{c1::" + Utf8Word(random) + "::indice}}" : "";
    text += "\tvocabulaire noms\n";
  }
  return text;
}

std::string Grade(int from, int count, int errors) {
  return "    <grade fromid=\"" + std::to_string(from) + "\">\n     <currentgrade>2</currentgrade>\n     <count>" +
         std::to_string(count) + "</count>\n     <errorcount>" + std::to_string(errors) +
         "</errorcount>\n     <date>2024-03-01T10:00:00</date>\n    </grade>\n";
}

// As Parley writes it: every entry practised both ways, all in lessons.
std::string ParleyFile(int entries) {
  std::mt19937 random(11);
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" "
      "\"http://edu.kde.org/kvtml/kvtml2.dtd\">\n<kvtml version=\"2.0\">\n <information>\n  <title>Bench</title>\n"
      " </information>\n <identifiers>\n  <identifier id=\"0\">\n   <name>Fran\xC3\xA7"
      "ais</name>\n"
      "   <locale>fr</locale>\n  </identifier>\n  <identifier id=\"1\">\n   <name>English</name>\n"
      "   <locale>en</locale>\n  </identifier>\n </identifiers>\n <entries>\n";
  for (int k = 0; k < entries; ++k) {
    const int asked = static_cast<int>(random() % 20);
    text += "  <entry id=\"" + std::to_string(k) + "\">\n   <translation id=\"0\">\n    <text>" + Utf8Word(random) +
            " " + Utf8Word(random) + "</text>\n" + Grade(1, asked, asked / 3) +
            "   </translation>\n   <translation id=\"1\">\n    <text>" + Utf8Word(random) + "</text>\n" +
            Grade(0, asked + 1, asked / 2) + "   </translation>\n  </entry>\n";
  }
  text += " </entries>\n <lessons>\n  <container>\n   <name>Le\xC3\xA7on 1</name>\n";
  for (int k = 0; k < entries; ++k) text += "   <containerentry id=\"" + std::to_string(k) + "\"/>\n";
  text += "  </container>\n </lessons>\n</kvtml>\n";
  return text;
}

void Import(benchmark::State& state, const char* name, const std::string& bytes) {
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/") + QString::fromLatin1(name);
  WriteFileAtomically(path, bytes);
  for (auto _ : state) {
    const ImportedList list = ImportListFile(path);
    benchmark::DoNotOptimize(list.rows.data());
    if (list.Pairs() != state.range(0)) state.SkipWithError("pairs lost");
  }
  state.counters["MB"] = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void BM_ImportAnkiExport(benchmark::State& state) {
  Import(state, "anki.txt", AnkiExport(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ImportAnkiExport)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ImportKvtml(benchmark::State& state) {
  Import(state, "parley.kvtml", ParleyFile(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ImportKvtml)->Arg(100000)->Unit(benchmark::kMillisecond);

void Export(benchmark::State& state, const char* name) {
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/") + QString::fromLatin1(name);
  const StudyTable list = bench::MakeList(static_cast<int>(state.range(0)));
  for (auto _ : state) ExportList(list, path);
}

void BM_ExportText(benchmark::State& state) { Export(state, "liste.txt"); }
BENCHMARK(BM_ExportText)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ExportKvtml(benchmark::State& state) { Export(state, "liste.kvtml"); }
BENCHMARK(BM_ExportKvtml)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenaxo
