#include "workbench/code_page_guess.h"

#include <fstream>
#include <sstream>
#include <unordered_set>

#include "host/files/vbp_file.h"
#include "platform/code_page.h"

namespace tarno::workbench {
namespace {

namespace files = host::files;

// The code pages a guess chooses between; a tie goes to the first.
const std::vector<std::string>& Candidates() {
  static const std::vector<std::string> pages = {"CP932", "CP1252", "CP936", "CP949", "CP950"};
  return pages;
}

bool ValidUtf8(std::string_view s, bool& nonAscii) {
  for (size_t i = 0; i < s.size();) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    nonAscii = true;
    size_t len = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
    if (len == 0 || (b >= 0xF5) || i + len > s.size()) return false;
    char32_t cp = b & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
      unsigned char c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = cp << 6 | (c & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

// Characters frequent in Chinese and Korean text (and in programs' messages).
// Korean decodes as valid Chinese and the other way round, Japanese as valid
// Korean: only how often the decoded characters are common tells them apart.
const std::unordered_set<char16_t>& CommonIn(const std::string& code_page) {
  static const auto make = [](const char16_t* chars) {
    std::unordered_set<char16_t> set;
    for (const char16_t* c = chars; *c; ++c) set.insert(*c);
    return set;
  };
  static const std::unordered_set<char16_t> simplified = make(
      u"的一是不了在人有我他这个们中来上大为和国地到以说时要就出会可也你对生能而子那得于着下自之年过发后作里用道行所然家种事"
      u"成方多经么去法学如都同现当没动面起看定天分还进好小部其些主样理心她本前开但因只从想实请输入户名码错误文件数据保存打"
      u"确取消失败功信息提示设置窗口选择删除修改查询加载图像颜色大小值表格行列无效");
  static const std::unordered_set<char16_t> traditional = make(
      u"的一是不了在人有我他這個們中來上大為和國地到以說時要就出會可也你對生能而子那得於著下自之年過發後作裡用道行所然家種事"
      u"成方多經麼去法學如都同現當沒動面起看定天分還進好小部其些主樣理心她本前開但因只從想實請輸入戶名碼錯誤文件檔案資料保存"
      u"打確取消失敗功訊息提示設置窗選擇刪除修改查詢載圖像顏色值表格列無效");
  static const std::unordered_set<char16_t> korean = make(
      u"이의는을에가다하고지기서한로도으를사자리대수있게해나시아인정그여보것일부전상들주어만라내면적제동없요와과세니까"
      u"요습합니했된할용름입력오류파저장열확취소데터선택삭변경검색설치화창값행없음실패성공메뉴종료");
  static const std::unordered_set<char16_t> none;
  if (code_page == "CP936") return simplified;
  if (code_page == "CP950") return traditional;
  if (code_page == "CP949") return korean;
  return none;
}

bool AsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Lines with non-ASCII bytes, at most `budget` bytes of them in all.
void NonAsciiLines(std::string_view bytes, std::string& out, size_t budget) {
  size_t start = 0;
  while (start < bytes.size() && out.size() < budget) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    for (char c : line)
      if (static_cast<unsigned char>(c) >= 0x80) {
        out.append(line);
        out.push_back('\n');
        break;
      }
    start = end + 1;
  }
}

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return {};
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void AddProjectFiles(const std::filesystem::path& vbp, std::vector<std::string>& out) {
  std::string bytes = ReadAll(vbp);
  if (bytes.empty()) return;
  files::VbpFile file = files::VbpFile::Parse(vbp, bytes, nullptr);
  out.push_back(std::move(bytes));
  for (const auto& line : file.components()) {
    if (line.kind == files::VbpComponentKind::ResFile) continue;
    // Component paths are ASCII in most projects; a non-ASCII one is looked
    // for as written and skipped when not found.
    if (auto found = files::ResolveWindowsPath(vbp.parent_path(), line.path)) out.push_back(ReadAll(*found));
  }
}

}  // namespace

const std::vector<std::string>& OfferedCodePages() {
  static const std::vector<std::string> pages = {"CP932",  "CP1252", "CP936",  "CP949",  "CP950",
                                                 "UTF-8",  "CP1250", "CP1251", "CP1253", "CP1254",
                                                 "CP1255", "CP1256", "CP1257", "CP1258", "CP874"};
  return pages;
}

double TextLikeness(std::string_view bytes, const std::string& code_page) {
  const std::u16string text = CodePage::Named(code_page).Decode(bytes);
  const auto& common = CommonIn(code_page);
  double score = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c < 0x80) continue;
    if (common.count(c)) score += 2;
    if (c >= 0xDC80 && c <= 0xDCFF) score -= 4;                       // a byte the code page cannot decode
    else if (c >= 0x3041 && c <= 0x30FF) score += 3;                  // kana
    else if (c >= 0xAC00 && c <= 0xD7A3) score += 1;                  // Hangul syllables
    else if (c >= 0x3000 && c <= 0x303F) score += 2;                  // CJK punctuation
    else if (c >= 0x4E00 && c <= 0x9FFF) score += 1;                  // ideographs
    else if (c >= 0xFF01 && c <= 0xFF5E) score += 1;                  // full-width forms
    else if (c >= 0xE000 && c <= 0xF8FF) score -= 2;                  // user-defined characters
    else if (c >= 0xFF61 && c <= 0xFF9F) {                             // half-width kana: in runs
      auto kana = [](char16_t k) { return k >= 0xFF61 && k <= 0xFF9F; };
      bool run = (i > 0 && kana(text[i - 1])) || (i + 1 < text.size() && kana(text[i + 1]));
      score += run ? 1 : -1;
    } else if (c >= 0xA0 && c <= 0xFF && c != 0xD7 && c != 0xF7) {    // Latin-1 letters and signs
      bool inWord = (i > 0 && AsciiLetter(text[i - 1])) || (i + 1 < text.size() && AsciiLetter(text[i + 1]));
      if (inWord) score += c >= 0xC0 ? 2 : 1;
    } else if (c < 0xA0 || (c >= 0x2000 && c <= 0x206F) || c == 0x192 || c == 0x2C6 || c == 0x2DC) {
      score -= 1;  // symbols a Western code page gives for lead and trail bytes
    }
  }
  return score;
}

CodePageGuess GuessCodePage(const std::vector<std::string>& contents) {
  CodePageGuess guess;
  bool nonAscii = false, utf8 = true;
  for (const auto& f : contents) utf8 = ValidUtf8(f, nonAscii) && utf8;
  if (!nonAscii) return guess;
  if (utf8) {
    guess.code_page = "UTF-8";
    guess.utf8 = true;
    return guess;
  }
  std::string sample;
  for (const auto& f : contents) NonAsciiLines(f, sample, 256 * 1024);
  double best = 0;
  for (const auto& cp : Candidates()) {
    double score = TextLikeness(sample, cp);
    if (guess.code_page.empty() || score > best) guess.code_page = cp, best = score;
  }
  return guess;
}

CodePageGuess GuessProjectCodePage(const std::filesystem::path& path) {
  std::vector<std::string> contents;
  std::string ext = path.extension().string();
  for (auto& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (ext == ".vbg") {
    std::string bytes = ReadAll(path);
    if (!bytes.empty()) {
      files::VbgFile group = files::VbgFile::Parse(path, bytes, nullptr);
      contents.push_back(std::move(bytes));
      for (const auto& p : group.projects())
        if (auto found = files::ResolveWindowsPath(path.parent_path(), p.path)) AddProjectFiles(*found, contents);
    }
  } else if (ext == ".vbp") {
    AddProjectFiles(path, contents);
  } else {
    contents.push_back(ReadAll(path));
  }
  return GuessCodePage(contents);
}

}  // namespace tarno::workbench
