#pragma once
// Texts that a language file beside the saver may replace, each under a fixed key of its
// "Language" section with the built-in English text as the default. Callers look texts up only
// when the language file exists; otherwise they keep their own designed texts.
#include <string>
#include <string_view>

#include "platform/files.h"

namespace ss {

enum class LanguageText { Title, Author, Email, Web, btnOK, MuteMusic, DownloadSWF };

// A value longer than this is cut to its first kMaxLanguageText characters.
inline constexpr size_t kMaxLanguageText = 2047;

std::string_view language_key(LanguageText text);
std::string_view language_default(LanguageText text);

// The value under the text's key, exactly as read, or the default when the key is missing.
std::string read_language_text(FileSystem& files, const std::string& language_path,
                               LanguageText text);

}  // namespace ss
