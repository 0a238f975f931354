#include "host/Renditions.h"

#include <vips/vips8>

#include <memory>
#include <mutex>

#include "host/PicturePath.h"

namespace lumatrel::host {
namespace {

using vips::VImage;

struct BlobRelease {
  void operator()(VipsBlob* blob) const { vips_area_unref(VIPS_AREA(blob)); }
};
using BlobHandle = std::unique_ptr<VipsBlob, BlobRelease>;

std::string_view LoaderFor(PictureType type) {
  switch (type) {
    case PictureType::Png: return "VipsForeignLoadPngBuffer";
    case PictureType::Jpeg: return "VipsForeignLoadJpegBuffer";
    case PictureType::Gif: return "VipsForeignLoadNsgifBuffer";
    case PictureType::Tiff: return "VipsForeignLoadTiffBuffer";
    case PictureType::WebP: return "VipsForeignLoadWebpBuffer";
    case PictureType::Bmp: return "VipsForeignLoadMagickBuffer";
    case PictureType::None: break;
  }
  return {};
}

// Decode errors count; libpng's and libjpeg's mere warnings (an odd profile chunk) do not, but a
// truncated file does. The thumbnail operation hands only its option string on to the loader.
constexpr VipsFailOn kFailOn = VIPS_FAIL_ON_ERROR;
constexpr const char* kLoaderOptions = "fail_on=error";

std::string JpegOf(const VImage& picture) {
  VImage image = picture;
  if (image.has_alpha()) {
    const double opaque = image.format() == VIPS_FORMAT_USHORT ? 65535.0 : 255.0;
    image = image.flatten(VImage::option()->set("background", std::vector<double>{opaque})->set("max_alpha", opaque));
  }
  const VipsInterpretation interpretation = image.interpretation();
  const bool grey = interpretation == VIPS_INTERPRETATION_B_W || interpretation == VIPS_INTERPRETATION_GREY16;
  const VipsInterpretation target = grey ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB;
  if (interpretation != target || image.format() != VIPS_FORMAT_UCHAR) image = image.colourspace(target);
  if (image.format() != VIPS_FORMAT_UCHAR) image = image.cast(VIPS_FORMAT_UCHAR);
  // Orientation is already applied, so no metadata (EXIF orientation above all) goes along.
  BlobHandle blob(image.jpegsave_buffer(
      VImage::option()->set("Q", 85)->set("strip", true)->set("optimize_coding", true)));
  std::size_t length = 0;
  const void* data = vips_blob_get(blob.get(), &length);
  return std::string(static_cast<const char*>(data), length);
}

VImage ThumbnailOf(std::string_view bytes, Rendition rendition) {
  // The blob borrows the upload's bytes; nothing keeps it past this call.
  BlobHandle source(vips_blob_new(nullptr, bytes.data(), bytes.size()));
  const int size = RenditionSize(rendition);
  return VImage::thumbnail_buffer(
      source.get(), size,
      VImage::option()->set("height", size)->set("size", VIPS_SIZE_DOWN)->set("option_string", kLoaderOptions));
}

}  // namespace

bool StartPictureLibrary() {
  static bool started = false;
  static std::once_flag once;
  std::call_once(once, [] {
    if (VIPS_INIT("lumatrel-host") != 0) return;
    // Every upload is different, so caching operations only costs memory.
    vips_cache_set_max(0);
    // A damaged upload is refused and logged in one line; libvips' own warnings about it
    // (one per scan line) would flood the log.
    g_log_set_handler("VIPS", G_LOG_LEVEL_WARNING, [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    vips_block_untrusted_set(TRUE);
    vips_operation_block_set("VipsForeignLoadMagickBuffer", FALSE);
    started = true;
  });
  return started;
}

Renditions MakeRenditions(std::string_view bytes, PictureType type, std::uint64_t maxPixels) {
  Renditions result;
  if (!StartPictureLibrary()) return result;
  const char* loader = vips_foreign_find_load_buffer(bytes.data(), bytes.size());
  vips_error_clear();
  if (loader == nullptr || LoaderFor(type).empty() || LoaderFor(type) != loader) {
    result.outcome = DecodeOutcome::NotAPicture;
    return result;
  }
  try {
    // The header alone, to refuse a decompression bomb before any pixel is decoded.
    const VImage header = VImage::new_from_buffer(bytes.data(), bytes.size(), "",
                                                  VImage::option()->set("fail_on", kFailOn));
    const std::uint64_t pixels = static_cast<std::uint64_t>(header.width()) * static_cast<std::uint64_t>(header.height());
    if (header.width() <= 0 || header.height() <= 0) return result;
    if (pixels > maxPixels) {
      result.outcome = DecodeOutcome::TooManyPixels;
      return result;
    }
    const VImage large = ThumbnailOf(bytes, Rendition::Large);
    result.large = JpegOf(large);
    // A picture that already fits the small box is the same picture in both (never enlarged).
    const int smallSize = RenditionSize(Rendition::Small);
    const bool fitsSmall = large.width() <= smallSize && large.height() <= smallSize;
    result.small = fitsSmall ? result.large : JpegOf(ThumbnailOf(bytes, Rendition::Small));
    result.outcome = DecodeOutcome::Made;
  } catch (...) {
    // libvips reports a damaged or truncated picture by throwing (vips::VError); it ends here.
    vips_error_clear();
    result = Renditions{};
  }
  return result;
}

}  // namespace lumatrel::host
