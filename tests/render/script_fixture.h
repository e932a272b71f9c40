#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/string_holder.h"
#include "render/draw555.h"
#include "state/global.h"
#include "support/recording_canvas.h"

namespace timer555 {

// Runs scripts on a recording canvas of 650 × 306 pixels (two rows short of
// the 650 × 308 page area, with the same 8 × 8 pixel grid and top margin 16)
// with the global state reset first.
class ScriptTest : public ::testing::Test {
 protected:
  void SetUp() override { Global::Reset(); }

  // Tokens joined by blanks make one script line; no padding, so a line may be short.
  static std::string Line(const std::vector<std::string>& tokens) {
    std::string s;
    for (const std::string& t : tokens)
      s += (s.empty() ? "" : " ") + t;
    return s;
  }

  void Run(const std::vector<std::string>& lines, bool showValues = false) {
    TStringHolder holder;
    holder.SetStrings(lines);
    DrawCircuit(holder, canvas, {0, 0, canvas.Width(), canvas.Height()}, showValues);
  }
  // Full script lines: the tokens ten a line, the last line padded with fillers.
  static std::vector<std::string> ScriptLines(std::vector<std::string> tokens) {
    while (tokens.empty() || tokens.size() % 10 != 0)
      tokens.push_back("XFILL");
    std::vector<std::string> lines;
    for (size_t i = 0; i < tokens.size(); i += 10) {
      lines.push_back(Line(
          {tokens.begin() + static_cast<long>(i), tokens.begin() + static_cast<long>(i + 10)}));
    }
    return lines;
  }
  void RunTokens(const std::vector<std::string>& tokens, bool showValues = false) {
    Run(ScriptLines(tokens), showValues);
  }

  std::vector<DrawOp> Lines() const { return canvas.OpsOf(DrawOp::Kind::Line); }
  std::vector<DrawOp> Texts() const { return canvas.OpsOf(DrawOp::Kind::Text); }
  // The recorded text op with this text; fails the test when there is none.
  DrawOp TextOp(const std::string& text) const {
    for (const DrawOp& op : Texts())
      if (op.text == text) return op;
    ADD_FAILURE() << "no text \"" << text << "\"";
    return {};
  }
  bool HasLine(Point a, Point b) const {
    for (const DrawOp& op : Lines())
      if (op.points[0] == a && op.points[1] == b) return true;
    return false;
  }

  DrawingState& State() { return Global::Drawing(); }
  Point Current() { return {State().CurX, State().CurY}; }

  RecordingCanvas canvas{650, 306};
};

// Text metrics of the recording canvas in the schematic font (11 pt, 15 px
// characters): 7 pixels a character, 18 pixels high.
inline int Tw(const std::string& s) {
  return static_cast<int>(s.size()) * 7;
}
inline constexpr int kTh = 18;

}  // namespace timer555
