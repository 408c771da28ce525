#include "shell/graph_settings_dialog.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <limits>

#include "shell/field_refusal.h"

namespace trivenor {
namespace {

// The scaling fields take any whole number: only their reading can fail.
constexpr WholeNumberRange kAnyWholeNumber{std::numeric_limits<int>::min(),
                                           std::numeric_limits<int>::max()};
constexpr WholeNumberRange kCount{1, 10000};

// Radio buttons have no size in the layout; they are as wide as their text and this tall.
constexpr int kRadioHeight = 10;

void ShowChoice(QButtonGroup& group, int index) {
  // An exclusive group refuses to clear its last checked button, and -1 shows no choice.
  group.setExclusive(false);
  for (QAbstractButton* button : group.buttons()) {
    button->setChecked(group.id(button) == index);
  }
  group.setExclusive(true);
}

}  // namespace

GraphDialogValues GraphPlacingPresets() {
  return {.xScaleMode = 0,
          .yScaleMode = 0,
          .xMax = 1,
          .yMax = 1,
          .xMin = -1,
          .yMin = -1,
          .pointCount = 100,
          .plotMode = 0,
          .widthChars = 4,
          .heightLines = 4,
          .recordPeriod = 20};
}

GraphSettings ToGraphSettings(const GraphDialogValues& values) {
  return {.continuous = values.plotMode == 0,
          .autoX = values.xScaleMode == 0,
          .autoY = values.yScaleMode == 0,
          .heightLines = values.heightLines,
          .widthChars = values.widthChars,
          .points = values.pointCount,
          .period = values.recordPeriod,
          .yMin = static_cast<float>(values.yMin),
          .yMax = static_cast<float>(values.yMax),
          .xMin = static_cast<float>(values.xMin),
          .xMax = static_cast<float>(values.xMax)};
}

GraphSettingsDialog::GraphSettingsDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Graphenfenster"));
  setFont(DialogUnits::DialogFont());
  setFixedSize(units_.ToPixels(QSize(243, 261)));

  // Created in tab order. The group boxes are frames only: everything is a direct child of the
  // dialog, placed in the dialog's own units, and each group box lies beneath its contents.
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setGeometry(units_.ToPixels(QRect(186, 8, 50, 14)));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setGeometry(units_.ToPixels(QRect(186, 24, 50, 14)));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  AddGroupBox(QStringLiteral("Modus"), {7, 8, 164, 43});
  QButtonGroup* plot_mode =
      AddRadioGroup("plotMode", QStringLiteral("Fortlaufend (1.Port=y)"), {16, 20},
                    QStringLiteral("Abbildung (1.Port=y, 2.Port=x)"), {16, 34});

  AddGroupBox(QStringLiteral("Allgemein"), {7, 56, 229, 86});
  AddLabel(QStringLiteral("Höhe (in Textzeilen):"), {16, 65});
  QLineEdit* height_lines = AddField("heightLines", {16, 78, 76, 14});
  AddLabel(QStringLiteral("Breite(in Buchstaben):"), {16, 97});
  QLineEdit* width_chars = AddField("widthChars", {16, 110, 76, 14});
  AddLabel(QStringLiteral("Aufzeichnungsperiode"), {131, 65});
  QLineEdit* record_period = AddField("recordPeriod", {132, 78, 76, 14});
  AddLabel(QStringLiteral("Zahl der Punkte:"), {132, 97});
  QLineEdit* point_count = AddField("pointCount", {132, 110, 76, 14});

  // The layout places only the "Max:" and "Min:" fields; their labels sit just above them.
  AddGroupBox(QStringLiteral("Skalierung Y"), {7, 147, 111, 107});
  QButtonGroup* y_scale_mode = AddRadioGroup("yScaleMode", QStringLiteral("automatisch"), {16, 160},
                                             QStringLiteral("manuell"), {16, 175});
  AddLabel(QStringLiteral("Max:"), {28, 188});
  QLineEdit* y_max = AddField("yMax", {28, 199, 40, 14});
  AddLabel(QStringLiteral("Min:"), {28, 219});
  QLineEdit* y_min = AddField("yMin", {28, 230, 40, 14});

  AddGroupBox(QStringLiteral("Skalierung X"), {125, 147, 111, 107});
  QButtonGroup* x_scale_mode = AddRadioGroup("xScaleMode", QStringLiteral("automatisch"),
                                             {138, 162}, QStringLiteral("manuell"), {138, 177});
  AddLabel(QStringLiteral("Max:"), {150, 190});
  QLineEdit* x_max = AddField("xMax", {150, 201, 40, 14});
  AddLabel(QStringLiteral("Min:"), {150, 221});
  QLineEdit* x_min = AddField("xMin", {150, 232, 40, 14});

  radioGroups_ = {{{&GraphDialogValues::xScaleMode, x_scale_mode},
                   {&GraphDialogValues::yScaleMode, y_scale_mode},
                   {&GraphDialogValues::plotMode, plot_mode}}};
  numberFields_ = {{{&GraphDialogValues::xMax, x_max, kAnyWholeNumber},
                    {&GraphDialogValues::yMax, y_max, kAnyWholeNumber},
                    {&GraphDialogValues::xMin, x_min, kAnyWholeNumber},
                    {&GraphDialogValues::yMin, y_min, kAnyWholeNumber},
                    {&GraphDialogValues::pointCount, point_count, kCount},
                    {&GraphDialogValues::widthChars, width_chars, kCount},
                    {&GraphDialogValues::heightLines, height_lines, kCount},
                    {&GraphDialogValues::recordPeriod, record_period, kCount}}};
  SetValues(values_);
}

void GraphSettingsDialog::AddGroupBox(const QString& title, const QRect& where) {
  auto* box = new QGroupBox(title, this);
  box->setGeometry(units_.ToPixels(where));
}

void GraphSettingsDialog::AddLabel(const QString& text, QPoint where) {
  auto* label = new QLabel(text, this);
  label->move(units_.ToPixels(where));
  label->adjustSize();
}

QButtonGroup* GraphSettingsDialog::AddRadioGroup(const char* name, const QString& first,
                                                 QPoint first_at, const QString& second,
                                                 QPoint second_at) {
  auto* group = new QButtonGroup(this);
  const std::array<std::pair<const QString*, QPoint>, 2> choices{
      {{&first, first_at}, {&second, second_at}}};
  for (int index = 0; index < 2; ++index) {
    const auto& [text, at] = choices[static_cast<std::size_t>(index)];
    auto* button = new QRadioButton(*text, this);
    button->setObjectName(QString::fromLatin1(name) + QString::number(index));
    button->setGeometry(QRect(units_.ToPixels(at),
                              QSize(button->sizeHint().width(), units_.ToPixelsY(kRadioHeight))));
    group->addButton(button, index);
  }
  return group;
}

QLineEdit* GraphSettingsDialog::AddField(const char* name, const QRect& where) {
  auto* field = new QLineEdit(this);
  field->setObjectName(QString::fromLatin1(name));
  field->setGeometry(units_.ToPixels(where));
  return field;
}

void GraphSettingsDialog::SetValues(const GraphDialogValues& values) {
  values_ = values;
  for (const RadioGroup& group : radioGroups_) {
    ShowChoice(*group.buttons, values_.*group.member);
  }
  for (const NumberField& field : numberFields_) {
    field.edit->setText(QString::number(values_.*field.member));
  }
}

void GraphSettingsDialog::accept() {
  // A radio group cannot refuse, so reading the groups first leaves the order in which the
  // fields are checked, the only order that shows, as it is.
  GraphDialogValues read = values_;
  for (const RadioGroup& group : radioGroups_) {
    read.*group.member = group.buttons->checkedId();
  }
  for (const NumberField& field : numberFields_) {
    const WholeNumberCheck check =
        CheckWholeNumberField(field.edit->text().toStdString(), field.range);
    if (check.warning) {
      RefuseField(*this, *field.edit, *check.warning);
      return;
    }
    read.*field.member = *check.value;
  }
  values_ = read;
  QDialog::accept();
}

}  // namespace trivenor
