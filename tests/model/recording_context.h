#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/drawing_context.h"
#include "model/utf8_text.h"

namespace trivenor::test_support {

/// A device context that writes every drawing call down as a line of text, such as
/// "Rect 120,45,170,95" or "Pen Solid 2 FF0000" (colour as 0x00BBGGRR in hex), so tests can
/// compare whole call sequences. Texts measure `charWidth` per character and `textHeight` high.
class RecordingContext : public DrawingContext {
 public:
  void SelectPen(PenStyle style, int width, Colour colour) override {
    Record(std::string("Pen ") + (style == PenStyle::Solid ? "Solid " : "InsideFrame ") +
           std::to_string(width) + " " + Hex(colour));
  }
  void SelectBlackPen() override { Record("BlackPen"); }
  void Rectangle(int left, int top, int right, int bottom) override {
    Record("Rect " + Points({left, top, right, bottom}));
  }
  void FrameRectangle(int left, int top, int right, int bottom, Colour colour) override {
    Record("Frame " + Points({left, top, right, bottom}) + " " + Hex(colour));
  }
  void MoveTo(int x, int y) override { Record("Move " + Points({x, y})); }
  void LineTo(int x, int y) override { Record("Line " + Points({x, y})); }
  void Text(int x, int y, std::string_view utf8) override {
    Record("Text " + Points({x, y}) + " " + std::string(utf8));
  }
  TextSize MeasureText(std::string_view utf8) override {
    return {CharacterCount(utf8) * charWidth, textHeight};
  }
  TextMetrics Metrics() override { return {textHeight, 0, charWidth}; }

  /// The calls recorded since the last Take, which starts a new recording.
  std::vector<std::string> Take() {
    std::vector<std::string> taken;
    taken.swap(calls);
    return taken;
  }

  std::vector<std::string> calls;
  int charWidth = 8;
  int textHeight = 16;

 private:
  void Record(std::string call) { calls.push_back(std::move(call)); }

  static std::string Hex(Colour colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour));
    return text;
  }

  static std::string Points(std::initializer_list<int> values) {
    std::string text;
    for (const int value : values) {
      text += text.empty() ? "" : ",";
      text += std::to_string(value);
    }
    return text;
  }
};

}  // namespace trivenor::test_support
