#pragma once
// The set-up of a test that draws a drawing: a fresh drawing, fresh attributes, the 100 x 100
// pixel view of world 0..100, no break source, and a canvas that records what was drawn.

#include "render/UserBreak.h"
#include "support/ModelTestSupport.h"
#include "support/RecordingCanvas.h"
#include "support/ViewTestSupport.h"

namespace sxf::test {

class DrawingTest : public FreshModel {
 protected:
  void SetUp() override {
    FreshModel::SetUp();
    ResetDrawingState(view);
    SetUserBreakSource(nullptr);
  }
  void TearDown() override { SetUserBreakSource(nullptr); }
  TRecordingCanvas c;
  TView view;
};

}  // namespace sxf::test
