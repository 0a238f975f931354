// Identifiers of the main window's controls, menu items and timers.
#pragma once

namespace lumatrel::win {

enum class ControlId : int {
  图片框1 = 100,
  标签10,
  图片Brenquil软件,
  图片呼叫QQ,
  文字呼叫QQ,
  图片软件主页,
  文字软件主页,
  标签1,
  进度条,
  透明标签,
  按钮上传图片,
  列表框,
  复制大图外链 = 200,
  复制小图外链,
  复制整行,
  复制全部,
};

enum class TimerId : int { 时钟官网 = 1, 时钟进度 = 2 };

constexpr int Id(ControlId id) { return static_cast<int>(id); }
constexpr int Id(TimerId id) { return static_cast<int>(id); }

}  // namespace lumatrel::win
