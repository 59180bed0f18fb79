#include "ui/document_text.h"

#include <QFile>

#include "base/cp1252.h"

namespace tellwright {

QString TextToQString(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (char byte : bytes) *out++ = QChar(static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(byte))));
  return text;
}

namespace {

QString DescribeCharacter(char32_t character) {
  QString code = QStringLiteral("U+%1").arg(static_cast<uint>(character), 4, 16, QLatin1Char('0')).toUpper();
  if (character < 0x20 || (character >= 0x7F && character <= 0x9F)) return code;
  return QStringLiteral("\"%1\" (%2)").arg(QString::fromUcs4(&character, 1), code);
}

}  // namespace

EncodedText EncodeText(const QString& text) {
  EncodedText result;
  result.bytes.reserve(static_cast<size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t character = text[i].unicode();
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      character = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    if (character == U'\n' || character == U'\r' || character == 0x2028 || character == 0x2029) {
      result.fault = QStringLiteral(
          "The text holds a line break, which cannot be stored: every text is one line of the project file.");
      return result;
    }
    std::optional<unsigned char> byte = UnicodeToCp1252(character);
    if (!byte) {
      result.fault = QStringLiteral(
                         "The text holds %1, which cannot be stored: projects keep their texts in Windows-1252, "
                         "which has no such character.")
                         .arg(DescribeCharacter(character));
      return result;
    }
    result.bytes.push_back(static_cast<char>(*byte));
  }
  return result;
}

// Paths are the system's bytes on Unix; on Windows the core keeps them in
// UTF-8 and turns them into UTF-16 only at the system call.
QString PathToQString(std::string_view path) {
  QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
#ifdef Q_OS_WIN
  return QString::fromUtf8(bytes);
#else
  return QFile::decodeName(bytes);
#endif
}

std::string PathFromQString(const QString& path) {
#ifdef Q_OS_WIN
  return path.toStdString();
#else
  return QFile::encodeName(path).toStdString();
#endif
}

}  // namespace tellwright
