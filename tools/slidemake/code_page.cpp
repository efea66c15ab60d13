#include "code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include "base/text.h"

namespace slidemake {
namespace {

// One conversion through iconv; `on_bad` decides what happens at a sequence it cannot convert
// (given the input that is left) and returns how many input bytes to skip.
template <typename OnBad>
std::string convert(std::string_view text, const std::string& to, const std::string& from,
                    OnBad on_bad) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error("the system cannot convert " + from + " to " + to);
  const std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
  std::string input(text);
  char* in = input.data();
  size_t in_left = input.size();
  std::string out;
  std::vector<char> block(4096);
  while (in_left > 0) {
    char* o = block.data();
    size_t o_left = block.size();
    const size_t r = iconv(cd, &in, &in_left, &o, &o_left);
    out.append(block.data(), block.size() - o_left);
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    const size_t skip = on_bad(std::string_view(in, in_left), out);
    in += skip;
    in_left -= skip;
  }
  return out;
}

// The code point at the start of a UTF-8 text, and its length; 0 length when it is not UTF-8.
std::pair<uint32_t, size_t> first_code_point(std::string_view s) {
  const auto b = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  if (s.empty()) return {0, 0};
  const uint8_t lead = b(0);
  size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || length > s.size()) return {lead, 0};
  uint32_t cp = length == 1 ? lead : lead & (0x3F >> (length - 1));
  for (size_t i = 1; i < length; ++i) {
    if ((b(i) & 0xC0) != 0x80) return {lead, 0};
    cp = cp << 6 | (b(i) & 0x3F);
  }
  return {cp, length};
}

std::string code_point_name(uint32_t cp) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", cp);
  return name;
}

std::string iconv_name(int code_page) {
  return "CP" + std::to_string(code_page);
}

void encode_list(ss::CommaList& list, int code_page, const std::string& field) {
  for (size_t i = 0; i < list.items().size(); ++i)
    list.items()[i] =
        utf8_to_code_page(list.items()[i], code_page, field + "[" + std::to_string(i) + "]");
}

void decode_list(ss::CommaList& list, int code_page) {
  for (std::string& item : list.items()) item = code_page_to_utf8(item, code_page);
}

}  // namespace

bool is_supported_code_page(int code_page) {
  return ss::charset_for_code_page(code_page).has_value();
}

std::string utf8_to_code_page(std::string_view utf8, int code_page, const std::string& field) {
  return convert(utf8, iconv_name(code_page), "UTF-8",
                 [&](std::string_view rest, std::string&) -> size_t {
                   const auto [cp, length] = first_code_point(rest);
                   if (length == 0)
                     throw std::runtime_error(field + ": the text is not UTF-8 (byte 0x" +
                                              code_point_name(cp).substr(4) + ")");
                   throw std::runtime_error(field + ": the character " + code_point_name(cp) +
                                            " (" + std::string(rest.substr(0, length)) +
                                            ") is not in code page " + std::to_string(code_page) +
                                            "; choose another with --codepage or leave it out");
                 });
}

std::string code_page_to_utf8(std::string_view text, int code_page) {
  return convert(text, "UTF-8", iconv_name(code_page),
                 [](std::string_view, std::string& out) -> size_t {
                   out += "\xEF\xBF\xBD";
                   return 1;
                 });
}

void encode_settings_texts(ss::TSSFileLocations& s, int code_page) {
  if (!is_supported_code_page(code_page))
    throw std::runtime_error("code page " + std::to_string(code_page) +
                             " is not one a saver can use (1250 to 1258, 874 or 932)");
  const auto text = [&](std::string& value, const char* field) {
    value = utf8_to_code_page(value, code_page, std::string("settings.") + field);
  };
  text(s.Text, "Text");
  text(s.TextFont.Name, "TextFont.Name");
  text(s.Title, "Title");
  text(s.Author, "Author");
  text(s.Email, "Email");
  text(s.Web, "Web");
  text(s.Ver, "Ver");
  encode_list(s.DescriptCommaList, code_page, "pictures.description");
  encode_list(s.PicFileNamesCommaList, code_page, "pictures.file name");
  encode_list(s.SndFileNamesCommaList, code_page, "music.file name");
  encode_list(s.FlashFileNamesCommaList, code_page, "movies.file name");
  // The charset names the code page; a Western saver keeps the one it was given (most often
  // DEFAULT_CHARSET), so its bytes stay what they always were.
  if (ss::code_page_for_charset(s.TextFont.Charset) != code_page)
    s.TextFont.Charset = *ss::charset_for_code_page(code_page);
}

void decode_settings_texts(ss::TSSFileLocations& s) {
  const int code_page = ss::code_page_for_charset(s.TextFont.Charset);
  for (std::string* value :
       {&s.Text, &s.TextFont.Name, &s.Title, &s.Author, &s.Email, &s.Web, &s.Ver})
    *value = code_page_to_utf8(*value, code_page);
  decode_list(s.DescriptCommaList, code_page);
  decode_list(s.PicFileNamesCommaList, code_page);
  decode_list(s.SndFileNamesCommaList, code_page);
  decode_list(s.FlashFileNamesCommaList, code_page);
}

}  // namespace slidemake
