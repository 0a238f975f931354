#include "app/ListCommands.h"

namespace lumatrel {

Text JoinLines(const std::vector<Text>& items) {
  Text joined;
  for (const Text& item : items) {
    if (!joined.empty()) joined += "\r\n";
    joined += item;
  }
  return joined;
}

std::vector<int> ListCommands::SelectedRows() const {
  std::vector<int> rows;
  const int count = view_.RowCount();
  for (int row = 0; row < count; ++row) {
    if (view_.IsRowSelected(row)) rows.push_back(row);
  }
  return rows;
}

void ListCommands::OnListRightClick() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return;
  const int first = rows.front();
  view_.SetMenuCaption(MenuItem::复制大图外链, Text(kCaptionCopyLarge) + "(" + view_.Cell(first, kColumnLarge) + ")");
  view_.SetMenuCaption(MenuItem::复制小图外链, Text(kCaptionCopySmall) + "(" + view_.Cell(first, kColumnSmall) + ")");
  view_.PopUpMenu();
}

void ListCommands::CopyColumn(int column) {
  std::vector<Text> items;
  for (int row : SelectedRows()) items.push_back(view_.Cell(row, column));
  clipboard_.PutText(JoinLines(items));
}

void ListCommands::CopyLargeLinks() { CopyColumn(kColumnLarge); }

void ListCommands::CopySmallLinks() { CopyColumn(kColumnSmall); }

Text ListCommands::RowLine(int row) const {
  return view_.Cell(row, kColumnName) + "," + view_.Cell(row, kColumnSize) + "," + view_.Cell(row, kColumnLarge) +
         "," + view_.Cell(row, kColumnSmall);
}

void ListCommands::CopyRows() {
  std::vector<Text> items;
  for (int row : SelectedRows()) items.push_back(RowLine(row));
  clipboard_.PutText(JoinLines(items));
}

void ListCommands::CopyAll() {
  std::vector<Text> items;
  const int count = view_.RowCount();
  for (int row = 0; row < count; ++row) items.push_back(RowLine(row));
  clipboard_.PutText(JoinLines(items));
}

void ListCommands::OnListDoubleClick() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return;
  ShellOpen(view_.UploadTag() + view_.Cell(rows.front(), kColumnName));
}

void ListCommands::ShellOpen(const Text& target) { shell_.Open(target); }

}  // namespace lumatrel
