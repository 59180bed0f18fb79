// Names that become names in the WME script: branch names (functions) and
// the entity names characters speak through.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "base/decimal.h"
#include "export/dialogue_check.h"
#include "export/engine_objects.h"
#include "lint/lint_run.h"

namespace tellwright::lint {

namespace {

constexpr size_t kLongName = 200;
constexpr size_t kLongestString = 4095;

constexpr std::string_view kKeywords[] = {
    "var",  "global",  "function", "method", "new",   "on",     "if",        "else",    "while",    "for",     "switch",
    "case", "default", "return",   "null",   "true",  "false",  "this",      "const",   "external", "string",  "int",
    "long", "short",   "byte",     "bool",   "float", "double", "membuffer", "stdcall", "cdecl",    "thiscall"};

// Declared by the engine before every script.
constexpr std::string_view kPredefined[] = {
    "LOG",       "String",    "MemBuffer", "File",      "Date",      "Array",
    "TcpClient", "Object",    "Sleep",     "WaitFor",   "Random",    "SetScriptTimeSlice",
    "MakeRGBA",  "MakeRGB",   "MakeHSL",   "RGB",       "GetRValue", "GetGValue",
    "GetBValue", "GetAValue", "GetHValue", "GetSValue", "GetLValue", "Debug",
    "ToString",  "ToInt",     "ToBool",    "ToFloat",   "Actor",     "Entity",
    "Game",      "Math",      "Directory", "self",      "this"};

bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Why `name` is no identifier of the script language (a letter or '_', then
// letters, digits, '_' or '@', ASCII only); nothing when it is one.
std::optional<std::string> IdentifierFault(std::string_view name) {
  if (name.empty()) return "it is empty";
  for (size_t i = 0; i < name.size(); ++i) {
    auto c = static_cast<unsigned char>(name[i]);
    if (IsLetter(c) || c == '_') continue;
    if (i > 0 && (IsDigit(c) || c == '@')) continue;
    if (i == 0 && IsDigit(c)) return "it starts with a digit";
    if (c == ' ') return "it contains a blank";
    if (c >= 0x80) return "it contains " + Quoted(name.substr(i, 1)) + ", which is not an ASCII letter";
    if (c < 0x20) return "it contains a control character";
    return "it contains " + Quoted(name.substr(i, 1));
  }
  return std::nullopt;
}

// `name` made an identifier: every other character becomes '_', and a name
// that starts with a digit gets a '_' in front.
std::string IdentifierFrom(std::string_view name) {
  std::string fixed;
  if (name.empty() || IsDigit(static_cast<unsigned char>(name[0]))) fixed += '_';
  for (char c : name) {
    auto byte = static_cast<unsigned char>(c);
    fixed += (IsLetter(byte) || IsDigit(byte) || c == '_') ? c : '_';
  }
  return fixed;
}

template <size_t N>
bool OneOf(const std::string_view (&names)[N], std::string_view name) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

constexpr std::string_view kIdentifierHint =
    "Use only the letters A-Z and a-z, digits and '_', and start with a letter or '_'";

// The check's own faults of a name: empty, or a restricted character.
bool LintAsChecked(LintRun& run, const ProblemPlace& place, std::string_view name) {
  if (name.empty()) {
    run.add(Severity::Error, place, "branch-name-empty", BranchWithoutNameMessage(),
            "Give the branch a name of its own.");
    return true;
  }
  if (ContainsRestrictedCharacter(name)) {
    run.add(Severity::Error, place, "branch-name-restricted", RestrictedBranchNameMessage(name),
            std::string(kIdentifierHint) + ", e.g. " + Quoted(IdentifierFrom(name)) + ".");
    return true;
  }
  return false;
}

void LintScriptName(LintRun& run, const ProblemPlace& place, std::string_view name) {
  if (LintAsChecked(run, place, name)) return;
  std::string quoted = Quoted(name);
  if (std::optional<std::string> fault = IdentifierFault(name)) {
    run.add(Severity::Error, place, "branch-name-identifier",
            "The dialogue branch name " + quoted + " is not a script function name: " + *fault +
                ". The WME script will not compile.",
            std::string(kIdentifierHint) + ", e.g. " + Quoted(IdentifierFrom(name)) + ".");
    return;
  }
  if (OneOf(kKeywords, name)) {
    run.add(Severity::Error, place, "branch-name-keyword",
            "The dialogue branch name " + quoted +
                " is a word of the WME script language. The WME script will not compile.",
            "Rename the branch, e.g. " + Quoted("Dlg_" + std::string(name)) + ".");
  } else if (OneOf(kPredefined, name)) {
    run.add(Severity::Error, place, "branch-name-predefined",
            "The dialogue branch name " + quoted +
                " is already declared by the WME engine in every script: \"Duplicate declaration of function\".",
            "Rename the branch, e.g. " + Quoted("Dlg_" + std::string(name)) + " (names are case-sensitive).");
  }
  if (name.size() > kLongestString) {
    std::string message = "The dialogue branch name is ";
    AppendDecimal(message, static_cast<int64_t>(name.size()));
    run.add(Severity::Error, place, "string-too-long",
            message +
                " characters long; as the text of Game.StartDlgBranch the engine takes at most 4095 "
                "(\"String constant too long\").",
            "Shorten the name.");
  } else if (name.size() > kLongName) {
    std::string message = "The dialogue branch name is ";
    AppendDecimal(message, static_cast<int64_t>(name.size()));
    run.add(Severity::Warning, place, "branch-name-long",
            message + " characters long; the engine's error messages overflow on names over 200 characters.",
            "Shorten the name to 200 characters or less.");
  }
}

}  // namespace

void LintBranchName(LintRun& run, int b) {
  const Text& name = run.document().branch(b).name;
  ProblemPlace place{.branch = b};
  LintScriptName(run, place, name);
  if (name.empty()) return;
  int same = run.branchNamed(name);
  if (same != b) {
    run.add(Severity::Error, place, "branch-name-duplicate",
            "An earlier dialogue branch is named " + Quoted(name) +
                " too: WME stops with \"Duplicate declaration of function\", and the Vexa export writes both "
                "branches to the same file.",
            "Give every branch a name of its own.");
    return;
  }
  int alike = run.branchNamedIgnoringCase(name);
  if (alike != b) {
    run.add(Severity::Warning, place, "branch-name-case",
            "The dialogue branch names " + Quoted(run.branchName(alike)) + " and " + Quoted(name) +
                " differ only in letter case: the game keys Once and Once Game choices by the branch's name "
                "regardless of case, so the two share them, and their Vexa script files get the same name on "
                "Windows, one overwriting the other.",
            "Rename one of the two branches.");
  }
}

void LintCharacters(LintRun& run) {
  const std::vector<Character>& characters = run.document().characters;
  for (int c = 0; c < static_cast<int>(characters.size()); ++c) {
    const Character& character = characters[c];
    LineRef spoken = run.firstSpokenLine(character.realName);
    ProblemPlace place{.branch = spoken.branch, .line = spoken.line, .character = c};
    const std::vector<int>& named = run.charactersNamed(character.realName);
    if (named.front() != c) {
      run.add(Severity::Warning, place, "character-name-shared",
              "The characters " + Quoted(characters[named.front()].entityName) + " and " +
                  Quoted(character.entityName) + " share the real name " + Quoted(character.realName) +
                  ": every line of " + Quoted(character.realName) + " is said by both.",
              "Give each character a real name of its own.");
    }
    if (spoken.branch < 0) continue;
    if (IsEngineGlobalObject(character.entityName)) {
      run.add(Severity::Warning, place, "entity-cannot-talk",
              "The WME entity name " + Quoted(character.entityName) + " of the character " +
                  Quoted(character.realName) +
                  " is one of the engine's global objects, which cannot talk: the script compiles, but the game "
                  "ignores every line " +
                  Quoted(character.realName) + " says.",
              "Use the entity name of an actor or entity of the game.", ProblemField::EntityName);
    } else if (std::optional<std::string> fault = IdentifierFault(character.entityName)) {
      run.add(Severity::Error, place, "entity-name-identifier",
              "The WME entity name " + Quoted(character.entityName) + " of the character " +
                  Quoted(character.realName) + " is not a script name: " + *fault +
                  ". The WME script will not compile.",
              std::string(kIdentifierHint) + " in the entity name, as the game's scripts name the entity.",
              ProblemField::EntityName);
    }
  }
}

}  // namespace tellwright::lint
