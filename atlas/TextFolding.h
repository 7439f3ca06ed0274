#pragma once

#include <string>
#include <string_view>
#include <vector>

// How names are searched, shared by the place index and the chart library: text is folded to
// the forms a searcher may type, then matched by SQLite's full-text search with
// kFoldedTokenizer, which takes case and Latin accents off.
namespace velmora::atlas {

// The tokenizer of every folded full-text table.
inline constexpr const char* kFoldedTokenizer = "unicode61 remove_diacritics 2";

// The text as shown: without layout marks (tatweel, bidirectional controls), trimmed.
std::string displayText(std::string_view text);

// The text as searched: without Arabic short vowels and layout marks, the seat of hamza, taa
// marbuta and alif maqsura folded, and letters such as ø æ ß ł đ written o ae ss l d.
std::string searchText(std::string_view text);

// Words of searched text: split at ASCII blanks and punctuation.
std::vector<std::string> words(const std::string& text);

// The word without the Arabic article, when something remains.
std::string withoutArticle(const std::string& word);

// Text as indexed: its searched words, each also without its article, each once.
std::string indexedWords(std::string_view text);

// A full-text expression in which every word of `query` begins a word of indexedWords text;
// empty when the query has no word.
std::string wordBeginnings(std::string_view query);

} // namespace velmora::atlas
