#include "view/picture_export.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <optional>
#include <utility>

#include "view/canvas_geometry.h"
#include "view/canvas_painting.h"
#include "view/font_record.h"
#include "view/qpainter_context.h"
#include "view/used_area.h"
#include "view/wire_values.h"

namespace trivenor {
namespace {

constexpr int kMargin = 10;
constexpr int kPngScale = 2;
/// Larger pictures would take gigabytes; the editor's canvas stays far below this.
constexpr qint64 kMaxPngPixels = qint64{1} << 28;

// The selection and the half-typed input belong to the editing, not to the picture: they are
// put aside while it is drawn.
class EditingFeedbackAside {
 public:
  explicit EditingFeedbackAside(CTrivenorDoc& document)
      : document_(document),
        component_(std::exchange(document.selectedComponent, nullptr)),
        port_(std::exchange(document.selectedPort, nullptr)) {}
  ~EditingFeedbackAside() {
    document_.selectedComponent = component_;
    document_.selectedPort = port_;
  }
  EditingFeedbackAside(const EditingFeedbackAside&) = delete;
  EditingFeedbackAside& operator=(const EditingFeedbackAside&) = delete;

 private:
  CTrivenorDoc& document_;
  Component* component_;
  Port* port_;
};

// The picture's extent depends on the sizes the drawing gives the bodies (a display's text may
// have changed since the file was saved): the circuit is laid out once first, drawing next to
// nothing (a clip in the output column leaves the components out).
void LayOut(CTrivenorDoc& document, const PictureLook& look) {
  QImage scratch(1, 1, QImage::Format_RGB32);
  QPainter painter(&scratch);
  painter.setFont(CanvasFont(document.settings));
  QPainterContext context(painter);
  const int border = canvas::RightBorder(document.settings.canvasWidth);
  PaintCanvas(context, document, EditState{}, {false, look.worksheet}, {border, 0, border + 1, 1});
}

// Draws `area` of the canvas at the painter's origin, in the painter's scale.
void DrawArea(QPainter& painter, CTrivenorDoc& document, const CanvasRect& area,
              const PictureLook& look) {
  painter.fillRect(QRect(0, 0, area.right - area.left, area.bottom - area.top), Qt::white);
  painter.translate(-area.left, -area.top);
  const QFont font = CanvasFont(document.settings);
  painter.setFont(font);
  const EditingFeedbackAside aside(document);
  QPainterContext context(painter);
  const ClipBox clip{area.left, area.top, area.right, area.bottom};
  PaintCanvas(context, document, EditState{}, {false, look.worksheet}, clip);
  if (look.wireValues && !look.worksheet) {
    WireValuePainter().Paint(
        painter, document.circuit(), WireValueFont(font),
        QRect(QPoint(area.left, area.top), QPoint(area.right - 1, area.bottom - 1)));
  }
}

QString NotWritten(const QString& path) {
  return QStringLiteral("Das Bild „%1“ konnte nicht geschrieben werden.").arg(path);
}

// Each returns the message to report, an empty text when the picture went into `file`.
QString WritePng(CTrivenorDoc& document, const CanvasRect& area, const PictureLook& look,
                 QSaveFile& file) {
  const qint64 width = qint64{area.right - area.left} * kPngScale;
  const qint64 height = qint64{area.bottom - area.top} * kPngScale;
  if (width * height > kMaxPngPixels) {
    return QStringLiteral("Der Schaltkreis ist zu groß für ein Bild.");
  }
  QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  if (image.isNull()) {
    return QStringLiteral("Für das Bild reicht der Speicher nicht.");
  }
  // Twice the screen's resolution, so that the picture prints at the size of the screen.
  constexpr int kScreenDotsPerMetre = 3780;  // 96 dpi
  image.setDotsPerMeterX(kPngScale * kScreenDotsPerMetre);
  image.setDotsPerMeterY(kPngScale * kScreenDotsPerMetre);
  QPainter painter(&image);
  painter.scale(kPngScale, kPngScale);
  DrawArea(painter, document, area, look);
  painter.end();
  return image.save(&file, "PNG") ? QString() : NotWritten(file.fileName());
}

QString WriteSvg(CTrivenorDoc& document, const CanvasRect& area, const PictureLook& look,
                 QSaveFile& file) {
  const QSize size(area.right - area.left, area.bottom - area.top);
  QSvgGenerator generator;
  generator.setOutputDevice(&file);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(QString::fromStdString(document.circuit().label));
  QPainter painter;
  if (!painter.begin(&generator)) {
    return NotWritten(file.fileName());
  }
  DrawArea(painter, document, area, look);
  return painter.end() ? QString() : NotWritten(file.fileName());
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const QString& path) {
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    return PictureFormat::Svg;
  }
  if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
    return PictureFormat::Png;
  }
  return std::nullopt;
}

QString ExportPicture(CTrivenorDoc& document, const QString& path, PictureFormat format,
                      const PictureLook& look) {
  if (document.loading) {
    return QStringLiteral("Der Schaltkreis wird gerade geladen.");
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    return NotWritten(path);
  }
  LayOut(document, look);
  const CanvasRect area = UsedArea(document, kMargin);
  const QString failure = format == PictureFormat::Png ? WritePng(document, area, look, file)
                                                       : WriteSvg(document, area, look, file);
  if (!failure.isEmpty()) {
    file.cancelWriting();
    return failure;
  }
  return file.commit() ? QString() : NotWritten(path);
}

}  // namespace trivenor
