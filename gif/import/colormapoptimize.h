// Colour map optimisation: sorting a colour map by use, most used first,
// and dropping the entries that no pixel uses.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gif/gifimage.h"

namespace rf::gif {

// For each entry of the map, the number of pixels that use it, over every
// frame whose active map it is (`frames`).
std::vector<std::uint64_t> CountColorUse(const TGIFColorMap& map,
                                         std::span<TGIFSubImage* const> frames);

// Gives the pixels of `frames`, and the transparent index of each
// transparent one, their new indexes (new_index[old]).
void RemapColorMap(std::span<TGIFSubImage* const> frames, std::span<const std::uint8_t> new_index);

// Sorts the map by use (ties keep their order), remaps the frames that use
// it, and cuts the map after its last used entry; sets its optimized flag.
// A map of fewer than 2 entries, or one that no frame uses, is left alone.
void OptimizeColorMap(TGIFImage& image, TGIFColorMap& map);
// The same for a frame's local map, for a frame that may have no image.
void OptimizeColorMap(TGIFSubImage& frame);

// An entry of the map for transparent pixels of `frames`: appended (black)
// when the map has room, else the least used entry (the last of a sorted
// map) is given up and its pixels go to the nearest other entry.
int ReserveTransparentEntry(TGIFColorMap& map, std::span<TGIFSubImage* const> frames);

// Makes the frame transparent on `index`: its graphic control extension
// (made when missing) names it.
void SetTransparentIndex(TGIFSubImage& frame, std::uint8_t index);

}  // namespace rf::gif
