#include "components/error_text.h"

#include <cstring>

namespace timer555 {

std::string ErrorText(int error) {
  char buffer[256];
  // The GNU strerror_r: the text, in the buffer or in static storage.
  return strerror_r(error, buffer, sizeof buffer);
}

}  // namespace timer555
