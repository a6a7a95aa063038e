// The whole-picture optimisation: every frame brought to one global colour
// map made by a reduction method.
#pragma once

#include "gif/gifimage.h"
#include "gif/reduce/colorreduction.h"

namespace rf::gif {

// Method 0 sorts each colour map by use and drops unused entries, frames
// keeping their maps. Methods 1 to 9 make one palette for all frames (the
// octree methods quantize the colours of every frame together), map every
// frame's colours to it with the dither mode, drop the local maps and sort
// the new global map by use; transparent pixels stay transparent, sharing
// one entry. Reports "Optimizing..." progress. Raises "Invalid reduction
// method" for another method and for a dither mode outside 0 to 6.
void OptimizeColorMaps(TGIFImage& image, const ReductionSettings& settings);

}  // namespace rf::gif
