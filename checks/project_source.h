// The source of a whole project as the checks search it: every component's
// module read once, and an index from words to the lines that hold them as
// whole words, so that a name is looked up instead of searched line by line.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "checks/source_reader.h"

namespace tarno::checks {

// The word of a name that every whole-word match of the name must hold as a
// whole word of its own: the longest run of word characters in the name.
// Empty when the name has no word character.
View AnchorWord(View name);

class ProjectSource {
 public:
  // Components are read lazily; `project` must outlive this object.
  explicit ProjectSource(ide::VBProject& project);

  ide::VBProject& Project() { return project_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  ide::VBComponent& Component(int index);  // 1-based
  // The component's Type, read once.
  int ComponentType(int index);
  // The component's module, or nullptr when it has no code module.
  const ModuleSource* Module(int index);

  // Reads every module, member list and control list now, so that later
  // reads (from several threads) change nothing.
  void Preload();
  // The same for one component; different components may be preloaded on
  // different threads at once.
  void PreloadComponent(int index);

  // Indexes these anchor words for Prepare(); words already indexed are
  // not read again. One pass over every module's lines.
  // With jobs > 1 the modules are read on that many threads (Preload first).
  void IndexWords(const std::vector<std::u16string>& words, int jobs = 1);
  void IndexWords(const std::vector<View>& words, int jobs = 1);
  // Where an indexed word stands as a whole word: (component, line) pairs in
  // component then line order, each line once.
  using Postings = std::vector<std::pair<int, int>>;

  // The module's members, read once (nullptr module: empty).
  const std::vector<ide::Member>& Members(int index);
  // The "Name" property of every control of the component's designer, in
  // upper-case ASCII (controls of an array share one name); empty without a
  // designer.
  const std::vector<std::u16string>& ControlNamesUpper(int index);

  // How a name is searched: never found (empty, or holding a line break),
  // through the lines of its anchor word, or statement by statement when it
  // has no word character.
  struct PreparedName {
    View name;
    enum { Never, Indexed, Literal } how = Never;
    const Postings* postings = nullptr;  // for Indexed
  };
  // Indexes the name's anchor word first when needed (IndexWords in bulk is faster).
  PreparedName Prepare(View name);

  // The first statement in lines first..last (statements read from `first`,
  // each beginning at or before `last`) that uses the name; 0 when none.
  int FindUseInModule(int index, View name, int first, int last, int boundary);
  int FindUseInModule(int index, const PreparedName& name, int first, int last, int boundary);
  // The next component after `after` (0 to start) where the name may occur:
  // for an indexed name only components whose lines hold its anchor word.
  // 0 when there is none.
  int NextCandidateComponent(const PreparedName& name, int after) const;
  // The postings of one component: [begin, end) of name.postings.
  static std::pair<Postings::const_iterator, Postings::const_iterator> PostingsOf(const PreparedName& name,
                                                                                 int index);

 private:
  int FindUseLiteral(const ModuleSource& module, View name, int first, int last, int boundary);

  ide::VBProject& project_;
  std::vector<std::shared_ptr<ide::VBComponent>> components_;
  std::vector<std::unique_ptr<ModuleSource>> modules_;
  std::vector<char> loaded_;  // not vector<bool>: components may be loaded on several threads
  std::vector<int> types_;  // -1 until read
  std::unordered_map<std::u16string, Postings> index_;
  std::unordered_map<View, Postings*> byView_;  // the same, looked up without a copy
  std::vector<std::unique_ptr<std::vector<ide::Member>>> members_;
  std::vector<std::unique_ptr<std::vector<std::u16string>>> controls_;
};

}  // namespace tarno::checks
