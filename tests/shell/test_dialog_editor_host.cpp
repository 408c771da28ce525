#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "dialog_answering.h"
#include "model/component_kind.h"
#include "model/delay_line.h"
#include "model/hazard_filter.h"
#include "shell/dialog_editor_host.h"
#include "view/trivenor_view.h"

namespace trivenor {

using test_support::AnswerNextDialog;

/// The placing click of the real view opens the host's dialogs, which decide what is placed.
class DialogEditorHostTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    document_ = std::make_unique<CTrivenorDoc>();
    view_ = std::make_unique<CTrivenorView>(*document_);
    view_->SetDialogHost(new DialogEditorHost(*view_));  // a child of the view
    view_->resize(400, 300);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
  }

  void cleanup() {
    view_.reset();
    document_.reset();
  }

  void PlacingClickTakesTheDialogsAnswer() {
    CTrivenorDoc& document = *document_;
    CTrivenorView& view = *view_;

    QString shownPreset;
    AnswerNextDialog([&](QDialog& dialog) {
      auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("field"));
      shownPreset = field->text();
      field->setText(QStringLiteral("7"));
      dialog.accept();
    });
    view.ArmPlacing(kind::DelayLine);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, {200, 100});
    QCOMPARE(shownPreset, QStringLiteral("1"));
    QCOMPARE(document.circuit().components.size(), 1u);
    const auto* delay = dynamic_cast<const DelayLine*>(document.circuit().components[0].get());
    QVERIFY(delay != nullptr);
    QCOMPARE(delay->length, 7);

    AnswerNextDialog([](QDialog& dialog) { dialog.reject(); });
    view.ArmPlacing(kind::HazardFilter);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, {300, 200});
    QCOMPARE(document.circuit().components.size(), 1u);  // cancelled: nothing placed
  }

  // Each placing dialog opens with what the placing click presets; "Ausgabetexte" places its
  // display however it ends.
  void PlacingDialogsOpenWithTheirPresets() {
    CTrivenorDoc& document = *document_;
    CTrivenorView& view = *view_;
    // Places `kind`, reads the field `name` of its dialog and cancels the dialog.
    const auto shownAndCancelled = [&](int kind, const char* name) {
      QString shown = QStringLiteral("no such field");
      AnswerNextDialog([&shown, name](QDialog& dialog) {
        if (const auto* field = dialog.findChild<QLineEdit*>(QString::fromLatin1(name))) {
          shown = field->text();
        }
        dialog.reject();
      });
      view.ArmPlacing(kind);
      QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, {200, 100});
      return shown;
    };
    QCOMPARE(shownAndCancelled(kind::HazardFilter, "field"), QStringLiteral("1"));
    QCOMPARE(shownAndCancelled(kind::Constant, "field"), QString());
    QCOMPARE(shownAndCancelled(kind::GraphPlot, "pointCount"), QStringLiteral("100"));
    QVERIFY(document.circuit().components.empty());

    QCOMPARE(shownAndCancelled(kind::OutputDisplay, "value"), QString());
    QCOMPARE(document.circuit().components.size(), 1u);
    QCOMPARE(document.circuit().components[0]->kind, kind::OutputDisplay);
  }

 private:
  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CTrivenorView> view_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::DialogEditorHostTest)
#include "test_dialog_editor_host.moc"
