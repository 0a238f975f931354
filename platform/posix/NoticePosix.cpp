// Natively there is no window: the notice goes to stderr, as its GBK bytes.
#include <cstdio>

#include "platform/Notice.h"

namespace lumatrel {

void ShowSystemMessageBox(std::string_view text, std::string_view title, unsigned /*style*/) {
  std::fprintf(stderr, "%.*s %.*s\n", static_cast<int>(title.size()), title.data(), static_cast<int>(text.size()),
               text.data());
}

}  // namespace lumatrel
