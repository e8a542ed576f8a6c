// What the parser finds in one module: declarations, references and parse
// errors, in flat vectors (no tree, no text). A reference is one identifier
// where code uses a name; a member access `a.b` is a reference to `b` whose
// qualifier is the reference to `a`, so the binder can follow a chain
// through the declared types. Positions are module (code) lines, 1-based,
// and UTF-16 columns, 1-based.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lang/names.h"

namespace tarno::lang {

enum class DeclKind : uint8_t {
  Variable,
  Constant,
  Parameter,
  Sub,
  Function,
  PropertyGet,
  PropertyLet,
  PropertySet,
  Type,
  TypeMember,
  Enum,
  EnumMember,
  DeclareSub,
  DeclareFunction,
  Event,
  Label,
  // Made by the binder, not by a declaration statement.
  Component,  // a module, class, form, user control, ... (its name)
  Control,    // a control of a designer (one symbol for a control array)
  Project,    // a project's name, as in Project1.Class1
};
const char* DeclKindName(DeclKind k);
inline bool IsProcedure(DeclKind k) { return k >= DeclKind::Sub && k <= DeclKind::PropertySet; }

enum class Access : uint8_t { Implicit, Dim, Private, Public, Friend, Global, Static };

// Declaration flags.
inline constexpr uint16_t kDeclArray = 1;       // a(...) or a()
inline constexpr uint16_t kDeclWithEvents = 2;
inline constexpr uint16_t kDeclNew = 4;         // As New
inline constexpr uint16_t kDeclStatic = 8;      // Static procedure or variable
inline constexpr uint16_t kDeclOptional = 16;
inline constexpr uint16_t kDeclByVal = 32;
inline constexpr uint16_t kDeclParamArray = 64;
inline constexpr uint16_t kDeclImplicit = 128;  // a local made by ReDim of an undeclared name
// Set by the binder:
inline constexpr uint16_t kDeclHandler = 256;        // an event procedure the runtime calls
inline constexpr uint16_t kDeclImplements = 512;     // I_Member of an implemented interface
inline constexpr uint16_t kDeclDefaultMember = 1024;  // VB_UserMemId 0
inline constexpr uint16_t kDeclEnumerator = 2048;     // VB_UserMemId -4
inline constexpr uint16_t kDeclControlArray = 4096;

struct Decl {
  Atom name = kNoAtom;
  int32_t line = 0;
  uint16_t column = 0;  // 1-based
  uint16_t length = 0;
  DeclKind kind = DeclKind::Variable;
  Access access = Access::Dim;
  uint16_t flags = 0;
  int32_t parent = -1;   // the procedure, Type, Enum, Declare or Event it belongs to; -1: the module
  int32_t typeRef = -1;  // the reference of its As type (a class, Type or Enum); -1 none or VB's own
  Atom typeName = kNoAtom;  // the last name of the As type, VB's own types too
  int32_t endLine = 0;   // procedures, Type and Enum: the line of their End
};

// Reference qualifiers.
inline constexpr int32_t kNoQualifier = -1;       // a plain name
inline constexpr int32_t kUnknownQualifier = -2;  // member of something that is not a name: (x).y, With 1 + 2
inline constexpr int32_t kNoWith = -3;            // (parser only) no With block is open
inline constexpr int32_t kSelfQualifier = -4;     // member of the module itself: Controls("Text1")

// Reference flags.
inline constexpr uint16_t kRefMember = 1;      // .name or !name: see qualifier
inline constexpr uint16_t kRefBang = 2;        // !name
inline constexpr uint16_t kRefTypeName = 4;    // As T, New T, TypeOf .. Is T, Implements T
inline constexpr uint16_t kRefLabel = 8;       // GoTo / GoSub / Resume / On Error target
inline constexpr uint16_t kRefInactive = 16;   // in a dead #If branch: a name only
inline constexpr uint16_t kRefLiteral = 32;    // a string literal naming a member: CallByName o, "X"
inline constexpr uint16_t kRefNamedArg = 64;   // name:= of a call (qualifier: the called reference)
inline constexpr uint16_t kRefAssign = 128;    // assigned: x = , Let, For x =, ReDim
inline constexpr uint16_t kRefSet = 256;       // Set x =
inline constexpr uint16_t kRefCalled = 512;    // followed by arguments or called as a statement
inline constexpr uint16_t kRefReDim = 1024;
inline constexpr uint16_t kRefRaiseEvent = 2048;
inline constexpr uint16_t kRefAddressOf = 4096;
inline constexpr uint16_t kRefMe = 8192;        // the word Me
inline constexpr uint16_t kRefWiring = 16384;   // made by the binder: an event procedure's name names its source
inline constexpr uint16_t kRefWith = 32768;     // .name inside With (qualifier: the With's object)
// Set by the binder on a member it leaves unbound: a member of a type outside
// the projects (a TextBox's Text, a Collection's Count), never of theirs.
inline constexpr uint32_t kRefExternal = 1u << 16;
inline constexpr uint32_t kRefImplements = 1u << 17;  // the interface of an Implements line

inline constexpr uint32_t kUnbound = 0xFFFFFFFFu;

struct Ref {
  Atom name = kNoAtom;
  int32_t line = 0;
  uint16_t column = 0;  // 1-based
  uint16_t length = 0;
  int32_t qualifier = kNoQualifier;  // index of the reference this is a member of
  uint32_t target = kUnbound;        // set by the binder: the symbol
  uint32_t flags = 0;
};

struct ParseError {
  int32_t line = 0;
  int32_t column = 0;  // 1-based
  std::string message;
};

// A member attribute line seen in the code (Attribute Item.VB_UserMemId = 0).
struct MemberAttribute {
  Atom member = kNoAtom;
  Atom attribute = kNoAtom;
  int32_t value = 0;
};

struct ModuleSyntax {
  std::vector<Decl> decls;
  std::vector<Ref> refs;
  std::vector<ParseError> errors;
  std::vector<int32_t> procedures;  // decls of procedures, in line order
  std::vector<MemberAttribute> attributes;
  int32_t lineCount = 0;
  bool optionExplicit = false;
};

}  // namespace tarno::lang
