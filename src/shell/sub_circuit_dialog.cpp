#include "shell/sub_circuit_dialog.h"

#include <QFileInfo>
#include <QPushButton>
#include <algorithm>
#include <memory>

#include "model/component_kind.h"
#include "shell/dialog_units.h"

namespace trivenor {
namespace {

// A line keeps the address of its entry only as a key to look it up in the document's list:
// an entry removed behind the dialog's back is then simply not found, never dereferenced.
constexpr int kEntryRole = Qt::UserRole;

}  // namespace

SubCircuitDialog::SubCircuitDialog(CTrivenorView& view, AskCircuitPath askPath, QWidget& owner)
    : QDialog(&owner), view_(&view), document_(view.document()), askPath_(std::move(askPath)) {
  const DialogUnits units;
  setWindowTitle(QStringLiteral("Subschaltkreise einfügen"));
  setFont(DialogUnits::DialogFont());
  setFixedSize(units.ToPixels(QSize(200, 120)));

  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("list"));
  list_->setGeometry(units.ToPixels(QRect(7, 7, 120, 106)));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);

  const auto button = [&](const QString& text, const char* name, int top) {
    auto* made = new QPushButton(text, this);
    made->setObjectName(QString::fromLatin1(name));
    made->setGeometry(units.ToPixels(QRect(135, top, 58, 14)));
    return made;
  };
  QPushButton* insert = button(QStringLiteral("Einfügen"), "insert", 7);
  insert->setDefault(true);
  connect(insert, &QPushButton::clicked, this, &SubCircuitDialog::Insert);
  connect(button(QStringLiteral("Laden"), "load", 24), &QPushButton::clicked, this,
          &SubCircuitDialog::Load);
  connect(button(QStringLiteral("Löschen"), "delete", 41), &QPushButton::clicked, this,
          &SubCircuitDialog::Delete);

  dynamic_ = new QCheckBox(QStringLiteral("Dynamisch"), this);
  dynamic_->setObjectName(QStringLiteral("dynamic"));
  dynamic_->setGeometry(units.ToPixels(QRect(135, 62, 58, 10)));

  // The document's list is newest first, and so are the lines.
  for (const auto& entry : document_.subCircuitList) {
    InsertLine(list_->count(), *entry);
  }
}

SubCircuitDialog::~SubCircuitDialog() {
  EndPlacing();
}

void SubCircuitDialog::reject() {
  EndPlacing();
  QDialog::reject();
}

void SubCircuitDialog::EndPlacing() {
  if (view_) {
    view_->editState().mode = EditMode::Idle;
  }
}

// The file is only remembered here; it is read when it is placed, so a file that is no circuit
// shows only then.
void SubCircuitDialog::Load() {
  view_->StopSimulationTimer();
  const QString path = askPath_(this);
  if (!path.isEmpty()) {
    auto& entries = document_.subCircuitList;
    entries.insert(entries.begin(),
                   std::make_unique<SubCircuitListEntry>(SubCircuitListEntry{
                       QFileInfo(path).fileName().toStdString(), path.toStdString()}));
    InsertLine(0, *entries.front());
  }
  view_->StartSimulationTimer(document_.tickPeriod);
  EndPlacing();
}

void SubCircuitDialog::Delete() {
  if (QListWidgetItem* line = SelectedLine()) {
    if (SubCircuitListEntry* entry = EntryOf(*line)) {
      // A placing armed with this entry must not find it again at a recycled address.
      if (view_->editState().chosenSubCircuit == entry) {
        view_->editState().chosenSubCircuit = nullptr;
      }
      std::erase_if(document_.subCircuitList,
                    [entry](const auto& listed) { return listed.get() == entry; });
    }
    delete line;
  }
  EndPlacing();
}

void SubCircuitDialog::Insert() {
  const QListWidgetItem* line = SelectedLine();
  const SubCircuitListEntry* entry = line != nullptr ? EntryOf(*line) : nullptr;
  if (entry == nullptr) {
    return;
  }
  EditState& state = view_->editState();
  state.mode = EditMode::PlacingComponent;
  state.modeArg = kind::SubCircuit;
  state.insertDynamic = dynamic_->isChecked();
  state.chosenSubCircuit = entry;
}

QListWidgetItem* SubCircuitDialog::SelectedLine() const {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? nullptr : selected.front();
}

SubCircuitListEntry* SubCircuitDialog::EntryOf(const QListWidgetItem& line) const {
  const auto key = line.data(kEntryRole).value<quintptr>();
  const auto& entries = document_.subCircuitList;
  const auto found = std::find_if(entries.begin(), entries.end(), [key](const auto& listed) {
    return reinterpret_cast<quintptr>(listed.get()) == key;
  });
  return found != entries.end() ? found->get() : nullptr;
}

void SubCircuitDialog::InsertLine(int position, const SubCircuitListEntry& entry) {
  auto* line = new QListWidgetItem(QString::fromStdString(entry.displayName));
  line->setData(kEntryRole, QVariant::fromValue(reinterpret_cast<quintptr>(&entry)));
  list_->insertItem(position, line);
}

}  // namespace trivenor
