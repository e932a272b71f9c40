#pragma once

#include <string>
#include <vector>

#include "export/board.h"

namespace timer555 {

// A pin of a symbol as the standard library draws it: its number and name,
// its electrical type, where its connecting end lies (millimetres, y up, as
// symbol libraries have it), the direction it points from there and its
// length.
struct SymbolPin {
  std::string number, name, type;
  double x, y;
  int angle;
  double length;
  int unit;  // 0: every unit has it
};

// The pins of the symbols the schematic uses, by library id: each symbol is
// drawn by this program with the standard library's pin numbers and places,
// so that a user may update it from the library.
std::vector<SymbolPin> SymbolPins(const std::string& libId);

// What the title block says.
struct SchematicTitle {
  std::string title;    // "Astable, duty cycle below 50 %"
  std::string target;   // "1.000 kHz, 25.0 % at 5.0 V"
  std::string version;  // the program's
  std::string date;     // "2026-12-10"
};

// The board as a KiCad 6 schematic (format 20211123, which KiCad 7, 8 and 9
// read and upgrade): every part on the 1.27 mm grid, each pin reaching its
// net through a short wire that ends on a net label or a power symbol (or a
// no-connect flag where a pin is left open), the symbols embedded.
std::string KicadSchematic(const Board& board, const SchematicTitle& title);

}  // namespace timer555
