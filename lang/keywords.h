// The words the parser looks for. Reserved words are never names where an
// expression or a declared name stands (after "." or "!" every word is a
// member name); the contextual words are names everywhere except in the one
// statement that gives them a meaning (`Lib`, `Alias`, `Explicit`, `Open`'s
// `Input` and `Binary`, ...).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarno::lang {

// X(identifier, spelling, reserved)
#define TARNO_LANG_KEYWORDS(X)                                                                                 \
  X(AddressOf, "AddressOf", 1) X(And, "And", 1) X(As, "As", 1) X(ByRef, "ByRef", 1) X(ByVal, "ByVal", 1)     \
  X(Call, "Call", 1) X(Case, "Case", 1) X(Const, "Const", 1) X(Declare, "Declare", 1) X(Dim, "Dim", 1)       \
  X(Do, "Do", 1) X(Each, "Each", 1) X(Else, "Else", 1) X(ElseIf, "ElseIf", 1) X(Empty, "Empty", 1)           \
  X(End, "End", 1) X(EndIf, "EndIf", 1) X(Enum, "Enum", 1) X(Eqv, "Eqv", 1) X(Erase, "Erase", 1)             \
  X(Event, "Event", 1) X(Exit, "Exit", 1) X(False, "False", 1) X(For, "For", 1) X(Friend, "Friend", 1)       \
  X(Function, "Function", 1) X(Global, "Global", 1) X(GoSub, "GoSub", 1) X(GoTo, "GoTo", 1) X(If, "If", 1)  \
  X(Imp, "Imp", 1) X(Implements, "Implements", 1) X(In, "In", 1) X(Is, "Is", 1) X(Let, "Let", 1)             \
  X(Like, "Like", 1) X(Loop, "Loop", 1) X(LSet, "LSet", 1) X(Me, "Me", 1) X(Mod, "Mod", 1) X(New, "New", 1)  \
  X(Next, "Next", 1) X(Not, "Not", 1) X(Nothing, "Nothing", 1) X(Null, "Null", 1) X(On, "On", 1)             \
  X(Option, "Option", 1) X(Optional, "Optional", 1) X(Or, "Or", 1) X(ParamArray, "ParamArray", 1)           \
  X(Preserve, "Preserve", 1) X(Private, "Private", 1) X(Property, "Property", 1) X(Public, "Public", 1)     \
  X(RaiseEvent, "RaiseEvent", 1) X(ReDim, "ReDim", 1) X(Rem, "Rem", 1) X(Resume, "Resume", 1)               \
  X(Return, "Return", 1) X(RSet, "RSet", 1) X(Select, "Select", 1) X(Set, "Set", 1) X(Static, "Static", 1)  \
  X(Step, "Step", 0) X(Stop, "Stop", 1) X(Sub, "Sub", 1) X(Then, "Then", 1) X(To, "To", 1)                  \
  X(True, "True", 1) X(Type, "Type", 1) X(TypeOf, "TypeOf", 1) X(Until, "Until", 1) X(Wend, "Wend", 1)       \
  X(While, "While", 1) X(With, "With", 1) X(WithEvents, "WithEvents", 1) X(Xor, "Xor", 1)                   \
  /* contextual words */                                                                                     \
  X(Access, "Access", 0) X(Alias, "Alias", 0) X(Any, "Any", 0) X(Append, "Append", 0)                        \
  X(Attribute, "Attribute", 0) X(Base, "Base", 0) X(Binary, "Binary", 0) X(Boolean, "Boolean", 0)           \
  X(Byte, "Byte", 0) X(CallByName, "CallByName", 0) X(Close, "Close", 0) X(Compare, "Compare", 0)           \
  X(Controls, "Controls", 0) X(Currency, "Currency", 0) X(Database, "Database", 0) X(Date, "Date", 0)       \
  X(Decimal, "Decimal", 0) X(DefBool, "DefBool", 0) X(DefByte, "DefByte", 0) X(DefCur, "DefCur", 0)         \
  X(DefDate, "DefDate", 0) X(DefDbl, "DefDbl", 0) X(DefDec, "DefDec", 0) X(DefInt, "DefInt", 0)              \
  X(DefLng, "DefLng", 0) X(DefLngLng, "DefLngLng", 0) X(DefLngPtr, "DefLngPtr", 0) X(DefObj, "DefObj", 0)  \
  X(DefSng, "DefSng", 0) X(DefStr, "DefStr", 0) X(DefVar, "DefVar", 0) X(Double, "Double", 0)               \
  X(Error, "Error", 0) X(Explicit, "Explicit", 0) X(Get, "Get", 0) X(Input, "Input", 0)                      \
  X(Integer, "Integer", 0) X(Lib, "Lib", 0) X(Line, "Line", 0) X(Local, "Local", 0) X(Lock, "Lock", 0)       \
  X(Long, "Long", 0) X(LongLong, "LongLong", 0) X(LongPtr, "LongPtr", 0) X(Module, "Module", 0)             \
  X(Name, "Name", 0) X(Object, "Object", 0) X(Open, "Open", 0) X(Output, "Output", 0)                        \
  X(PtrSafe, "PtrSafe", 0) X(Put, "Put", 0) X(Random, "Random", 0) X(Read, "Read", 0) X(Seek, "Seek", 0)     \
  X(Shared, "Shared", 0) X(Single, "Single", 0) X(String, "String", 0) X(Text, "Text", 0)                   \
  X(Unlock, "Unlock", 0) X(Variant, "Variant", 0) X(Width, "Width", 0) X(Write, "Write", 0)                 \
  X(Print, "Print", 0) X(Len, "Len", 0)

enum class Kw : uint16_t {
#define TARNO_LANG_KW_ENUM(id, text, reserved) id,
  TARNO_LANG_KEYWORDS(TARNO_LANG_KW_ENUM)
#undef TARNO_LANG_KW_ENUM
      Count
};

inline constexpr size_t kKeywordCount = static_cast<size_t>(Kw::Count);

std::u16string_view KeywordText(Kw k);
// Whether the atom (of any NameTable) is a reserved word.
bool IsReserved(uint32_t atom);
// Whether the atom names one of VB's own data types (no declaration behind it).
bool IsBuiltinType(uint32_t atom);

inline constexpr uint32_t A(Kw k) { return static_cast<uint32_t>(k); }

}  // namespace tarno::lang
