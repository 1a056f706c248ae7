#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the import fixtures (run from this folder): files as other trainers
write them, after the public descriptions of their formats (Anki's manual,
"Importing > Text files > File Headers"; the KVTML 2.0 DTD of KDE Education).

The files are kept in the repository; this script says how they were made and
makes them again after a change."""


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


# Parley: lessons (one nested), grades in both directions, a Japanese
# identifier, an inactive entry, an entry without text, translations out of
# order, a third language.
write("parley.kvtml", """<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">
<kvtml version="2.0">
 <information>
  <generator>Parley 1.1</generator>
  <title>Japonais</title>
 </information>
 <identifiers>
  <identifier id="0">
   <name>Français</name>
   <locale>fr</locale>
  </identifier>
  <identifier id="1">
   <name>日本語</name>
   <locale>ja</locale>
  </identifier>
  <identifier id="2">
   <name>Rōmaji</name>
   <locale>ja</locale>
  </identifier>
 </identifiers>
 <entries>
  <entry id="0">
   <translation id="0">
    <text>chat</text>
    <grade fromid="1">
     <currentgrade>2</currentgrade>
     <count>4</count>
     <errorcount>1</errorcount>
     <date>2024-03-01T10:00:00</date>
    </grade>
   </translation>
   <translation id="1">
    <text>猫</text>
    <grade fromid="0">
     <currentgrade>1</currentgrade>
     <count>3</count>
     <errorcount>2</errorcount>
     <date>2024-03-02T10:00:00</date>
    </grade>
   </translation>
   <translation id="2">
    <text>neko</text>
   </translation>
  </entry>
  <entry id="1">
   <inactive>true</inactive>
   <translation id="0">
    <text>chien</text>
   </translation>
   <translation id="1">
    <text>犬</text>
   </translation>
  </entry>
  <entry id="2">
   <translation id="0">
    <text></text>
   </translation>
  </entry>
  <entry id="3">
   <translation id="0">
    <text>eau</text>
    <grade fromid="1">
     <currentgrade>0</currentgrade>
     <count>2</count>
     <errorcount>5</errorcount>
     <date>2024-03-03T10:00:00</date>
    </grade>
   </translation>
   <translation id="1">
    <text>水</text>
   </translation>
  </entry>
  <entry id="4">
   <translation id="1">
    <text>山</text>
    <grade fromid="0">
     <currentgrade>1</currentgrade>
     <count>1</count>
     <errorcount>0</errorcount>
     <date>2024-03-04T10:00:00</date>
    </grade>
   </translation>
   <translation id="0">
    <text>montagne</text>
   </translation>
  </entry>
 </entries>
 <lessons>
  <container>
   <name>Animaux</name>
   <containerentry id="0"/>
   <container>
    <name>Domestiques</name>
    <containerentry id="1"/>
   </container>
  </container>
  <container>
   <name>Nature</name>
   <containerentry id="3"/>
   <containerentry id="4"/>
  </container>
 </lessons>
</kvtml>
""".encode("utf-8"))

# KVTML 1, as KWordQuiz wrote it: <e> entries of <o> and <t>.
write("kwordquiz1.kvtml", """<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml SYSTEM "kvoctrain.dtd">
<kvtml encoding="UTF-8" generator="kwordquiz 0.8.4" cols="2" lines="3" title="Couleurs">
 <e>
  <o width="200">rouge</o>
  <t width="200">red</t>
 </e>
 <e m="1">
  <o>vert</o>
  <t>green</t>
 </e>
 <e><o>bleu &amp; blanc</o><t>blue</t><t>azul</t></e>
</kvtml>
""".encode("utf-8"))

# Files that must be refused.
write("image.png", b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\x00\x00\x00\x10\x00\x00\x00\x10\x08\x06\x00\x00\x00")
write("archive.zip", b"PK\x03\x04\x14\x00\x00\x00\x08\x00" + bytes(range(0, 64)))
write("empty.txt", b"")
write("headers_only.txt", b"#separator:tab\n#html:true\n#tags column:3\n")
write("unclosed_quote.csv", b"a,b\n\"c,d\ne,f\n")
write("broken.kvtml", b"""<?xml version="1.0" encoding="UTF-8"?>
<kvtml version="2.0">
 <entries>
  <entry id="0">
   <translation id="0"><text>a</translation>
  </entry>
 </entries>
</kvtml>
""")
write("no_entries.kvtml", b"""<?xml version="1.0" encoding="UTF-8"?>
<kvtml version="2.0">
 <information><title>Vide</title></information>
 <entries/>
</kvtml>
""")
write("not_kvtml.kvtml", b"""<?xml version="1.0"?>
<html><body>a</body></html>
""")
