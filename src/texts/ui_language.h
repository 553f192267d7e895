#pragma once
// The language the command line speaks to its user: Japanese for a Japanese locale, English
// otherwise. (Every other text of the program is Japanese whatever the locale.)

namespace dovrek {

enum class Language { kEnglish, kJapanese };

// The language of the locale that applies to messages: the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty, as POSIX orders them; Japanese when it begins with "ja".
// Null stands for a variable that is not set.
Language LanguageOfLocale(const char* lc_all, const char* lc_messages, const char* lang);

// LanguageOfLocale of this process's environment.
Language UserLanguage();

}  // namespace dovrek
