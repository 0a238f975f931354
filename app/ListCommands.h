// The commands of the result list: the popup menu's four copy commands and the double click.
#pragma once

#include <vector>

#include "app/MainView.h"
#include "app/Seams.h"

namespace lumatrel {

inline constexpr std::string_view kCaptionCopyLarge = "复制大图外链";
inline constexpr std::string_view kCaptionCopySmall = "复制小图外链";

// Items joined by CR LF, with no line break before the first or after the last.
Text JoinLines(const std::vector<Text>& items);

class ListCommands {
 public:
  ListCommands(MainView& view, Clipboard& clipboard, Shell& shell)
      : view_(view), clipboard_(clipboard), shell_(shell) {}

  // 0-based indexes of the selected rows, ascending.
  std::vector<int> SelectedRows() const;
  void OnListRightClick();
  void CopyLargeLinks();
  void CopySmallLinks();
  void CopyRows();
  void CopyAll();
  void OnListDoubleClick();
  void ShellOpen(const Text& target);

 private:
  Text RowLine(int row) const;
  void CopyColumn(int column);

  MainView& view_;
  Clipboard& clipboard_;
  Shell& shell_;
};

}  // namespace lumatrel
