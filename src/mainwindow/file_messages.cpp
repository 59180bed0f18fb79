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
    case FileFault::ExportStringTable:
      return QStringLiteral("The string table could not be exported.");
    case FileFault::LoadProjectSettings:
      return QStringLiteral("The project's settings could not be read; they are left as they are.");
    case FileFault::SaveProjectSettings:
      return QStringLiteral("The project's settings could not be saved.");
  }
  return {};
}

// `message` about file `path`, with the file and the line where one is known.
QString AtLine(const std::string& path, int line, const std::string& message) {
  // File messages name paths, which are in the system's encoding.
  QString text = PathToQString(message);
  if (line <= 0) return text;
  return QStringLiteral("\"%1\", line %2: %3").arg(PathToQString(path)).arg(line).arg(text);
}

}  // namespace

QString FileFaultMessage(FileFault fault, const Status& status, const std::string& path) {
  return WhatFailed(fault) + QStringLiteral("\n\n") + AtLine(path, status.line, status.message);
}

QString FileWarningsMessage(const std::string& path, const std::vector<FileWarning>& warnings) {
  QString text = QStringLiteral("The dialogue project was loaded, but:\n");
  for (const FileWarning& warning : warnings) {
    QString said = AtLine(path, warning.line, warning.message);
    if (warning.line <= 0) said = QStringLiteral("\"%1\": %2").arg(PathToQString(path), said);
    text += QStringLiteral("\n") + said;
  }
  return text;
}

}  // namespace tellwright
