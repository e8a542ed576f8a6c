#include "codegen/procedure_list.h"

#include "platform/vb_text.h"

namespace tarno::codegen {

std::u16string ModuleKindText(int componentType) {
  switch (componentType) {
    case ide::ComponentType::StdModule: return vb::U("標準 モジュール");
    case ide::ComponentType::ClassModule: return vb::U("クラス モジュール");
    case ide::ComponentType::VBForm: return vb::U("フォーム モジュール");
    case ide::ComponentType::MDIForm: return vb::U("MDIフォーム モジュール");
    case ide::ComponentType::UserControl: return vb::U("ユーザー コントロール");
    case ide::ComponentType::DocObject: return vb::U("ユーザー ドキュメント");
    default: return u"";
  }
}

std::u16string ScopeText(int scope) {
  switch (scope) {
    case ide::MemberScope::Private: return u"Private";
    case ide::MemberScope::Public: return u"Public";
    case ide::MemberScope::Friend: return u"Friend";
    default: return u"";
  }
}

std::u16string PropertyKindText(int kind) {
  switch (kind) {
    case ide::ProcKind::Get: return vb::U("プロパティ[Get]");
    case ide::ProcKind::Let: return vb::U("プロパティ[Let]");
    case ide::ProcKind::Set: return vb::U("プロパティ[Set]");
    default: return u"";
  }
}

std::vector<ProcedureRow> ListProcedures(ide::CodeModule& module) {
  std::vector<ProcedureRow> rows;
  std::vector<ide::Member> members;
  int declarationLines = 0;
  try {
    members = module.Members();
    declarationLines = module.CountOfDeclarationLines();
  } catch (const ide::HostError&) {
    return rows;
  }
  for (const auto& member : members) {
    if (member.Type == ide::MemberType::Method || member.Type == ide::MemberType::Event) {
      try {
        int start = module.ProcStartLine(member.Name, ide::ProcKind::Proc);
        // Declared external routines sit in the declarations and are no procedures here.
        if (declarationLines < start) {
          rows.push_back({member.Name, start, ide::ProcKind::Proc, ScopeText(member.Scope),
                          member.Type == ide::MemberType::Method ? vb::U("メソッド") : vb::U("イベント")});
        }
      } catch (const ide::HostError&) {
      }
    } else if (member.Type == ide::MemberType::Property) {
      for (int kind : {ide::ProcKind::Get, ide::ProcKind::Let, ide::ProcKind::Set}) {
        try {
          int start = module.ProcStartLine(member.Name, kind);
          if (declarationLines < start)
            rows.push_back({member.Name, start, kind, ScopeText(member.Scope), PropertyKindText(kind)});
        } catch (const ide::HostError&) {
          // The property lacks this accessor.
        }
      }
    }
  }
  return rows;
}

std::optional<int> FirstAcceptedKind(ide::CodeModule& module, const std::u16string& name) {
  for (int kind : {ide::ProcKind::Proc, ide::ProcKind::Get, ide::ProcKind::Let, ide::ProcKind::Set}) {
    try {
      module.ProcStartLine(name, kind);
      return kind;
    } catch (const ide::HostError&) {
    }
  }
  return std::nullopt;
}

}  // namespace tarno::codegen
