#pragma once

#include <string>

#include "export/board.h"

namespace timer555 {

// The bill of materials as RFC 4180 CSV (CRLF line ends, fields quoted where
// they hold a comma, a quote or a line end): a header, then one line per
// distinct part with its designators grouped — Designator, Quantity, Value,
// Description, Footprint, and Manufacturer and MPN empty for the user.
std::string BomCsv(const Board& board);

}  // namespace timer555
