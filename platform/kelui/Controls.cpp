#include "kelui/ui/Controls.h"

namespace kelui::ui {

Message::~Message() = default;
UI_Node::~UI_Node() = default;
UI_Group::~UI_Group() = default;
UI_Column::~UI_Column() = default;
UI_Row::~UI_Row() = default;
UI_ControlView::~UI_ControlView() = default;
UI_Popup::~UI_Popup() = default;
UI_Checkbox::~UI_Checkbox() = default;
UI_Button::~UI_Button() = default;
UI_Dialog::~UI_Dialog() = default;

UI_NodePtr UI_Node::Find(const std::string& identifier) const {
  for (const UI_NodePtr& child : children_) {
    if (!child) continue;
    if (child->GetIdentifier() == identifier) return child;
    if (UI_NodePtr found = child->Find(identifier)) return found;
  }
  return nullptr;
}

void UI_ControlView::NotifyChanged() {
  // A copy: the handler may replace itself.
  const MessageHandlerP handler = handler_;
  if (handler && *handler) {
    UI_ControlChangedMessage message(this);
    (*handler)(&message);
  }
}

void UI_Popup::DeleteAllItems() {
  items_.clear();
  nextValue_ = 0;
  value_ = 0;
}

std::int64_t UI_Popup::AddItem(const kelcore::UTF16String& text) {
  items_.push_back({text, nextValue_});
  return nextValue_++;
}

void UI_Popup::SetValue(std::int64_t value) noexcept { value_ = value; }

bool UI_Popup::UserSelect(std::size_t index) {
  if (IsDisabled() || !IsVisible() || index >= items_.size()) return false;
  value_ = items_[index].value;
  NotifyChanged();
  return true;
}

bool UI_Checkbox::UserToggle() {
  if (IsDisabled() || !IsVisible()) return false;
  checked_ = !checked_;
  NotifyChanged();
  return true;
}

bool UI_Button::UserPress() {
  if (IsDisabled() || !IsVisible()) return false;
  NotifyChanged();
  return true;
}

}  // namespace kelui::ui
