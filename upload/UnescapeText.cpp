#include "upload/UnescapeText.h"

namespace lumatrel {

Text UnescapeText(std::string_view) { return {}; }

}  // namespace lumatrel
