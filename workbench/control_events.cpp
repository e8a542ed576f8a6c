#include "workbench/control_events.h"

#include <algorithm>
#include <map>

namespace tarno::workbench {
namespace {

// Parameter lists shared by many classes.
constexpr const char16_t* kMouse = u"Button As Integer, Shift As Integer, X As Single, Y As Single";
constexpr const char16_t* kKey = u"KeyCode As Integer, Shift As Integer";
constexpr const char16_t* kDragDrop = u"Source As Control, X As Single, Y As Single";
constexpr const char16_t* kDragOver = u"Source As Control, X As Single, Y As Single, State As Integer";

std::vector<EventDef> Make(std::initializer_list<EventDef> events) {
  std::vector<EventDef> v(events);
  std::sort(v.begin(), v.end(), [](const EventDef& a, const EventDef& b) { return a.name < b.name; });
  return v;
}

// Events most controls share: the mouse, drag and drop.
std::vector<EventDef> Pointer() {
  return {{u"Click", u""},          {u"DblClick", u""},      {u"DragDrop", kDragDrop}, {u"DragOver", kDragOver},
          {u"MouseDown", kMouse},   {u"MouseMove", kMouse}, {u"MouseUp", kMouse}};
}
// Focus and keys.
std::vector<EventDef> Focus() {
  return {{u"GotFocus", u""},  {u"LostFocus", u""}, {u"KeyDown", kKey}, {u"KeyPress", u"KeyAscii As Integer"},
          {u"KeyUp", kKey},    {u"Validate", u"Cancel As Boolean"}};
}
std::vector<EventDef> Link() {
  return {{u"LinkClose", u""}, {u"LinkError", u"LinkErr As Integer"}, {u"LinkNotify", u""}, {u"LinkOpen", u"Cancel As Integer"}};
}

std::vector<EventDef> Join(std::vector<std::vector<EventDef>> parts, std::vector<std::u16string> without = {}) {
  std::vector<EventDef> v;
  for (auto& p : parts)
    for (auto& e : p)
      if (std::find(without.begin(), without.end(), e.name) == without.end() &&
          std::none_of(v.begin(), v.end(), [&](const EventDef& x) { return x.name == e.name; }))
        v.push_back(e);
  std::sort(v.begin(), v.end(), [](const EventDef& a, const EventDef& b) { return a.name < b.name; });
  return v;
}

const std::map<std::u16string, std::vector<EventDef>, std::less<>>& Table() {
  static const std::map<std::u16string, std::vector<EventDef>, std::less<>> table = [] {
    std::map<std::u16string, std::vector<EventDef>, std::less<>> t;
    std::vector<EventDef> formOwn = {{u"Activate", u""},
                                     {u"Deactivate", u""},
                                     {u"Initialize", u""},
                                     {u"Load", u""},
                                     {u"Paint", u""},
                                     {u"QueryUnload", u"Cancel As Integer, UnloadMode As Integer"},
                                     {u"Resize", u""},
                                     {u"Terminate", u""},
                                     {u"Unload", u"Cancel As Integer"},
                                     {u"LinkClose", u""},
                                     {u"LinkError", u"LinkErr As Integer"},
                                     {u"LinkExecute", u"CmdStr As String, Cancel As Integer"},
                                     {u"LinkOpen", u"Cancel As Integer"}};
    t[u"Form"] = Join({formOwn, Pointer(), Focus()}, {u"Validate"});
    t[u"MDIForm"] = Join({formOwn, Pointer(), {{u"LinkClose", u""}}}, {u"Paint", u"MouseMove", u"DragDrop", u"DragOver"});
    std::vector<EventDef> designerOwn = {{u"Initialize", u""},
                                        {u"InitProperties", u""},
                                        {u"ReadProperties", u"PropBag As PropertyBag"},
                                        {u"WriteProperties", u"PropBag As PropertyBag"},
                                        {u"Resize", u""},
                                        {u"Paint", u""},
                                        {u"Show", u""},
                                        {u"Hide", u""},
                                        {u"Terminate", u""},
                                        {u"AccessKeyPress", u"KeyAscii As Integer"},
                                        {u"AmbientChanged", u"PropertyName As String"},
                                        {u"EnterFocus", u""},
                                        {u"ExitFocus", u""}};
    t[u"UserControl"] = Join({designerOwn, Pointer(), Focus()}, {u"Validate"});
    t[u"UserDocument"] = Join({designerOwn, Pointer(), Focus()}, {u"Validate", u"AccessKeyPress", u"AmbientChanged"});
    t[u"PropertyPage"] = Join({{{u"ApplyChanges", u""}, {u"EditProperty", u"PropertyName As String"},
                                {u"SelectionChanged", u""}, {u"Initialize", u""}, {u"Paint", u""}, {u"Terminate", u""}},
                               Pointer(), Focus()},
                              {u"Validate"});
    t[u"TextBox"] = Join({{{u"Change", u""}}, Pointer(), Focus(), Link()});
    t[u"Label"] = Join({{{u"Change", u""}}, Pointer(), Link()});
    t[u"CommandButton"] = Join({Pointer(), Focus()}, {u"DblClick"});
    t[u"CheckBox"] = Join({Pointer(), Focus()}, {u"DblClick"});
    t[u"OptionButton"] = Join({Pointer(), Focus()});
    t[u"Frame"] = Join({Pointer()});
    t[u"PictureBox"] = Join({{{u"Change", u""}, {u"Paint", u""}, {u"Resize", u""}}, Pointer(), Focus(), Link()});
    t[u"ComboBox"] = Join({{{u"Change", u""}, {u"DropDown", u""}, {u"Scroll", u""}}, Pointer(), Focus()},
                          {u"MouseDown", u"MouseMove", u"MouseUp"});
    t[u"ListBox"] = Join({{{u"ItemCheck", u"Item As Integer"}, {u"Scroll", u""}}, Pointer(), Focus()});
    t[u"Timer"] = Make({{u"Timer", u""}});
    t[u"Image"] = Join({Pointer()});
    t[u"DriveListBox"] = Join({{{u"Change", u""}, {u"Scroll", u""}}, Focus(), {{u"DragDrop", kDragDrop}, {u"DragOver", kDragOver}}});
    t[u"DirListBox"] = Join({{{u"Change", u""}, {u"Scroll", u""}}, Pointer(), Focus()}, {u"DblClick"});
    t[u"FileListBox"] = Join({{{u"PathChange", u""}, {u"PatternChange", u""}, {u"Scroll", u""}}, Pointer(), Focus()});
    t[u"HScrollBar"] = Join({{{u"Change", u""}, {u"Scroll", u""}}, Focus(), {{u"DragDrop", kDragDrop}, {u"DragOver", kDragOver}}});
    t[u"VScrollBar"] = t[u"HScrollBar"];
    t[u"Data"] = Join({{{u"Error", u"DataErr As Integer, Response As Integer"}, {u"Reposition", u""},
                        {u"Resize", u""}, {u"Validate", u"Action As Integer, Save As Integer"}},
                       Pointer()});
    t[u"OLE"] = Join({{{u"ObjectMove", u"Left As Single, Top As Single, Width As Single, Height As Single"},
                       {u"Resize", u"HeightNew As Single, WidthNew As Single"}, {u"Updated", u"Code As Integer"}},
                      Pointer(), Focus()});
    t[u"Menu"] = Make({{u"Click", u""}});
    t[u"Class"] = Make({{u"Initialize", u""}, {u"Terminate", u""}});
    return t;
  }();
  return table;
}

}  // namespace

const std::vector<EventDef>& EventsOf(std::u16string_view className) {
  static const std::vector<EventDef> none;
  auto it = Table().find(className);
  return it == Table().end() ? none : it->second;
}

std::u16string HandlerDeclaration(const std::u16string& object, const EventDef& event, bool array) {
  std::u16string params = array ? u"Index As Integer" : u"";
  if (!event.params.empty()) params += (params.empty() ? u"" : u", ") + event.params;
  return u"Private Sub " + object + u"_" + event.name + u"(" + params + u")";
}

}  // namespace tarno::workbench
