#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>
#include <climits>
#include <cstdint>
#include <cstring>

#include "view/font_record.h"

namespace trivenor {
namespace {

void PutInt32(FontRecord& record, std::size_t offset, std::int32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    record[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
  }
}

QFont Font(const QString& family, int pixelSize, int weight, bool italic, bool underline,
           bool strikeOut) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(italic);
  font.setUnderline(underline);
  font.setStrikeOut(strikeOut);
  return font;
}

}  // namespace

class FontRecordTest : public QObject {
  Q_OBJECT

 private slots:
  void FontSurvivesRecordAndBack_data() {
    QTest::addColumn<QFont>("font");
    QTest::newRow("plain") << Font("Liberation Mono", 13, 400, false, false, false);
    QTest::newRow("bold italic") << Font("Liberation Serif", 27, 700, true, false, false);
    QTest::newRow("effects") << Font("Liberation Sans", 9, 300, false, true, true);
    QTest::newRow("code page") << Font(QString::fromUtf8("Schrift Ä"), 20, 400, 0, 0, 0);
  }
  void FontSurvivesRecordAndBack() {
    QFETCH(QFont, font);
    const QFont back = FontFromRecord(RecordFromFont(font));
    QCOMPARE(back.family(), font.family());
    QCOMPARE(back.pixelSize(), font.pixelSize());
    QCOMPARE(back.weight(), font.weight());
    QCOMPARE(back.italic(), font.italic());
    QCOMPARE(back.underline(), font.underline());
    QCOMPARE(back.strikeOut(), font.strikeOut());
  }

  void RecordHasTheWindowsLayout() {
    const FontRecord record = RecordFromFont(QFont("Courier New", 10));  // as the dialog gives
    const auto* bytes = reinterpret_cast<const char*>(record.data());
    QCOMPARE(QByteArray(bytes, 4), QByteArray("\xF3\xFF\xFF\xFF", 4));   // 13 pixels high
    QCOMPARE(QByteArray(bytes + 16, 4), QByteArray("\x90\x01\0\0", 4));  // weight 400
    QCOMPARE(QByteArray(bytes + 28), "Courier New");
    // A face name longer than 31 bytes is cut, so the NUL still fits.
    const FontRecord cut = RecordFromFont(QFont("Ein sehr langer Name einer Schrift"));
    QCOMPARE(cut[59], std::uint8_t{0});
    QCOMPARE(FontFromRecord(cut).family(), QString("Ein sehr langer Name einer Schr"));
  }

  // The dialog lists installed families in whole points: it is offered those, at the canvas's
  // 96 dpi rather than the screen's resolution.
  void DialogOffersTheFontInCanvasPoints() {
    DocumentSettings settings;
    QFont offered = CanvasFontForDialog(settings);
    QCOMPARE(offered.family(), QFontInfo(DefaultCanvasFont()).family());
    QCOMPARE(offered.pointSize(), 10);
    QCOMPARE(CanvasFontRecord(settings), RecordFromFont(DefaultCanvasFont()));

    settings.canvasFont = RecordFromFont(Font("Liberation Serif", 15, 700, true, true, false));
    offered = CanvasFontForDialog(settings);
    QCOMPARE(offered.pointSize(), 11);  // 11.25 points
    QCOMPARE(offered.family(), QString("Liberation Serif"));
    QVERIFY(offered.italic() && offered.underline());
    QCOMPARE(CanvasFontRecord(settings), *settings.canvasFont);
  }

  void HostileRecordsGiveSaneFonts() {
    FontRecord record;
    record.fill(0x41);  // no NUL anywhere: the name takes all 32 bytes
    PutInt32(record, 0, INT_MIN);
    PutInt32(record, 4, INT_MIN);
    PutInt32(record, 16, INT_MAX);
    QFont font = FontFromRecord(record);
    QCOMPARE(font.family(), QString(32, QLatin1Char('A')));
    QCOMPARE(font.pixelSize(), 500);
    QCOMPARE(font.weight(), 1000);
    QVERIFY(font.stretch() >= 1 && font.stretch() <= 4000);

    PutInt32(record, 0, 0);  // any height: the default size
    PutInt32(record, 16, -7);
    font = FontFromRecord(record);
    QCOMPARE(font.pixelSize(), 13);
    QCOMPARE(font.weight(), 400);
    PutInt32(record, 0, INT_MAX);  // a positive height is the cell height
    font = FontFromRecord(record);
    QVERIFY(font.pixelSize() >= 1 && font.pixelSize() <= 500);
    std::memcpy(record.data() + 28, "Courier New", 12);
    PutInt32(record, 0, 30);
    QVERIFY(std::abs(QFontMetrics(FontFromRecord(record)).height() - 30) <= 1);
  }
};

}  // namespace trivenor

QTEST_MAIN(trivenor::FontRecordTest)
#include "test_font_record.moc"
