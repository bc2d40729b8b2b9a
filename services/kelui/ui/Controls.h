#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <boost/function.hpp>
#include <boost/intrusive_ptr.hpp>

#include "kelcore/Counted.h"
#include "kelcore/String.h"
#include "kelui/Export.h"

namespace kelui::ui {

// What controls send to their change handlers.
class KELUI_API Message {
 public:
  virtual ~Message();
};

class UI_ControlView;

class KELUI_API UI_ControlChangedMessage : public Message {
 public:
  explicit UI_ControlChangedMessage(UI_ControlView* control) : control_(control) {}
  UI_ControlView* GetControl() const noexcept { return control_; }

 private:
  UI_ControlView* control_;
};

using MessageHandler = boost::function<void(Message*)>;
using MessageHandlerP = std::shared_ptr<MessageHandler>;

class UI_Node;
using UI_NodePtr = boost::intrusive_ptr<UI_Node>;

// A node of a dialog's tree of controls.
class KELUI_API UI_Node : public kelcore::CountedObject {
 public:
  explicit UI_Node(std::string identifier = {}) : identifier_(std::move(identifier)) {}
  ~UI_Node() override;

  const std::string& GetIdentifier() const noexcept { return identifier_; }
  const std::vector<UI_NodePtr>& GetChildren() const noexcept { return children_; }
  void AppendChild(const UI_NodePtr& child) { children_.push_back(child); }
  // The first node with `identifier` in this subtree, depth first; null when there is none.
  UI_NodePtr Find(const std::string& identifier) const;

  void UI_Show(bool show) noexcept { visible_ = show; }
  void UI_Hide(bool hide) noexcept { visible_ = !hide; }
  bool IsVisible() const noexcept { return visible_; }

 private:
  std::string identifier_;
  std::vector<UI_NodePtr> children_;
  bool visible_ = true;
};

// Lays its children out in a line. childHorizontal and childVertical place each child in its
// slot (align_left, align_center, align_right or align_fill; align_top, align_center,
// align_bottom or align_fill); horizontal and vertical place the group itself in its parent's
// slot, empty when the parent's child alignment does.
class KELUI_API UI_Group : public UI_Node {
 public:
  using UI_Node::UI_Node;
  ~UI_Group() override;
  std::string childHorizontal = "align_left";
  std::string childVertical = "align_top";
  std::string horizontal;
  std::string vertical;
};

// Lays its children out top to bottom.
class KELUI_API UI_Column : public UI_Group {
 public:
  using UI_Group::UI_Group;
  ~UI_Column() override;
};

// Lays its children out left to right.
class KELUI_API UI_Row : public UI_Group {
 public:
  using UI_Group::UI_Group;
  ~UI_Row() override;
};

// A control the user acts on; it reports each change to its handler.
class KELUI_API UI_ControlView : public UI_Node {
 public:
  using UI_Node::UI_Node;
  ~UI_ControlView() override;

  void NotifyWhenChanged(const MessageHandlerP& handler) { handler_ = handler; }
  void SetDisabled(bool disabled) noexcept { disabled_ = disabled; }
  bool IsDisabled() const noexcept { return disabled_; }
  const kelcore::UTF16String& GetLabel() const noexcept { return label_; }
  void SetLabel(const kelcore::UTF16String& label) { label_ = label; }

 protected:
  // Sends a change message to the handler, if there is one.
  void NotifyChanged();

 private:
  MessageHandlerP handler_;
  kelcore::UTF16String label_;
  bool disabled_ = false;
};

// A pop-up menu of items. Item values are 0, 1, 2 ... in the order added, counted again from 0
// after every DeleteAllItems, so that value 0 is always the first item; a value that no item has
// selects nothing. The value is kept while items come and go: 0 set on an empty popup selects the
// first item added.
class KELUI_API UI_Popup : public UI_ControlView {
 public:
  using UI_ControlView::UI_ControlView;
  ~UI_Popup() override;

  void DeleteAllItems();
  std::int64_t AddItem(const kelcore::UTF16String& text);
  // Selects the item of `value` (a value no item has selects nothing); no change message.
  void SetValue(std::int64_t value) noexcept;
  std::int64_t GetValue() const noexcept { return value_; }
  void SetItemCheckStyle(bool checkStyle) noexcept { checkStyle_ = checkStyle; }
  bool GetItemCheckStyle() const noexcept { return checkStyle_; }
  std::size_t GetItemCount() const noexcept { return items_.size(); }
  const kelcore::UTF16String& GetItemText(std::size_t index) const { return items_.at(index).text; }
  std::int64_t GetItemValue(std::size_t index) const { return items_.at(index).value; }
  // The user picks the item at `index`: selects it and reports the change. Ignored while the
  // popup is disabled or hidden, or for an index past the end.
  bool UserSelect(std::size_t index);

  std::int32_t minWidth = 0;
  std::int32_t topSpace = 0;

 private:
  struct Item {
    kelcore::UTF16String text;
    std::int64_t value;
  };
  std::vector<Item> items_;
  std::int64_t nextValue_ = 0;
  std::int64_t value_ = 0;
  bool checkStyle_ = false;
};

class KELUI_API UI_Checkbox : public UI_ControlView {
 public:
  using UI_ControlView::UI_ControlView;
  ~UI_Checkbox() override;
  bool IsChecked() const noexcept { return checked_; }
  void SetChecked(bool checked) noexcept { checked_ = checked; }
  // The user toggles the box; ignored while disabled or hidden.
  bool UserToggle();

 private:
  bool checked_ = false;
};

class KELUI_API UI_Button : public UI_ControlView {
 public:
  using UI_ControlView::UI_ControlView;
  ~UI_Button() override;
  // The user presses the button; ignored while disabled or hidden.
  bool UserPress();
};

// The top of a dialog's tree: its title and whether it has been closed.
class KELUI_API UI_Dialog : public UI_Node {
 public:
  using UI_Node::UI_Node;
  ~UI_Dialog() override;
  const kelcore::UTF16String& GetTitle() const noexcept { return title_; }
  void SetTitle(const kelcore::UTF16String& title) { title_ = title; }
  void Close() noexcept { closed_ = true; }
  bool IsClosed() const noexcept { return closed_; }

 private:
  kelcore::UTF16String title_;
  bool closed_ = false;
};
using UI_DialogPtr = boost::intrusive_ptr<UI_Dialog>;

}  // namespace kelui::ui
