#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ui/user_dialogs.h"

// Test failures show Qt strings as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace tellwright::testing {

// One question, message or requester the commands showed.
struct DialogCall {
  std::string kind;  // "question", "yesno", "message", "information", "text", "open", "save"
  QString title;
  QString text;    // the message, the requester's default path, or the text box's first text
  QString filter;  // the requester's filter, or the text box's label
};

// Answers the commands' questions and requesters from a script, in order,
// and keeps every call. A question or requester without a scripted answer
// fails the test and is answered as cancelled.
class ScriptedDialogs : public UserDialogs {
 public:
  std::deque<Answer> answers;  // askYesNoCancel and askYesNo
  std::deque<QString> files;   // chooseOpenFile and chooseSaveFile; an empty name cancels
  std::deque<std::optional<QString>> typed;  // askText; nothing cancels
  std::vector<DialogCall> calls;

  Answer askYesNoCancel(const QString& title, const QString& text) override {
    calls.push_back({"question", title, text, {}});
    return nextAnswer(Answer::Cancel);
  }
  bool askYesNo(const QString& title, const QString& text) override {
    calls.push_back({"yesno", title, text, {}});
    return nextAnswer(Answer::No) == Answer::Yes;
  }
  Answer askChoice(const QString& title, const QString& text, const QString& yesButton,
                   const QString& noButton) override {
    calls.push_back({"choice", title, text, yesButton + "/" + noButton});
    return nextAnswer(Answer::Cancel);
  }
  void showMessage(const QString& title, const QString& text) override {
    calls.push_back({"message", title, text, {}});
  }
  void showInformation(const QString& title, const QString& text) override {
    calls.push_back({"information", title, text, {}});
  }
  std::optional<QString> askText(const QString& title, const QString& label, const QString& text) override {
    calls.push_back({"text", title, text, label});
    if (typed.empty()) {
      ADD_FAILURE() << "unscripted text box: " << title.toStdString();
      return std::nullopt;
    }
    std::optional<QString> answer = typed.front();
    typed.pop_front();
    return answer;
  }
  std::optional<QString> chooseOpenFile(const QString& title, const QString& defaultPath,
                                        const QString& filter) override {
    calls.push_back({"open", title, defaultPath, filter});
    return nextFile();
  }
  std::optional<QString> chooseSaveFile(const QString& title, const QString& defaultPath,
                                        const QString& filter) override {
    calls.push_back({"save", title, defaultPath, filter});
    return nextFile();
  }

  // The calls of one kind, or all of them, as "kind:title" joined by "|".
  std::string trace() const {
    std::string out;
    for (const DialogCall& call : calls) out += (out.empty() ? "" : "|") + call.kind + ":" + call.title.toStdString();
    return out;
  }
  // The messages shown ("message" calls).
  std::vector<DialogCall> messages() const {
    std::vector<DialogCall> shown;
    for (const DialogCall& call : calls)
      if (call.kind == "message") shown.push_back(call);
    return shown;
  }

 private:
  Answer nextAnswer(Answer fallback) {
    if (answers.empty()) {
      ADD_FAILURE() << "unscripted question: " << calls.back().title.toStdString();
      return fallback;
    }
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<QString> nextFile() {
    if (files.empty()) {
      ADD_FAILURE() << "unscripted requester: " << calls.back().title.toStdString();
      return std::nullopt;
    }
    QString file = files.front();
    files.pop_front();
    if (file.isEmpty()) return std::nullopt;
    return file;
  }
};

}  // namespace tellwright::testing
