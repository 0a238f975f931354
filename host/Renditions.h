// Decoding an uploaded picture and making its two JPEG renditions with libvips' thumbnail path
// (shrink on load): never enlarged, alpha flattened on white, the first frame of an animation,
// EXIF orientation applied.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/PictureType.h"

namespace lumatrel::host {

enum class DecodeOutcome { Made, NotAPicture, TooManyPixels, Damaged };

struct Renditions {
  DecodeOutcome outcome = DecodeOutcome::Damaged;
  std::string large;  // JPEG within 2000 x 2000
  std::string small;  // JPEG within 460 x 460
};

// Starts libvips once per process (cache off, untrusted loaders blocked but the one that reads
// BMP). False if it cannot start.
bool StartPictureLibrary();

// bytes must have been probed as type; the decoder that libvips would pick has to agree with it.
// A picture with more than maxPixels pixels (in its first frame) is refused before decoding.
Renditions MakeRenditions(std::string_view bytes, PictureType type, std::uint64_t maxPixels);

}  // namespace lumatrel::host
