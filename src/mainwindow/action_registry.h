#pragma once

#include <QAction>
#include <map>
#include <vector>

namespace tellwright {

// The window's actions, one per command id, looked up by id.
class ActionRegistry {
 public:
  void registerAction(QAction* action, int id);
  QAction* action(int id) const;  // nullptr for an id without an action
  std::vector<int> ids() const;

 private:
  std::map<int, QAction*> actions_;
};

}  // namespace tellwright
