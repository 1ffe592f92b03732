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
constexpr const char* kStatementForm =
    "a resource statement (ID BITMAP \"file.bmp\", ID TYPE ..., a #directive, or BEGIN ... END)";
// Includes of empty files cost no bytes; this keeps a tree of them from being opened endlessly.
constexpr int kMostScripts = 256;

// Words that open a line of a statement's header (VERSIONINFO's FILEVERSION, a DIALOG's STYLE) or a
// statement of their own (STRINGTABLE, LANGUAGE): passed over like the statements themselves.
const char* const kStatementWords[] = {
    "STRINGTABLE", "LANGUAGE", "FILEVERSION", "PRODUCTVERSION",  "FILEFLAGSMASK", "FILEFLAGS",
    "FILEOS",      "FILETYPE", "FILESUBTYPE", "STYLE",           "EXSTYLE",       "CAPTION",
    "CLASS",       "FONT",     "MENU",        "CHARACTERISTICS", "VERSION"};

// The resource types an ID may be followed by; any other type is written as a number.
const char* const kResourceTypes[] = {
    "ACCELERATORS", "ANICURSOR",    "ANIICON",     "BITMAP",  "CURSOR", "DIALOG",   "DIALOGEX",
    "DLGINCLUDE",   "DLGINIT",      "FONT",        "FONTDIR", "HTML",   "ICON",     "MENU",
    "MENUEX",       "MESSAGETABLE", "PLUGPLAY",    "PNG",     "RCDATA", "REGISTRY", "TEXTINCLUDE",
    "TOOLBAR",      "TYPELIB",      "VERSIONINFO", "VXD",     "WAVE"};

// Windows resource memory options, accepted between the type and the file name and ignored.
const char* const kMemoryOptions[] = {"DISCARDABLE", "MOVEABLE", "FIXED",     "PURE",
                                      "IMPURE",      "PRELOAD",  "LOADONCALL"};

template <std::size_t N>
bool isOneOf(const std::string& word, const char* const (&words)[N]) {
  return std::find_if(std::begin(words), std::end(words),
                      [&](const char* w) { return word == w; }) != std::end(words);
}

// A resource's name or number, as an unquoted token: IDB_FACE, 4096.
bool isIdentifier(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](unsigned char c) { return std::isalnum(c) || c == '_'; });
}

bool isNumber(const std::string& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

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
  ResourceScriptParser(ResourceScript& result, const ResourceScript::Reader& read)
      : result_(result), read_(read) {}

  void parseFile(const std::filesystem::path& script, int depth) {
    const std::string name = shownText(script.string(), kShownPathBytes);
    if (depth > kMaxIncludeDepth) {
      throw RenderError(name + ": includes nested more than " + std::to_string(kMaxIncludeDepth) +
                        " deep (an include loop?)");
    }
    // The limits cover the whole tree, so includes cannot multiply what is read.
    if (++scriptsRead_ > kMostScripts) {
      throw RenderError(name + ":1: expected at most " + std::to_string(kMostScripts) +
                        " resource scripts with the includes, got more");
    }
    const BoundedFile file = read_(script, budget_);
    if (file.outcome == BoundedFile::Outcome::TooLarge) {
      throw RenderError(tooLargeMessage(script.string(), file, kLargestTextFile,
                                        "a resource script with its includes"));
    }
    if (file.outcome != BoundedFile::Outcome::Read) {
      throw RenderError(cannotReadMessage(script.string(), file, "the resource script"));
    }
    budget_ -= file.text.size();
    std::istringstream lines(withoutComments(file.text));

    int blockDepth = 0;
    int outerBegin = 0;  // the line of the outermost open BEGIN, for a file that ends inside it
    int lineNumber = 0;
    std::string line;
    while (std::getline(lines, line)) {
      ++lineNumber;
      const std::string where = name + ":" + std::to_string(lineNumber);
      // A backslash at the end splices the next line on, as the resource compiler's preprocessor
      // does (a #define written over two lines); the statement keeps its first line's number.
      std::string next;
      while (!line.empty() && line.back() == '\\' && std::getline(lines, next)) {
        line.pop_back();
        line += next;
        ++lineNumber;
      }
      std::vector<Token> tokens = tokenize(line, where);
      if (tokens.empty()) continue;
      const bool inBlock = blockDepth > 0;
      if (!tokens[0].quoted && tokens[0].text[0] == '#') {
        directive(tokens, script, where, depth);
        continue;
      }
      // Blocks belong to statements we pass over (VERSIONINFO, STRINGTABLE, DIALOG, ...).
      for (const Token& t : tokens) {
        if (t.quoted) continue;
        const std::string word = upper(t.text);
        if (word == "BEGIN" || word == "{") {
          if (blockDepth++ == 0) outerBegin = lineNumber;
        }
        if (word == "END" || word == "}") {
          if (blockDepth == 0) {
            throw RenderError(where + ": " + shownText(t.text) + " without a BEGIN");
          }
          --blockDepth;
        }
      }
      if (!inBlock) statement(tokens, script, where);
    }
    if (blockDepth != 0) {
      throw RenderError(name + ":" + std::to_string(outerBegin) +
                        ": the file ends inside a BEGIN ... END block opened on this line; "
                        "expected its END");
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

  // A line outside any block: a statement we pass over, a BITMAP statement, or an error.
  void statement(const std::vector<Token>& tokens, const std::filesystem::path& script,
                 const std::string& where) {
    const std::string first = upper(tokens[0].text);
    if (!tokens[0].quoted && (isOneOf(first, kStatementWords) || first == "BEGIN" || first == "{" ||
                              first == "END" || first == "}")) {
      return;
    }
    if (tokens.size() < 2 || tokens[0].quoted || !isIdentifier(tokens[0].text)) {
      throw RenderError(where + ": expected " + kStatementForm + ", got " + quotedLine(tokens));
    }
    const std::string type = upper(tokens[1].text);
    if (tokens[1].quoted || !(isOneOf(type, kResourceTypes) || isNumber(type))) {
      throw RenderError(where + ": expected a resource type after " + shownText(tokens[0].text) +
                        " (BITMAP, ICON, VERSIONINFO, RCDATA and the other types of a resource "
                        "script, or a number), got " +
                        quotedText(tokens[1].text));
    }
    if (type == "BITMAP") bitmapStatement(tokens, script, where);
  }

  static std::string quotedLine(const std::vector<Token>& tokens) {
    std::string line;
    for (const Token& t : tokens) {
      if (!line.empty()) line += ' ';
      line += t.quoted ? "\"" + t.text + "\"" : t.text;
    }
    return quotedText(line);
  }

  void directive(const std::vector<Token>& tokens, const std::filesystem::path& script,
                 const std::string& where, int depth) {
    const std::string name = tokens[0].text;
    if (name == "#include") {
      if (tokens.size() != 2 || !tokens[1].quoted) {
        throw RenderError(where + ": expected #include \"file.rc\"");
      }
      parseFile(script.parent_path() / fileNamed(tokens[1].text, where, "an included script"),
                depth + 1);
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
    auto earlier = origins_.find(id);
    if (earlier != origins_.end()) {
      throw RenderError(where + ": bitmap " + std::to_string(id) + " is already named at " +
                        earlier->second);
    }
    origins_[id] = where;
    result_.bitmaps_.push_back(BitmapResource{
        id, script.parent_path() / fileNamed(tokens[next].text, where, "a bitmap"), where});
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
      throw RenderError(where + ": bitmap id " + quotedText(token.text) +
                        "; expected a number from 1 to 65535");
    }
    return static_cast<std::uint32_t>(value);
  }

  // The file a quoted name stands for. A NUL would cut the name short, and a name ending in a
  // separator, "." or ".." names a folder: neither is the file the script means.
  static std::filesystem::path fileNamed(const std::string& name, const std::string& where,
                                         const std::string& what) {
    const std::filesystem::path path = normalisedPath(name);
    const std::filesystem::path last = path.filename();
    if (name.find('\0') != std::string::npos || last.empty() || last == "." || last == "..") {
      throw RenderError(where + ": expected the file name of " + what + ", got " +
                        quotedText(name));
    }
    return path;
  }

  // Resource scripts written on Windows separate folders with backslashes.
  static std::string normalisedPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
  }

  ResourceScript& result_;
  const ResourceScript::Reader& read_;
  std::size_t budget_ = kLargestTextFile;
  int scriptsRead_ = 0;
  std::map<std::string, std::string> defines_;
  std::map<std::uint32_t, std::string> origins_;
};

ResourceScript ResourceScript::load(const std::filesystem::path& script) {
  return load(script, [](const std::filesystem::path& file, std::size_t limit) {
    return readBoundedFile(file.string(), limit);
  });
}

ResourceScript ResourceScript::load(const std::filesystem::path& script, const Reader& read) {
  ResourceScript result;
  result.file_ = script;
  ResourceScriptParser(result, read).parseFile(script, 0);
  return result;
}

}  // namespace panelhost
