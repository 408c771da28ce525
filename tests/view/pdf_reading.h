#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace trivenor::test_support {

/// Standard output of one of poppler's command-line tools (package poppler-utils), empty when
/// it cannot run or fails.
inline QByteArray RunPopplerTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return {};
  }
  return process.readAllStandardOutput();
}

/// The text of a PDF file as pdftotext reads it.
inline QString PdfText(const QString& pdf) {
  return QString::fromUtf8(RunPopplerTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}));
}

/// A word of a PDF page as pdftotext finds it, with its box in points from the page's top-left
/// corner.
struct PdfWord {
  QString text;
  QRectF box;
};

/// Every word of the first page.
inline QList<PdfWord> PdfWords(const QString& pdf) {
  const QString page = QString::fromUtf8(
      RunPopplerTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"),
                                                   QStringLiteral("1"), pdf, QStringLiteral("-")}));
  static const QRegularExpression word(QStringLiteral(
      R"re(<word xMin="(.+?)" yMin="(.+?)" xMax="(.+?)" yMax="(.+?)">(.*?)</word>)re"));
  QList<PdfWord> words;
  for (const QRegularExpressionMatch& match : word.globalMatch(page)) {
    words.append({match.captured(5),
                  QRectF(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                         QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()))});
  }
  return words;
}

/// The number of pages pdfinfo reports, 0 when it cannot read the file.
inline int PdfPageCount(const QString& pdf) {
  const QString info = QString::fromUtf8(RunPopplerTool(QStringLiteral("pdfinfo"), {pdf}));
  const QRegularExpressionMatch pages =
      QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
          .match(info);
  return pages.hasMatch() ? pages.captured(1).toInt() : 0;
}

/// The first page rendered in grey at `dpi`, null when pdftoppm fails.
inline QImage PdfPageImage(const QString& pdf, int dpi) {
  QTemporaryDir folder;
  const QString prefix = folder.filePath(QStringLiteral("page"));
  RunPopplerTool(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                  QStringLiteral("-singlefile"), pdf, prefix});
  return QImage(prefix + QStringLiteral(".pgm"));
}

}  // namespace trivenor::test_support
