#include "ui/document_text.h"

#include <gtest/gtest.h>

#include "scripted_dialogs.h"
#include "ui/ui_text_table.h"

namespace tellwright::testing {
namespace {

TEST(DocumentTextTest, TypedTextIsStoredInWindows1252OrRefusedByName) {
  struct Case {
    const char* name;
    QString typed;
    std::string bytes;  // when stored
    const char* fault;  // part of the refusal, or "" when stored
  };
  const Case cases[] = {
      {"Accents", QString::fromUtf8("Caf\u00e9 \u00a7"), "Caf\xe9 \xa7", ""},
      {"Typography", QString::fromUtf8("\u20ac \u201cq\u201d \u2013"), "\x80 \x93q\x94 \x96", ""},
      {"UndefinedBytes", QString(QChar(0x81)) + QChar(0x9D), "\x81\x9D", ""},
      {"Greek", QString::fromUtf8("\u03a9mega"), "", "\"\u03a9\" (U+03A9)"},
      {"OtherControl", QString(QChar(0x80)), "", "U+0080"},
      {"OutsideTheBasicPlane", QString::fromUtf8("\U0001F600"), "", "U+1F600"},
      {"LoneSurrogate", QString(QChar(0xD800)), "", "U+D800"},
      {"LineFeed", QStringLiteral("two\nlines"), "", "line break"},
      {"CarriageReturn", QStringLiteral("two\rlines"), "", "line break"},
      {"LineSeparator", QString::fromUtf8("a\u2028b"), "", "line break"},
  };
  for (const Case& c : cases) {
    EncodedText encoded = EncodeText(c.typed);
    if (*c.fault == '\0') {
      EXPECT_TRUE(encoded.ok()) << c.name << ": " << encoded.fault.toStdString();
      EXPECT_EQ(encoded.bytes, c.bytes) << c.name;
      EXPECT_EQ(TextToQString(encoded.bytes), c.typed) << c.name;
    } else {
      EXPECT_FALSE(encoded.ok()) << c.name;
      EXPECT_TRUE(encoded.fault.contains(QString::fromUtf8(c.fault))) << c.name << ": " << encoded.fault.toStdString();
    }
  }
}

TEST(UiTextTableTest, HoldsTheTextsByIndex) {
  UiTextTable texts;
  struct Case {
    int index;
    const char* text;
  };
  const Case cases[] = {{0, "File"},
                        {9, "Quit"},
                        {18, "Commands"},
                        {41, "..."},
                        {42, "Text to say:"},
                        {51, "OK"},
                        {66, "Once Game"},
                        {75, "OK"},
                        {77, "Export Vexa Script"},
                        {82, "Choose a project file for referencing file paths to"}};
  for (const Case& c : cases) EXPECT_EQ(texts[c.index], c.text) << c.index;
  EXPECT_TRUE(texts[kTextAboutText].startsWith("Tellwright V1.2   "));
}

}  // namespace
}  // namespace tellwright::testing
