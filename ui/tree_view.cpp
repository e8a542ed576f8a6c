#include "ui/tree_view.h"

#include <algorithm>

#include "platform/vb_text.h"
#include "ui/controls.h"

namespace tarno::ui {

namespace {
[[noreturn]] void NotFound() { throw VbError(err::ElementNotFound, "Element not found"); }

size_t PositionIn(const std::vector<Node*>& v, const Node* n) {
  return static_cast<size_t>(std::find(v.begin(), v.end(), n) - v.begin());
}
}  // namespace

// ---- Node --------------------------------------------------------------------

void Node::CheckImage(const std::u16string& key) const {
  if (key.empty()) return;
  if (ImageList* list = tree_->GetImageList(); list && !list->Contains(key)) NotFound();
}

void Node::SetImage(std::u16string key) {
  CheckImage(key);
  image_ = std::move(key);
}

void Node::SetSelectedImage(std::u16string key) {
  CheckImage(key);
  selected_image_ = std::move(key);
}

void Node::SetExpandedImage(std::u16string key) {
  CheckImage(key);
  expanded_image_ = std::move(key);
}

Node* Node::Next() const {
  const auto& s = tree_->SiblingsOf(parent_);
  size_t i = PositionIn(s, this);
  return i + 1 < s.size() ? s[i + 1] : nullptr;
}

Node* Node::Previous() const {
  const auto& s = tree_->SiblingsOf(parent_);
  size_t i = PositionIn(s, this);
  return i > 0 && i < s.size() ? s[i - 1] : nullptr;
}

Node* Node::FirstSibling() const { return tree_->SiblingsOf(parent_).front(); }
Node* Node::LastSibling() const { return tree_->SiblingsOf(parent_).back(); }

Node* Node::Root() const {
  const Node* n = this;
  while (n->parent_) n = n->parent_;
  return n->FirstSibling();
}

std::u16string Node::FullPath() const {
  std::u16string path = text_;
  for (const Node* p = parent_; p; p = p->parent_) path = p->text_ + tree_->PathSeparator() + path;
  return path;
}

void Node::SetExpanded(bool v) { expanded_ = v; }

bool Node::Selected() const { return tree_->SelectedItem() == this; }

void Node::SetSelected(bool v) {
  if (v) tree_->SetSelectedItem(this);
  else if (Selected()) tree_->SetSelectedItem(nullptr);
}

bool Node::EnsureVisible() {
  for (Node* p = parent_; p; p = p->parent_) p->expanded_ = true;
  tree_->ensured_visible_ = this;
  return true;
}

// ---- NodeList ----------------------------------------------------------------

Node& NodeList::Add(const std::u16string& key, const std::u16string& text, const std::u16string& image,
                    const std::u16string& selectedImage) {
  return Add(static_cast<Node*>(nullptr), tvwLast, key, text, image, selectedImage);
}

Node& NodeList::Add(const std::u16string& relativeKey, int relationship, const std::u16string& key,
                    const std::u16string& text, const std::u16string& image, const std::u16string& selectedImage) {
  return Add(&Item(relativeKey), relationship, key, text, image, selectedImage);
}

Node& NodeList::Add(Node* relative, int relationship, const std::u16string& key, const std::u16string& text,
                    const std::u16string& image, const std::u16string& selectedImage) {
  if (relationship < tvwFirst || relationship > tvwChild)
    throw VbError(err::InvalidPropertyValue, "Invalid relationship");
  if (relative && &relative->Tree() != owner_) throw VbError(err::ElementNotFound, "Element not found");
  if (!key.empty() && Find(key)) throw VbError(err::KeyNotUnique, "Key is not unique in collection");
  auto node = std::make_unique<Node>();
  node->tree_ = owner_;
  node->key_ = key;
  node->text_ = text;
  node->CheckImage(image);
  node->CheckImage(selectedImage);
  node->image_ = image;
  node->selected_image_ = selectedImage;
  Node* n = node.get();

  Node* parent = nullptr;
  size_t at = 0;
  if (!relative) {
    at = relationship == tvwFirst ? 0 : owner_->roots_.size();
  } else if (relationship == tvwChild) {
    parent = relative;
    at = relative->children_.size();
  } else {
    parent = relative->parent_;
    auto& siblings = owner_->SiblingsOf(parent);
    size_t pos = PositionIn(siblings, relative);
    switch (relationship) {
      case tvwFirst: at = 0; break;
      case tvwLast: at = siblings.size(); break;
      case tvwNext: at = pos + 1; break;
      default: at = pos; break;  // tvwPrevious
    }
  }
  auto& siblings = owner_->SiblingsOf(parent);
  n->parent_ = parent;
  siblings.insert(siblings.begin() + static_cast<long>(at), n);
  nodes_.push_back(std::move(node));
  n->index_ = Count();
  return *n;
}

Node& NodeList::Item(int index) const {
  if (index < 1 || index > Count()) throw VbError(err::IndexOutOfBounds, "Index out of bounds");
  return *nodes_[index - 1];
}

Node* NodeList::Find(const std::u16string& key) const {
  if (key.empty()) return nullptr;
  for (auto& n : nodes_)
    if (n->key_ == key) return n.get();
  return nullptr;
}

Node& NodeList::Item(const std::u16string& key) const {
  if (Node* n = Find(key)) return *n;
  NotFound();
}

void NodeList::Remove(int index) { Remove(Item(index)); }
void NodeList::Remove(const std::u16string& key) { Remove(Item(key)); }

void NodeList::Remove(Node& node) {
  TreeView& tree = *owner_;
  // The selection moves off a removed branch as the common control moves it.
  auto inBranch = [&node](const Node* n) {
    for (; n; n = n->parent_)
      if (n == &node) return true;
    return false;
  };
  if (inBranch(tree.selected_)) tree.selected_ = node.Next() ? node.Next() : node.Previous() ? node.Previous() : node.parent_;
  if (inBranch(tree.ensured_visible_)) tree.ensured_visible_ = nullptr;

  auto& siblings = tree.SiblingsOf(node.parent_);
  siblings.erase(siblings.begin() + static_cast<long>(PositionIn(siblings, &node)));
  nodes_.erase(std::remove_if(nodes_.begin(), nodes_.end(),
                              [&](const std::unique_ptr<Node>& n) { return inBranch(n.get()); }),
               nodes_.end());
  for (int i = 0; i < Count(); ++i) nodes_[i]->index_ = i + 1;
}

void NodeList::Clear() {
  owner_->roots_.clear();
  owner_->selected_ = nullptr;
  owner_->ensured_visible_ = nullptr;
  nodes_.clear();
}

// ---- TreeView ------------------------------------------------------------------

TreeView::TreeView(Form& form, std::u16string name, int16_t index)
    : Control(form, std::move(name), index), Nodes(*this) {}

void TreeView::SetSelectedItem(Node* node) {
  if (node && &node->Tree() != this) throw VbError(err::ElementNotFound, "Element not found");
  selected_ = node;
}

void TreeView::DescribeProperties(ControlDescription& d) const {
  d.properties.push_back({"NodeCount", vb::FromInt(Nodes.Count())});
  d.properties.push_back({"SelectedKey", selected_ ? selected_->Key() : u""});
  if (image_list_) d.properties.push_back({"ImageList", image_list_->DisplayName()});
}

}  // namespace tarno::ui
