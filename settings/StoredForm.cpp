#include "settings/StoredForm.h"

namespace lumatrel {

Text StoredFormOf(std::string_view value) { return Replace(value, "\r\n", kStoredLineBreak); }

Text ValueFromStoredForm(std::string_view stored) { return Replace(stored, kStoredLineBreak, "\r\n"); }

}  // namespace lumatrel
