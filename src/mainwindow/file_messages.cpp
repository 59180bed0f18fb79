#include "mainwindow/file_messages.h"

#include "ui/document_text.h"

namespace tellwright {

namespace {

QString WhatFailed(FileFault fault) {
  switch (fault) {
    case FileFault::LoadProject:
      return QStringLiteral("The dialogue project could not be loaded.");
    case FileFault::SaveProject:
      return QStringLiteral("The dialogue project could not be saved.");
    case FileFault::LoadCharacterList:
      return QStringLiteral("The character list could not be loaded.");
    case FileFault::SaveCharacterList:
      return QStringLiteral("The character list could not be saved.");
    case FileFault::ExportScript:
      return QStringLiteral("The script could not be exported.");
    case FileFault::ExportText:
      return QStringLiteral("The text could not be exported.");
    case FileFault::ExportRecordingScript:
      return QStringLiteral("The recording script could not be exported.");
  }
  return {};
}

}  // namespace

QString FileFaultMessage(FileFault fault, const Status& status, const std::string& path) {
  // File messages name paths, which are in the system's encoding.
  QString reason = PathToQString(status.message);
  if (status.line > 0) reason = QStringLiteral("\"%1\", line %2: %3").arg(PathToQString(path)).arg(status.line).arg(reason);
  return WhatFailed(fault) + QStringLiteral("\n\n") + reason;
}

}  // namespace tellwright
