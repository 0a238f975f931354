#include "settings/ShowNotice.h"

#include "platform/Notice.h"

namespace lumatrel {

void ShowNotice(std::string_view text, unsigned style, std::string_view title) {
  constexpr unsigned kAnyIcon = kBoxIconInformation | kBoxIconExclamation | kBoxIconHand | kBoxIconQuestion;
  if ((style & kAnyIcon) == 0) style |= kBoxIconInformation;
  style |= kBoxSystemModal;
  ShowMessageBox(text, title.empty() ? std::string_view("Brenquil：") : title, style);
}

void ShowFailureNotice(std::string_view document) {
  ShowNotice("配置模块出现意外，可能导致无法正常保存！详情请咨询Brenquil。", kBoxIconExclamation, {});
  ShowMessageBox(TextFromRaw(document), "信息：", kBoxOk | kBoxTaskModal);
}

}  // namespace lumatrel
