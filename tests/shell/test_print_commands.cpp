#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "document/trivenor_doc.h"
#include "isolated_settings.h"
#include "shell/main_frame.h"
#include "shell/page_setup_dialog.h"
#include "shell/print_commands.h"
#include "shell/print_switches.h"
#include "shell/settings.h"
#include "shell/trivenor_app.h"
#include "support/circuit_building.h"
#include "view/pdf_reading.h"

namespace trivenor {
namespace {

// Answers every message box that comes up while it lives with its default button, and keeps
// the texts.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.append(box->text());
        box->button(QMessageBox::Ok)->click();
      }
    });
    timer_.start(0);
  }

  QStringList texts;

 private:
  QTimer timer_;
};

}  // namespace

class PrintCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(settings_.isValid());
    ConfigureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
  }

  void init() {
    UserSettings().remove(QString());
    qunsetenv(kPrintToPdfVariable);
    files_ = std::make_unique<QTemporaryDir>();
    document_ = std::make_unique<CTrivenorDoc>();
    frame_ = std::make_unique<CMainFrame>(*document_);
    commands_ = frame_->findChild<PrintCommands*>();
    QVERIFY(commands_ != nullptr);
  }

  void cleanup() {
    qunsetenv(kPrintToPdfVariable);
    frame_.reset();
    document_.reset();
  }

  void previewOpensAsItWasLeftAndRemembersTheChange() {
    QCOMPARE(PreviewPages(), 1);
    UserSettings().setValue(QStringLiteral("Settings/PreviewPages"), 2);
    int shownPages = 0;
    commands_->runDialog = [&shownPages](QDialog& dialog) {
      const auto* preview = dialog.findChild<QPrintPreviewWidget*>();
      if (qobject_cast<QPrintPreviewDialog*>(&dialog) != nullptr && preview != nullptr) {
        shownPages = preview->viewMode() == QPrintPreviewWidget::FacingPagesView ? 2 : 1;
        dialog.findChild<QAction*>(QStringLiteral("singleModeAction"))->trigger();
      }
      return false;
    };
    frame_->action(kFilePrintPreview).trigger();
    QCOMPARE(shownPages, 2);
    QCOMPARE(UserSettings().value(QStringLiteral("Settings/PreviewPages")).toInt(), 1);
  }

  void printAsksForTheOnePageThenPrintsIt() {
    document_->circuit().owner = "Eva";
    const QString path = files_->filePath(QStringLiteral("gedruckt.pdf"));
    bool accept = false;
    QString pages;
    commands_->runDialog = [&](QDialog& dialog) {
      auto* print = qobject_cast<QPrintDialog*>(&dialog);
      if (print == nullptr) {
        return false;
      }
      pages = QStringLiteral("%1-%2").arg(print->minPage()).arg(print->maxPage());
      print->printer()->setOutputFormat(QPrinter::PdfFormat);
      print->printer()->setOutputFileName(path);
      return accept;
    };
    // The toolbar's button is the menu's action.
    QVERIFY(frame_->toolBar().actions().contains(&frame_->action(kFilePrint)));
    frame_->action(kFilePrint).trigger();
    QCOMPARE(pages, QStringLiteral("1-1"));
    QVERIFY(!QFile::exists(path));  // cancelled
    accept = true;
    frame_->action(kFilePrint).trigger();
    QCOMPARE(test_support::PdfPageCount(path), 1);
    QVERIFY(test_support::PdfText(path).contains(QStringLiteral("von Eva")));
  }

  // Regression: without a printer "Druckereinrichtung..." offered nothing that took effect.
  void pageSetUpForPdfOutputHoldsForPrintAndPreview() {
    commands_->printer().setOutputFormat(QPrinter::PdfFormat);  // as on a machine without one
    const QString path = files_->filePath(QStringLiteral("quer.pdf"));
    QString setUp;  // the set-up's title and the paper it offered first
    QPageLayout previewed;
    commands_->runDialog = [&](QDialog& dialog) {
      if (auto* setup = qobject_cast<PageSetupDialog*>(&dialog)) {
        auto* paper = setup->findChild<QComboBox*>(QStringLiteral("paperSize"));
        setUp = setup->windowTitle() + u'|' + paper->currentText();
        paper->setCurrentIndex(paper->findText(QPageSize::name(QPageSize::A5)));
        setup->findChild<QRadioButton*>(QStringLiteral("landscape"))->click();
        return true;
      }
      if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) {
        print->printer()->setOutputFileName(path);
        return true;
      }
      if (auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog)) {
        previewed = preview->printer()->pageLayout();
      }
      return false;
    };
    commands_->printer().setPageSize(QPageSize(QPageSize::A4));
    frame_->action(kFilePrintSetup).trigger();
    frame_->action(kFilePrint).trigger();
    frame_->action(kFilePrintPreview).trigger();

    QCOMPARE(setUp, QStringLiteral("Seite einrichten|") + QPageSize::name(QPageSize::A4));
    const QString info =
        QString::fromUtf8(test_support::RunPopplerTool(QStringLiteral("pdfinfo"), {path}));
    QVERIFY2(info.contains(QStringLiteral("595 x 420 pts (A5)")), qPrintable(info));
    QCOMPARE(previewed.orientation(), QPageLayout::Landscape);
    QCOMPARE(previewed.pageSize().id(), QPageSize::A5);
  }

  // The output's value ("0": it has no wire) gives way to "?".
  void worksheetPrintsAQuestionMarkInPlaceOfEveryResult() {
    QCOMPARE(frame_->documentCommands().OpenFile(SavedCircuit()),
             DocumentCommands::OpenResult::Opened);
    const QString path = files_->filePath(QStringLiteral("blatt.pdf"));
    commands_->runDialog = [&path](QDialog& dialog) {
      auto* print = qobject_cast<QPrintDialog*>(&dialog);
      print->printer()->setOutputFormat(QPrinter::PdfFormat);
      print->printer()->setOutputFileName(path);
      return true;
    };
    frame_->action(kPrintWorksheet).trigger();
    const QString text = test_support::PdfText(path);
    QVERIFY2(text.contains(QStringLiteral("?")) && !text.contains(u'0'), qPrintable(text));
    frame_->action(kFilePrint).trigger();
    QVERIFY(test_support::PdfText(path).contains(u'0'));
  }

  void printSwitchPrintsOnePageWithoutAWindowAndEnds() {
    const QString circuit = SavedCircuit();
    QVERIFY(!circuit.isEmpty());
    const QString pdf = files_->filePath(QStringLiteral("schalter.pdf"));
    qputenv(kPrintToPdfVariable, pdf.toUtf8());
    CTrivenorApp app;
    QVERIFY(!app.InitInstance({QStringLiteral("trivenor"), QStringLiteral("/p"), circuit}));
    QCOMPARE(app.exitCode(), 0);
    QVERIFY(app.mainFrame() == nullptr);
    QCOMPARE(test_support::PdfPageCount(pdf), 1);
    QVERIFY(test_support::PdfText(pdf).contains(QStringLiteral("Zähler von Eva")));
  }

  // Regression: without a printer Qt quietly writes a PDF file nobody asked for.
  void printSwitchWithoutAPrinterSaysSo() {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
      QSKIP("this machine has a printer");
    }
    const QString circuit = SavedCircuit();
    QVERIFY(!circuit.isEmpty());
    MessageBoxAnswerer answerer;
    CTrivenorApp app;
    QVERIFY(!app.InitInstance({QStringLiteral("trivenor"), QStringLiteral("/p"), circuit}));
    QCOMPARE(app.exitCode(), 1);
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Kein Drucker installiert.")});
  }

 private:
  QString SavedCircuit() {
    CTrivenorDoc saved;
    saved.circuit().label = "Zähler";
    saved.circuit().owner = "Eva";
    test_support::AddOutputTerminal(saved.circuit(), 0).value = 4.0f;
    const QString path = files_->filePath(QStringLiteral("zaehler.trv"));
    return saved.SaveDocument(path.toStdString()) == DocumentError::None ? path : QString();
  }

  IsolatedSettings settings_;
  std::unique_ptr<QTemporaryDir> files_;
  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CMainFrame> frame_;
  PrintCommands* commands_ = nullptr;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::PrintCommandsTest)
#include "test_print_commands.moc"
