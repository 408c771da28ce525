#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "document/trivenor_doc.h"
#include "isolated_settings.h"
#include "shell/main_frame.h"
#include "support/circuit_building.h"
#include "support/heap_accounting.h"

namespace trivenor {

// Its own program: it links the heap accounting, which replaces the allocation functions.
class RepeatedOpeningTest : public QObject {
  Q_OBJECT

  IsolatedSettings settings_;

 private slots:
  // Regression: every "Öffnen" made a new file dialog, whose freshly loaded icons Qt kept in its
  // pixmap cache once painted, some 20 KB an opening.
  void openingOneFileAgainAndAgainKeepsTheHeapFlat() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("klein.trv"));
    {
      CTrivenorDoc saved;
      test_support::AddOutputTerminal(saved.circuit(), 0).value = 4.0f;
      QCOMPARE(saved.SaveDocument(path.toStdString()), DocumentError::None);
    }
    CTrivenorDoc document;
    CMainFrame frame(document);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    // Answers Qt's own open dialog as the user does, after it has been painted in full.
    int answered = 0;
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) {
        return;
      }
      dialog->grab();
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      name->setText(path);
      QTest::keyClick(name, Qt::Key_Return);
      ++answered;
    });
    answerer.start(0);
    const auto open = [&frame](int times) {
      for (int i = 0; i < times; ++i) {
        frame.action(kFileOpen).trigger();
      }
    };

    open(20);  // Qt fills its font, glyph and icon caches on the first ones
    const std::size_t before = test_support::MallocBytesInUse();
    constexpr int kOpenings = 200;
    open(kOpenings);
    const std::size_t after = test_support::MallocBytesInUse();

    QCOMPARE(answered, 20 + kOpenings);
    QCOMPARE(QString::fromStdString(document.PathName()), QFileInfo(path).absoluteFilePath());
    const double perOpening =
        (static_cast<double>(after) - static_cast<double>(before)) / kOpenings;
    QVERIFY2(perOpening <= 1024.0,
             qPrintable(QStringLiteral("%1 bytes per opening").arg(perOpening)));
  }
};

}  // namespace trivenor

QTEST_MAIN(trivenor::RepeatedOpeningTest)
#include "test_repeated_opening.moc"
