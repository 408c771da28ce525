#include <QDialog>
#include <QLineEdit>
#include <QtTest>
#include <memory>

#include "document/trivenor_doc.h"
#include "isolated_settings.h"
#include "model/component_kind.h"
#include "shell/main_frame.h"

namespace trivenor {

/// The keys of the main window's accelerator table, pressed where a user presses them: on the
/// canvas of a main window that is not the active window, as it stays without a window manager
/// once another window has had the keyboard.
class MainWindowKeysTest : public QObject {
  Q_OBJECT

  IsolatedSettings settings_;

 private slots:
  void init() {
    document_ = std::make_unique<CTrivenorDoc>();
    frame_ = std::make_unique<CMainFrame>(*document_);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    // Another window takes the activation, so the main window's own shortcuts cannot fire.
    elsewhere_ = std::make_unique<QWidget>();
    elsewhere_->show();
    elsewhere_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(elsewhere_.get()));
    QVERIFY(!frame_->isActiveWindow());
  }

  void cleanup() {
    elsewhere_.reset();
    frame_.reset();
    document_.reset();
  }

  void everyKeyOfTheTableRunsOnlyItsCommand_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("command");  // kCommandNone: the key does nothing at all
    const auto row = [](const char* name, int key, Qt::KeyboardModifiers modifiers, int command) {
      QTest::newRow(name) << key << int(modifiers) << command;
    };
    row("Ctrl+N", Qt::Key_N, Qt::ControlModifier, kFileNew);
    row("Ctrl+O", Qt::Key_O, Qt::ControlModifier, kFileOpen);
    row("Ctrl+S", Qt::Key_S, Qt::ControlModifier, kFileSave);
    row("Ctrl+P", Qt::Key_P, Qt::ControlModifier, kFilePrint);
    row("F1", Qt::Key_F1, Qt::NoModifier, kHelp);
    row("Shift+F1", Qt::Key_F1, Qt::ShiftModifier, kContextHelp);
    row("Ctrl+X", Qt::Key_X, Qt::ControlModifier, kCommandNone);
    row("Ctrl+C", Qt::Key_C, Qt::ControlModifier, kCommandNone);
    row("Ctrl+V", Qt::Key_V, Qt::ControlModifier, kCommandNone);
    row("Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, kEditUndo);
    row("Ctrl+Y", Qt::Key_Y, Qt::ControlModifier, kEditRedo);
    row("Ctrl+Shift+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, kEditRedo);
    row("Shift+Delete", Qt::Key_Delete, Qt::ShiftModifier, kCommandNone);
    row("Ctrl+Insert", Qt::Key_Insert, Qt::ControlModifier, kCommandNone);
    row("Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier, kCommandNone);
    row("Alt+Backspace", Qt::Key_Backspace, Qt::AltModifier, kCommandNone);
    row("F6", Qt::Key_F6, Qt::NoModifier, kCommandNone);
    row("Shift+F6", Qt::Key_F6, Qt::ShiftModifier, kCommandNone);
  }

  // Neither the editing (deleting the selection, arming a component, marking the document
  // modified) nor any other command may see the key. The commands' own work is tested elsewhere;
  // here they only record that they ran.
  void everyKeyOfTheTableRunsOnlyItsCommand() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, command);
    CTrivenorView& view = frame_->view();
    // Two placed and one of them undone: undo and redo both have something to do.
    view.ArmPlacing(kind::Plus);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, {200, 100});
    view.ArmPlacing(kind::Minus);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, {300, 200});
    view.OnEditUndo();
    QCOMPARE(document_->circuit().components.size(), 1u);
    document_->selectedComponent = document_->circuit().components.front().get();
    document_->SetModifiedFlag(false);
    QList<int> ran;
    for (const CommandInfo& info : AllCommands()) {
      QAction& action = frame_->action(info.id);
      QObject::disconnect(&action, &QAction::triggered, nullptr, nullptr);
      connect(&action, &QAction::triggered, this, [&ran, id = info.id] { ran.append(id); });
    }

    QTest::keyClick(&view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(ran, command == kCommandNone ? QList<int>() : QList<int>{command});
    QCOMPARE(document_->circuit().components.size(), 1u);
    QCOMPARE(view.editState().mode, EditMode::Idle);
    QVERIFY(!document_->IsModified());
  }

  // A dialog's text field keeps cut and paste, and the main window's keys stay the main window's.
  void otherWindowsKeepTheirKeys() {
    QDialog dialog(frame_.get());
    auto* field = new QLineEdit(QStringLiteral("abc"), &dialog);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    field->setFocus();
    field->selectAll();
    int opened = 0;
    connect(&frame_->action(kFileOpen), &QAction::triggered, this, [&opened] { ++opened; });

    QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(field->text(), QString());
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field->text(), QStringLiteral("abc"));
    QTest::keyClick(field, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(opened, 0);
    // The field's own undo, not the circuit's, also while the circuit has something to undo.
    document_->RecordStep("Knoten einfügen");
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(field->text(), QString());
    QVERIFY(frame_->action(kEditUndo).isEnabled());
    QCOMPARE(document_->history().UndoName(), "Knoten einfügen");
  }

 private:
  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CMainFrame> frame_;
  std::unique_ptr<QWidget> elsewhere_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::MainWindowKeysTest)
#include "test_main_window_keys.moc"
