#pragma once
// The saver's texts are 8-bit, in one ANSI code page; the manifest's are UTF-8.
#include <string>
#include <string_view>

#include "package/ss_file_locations.h"

namespace slidemake {

// 1250 to 1258, 874 and 932.
bool is_supported_code_page(int code_page);

// Throws naming `field` and the first character the code page cannot hold (as U+XXXX), or the
// first byte that is not UTF-8.
std::string utf8_to_code_page(std::string_view utf8, int code_page, const std::string& field);
// Bytes the code page does not define become U+FFFD.
std::string code_page_to_utf8(std::string_view text, int code_page);

// Every text of the record, field by field, in place; the caption font's charset is set to
// name the code page.
void encode_settings_texts(ss::TSSFileLocations& settings, int code_page);
// The reverse, for showing a saver's texts; the code page comes from the font's charset.
void decode_settings_texts(ss::TSSFileLocations& settings);

}  // namespace slidemake
