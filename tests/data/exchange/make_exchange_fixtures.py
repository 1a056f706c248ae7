#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the fixtures of exchange_tests (run from this folder): files as other
trainers write them, after the public descriptions of their formats (the
KVTML 2.0 DTD of KDE Education and its KVTML 1 attributes: c= times asked and
b= wrong answers, "to;from"; the CSV of KWordQuiz: "Title:" and "Author:"
lines, then one line per entry; UTF-16 text with its mark, as Windows editors
save "Unicode").

The files are kept in the repository; this script says how they were made and
makes them again after a change."""


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def grade(fromid, count, errors):
    attribute = "" if fromid is None else ' fromid="%d"' % fromid
    return ("    <grade%s>\n     <currentgrade>2</currentgrade>\n     <count>%d</count>\n"
            "     <errorcount>%d</errorcount>\n     <date>2024-03-01T10:00:00</date>\n    </grade>\n"
            % (attribute, count, errors))


def translation(id, text, *grades):
    return '   <translation id="%d">\n    <text>%s</text>\n%s   </translation>\n' % (id, text, "".join(grades))


def entry(id, *translations):
    return '  <entry id="%d">\n%s  </entry>\n' % (id, "".join(translations))


# Three languages, practised between each two (fromid), and a word whose
# grades name no language (one per translation, as Parley writes them now).
write("parley3.kvtml", ("""<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">
<kvtml version="2.0">
 <information>
  <generator>Parley 1.1</generator>
  <title>Trois langues</title>
 </information>
 <identifiers>
  <identifier id="0">
   <name>Deutsch</name>
   <locale>de</locale>
  </identifier>
  <identifier id="1">
   <name>English</name>
   <locale>en</locale>
  </identifier>
  <identifier id="2">
   <name>Français</name>
   <locale>fr</locale>
  </identifier>
 </identifiers>
 <entries>
""" + entry(0, translation(0, "Talg", grade(1, 1, 0), grade(2, 3, 1)), translation(1, "tallow", grade(0, 4, 0)),
            translation(2, "suif", grade(0, 2, 1)))
    + entry(1, translation(0, "Saft", grade(2, 1, 1)), translation(1, "sap", grade(0, 9, 2), grade(2, 5, 5)))
    + entry(2, translation(0, "Erbse", grade(None, 2, 1)), translation(1, "pea", grade(None, 3, 0)))
    + """ </entries>
 <lessons>
  <container>
   <name>Lektion 1</name>
   <entry id="0"/>
   <entry id="1"/>
   <entry id="2"/>
  </container>
 </lessons>
</kvtml>
""").encode())

# KVTML 1: the first <t> holds the practice with <o>, a further <t> the
# practice with a third language.
write("kvtml1.kvtml", """<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml SYSTEM "kvoctrain.dtd">
<kvtml encoding="UTF-8" generator="kvoctrain v0.8.3" cols="3" lines="3" title="Alt">
 <e m="1">
  <o l="de">Haus</o>
  <t l="en" g="3;2" c="4;3" b="1;2" d="949757271;949757271">house</t>
  <t l="fr" g="1;1" c="5;5" b="5;5">maison</t>
 </e>
 <e>
  <o>Baum</o>
  <t c="2" b="2">tree</t>
 </e>
 <e>
  <o>Hund</o>
  <t>dog</t>
 </e>
</kvtml>
""".encode())

# KWordQuiz's CSV, its separator a TAB; the first entry starts with '#'.
write("kwordquiz.csv", "Title:\tNotes\nAuthor:\tMarie\n#dièse\tsharp\nbémol\tflat\n".encode())

# "Unicode" text of a Windows editor: UTF-16 LE with its mark.
write("utf16.tnx", b"\xff\xfe" + "chat\tcat\t3\t2\t\r\nélan\t🙂\t\t\t\r\n".encode("utf-16-le"))
