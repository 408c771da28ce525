#pragma once

#include <QPrinter>
#include <QString>
#include <QStringList>
#include <optional>

namespace trivenor {

/// When set, "/p" and "/pt" write the page to the PDF file it names instead of a printer: for
/// the tests, and for machines that have no printer.
inline constexpr char kPrintToPdfVariable[] = "TRIVENOR_PRINT_TO_PDF";

/// The print switches of the command line: "/p FILE" prints FILE on the default printer,
/// "/pt FILE PRINTER [DRIVER PORT]" on the printer named (driver and port mean nothing here).
/// Either prints without showing the main window and ends the program.
struct PrintSwitch {
  QString file;
  QString printerName;  ///< empty for the default printer
};

/// The print switch `arguments` (the program first) start with, if any. Switches are taken
/// with "/" or "-" and in any case. A "/p" with nothing after it is no switch: here it is a path.
std::optional<PrintSwitch> ParsePrintSwitch(const QStringList& arguments);

/// The picture switches: "/b FILE PICTURE" writes the picture of FILE, "/ba FILE PICTURE" its
/// worksheet; either without showing the main window, and then the program ends.
struct PictureSwitch {
  QString file;
  QString picture;
  bool worksheet = false;
};

/// The picture switch `arguments` (the program first) start with, if any; taken like the print
/// switches.
std::optional<PictureSwitch> ParsePictureSwitch(const QStringList& arguments);

/// Points `printer` at what the switch asks for: the PDF file of kPrintToPdfVariable when that
/// is set, else the printer named or the default one. Returns the German message to report
/// when there is no such printer, an empty text when the printer is ready.
QString ChoosePrinter(const PrintSwitch& print, QPrinter& printer);

}  // namespace trivenor
