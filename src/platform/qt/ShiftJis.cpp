#include "platform/qt/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cstring>
#include <vector>

#include "util/MyFunc.h"

namespace sxf {

namespace {
// The ICU name of code page 932 as Windows has it (NEC row 13, IBM extensions, ~ as U+FF5E).
constexpr const char* kCodePage932 = "windows-31j";

QString DecodeSpan(std::string_view bytes) {
  QStringDecoder decoder(kCodePage932, QStringDecoder::Flag::Stateless);
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}
}  // namespace

QString ShiftJisToQString(std::string_view bytes) {
  // ICU's table turns the one-byte character 0x7F into U+001A; the platform gives DEL back
  // as DEL. 0x7F is never a trailing byte, so splitting at it keeps every pair whole.
  if (std::memchr(bytes.data(), 0x7F, bytes.size()) == nullptr) return DecodeSpan(bytes);
  QString out;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (bytes[i] == '\x7F') {
      out += DecodeSpan(bytes.substr(start, i - start));
      out += QChar(0x7F);
      start = ++i;
    } else {
      i += IsLeadByte(bytes[i]) && i + 1 < bytes.size() && bytes[i + 1] != '\x7F' ? 2 : 1;
    }
  }
  out += DecodeSpan(bytes.substr(start));
  return out;
}

const QString& ShiftJisCharToQString(std::string_view character) {
  // Text is written one character at a time: decode each code once.
  static std::vector<QString> cache(65536);
  static std::vector<bool> known(65536, false);
  if (character.empty() || character.size() > 2) {
    static QString scratch;
    scratch = ShiftJisToQString(character);
    return scratch;
  }
  std::size_t code = 0;
  for (const char b : character) code = code << 8 | static_cast<unsigned char>(b);
  // One byte gives 0..255; a pair starts with a lead byte, so its code is 0x8000 or more.
  if (!known[code]) {
    cache[code] = ShiftJisToQString(character);
    known[code] = true;
  }
  return cache[code];
}

std::string ShiftJisToUtf8(std::string_view bytes) {
  return ShiftJisToQString(bytes).toStdString();
}

std::string QStringToShiftJis(const QString& text) {
  QStringEncoder encoder(kCodePage932, QStringEncoder::Flag::Stateless);
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace sxf
