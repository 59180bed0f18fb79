#pragma once

#include <QDateTime>
#include <QString>
#include <string>

namespace tellwright {

class EditorSession;

// "Tellwright found unsaved changes to NAME from TIME. Restore them?"
QString RestoreQuestion(const std::string& projectPath, const QDateTime& savedAt);

// At start-up: offers, newest first, the work that editors no longer
// running left in the recovery folder. Restore opens it as a changed
// document with its project path, Discard deletes it, and closing the
// question keeps it for the next start. A damaged file is reported and
// kept aside. True when work was restored.
bool OfferLeftWork(EditorSession& session);

}  // namespace tellwright
