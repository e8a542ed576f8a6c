// The tree view: nodes with keys, texts and image keys, kept in two orders:
// the Nodes collection in order of addition (Index 1, 2, ...; removal
// renumbers) and the displayed tree (parent, children in sibling order).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace tarno::ui {

class TreeView;
class ImageList;

class Node {
 public:
  const std::u16string& Key() const { return key_; }
  const std::u16string& Text() const { return text_; }
  void SetText(std::u16string v) { text_ = std::move(v); }
  // Image keys into the tree's ImageList (VbError 35601 for an unknown key
  // when the tree has an image list).
  const std::u16string& Image() const { return image_; }
  void SetImage(std::u16string key);
  const std::u16string& SelectedImage() const { return selected_image_; }
  void SetSelectedImage(std::u16string key);
  const std::u16string& ExpandedImage() const { return expanded_image_; }
  void SetExpandedImage(std::u16string key);
  const std::u16string& Tag() const { return tag_; }
  void SetTag(std::u16string v) { tag_ = std::move(v); }

  // 1-based position in the Nodes collection.
  int Index() const { return index_; }
  Node* Parent() const { return parent_; }
  // First child, nullptr when none.
  Node* Child() const { return children_.empty() ? nullptr : children_.front(); }
  int Children() const { return static_cast<int>(children_.size()); }
  const std::vector<Node*>& ChildNodes() const { return children_; }
  Node* Next() const;
  Node* Previous() const;
  Node* FirstSibling() const;
  Node* LastSibling() const;
  Node* Root() const;
  // Texts from the root joined with the tree's PathSeparator.
  std::u16string FullPath() const;

  bool Expanded() const { return expanded_; }
  void SetExpanded(bool v);
  bool Selected() const;
  void SetSelected(bool v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v) { checked_ = v; }
  bool Bold() const { return bold_; }
  void SetBold(bool v) { bold_ = v; }
  // Expands every ancestor and scrolls to the node; true as VB returns it.
  bool EnsureVisible();
  TreeView& Tree() const { return *tree_; }

 private:
  friend class NodeList;
  friend class TreeView;
  void CheckImage(const std::u16string& key) const;
  TreeView* tree_ = nullptr;
  Node* parent_ = nullptr;
  std::vector<Node*> children_;
  std::u16string key_, text_, image_, selected_image_, expanded_image_, tag_;
  int index_ = 0;
  bool expanded_ = false, checked_ = false, bold_ = false;
};

class NodeList {
 public:
  explicit NodeList(TreeView& owner) : owner_(&owner) {}
  // Adds a root node last.
  Node& Add(const std::u16string& key, const std::u16string& text, const std::u16string& image = u"",
            const std::u16string& selectedImage = u"");
  // Adds relative to a node (tvwFirst, tvwLast, tvwNext, tvwPrevious, tvwChild);
  // a null relative adds a root node (first or last). VbError 35602 for a
  // duplicate non-empty key.
  Node& Add(Node* relative, int relationship, const std::u16string& key, const std::u16string& text,
            const std::u16string& image = u"", const std::u16string& selectedImage = u"");
  // The relative by key (VbError 35601 when unknown).
  Node& Add(const std::u16string& relativeKey, int relationship, const std::u16string& key,
            const std::u16string& text, const std::u16string& image = u"",
            const std::u16string& selectedImage = u"");
  int Count() const { return static_cast<int>(nodes_.size()); }
  // 1-based; VbError 35600 out of range.
  Node& Item(int index) const;
  // VbError 35601 for an unknown key.
  Node& Item(const std::u16string& key) const;
  Node* Find(const std::u16string& key) const;
  // Removes the node and all its descendants; the rest are renumbered.
  void Remove(int index);
  void Remove(const std::u16string& key);
  void Remove(Node& node);
  void Clear();

  struct iterator {
    std::vector<std::unique_ptr<Node>>::const_iterator it;
    Node& operator*() const { return **it; }
    Node* operator->() const { return it->get(); }
    iterator& operator++() { ++it; return *this; }
    bool operator!=(const iterator& o) const { return it != o.it; }
  };
  iterator begin() const { return {nodes_.begin()}; }
  iterator end() const { return {nodes_.end()}; }

 private:
  friend class TreeView;
  TreeView* owner_;
  std::vector<std::unique_ptr<Node>> nodes_;
};

class TreeView : public Control {
 public:
  TreeView(Form& form, std::u16string name, int16_t index = -1);
  const char* Kind() const override { return "TreeView"; }
  bool CanFocus() const override { return true; }

  NodeList Nodes;

  // nullptr when nothing is selected. Removing the selected node selects its
  // next sibling, else its previous sibling, else its parent.
  Node* SelectedItem() const { return selected_; }
  void SetSelectedItem(Node* node);
  // Root nodes in display order.
  const std::vector<Node*>& Roots() const { return roots_; }
  ImageList* GetImageList() const { return image_list_; }
  void SetImageList(ImageList* list) { image_list_ = list; }
  const std::u16string& PathSeparator() const { return path_separator_; }
  void SetPathSeparator(std::u16string v) { path_separator_ = std::move(v); }
  int LabelEdit() const { return label_edit_; }
  void SetLabelEdit(int v) { label_edit_ = v; }
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool v) { hide_selection_ = v; }
  int Style() const { return style_; }
  void SetStyle(int v) { style_ = v; }
  int LineStyle() const { return line_style_; }
  void SetLineStyle(int v) { line_style_ = v; }
  // The node last scrolled into view by EnsureVisible.
  Node* EnsuredVisible() const { return ensured_visible_; }

  std::function<void(Node& Node)> OnNodeClick;
  std::function<void(Node& Node)> OnExpand;
  std::function<void(Node& Node)> OnCollapse;

 protected:
  void DescribeProperties(ControlDescription& d) const override;

 private:
  friend class Node;
  friend class NodeList;
  std::vector<Node*>& SiblingsOf(Node* parent) { return parent ? parent->children_ : roots_; }
  std::vector<Node*> roots_;
  Node* selected_ = nullptr;
  Node* ensured_visible_ = nullptr;
  ImageList* image_list_ = nullptr;
  std::u16string path_separator_ = u"\\";
  int label_edit_ = 0, style_ = 7, line_style_ = 0;
  bool hide_selection_ = true;
};

}  // namespace tarno::ui
