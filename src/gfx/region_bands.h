#pragma once
// Shared by the region's own translation units: writing boxes band by band in canonical form,
// into storage that is reused from one region to the next. Not for use outside
// src/gfx/region*.cpp.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/region.h"

namespace ss {

// Box storage that a region no longer needs. A transition builds regions of up to a megabyte
// every frame; fresh buffers of that size come from new pages each time, whose first touch costs
// more than the merge that fills them.
// take_box_storage gives the spare buffer that best fits the given number of boxes, or a new
// empty one when nothing is spare.
std::vector<Rect> take_box_storage(size_t boxes);
void give_box_storage(std::vector<Rect>&& boxes);

// Writes the bands of one region in order. Each band is opened at its rows, given its columns
// left to right (a column that overlaps or touches the last one extends it), and closed; a
// closed band that continues the one above with the same columns is merged into it, and an
// empty band is dropped.
class BandWriter {
 public:
  // expected: about how many boxes the region will hold, to pick the storage.
  explicit BandWriter(size_t expected) : boxes_(take_box_storage(expected)) { boxes_.clear(); }

  void open(int32_t top, int32_t bottom) {
    top_ = top;
    bottom_ = bottom;
    band_start_ = boxes_.size();
  }
  void add(int32_t left, int32_t right) {
    if (boxes_.size() > band_start_ && left <= boxes_.back().right) {
      if (right > boxes_.back().right) boxes_.back().right = right;
      return;
    }
    boxes_.push_back({left, top_, right, bottom_});
  }
  // Gives the open band its rows when they are known only after its columns.
  void set_rows(int32_t top, int32_t bottom) {
    top_ = top;
    bottom_ = bottom;
    for (size_t k = band_start_; k < boxes_.size(); ++k) {
      boxes_[k].top = top;
      boxes_[k].bottom = bottom;
    }
  }
  void close();
  // The region written; the writer is spent.
  Region finish();

 private:
  std::vector<Rect> boxes_;
  size_t band_start_ = 0;
  size_t last_band_ = 0;  // where the previous closed band starts
  bool has_last_band_ = false;
  int32_t left_ = 0;   // the least left edge of the closed bands
  int32_t right_ = 0;  // the greatest right edge
  int32_t top_ = 0;
  int32_t bottom_ = 0;
};

}  // namespace ss
