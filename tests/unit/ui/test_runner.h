// A runner for unit tests: records message boxes, answers questions from a queue and runs a
// scripted action inside each modal run.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host/ui/application.h"

namespace ui::testing {

class TestRunner : public Runner {
 public:
  TestRunner() { application().setRunner(this); }
  ~TestRunner() override { application().setRunner(nullptr); }

  void runModal(Form& form) override {
    if (modalActions.empty()) {
      form.setModalResult(mrCancel);
      return;
    }
    auto action = std::move(modalActions.front());
    modalActions.pop_front();
    action(form);
  }

  int messageBox(MessageKind kind, const std::string& text, MessageButtons) override {
    messages.push_back((kind == MessageKind::Error          ? "error: "
                        : kind == MessageKind::Confirmation ? "question: "
                                                            : "info: ") +
                       text);
    if (answers.empty())
      return mrOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<std::string> messages;
  std::deque<int> answers;
  std::deque<std::function<void(Form&)>> modalActions;
};

}  // namespace ui::testing
