#include "mainwindow/action_registry.h"

namespace tellwright {

void ActionRegistry::registerAction(QAction* action, int id) {
  action->setData(id);
  action->setObjectName(QStringLiteral("command%1").arg(id));
  actions_[id] = action;
}

QAction* ActionRegistry::action(int id) const {
  auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

std::vector<int> ActionRegistry::ids() const {
  std::vector<int> ids;
  for (const auto& [id, action] : actions_) ids.push_back(id);
  return ids;
}

}  // namespace tellwright
