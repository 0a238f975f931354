#include <windows.h>

#include <string>

#include "platform/Notice.h"
#include "text/Gb18030.h"

namespace lumatrel {

// The box shows the text as its characters, whatever the system's code page.
void ShowSystemMessageBox(std::string_view text, std::string_view title, unsigned style) {
  MessageBoxW(nullptr, WideFromText(text).c_str(), WideFromText(title).c_str(), style);
}

}  // namespace lumatrel
