#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "view/font_record.h"
#include "view/qpainter_context.h"

namespace trivenor {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

/// Paints on an 80 x 80 image as the view does, canvas font set, and returns the image.
template <typename Drawing>
QImage PaintImage(Drawing drawing, QRgb background = kWhite) {
  QImage image(80, 80, QImage::Format_RGB32);
  image.fill(background);
  QPainter painter(&image);
  painter.setFont(DefaultCanvasFont());
  QPainterContext context(painter);
  drawing(context);
  return image;
}

int PaintedCount(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      count += image.pixel(x, y) != kWhite ? 1 : 0;
    }
  }
  return count;
}

}  // namespace

class QPainterContextTest : public QObject {
  Q_OBJECT

 private slots:
  void ThinLinesKeepTheirStartAndLeaveOutTheirEnd_data() {
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    // Axis-aligned, diagonal, shallow and steep, in both directions.
    for (const auto& [dx, dy] : {std::pair{9, 0},
                                 {-9, 0},
                                 {0, 9},
                                 {0, -9},
                                 {7, 7},
                                 {-7, -7},
                                 {7, -7},
                                 {-7, 7},
                                 {12, 5},
                                 {-12, 5},
                                 {12, -5},
                                 {-12, -5},
                                 {5, 12},
                                 {-5, 12},
                                 {5, -12},
                                 {-5, -12},
                                 {31, 1},
                                 {-31, -1}}) {
      QTest::addRow("%d,%d", dx, dy) << dx << dy;
    }
  }
  void ThinLinesKeepTheirStartAndLeaveOutTheirEnd() {
    QFETCH(int, dx);
    QFETCH(int, dy);
    const QImage image = PaintImage([&](QPainterContext& dc) {
      dc.MoveTo(40, 40);
      dc.LineTo(40 + dx, 40 + dy);
    });
    QVERIFY(image.pixel(40, 40) != kWhite);
    QCOMPARE(image.pixel(40 + dx, 40 + dy), kWhite);
    QCOMPARE(PaintedCount(image), std::max(std::abs(dx), std::abs(dy)));
    for (int y = 0; y < 80; ++y) {
      for (int x = 0; x < 80; ++x) {
        // Every pixel lies within one unit of the ideal line.
        const double distance = std::abs(double(x - 40) * dy - double(y - 40) * dx);
        QVERIFY(image.pixel(x, y) == kWhite || distance / std::hypot(dx, dy) < 1.0);
      }
    }
  }

  void RectanglesExcludeRightAndBottomAndFillWhite() {
    const QImage image = PaintImage(
        [](QPainterContext& dc) {
          dc.SelectPen(PenStyle::Solid, 0, 0x0000FF);  // width 0 is one pixel too
          dc.Rectangle(10, 10, 30, 20);
          dc.SelectPen(PenStyle::InsideFrame, 4, 0);
          dc.Rectangle(40, 40, 70, 70);
        },
        qRgb(0, 255, 0));
    const QRgb red = qRgb(255, 0, 0);
    QCOMPARE(image.pixel(10, 10), red);
    QCOMPARE(image.pixel(29, 19), red);
    QCOMPARE(image.pixel(20, 15), kWhite);
    QCOMPARE(image.pixel(30, 15), qRgb(0, 255, 0));
    QCOMPARE(image.pixel(20, 20), qRgb(0, 255, 0));
    // A thick inside-frame pen stays within the rectangle: 40..43 and 66..69.
    for (const int x : {40, 43, 66, 69}) {
      QCOMPARE(image.pixel(x, 55), qRgb(0, 0, 0));
    }
    QCOMPARE(image.pixel(39, 55), qRgb(0, 255, 0));
    QCOMPARE(image.pixel(44, 55), kWhite);
    QCOMPARE(image.pixel(70, 55), qRgb(0, 255, 0));
  }

  void TextSitsBelowItsPointInBlackOnAWhiteCell() {
    std::optional<TextSize> size;
    const QImage image = PaintImage(
        [&](QPainterContext& dc) {
          dc.SelectPen(PenStyle::Solid, 1, 0x0000FF);
          size = dc.MeasureText("Wx");
          dc.Text(5, 7, "Wx");
          // The same pen again: the lines after a text keep it.
          dc.SelectPen(PenStyle::Solid, 1, 0x0000FF);
          dc.MoveTo(5, 60);
          dc.LineTo(60, 60);
        },
        qRgb(0, 255, 0));
    const QFontMetrics metrics(DefaultCanvasFont());
    QCOMPARE(size->width, metrics.horizontalAdvance("Wx"));
    QCOMPARE(size->height, metrics.height());
    QCOMPARE(image.pixel(5, 60), qRgb(255, 0, 0));
    int black = 0;
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < 80; ++x) {
        const bool inCell = x >= 5 && x < 5 + size->width && y >= 7 && y < 7 + size->height;
        QVERIFY(inCell != (image.pixel(x, y) == qRgb(0, 255, 0)));
        black += image.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
      }
    }
    QVERIFY(black > 0);  // the glyphs, not in the red pen
  }
};

}  // namespace trivenor

QTEST_MAIN(trivenor::QPainterContextTest)
#include "test_qpainter_context.moc"
