#include "lang/parser.h"

#include "lang/keywords.h"
#include "lang/lexer.h"

namespace tarno::lang {
namespace {

// Thrown after a ParseError is recorded: the rest of the logical line is skipped.
struct Unreadable {};

enum class Block : uint8_t { If, For, Do, While, Select, With, Proc, Type, Enum };

const char* BlockWord(Block b) {
  switch (b) {
    case Block::If: return "If";
    case Block::For: return "For";
    case Block::Do: return "Do";
    case Block::While: return "While";
    case Block::Select: return "Select Case";
    case Block::With: return "With";
    case Block::Proc: return "Sub";
    case Block::Type: return "Type";
    case Block::Enum: return "Enum";
  }
  return "";
}
const char* BlockEnd(Block b) {
  switch (b) {
    case Block::If: return "End If";
    case Block::For: return "Next";
    case Block::Do: return "Loop";
    case Block::While: return "Wend";
    case Block::Select: return "End Select";
    case Block::With: return "End With";
    case Block::Proc: return "End Sub";
    case Block::Type: return "End Type";
    case Block::Enum: return "End Enum";
  }
  return "";
}

struct OpenBlock {
  Block kind;
  int32_t line;
  int32_t withObject;  // With: the reference of its object
};

struct CondFrame {
  bool outerActive;
  bool taken;
  int32_t line;
};

class Parser {
 public:
  Parser(const std::vector<std::u16string_view>& lines, NameTable& names,
         const std::vector<std::pair<std::u16string, CcValue>>& condComp)
      : lines_(lines), names_(names), lexer_(names), cc_(names, condComp) {}

  ModuleSyntax Run() {
    out_.lineCount = static_cast<int32_t>(lines_.size());
    // About one reference a line and one declaration in five lines in real
    // code: a first guess that is rarely grown and never far too large.
    out_.refs.reserve(lines_.size() + lines_.size() / 4 + 8);
    out_.decls.reserve(lines_.size() / 5 + 8);
    toks_.reserve(64);
    const size_t n = lines_.size();
    size_t i = 0;
    while (i < n) {
      toks_.clear();
      bool more = lexer_.LexLine(lines_[i], static_cast<int>(i + 1), toks_);
      ++i;
      while (more && i < n) {
        more = lexer_.LexLine(lines_[i], static_cast<int>(i + 1), toks_);
        ++i;
      }
      // Comments and continuations are not statements.
      size_t w = 0;
      for (size_t r = 0; r < toks_.size(); ++r) {
        if (toks_[r].kind == TokenKind::Comment || toks_[r].kind == TokenKind::Continuation) continue;
        toks_[w++] = toks_[r];
      }
      toks_.resize(w);
      if (toks_.empty()) continue;
      pos_ = 0;
      end_ = toks_.size();
      if (toks_[0].Is(Punct::Hash) && end_ > 1 && toks_[1].kind == TokenKind::Name) {
        Directive();
        continue;
      }
      if (!Active()) {
        Inactive();
        continue;
      }
      try {
        LogicalLine();
      } catch (const Unreadable&) {
      }
    }
    Finish();
    return std::move(out_);
  }

 private:
  // ---- tokens
  bool AtEnd() const { return pos_ >= end_; }
  const Token& Tok() const { return pos_ < end_ ? toks_[pos_] : sentinel_; }
  const Token& Peek(size_t k = 1) const { return pos_ + k < end_ ? toks_[pos_ + k] : sentinel_; }
  bool IsWord(Kw k) const { return Tok().IsWord(A(k)); }
  bool Is(Punct p) const { return Tok().Is(p); }
  bool AtStatementEnd() const { return AtEnd() || Is(Punct::Colon) || (singleIf_ > 0 && IsWord(Kw::Else)); }
  static bool IsName(const Token& t) {
    return t.kind == TokenKind::Name && (!IsReserved(t.atom) || (t.flags & kBracketed));
  }
  std::u16string_view Text(const Token& t) const {
    return lines_[static_cast<size_t>(t.line - 1)].substr(t.column, t.length);
  }

  [[noreturn]] void Fail(const std::string& message) { FailAt(Tok(), message); }
  [[noreturn]] void FailAt(const Token& t, const std::string& message) {
    Error(t, message);
    throw Unreadable{};
  }
  void Error(const Token& t, const std::string& message) {
    ParseError e;
    e.line = t.line ? t.line : (end_ ? toks_[end_ - 1].line : 0);
    e.column = t.line ? t.Column1() : (end_ ? toks_[end_ - 1].Column1() + toks_[end_ - 1].length : 1);
    e.message = message;
    out_.errors.push_back(std::move(e));
  }
  std::string Found() const {
    if (AtEnd()) return "the end of the statement";
    const Token& t = Tok();
    std::u16string_view s = Text(t);
    std::string a;
    for (char16_t c : s.substr(0, 20)) a += c < 0x80 ? static_cast<char>(c) : '?';
    return "\"" + a + "\"";
  }
  [[noreturn]] void Expected(const char* what) { Fail(std::string("expected ") + what + ", found " + Found()); }
  void Expect(Punct p, const char* what) {
    if (!Is(p)) Expected(what);
    ++pos_;
  }
  void ExpectWord(Kw k) {
    if (!IsWord(k)) {
      std::string w;
      for (char16_t c : KeywordText(k)) w += static_cast<char>(c);
      Expected(w.c_str());
    }
    ++pos_;
  }

  // ---- output
  int32_t AddRef(const Token& t, int32_t qualifier, uint32_t flags) {
    Ref r;
    r.name = t.atom;
    r.line = t.line;
    r.column = static_cast<uint16_t>(t.column + 1 + ((t.flags & kBracketed) ? 1 : 0));
    r.length = static_cast<uint16_t>(t.length - ((t.flags & kBracketed) ? 2 : 0) - ((t.flags & kTypeChar) ? 1 : 0));
    r.qualifier = qualifier;
    r.flags = flags;
    out_.refs.push_back(r);
    return static_cast<int32_t>(out_.refs.size() - 1);
  }
  int32_t AddDecl(const Token& t, DeclKind kind, Access access, uint16_t flags, int32_t parent) {
    Decl d;
    d.name = t.atom;
    d.line = t.line;
    d.column = static_cast<uint16_t>(t.column + 1 + ((t.flags & kBracketed) ? 1 : 0));
    d.length = static_cast<uint16_t>(t.length - ((t.flags & kBracketed) ? 2 : 0) - ((t.flags & kTypeChar) ? 1 : 0));
    d.kind = kind;
    d.access = access;
    d.flags = flags;
    d.parent = parent;
    out_.decls.push_back(d);
    return static_cast<int32_t>(out_.decls.size() - 1);
  }
  Ref& R(int32_t i) { return out_.refs[static_cast<size_t>(i)]; }
  void Mark(int32_t ref, uint32_t flags) {
    if (ref >= 0) R(ref).flags |= flags;
  }

  // ---- conditional compilation
  bool Active() const { return cond_.empty() || active_; }
  void Directive() {
    const Token& hash = toks_[0];
    const Token& word = toks_[1];
    auto evaluate = [&](size_t from) -> bool {
      size_t to = end_;
      if (to > from && toks_[to - 1].IsWord(A(Kw::Then))) --to;
      else Error(toks_[end_ - 1], "expected Then at the end of the #If line");
      auto v = cc_.Evaluate(toks_, from, to, lines_);
      if (!v) {
        Error(toks_[from < end_ ? from : end_ - 1], "the #If condition is not a constant expression");
        return false;
      }
      return v->Truth();
    };
    if (word.IsWord(A(Kw::If))) {
      bool outer = Active();
      bool value = outer && evaluate(2);
      cond_.push_back({outer, value, hash.line});
      active_ = outer && value;
    } else if (word.IsWord(A(Kw::ElseIf))) {
      if (cond_.empty()) return Error(hash, "#ElseIf without #If");
      auto& f = cond_.back();
      bool value = f.outerActive && !f.taken && evaluate(2);
      f.taken = f.taken || value;
      active_ = value;
    } else if (word.IsWord(A(Kw::Else))) {
      if (cond_.empty()) return Error(hash, "#Else without #If");
      auto& f = cond_.back();
      active_ = f.outerActive && !f.taken;
      f.taken = true;
    } else if (word.IsWord(A(Kw::End)) || word.IsWord(A(Kw::EndIf))) {
      if (cond_.empty()) return Error(hash, "#End If without #If");
      active_ = cond_.back().outerActive;
      cond_.pop_back();
    } else if (word.IsWord(A(Kw::Const))) {
      if (!Active()) return;
      if (end_ < 5 || toks_[2].kind != TokenKind::Name || !toks_[3].Is(Punct::Eq)) {
        return Error(toks_[end_ > 2 ? 2 : 1], "expected #Const name = value");
      }
      auto v = cc_.Evaluate(toks_, 4, end_, lines_);
      if (!v) return Error(toks_[4], "the #Const value is not a constant expression");
      cc_.Define(toks_[2].atom, *v);
    } else {
      Error(word, "unknown directive");
    }
  }
  // A line of a dead branch: its names are kept as uses in inactive code.
  void Inactive() {
    for (size_t i = 0; i < end_; ++i) {
      const Token& t = toks_[i];
      if (t.kind != TokenKind::Name) continue;
      const bool member = i > 0 && (toks_[i - 1].Is(Punct::Dot) || toks_[i - 1].Is(Punct::Bang));
      if ((IsReserved(t.atom) || IsBuiltinType(t.atom)) && !(t.flags & kBracketed) && !member) continue;
      AddRef(t, kNoQualifier, kRefInactive);
    }
  }

  // ---- blocks
  void Push(Block b, const Token& at, int32_t withObject = -1) { blocks_.push_back({b, at.line, withObject}); }
  // Closes the innermost block of the kind; blocks left open inside it are errors.
  void Close(Block b, const Token& at, const char* word) {
    if (blocks_.empty() || blocks_.back().kind != b) {
      size_t k = blocks_.size();
      while (k > 0 && blocks_[k - 1].kind != b && blocks_[k - 1].kind != Block::Proc) --k;
      if (k == 0 || blocks_[k - 1].kind != b) FailAt(at, std::string(word) + " without " + BlockWord(b));
      const OpenBlock& inner = blocks_.back();
      Error(at, std::string(BlockWord(inner.kind)) + " of line " + std::to_string(inner.line) + " is not closed before " + word);
      blocks_.resize(k);
    }
    blocks_.pop_back();
  }
  int32_t WithObject() const {
    for (size_t k = blocks_.size(); k > 0; --k) {
      if (blocks_[k - 1].kind == Block::With) return blocks_[k - 1].withObject;
      if (blocks_[k - 1].kind == Block::Proc) break;
    }
    return kNoWith;
  }
  bool InProcedure() const { return curProc_ >= 0; }

  void Finish() {
    for (const auto& b : blocks_) {
      Token t;
      t.line = b.line;
      t.column = 0;
      Error(t, std::string(BlockWord(b.kind)) + " without " + BlockEnd(b.kind));
    }
    for (const auto& f : cond_) {
      Token t;
      t.line = f.line;
      Error(t, "#If without #End If");
    }
    if (curProc_ >= 0) out_.decls[static_cast<size_t>(curProc_)].endLine = out_.lineCount;
  }

  // ---- lines and statements
  void LogicalLine() {
    for (size_t i = 0; i < end_; ++i) {
      if (toks_[i].kind == TokenKind::Bad && toks_[i].length == 0) {
        FailAt(toks_[i], "the line is longer than " + std::to_string(kMaxLineLength) + " characters");
      }
    }
    if (typeBlock_ >= 0) return TypeMemberLine();
    if (enumBlock_ >= 0) return EnumMemberLine();
    // A line number or a label starts the line.
    if (Tok().kind == TokenKind::Number) {
      LabelDecl(Tok());
      ++pos_;
    } else if (IsName(Tok()) && Peek().Is(Punct::Colon) && !(Tok().flags & kTypeChar)) {
      LabelDecl(Tok());
      pos_ += 2;
    }
    Statements();
  }
  void LabelDecl(const Token& t) {
    Token n = t;
    n.atom = t.kind == TokenKind::Number ? names_.Intern(Text(t)) : t.atom;
    AddDecl(n, DeclKind::Label, Access::Implicit, 0, curProc_);
  }

  void Statements() {
    while (!AtEnd()) {
      if (Is(Punct::Colon)) {
        ++pos_;
        continue;
      }
      if (singleIf_ > 0 && IsWord(Kw::Else)) return;
      bool separated = Statement();
      if (AtEnd()) return;
      if (Is(Punct::Colon)) {
        ++pos_;
        continue;
      }
      if (singleIf_ > 0 && IsWord(Kw::Else)) return;
      if (separated) Expected("the end of the statement");
    }
  }

  // Returns false when another statement may follow without a colon (Else).
  bool Statement() {
    const Token& t = Tok();
    const bool keyword = t.kind == TokenKind::Name && !(t.flags & kBracketed) && t.atom < kKeywordCount;
    if (!keyword && !InProcedure()) FailAt(t, "statement outside a procedure");
    if (t.kind == TokenKind::Punct) {
      if (t.Is(Punct::Dot) || t.Is(Punct::Bang)) return Generic();
      if (t.Is(Punct::Question)) {
        ++pos_;
        Arguments(-1, false);
        return true;
      }
      Expected("a statement");
    }
    if (t.kind != TokenKind::Name) Expected("a statement");
    if (t.flags & kBracketed || t.atom >= kKeywordCount) return Generic();
    const Kw k = static_cast<Kw>(t.atom);
    const bool executable = !(k == Kw::Dim || k == Kw::Private || k == Kw::Public || k == Kw::Global || k == Kw::Friend ||
                              k == Kw::Static || k == Kw::Const || k == Kw::Declare || k == Kw::Event || k == Kw::Type ||
                              k == Kw::Enum || k == Kw::Sub || k == Kw::Function || k == Kw::Property ||
                              k == Kw::Implements || k == Kw::Option || k == Kw::Attribute || k == Kw::End ||
                              (k >= Kw::DefBool && k <= Kw::DefVar));
    if (executable && !InProcedure()) FailAt(t, "statement outside a procedure");
    switch (k) {
      case Kw::Dim: ++pos_; VarList(Access::Dim, 0); return true;
      case Kw::Private: return AccessStatement(Access::Private);
      case Kw::Public: return AccessStatement(Access::Public);
      case Kw::Global: return AccessStatement(Access::Global);
      case Kw::Friend: return AccessStatement(Access::Friend);
      case Kw::Static:
        ++pos_;
        if (IsWord(Kw::Sub) || IsWord(Kw::Function) || IsWord(Kw::Property)) {
          ProcHeader(Access::Implicit, kDeclStatic);
        } else {
          VarList(Access::Static, kDeclStatic);
        }
        return true;
      case Kw::Const: ++pos_; ConstList(Access::Implicit); return true;
      case Kw::Declare: DeclareStatement(Access::Implicit); return true;
      case Kw::Event: EventStatement(Access::Implicit); return true;
      case Kw::Type: TypeHeader(Access::Implicit); return true;
      case Kw::Enum: EnumHeader(Access::Implicit); return true;
      case Kw::Sub: case Kw::Function: case Kw::Property: ProcHeader(Access::Implicit, 0); return true;
      case Kw::Implements: ++pos_; TypeName(kRefTypeName | kRefImplements); return true;
      case Kw::Option:
        ++pos_;
        if (IsWord(Kw::Explicit)) out_.optionExplicit = true;
        SkipStatement();
        return true;
      case Kw::Attribute: AttributeStatement(); return true;
      case Kw::ReDim: ReDim(); return true;
      case Kw::Erase:
        ++pos_;
        do {
          Mark(Chain(false), kRefAssign);
        } while (Is(Punct::Comma) && (++pos_, true));
        return true;
      case Kw::If: return IfStatement();
      case Kw::ElseIf:
        ++pos_;
        Expression();
        ExpectWord(Kw::Then);
        if (blocks_.empty() || blocks_.back().kind != Block::If) FailAt(t, "ElseIf without If");
        return false;  // a statement may follow Then on the same line
      case Kw::Else:
        if (blocks_.empty() || blocks_.back().kind != Block::If) FailAt(t, "Else without If");
        ++pos_;
        return false;
      case Kw::End: return EndStatement();
      case Kw::EndIf: ++pos_; Close(Block::If, t, "End If"); return true;
      case Kw::Select:
        ++pos_;
        ExpectWord(Kw::Case);
        Expression();
        Push(Block::Select, t);
        return true;
      case Kw::Case: CaseStatement(); return true;
      case Kw::For: ForStatement(); return true;
      case Kw::Next:
        ++pos_;
        if (AtStatementEnd()) {
          Close(Block::For, t, "Next");
          return true;
        }
        do {
          Chain(false);
          Close(Block::For, t, "Next");
        } while (Is(Punct::Comma) && (++pos_, true));
        return true;
      case Kw::Do:
        ++pos_;
        if (IsWord(Kw::While) || IsWord(Kw::Until)) ++pos_, Expression();
        Push(Block::Do, t);
        return true;
      case Kw::Loop:
        ++pos_;
        if (IsWord(Kw::While) || IsWord(Kw::Until)) ++pos_, Expression();
        Close(Block::Do, t, "Loop");
        return true;
      case Kw::While:
        ++pos_;
        Expression();
        Push(Block::While, t);
        return true;
      case Kw::Wend: ++pos_; Close(Block::While, t, "Wend"); return true;
      case Kw::With: {
        ++pos_;
        int32_t object = Expression();
        Push(Block::With, t, object < 0 ? kUnknownQualifier : object);
        return true;
      }
      case Kw::Exit:
        ++pos_;
        if (!(IsWord(Kw::Do) || IsWord(Kw::For) || IsWord(Kw::Sub) || IsWord(Kw::Function) || IsWord(Kw::Property))) {
          Expected("Do, For, Sub, Function or Property");
        }
        ++pos_;
        return true;
      case Kw::GoTo: case Kw::GoSub: ++pos_; LabelRef(); return true;
      case Kw::On: OnStatement(); return true;
      case Kw::Resume:
        ++pos_;
        if (IsWord(Kw::Next)) ++pos_;
        else if (!AtStatementEnd()) LabelRef();
        return true;
      case Kw::Return: case Kw::Stop: ++pos_; return true;
      case Kw::Set: case Kw::Let: case Kw::LSet: case Kw::RSet: {
        ++pos_;
        int32_t target = Chain(false);
        Mark(target, static_cast<uint16_t>(kRefAssign | (k == Kw::Set ? kRefSet : 0)));
        Expect(Punct::Eq, "=");
        Expression();
        return true;
      }
      case Kw::Call: ++pos_; Mark(Chain(false), kRefCalled); return true;
      case Kw::RaiseEvent: {
        ++pos_;
        if (!IsName(Tok())) Expected("an event name");
        int32_t r = AddRef(Tok(), kNoQualifier, kRefRaiseEvent);
        ++pos_;
        if (Is(Punct::LParen)) {
          ++pos_;
          Arguments(r, true);
          Expect(Punct::RParen, ")");
        }
        return true;
      }
      case Kw::Open: if (OpenStatement()) return true; return Generic();
      case Kw::Line:
        if (Peek().IsWord(A(Kw::Input))) {
          pos_ += 2;
          if (Is(Punct::Hash)) ++pos_;
          Expression();
          Expect(Punct::Comma, ",");
          Mark(Chain(false), kRefAssign);
          return true;
        }
        return Generic();
      case Kw::Name:
        if (HasTopLevelAs()) {
          ++pos_;
          Expression();
          ExpectWord(Kw::As);
          Expression();
          return true;
        }
        return Generic();
      case Kw::Print: case Kw::Write: case Kw::Input: case Kw::Get: case Kw::Put: case Kw::Close: case Kw::Seek:
      case Kw::Lock: case Kw::Unlock: case Kw::Width: {
        const Token& n = Peek();
        if (n.Is(Punct::Eq) || n.Is(Punct::Dot) || n.Is(Punct::Bang) || (n.Is(Punct::LParen) && !(n.flags & kSpaceBefore))) {
          return Generic();
        }
        ++pos_;
        Arguments(-1, false);
        return true;
      }
      default:
        if (k >= Kw::DefBool && k <= Kw::DefVar) {
          SkipStatement();
          return true;
        }
        if (IsReserved(t.atom) && t.atom != A(Kw::Me)) Expected("a statement");
        return Generic();
    }
  }

  void SkipStatement() {
    while (!AtStatementEnd()) ++pos_;
  }

  bool HasTopLevelAs() const {
    int depth = 0;
    for (size_t i = pos_; i < end_; ++i) {
      const Token& t = toks_[i];
      if (t.Is(Punct::LParen)) ++depth;
      else if (t.Is(Punct::RParen)) --depth;
      else if (t.Is(Punct::Colon) && depth == 0) return false;
      else if (depth == 0 && t.IsWord(A(Kw::As))) return true;
    }
    return false;
  }

  // Assignment or call: x = 1, a.b(1).c = 2, Foo a, b, obj.Method.
  bool Generic() {
    int32_t head = Chain(true);
    if (Is(Punct::Eq)) {
      Mark(head, kRefAssign);
      ++pos_;
      Expression();
      return true;
    }
    Mark(head, kRefCalled);
    // obj.Line(0, 0)-(1, 1): the first argument was read as the call's parentheses.
    if (IsBinaryOperator(true)) {
      while (IsBinaryOperator(true)) {
        ++pos_;
        Unary();
      }
      if (Is(Punct::Comma)) {
        ++pos_;
        Arguments(head, false);
      }
      return true;
    }
    if (!AtStatementEnd()) Arguments(head, false);
    return true;
  }

  // ---- declarations
  bool AccessStatement(Access access) {
    const Token& t = Tok();
    ++pos_;
    if (IsWord(Kw::Sub) || IsWord(Kw::Function) || IsWord(Kw::Property)) return ProcHeader(access, 0), true;
    if (IsWord(Kw::Static)) {
      ++pos_;
      ProcHeader(access, kDeclStatic);
      return true;
    }
    if (IsWord(Kw::Const)) return ++pos_, ConstList(access), true;
    if (IsWord(Kw::Declare)) return DeclareStatement(access), true;
    if (IsWord(Kw::Event)) return EventStatement(access), true;
    if (IsWord(Kw::Type)) return TypeHeader(access), true;
    if (IsWord(Kw::Enum)) return EnumHeader(access), true;
    if (IsWord(Kw::Implements)) return ++pos_, TypeName(kRefTypeName | kRefImplements), true;
    if (access == Access::Friend) FailAt(t, "Friend is only for procedures");
    if (InProcedure()) FailAt(t, "Private, Public and Global are not allowed inside a procedure");
    VarList(access, 0);
    return true;
  }

  // As [New] Type [* length] on the declaration.
  void AsClause(int32_t decl, bool allowNew) {
    if (!IsWord(Kw::As)) return;
    ++pos_;
    Decl& d0 = out_.decls[static_cast<size_t>(decl)];
    if (IsWord(Kw::New)) {
      if (!allowNew) Expected("a type");
      d0.flags |= kDeclNew;
      ++pos_;
    }
    const Token& t = Tok();
    int32_t ref = TypeName(kRefTypeName);
    Decl& d = out_.decls[static_cast<size_t>(decl)];
    d.typeRef = ref;
    d.typeName = t.atom;
    if (Is(Punct::Star)) {
      ++pos_;
      Unary();
    }
  }

  // A type name (Long, Class1, ADODB.Recordset): the reference of its last
  // name, -1 for VB's own types.
  int32_t TypeName(uint32_t flags) {
    const Token& t = Tok();
    if (t.kind != TokenKind::Name || (IsReserved(t.atom) && !(t.flags & kBracketed))) Expected("a type");
    ++pos_;
    if (IsBuiltinType(t.atom) && !(t.flags & kBracketed) && !Is(Punct::Dot)) return -1;
    int32_t ref = AddRef(t, kNoQualifier, flags);
    while (Is(Punct::Dot) && Peek().kind == TokenKind::Name) {
      ref = AddRef(Peek(), ref, flags | kRefMember);
      pos_ += 2;
    }
    return ref;
  }

  void Bounds() {
    // ( [lower To] upper, ... ) or ()
    ++pos_;
    if (Is(Punct::RParen)) {
      ++pos_;
      return;
    }
    while (true) {
      Expression(true);
      if (Is(Punct::Comma)) {
        ++pos_;
        continue;
      }
      break;
    }
    Expect(Punct::RParen, ")");
  }

  const Token& DeclName() {
    const Token& t = Tok();
    if (!IsName(t)) Expected("a name");
    ++pos_;
    return t;
  }

  void VarList(Access access, uint16_t flags) {
    while (true) {
      uint16_t f = flags;
      if (IsWord(Kw::WithEvents)) {
        f |= kDeclWithEvents;
        ++pos_;
      }
      const Token& name = DeclName();
      int32_t d = AddDecl(name, DeclKind::Variable, access, f, curProc_);
      if (Is(Punct::LParen)) {
        out_.decls[static_cast<size_t>(d)].flags |= kDeclArray;
        Bounds();
      }
      AsClause(d, true);
      if (Is(Punct::Comma)) {
        ++pos_;
        continue;
      }
      return;
    }
  }

  void ConstList(Access access) {
    while (true) {
      const Token& name = DeclName();
      int32_t d = AddDecl(name, DeclKind::Constant, access, 0, curProc_);
      AsClause(d, false);
      Expect(Punct::Eq, "=");
      Expression();
      if (Is(Punct::Comma)) {
        ++pos_;
        continue;
      }
      return;
    }
  }

  // ( [Optional] [ByVal|ByRef] [ParamArray] name[()] [As Type] [= default], ... )
  void Parameters(int32_t owner, bool declare) {
    if (!Is(Punct::LParen)) return;
    ++pos_;
    while (!Is(Punct::RParen)) {
      uint16_t f = 0;
      while (true) {
        if (IsWord(Kw::Optional)) f |= kDeclOptional;
        else if (IsWord(Kw::ByVal)) f |= kDeclByVal;
        else if (IsWord(Kw::ByRef)) {
        } else if (IsWord(Kw::ParamArray)) f |= kDeclParamArray;
        else break;
        ++pos_;
      }
      const Token& name = DeclName();
      int32_t d = AddDecl(name, DeclKind::Parameter, Access::Implicit, f, owner);
      if (Is(Punct::LParen)) {
        ++pos_;
        Expect(Punct::RParen, ")");
        out_.decls[static_cast<size_t>(d)].flags |= kDeclArray;
      }
      AsClause(d, false);
      if (Is(Punct::Eq)) {
        ++pos_;
        Expression();
      }
      if (declare) {
        // Parameters of a Declare or an Event have no scope of their own to be used in.
        out_.decls[static_cast<size_t>(d)].parent = owner;
      }
      if (Is(Punct::Comma)) {
        ++pos_;
        continue;
      }
      break;
    }
    Expect(Punct::RParen, ")");
  }

  void ProcHeader(Access access, uint16_t flags) {
    const Token& kw = Tok();
    DeclKind kind = DeclKind::Sub;
    ++pos_;
    if (kw.IsWord(A(Kw::Function))) {
      kind = DeclKind::Function;
    } else if (kw.IsWord(A(Kw::Property))) {
      if (IsWord(Kw::Get)) kind = DeclKind::PropertyGet;
      else if (IsWord(Kw::Let)) kind = DeclKind::PropertyLet;
      else if (IsWord(Kw::Set)) kind = DeclKind::PropertySet;
      else Expected("Get, Let or Set");
      ++pos_;
    }
    if (InProcedure()) {
      Error(kw, "a procedure begins before the End of the one at line " +
                    std::to_string(out_.decls[static_cast<size_t>(curProc_)].line));
      EndProcedure(kw.line - 1);
    }
    if (!blocks_.empty()) {
      Error(kw, std::string(BlockWord(blocks_.back().kind)) + " of line " + std::to_string(blocks_.back().line) +
                    " is not closed");
      blocks_.clear();
    }
    const Token& name = DeclName();
    int32_t d = AddDecl(name, kind, access, flags, -1);
    curProc_ = d;
    out_.procedures.push_back(d);
    Push(Block::Proc, kw);
    Parameters(d, false);
    AsClause(d, false);
    if (Is(Punct::LParen)) {  // Function F() As Long()
      ++pos_;
      Expect(Punct::RParen, ")");
    }
  }
  void EndProcedure(int32_t line) {
    out_.decls[static_cast<size_t>(curProc_)].endLine = line;
    curProc_ = -1;
  }

  void DeclareStatement(Access access) {
    ++pos_;  // Declare
    if (IsWord(Kw::PtrSafe)) ++pos_;
    DeclKind kind;
    if (IsWord(Kw::Sub)) kind = DeclKind::DeclareSub;
    else if (IsWord(Kw::Function)) kind = DeclKind::DeclareFunction;
    else Expected("Sub or Function");
    ++pos_;
    const Token& name = DeclName();
    int32_t d = AddDecl(name, kind, access, 0, -1);
    ExpectWord(Kw::Lib);
    if (Tok().kind != TokenKind::String) Expected("the library name");
    ++pos_;
    if (IsWord(Kw::Alias)) {
      ++pos_;
      if (Tok().kind != TokenKind::String) Expected("the alias");
      ++pos_;
    }
    Parameters(d, true);
    AsClause(d, false);
    if (Is(Punct::LParen)) {
      ++pos_;
      Expect(Punct::RParen, ")");
    }
  }

  void EventStatement(Access access) {
    ++pos_;
    const Token& name = DeclName();
    int32_t d = AddDecl(name, DeclKind::Event, access, 0, -1);
    Parameters(d, true);
  }

  // `Type X` or `Enum X`: the declaration stays open until its End line.
  void BlockHeader(Access access, DeclKind kind, Block block, int32_t& open) {
    const Token& kw = Tok();
    ++pos_;
    const Token& name = DeclName();
    open = AddDecl(name, kind, access, 0, -1);
    Push(block, kw);
  }
  void TypeHeader(Access access) { BlockHeader(access, DeclKind::Type, Block::Type, typeBlock_); }
  void EnumHeader(Access access) { BlockHeader(access, DeclKind::Enum, Block::Enum, enumBlock_); }
  bool EndOfBlock(Kw word) {
    if (IsWord(Kw::End) && Peek().IsWord(A(word))) {
      const Token& t = Tok();
      pos_ += 2;
      int32_t& open = word == Kw::Type ? typeBlock_ : enumBlock_;
      out_.decls[static_cast<size_t>(open)].endLine = t.line;
      open = -1;
      Close(word == Kw::Type ? Block::Type : Block::Enum, t, word == Kw::Type ? "End Type" : "End Enum");
      if (!AtEnd()) Expected("the end of the statement");
      return true;
    }
    return false;
  }
  void TypeMemberLine() {
    if (EndOfBlock(Kw::Type)) return;
    const Token& name = Tok();
    if (name.kind != TokenKind::Name) Expected("a member of the Type");
    ++pos_;
    int32_t d = AddDecl(name, DeclKind::TypeMember, Access::Public, 0, typeBlock_);
    if (Is(Punct::LParen)) {
      out_.decls[static_cast<size_t>(d)].flags |= kDeclArray;
      Bounds();
    }
    if (!IsWord(Kw::As) && !(name.flags & kTypeChar)) Expected("As");
    AsClause(d, false);
    if (!AtEnd()) Expected("the end of the member");
  }
  void EnumMemberLine() {
    if (EndOfBlock(Kw::Enum)) return;
    const Token& name = Tok();
    if (name.kind != TokenKind::Name) Expected("a member of the Enum");
    ++pos_;
    AddDecl(name, DeclKind::EnumMember, Access::Public, 0, enumBlock_);
    if (Is(Punct::Eq)) {
      ++pos_;
      Expression();
    }
    if (!AtEnd()) Expected("the end of the member");
  }

  void AttributeStatement() {
    ++pos_;
    if (Tok().kind == TokenKind::Name && Peek().Is(Punct::Dot) && Peek(2).kind == TokenKind::Name && Peek(3).Is(Punct::Eq)) {
      MemberAttribute a;
      a.member = Tok().atom;
      a.attribute = Peek(2).atom;
      pos_ += 4;
      bool minus = Is(Punct::Minus);
      if (minus) ++pos_;
      if (Tok().kind == TokenKind::Number) {
        std::u16string_view s = Text(Tok());
        int32_t v = 0;
        for (char16_t c : s) {
          if (c < u'0' || c > u'9') break;
          v = v * 10 + (c - u'0');
        }
        a.value = minus ? -v : v;
      }
      out_.attributes.push_back(a);
    }
    SkipStatement();
  }

  // ---- executable statements
  bool IfStatement() {
    const Token& kw = Tok();
    ++pos_;
    Expression();
    ExpectWord(Kw::Then);
    if (AtEnd()) {
      Push(Block::If, kw);
      return true;
    }
    ++singleIf_;
    if (Tok().kind == TokenKind::Number) LabelRef();
    else Statements();
    if (IsWord(Kw::Else)) {
      ++pos_;
      if (Tok().kind == TokenKind::Number) LabelRef();
      else Statements();
    }
    --singleIf_;
    return true;
  }

  bool EndStatement() {
    const Token& t = Tok();
    ++pos_;
    if (AtStatementEnd()) {
      if (!InProcedure()) FailAt(t, "statement outside a procedure");
      return true;
    }
    const Token& w = Tok();
    ++pos_;
    if (w.IsWord(A(Kw::If))) Close(Block::If, t, "End If");
    else if (w.IsWord(A(Kw::Select))) Close(Block::Select, t, "End Select");
    else if (w.IsWord(A(Kw::With))) Close(Block::With, t, "End With");
    else if (w.IsWord(A(Kw::Sub)) || w.IsWord(A(Kw::Function)) || w.IsWord(A(Kw::Property))) {
      if (!InProcedure()) FailAt(t, "End Sub without Sub");
      DeclKind k = out_.decls[static_cast<size_t>(curProc_)].kind;
      bool match = w.IsWord(A(Kw::Sub)) ? k == DeclKind::Sub
                   : w.IsWord(A(Kw::Function)) ? k == DeclKind::Function
                                               : (k >= DeclKind::PropertyGet && k <= DeclKind::PropertySet);
      if (!match) Error(w, "the End does not match the procedure of line " + std::to_string(out_.decls[static_cast<size_t>(curProc_)].line));
      Close(Block::Proc, t, "End Sub");
      EndProcedure(t.line);
    } else if (w.IsWord(A(Kw::Type)) || w.IsWord(A(Kw::Enum))) {
      FailAt(t, "End Type or End Enum without Type or Enum");
    } else {
      FailAt(w, "expected If, Select, With, Sub, Function or Property after End");
    }
    return true;
  }

  void CaseStatement() {
    const Token& t = Tok();
    ++pos_;
    if (blocks_.empty() || blocks_.back().kind != Block::Select) FailAt(t, "Case without Select Case");
    if (IsWord(Kw::Else)) {
      ++pos_;
      return;
    }
    while (true) {
      if (IsWord(Kw::Is)) {
        ++pos_;
        if (!(Is(Punct::Eq) || Is(Punct::Ne) || Is(Punct::Lt) || Is(Punct::Gt) || Is(Punct::Le) || Is(Punct::Ge))) {
          Expected("a comparison");
        }
        ++pos_;
        Expression();
      } else {
        Expression();
        if (IsWord(Kw::To)) {
          ++pos_;
          Expression();
        }
      }
      if (Is(Punct::Comma)) {
        ++pos_;
        continue;
      }
      return;
    }
  }

  void ForStatement() {
    const Token& t = Tok();
    ++pos_;
    if (IsWord(Kw::Each)) {
      ++pos_;
      Mark(Chain(false), kRefAssign);
      ExpectWord(Kw::In);
      Expression();
    } else {
      Mark(Chain(false), kRefAssign);
      Expect(Punct::Eq, "=");
      Expression();
      ExpectWord(Kw::To);
      Expression();
      if (IsWord(Kw::Step)) {
        ++pos_;
        Expression();
      }
    }
    Push(Block::For, t);
  }

  void LabelRef() {
    const Token& t = Tok();
    if (t.kind == TokenKind::Number) {
      ++pos_;
      if (Text(t) == u"0") return;  // GoTo 0, Resume 0
      Token n = t;
      n.atom = names_.Intern(Text(t));
      AddRef(n, kNoQualifier, kRefLabel);
      return;
    }
    if (t.Is(Punct::Minus) && Peek().kind == TokenKind::Number) {  // On Error GoTo -1
      pos_ += 2;
      return;
    }
    if (!IsName(t)) Expected("a label");
    ++pos_;
    AddRef(t, kNoQualifier, kRefLabel);
  }

  void OnStatement() {
    ++pos_;
    if (IsWord(Kw::Local)) ++pos_;
    if (IsWord(Kw::Error)) {
      ++pos_;
      if (IsWord(Kw::GoTo)) {
        ++pos_;
        LabelRef();
      } else if (IsWord(Kw::Resume)) {
        ++pos_;
        ExpectWord(Kw::Next);
      } else {
        Expected("GoTo or Resume Next");
      }
      return;
    }
    Expression();
    if (!IsWord(Kw::GoTo) && !IsWord(Kw::GoSub)) Expected("GoTo or GoSub");
    ++pos_;
    do {
      LabelRef();
    } while (Is(Punct::Comma) && (++pos_, true));
  }

  void ReDim() {
    ++pos_;
    if (IsWord(Kw::Preserve)) ++pos_;
    while (true) {
      const Token& name = Tok();
      int32_t r = Chain(false);
      Mark(r, kRefAssign | kRefReDim);
      if (IsWord(Kw::As)) {
        ++pos_;
        if (IsWord(Kw::New)) ++pos_;
        int32_t type = TypeName(kRefTypeName);
        (void)type;
        if (Is(Punct::Star)) {
          ++pos_;
          Unary();
        }
      }
      (void)name;
      if (Is(Punct::Comma)) {
        ++pos_;
        continue;
      }
      return;
    }
  }

  bool OpenStatement() {
    // Open path For mode [Access ...] [lock] As [#]n [Len = n]
    const size_t save = pos_, refs = out_.refs.size();
    const Token& n = Peek();
    if (n.Is(Punct::Eq) || n.Is(Punct::Dot) || n.Is(Punct::Bang) || n.kind == TokenKind::Bad) return false;
    ++pos_;
    Expression();
    if (!IsWord(Kw::For)) {
      pos_ = save;
      out_.refs.resize(refs);
      return false;
    }
    ++pos_;
    if (!(IsWord(Kw::Input) || IsWord(Kw::Output) || IsWord(Kw::Append) || IsWord(Kw::Binary) || IsWord(Kw::Random))) {
      Expected("Input, Output, Append, Binary or Random");
    }
    ++pos_;
    if (IsWord(Kw::Access)) {
      ++pos_;
      if (IsWord(Kw::Read)) {
        ++pos_;
        if (IsWord(Kw::Write)) ++pos_;
      } else if (IsWord(Kw::Write)) {
        ++pos_;
      } else {
        Expected("Read or Write");
      }
    }
    if (IsWord(Kw::Shared)) {
      ++pos_;
    } else if (IsWord(Kw::Lock)) {
      ++pos_;
      if (IsWord(Kw::Read)) {
        ++pos_;
        if (IsWord(Kw::Write)) ++pos_;
      } else if (IsWord(Kw::Write)) {
        ++pos_;
      } else {
        Expected("Read or Write");
      }
    }
    ExpectWord(Kw::As);
    if (Is(Punct::Hash)) ++pos_;
    Expression();
    if (IsWord(Kw::Len)) {
      ++pos_;
      Expect(Punct::Eq, "=");
      Expression();
    }
    return true;
  }

  // ---- expressions
  bool IsBinaryOperator(bool allowTo) const {
    const Token& t = Tok();
    if (t.kind == TokenKind::Punct) {
      switch (static_cast<Punct>(t.atom)) {
        case Punct::Plus: case Punct::Minus: case Punct::Star: case Punct::Slash: case Punct::Backslash:
        case Punct::Caret: case Punct::Amp: case Punct::Eq: case Punct::Ne: case Punct::Lt: case Punct::Gt:
        case Punct::Le: case Punct::Ge:
          return true;
        default:
          return false;
      }
    }
    if (t.kind != TokenKind::Name || (t.flags & kBracketed)) return false;
    switch (static_cast<Kw>(t.atom)) {
      case Kw::And: case Kw::Or: case Kw::Xor: case Kw::Eqv: case Kw::Imp: case Kw::Mod: case Kw::Like: case Kw::Is:
        return t.atom < kKeywordCount;
      case Kw::To:
        return allowTo;
      default:
        return false;
    }
  }

  // Returns the reference the expression is when it is one name chain, else -2.
  int32_t Expression(bool allowTo = false) {
    int32_t r = Unary();
    bool single = true;
    while (IsBinaryOperator(allowTo)) {
      ++pos_;
      Unary();
      single = false;
    }
    return single ? r : kUnknownQualifier;
  }

  int32_t Unary() {
    bool prefix = false;
    while (Is(Punct::Minus) || Is(Punct::Plus) || IsWord(Kw::Not)) {
      ++pos_;
      prefix = true;
    }
    if (IsWord(Kw::New)) {
      ++pos_;
      return TypeName(kRefTypeName);
    }
    if (IsWord(Kw::TypeOf)) {
      ++pos_;
      Unary();
      ExpectWord(Kw::Is);
      TypeName(kRefTypeName);
      return kUnknownQualifier;
    }
    if (IsWord(Kw::AddressOf)) {
      ++pos_;
      Mark(Chain(false), kRefAddressOf);
      return kUnknownQualifier;
    }
    // Line Step(x, y)-Step(...), PSet Step(x, y): in a statement's arguments only.
    if (statementArgs_ && IsWord(Kw::Step) && Peek().Is(Punct::LParen)) ++pos_;
    int32_t r = Primary();
    return prefix ? kUnknownQualifier : r;
  }

  int32_t Primary() {
    const Token& t = Tok();
    switch (t.kind) {
      case TokenKind::Number: case TokenKind::Date:
        ++pos_;
        return kUnknownQualifier;
      case TokenKind::String:
        if (t.flags & kUnterminated) Fail("the string has no closing quote");
        ++pos_;
        return kUnknownQualifier;
      case TokenKind::Name:
        if (t.IsWord(A(Kw::True)) || t.IsWord(A(Kw::False)) || t.IsWord(A(Kw::Nothing)) || t.IsWord(A(Kw::Null)) ||
            t.IsWord(A(Kw::Empty))) {
          ++pos_;
          return kUnknownQualifier;
        }
        if (IsName(t) || t.IsWord(A(Kw::Me))) return Chain(false);
        Expected("an expression");
      case TokenKind::Punct:
        if (t.Is(Punct::Dot) || t.Is(Punct::Bang)) return Chain(false);
        if (t.Is(Punct::LParen)) {
          ++pos_;
          Expression(true);
          while (Is(Punct::Comma)) {  // a point: (x, y) of Line, PSet, Circle
            ++pos_;
            Expression(true);
          }
          Expect(Punct::RParen, ")");
          return Postfix(kUnknownQualifier, false);
        }
        Expected("an expression");
      default:
        Expected("an expression");
    }
  }

  // A name chain: name, Me, .name (With), then (args), .member and !member.
  // In a statement's head a "(" after a blank starts the arguments.
  int32_t Chain(bool head) {
    const Token& t = Tok();
    int32_t cur;
    if (t.Is(Punct::Dot) || t.Is(Punct::Bang)) {
      const Token& m = Peek();
      if (m.kind != TokenKind::Name) Expected("a member name");
      int32_t with = WithObject();
      if (with == kNoWith) FailAt(t, "a member without its object (\".name\" outside With)");
      cur = AddRef(m, with, static_cast<uint16_t>(kRefMember | kRefWith | (t.Is(Punct::Bang) ? kRefBang : 0)));
      pos_ += 2;
    } else if (t.IsWord(A(Kw::Me))) {
      cur = AddRef(t, kNoQualifier, kRefMe);
      ++pos_;
    } else if (IsName(t)) {
      cur = AddRef(t, kNoQualifier, 0);
      ++pos_;
    } else {
      Expected(head ? "a statement" : "a name");
    }
    return Postfix(cur, head);
  }

  int32_t Postfix(int32_t cur, bool head) {
    while (true) {
      if (Is(Punct::LParen) && !(head && (Tok().flags & kSpaceBefore))) {
        ++pos_;
        Mark(cur, kRefCalled);
        Arguments(cur, true);
        Expect(Punct::RParen, ")");
        continue;
      }
      // ".name" after a blank is a With member that begins a new argument
      // (.Move .Left + 1), unless the line was continued just before it.
      const bool joined = !(Tok().flags & kSpaceBefore) || (pos_ > 0 && toks_[pos_ - 1].line != Tok().line);
      if ((Is(Punct::Dot) || Is(Punct::Bang)) && joined && Peek().kind == TokenKind::Name) {
        const bool bang = Is(Punct::Bang);
        cur = AddRef(Peek(), cur, static_cast<uint16_t>(kRefMember | (bang ? kRefBang : 0)));
        pos_ += 2;
        continue;
      }
      return cur;
    }
  }

  // Arguments of a call: inside parentheses, or to the end of a call
  // statement. Empty arguments, name:=value, ByVal, #file and the ";" of
  // Print are all read.
  void Arguments(int32_t callee, bool paren) {
    struct Restore {
      bool& flag;
      bool saved;
      ~Restore() { flag = saved; }
    } restore{statementArgs_, statementArgs_};
    statementArgs_ = !paren;
    int index = 0;
    const Atom calleeName = callee >= 0 ? R(callee).name : kNoAtom;
    while (true) {
      if (paren ? Is(Punct::RParen) : AtStatementEnd()) return;
      if (Is(Punct::Comma)) {
        ++pos_;
        ++index;
        continue;
      }
      if (Is(Punct::Semicolon)) {
        ++pos_;
        continue;
      }
      if (Tok().kind == TokenKind::Name && Peek().Is(Punct::ColonEq)) {
        AddRef(Tok(), callee, kRefNamedArg);
        pos_ += 2;
      }
      if (IsWord(Kw::ByVal)) ++pos_;
      if (Is(Punct::Hash)) ++pos_;
      if (Tok().kind == TokenKind::String && !(Tok().flags & kUnterminated) &&
          ((calleeName == A(Kw::CallByName) && index == 1) || (calleeName == A(Kw::Controls) && index == 0))) {
        const Token& n = Peek();
        if (n.Is(Punct::Comma) || n.Is(Punct::RParen) || (!paren && AtEndAfter(1))) LiteralUse(Tok(), callee);
      }
      Expression(true);
      if (Is(Punct::Comma)) {
        ++pos_;
        ++index;
        continue;
      }
      if (Is(Punct::Semicolon)) {
        ++pos_;
        continue;
      }
      return;
    }
  }
  bool AtEndAfter(size_t k) const {
    const Token& n = Peek(k);
    return pos_ + k >= end_ || n.Is(Punct::Colon);
  }
  // "Name" of CallByName o, "Name" or Controls("Name"): a use of that name.
  void LiteralUse(const Token& s, int32_t callee) {
    std::u16string_view text = Text(s);
    if (text.size() < 3) return;
    std::u16string_view inner = text.substr(1, text.size() - 2);
    for (char16_t c : inner) {
      if (!IsNameChar(c)) return;
    }
    Token n = s;
    n.atom = names_.Intern(inner);
    n.column = static_cast<uint16_t>(s.column + 1);
    n.length = static_cast<uint16_t>(inner.size());
    n.flags = 0;
    int32_t qualifier = callee >= 0 && R(callee).name == A(Kw::Controls) ? R(callee).qualifier : kUnknownQualifier;
    if (callee >= 0 && R(callee).name == A(Kw::Controls) && qualifier == kNoQualifier) qualifier = kSelfQualifier;
    AddRef(n, qualifier, static_cast<uint16_t>(kRefLiteral | kRefMember));
  }

  const std::vector<std::u16string_view>& lines_;
  NameTable& names_;
  Lexer lexer_;
  CcScope cc_;
  ModuleSyntax out_;
  std::vector<Token> toks_;
  size_t pos_ = 0, end_ = 0;
  Token sentinel_{};
  std::vector<OpenBlock> blocks_;
  std::vector<CondFrame> cond_;
  bool active_ = true;
  int32_t curProc_ = -1;
  int32_t typeBlock_ = -1;
  int32_t enumBlock_ = -1;
  int singleIf_ = 0;
  bool statementArgs_ = false;
};

}  // namespace

const char* DeclKindName(DeclKind k) {
  switch (k) {
    case DeclKind::Variable: return "variable";
    case DeclKind::Constant: return "constant";
    case DeclKind::Parameter: return "parameter";
    case DeclKind::Sub: return "sub";
    case DeclKind::Function: return "function";
    case DeclKind::PropertyGet: return "property get";
    case DeclKind::PropertyLet: return "property let";
    case DeclKind::PropertySet: return "property set";
    case DeclKind::Type: return "type";
    case DeclKind::TypeMember: return "type member";
    case DeclKind::Enum: return "enum";
    case DeclKind::EnumMember: return "enum member";
    case DeclKind::DeclareSub: return "declare sub";
    case DeclKind::DeclareFunction: return "declare function";
    case DeclKind::Event: return "event";
    case DeclKind::Label: return "label";
    case DeclKind::Component: return "component";
    case DeclKind::Control: return "control";
    case DeclKind::Project: return "project";
  }
  return "";
}

ModuleSyntax ParseModule(const std::vector<std::u16string_view>& lines, NameTable& names,
                         const std::vector<std::pair<std::u16string, CcValue>>& condComp) {
  return Parser(lines, names, condComp).Run();
}

}  // namespace tarno::lang
