// Where Windows is not, the profile functions are the portable stand-ins.
#include "platform/profile.h"

namespace tarno::win {

uint32_t GetPrivateProfileStringA(OptText lpAppName, OptText lpKeyName, std::string_view lpDefault,
                                  std::string& lpReturnedString, uint32_t nSize,
                                  const std::filesystem::path& lpFileName) {
  return portable::GetPrivateProfileStringA(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize, lpFileName);
}

bool WritePrivateProfileStringA(OptText lpAppName, OptText lpKeyName, OptText lpString,
                                const std::filesystem::path& lpFileName) {
  return portable::WritePrivateProfileStringA(lpAppName, lpKeyName, lpString, lpFileName);
}

bool WritePrivateProfileSectionA(std::string_view lpAppName, OptText lpString,
                                 const std::filesystem::path& lpFileName) {
  return portable::WritePrivateProfileSectionA(lpAppName, lpString, lpFileName);
}

}  // namespace tarno::win
