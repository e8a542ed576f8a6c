// Command bars of the in-memory IDE: the IDE's "Tools" and "Edit" menus with
// a few of its own items (so that Before positions land where they would),
// toolbars added by add-ins, popups, button faces and click events. A test or
// front end "clicks" a control with Click(); every event source obtained for
// that control through Events.CommandBarEvents gets the Click.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addin/host_api.h"
#include "platform/clipboard.h"

namespace tarno::host {

class MemCommandBarControls;
class MemCommandBarEvents;

class MemCommandBarControl : public ide::CommandBarControl,
                             public std::enable_shared_from_this<MemCommandBarControl> {
 public:
  MemCommandBarControl(int type, bool builtIn) : type_(type), builtIn_(builtIn) {}

  int Type() override;
  std::u16string Caption() override;
  void SetCaption(const std::u16string& v) override;
  std::u16string ToolTipText() override;
  void SetToolTipText(const std::u16string& v) override;
  std::u16string DescriptionText() override;
  void SetDescriptionText(const std::u16string& v) override;
  bool BeginGroup() override;
  void SetBeginGroup(bool v) override;
  void PasteFace() override;
  void Delete() override;
  std::shared_ptr<ide::CommandBarControls> Controls() override;

  // Model access.
  const std::u16string& caption() const { return caption_; }
  const std::u16string& toolTipText() const { return toolTip_; }
  const std::u16string& descriptionText() const { return description_; }
  bool beginGroup() const { return beginGroup_; }
  bool builtIn() const { return builtIn_; }
  bool deleted() const { return deleted_; }
  const std::optional<Picture>& face() const { return face_; }
  // A popup's items; nullptr for other controls.
  const std::shared_ptr<MemCommandBarControls>& items() const { return items_; }
  void set_caption(std::u16string v) { caption_ = std::move(v); }
  void set_beginGroup(bool v) { beginGroup_ = v; }

  struct ClickResult {
    bool handled = false;
    bool cancelDefault = false;
    int sinks = 0;  // handlers that ran
  };
  // What the user's click does: every connected event source raises Click.
  ClickResult Click();

  // Used by the collections and Events.
  void AttachTo(const std::weak_ptr<MemCommandBarControls>& owner) { owner_ = owner; }
  void InitItems();
  void AddSource(const std::weak_ptr<MemCommandBarEvents>& source) { sources_.push_back(source); }
  void MarkDeleted();

 private:
  void CheckLive(const char* operation) const;
  int type_;
  bool builtIn_;
  std::u16string caption_, toolTip_, description_;
  bool beginGroup_ = false;
  bool deleted_ = false;
  std::optional<Picture> face_;
  std::shared_ptr<MemCommandBarControls> items_;
  std::weak_ptr<MemCommandBarControls> owner_;
  std::vector<std::weak_ptr<MemCommandBarEvents>> sources_;
};

class MemCommandBarControls : public ide::CommandBarControls,
                              public std::enable_shared_from_this<MemCommandBarControls> {
 public:
  int Count() override;
  std::shared_ptr<ide::CommandBarControl> Item(int index) override;
  std::shared_ptr<ide::CommandBarControl> Add(int type = ide::ControlType::Button, int before = 0) override;

  const std::vector<std::shared_ptr<MemCommandBarControl>>& items() const { return items_; }
  // The IDE's own items (not an add-in's).
  std::shared_ptr<MemCommandBarControl> AddBuiltIn(const std::u16string& caption, bool beginGroup = false,
                                                   int type = ide::ControlType::Button);
  // First item with the caption (exact), searching popups too; nullptr when none.
  std::shared_ptr<MemCommandBarControl> Find(const std::u16string& caption) const;
  void Remove(const MemCommandBarControl* control);

 private:
  std::shared_ptr<MemCommandBarControl> Insert(int type, int before, bool builtIn, const char* operation);
  std::vector<std::shared_ptr<MemCommandBarControl>> items_;
};

class MemCommandBars;

class MemCommandBar : public ide::CommandBar {
 public:
  MemCommandBar(std::u16string name, int position, bool temporary, bool builtIn);
  std::u16string Name() override;
  std::shared_ptr<ide::CommandBarControls> Controls() override;
  bool Visible() override;
  void SetVisible(bool v) override;
  void Delete() override;

  const std::u16string& name() const { return name_; }
  int position() const { return position_; }
  bool temporary() const { return temporary_; }
  bool builtIn() const { return builtIn_; }
  bool visible() const { return visible_; }
  bool deleted() const { return deleted_; }
  const std::shared_ptr<MemCommandBarControls>& items() const { return items_; }
  void SetOwner(const std::weak_ptr<MemCommandBars>& owner) { owner_ = owner; }

 private:
  void CheckLive(const char* operation) const;
  std::u16string name_;
  int position_;
  bool temporary_;
  bool builtIn_;
  bool visible_;
  bool deleted_ = false;
  std::shared_ptr<MemCommandBarControls> items_;
  std::weak_ptr<MemCommandBars> owner_;
};

class MemCommandBars : public ide::CommandBars, public std::enable_shared_from_this<MemCommandBars> {
 public:
  // The IDE's bars: "Menu Bar", "Standard", and the "Tools" and "Edit" menus.
  static std::shared_ptr<MemCommandBars> CreateDefault();

  int Count() override;
  std::shared_ptr<ide::CommandBar> Item(const std::u16string& name) override;
  std::shared_ptr<ide::CommandBar> Add(const std::u16string& name, int position, bool temporary) override;

  const std::vector<std::shared_ptr<MemCommandBar>>& bars() const { return bars_; }
  // Case-insensitive; nullptr when absent.
  std::shared_ptr<MemCommandBar> Bar(const std::u16string& name) const;
  void Remove(const MemCommandBar* bar);

 private:
  std::shared_ptr<MemCommandBar> AddBar(const std::u16string& name, int position, bool temporary, bool builtIn);
  std::vector<std::shared_ptr<MemCommandBar>> bars_;
};

class MemCommandBarEvents : public ide::CommandBarEvents {
 public:
  void SetClickHandler(ide::ClickHandler handler) override;
  const ide::ClickHandler& handler() const { return handler_; }

 private:
  ide::ClickHandler handler_;
};

class MemEvents : public ide::Events {
 public:
  // A new event source for the control; it lives as long as the caller holds it.
  std::shared_ptr<ide::CommandBarEvents> CommandBarEvents(
      const std::shared_ptr<ide::CommandBarControl>& control) override;
};

}  // namespace tarno::host
