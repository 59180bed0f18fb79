#include "play/dialogue_player.h"

#include "base/cp1252_case.h"
#include "export/document_index.h"
#include "export/engine_objects.h"
#include "export/engine_text.h"

namespace tellwright {

namespace {

PlayEvent Event(PlayEventKind kind, PlayPlace place, std::string_view text = "") {
  PlayEvent event;
  event.kind = kind;
  event.place = place;
  event.text = text;
  return event;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

void AppendMenuEntry(std::string& out, size_t number, const MenuEntry& entry) {
  out += "  " + std::to_string(number) + ". " + entry.text;
  if (entry.conditionKind == ConditionKind::Switch) out += "  [if " + entry.condition + "]";
  if (entry.conditionKind == ConditionKind::AlwaysTrue) out += "  [if " + entry.condition + ": always true]";
}

void AppendEventText(std::string& out, const PlayEvent& event, bool withRemarks) {
  switch (event.kind) {
    case PlayEventKind::Said:
      out += event.speaker + ": " + event.text;
      if (!event.soundFile.empty()) out += " [" + event.soundFile + "]";
      if (!event.speechKey.empty())
        out += " [no sound file: the engine plays the speech file named after the key " + event.speechKey + "]";
      break;
    case PlayEventKind::Silent:
      out += "(silent: " + SilenceReason(event) + ") " + event.text;
      break;
    case PlayEventKind::Code:
      out += "(code) " + event.text;
      break;
    case PlayEventKind::Remark:
      if (!withRemarks) return;
      out += "// " + event.text;
      break;
    case PlayEventKind::Menu:
      for (size_t i = 0; i < event.menu.size(); ++i) {
        AppendMenuEntry(out, i + 1, event.menu[i]);
        if (i + 1 < event.menu.size()) out += '\n';
      }
      break;
    case PlayEventKind::Chosen:
      out += "> " + event.text;
      break;
    case PlayEventKind::End:
      out += "-- " + event.text;
      break;
    case PlayEventKind::Stop:
      out += "!! Stopped: " + event.text;
      break;
  }
  out += '\n';
}

}  // namespace

ConditionKind KindOfCondition(std::string_view condition) {
  if (condition.empty()) return ConditionKind::None;
  std::optional<bool> constant = ConstantConditionValue(condition);
  if (!constant) return ConditionKind::Switch;
  return *constant ? ConditionKind::AlwaysTrue : ConditionKind::AlwaysFalse;
}

std::string SilenceReason(const PlayEvent& event) {
  if (event.speaker.empty()) return "no character given";
  if (!event.entity.empty())
    return event.speaker + " speaks through " + event.entity + ", an engine object that cannot talk";
  return event.speaker + " is not in the character list";
}

std::string TranscriptText(const std::vector<PlayEvent>& events, bool withRemarks) {
  std::string out;
  for (const PlayEvent& event : events) AppendEventText(out, event, withRemarks);
  return out;
}

DialoguePlayer::DialoguePlayer(const DialogueDocument& document, PlayerOptions options)
    : document_(document), options_(std::move(options)) {
  over_ = true;
  finished_ = true;
  final_ = Event(PlayEventKind::Stop, {}, "Nothing is being played: start at a branch first.");
}

Status DialoguePlayer::start(int branch, int line) {
  if (branch < 0 || branch >= BranchesToVisit(document_))
    return Status::Error("There is no branch " + std::to_string(branch) + " to start at.");
  if (line < 0) return Status::Error("There is no line " + std::to_string(line) + " to start at.");
  startBranch_ = branch;
  startLine_ = line;
  onceGameChosen_.clear();
  begin();
  return Status::Ok();
}

void DialoguePlayer::restart(bool keepGameState) {
  if (!keepGameState) onceGameChosen_.clear();
  begin();
}

DialoguePlayer::Frame DialoguePlayer::EnteredAt(int branch, int line) {
  Frame frame;
  frame.branch = branch;
  frame.line = line;
  return frame;
}

void DialoguePlayer::begin() {
  frames_.clear();
  openDialogueBranches_.clear();
  queue_.clear();
  onceChosen_.clear();
  transcript_.clear();
  waiting_ = false;
  finished_ = false;
  over_ = false;
  // The start branch may have been deleted since start().
  if (startBranch_ < 0 || startBranch_ >= BranchesToVisit(document_)) {
    finish(Event(PlayEventKind::Stop, {}, "The branch the play started at no longer exists."));
    return;
  }
  frames_.push_back(EnteredAt(startBranch_, startLine_));
}

int DialoguePlayer::findBranch(std::string_view name) const {
  for (int b = 0; b < BranchesToVisit(document_); ++b)
    if (document_.branch(b).name == name) return b;
  return -1;
}

PlayEvent DialoguePlayer::step() {
  // Lines that give nothing (empty slots, unknown kinds, a loop opening)
  // are run through until something is there to show.
  while (queue_.empty() && !over_ && !menuOpen()) runOnce();
  if (!queue_.empty()) {
    PlayEvent event = std::move(queue_.front());
    queue_.pop_front();
    // Waiting and finished once the menu or the end has been shown.
    if (event.kind == PlayEventKind::Menu) waiting_ = true;
    if (event.kind == PlayEventKind::End || event.kind == PlayEventKind::Stop) finished_ = true;
    transcript_.push_back(event);
    return event;
  }
  return waiting_ ? menu_ : final_;
}

Status DialoguePlayer::choose(int entry) {
  if (!waiting_ || frames_.empty()) return Status::Error("No menu is waiting for a choice.");
  int count = static_cast<int>(menu_.menu.size());
  if (entry < 0 || entry >= count)
    return Status::Error("The menu has no entry " + std::to_string(entry + 1) + ": it offers " + std::to_string(count) +
                         ".");
  Frame& frame = frames_.back();
  const MenuEntry& offered = menu_.menu[entry];
  const ResponseBlock* block = findBlock(frame.blockId);
  if (!block || offered.response >= block->usedResponses()) {
    // Edited away while the menu waited: offer what the block holds now.
    waiting_ = false;
    frame.stage = Stage::Offer;
    return Status::Error("The response " + Quoted(offered.text) +
                         " is no longer in its block; the menu is offered again as it is now.");
  }
  frame.chosen = offered.response;
  frame.choice = block->responses[offered.response];
  OnceKey key = onceKey(frame.chosen);
  if (frame.choice.visibility == kOnce) onceChosen_.insert(key);
  if (frame.choice.visibility == kOnceGame) onceGameChosen_.insert(key);
  frame.stage = Stage::Handle;
  waiting_ = false;
  post(Event(PlayEventKind::Chosen, {frame.branch, frame.line, frame.chosen}, gameText(frame.choice.text).shown));
  return Status::Ok();
}

std::vector<PlayCondition> DialoguePlayer::conditions() const {
  std::vector<PlayCondition> found;
  std::set<std::string> seen;
  const auto& blocks = document_.responseBlocks;
  for (int slot = 0; slot < blocks.stored(); ++slot) {
    const ResponseBlock& block = blocks[slot];
    if (!block.inUse()) continue;
    for (int r = 0, used = block.usedResponses(); r < used; ++r) {
      const Response& response = block.responses[r];
      if (response.conditions.empty() || !seen.insert(response.conditions.str()).second) continue;
      ConditionKind kind = KindOfCondition(response.conditions);
      bool constant = kind == ConditionKind::AlwaysTrue || kind == ConditionKind::AlwaysFalse;
      found.push_back({response.conditions.str(), holds(response), constant});
    }
  }
  return found;
}

bool DialoguePlayer::holds(const Response& response) const {
  switch (KindOfCondition(response.conditions)) {
    case ConditionKind::Switch:
      return !switchedOff_.contains(response.conditions);
    case ConditionKind::AlwaysFalse:
      return false;
    default:
      return true;
  }
}

void DialoguePlayer::setCondition(const std::string& condition, bool holds) {
  if (KindOfCondition(condition) != ConditionKind::Switch) return;
  if (holds)
    switchedOff_.erase(condition);
  else
    switchedOff_.insert(condition);
}

void DialoguePlayer::runOnce() {
  if (frames_.empty()) {
    finish(Event(PlayEventKind::End, {}, "The end."));
    return;
  }
  Frame& frame = frames_.back();
  switch (frame.stage) {
    case Stage::Lines:
      runLine(frame);
      break;
    case Stage::Offer:
      offerMenu(frame);
      break;
    case Stage::Waiting:  // choose() moves on
      break;
    case Stage::Handle:
      handleChoice(frame);
      break;
    case Stage::AfterCall:
      if (frame.leaveAfterCall)
        closeLoop(frame);
      else
        frame.stage = Stage::Offer;
      break;
  }
}

void DialoguePlayer::runLine(Frame& frame) {
  if (frame.branch >= BranchesToVisit(document_)) return returnFromBranch();
  const DialogueBranch& branch = document_.branch(frame.branch);
  if (frame.line >= LinesToVisit(branch)) return returnFromBranch();
  const DialogueLine& line = branch.lines[frame.line];
  PlayPlace place{frame.branch, frame.line};
  switch (KindOf(line.kind)) {
    case LineKind::Talk:
      say(line.character, line.text, line.soundFile, place);
      break;
    case LineKind::Code:
      post(Event(PlayEventKind::Code, place, line.text));
      break;
    case LineKind::Remark:
      post(Event(PlayEventKind::Remark, place, line.text));
      break;
    case LineKind::Response:
      // Game.StartDlgBranch with the name of the branch the line is in.
      frame.dialogueBranch = branch.name;
      frame.blockId = line.blockId;
      frame.speaker = line.character;
      openDialogueBranches_.emplace_back(branch.name);
      frame.stage = Stage::Offer;
      return;  // the line stays current while its loop runs
    default:
      break;
  }
  ++frame.line;
}

void DialoguePlayer::refreshLoop(Frame& frame) const {
  if (frame.branch >= BranchesToVisit(document_)) return;
  const DialogueBranch& branch = document_.branch(frame.branch);
  if (frame.line >= LinesToVisit(branch)) return;
  const DialogueLine& line = branch.lines[frame.line];
  if (KindOf(line.kind) != LineKind::Response) return;
  frame.blockId = line.blockId;
  frame.speaker = line.character;
}

void DialoguePlayer::offerMenu(Frame& frame) {
  refreshLoop(frame);
  const ResponseBlock* block = findBlock(frame.blockId);
  if (!block)
    return stopAt(frame, -1,
                  "No responseblock has the id " + std::to_string(frame.blockId) +
                      ": the export writes an empty response loop here, which never offers a response and never "
                      "ends, so the game would hang here.");
  PlayEvent menu = Event(PlayEventKind::Menu, {frame.branch, frame.line});
  int used = block->usedResponses();
  for (int r = 0; r < used; ++r) {
    const Response& response = block->responses[r];
    if (!holds(response)) continue;
    OnceKey key = onceKey(r);
    if (response.visibility == kOnce && onceChosen_.contains(key)) continue;
    if (response.visibility == kOnceGame && onceGameChosen_.contains(key)) continue;
    menu.menu.push_back(
        MenuEntry{r, gameText(response.text).shown, response.conditions.str(), KindOfCondition(response.conditions)});
  }
  if (menu.menu.empty()) {
    std::string id = std::to_string(frame.blockId);
    return stopAt(frame, -1,
                  used == 0 ? "Nothing can be offered here: responseblock " + id +
                                  " has no responses, so the game would wait here forever."
                            : "Nothing can be offered here: every response of responseblock " + id +
                                  " is used up or switched off, so the game would wait here forever.");
  }
  menu_ = menu;
  frame.stage = Stage::Waiting;
  post(std::move(menu));
}

void DialoguePlayer::handleChoice(Frame& frame) {
  refreshLoop(frame);
  const Response& choice = frame.choice;
  PlayPlace place{frame.branch, frame.line, frame.chosen};
  // The handler's order in the script: say, call the link, leave.
  if (FlagSet(choice.sayResponse)) say(frame.speaker, choice.text, "", place);
  if (choice.linkBranch.empty()) {
    if (FlagSet(choice.leaveLoop))
      closeLoop(frame);
    else
      frame.stage = Stage::Offer;
    return;
  }
  int target = findBranch(choice.linkBranch);
  if (target < 0)
    return stopAt(frame, frame.chosen,
                  "The response " + Quoted(choice.text) + " links to the branch " + Quoted(choice.linkBranch) +
                      ", which does not exist: the script would not compile.");
  if (static_cast<int>(frames_.size()) >= kMaxCallDepth)
    return stopAt(frame, frame.chosen,
                  "The response " + Quoted(choice.text) + " calls the branch " + Quoted(choice.linkBranch) + " while " +
                      std::to_string(kMaxCallDepth) +
                      " branches are already running, none of them returning: a link cycle without a way out?");
  frame.leaveAfterCall = FlagSet(choice.leaveLoop);
  frame.stage = Stage::AfterCall;
  frames_.push_back(EnteredAt(target, 0));  // `frame` is not used after this
}

void DialoguePlayer::closeLoop(Frame& frame) {
  // Game.EndDlgBranch: Once choices last until no dialogue branch is open.
  if (!openDialogueBranches_.empty()) openDialogueBranches_.pop_back();
  if (openDialogueBranches_.empty()) onceChosen_.clear();
  frame.stage = Stage::Lines;
  frame.chosen = -1;
  frame.leaveAfterCall = false;
  ++frame.line;
}

void DialoguePlayer::returnFromBranch() {
  frames_.pop_back();
  if (frames_.empty()) finish(Event(PlayEventKind::End, {}, "The end."));
}

// Talk(text) on the entity of every character with the speaker's real name;
// without a sound file the engine plays the speech file named after the
// text's string-table key, if it has one.
void DialoguePlayer::say(std::string_view speaker, std::string_view text, std::string_view soundFile,
                         PlayPlace place) {
  GameText said = gameText(text);
  bool found = false;
  for (const Character& character : document_.characters) {
    if (character.realName != speaker) continue;
    found = true;
    PlayEvent event = Event(IsEngineGlobalObject(character.entityName) ? PlayEventKind::Silent : PlayEventKind::Said,
                            place, said.shown);
    event.speaker = character.realName;
    event.entity = character.entityName;
    if (event.kind == PlayEventKind::Said) {
      event.soundFile = UnescapedScriptString(soundFile);
      if (soundFile.empty()) event.speechKey = said.key;
    }
    post(std::move(event));
  }
  if (found) return;
  PlayEvent event = Event(PlayEventKind::Silent, place, said.shown);
  event.speaker = speaker;
  post(std::move(event));
}

DialoguePlayer::GameText DialoguePlayer::gameText(std::string_view written) const {
  std::string text = UnescapedScriptString(written);
  std::optional<StringTableText> fromTable = SplitStringTableText(text);
  if (!fromTable) return {std::move(text), ""};
  std::string key(fromTable->key);
  if (options_.lookupString)
    if (std::optional<std::string> entry = options_.lookupString(key)) return {std::move(*entry), std::move(key)};
  return {std::string(fromTable->rest), std::move(key)};
}

DialoguePlayer::OnceKey DialoguePlayer::onceKey(int response) const {
  return {response, FoldedCase1252(innermostDialogueBranch())};
}

void DialoguePlayer::post(PlayEvent event) { queue_.push_back(std::move(event)); }

void DialoguePlayer::finish(PlayEvent event) {
  over_ = true;
  final_ = event;
  post(std::move(event));
}

// Named as the line list and the lint name lines: counted from 1.
void DialoguePlayer::stopAt(const Frame& frame, int response, const std::string& why) {
  finish(Event(PlayEventKind::Stop, {frame.branch, frame.line, response},
               branchName(frame) + ", line " + std::to_string(frame.line + 1) + ": " + why));
}

std::string DialoguePlayer::branchName(const Frame& frame) const {
  if (frame.branch < BranchesToVisit(document_)) return document_.branch(frame.branch).name.str();
  return frame.dialogueBranch.str();
}

bool DialoguePlayer::menuOpen() const { return !frames_.empty() && frames_.back().stage == Stage::Waiting; }

std::string DialoguePlayer::innermostDialogueBranch() const {
  return openDialogueBranches_.empty() ? std::string() : openDialogueBranches_.back();
}

const ResponseBlock* DialoguePlayer::findBlock(int32_t id) const {
  std::optional<int> slot = FindBlockSlot(document_, id);
  return slot ? &document_.responseBlocks[*slot] : nullptr;
}

}  // namespace tellwright
