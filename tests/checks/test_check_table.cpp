#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "checks/check_table.h"

namespace trivenor {
namespace {

CheckTableReading Read(std::string_view text) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  return ReadCheckTable({bytes, text.size()});
}

TEST(CheckTable, ReadsSpreadsheetForms) {
  // The same table as typed by hand, as a German spreadsheet saves it, and with "," separators.
  const std::vector<std::string> forms = {
      "# Addiere zwei Zahlen.\nE1;E2;A1\n1;2;3\n0,5;0.25;0,75\n",
      "\"# Addiere zwei Zahlen.\";;\r\n;;\r\nE1;E2;A1\r\n1;2;3\r\n\"0,5\";0.25;0,75\r\n;;\r\n",
      "# Addiere zwei Zahlen.\nE1,E2,A1\n1,2,3\n\"0,5\",0.25,0.75\n",
  };
  for (const std::string& text : forms) {
    const CheckTableReading reading = Read(text);
    ASSERT_FALSE(reading.error) << text << "\n" << reading.error->Text();
    const CheckTable& table = reading.table;
    EXPECT_EQ(table.task, "Addiere zwei Zahlen.") << text;
    ASSERT_EQ(table.rows.size(), 2u) << text;
    EXPECT_EQ(table.rows[1].inputs[0], 0.5f) << text;
    EXPECT_EQ(table.rows[1].inputs[1], 0.25f) << text;
    EXPECT_EQ(table.rows[1].outputs[0].value, 0.75) << text;
  }
}

TEST(CheckTable, ReadsOptionalColumnsAndSpecialCells) {
  // Windows-1252 "ä" in the task: not valid UTF-8, so the whole file is read in that code page.
  const CheckTableReading reading =
      Read("# Z\xE4hle mit.\n# zweiter Kommentar\nweiter;A2;e1;A1;Schritte\n;xxx;?;;5\nX;?;3;7;\n");
  ASSERT_FALSE(reading.error) << reading.error->Text();
  const CheckTable& table = reading.table;
  EXPECT_EQ(table.task, "Zähle mit.");
  EXPECT_EQ(table.headerLine, 3);
  ASSERT_EQ(table.outputs.size(), 2u);
  EXPECT_EQ(table.outputs[0].number, 2);
  EXPECT_EQ(table.outputs[0].column, 2);
  const CheckRow& first = table.rows[0];
  EXPECT_EQ(first.line, 4);
  EXPECT_FALSE(first.continues);
  EXPECT_EQ(first.steps, 5);
  EXPECT_FALSE(first.inputs[0]);
  EXPECT_EQ(first.outputs[0].kind, ExpectedOutput::Kind::Invalid);
  EXPECT_EQ(first.outputs[1].kind, ExpectedOutput::Kind::Unchecked);
  const CheckRow& second = table.rows[1];
  EXPECT_TRUE(second.continues);
  EXPECT_FALSE(second.steps);
  EXPECT_EQ(second.inputs[0], 3.0f);
  EXPECT_EQ(second.outputs[1].kind, ExpectedOutput::Kind::Value);
}

TEST(CheckTable, ReportsWhatItCannotReadWithItsPlace) {
  struct Case {
    std::string text;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"", "Die Prüftabelle hat keine Kopfzeile mit E1, E2, … und A1, A2, …."},
      {"# nur Text\n", "Die Prüftabelle hat keine Kopfzeile mit E1, E2, … und A1, A2, …."},
      {"E1;A1\n", "Die Prüftabelle hat keine Prüfzeilen."},
      {"E1;B1\n1;2\n",
       "Zeile 1, Spalte 2: Unbekannte Spalte „B1“ (es gibt E1, E2, … für Eingänge, A1, A2, … für "
       "Ausgänge, „Schritte“ und „Weiter“)."},
      {"E1;A01\n",
       "Zeile 1, Spalte 2: Unbekannte Spalte „A01“ (es gibt E1, E2, … für Eingänge, "
       "A1, A2, … für Ausgänge, „Schritte“ und „Weiter“)."},
      {"E1;E2\n1;2\n", "Zeile 1: Die Kopfzeile hat keine Spalte A1, A2, … für die Ausgänge."},
      {"E1;A1;e1\n", "Zeile 1, Spalte 3: Die Spalte „e1“ kommt zweimal vor."},
      {"#\nE1;A1\n1;drei\n", "Zeile 3, Spalte 2: „drei“ ist keine Zahl."},
      {"E1;A1\n1,5.2;3\n", "Zeile 2, Spalte 1: „1,5.2“ ist keine Zahl."},
      {"E1;A1\n1e;3\n", "Zeile 2, Spalte 1: „1e“ ist keine Zahl."},
      {"E1;A1\nxxx;3\n", "Zeile 2, Spalte 1: „xxx“ ist keine Zahl."},
      {"E1;A1\n1;2;3\n", "Zeile 2, Spalte 3: Der Wert „3“ steht in keiner Spalte."},
      {"E1;A1\n\"1;2\n", "Zeile 2: Ein Anführungszeichen wird nicht geschlossen."},
      {"A1;Schritte\n1;1001\n",
       "Zeile 2, Spalte 2: „Schritte“ ist eine ganze Zahl von 0 bis 1000, nicht „1001“."},
      {"A1;Schritte\n1;99999999999999\n",
       "Zeile 2, Spalte 2: „Schritte“ ist eine ganze Zahl von 0 bis 1000, nicht "
       "„99999999999999“."},
      {"A1;Weiter\n1;\n2;ja\n",
       "Zeile 3, Spalte 2: In der Spalte „Weiter“ steht „x“ oder nichts, nicht „ja“."},
      {"A1;Weiter\n1;x\n",
       "Zeile 2, Spalte 2: Die erste Prüfzeile hat keine Zeile davor, mit der sie „Weiter“ "
       "machen könnte."},
      {std::string("A1\n1\0", 5), "Die Prüftabelle ist keine Textdatei."},
      {std::string(kMaxCheckTableBytes + 1, ' '), "Die Prüftabelle ist zu groß (höchstens 1 MB)."},
  };
  for (const Case& test : cases) {
    const CheckTableReading reading = Read(test.text);
    ASSERT_TRUE(reading.error) << test.text;
    EXPECT_EQ(reading.error->Text(), test.error) << test.text;
  }
}

}  // namespace
}  // namespace trivenor
