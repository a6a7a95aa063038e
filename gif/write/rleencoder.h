// A run-length coder whose output any standard GIF decoder reads as LZW. It
// never looks strings up: it steers the decoder's table so that its entries
// are runs of one pixel of growing length (1, 2, 3 ...), so a run of n equal
// pixels costs about sqrt(2n) codes, and sends every other pixel as itself.
// Clears keep the code size small while no runs are being sent.
#pragma once

#include <cstdint>

#include "gif/write/gifencoder.h"

namespace rf::gif {

class TRLEEncoder : public TGIFEncoder {
 protected:
  void CompressPixels() override;

 private:
  using Count = std::int64_t;  // a run can be longer than 2^31 pixels

  void Clear();
  void OutputPlain(unsigned code);
  void FlushRun();
  void FlushFromClear(Count count);
  void FlushClearOrRepeat(Count count);
  void FlushWithTable(Count count);
  void ResetClearCount();
  // Codes needed to send count pixels of one value from a cleared table.
  Count Triangle(Count count) const;

  unsigned run_pixel_ = 0;
  Count run_length_ = 0;
  unsigned table_pixel_ = 0;
  Count table_length_ = 0;  // the decoder holds runs 2..table_length_ of table_pixel_
  Count codes_sent_ = 0;
  Count bump_ = 0;
  Count clear_count_ = 0;
  Count initial_bump_ = 0;
  Count initial_clear_count_ = 0;
  Count run_codes_ = 0;  // run codes that fit in a full table
};

}  // namespace rf::gif
