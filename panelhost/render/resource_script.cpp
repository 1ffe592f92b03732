#include "render/resource_script.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

#include "render/render_error.h"
#include "support/bounded_file.h"
#include "support/shown_text.h"

namespace panelhost {

namespace {

constexpr int kMaxIncludeDepth = 16;
// Includes of empty files cost no bytes; this keeps a tree of them from being opened endlessly.
constexpr int kMostScripts = 256;

// Windows resource memory options, accepted between the type and the file name and ignored.
const char* const kMemoryOptions[] = {"DISCARDABLE", "MOVEABLE", "FIXED",     "PURE",
                                      "IMPURE",      "PRELOAD",  "LOADONCALL"};

std::string upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

struct Token {
  std::string text;
  bool quoted = false;
};

// Blanks out comments, keeping line breaks so that line numbers stay true.
std::string withoutComments(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      out += c;
      if (c == '\\' && i + 1 < text.size()) {
        out += text[++i];
      } else if (c == '"' || c == '\n') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
      out += c;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
      if (i < text.size()) out += '\n';
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      i += 2;
      while (i < text.size() && !(text[i] == '*' && i + 1 < text.size() && text[i + 1] == '/')) {
        if (text[i] == '\n') out += '\n';
        ++i;
      }
      ++i;  // past the closing '/'
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

class ResourceScriptParser {
 public:
  explicit ResourceScriptParser(ResourceScript& result) : result_(result) {}

  void parseFile(const std::filesystem::path& script, int depth) {
    if (depth > kMaxIncludeDepth) {
      throw RenderError(script.string() + ": includes nested more than " +
                        std::to_string(kMaxIncludeDepth) + " deep (an include loop?)");
    }
    // The limits cover the whole tree, so includes cannot multiply what is read.
    if (++scriptsRead_ > kMostScripts) {
      throw RenderError(shownText(script.string(), kShownPathBytes) + ":1: expected at most " +
                        std::to_string(kMostScripts) +
                        " resource scripts with the includes, got more");
    }
    const BoundedFile file = readBoundedFile(script.string(), budget_);
    if (file.outcome == BoundedFile::Outcome::TooLarge) {
      throw RenderError(tooLargeMessage(script.string(), file, kLargestTextFile,
                                        "a resource script with its includes"));
    }
    if (file.outcome != BoundedFile::Outcome::Read) {
      throw RenderError(shownText(script.string(), kShownPathBytes) +
                        ": cannot open the resource script");
    }
    budget_ -= file.text.size();
    std::istringstream lines(withoutComments(file.text));

    int blockDepth = 0;
    int lineNumber = 0;
    std::string line;
    while (std::getline(lines, line)) {
      ++lineNumber;
      const std::string where = script.string() + ":" + std::to_string(lineNumber);
      std::vector<Token> tokens = tokenize(line, where);
      if (tokens.empty()) continue;
      const std::string first = upper(tokens[0].text);
      if (!tokens[0].quoted && !first.empty() && first[0] == '#') {
        directive(tokens, script, where, depth);
        continue;
      }
      // Blocks belong to statements we pass over (VERSIONINFO, STRINGTABLE, DIALOG, ...).
      for (const Token& t : tokens) {
        if (t.quoted) continue;
        const std::string word = upper(t.text);
        if (word == "BEGIN" || word == "{") ++blockDepth;
        if (word == "END" || word == "}") {
          if (blockDepth == 0) throw RenderError(where + ": " + t.text + " without a BEGIN");
          --blockDepth;
        }
      }
      if (blockDepth > 0 || tokens.size() < 2 || upper(tokens[1].text) != "BITMAP" ||
          tokens[1].quoted) {
        continue;
      }
      bitmapStatement(tokens, script, where);
    }
    if (blockDepth != 0) {
      throw RenderError(script.string() + ": the file ends inside a BEGIN ... END block");
    }
  }

 private:
  static std::vector<Token> tokenize(const std::string& line, const std::string& where) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
      const unsigned char c = static_cast<unsigned char>(line[i]);
      if (std::isspace(c) || c == ',') {
        ++i;
      } else if (c == '"' || c == '<') {
        const char close = c == '"' ? '"' : '>';
        Token t{"", true};
        ++i;
        while (i < line.size() && line[i] != close) {
          if (close == '"' && line[i] == '\\' && i + 1 < line.size()) ++i;
          t.text += line[i++];
        }
        if (i >= line.size()) throw RenderError(where + ": a quoted text is not closed");
        ++i;
        tokens.push_back(t);
      } else {
        Token t;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])) &&
               line[i] != ',' && line[i] != '"') {
          t.text += line[i++];
        }
        tokens.push_back(t);
      }
    }
    return tokens;
  }

  void directive(const std::vector<Token>& tokens, const std::filesystem::path& script,
                 const std::string& where, int depth) {
    const std::string name = tokens[0].text;
    if (name == "#include") {
      if (tokens.size() != 2 || !tokens[1].quoted) {
        throw RenderError(where + ": expected #include \"file.rc\"");
      }
      parseFile(script.parent_path() / normalisedPath(tokens[1].text), depth + 1);
    } else if (name == "#define" && tokens.size() >= 3) {
      defines_[tokens[1].text] = tokens[2].text;
    }
    // Other directives (#pragma code_page and the like) do not bear on the bitmaps.
  }

  void bitmapStatement(const std::vector<Token>& tokens, const std::filesystem::path& script,
                       const std::string& where) {
    const std::uint32_t id = resourceId(tokens[0], where);
    std::size_t next = 2;
    while (next < tokens.size() && !tokens[next].quoted &&
           std::find(std::begin(kMemoryOptions), std::end(kMemoryOptions),
                     upper(tokens[next].text)) != std::end(kMemoryOptions)) {
      ++next;
    }
    if (next >= tokens.size() || !tokens[next].quoted || next + 1 != tokens.size()) {
      throw RenderError(where + ": expected ID BITMAP \"file.bmp\"");
    }
    if (tokens[next].text.empty()) throw RenderError(where + ": the bitmap file name is empty");
    auto earlier = origins_.find(id);
    if (earlier != origins_.end()) {
      throw RenderError(where + ": bitmap " + std::to_string(id) + " is already named at " +
                        earlier->second);
    }
    origins_[id] = where;
    result_.bitmaps_.push_back(
        BitmapResource{id, script.parent_path() / normalisedPath(tokens[next].text), where});
  }

  std::uint32_t resourceId(const Token& token, const std::string& where) const {
    std::string text = token.text;
    auto defined = defines_.find(text);
    if (defined != defines_.end()) text = defined->second;
    std::size_t used = 0;
    unsigned long value = 0;
    try {
      const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
      value = std::stoul(text, &used, hex ? 16 : 10);
    } catch (const std::exception&) {
      used = 0;
    }
    if (token.quoted || text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])) ||
        used != text.size() || value == 0 || value > 0xFFFF) {
      throw RenderError(where + ": bitmap id \"" + token.text +
                        "\"; expected a number from 1 to 65535");
    }
    return static_cast<std::uint32_t>(value);
  }

  // Resource scripts written on Windows separate folders with backslashes.
  static std::string normalisedPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
  }

  ResourceScript& result_;
  std::size_t budget_ = kLargestTextFile;
  int scriptsRead_ = 0;
  std::map<std::string, std::string> defines_;
  std::map<std::uint32_t, std::string> origins_;
};

ResourceScript ResourceScript::load(const std::filesystem::path& script) {
  ResourceScript result;
  ResourceScriptParser(result).parseFile(script, 0);
  return result;
}

}  // namespace panelhost
