#include "settings/StoredForm.h"

namespace lumatrel {

// The scan steps over double-byte characters, but a CR never counts as the second byte of one
// (GBK's second bytes are 0x40 and above): a stray lead byte just before CR LF must not let the
// line break through, or the value would end its line early and its rest would become a line
// of its own in the settings document.
Text StoredFormOf(std::string_view value) {
  Text out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size();) {
    if (value.compare(i, 2, "\r\n") == 0) {
      out += kStoredLineBreak;
      i += 2;
      continue;
    }
    const bool pair = IsLeadByte(static_cast<unsigned char>(value[i])) && i + 1 < value.size() && value[i + 1] != '\r';
    const std::size_t width = pair ? 2 : 1;
    out.append(value.substr(i, width));
    i += width;
  }
  return out;
}

Text ValueFromStoredForm(std::string_view stored) { return Replace(stored, kStoredLineBreak, "\r\n"); }

}  // namespace lumatrel
