#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>
#include <climits>
#include <cstdint>

#include "model/component_kind.h"
#include "model/operators.h"
#include "support/circuit_building.h"
#include "view/font_record.h"
#include "view/page_printing.h"
#include "view/pdf_reading.h"
#include "view/trivenor_view.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddOutputTerminal;
using test_support::Append;
using test_support::Connect;

constexpr int kDpi = 100;
constexpr double kPageMarginMm = 10.0;

std::int32_t Field(const FontRecord& record, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
  }
  return static_cast<std::int32_t>(value);
}

void SetField(FontRecord& record, std::size_t offset, std::int32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    record[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
  }
}

FontRecord CourierRecord(std::int32_t height, std::int32_t width) {
  FontRecord record = RecordFromFont(QFont(QStringLiteral("Courier New")));
  SetField(record, 0, height);
  SetField(record, 4, width);
  return record;
}

/// A4 with 10 mm margins all round, so the printable area starts 10 mm from the paper's edges.
bool PrintToPdf(CTrivenorView& view, const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                         QPageLayout::Millimeter);
  QPainter painter(&printer);
  return view.PrintPage(painter);
}

int Pixels(double millimetresOnPaper) {
  return static_cast<int>(millimetresOnPaper * kDpi / 25.4);
}

/// Whether the rendered page has ink in the area given in millimetres from the printable
/// area's top-left corner.
bool HasInk(const QImage& page, double leftMm, double topMm, double rightMm, double bottomMm) {
  for (int y = Pixels(kPageMarginMm + topMm); y <= Pixels(kPageMarginMm + bottomMm); ++y) {
    for (int x = Pixels(kPageMarginMm + leftMm); x <= Pixels(kPageMarginMm + rightMm); ++x) {
      if (qGray(page.pixel(x, y)) < 160) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

class PagePrintingTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    document_ = std::make_unique<CTrivenorDoc>();
    view_ = std::make_unique<CTrivenorView>(*document_);
    QVERIFY(folder_.isValid());
  }

  void cleanup() {
    view_.reset();
    document_.reset();
  }

  // The printer font is twice the canvas font; the document's font is the user's and stays
  // as it is, its width included (halving back and clearing the width lost a chosen width).
  void PrinterFontIsTheCanvasFontDoubledWhichStaysUntouched() {
    const FontRecord canvas = CourierRecord(-13, 7);
    const FontRecord printed = PrinterFontRecord(canvas);
    QCOMPARE(Field(printed, 0), -26);
    QCOMPARE(Field(printed, 4), 0);
    document_->settings.canvasFont = canvas;
    QCOMPARE(PrinterFont(document_->settings).pixelSize(), 26);

    QVERIFY(PrintToPdf(*view_, folder_.filePath(QStringLiteral("font.pdf"))));
    QVERIFY(document_->settings.canvasFont == canvas);
    QCOMPARE(Field(*document_->settings.canvasFont, 0), -13);
    // The view holds the printer's measures until the next paint: a 26-unit font, not 13.
    QVERIFY(view_->lineHeight() >= 26);

    // Heights come from files: doubling must not overflow.
    QCOMPARE(Field(PrinterFontRecord(CourierRecord(INT_MIN, 0)), 0), INT_MIN);
    // Without a font of its own the page uses 10-point Courier New: 35 tenths of a millimetre.
    document_->settings.canvasFont.reset();
    QCOMPARE(PrinterFont(document_->settings).pixelSize(), 35);
  }

  void FooterNamesTitleAndOwnerOnlyWithAnOwner() {
    document_->circuit().label = QStringLiteral("Ampel").toStdString();
    const QString without = folder_.filePath(QStringLiteral("without.pdf"));
    QVERIFY(PrintToPdf(*view_, without));
    QVERIFY(!test_support::PdfText(without).contains(QStringLiteral(" von ")));

    document_->circuit().owner = "Jörg Weiß";
    const QString with = folder_.filePath(QStringLiteral("with.pdf"));
    QVERIFY(PrintToPdf(*view_, with));
    QVERIFY2(test_support::PdfText(with).contains(QStringLiteral("Ampel von Jörg Weiß")),
             qPrintable(test_support::PdfText(with)));
    QCOMPARE(test_support::PdfPageCount(with), 1);
  }

  // Tenths of a millimetre from the printable area's top-left corner, y downwards on paper.
  void PageKeepsItsPositionsInMillimetres() {
    SubCircuit& circuit = document_->circuit();
    circuit.owner = "Eva";
    AddInputTerminal(circuit, 0).value = 3.0f;
    auto& plus = Append<TwoInputOperator>(circuit, kind::Plus);
    plus.x = 200;
    plus.y = 100;
    plus.width = 40;
    plus.height = 50;
    Port& output = AddOutputTerminal(circuit, 0);
    output.value = 7.0f;
    Connect(output, *plus.outputs[0]);

    const QString path = folder_.filePath(QStringLiteral("page.pdf"));
    QVERIFY(PrintToPdf(*view_, path));
    const QImage page = test_support::PdfPageImage(path, kDpi);
    QVERIFY2(!page.isNull(), "pdftoppm (poppler-utils) could not render the page");
    // The left border line at 18 mm, from the top down to 200 mm.
    QVERIFY(HasInk(page, 17.5, 100, 18.5, 100.5));
    QVERIFY(!HasInk(page, 16, 100, 17, 100.5));
    QVERIFY(HasInk(page, 17.5, 199, 18.5, 199.5));
    // The output's value "7" at 183 mm, far right of the body that ends at 48 mm.
    QVERIFY(HasInk(page, 183, 2, 186, 6));
    QVERIFY(!HasInk(page, 120, 60, 170, 190));
    // The footer at 10 mm from the left, 200 mm down.
    QVERIFY(HasInk(page, 10, 200, 20, 204));
  }

  void TheScreenTakesItsLayoutBackAfterPrinting() {
    Port& output = AddOutputTerminal(document_->circuit(), 0);
    view_->resize(700, 300);  // the right column in view
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    QTRY_COMPARE(output.x, 510);
    QVERIFY(PrintToPdf(*view_, folder_.filePath(QStringLiteral("page.pdf"))));
    QCOMPARE(output.x, 910);
    QTRY_COMPARE(output.x, 510);
  }

 private:
  QTemporaryDir folder_;
  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CTrivenorView> view_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::PagePrintingTest)
#include "test_page_printing.moc"
