#include "panes/base_operation_bar.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/logs/debug_log.h"

namespace korvelane {
namespace {

struct GotoButton {
  const char* text;
  int index;
  const char* log_text;
};

constexpr GotoButton kGotoButtons[] = {
    {"Wave Graph", 1, "Goto the Wave Graph View"},
    {"Wave Data", 3, "Goto the Wave Data View"},
    {"Wave Measure", 4, "Goto the Wave Measurement View"},
    {"DSO Bitmap", 2, "Goto the DSO Bitmap View"},
};

}  // namespace

BaseOperationBar::BaseOperationBar(std::function<bool(int)> select_view,
                                   std::function<void(const std::string&)> record,
                                   DebugLog& debug_log, QWidget* parent)
    : QWidget(parent),
      select_view_(std::move(select_view)),
      record_(std::move(record)),
      debug_log_(debug_log) {
  setAccessibleName(QStringLiteral("Base Oper"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildGotoGroup());
  layout->addStretch(1);
}

QGroupBox* BaseOperationBar::BuildGotoGroup() {
  auto* group = new QGroupBox(QStringLiteral("Goto View"));
  group->setAccessibleName(group->title());
  auto* layout = new QVBoxLayout(group);
  for (const GotoButton& b : kGotoButtons) {
    auto* button = new QPushButton(QString::fromUtf8(b.text));
    button->setAccessibleName(button->text());
    connect(button, &QPushButton::clicked, this, [this, b] {
      SelectView(b.index);
      record_(b.log_text);
    });
    layout->addWidget(button);
  }
  return group;
}

void BaseOperationBar::SelectView(int index) {
  if (!select_view_) {
    debug_log_.WriteDebugLog("基本操作面板中，获取主框架窗口指针失败", kNormal);
    return;
  }
  if (!select_view_(index))
    debug_log_.WriteDebugLog("转到选定的视图界面失败", kWarning);
}

}  // namespace korvelane
