#pragma once

#include <string>

namespace timer555 {

// The system's words for an errno value ("No space left on device"), safe
// to ask from any thread.
std::string ErrorText(int error);

}  // namespace timer555
