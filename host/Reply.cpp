#include "host/Reply.h"

#include "host/PicturePath.h"

namespace lumatrel::host {
namespace {

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

std::u16string SizeText(std::size_t bytes) {
  constexpr std::size_t kMiB = 1024 * 1024;
  if (bytes >= kMiB && bytes % kMiB == 0) return Ascii(std::to_string(bytes / kMiB)) + u" MiB";
  return Ascii(std::to_string(bytes)) + u" 字节";
}

}  // namespace

std::string JsonString(std::u16string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char16_t c : text) {
    if (c == u'"' || c == u'\\' || c == u'/') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xf];
    }
  }
  out += '"';
  return out;
}

std::string SuccessReply(std::string_view publicUrl, std::string_view id) {
  const std::string path = PicturePathOf(id);
  return "{\"code\":0,\"url\":" + JsonString(Ascii(std::string(publicUrl) + path)) + ",\"msg\":\"\",\"path\":" +
         JsonString(Ascii(path)) + "}";
}

std::u16string RefusalMessage(Refusal refusal, const Limits& limits) {
  switch (refusal) {
    case Refusal::UnknownAccount: return u"账号未被本图床接受";
    case Refusal::BodyTooLarge: return u"文件太大，上限为 " + SizeText(limits.maxBytes);
    case Refusal::MalformedForm: return u"上传请求的格式不正确";
    case Refusal::MissingPicture: return u"上传请求中没有图片";
    case Refusal::NotAPicture: return u"不是支持的图片（PNG、BMP、JPEG、GIF、TIFF、WebP）";
    case Refusal::TooManyPixels:
      return u"图片尺寸太大，上限为 " + Ascii(std::to_string(limits.maxPixels)) + u" 像素";
    case Refusal::DamagedPicture: return u"图片已损坏或不完整";
    case Refusal::StorageFailed: return u"图床保存图片失败，请稍后再试";
  }
  return u"上传被拒绝";
}

std::string RefusalReply(Refusal refusal, const Limits& limits) {
  return "{\"code\":" + std::to_string(RefusalCode(refusal)) + ",\"msg\":" +
         JsonString(RefusalMessage(refusal, limits)) + "}";
}

int RefusalCode(Refusal refusal) { return static_cast<int>(refusal) + 1; }

int RefusalStatus(Refusal refusal) {
  switch (refusal) {
    case Refusal::UnknownAccount: return 403;
    case Refusal::BodyTooLarge: return 413;
    case Refusal::MalformedForm: return 400;
    case Refusal::MissingPicture: return 400;
    case Refusal::NotAPicture: return 415;
    case Refusal::TooManyPixels: return 413;
    case Refusal::DamagedPicture: return 422;
    case Refusal::StorageFailed: return 500;
  }
  return 400;
}

std::string_view RefusalName(Refusal refusal) {
  switch (refusal) {
    case Refusal::UnknownAccount: return "unknown-account";
    case Refusal::BodyTooLarge: return "body-too-large";
    case Refusal::MalformedForm: return "malformed-form";
    case Refusal::MissingPicture: return "missing-picture";
    case Refusal::NotAPicture: return "not-a-picture";
    case Refusal::TooManyPixels: return "too-many-pixels";
    case Refusal::DamagedPicture: return "damaged-picture";
    case Refusal::StorageFailed: return "storage-failed";
  }
  return "refused";
}

}  // namespace lumatrel::host
