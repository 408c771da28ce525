#include "shell/about_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QString>

#include "shell/dialog_units.h"

namespace trivenor {

namespace {

// Where the build gives no values (a build outside CMake), the dialog still names the tools.
#ifndef TRIVENOR_VERSION
#define TRIVENOR_VERSION "?"
#endif
#ifndef TRIVENOR_CMAKE_VERSION
#define TRIVENOR_CMAKE_VERSION "?"
#endif

QString CompilerName() {
#if defined(__clang__)
  return QStringLiteral("Clang " __clang_version__);
#elif defined(__GNUC__)
  return QStringLiteral("GCC " __VERSION__);
#else
  return QStringLiteral("einem C++-Übersetzer");
#endif
}

constexpr const char* kLicenceLines[] = {
    "Trivenor darf in Schulen und zu Hause frei verwendet werden.",
    "Es darf unverändert kopiert und weitergegeben werden.",
    "Mit Trivenor erstellte Schaltkreise gehören ihren Urhebern.",
    "Veränderte Fassungen müssen als solche erkennbar sein.",
    "Der Verkauf des Programms ist nicht gestattet.",
};

// The disclaimer paragraphs, then the note on the password, spread down the lower part.
constexpr const char* kParagraphs[] = {
    "Trivenor wird so, wie es ist, und ohne jede Gewährleistung zur Verfügung gestellt, weder "
    "ausdrücklich noch stillschweigend, auch nicht für die Eignung zu einem bestimmten Zweck.",
    "Die Entwickler haften nicht für Schäden, die aus der Benutzung des Programms, aus falschen "
    "Rechenergebnissen oder aus verlorenen Schaltkreisdateien entstehen.",
    "Das Programm dient dem Lernen und Ausprobieren. Für Messungen, Steuerungen und "
    "sicherheitsrelevante Berechnungen ist es nicht bestimmt.",
    "Beim Speichern bleibt die alte Datei erhalten, bis die neue vollständig geschrieben ist. "
    "Legen Sie von wichtigen Schaltkreisen trotzdem Sicherungskopien an.",
    "Hinweis: Besitzer und Kennwort eines Schaltkreises werden in der Datei nur durch eine "
    "einfache polyalphabetische Ersetzung unkenntlich gemacht, nicht verschlüsselt. Sie schützen "
    "vor versehentlichen Änderungen, nicht vor Absicht.",
};

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Info über Trivenor"));
  setFont(DialogUnits::DialogFont());
  const DialogUnits units;
  setFixedSize(units.ToPixels(QSize(489, 328)));

  // Static text at a position in dialog units, wrapped to `width` units where given.
  const auto addText = [&](QWidget* holder, const QString& text, QRect rect) {
    auto* label = new QLabel(text, holder);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(units.ToPixels(rect));
    return label;
  };

  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap(QStringLiteral(":/trivenor.xpm")));
  icon->setGeometry(QRect(units.ToPixels(QPoint(7, 7)), QSize(32, 32)));

  addText(this, QStringLiteral("Trivenor Version " TRIVENOR_VERSION), QRect(40, 10, 110, 10))
      ->setObjectName(QStringLiteral("version"));
  addText(this, QStringLiteral("© Die Entwickler von Trivenor"), QRect(40, 22, 110, 10));

  addText(this, QStringLiteral("Geschrieben in C++20, übersetzt mit %1.").arg(CompilerName()),
          QRect(7, 42, 145, 20));
  addText(this, QStringLiteral("Oberfläche mit Qt %1.").arg(QString::fromLatin1(QT_VERSION_STR)),
          QRect(7, 64, 145, 10));
  addText(this,
          QStringLiteral("Gebaut mit CMake %1.").arg(QString::fromLatin1(TRIVENOR_CMAKE_VERSION)),
          QRect(7, 76, 145, 10));

  auto* licence = new QGroupBox(QStringLiteral("Lizenz"), this);
  licence->setObjectName(QStringLiteral("licence"));
  licence->setGeometry(units.ToPixels(QRect(156, 13, 286, 61)));
  int line = 0;
  for (const char* text : kLicenceLines) {
    addText(licence, QString::fromUtf8(text), QRect(6, 12 + 9 * line++, 276, 9));
  }

  int paragraph = 0;
  for (const char* text : kParagraphs) {
    addText(this, QString::fromUtf8(text), QRect(7, 105 + 44 * paragraph++, 475, 30));
  }

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setGeometry(units.ToPixels(QRect(442, 13, 40, 62)));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace trivenor
