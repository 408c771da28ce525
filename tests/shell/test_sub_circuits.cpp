#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "document/document_io.h"
#include "document/trivenor_doc.h"
#include "isolated_settings.h"
#include "model/component_kind.h"
#include "model/graph_plot.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "model/recording_context.h"
#include "shell/main_frame.h"
#include "shell/sub_circuit_commands.h"
#include "support/circuit_building.h"
#include "view/canvas_painting.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddOutputTerminal;
using test_support::Append;
using test_support::Connect;

/// One input, one output and a one-input function between them; no title, so a placed copy is
/// labelled with its file's name.
std::unique_ptr<SubCircuit> FunctionCircuit(int functionKind) {
  auto circuit = std::make_unique<SubCircuit>();
  Port& in = AddInputTerminal(*circuit, 0);
  Port& out = AddOutputTerminal(*circuit, 0);
  auto& function = Append<UnaryFunction>(*circuit, functionKind);
  Connect(*function.inputs[0], in);
  Connect(out, *function.outputs[0]);
  return circuit;
}

/// A function circuit that also shows its result in a graph and a display.
std::unique_ptr<SubCircuit> ShowingCircuit(int functionKind) {
  auto circuit = FunctionCircuit(functionKind);
  Connect(*Append<GraphPlot>(*circuit, GraphSettings{}).inputs[0], *circuit->inputs[0]);
  Connect(*Append<OutputDisplay>(*circuit).inputs[0], *circuit->inputs[0]);
  return circuit;
}

/// Puts `inner` into `host` as a stored copy, as the editor leaves a placed one.
SubCircuit& Nest(SubCircuit& host, std::unique_ptr<SubCircuit> inner, const std::string& path) {
  for (auto& port : inner->inputs) {
    port->role = PortRole::SubCircuitInput;
  }
  for (auto& port : inner->outputs) {
    port->role = PortRole::SubCircuitOutput;
  }
  inner->path = path;
  SubCircuit& nested = *inner;
  host.components.push_back(std::move(inner));
  return nested;
}

std::vector<int> KindsOf(const SubCircuit& circuit) {
  std::vector<int> kinds;
  for (const auto& component : circuit.components) {
    kinds.push_back(component->kind);
  }
  return kinds;
}

}  // namespace

/// The insertion dialog and "Pfad festlegen" on the real main window, with the file dialogs
/// answered by the test and circuit files in a temporary folder.
class SubCircuitsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(settings_.isValid()); }

  void init() {
    files_ = std::make_unique<QTemporaryDir>();
    QVERIFY(files_->isValid());
    document_ = std::make_unique<CTrivenorDoc>();
    frame_ = std::make_unique<CMainFrame>(*document_);
    view().SetFirstTickDelay(60000);
    document_->tickPeriod = 70;  // tells a restart with the period from the first delay
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    answers_.clear();
    timerRunningWhenAsked_.clear();
    commands().askPath = [this](QWidget*) {
      timerRunningWhenAsked_.append(view().IsSimulationTimerActive());
      return answers_.isEmpty() ? QString() : answers_.takeFirst();
    };
  }

  void cleanup() {
    frame_.reset();  // with whatever dialog is still open
    document_.reset();
    files_.reset();
  }

  void loadingPutsEachFileOnTopWithoutReadingIt() {
    view().ArmPlacing(kind::Plus);
    frame_->action(kSubCircuits).trigger();
    QPointer<SubCircuitDialog> first = dialog();
    QVERIFY(first && first->isVisible() && !first->isModal());
    QCOMPARE(first->windowTitle(), QStringLiteral("Subschaltkreise einfügen"));

    // Neither file exists: loading only remembers the path.
    answers_ = {PathOf("erste"), PathOf("zweite")};
    Press("load");
    Press("load");
    QCOMPARE(Lines(), QStringList({"zweite", "erste"}));
    QCOMPARE(document_->subCircuitList.size(), 2u);
    QCOMPARE(document_->subCircuitList[0]->displayName, std::string("zweite"));
    QCOMPARE(QString::fromStdString(document_->subCircuitList[0]->filePath), PathOf("zweite"));
    QCOMPARE(view().editState().mode, EditMode::Idle);
    QCOMPARE(timerRunningWhenAsked_, QList<bool>({false, false}));
    QVERIFY(view().IsSimulationTimerActive());
    QCOMPARE(view().SimulationTimerInterval(), 70);

    Press("load");  // cancelled: nothing added, the clock runs again all the same
    QCOMPARE(Lines().size(), 2);
    QVERIFY(view().IsSimulationTimerActive());

    // The command replaces the dialog with one that lists the document's files, newest first.
    frame_->action(kSubCircuits).trigger();
    QVERIFY(first.isNull());
    QVERIFY(dialog()->isVisible());
    QCOMPARE(Lines(), QStringList({"zweite", "erste"}));
  }

  void newEmptiesTheListAndClosesTheDialog() {
    frame_->action(kSubCircuits).trigger();
    answers_ = {PathOf("erste")};
    Press("load");
    const QPointer<SubCircuitDialog> open = dialog();

    frame_->action(kFileNew).trigger();
    QVERIFY(open.isNull());
    QVERIFY(document_->subCircuitList.empty());
    frame_->action(kSubCircuits).trigger();
    QVERIFY(Lines().isEmpty());
  }

  void deleteRemovesOnlyTheSelectedFile() {
    frame_->action(kSubCircuits).trigger();
    answers_ = {PathOf("erste"), PathOf("zweite")};
    Press("load");
    Press("load");
    SelectLine("erste");
    Press("insert");
    QCOMPARE(view().editState().mode, EditMode::PlacingComponent);

    Press("delete");
    QCOMPARE(Lines(), QStringList({"zweite"}));
    QCOMPARE(document_->subCircuitList.size(), 1u);
    QCOMPARE(document_->subCircuitList[0]->displayName, std::string("zweite"));
    QCOMPARE(view().editState().mode, EditMode::Idle);
    // The placing it had armed cannot come back to the removed entry.
    QVERIFY(!view().editState().chosenSubCircuit);

    list()->clearSelection();
    Press("delete");
    QCOMPARE(Lines(), QStringList({"zweite"}));
  }

  void insertWithoutASelectedLineLeavesTheMode() {
    frame_->action(kSubCircuits).trigger();
    answers_ = {PathOf("erste")};
    Press("load");
    list()->clearSelection();
    view().ArmPlacing(kind::Plus);
    Press("insert");
    QCOMPARE(view().editState().mode, EditMode::PlacingComponent);
    QCOMPARE(view().editState().modeArg, kind::Plus);
  }

  void oneInsertPlacesOneCopy() {
    const QString path = Write("betrag", *FunctionCircuit(kind::Absolute));
    OfferAndInsert(path, false);
    QCOMPARE(view().editState().mode, EditMode::PlacingComponent);
    QCOMPARE(view().editState().modeArg, kind::SubCircuit);
    QVERIFY(dialog()->isVisible());  // stays open for the next copy

    ClickCanvas({200, 100});
    ClickCanvas({300, 300});
    ClickCanvas({400, 200});
    QCOMPARE(PlacedSubCircuits().size(), 1u);
    const SubCircuit& placed = *PlacedSubCircuits()[0];
    QCOMPARE(placed.label, std::string("betrag"));
    QCOMPARE(placed.x, 200);
    QCOMPARE(placed.y, 95);
    QVERIFY(placed.path.empty() && !placed.dynamic);
    QCOMPARE(placed.inputs[0]->role, PortRole::SubCircuitInput);
    QCOMPARE(placed.outputs[0]->role, PortRole::SubCircuitOutput);
    QVERIFY(document_->IsModified());

    Press("insert");
    ClickCanvas({300, 300});
    QCOMPARE(PlacedSubCircuits().size(), 2u);
  }

  void aDynamicCopyKeepsItsFileAndShowsIt() {
    const QString path = Write("betrag", *FunctionCircuit(kind::Absolute));
    OfferAndInsert(path, true);
    QVERIFY(view().editState().insertDynamic);
    ClickCanvas({200, 100});
    QCOMPARE(PlacedSubCircuits().size(), 1u);
    const SubCircuit& placed = *PlacedSubCircuits()[0];
    QCOMPARE(QString::fromStdString(placed.path), path);
    QVERIFY(placed.dynamic);
    QVERIFY(DrawnTexts().contains("betrag(d)"));
  }

  void graphsAndDisplaysOfThePlacedFileAreLeftOut() {
    const QString path = Write("anzeige", *ShowingCircuit(kind::Absolute));
    for (const bool dynamic : {false, true}) {
      OfferAndInsert(path, dynamic);
      ClickCanvas({200, 100});
      QCOMPARE(KindsOf(*PlacedSubCircuits().at(0)), std::vector<int>{kind::Absolute});
    }
  }

  // The outer file holds two stored copies of a circuit with a graph and a display: a plain one,
  // which is placed as it was stored, and a dynamic one, which is read again from its file as a
  // sub-circuit, with what that file holds now and without the graph and the display.
  void aDynamicCopyInsideAPlacedFileIsReadAgainFromItsFile() {
    const QString innerPath = PathOf("innen");
    auto outer = std::make_unique<SubCircuit>();
    Nest(*outer, ShowingCircuit(kind::Absolute), "");
    Nest(*outer, ShowingCircuit(kind::Absolute), innerPath.toStdString());
    const QString outerPath = Write("aussen", *outer);
    QCOMPARE(Write("innen", *ShowingCircuit(kind::Sign)), innerPath);  // changed since

    OfferAndInsert(outerPath, false);
    ClickCanvas({200, 100});
    const SubCircuit& placed = *PlacedSubCircuits().at(0);
    QCOMPARE(placed.components.size(), 2u);
    const auto& copied = static_cast<const SubCircuit&>(*placed.components[0]);
    const auto& reread = static_cast<const SubCircuit&>(*placed.components[1]);
    QCOMPARE(KindsOf(copied),
             (std::vector<int>{kind::Absolute, kind::GraphPlot, kind::OutputDisplay}));
    QVERIFY(!copied.dynamic);
    QCOMPARE(KindsOf(reread), std::vector<int>{kind::Sign});
    QVERIFY(reread.dynamic);
  }

  void aFileThatIsNoCircuitPlacesNothingAndSaysNothing() {
    const QString notCircuit = PathOf("notiz.txt");
    QFile text(notCircuit);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("Einkaufsliste\n");
    text.close();
    QStringList modalsSeen;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&modalsSeen] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        modalsSeen.append(modal->windowTitle());
        modal->close();
      }
    });
    watcher.start(0);

    for (const QString& path : {notCircuit, PathOf("fehlt")}) {
      OfferAndInsert(path, true);
      ClickCanvas({200, 100});
      QCOMPARE(view().editState().mode, EditMode::Idle);
    }
    QTest::qWait(20);
    QVERIFY(document_->circuit().components.empty());
    QVERIFY2(modalsSeen.isEmpty(), qPrintable(modalsSeen.join(", ")));
  }

  void closingTheDialogEndsItsPlacingButKeepsIt() {
    const QString path = Write("betrag", *FunctionCircuit(kind::Absolute));
    OfferAndInsert(path, false);
    QVERIFY(dialog()->close());
    QVERIFY(dialog() && !dialog()->isVisible());
    QCOMPARE(view().editState().mode, EditMode::Idle);

    SelectLine("betrag");
    Press("insert");
    frame_->action(kSubCircuits).trigger();  // the hidden one goes, and with it the placing
    QCOMPARE(view().editState().mode, EditMode::Idle);
    QVERIFY(!view().editState().chosenSubCircuit);
  }

  void aPathMakesTheCopyDynamicFromTheNextOpeningOn() {
    const QString path = Write("betrag", *FunctionCircuit(kind::Absolute));
    OfferAndInsert(path, false);
    ClickCanvas({200, 100});
    SubCircuit* placed = PlacedSubCircuits().at(0);
    view().viewport()->grab();  // lays the body out for the click that selects it
    ClickCanvas({placed->x + placed->width / 2, placed->y + placed->height / 2});
    QCOMPARE(document_->selectedComponent, placed);
    const QString mainPath = PathOf("haupt");
    QCOMPARE(document_->SaveDocument(mainPath.toStdString()), DocumentError::None);

    answers_ = {path};
    timerRunningWhenAsked_.clear();
    frame_->action(kDynamicPath).trigger();
    QCOMPARE(QString::fromStdString(placed->path), path);
    QVERIFY(!placed->dynamic);
    QVERIFY(document_->IsModified());
    QCOMPARE(timerRunningWhenAsked_, QList<bool>({false}));
    QVERIFY(view().IsSimulationTimerActive());
    QCOMPARE(view().SimulationTimerInterval(), 70);
    QVERIFY(DrawnTexts().contains("betrag") && !DrawnTexts().contains("betrag(d)"));

    document_->SetModifiedFlag(false);
    frame_->action(kDynamicPath).trigger();  // cancelled: a path is never taken away
    QCOMPARE(QString::fromStdString(placed->path), path);
    QVERIFY(!document_->IsModified());
    QVERIFY(view().IsSimulationTimerActive());

    QCOMPARE(document_->SaveDocument(mainPath.toStdString()), DocumentError::None);
    QCOMPARE(frame_->documentCommands().OpenFile(mainPath), DocumentCommands::OpenResult::Opened);
    QCOMPARE(PlacedSubCircuits().size(), 1u);
    QVERIFY(PlacedSubCircuits()[0]->dynamic);
    QVERIFY(DrawnTexts().contains("betrag(d)"));
  }

  // Without a sub-circuit selected nothing is asked, yet the circuit still computes once; a
  // locked document takes a path all the same.
  void pathAsksOnlyForASubCircuitAndAlwaysEvaluates() {
    SubCircuit& circuit = document_->circuit();
    Port& in = AddInputTerminal(circuit, 0);
    Port& out = AddOutputTerminal(circuit, 0);
    Connect(out, in);
    in.value = 3.0f;
    frame_->action(kDynamicPath).trigger();
    QCOMPARE(out.value, 3.0f);

    answers_ = {PathOf("betrag")};
    document_->selectedComponent = &Append<TwoInputOperator>(circuit, kind::Plus);
    frame_->action(kDynamicPath).trigger();
    QVERIFY(timerRunningWhenAsked_.isEmpty());

    Nest(circuit, FunctionCircuit(kind::Absolute), "");
    document_->selectedComponent = circuit.components.back().get();
    document_->settings.editable = false;
    frame_->action(kDynamicPath).trigger();
    QCOMPARE(QString::fromStdString(PlacedSubCircuits().at(0)->path), PathOf("betrag"));
  }

  void aDocumentOutlivingItsWindowEmptiesSafely() {
    frame_->action(kSubCircuits).trigger();
    frame_.reset();
    document_->EmptyDocument();
  }

 private:
  CTrivenorView& view() const { return frame_->view(); }
  SubCircuitCommands& commands() const { return *frame_->findChild<SubCircuitCommands*>(); }
  SubCircuitDialog* dialog() const { return commands().dialog(); }
  QListWidget* list() const { return dialog()->findChild<QListWidget*>(QStringLiteral("list")); }

  QString PathOf(const QString& name) const { return files_->filePath(name); }

  /// Saves `circuit` as a file of the temporary folder; returns its path, empty on failure.
  QString Write(const QString& name, SubCircuit& circuit) const {
    DocumentSettings settings;
    const QString path = PathOf(name);
    return SaveDocumentFile(path.toStdString(), circuit, settings) == DocumentError::None
               ? path
               : QString();
  }

  void Press(const char* button) const {
    dialog()->findChild<QPushButton*>(QString::fromLatin1(button))->click();
  }

  QStringList Lines() const {
    QStringList lines;
    for (int row = 0; row < list()->count(); ++row) {
      lines.append(list()->item(row)->text());
    }
    return lines;
  }

  void SelectLine(const QString& text) const {
    list()->setCurrentItem(list()->findItems(text, Qt::MatchExactly).value(0));
  }

  /// A fresh dialog with `path` loaded, selected and inserted.
  void OfferAndInsert(const QString& path, bool dynamic) {
    frame_->action(kSubCircuits).trigger();
    answers_ = {path};
    Press("load");
    list()->setCurrentRow(0);
    dialog()->findChild<QCheckBox*>(QStringLiteral("dynamic"))->setChecked(dynamic);
    Press("insert");
  }

  void ClickCanvas(QPoint logical) const {
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, logical);
  }

  std::vector<SubCircuit*> PlacedSubCircuits() const {
    std::vector<SubCircuit*> placed;
    for (const auto& component : document_->circuit().components) {
      if (component->kind == kind::SubCircuit) {
        placed.push_back(static_cast<SubCircuit*>(component.get()));
      }
    }
    return placed;
  }

  /// Every text a paint of the whole canvas draws.
  QStringList DrawnTexts() const {
    test_support::RecordingContext context;
    PaintCanvas(context, *document_, view().editState(), {}, {0, 0, 600, 1000});
    QStringList texts;
    for (const std::string& call : context.calls) {
      if (call.starts_with("Text ")) {
        texts.append(QString::fromStdString(call.substr(call.find(' ', 5) + 1)));
      }
    }
    return texts;
  }

  IsolatedSettings settings_;
  std::unique_ptr<QTemporaryDir> files_;
  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CMainFrame> frame_;
  QStringList answers_;  ///< what the file dialogs answer, in turn; then cancelled
  QList<bool> timerRunningWhenAsked_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::SubCircuitsTest)
#include "test_sub_circuits.moc"
