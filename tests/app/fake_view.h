#pragma once

#include "design/plain_view.h"
#include "support/recording_canvas.h"

namespace timer555 {

struct FakeCanvases {
  RecordingCanvas page{650, 308};
  RecordingCanvas waveform{203, 58};
};

// The window's controls as plain values, over recording canvases of the
// window's page and waveform sizes.
class FakeView final : public FakeCanvases, public PlainView {
 public:
  FakeView() : PlainView(FakeCanvases::page, FakeCanvases::waveform) {}
};

}  // namespace timer555
