#include "atlas/TextFolding.h"

#include <cctype>
#include <set>

namespace velmora::atlas {

namespace {

// Appends code point `c` to `out` in UTF-8.
void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code points of UTF-8 text; a byte that does not start a valid sequence becomes a blank.
std::u32string decodeUtf8(std::string_view text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3
                                          : (lead >> 3) == 30 ? 4 : 0;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next >> 6) == 2;
            c = (c << 6) | (next & 0x3F);
        }
        out += valid ? c : U' ';
        i += valid ? length : 1;
    }
    return out;
}

// Characters that only shape or order the text: the tatweel and the bidirectional and joining
// controls that some translations carry.
bool isLayoutMark(char32_t c)
{
    return c == 0x0640 || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

// Arabic short vowels, tanwin, shadda, sukun, the dagger alif and Quranic marks.
bool isArabicMark(char32_t c)
{
    return (c >= 0x0610 && c <= 0x061A) || (c >= 0x064B && c <= 0x065F) || c == 0x0670 ||
           (c >= 0x06D6 && c <= 0x06ED);
}

// One letter for the forms a searcher may type for it.
char32_t foldLetter(char32_t c)
{
    switch (c) {
    case 0x0622: case 0x0623: case 0x0625: case 0x0671: return 0x0627; // آ أ إ ٱ -> ا
    case 0x0624: return 0x0648;                                         // ؤ -> و
    case 0x0626: case 0x0649: case 0x06CC: return 0x064A;               // ئ ى ی -> ي
    case 0x0629: return 0x0647;                                         // ة -> ه
    case 0x06A9: return 0x0643;                                         // ک -> ك
    case 0x060C: return U',';                                           // Arabic comma
    default: return c;
    }
}

// How a Latin letter that is not a letter with an accent is typed on a plain keyboard; the
// tokenizer takes the accents off the others. Nullptr for the letters kept.
const char* plainSpelling(char32_t c)
{
    switch (c) {
    case 0x00D8: case 0x00F8: return "o";   // Ø ø
    case 0x00C6: case 0x00E6: return "ae";  // Æ æ
    case 0x0152: case 0x0153: return "oe";  // Œ œ
    case 0x00DF: case 0x1E9E: return "ss";  // ß ẞ
    case 0x0141: case 0x0142: return "l";   // Ł ł
    case 0x0110: case 0x0111: case 0x00D0: case 0x00F0: return "d"; // Đ đ Ð ð
    case 0x00DE: case 0x00FE: return "th";  // Þ þ
    case 0x0126: case 0x0127: return "h";   // Ħ ħ
    case 0x0131: return "i";                // ı
    default: return nullptr;
    }
}

} // namespace

// The text as shown: without layout marks, trimmed.
std::string displayText(std::string_view text)
{
    std::string out;
    for (char32_t c : decodeUtf8(text)) {
        if (!isLayoutMark(c))
            appendUtf8(out, c);
    }
    const auto first = out.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

// The text as searched. Case and Latin accents are left to the full-text tokenizer.
std::string searchText(std::string_view text)
{
    std::string out;
    for (char32_t c : decodeUtf8(text)) {
        if (const char* plain = plainSpelling(c))
            out += plain;
        else if (!isLayoutMark(c) && !isArabicMark(c))
            appendUtf8(out, foldLetter(c));
    }
    return out;
}

// Words of searched text: split at ASCII blanks and punctuation, which also keeps quotes and
// operators out of the full-text expression.
std::vector<std::string> words(const std::string& text)
{
    std::vector<std::string> out;
    std::string word;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || std::isalnum(byte)) {
            word += c;
        } else if (!word.empty()) {
            out.push_back(word);
            word.clear();
        }
    }
    if (!word.empty())
        out.push_back(word);
    return out;
}

// The word without the Arabic article, when something remains.
std::string withoutArticle(const std::string& word)
{
    static const std::string article = "\u0627\u0644"; // ال
    const bool hasArticle =
        word.size() > article.size() && word.compare(0, article.size(), article) == 0;
    return hasArticle ? word.substr(article.size()) : word;
}

// Text as indexed: its searched words, each also without its article, so that a name is found
// whether or not the article is typed ("الرباط" finds رباط, "رياض" finds الرياض). A word the
// names repeat is indexed once, which keeps the many names of a place small.
std::string indexedWords(std::string_view text)
{
    std::string out;
    std::set<std::string> seen;
    for (const std::string& word : words(searchText(text))) {
        for (const std::string& key : {word, withoutArticle(word)}) {
            if (seen.insert(key).second)
                out += key + " ";
        }
    }
    return out;
}

// Each word in quotes, so that no word is read as an operator.
std::string wordBeginnings(std::string_view query)
{
    std::string expression;
    for (const std::string& word : words(searchText(query))) {
        expression += (expression.empty() ? "\"" : " AND \"") + withoutArticle(word) + "\"*";
    }
    return expression;
}

} // namespace velmora::atlas
