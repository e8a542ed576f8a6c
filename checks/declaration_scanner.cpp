#include "checks/declaration_scanner.h"

namespace tarno::checks {

namespace {

constexpr char16_t kQuote = u'"';

// The character at a 1-based position; position 0 and positions past the end
// are no blank.
bool BlankAt(View s, int pos) { return pos >= 1 && static_cast<size_t>(pos) <= s.size() && s[pos - 1] == u' '; }

// The first "As" at or after `from` whose preceding character is a blank.
int AsAfterBlank(View text, int from) {
  int p = InStrAt(from, text, u"As");
  while (p != 0 && !BlankAt(text, p - 1)) p = InStrAt(p + 1, text, u"As");
  return p;
}

// End marker without a comma ahead: the first "As" from `from`, moved on past
// an "As" inside an identifier (lngAsset) unless a double quote lies ahead.
int AsMarker(View text, int from) {
  int mark = InStrAt(from, text, u"As");
  if (mark != 0 && InStrAt(mark - 1, text, kQuote) == 0 && !BlankAt(text, mark - 1)) {
    mark = AsAfterBlank(text, mark + 1);
  }
  return mark;
}

void UpdateDeclareFlagOnComment(View text, bool& declareFlag) {
  if (Contains(text, u"Declare")) {
    declareFlag = true;
  } else if (declareFlag && Contains(text, u"_")) {
    // stays set
  } else {
    declareFlag = false;
  }
}

// The general rule: names separated by commas, each ended by " As" or ",".
void CutGeneralNames(View text, int nameStart, std::vector<std::u16string>& names) {
  int mark = 0;
  int commaStart = 1;
  bool more = false;
  const bool withEvents = Contains(text, u"WithEvents");
  do {
    if (InStrAt(mark + 1, text, u",") == 0) {
      mark = AsMarker(text, mark + 1);
    } else {
      int a = AsAfterBlank(text, mark + 1);
      int c = InStrAt(mark + 1, text, u",");
      mark = (a != 0 && a < c) ? a : c;
    }
    if (!more) commaStart = 1;
    if (withEvents) {
      View name = mark == 0 ? MidView(text, nameStart + 12) : MidView(text, nameStart + 12, mark - nameStart - 13);
      names.emplace_back(TrimView(name));
      return;
    }
    int c = InStrAt(commaStart, text, u",");
    if (c == 0) {
      View name = mark == 0 ? MidView(text, nameStart) : MidView(text, nameStart, mark - 1 - nameStart);
      names.emplace_back(TrimView(name));
      more = false;
    } else {
      int x = mark == 0 ? c : mark;
      names.emplace_back(TrimView(MidView(text, nameStart + 1, x - 1 - nameStart)));
      nameStart = c + 1;
      commaStart = c + 1;
      if (mark != 0) mark = c + 1;
      // A comma inside a string literal ends the statement's names.
      more = InStrAt(c - 1, text, kQuote) == 0;
    }
  } while (more);
}

// The constant rule: one name per statement, ended by "=" or " As".
void CutConstantName(View text, int nameStart, DeclScope scope, Section section,
                     std::vector<std::u16string>& names) {
  int mark = AsMarker(text, 1);
  int e = InStrAt(nameStart, text, u"=");
  if (e == 0) return;
  int s = nameStart + 7;
  if (section == Section::Procedures && scope == DeclScope::Const) s = 7;
  View name = (mark == 0 || e < mark) ? MidView(text, s, e - 1 - s) : MidView(text, s, mark - 1 - s);
  names.emplace_back(TrimView(name));
}

}  // namespace

int NameStartOf(DeclScope scope) {
  switch (scope) {
    case DeclScope::Global: return 7;
    case DeclScope::Public: return 7;
    case DeclScope::Private: return 8;
    case DeclScope::Dim: return 4;
    case DeclScope::Const: return 6;
    case DeclScope::Static: return 7;
    case DeclScope::None: break;
  }
  return 0;
}

DeclarationScan ScanDeclarationStatement(View text, Section section, bool& declareFlag) {
  DeclarationScan scan;
  if (!text.empty() && text.front() == u'\'') {
    UpdateDeclareFlagOnComment(text, declareFlag);
    return scan;
  }
  DeclScope scope = DeclScope::None;
  if (section == Section::Declarations) {
    if (Contains(text, u"Global")) scope = DeclScope::Global;
    else if (Contains(text, u"Public")) scope = DeclScope::Public;
    else if (Contains(text, u"Private")) scope = DeclScope::Private;
    else if (Contains(text, u"Dim")) scope = Contains(text, u"ReDim") ? DeclScope::None : DeclScope::Dim;
  } else {
    if (Contains(text, u"Dim")) {
      scope = Contains(text, u"ReDim") ? DeclScope::None : DeclScope::Dim;
    } else if (Contains(text, u"Const")) {
      scope = DeclScope::Const;
    } else if (Contains(text, u"Static")) {
      // "rs.CursorType = adOpenStatic" is an assignment: after the first "="
      // only the exact text "Static" still counts as a declaration.
      size_t eq = text.find(u'=');
      scope = (eq == View::npos || text.substr(eq + 1) == u"Static") ? DeclScope::Static : DeclScope::None;
    }
  }
  scan.scope = scope;
  if (scope == DeclScope::None) return scan;
  if (Contains(text, u"Declare")) {
    declareFlag = true;
    return scan;
  }
  if (declareFlag && Contains(text, u"_")) return scan;
  declareFlag = false;
  scan.declaration = true;
  const int nameStart = NameStartOf(scope);
  if (Contains(text, u"Const")) {
    CutConstantName(text, nameStart, scope, section, scan.names);
  } else {
    CutGeneralNames(text, nameStart, scan.names);
  }
  return scan;
}

}  // namespace tarno::checks
