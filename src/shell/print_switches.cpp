#include "shell/print_switches.h"

#include <QPrinterInfo>
#include <QtGlobal>

namespace trivenor {
namespace {

bool IsSwitch(const QString& argument, QStringView name) {
  return (argument.startsWith(u'/') || argument.startsWith(u'-')) &&
         QStringView(argument).mid(1).compare(name, Qt::CaseInsensitive) == 0;
}

}  // namespace

std::optional<PrintSwitch> ParsePrintSwitch(const QStringList& arguments) {
  if (arguments.size() >= 3 && IsSwitch(arguments[1], u"p")) {
    return PrintSwitch{arguments[2], QString()};
  }
  if (arguments.size() >= 4 && IsSwitch(arguments[1], u"pt")) {
    return PrintSwitch{arguments[2], arguments[3]};
  }
  return std::nullopt;
}

std::optional<PictureSwitch> ParsePictureSwitch(const QStringList& arguments) {
  if (arguments.size() < 4) {
    return std::nullopt;
  }
  if (IsSwitch(arguments[1], u"b")) {
    return PictureSwitch{arguments[2], arguments[3], false};
  }
  if (IsSwitch(arguments[1], u"ba")) {
    return PictureSwitch{arguments[2], arguments[3], true};
  }
  return std::nullopt;
}

QString ChoosePrinter(const PrintSwitch& print, QPrinter& printer) {
  const QString pdfFile = qEnvironmentVariable(kPrintToPdfVariable);
  if (!pdfFile.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile);
    return QString();
  }
  // Asked for by name: without a printer Qt falls back to writing a PDF file nobody named.
  QPrinterInfo info = print.printerName.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                  : QPrinterInfo::printerInfo(print.printerName);
  if (info.isNull() && print.printerName.isEmpty() && !QPrinterInfo::availablePrinters().empty()) {
    info = QPrinterInfo::availablePrinters().front();  // printers, but none made the default
  }
  if (info.isNull()) {
    return print.printerName.isEmpty()
               ? QStringLiteral("Kein Drucker installiert.")
               : QStringLiteral("Der Drucker „%1“ ist nicht installiert.").arg(print.printerName);
  }
  printer.setPrinterName(info.printerName());
  return QString();
}

}  // namespace trivenor
